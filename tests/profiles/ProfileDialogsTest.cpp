#include <cstring>
#include <string>

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "app/MessageBoxes.h"
#include "app/Strings.h"
#include "profiles/AddProfileDlg.h"
#include "profiles/BuildProfileListDlg.h"
#include "tests/profiles/Fixtures.h"

using namespace quillon;
using namespace quillon::testing;

namespace {

// Every test starts in English, with message boxes intercepted: the dialogs must show none.
class ProfileDialogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetCurrentLanguage(Language::English);
        SetBoxHook([this](const BoxRequest& request) {
            ++boxes;
            lastBox = request.textId;
            return QMessageBox::Ok;
        });
    }
    void TearDown() override
    {
        SetBoxHook({});
        SetCurrentLanguage(Language::English);
    }
    int boxes = 0;
    int lastBox = 0;
    ProfileCatalogue fixtures{FixtureServices()};
};

int OpenListBoxes()
{
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        n += qobject_cast<CBuildProfileListDlg*>(w) != nullptr;
    return n;
}

} // namespace

TEST_F(ProfileDialogs, ListBoxTextsPerLanguage)
{
    struct Case {
        Language language;
        ProfileListKind kind;
        const char* text;
    };
    const Case cases[] = {
        {Language::English, ProfileListKind::Device, "Building a list of available profiles..."},
        {Language::French, ProfileListKind::Device, "Création de la liste des profils disponibles..."},
        {Language::English, ProfileListKind::NamedColour, "Building the list of NCP profiles..."},
        {Language::French, ProfileListKind::NamedColour, "Création de la liste des profils NCP..."},
    };
    EXPECT_EQ(BuildingListText(ProfileListKind::Device), 1005);
    EXPECT_EQ(BuildingListText(ProfileListKind::NamedColour), 1011);
    for (const auto& c : cases) {
        SetCurrentLanguage(c.language);
        EXPECT_EQ(LoadText(BuildingListText(c.kind)), QString::fromUtf8(c.text));
        CBuildProfileListDlg box;
        EXPECT_EQ(box.Text(), QString("Building a list of available profiles...")) << "template text";
    }
}

TEST_F(ProfileDialogs, BuildingAListLeavesNoBoxNorWaitCursor)
{
    const auto list = BuildProfileList(fixtures, ProfileListKind::NamedColour);
    const auto direct = fixtures.BuildList(ProfileListKind::NamedColour);
    ASSERT_EQ(list.size(), direct.size());
    for (std::size_t i = 0; i < list.size(); ++i)
        EXPECT_STREQ(list[i].fileName, direct[i].fileName);
    QApplication::processEvents(); // deleteLater-free, but let any pending close finish
    EXPECT_EQ(OpenListBoxes(), 0);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(boxes, 0);
}

TEST_F(ProfileDialogs, OpensWithTheSortedDeviceListAndNoSelection)
{
    CAddProfileDlg dialog(fixtures);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    const auto expected = fixtures.BuildList(ProfileListKind::Device);
    ASSERT_EQ(dialog.ListCount(), expected.size());
    ASSERT_EQ(dialog.ProfileCombo()->count(), int(expected.size()));
    for (int i = 0; i < dialog.ProfileCombo()->count(); ++i)
        EXPECT_EQ(dialog.ProfileCombo()->itemText(i).toStdString(), expected[std::size_t(i)].fileName);
    EXPECT_EQ(dialog.ProfileCombo()->currentIndex(), -1);
    EXPECT_EQ(dialog.windowTitle(), QString("Add A Profile To The View List"));
    EXPECT_EQ(OpenListBoxes(), 0);
    dialog.reject();
}

TEST_F(ProfileDialogs, OkWithoutSelectionStaysOpenThenOkHandsBackTheRecord)
{
    CAddProfileDlg dialog(fixtures);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    auto* ok = dialog.findChild<QPushButton*>("okButton");
    ASSERT_NE(ok, nullptr);
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_STREQ(dialog.ChosenProfile().fileName, "");

    ASSERT_GE(dialog.ProfileCombo()->count(), 2);
    dialog.ProfileCombo()->setCurrentIndex(1);
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const ProfileRecord& expected = dialog.DeviceProfiles()[1];
    EXPECT_STREQ(dialog.ChosenProfile().fileName, expected.fileName);
    EXPECT_EQ(dialog.ChosenProfile().profileClass, expected.profileClass);
    EXPECT_EQ(dialog.ChosenProfile().colourSpace, expected.colourSpace);
    EXPECT_EQ(boxes, 0);
}

TEST_F(ProfileDialogs, CancelLeavesTheChosenRecordUntouchedEvenWithASelection)
{
    CAddProfileDlg dialog(fixtures);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    dialog.ProfileCombo()->setCurrentIndex(0);
    QTest::mouseClick(dialog.findChild<QPushButton*>("cancelButton"), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_STREQ(dialog.ChosenProfile().fileName, "");
    EXPECT_EQ(dialog.ChosenProfile().profileClass, 0u);
}

TEST_F(ProfileDialogs, EachOpeningListsAfresh)
{
    const auto folder = std::filesystem::temp_directory_path() / ("quillon_add_dlg_" + std::to_string(QCoreApplication::applicationPid()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    ProfileCatalogue catalogue(ColourServices({folder}));
    CAddProfileDlg dialog(catalogue);
    dialog.show();
    EXPECT_EQ(dialog.ProfileCombo()->count(), 0) << "an empty catalogue leaves the combo empty";
    QTest::mouseClick(dialog.findChild<QPushButton*>("okButton"), Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible()) << "only Cancel closes it then";
    dialog.reject();

    std::filesystem::copy_file(FixtureDir() / "rgb_printer.icc", folder / "new.icc");
    dialog.show();
    ASSERT_EQ(dialog.ProfileCombo()->count(), 1);
    EXPECT_EQ(dialog.ProfileCombo()->itemText(0), QString("new.icc"));
    EXPECT_EQ(dialog.ProfileCombo()->currentIndex(), -1);
    dialog.reject();
    std::filesystem::remove_all(folder);
    EXPECT_EQ(boxes, 0);
}

TEST_F(ProfileDialogs, FrenchTexts)
{
    SetCurrentLanguage(Language::French);
    CAddProfileDlg dialog(fixtures);
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("Ajouter un profil à la liste"));
    EXPECT_EQ(dialog.findChild<QPushButton*>("cancelButton")->text(), QString("Annuler"));
    EXPECT_EQ(dialog.findChild<QPushButton*>("okButton")->text(), QString("OK"));
}

// Browse... with a chooser that answers at once instead of the modal file dialog.
TEST_F(ProfileDialogs, BrowseHandsBackTheFullPathWithTheHeaderSignatures)
{
    struct Case {
        std::string path;
        bool accepted;
        std::uint32_t profileClass;
        std::uint32_t colourSpace;
    };
    const std::string missing = (FixtureDir() / "no_such_profile.icc").string();
    const Case cases[] = {
        {Fixture("rgb_printer.icc"), true, sig::Output, sig::Rgb},
        {Fixture("cmyk_scanner.icc"), true, sig::Input, sig::Cmyk},
        {Fixture("lab_abstract.icc"), true, sig::Abstract, sig::Lab},
        // Not for this dialog to judge: the load and build of the Add steps refuse them.
        {Fixture("device_link.icc"), true, sig::Link, sig::Rgb},
        {Fixture("grey_monitor.icc"), true, sig::Display, sig::Gray},
        {Fixture("not_a_profile.txt"), true, 0u, 0u},
        {Fixture("broken_zero_length.icc"), true, 0u, 0u},
        {missing, true, 0u, 0u},
        {FixtureDir().string(), true, 0u, 0u}, // a folder is never opened
        {"", false, 0u, 0u},                   // cancelled
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        CAddProfileDlg dialog(fixtures);
        dialog.SetFileChooser([&](QWidget*) { return QString::fromStdString(c.path); });
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        QTest::mouseClick(dialog.findChild<QPushButton*>("browseButton"), Qt::LeftButton);
        EXPECT_EQ(dialog.isVisible(), !c.accepted);
        if (c.accepted) {
            EXPECT_EQ(dialog.result(), QDialog::Accepted);
            EXPECT_EQ(FileNameOf(dialog.ChosenProfile()), c.path);
            EXPECT_EQ(dialog.ChosenProfile().profileClass, c.profileClass);
            EXPECT_EQ(dialog.ChosenProfile().colourSpace, c.colourSpace);
        } else {
            EXPECT_STREQ(dialog.ChosenProfile().fileName, "");
            dialog.reject();
        }
    }
    EXPECT_EQ(boxes, 0);
}

TEST_F(ProfileDialogs, BrowseRefusesAPathTooLongForTheRecordWithABox)
{
    // 259 bytes still fit the 260-byte name field with its terminator; 260 do not.
    for (const std::size_t length : {std::size_t(259), std::size_t(260), std::size_t(4000)}) {
        std::string path(length, 'p');
        path.front() = '/';
        path.replace(length - 4, 4, ".icc");
        ASSERT_EQ(path.size(), length);
        boxes = 0;
        lastBox = 0;
        CAddProfileDlg dialog(fixtures);
        dialog.SetFileChooser([&](QWidget*) { return QString::fromStdString(path); });
        dialog.show();
        QTest::mouseClick(dialog.findChild<QPushButton*>("browseButton"), Qt::LeftButton);
        if (length < std::size_t(ProfileRecord::kNameSize)) {
            EXPECT_FALSE(dialog.isVisible());
            EXPECT_EQ(FileNameOf(dialog.ChosenProfile()), path);
            EXPECT_EQ(boxes, 0);
        } else {
            EXPECT_TRUE(dialog.isVisible()) << length;
            EXPECT_STREQ(dialog.ChosenProfile().fileName, "") << "never a cut path";
            EXPECT_EQ(boxes, 1);
            EXPECT_EQ(lastBox, 2040);
            dialog.reject();
        }
    }
}

TEST_F(ProfileDialogs, BrowseTextsInBothLanguages)
{
    struct Case {
        Language language;
        const char* button;
        const char* caption;
        const char* filter;
        const char* tooLong;
    };
    const Case cases[] = {
        {Language::English, "Browse...", "Open A Profile File", "ICC profiles (*.icc *.icm *.ICC *.ICM)",
         "The path of the chosen file is too long to be opened."},
        {Language::French, "Parcourir...", "Ouvrir un fichier de profil", "Profils ICC (*.icc *.icm *.ICC *.ICM)",
         "Le chemin du fichier choisi est trop long pour être ouvert."},
    };
    for (const auto& c : cases) {
        SetCurrentLanguage(c.language);
        CAddProfileDlg dialog(fixtures);
        EXPECT_EQ(dialog.findChild<QPushButton*>("browseButton")->text(), QString::fromUtf8(c.button));
        EXPECT_EQ(LoadText(2041), QString::fromUtf8(c.caption));
        EXPECT_EQ(LoadText(2042), QString::fromUtf8(c.filter));
        EXPECT_EQ(LoadText(2040), QString::fromUtf8(c.tooLong));
    }
}
