#include "app/MessageBoxes.h"

#include <QAbstractButton>
#include <QPointer>
#include <QWidget>

#include "app/DialogTexts.h"
#include "app/Strings.h"

namespace quillon {
namespace {

// Default captions: errors use string 1001, warnings and questions 1002.
constexpr int kErrorCaptionId = 1001;
constexpr int kWarningCaptionId = 1002;

QPointer<QWidget>& Owner()
{
    static QPointer<QWidget> owner;
    return owner;
}

BoxHook& Hook()
{
    static BoxHook hook;
    return hook;
}

QMessageBox::StandardButton ShowBox(BoxKind kind, int textId, QMessageBox::StandardButtons buttons,
                                    int captionId)
{
    if (captionId == 0)
        captionId = kind == BoxKind::Error ? kErrorCaptionId : kWarningCaptionId;
    const BoxRequest request{kind, textId, LoadText(captionId), LoadText(textId)};
    if (Hook())
        return Hook()(request);

    // The stop sign for every kind, warnings and questions included.
    QMessageBox box(QMessageBox::Critical, request.caption, request.text, buttons, Owner().data());
    // Qt's own button labels are English whatever the language; ours come from the texts.
    box.setObjectName(QStringLiteral("MessageBox"));
    const struct {
        QMessageBox::StandardButton button;
        const char* name;
    } named[] = {{QMessageBox::Ok, "okButton"}, {QMessageBox::Yes, "yesButton"},
                 {QMessageBox::No, "noButton"}};
    for (const auto& n : named)
        if (QAbstractButton* button = box.button(n.button))
            button->setObjectName(QString::fromLatin1(n.name));
    ApplyDialogTexts(&box);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

} // namespace

void ErrorBox(int textId, int captionId)
{
    ShowBox(BoxKind::Error, textId, QMessageBox::Ok, captionId);
}

void WarningBox(int textId, int captionId)
{
    ShowBox(BoxKind::Warning, textId, QMessageBox::Ok, captionId);
}

QMessageBox::StandardButton QuestionBox(int textId, QMessageBox::StandardButtons buttons,
                                        int captionId)
{
    return ShowBox(BoxKind::Question, textId, buttons, captionId);
}

void SetBoxOwner(QWidget* owner)
{
    Owner() = owner;
}

void SetBoxHook(BoxHook hook)
{
    Hook() = std::move(hook);
}

} // namespace quillon
