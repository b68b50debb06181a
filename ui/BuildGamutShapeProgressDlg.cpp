#include "ui/BuildGamutShapeProgressDlg.h"

#include <QCloseEvent>
#include <QCoreApplication>

#include "app/DialogTexts.h"
#include "ui_BuildGamutShapeProgressDlg.h"

namespace quillon {

CBuildGamutShapeProgressDlg::CBuildGamutShapeProgressDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      m_ui(std::make_unique<Ui::BuildGamutShapeProgressDlg>())
{
    m_ui->setupUi(this);
    ApplyDialogTexts(this);
    // No input reaches the other windows while the box is up.
    setWindowModality(Qt::ApplicationModal);
}

CBuildGamutShapeProgressDlg::~CBuildGamutShapeProgressDlg() = default;

void CBuildGamutShapeProgressDlg::SetRange(int maximum)
{
    m_ui->progressBar->setRange(0, maximum);
}

void CBuildGamutShapeProgressDlg::SetText(const QString& text)
{
    m_ui->progressText->setText(text);
}

void CBuildGamutShapeProgressDlg::SetPosition(int position)
{
    m_ui->progressBar->setValue(position);
    m_ui->progressBar->repaint();
    // Lets the window system map and paint the box; user input stays queued.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

int CBuildGamutShapeProgressDlg::Position() const
{
    return m_ui->progressBar->value();
}

int CBuildGamutShapeProgressDlg::Maximum() const
{
    return m_ui->progressBar->maximum();
}

QString CBuildGamutShapeProgressDlg::Text() const
{
    return m_ui->progressText->text();
}

void CBuildGamutShapeProgressDlg::closeEvent(QCloseEvent* event)
{
    event->ignore();
}

} // namespace quillon
