#include "profiles/AddProfileDlg.h"

#include <QComboBox>
#include <QPushButton>

#include "app/DialogTexts.h"
#include "profiles/BuildProfileListDlg.h"
#include "ui_AddProfileDlg.h"

namespace quillon {

CAddProfileDlg::CAddProfileDlg(const ProfileCatalogue& catalogue, QWidget* parent)
    : QDialog(parent), m_catalogue(catalogue), m_ui(std::make_unique<Ui::AddProfileDlg>())
{
    m_ui->setupUi(this);
    ApplyDialogTexts(this);
    connect(m_ui->okButton, &QPushButton::clicked, this, &CAddProfileDlg::accept);
    connect(m_ui->cancelButton, &QPushButton::clicked, this, &CAddProfileDlg::reject);
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

} // namespace quillon
