#include "ui/ProfileChoice.h"

#include "profiles/ProfileCatalogue.h"

namespace quillon {

std::optional<ProfileRecord> RunAddProfileDialog(QWidget* /*parent*/, const ColourServices& /*services*/)
{
    return std::nullopt; // replaced by CAddProfileDlg once it is in the tree
}

std::vector<ProfileRecord> BuildNcpListUnderProgressBox(QWidget* /*parent*/, const ColourServices& services)
{
    return ProfileCatalogue(services).BuildList(ProfileListKind::NamedColour);
}

} // namespace quillon
