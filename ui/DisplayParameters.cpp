// The display parameters of each row: visibility, colour mode and opacity.
#include <QCheckBox>
#include <QRadioButton>

#include "ui/OpacityTrackBar.h"
#include "ui/ViewListPanel.h"
#include "ui/ViewerDlg.h"
#include "view3d/C3DScrollView.h"

namespace quillon {

void ViewListPanel::OnVisibility(int row)
{
    if (row < 0 || row >= m_slotCount)
        return;
    ViewSlot& slot = m_slots[row];
    slot.visible = m_rows[row].visible->checkState() != Qt::Unchecked;
    m_viewport->SetShapeVisible(slot.shapeIndex, slot.visible); // redraws; the list stays as it is
}

void ViewListPanel::OnColourMode(int row)
{
    if (row < 0 || row >= m_slotCount)
        return;
    m_slots[row].naturalColours = m_rows[row].natural->isChecked();
    RecompileShape(row);
}

void ViewListPanel::OnOpacityReleased(int row)
{
    if (row < 0 || row >= m_slotCount)
        return;
    m_readAllControls();
    m_slots[row].opacity = static_cast<std::int16_t>(m_opacityPositions[row]);
    RecompileShape(row);
}

} // namespace quillon
