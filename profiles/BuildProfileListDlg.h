#pragma once
#include <memory>
#include <vector>

#include <QDialog>
#include <QString>

#include "profiles/ProfileCatalogue.h"
#include "profiles/ProfileRecord.h"

namespace Ui {
class BuildProfileListDlg;
}

namespace quillon {

// The box's text for building either list: string 1005 or 1011.
int BuildingListText(ProfileListKind kind);

// Template 132: a small captionless box (text 1047) shown while a profile list is built.
class CBuildProfileListDlg : public QDialog {
    Q_OBJECT
public:
    explicit CBuildProfileListDlg(QWidget* parent = nullptr);
    ~CBuildProfileListDlg() override;

    void SetText(const QString& text);
    QString Text() const;

    void reject() override {} // Escape does not close it; its builder does

private:
    std::unique_ptr<Ui::BuildProfileListDlg> m_ui;
};

// Builds the device or NCP list under the wait cursor with the box showing 1005 or 1011;
// box and cursor are gone on return. Any failure gives an empty list, without a message.
std::vector<ProfileRecord> BuildProfileList(const ProfileCatalogue& catalogue, ProfileListKind kind);

} // namespace quillon
