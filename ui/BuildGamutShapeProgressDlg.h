#pragma once
#include <memory>

#include <QDialog>

namespace Ui {
class BuildGamutShapeProgressDlg;
}

namespace quillon {

// Template 133: a captionless box with a text (1046) and a bar (1045) shown while a gamut
// shape is built. It cannot be closed by the user; its owner closes it.
class CBuildGamutShapeProgressDlg : public QDialog {
    Q_OBJECT
public:
    explicit CBuildGamutShapeProgressDlg(QWidget* parent = nullptr);
    ~CBuildGamutShapeProgressDlg() override;

    void SetRange(int maximum);
    void SetText(const QString& text);
    // Sets the bar and paints the box at once (the build blocks the event loop).
    void SetPosition(int position);

    int Position() const;
    int Maximum() const;
    QString Text() const;

    void reject() override {} // Escape does not close it

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    std::unique_ptr<Ui::BuildGamutShapeProgressDlg> m_ui;
};

} // namespace quillon
