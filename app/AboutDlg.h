#pragma once
#include <memory>

#include <QDialog>
#include <QString>

#include "app/Strings.h"

class QComboBox;
class QLabel;

namespace Ui {
class AboutDlg;
}

namespace quillon {

// Dialog 100: the about box and start-up screen. One picture per language and, on request,
// the language selector (combo 1059) over its top right corner. Callers set the two public
// fields between construction and exec() and read languageIndex after it closes.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
    ~CAboutDlg() override;

    bool showLanguageSelector = false;
    int languageIndex = 0; // 0 English, 1 French: the selected entry of the combo

    QComboBox* LanguageCombo() const;
    QLabel* Picture() const;

    // Resource path of the picture for a language.
    static QString PicturePath(Language language);

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private slots:
    void OnLanguageChanged(int index);

private:
    void InitDialog();

    std::unique_ptr<Ui::AboutDlg> m_ui;
    bool m_initialised = false;
};

} // namespace quillon
