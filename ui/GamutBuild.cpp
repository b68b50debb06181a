// CViewerDlg::BuildGamutShape: the build of one row's shape under the progress box.
#include <QApplication>
#include <QDir>

#include "app/ApplicationFolder.h"
#include "app/MessageBoxes.h"
#include "app/Strings.h"
#include "app/WaitCursor.h"
#include "gamut/GamutBuilder.h"
#include "profiles/ColourTransform.h"
#include "profiles/LoadedProfile.h"
#include "ui/BuildGamutShapeProgressDlg.h"
#include "ui/StringIds.h"
#include "ui/ViewerDlg.h"
#include "ui/ViewportAccess.h"
#include "view3d/ShapeEntry.h"

namespace quillon {

bool CViewerDlg::BuildGamutShape(LoadedProfileSet& set, int row, std::int16_t shapeIndex,
                                 const LoadedProfile& profile)
{
    if (row < 0 || row >= kRows || shapeIndex < 0 || shapeIndex >= kRows)
        return false;
    ViewSlot& slot = m_slots[row];

    // An absolute path in bytes: a bare name would be looked up in the profile folders.
    const std::string labPath = LabProfilePath(m_env.applicationFolder);
    LoadedProfile* lab = nullptr;
    if (set.Load(labPath, &lab) != load_result::Ok || lab == nullptr) {
        ErrorBox(ids::kCannotLoadGlp);
        return false;
    }

    const std::uint32_t colourSpace = profile.ColourSpace();
    slot.shape.gridSize = GridSizeFor(colourSpace);
    const ColourTransform transform = CreateMultiProfileTransform(profile.handle.get(), lab->handle.get());

    WaitCursor cursor;
    CBuildGamutShapeProgressDlg box(this);
    const QString text = LoadText(ids::kBuildingShape);
    const int levels = OutermostLevels(colourSpace);
    if (levels <= 0) {
        cursor.Restore();
        ErrorBox(ids::kUnsupportedColourSpace);
        return false;
    }

    box.SetRange(levels);
    box.show();
    box.SetText(text);
    box.SetPosition(0);

    const BuildResult result = BuildShape(
        transform, colourSpace, slot.shape, [&box](int levelsDone) { box.SetPosition(levelsDone); },
        m_env.buildThreads);

    box.hide();
    cursor.Restore();
    if (result == BuildResult::UnsupportedColourSpace) {
        ErrorBox(ids::kUnsupportedColourSpace);
        return false;
    }
    if (result != BuildResult::Ok) {
        ErrorBox(ids::kCannotUseProfile);
        return false;
    }

    ShapeEntryAt(m_viewport, shapeIndex).visible = 1;
    return CompileShape(m_viewport, shapeIndex, slot, static_cast<std::int16_t>(row));
}

} // namespace quillon
