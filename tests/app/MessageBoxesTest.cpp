#include <vector>

#include <QAbstractButton>
#include <QApplication>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/MessageBoxes.h"
#include "app/Strings.h"

namespace quillon {
namespace {

class MessageBoxesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetBoxHook([this](const BoxRequest& request) {
            seen.push_back(request);
            return QMessageBox::Yes;
        });
    }
    void TearDown() override
    {
        SetBoxHook({});
        SetCurrentLanguage(Language::English);
    }
    std::vector<BoxRequest> seen;
};

TEST_F(MessageBoxesTest, CaptionsAndTextsFollowTheLanguage)
{
    struct Case {
        Language language;
        BoxKind kind;
        int textId;
        const char* caption;
        const char* text;
    };
    const Case cases[] = {
        {Language::English, BoxKind::Error, 1004, "Error", "Out of memory."},
        {Language::French, BoxKind::Error, 1004, "Erreur", "Manque de mémoire."},
        {Language::English, BoxKind::Warning, 1013, "Warning", "That profile is already in the view list."},
        {Language::French, BoxKind::Warning, 1013, "Avertissement", "Ce profil est déjà dans la liste de visionnement."},
        {Language::English, BoxKind::Question, 1030, "Warning", "Do you really wish to close the application?"},
        {Language::French, BoxKind::Question, 1030, "Avertissement", "Désirez-vous vraiment quitter l'application?"},
        {Language::French, BoxKind::Error, 1031, "Erreur", "Le profil NCP n'a pu être chargé en mérmoire."},
        {Language::English, BoxKind::Error, 4242, "Error", ""}, // unknown text: box still shown
    };
    for (const Case& c : cases) {
        seen.clear();
        SetCurrentLanguage(c.language);
        switch (c.kind) {
        case BoxKind::Error: ErrorBox(c.textId); break;
        case BoxKind::Warning: WarningBox(c.textId); break;
        case BoxKind::Question:
            EXPECT_EQ(QuestionBox(c.textId, QMessageBox::Yes | QMessageBox::No), QMessageBox::Yes);
            break;
        }
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].kind, c.kind);
        EXPECT_EQ(seen[0].textId, c.textId);
        EXPECT_EQ(seen[0].caption, QString::fromUtf8(c.caption));
        EXPECT_EQ(seen[0].text, QString::fromUtf8(c.text));
    }
}

TEST_F(MessageBoxesTest, ExplicitCaptionIdWins)
{
    WarningBox(1004, 1001);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "Error");
}

// The real boxes: closed from a timer, the test reads what was on screen.
struct ShownBox {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool hasOwner = false;
    QString yes, no;
};

// Arms a timer that records the next modal box and presses one of its buttons.
void ArmBoxCloser(ShownBox& shown, QMessageBox::StandardButton press)
{
    QTimer::singleShot(0, [&shown, press] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        shown = {box->windowTitle(), box->text(), box->icon(), box->parentWidget() != nullptr, {}, {}};
        if (QAbstractButton* yes = box->button(QMessageBox::Yes))
            shown.yes = yes->text();
        if (QAbstractButton* no = box->button(QMessageBox::No))
            shown.no = no->text();
        box->button(press)->click();
    });
}

TEST(RealMessageBoxTest, EveryKindShowsTheStopSign)
{
    SetBoxHook({});
    SetCurrentLanguage(Language::French);
    QWidget owner;
    for (bool withOwner : {false, true}) {
        SetBoxOwner(withOwner ? &owner : nullptr);
        ShownBox shown;
        ArmBoxCloser(shown, QMessageBox::Ok);
        WarningBox(1028);
        EXPECT_EQ(shown.caption, "Avertissement");
        EXPECT_EQ(shown.text, QString::fromUtf8("Vous devez choisir au moins un profil dans la liste."));
        EXPECT_EQ(shown.icon, QMessageBox::Critical);
        EXPECT_EQ(shown.hasOwner, withOwner);

        ArmBoxCloser(shown, QMessageBox::No);
        EXPECT_EQ(QuestionBox(1029, QMessageBox::Yes | QMessageBox::No), QMessageBox::No);
        EXPECT_EQ(shown.caption, "Avertissement");
        // Qt's standard labels would be English in a French session.
        EXPECT_EQ(shown.yes, "&Oui");
        EXPECT_EQ(shown.no, "&Non");
        EXPECT_EQ(shown.icon, QMessageBox::Critical);

        ArmBoxCloser(shown, QMessageBox::Ok);
        ErrorBox(1004);
        EXPECT_EQ(shown.caption, "Erreur");
        EXPECT_EQ(shown.icon, QMessageBox::Critical);
    }
    SetBoxOwner(nullptr);
    SetCurrentLanguage(Language::English);
}

} // namespace
} // namespace quillon
