#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include <QDialog>

#include "profiles/ProfileCatalogue.h"
#include "profiles/ProfileRecord.h"

class QComboBox;

namespace Ui {
class AddProfileDlg;
}

namespace quillon {

// Template 129: the user picks one installed device profile. The list is built afresh each
// time the dialog is shown; OK hands back a copy of the chosen record.
class CAddProfileDlg : public QDialog {
    Q_OBJECT
public:
    // The catalogue decides which folders are searched (tests point it at fixtures); it must
    // outlive the dialog.
    explicit CAddProfileDlg(const ProfileCatalogue& catalogue, QWidget* parent = nullptr);
    ~CAddProfileDlg() override;

    // Filled on OK only.
    const ProfileRecord& ChosenProfile() const { return m_chosenProfile; }
    const std::vector<ProfileRecord>& DeviceProfiles() const { return m_deviceProfiles; }
    std::uint32_t ListCount() const { return m_listCount; }
    QComboBox* ProfileCombo() const;

    void setVisible(bool visible) override;
    // With nothing selected the dialog stays open.
    void accept() override;

private:
    void BuildDeviceList();

    ProfileRecord m_chosenProfile;
    std::uint32_t m_listCount = 0;
    std::vector<ProfileRecord> m_deviceProfiles;
    int m_selectedIndex = 0;
    const ProfileCatalogue& m_catalogue;
    std::unique_ptr<Ui::AddProfileDlg> m_ui;
};

} // namespace quillon
