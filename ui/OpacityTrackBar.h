#pragma once
#include <QSlider>

namespace quillon {

// The opacity track bar: reports the end of each mouse interaction (drag of the thumb or
// click on the groove), so the opacity is applied once per interaction and keyboard moves
// wait for the next release.
class COpacityTrackBar : public QSlider {
    Q_OBJECT
public:
    explicit COpacityTrackBar(QWidget* parent = nullptr);

signals:
    void mouseReleased();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace quillon
