#include "profiles/AddProfileDlg.h"

#include <QComboBox>
#include <QFile>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPushButton>

#include "app/DialogTexts.h"
#include "app/MessageBoxes.h"
#include "app/Strings.h"
#include "profiles/BuildProfileListDlg.h"
#include "profiles/ProfileFile.h"
#include "ui_AddProfileDlg.h"

namespace quillon {
namespace {

constexpr int kPathTooLongText = 2040;
constexpr int kOpenProfileCaption = 2041;
constexpr int kProfileFileFilter = 2042;

QString AskForProfileFile(QWidget* parent)
{
    // From the home folder: the working directory is the program's data folder.
    return QFileDialog::getOpenFileName(parent, LoadText(kOpenProfileCaption), QDir::homePath(),
                                        LoadText(kProfileFileFilter));
}

} // namespace

CAddProfileDlg::CAddProfileDlg(const ProfileCatalogue& catalogue, QWidget* parent)
    : QDialog(parent), m_catalogue(catalogue), m_ui(std::make_unique<Ui::AddProfileDlg>())
{
    m_ui->setupUi(this);
    ApplyDialogTexts(this);
    connect(m_ui->okButton, &QPushButton::clicked, this, &CAddProfileDlg::accept);
    connect(m_ui->cancelButton, &QPushButton::clicked, this, &CAddProfileDlg::reject);
    connect(m_ui->browseButton, &QPushButton::clicked, this, &CAddProfileDlg::OnBrowse);
    m_fileChooser = AskForProfileFile;
}

CAddProfileDlg::~CAddProfileDlg() = default;

QComboBox* CAddProfileDlg::ProfileCombo() const { return m_ui->profileCombo; }

void CAddProfileDlg::setVisible(bool visible)
{
    // Built before the dialog appears, at every opening, so newly installed profiles show up.
    if (visible && !isVisible())
        BuildDeviceList();
    QDialog::setVisible(visible);
}

void CAddProfileDlg::BuildDeviceList()
{
    m_deviceProfiles = BuildProfileList(m_catalogue, ProfileListKind::Device);
    m_listCount = static_cast<std::uint32_t>(m_deviceProfiles.size());
    m_ui->profileCombo->clear();
    // Item index == record index: the combo is not sorted, the list already is.
    for (const auto& record : m_deviceProfiles)
        m_ui->profileCombo->addItem(QString::fromUtf8(record.fileName));
    m_ui->profileCombo->setCurrentIndex(-1);
}

void CAddProfileDlg::accept()
{
    m_selectedIndex = m_ui->profileCombo->currentIndex();
    if (m_selectedIndex < 0 || static_cast<std::size_t>(m_selectedIndex) >= m_deviceProfiles.size())
        return;
    m_chosenProfile = m_deviceProfiles[static_cast<std::size_t>(m_selectedIndex)];
    QDialog::accept();
}

void CAddProfileDlg::OnBrowse()
{
    const QString chosen = m_fileChooser ? m_fileChooser(this) : QString();
    if (chosen.isEmpty())
        return;
    // The bytes the file system knows the file by, not a re-encoding of them.
    const std::string path = QFile::encodeName(QDir::cleanPath(QFileInfo(chosen).absoluteFilePath())).toStdString();
    ProfileRecord record;
    const std::int16_t result = RecordForProfileFile(path, record);
    if (result == file_record_result::PathTooLong) {
        ErrorBox(kPathTooLongText);
        return;
    }
    if (result != file_record_result::Ok)
        return;
    m_chosenProfile = record;
    QDialog::accept();
}

} // namespace quillon
