#include "profiles/BuildProfileListDlg.h"

#include <QApplication>
#include <QCursor>
#include <QScreen>

#include "app/DialogTexts.h"
#include "app/Strings.h"
#include "app/WaitCursor.h"
#include "ui_BuildProfileListDlg.h"

namespace quillon {

int BuildingListText(ProfileListKind kind)
{
    constexpr int kBuildingDeviceList = 1005;
    constexpr int kBuildingNcpList = 1011;
    return kind == ProfileListKind::Device ? kBuildingDeviceList : kBuildingNcpList;
}
CBuildProfileListDlg::CBuildProfileListDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_ui(std::make_unique<Ui::BuildProfileListDlg>())
{
    m_ui->setupUi(this);
    ApplyDialogTexts(this);
    setModal(false);
}

CBuildProfileListDlg::~CBuildProfileListDlg() = default;

void CBuildProfileListDlg::SetText(const QString& text) { m_ui->listText->setText(text); }

QString CBuildProfileListDlg::Text() const { return m_ui->listText->text(); }

std::vector<ProfileRecord> BuildProfileList(const ProfileCatalogue& catalogue, ProfileListKind kind)
{
    WaitCursor wait;
    CBuildProfileListDlg box; // no parent: a box of its own, centred on the screen
    box.SetText(LoadText(BuildingListText(kind)));
    box.adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        box.move(screen->availableGeometry().center() - box.rect().center());
    box.show();
    // One pass so the box is on screen; the list is then built without processing input.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    box.repaint();
    return catalogue.BuildList(kind);
}

} // namespace quillon
