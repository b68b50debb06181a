// The view list: building one row's shape under the progress box (ViewListPanel::BuildGamutShape).
#include <optional>

#include <QApplication>

#include "app/ApplicationFolder.h"
#include "app/Strings.h"
#include "app/WaitCursor.h"
#include "gamut/GamutBuilder.h"
#include "profiles/ColourTransform.h"
#include "profiles/LoadedProfile.h"
#include "ui/BuildGamutShapeProgressDlg.h"
#include "ui/StringIds.h"
#include "ui/ViewListPanel.h"
#include "ui/ViewerDlg.h"
#include "view3d/C3DScrollView.h"

namespace quillon {

std::optional<int> ViewListPanel::BuildGamutShape(LoadedProfileSet& set, int row, std::int16_t shapeIndex,
                                               const LoadedProfile& profile)
{
    if (row < 0 || row >= kRows || shapeIndex < 0 || shapeIndex >= kRows)
        return std::nullopt;
    ViewSlot& slot = m_slots[row];

    // An absolute path in bytes: a bare name would be looked up in the profile folders.
    const std::string labPath = LabProfilePath(m_env.applicationFolder);
    LoadedProfile* lab = nullptr;
    if (set.Load(labPath, &lab) != LoadResult::Ok || lab == nullptr)
        return ids::kCannotLoadGlp;

    const std::uint32_t colourSpace = profile.ColourSpace();
    slot.shape.gridSize = GridSizeFor(colourSpace);
    const ColourTransform transform = CreateMultiProfileTransform(profile.handle.get(), lab->handle.get());

    const int levels = OutermostLevels(colourSpace);
    BuildResult result = BuildResult::UnsupportedColourSpace;
    {
        // The arrow comes back and the box goes before any message is shown.
        WaitCursor cursor;
        CBuildGamutShapeProgressDlg box(&m_window);
        const QString text = LoadText(ids::kBuildingShape);
        if (levels > 0) {
            box.SetRange(levels);
            box.show();
            box.SetText(text);
            box.SetPosition(0);
            result = BuildShape(
                transform, colourSpace, slot.shape, [&box](int levelsDone) { box.SetPosition(levelsDone); },
                m_env.buildThreads);
            box.hide();
        }
    }
    switch (result) {
    case BuildResult::Ok:
        break;
    case BuildResult::UnsupportedColourSpace:
        return ids::kUnsupportedColourSpace;
    case BuildResult::OutOfMemory:
        return ids::kOutOfMemory;
    case BuildResult::TranslateFailed:
        return ids::kCannotUseProfile;
    }

    m_viewport->SetShapeVisible(shapeIndex, true);
    if (!m_viewport->CompileShape(shapeIndex, slot, static_cast<std::int16_t>(row)))
        return std::nullopt;
    return CViewerDlg::kBuilt;
}

} // namespace quillon
