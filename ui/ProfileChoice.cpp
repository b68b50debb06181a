#include "ui/ProfileChoice.h"

#include "profiles/AddProfileDlg.h"
#include "profiles/BuildProfileListDlg.h"
#include "profiles/ProfileCatalogue.h"

namespace quillon {

std::optional<ProfileRecord> RunAddProfileDialog(QWidget* parent, const ColourServices& services)
{
    const ProfileCatalogue catalogue(services);
    CAddProfileDlg dialog(catalogue, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.ChosenProfile();
}

std::vector<ProfileRecord> BuildNcpListUnderProgressBox(QWidget* /*parent*/, const ColourServices& services)
{
    return BuildProfileList(ProfileCatalogue(services), ProfileListKind::NamedColour);
}

} // namespace quillon
