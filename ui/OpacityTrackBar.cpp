#include "ui/OpacityTrackBar.h"

#include <QMouseEvent>

namespace quillon {

COpacityTrackBar::COpacityTrackBar(QWidget* parent) : QSlider(Qt::Horizontal, parent) {}

void COpacityTrackBar::mouseReleaseEvent(QMouseEvent* event)
{
    QSlider::mouseReleaseEvent(event); // the thumb settles first
    if (event->button() == Qt::LeftButton && isEnabled())
        emit mouseReleased();
}

} // namespace quillon
