#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include <QDialog>
#include <QString>

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

    // Browse...: asks for a profile file anywhere on disk. The chooser returns the chosen
    // file's path, or an empty string when the user cancels; tests set one that does not
    // block. A chosen file closes the dialog with OK and a record named by its full path
    // (class and colour space from its header), which then goes through the usual Add steps.
    using FileChooser = std::function<QString(QWidget* parent)>;
    void SetFileChooser(FileChooser chooser) { m_fileChooser = std::move(chooser); }
    void OnBrowse();

private:
    void BuildDeviceList();

    ProfileRecord m_chosenProfile;
    std::uint32_t m_listCount = 0;
    std::vector<ProfileRecord> m_deviceProfiles;
    int m_selectedIndex = 0;
    FileChooser m_fileChooser;
    const ProfileCatalogue& m_catalogue;
    std::unique_ptr<Ui::AddProfileDlg> m_ui;
};

} // namespace quillon
