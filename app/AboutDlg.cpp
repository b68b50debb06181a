#include "app/AboutDlg.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>

#include "app/DialogTexts.h"
#include "app/Language.h"
#include "resources/Resources.h"
#include "ui_AboutDlg.h"

namespace quillon {
namespace {

// Fixed names, the same in both languages; the index is the stored language value.
const char* const kLanguageNames[] = {"English", "Français"};

} // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent), m_ui(std::make_unique<Ui::AboutDlg>())
{
    EnsureResources();
    m_ui->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    // The texts and the picture follow the language in force when the box is built, as a
    // template of that language would.
    ApplyDialogTexts(this);
    m_ui->picture->setPixmap(QPixmap(PicturePath(CurrentLanguage())));
    // activated, not currentIndexChanged: only a choice of the user closes the box, also
    // re-choosing the current entry.
    connect(m_ui->languageCombo, &QComboBox::activated, this, &CAboutDlg::OnLanguageChanged);
}

CAboutDlg::~CAboutDlg() = default;

QComboBox* CAboutDlg::LanguageCombo() const
{
    return m_ui->languageCombo;
}

QLabel* CAboutDlg::Picture() const
{
    return m_ui->picture;
}

QString CAboutDlg::PicturePath(Language language)
{
    return language == Language::English ? QStringLiteral(":/quillon/about_en.png")
                                         : QStringLiteral(":/quillon/about_fr.png");
}

void CAboutDlg::showEvent(QShowEvent* event)
{
    if (!m_initialised) {
        m_initialised = true;
        InitDialog();
    }
    QDialog::showEvent(event);
}

void CAboutDlg::InitDialog()
{
    m_ui->languageCombo->setVisible(showLanguageSelector);
    m_ui->languageCombo->clear();
    for (const char* name : kLanguageNames)
        m_ui->languageCombo->addItem(QString::fromUtf8(name));
    ApplyLanguage(LanguageFromValue(languageIndex));
    // An index outside the list leaves nothing selected, as the combo would.
    m_ui->languageCombo->setCurrentIndex(
        languageIndex >= 0 && languageIndex < m_ui->languageCombo->count() ? languageIndex : -1);
}

void CAboutDlg::OnLanguageChanged(int index)
{
    if (index < 0)
        return;
    languageIndex = index;
    ApplyLanguage(LanguageFromValue(languageIndex));
    accept();
}

void CAboutDlg::keyPressEvent(QKeyEvent* event)
{
    // The box has no buttons: Enter closes it like Escape does.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace quillon
