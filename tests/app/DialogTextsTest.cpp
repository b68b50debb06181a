#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

#include "app/DialogTexts.h"
#include "app/Strings.h"

namespace quillon {
namespace {

// A dialog shaped like a .ui one: English texts in, named children.
struct ProbeDialog : QDialog {
    ProbeDialog()
    {
        setObjectName("DialogTextsProbe");
        setWindowTitle("design title");
        label->setObjectName("label");
        button->setObjectName("button");
        group->setObjectName("group");
        combo->setObjectName("combo");
        combo->addItems({"First", "design second"});
        untranslated->setObjectName("untranslated");
    }
    QLabel* label = new QLabel("design", this);
    QPushButton* button = new QPushButton("design", this);
    QGroupBox* group = new QGroupBox("design", this);
    QComboBox* combo = new QComboBox(this);
    QLabel* untranslated = new QLabel("design", this);
};

TEST(DialogTextsTest, EveryListedChildTakesTheLanguage)
{
    struct Case {
        Language language;
        const char* title;
        const char* label;
        const char* button;
        const char* group;
        const char* second;
        const char* untranslated;
    };
    const Case cases[] = {
        {Language::English, "Probe title", "Label", "Button", "Group", "Second", "Same"},
        {Language::French, "Titre sonde", "Étiquette", "Bouton", "Groupe", "Deuxième", "Same"},
    };
    for (const Case& c : cases) {
        SetCurrentLanguage(c.language);
        ProbeDialog dialog;
        ApplyDialogTexts(&dialog);
        EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8(c.title));
        EXPECT_EQ(dialog.label->text(), QString::fromUtf8(c.label));
        EXPECT_EQ(dialog.button->text(), QString::fromUtf8(c.button));
        EXPECT_EQ(dialog.group->title(), QString::fromUtf8(c.group));
        EXPECT_EQ(dialog.combo->count(), 2);
        EXPECT_EQ(dialog.combo->itemText(0), "First");
        EXPECT_EQ(dialog.combo->itemText(1), QString::fromUtf8(c.second));
        // An empty French column keeps the English text rather than blanking the control.
        EXPECT_EQ(dialog.untranslated->text(), QString::fromUtf8(c.untranslated));
    }
    SetCurrentLanguage(Language::English);
}

TEST(DialogTextsTest, DialogWithoutTableIsLeftAlone)
{
    QDialog dialog;
    dialog.setObjectName("NoSuchDialog");
    dialog.setWindowTitle("kept");
    ApplyDialogTexts(&dialog);
    ApplyDialogTexts(nullptr);
    EXPECT_EQ(dialog.windowTitle(), "kept");
}

} // namespace
} // namespace quillon
