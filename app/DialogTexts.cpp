#include "app/DialogTexts.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QWidget>

#include "app/Strings.h"
#include "app/TextTable.h"
#include "resources/Resources.h"

namespace quillon {
namespace {

// "name#3" addresses item 3 of combo box "name".
bool ApplyComboItem(QWidget* dialog, const QString& key, const QString& text)
{
    const qsizetype hash = key.lastIndexOf(u'#');
    if (hash <= 0)
        return false;
    bool ok = false;
    const int index = key.mid(hash + 1).toInt(&ok);
    auto* combo = dialog->findChild<QComboBox*>(key.left(hash));
    if (!ok || combo == nullptr || index < 0)
        return false;
    if (index < combo->count())
        combo->setItemText(index, text);
    return true;
}

void ApplyText(QWidget* dialog, const QString& key, const QString& text)
{
    if (key.isEmpty()) {
        dialog->setWindowTitle(text);
        return;
    }
    if (ApplyComboItem(dialog, key, text))
        return;
    QObject* child = dialog->findChild<QObject*>(key);
    if (auto* label = qobject_cast<QLabel*>(child))
        label->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(child))
        button->setText(text);
    else if (auto* group = qobject_cast<QGroupBox*>(child))
        group->setTitle(text);
    else if (auto* action = qobject_cast<QAction*>(child))
        action->setText(text);
    else if (auto* widget = qobject_cast<QWidget*>(child))
        widget->setWindowTitle(text);
}

} // namespace

void ApplyDialogTexts(QWidget* dialog)
{
    if (dialog == nullptr)
        return;
    EnsureResources();
    const QString path = QStringLiteral(":/quillon/texts/%1.tsv").arg(dialog->objectName());
    const bool french = CurrentLanguage() == Language::French;
    for (const TextRow& row : ParseTextTable(ReadResource(path))) {
        const QString& text = french && !row.french.isEmpty() ? row.french : row.english;
        ApplyText(dialog, row.key, text);
    }
}

} // namespace quillon
