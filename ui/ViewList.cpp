// The view list: adding and removing profiles.
#include <exception>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QRadioButton>
#include <QTreeWidget>

#include "app/MessageBoxes.h"
#include "app/Strings.h"
#include "profiles/LoadedProfile.h"
#include "profiles/ProfileCatalogue.h"
#include "profiles/ProfileFile.h"
#include "ui/OpacityTrackBar.h"
#include "ui/ProfileLabels.h"
#include "ui/StringIds.h"
#include "ui/SlotList.h"
#include "ui/ViewListPanel.h"
#include "ui/ViewerDlg.h"
#include "view3d/C3DScrollView.h"
#include "ui_ViewerDlg.h"

namespace quillon {

namespace {

constexpr int kFullOpacity = 100;

bool IsViewableClass(std::uint32_t profileClass)
{
    return profileClass == sig::Display || profileClass == sig::Input || profileClass == sig::Output;
}

} // namespace

int ViewListPanel::LowestFreeShapeEntry() const
{
    for (int k = 0; k < kRows; ++k) {
        if (m_viewport->Shape(k)->inUse == 0)
            return k;
    }
    return -1;
}

void ViewListPanel::SetRowControls(int row, const ViewSlot& slot)
{
    const RowControls& c = m_rows[row];
    c.visible->setChecked(slot.visible);
    c.natural->setChecked(slot.naturalColours);
    c.solid->setChecked(!slot.naturalColours);
    c.opacity->setValue(slot.opacity);
}

void ViewListPanel::InsertListRow(int row, const ViewSlot& slot)
{
    auto item = std::make_unique<QTreeWidgetItem>();
    item->setText(0, QString::asprintf("%d", row + 1));
    const std::string name = FileNameOf(slot.profile);
    item->setText(1, QString::fromUtf8(DisplayFileName(name.c_str())));
    // The whole path tells apart two files of one name.
    const std::filesystem::path file = m_env.services.Resolve(name);
    item->setToolTip(1, file.empty() ? QString::fromUtf8(name.c_str()) : QFile::decodeName(file.c_str()));
    item->setText(2, LoadText(ClassLabel(slot.profile.profileClass)));
    item->setText(3, LoadText(ColourSpaceLabel(slot.profile.colourSpace)));
    item->setTextAlignment(0, Qt::AlignCenter);
    item->setTextAlignment(2, Qt::AlignCenter);
    item->setTextAlignment(3, Qt::AlignCenter);
    m_ui.viewList->insertTopLevelItem(row, item.release()); // the list owns it from here
}

void ViewListPanel::OnAdd()
{
    if (m_slotCount >= kRows) {
        WarningBox(ids::kMaxProfilesReached);
        return;
    }
    const std::optional<ProfileRecord> chosen = m_env.chooseProfile(&m_window, m_env.services);
    if (!chosen) {
        EnableRows();
        return;
    }
    AddRecord(*chosen);
}

void ViewListPanel::AddFiles(const std::vector<std::string>& paths)
{
    for (const std::string& path : paths) {
        if (m_slotCount >= kRows) {
            WarningBox(ids::kMaxProfilesReached); // once for all the files that do not fit
            return;
        }
        ProfileRecord record;
        const std::int16_t result = RecordForProfileFile(path, record);
        if (result == file_record_result::PathTooLong) {
            ErrorBox(ids::kPathTooLong);
            continue;
        }
        if (result != file_record_result::Ok) {
            ErrorBox(ids::kCannotLoadProfile);
            continue;
        }
        AddRecord(record);
    }
}

bool ViewListPanel::AddRecord(const ProfileRecord& chosen)
{
    if (FindDuplicateSlot(chosen, m_slots.data(), m_slotCount, m_env.services) >= 0) {
        WarningBox(ids::kAlreadyInList);
        return false;
    }

    std::optional<int> error; // shown once the profiles are closed
    {
        // The set lives on the stack: creating it cannot run out of memory, so 1004 never arises.
        LoadedProfileSet set(m_env.services);
        error = AddChosen(set, chosen);
    }
    if (error) {
        ErrorBox(*error);
        return false;
    }
    EnableRows();
    return true;
}

std::optional<int> ViewListPanel::AddChosen(LoadedProfileSet& set, const ProfileRecord& chosen)
{
    LoadedProfile* device = nullptr;
    if (set.Load(FileNameOf(chosen), &device) != LoadResult::Ok || device == nullptr)
        return ids::kCannotLoadProfile;
    // A file picked outside the catalogue may be a link, abstract or named-colour profile,
    // which has no device gamut: refused before the slot or its row is touched.
    if (!IsViewableClass(device->ProfileClass())) {
        ErrorBox(ids::kCannotUseProfile);
        return ids::kCannotBuildShape;
    }

    const int row = m_slotCount;
    ViewSlot& slot = m_slots[row];
    slot.profile = chosen;
    slot.profile.fileName[ProfileRecord::kNameSize - 1] = 0;
    const int entry = LowestFreeShapeEntry();
    if (entry < 0)
        return ids::kShapeFlagsWrong;
    slot.shapeIndex = static_cast<std::int16_t>(entry);
    slot.visible = true;
    slot.opacity = kFullOpacity;
    slot.naturalColours = true;

    SetRowControls(row, slot);
    m_readAllControls();
    m_viewport->repaint(); // the picture before the build starts

    const std::optional<int> built = BuildGamutShape(set, row, slot.shapeIndex, *device);
    if (built != CViewerDlg::kBuilt) {
        // The build's own reason comes first, while its profiles are still open (the
        // cursor and the box are gone already); the general message once they are closed.
        if (built)
            ErrorBox(*built);
        return ids::kCannotBuildShape;
    }

    InsertListRow(row, slot);
    ++m_slotCount;
    ListChanged();
    return std::nullopt;
}

void ViewListPanel::OnRemove()
{
    QTreeWidget* list = m_ui.viewList;
    const auto firstSelected = [list]() {
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            if (list->topLevelItem(i)->isSelected())
                return i;
        }
        return -1;
    };
    if (firstSelected() < 0) {
        WarningBox(ids::kSelectProfileFirst);
        return;
    }
    if (QuestionBox(ids::kConfirmRemove, QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
        EnableRows();
        return;
    }

    // Rows the remaining slots sat in, to recompile those that move.
    std::array<int, kRows> formerRow{};
    for (int r = 0; r < kRows; ++r)
        formerRow[r] = r;

    for (int i = firstSelected(); i >= 0 && i < m_slotCount; i = firstSelected()) {
        const std::int16_t entry = m_slots[i].shapeIndex;
        m_viewport->SetShapeInUse(entry, false);
        m_viewport->DeleteShapeList(entry);
        std::unique_ptr<QTreeWidgetItem> item(list->takeTopLevelItem(i));
        RemoveSlotAt(m_slots.data(), m_slotCount, i);
        for (int k = i; k < m_slotCount; ++k)
            formerRow[k] = formerRow[k + 1];
    }

    for (int r = 0; r < m_slotCount; ++r) {
        list->topLevelItem(r)->setText(0, QString::asprintf("%d", r + 1));
        SetRowControls(r, m_slots[r]);
        // A moved shape takes the solid colour and footprint colour of its new row now,
        // not at its next change.
        if (formerRow[r] != r)
            RecompileShape(r);
    }
    m_readAllControls();
    m_window.update();
    RedrawViewport();
    EnableRows();
    ListChanged();
}

void ViewListPanel::ListChanged()
{
    std::vector<const GamutShape*> shapes;
    for (int r = 0; r < m_slotCount; ++r)
        shapes.push_back(&m_slots[r].shape);
    try {
        m_solids = MakeSolids(shapes, m_env.buildThreads);
    } catch (const std::exception&) {
        // No figures rather than a handler that throws; the shapes themselves are intact.
        m_solids.clear();
    }
    emit listChanged();
}

void ViewListPanel::RecompileShape(int row)
{
    const ViewSlot& slot = m_slots[row];
    m_viewport->DeleteShapeList(slot.shapeIndex);
    m_viewport->CompileShape(slot.shapeIndex, slot, static_cast<std::int16_t>(row));
}

} // namespace quillon
