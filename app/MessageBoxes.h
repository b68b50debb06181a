#pragma once
#include <functional>

#include <QMessageBox>
#include <QString>

class QWidget;

namespace quillon {

enum class BoxKind { Error, Warning, Question };

// All three kinds show the stop-sign (critical) icon. Caption id 0 picks the default caption.
void ErrorBox(int textId, int captionId = 0);
void WarningBox(int textId, int captionId = 0);
QMessageBox::StandardButton QuestionBox(int textId, QMessageBox::StandardButtons buttons,
                                        int captionId = 0);

// Owner of every box (the main window once it runs); null for none.
void SetBoxOwner(QWidget* owner);

// Tests replace the modal box: the hook sees what would be shown and returns the button.
struct BoxRequest {
    BoxKind kind;
    int textId;
    QString caption;
    QString text;
};
using BoxHook = std::function<QMessageBox::StandardButton(const BoxRequest&)>;
void SetBoxHook(BoxHook hook); // empty hook restores the real boxes

} // namespace quillon
