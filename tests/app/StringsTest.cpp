#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "app/Strings.h"
#include "app/TextTable.h"

namespace quillon {
namespace {

struct StringCase {
    int id;
    const char* english;
    const char* french;
};

// The whole table, as the user must see it (1031 keeps its stored spelling in French).
const std::vector<StringCase> kStrings = {
    {101, "&About Quillon...", "&À propos de Quillon..."},
    {1001, "Error", "Erreur"},
    {1002, "Warning", "Avertissement"},
    {1004, "Out of memory.", "Manque de mémoire."},
    {1005, "Building a list of available profiles...", "Création de la liste des profils disponibles..."},
    {1006, "Profile", "Profil"},
    {1007, "Class", "Classe"},
    {1008, "Color Space", "Espace couleur"},
    {1009, "NCP Profile", "Profil NCP"},
    {1010, "None", "Aucun"},
    {1011, "Building the list of NCP profiles...", "Création de la liste des profils NCP..."},
    {1012, "You have reached the maximum number of profiles you can view at one time.",
     "Vous avez atteint le maximum de profils pouvant être visionnés en même temps."},
    {1013, "That profile is already in the view list.", "Ce profil est déjà dans la liste de visionnement."},
    {1014, "Unable to load selected profile.", "Le profil sélectionné n'a pu être chargé en mémoire."},
    {1015, "The gamut shape flags have not been maintained correctly.",
     "Les paramètres de la forme du gamut sont incorrects."},
    {1016, "Unable to build gamut shape.", "La forme du gamut n'a pu être créée."},
    {1017, "Display", "Affichage"},
    {1018, "Input", "Entrée"},
    {1019, "Output", "Sortie"},
    {1020, "Unsupported", "Non supporté"},
    {1021, "RGB", "RVB"},
    {1022, "CMYK", "CMJN"},
    {1023, "6 Colors", "6 couleurs"},
    {1024, "Unable to load profile GLP.icc from the application folder.",
     "Le profil GLP.icc n'a pu être lu dans le dossier de l'application."},
    {1025, "Building gamut shape...", "Modélisation du gamut..."},
    {1026, "Unable to use the selected profile.", "Le profil choisi ne peut être utilisé."},
    {1027, "Unsupported color space.", "Espace couleur non supporté."},
    {1028, "You must select at least one profile in the list.",
     "Vous devez choisir au moins un profil dans la liste."},
    {1029, "Are you sure you wish to remove the selected profile(s) from the view list?",
     "Désirez-vous vraiment enlever le(s) profil(s) choisi(s) de la liste?"},
    {1030, "Do you really wish to close the application?", "Désirez-vous vraiment quitter l'application?"},
    {1031, "Unable to load NCP profile.", "Le profil NCP n'a pu être chargé en mérmoire."},
    {1032, "Unable to read the NCP profile's colors.", "Le profil NCP n'a pu être lu."},
};

class StringsTest : public ::testing::Test {
protected:
    void TearDown() override { SetCurrentLanguage(Language::English); }
};

TEST_F(StringsTest, EveryIdInBothLanguages)
{
    for (const StringCase& c : kStrings) {
        SetCurrentLanguage(Language::English);
        EXPECT_EQ(LoadText(c.id), QString::fromUtf8(c.english)) << c.id;
        SetCurrentLanguage(Language::French);
        EXPECT_EQ(LoadText(c.id), QString::fromUtf8(c.french)) << c.id;
    }
}

TEST_F(StringsTest, UnknownIdsAreEmpty)
{
    for (Language language : {Language::English, Language::French}) {
        SetCurrentLanguage(language);
        for (int id : {0, -1, 100, 102, 1000, 1003, 1033, 1059, 65536})
            EXPECT_TRUE(LoadText(id).isEmpty()) << id;
    }
}

TEST_F(StringsTest, TableHoldsNoOtherIds)
{
    // Guards against a typo in the data file creating a stray id next to a missing one.
    SetCurrentLanguage(Language::English);
    int found = 0;
    for (int id = 0; id < 2000; ++id)
        found += LoadText(id).isEmpty() ? 0 : 1;
    EXPECT_EQ(found, static_cast<int>(kStrings.size()));
}

TEST_F(StringsTest, LoadTextIntoStaysInsideTheBuffer)
{
    struct IntoCase {
        Language language;
        int id;
        std::size_t size;
        const char* expected;
    };
    const IntoCase cases[] = {
        {Language::English, 1008, 40, "Color Space"},
        {Language::French, 1018, 40, "Entrée"},
        {Language::French, 1020, 40, "Non supporté"},
        {Language::English, 1012, 40, "You have reached the maximum number of "},  // 39 bytes kept
        {Language::English, 1006, 1, ""},
        {Language::English, 1006, 4, "Pro"},
        {Language::English, 9999, 40, ""},
        // "Entrée" in UTF-8 is E n t r 0xC3 0xA9 e: a cut inside é drops the whole letter.
        {Language::French, 1018, 6, "Entr"},
        {Language::French, 1018, 7, "Entré"},
    };
    for (const IntoCase& c : cases) {
        SetCurrentLanguage(c.language);
        char buffer[48];
        std::memset(buffer, 'x', sizeof buffer);
        LoadTextInto(buffer, c.size, c.id);
        EXPECT_STREQ(buffer, c.expected) << c.id << " size " << c.size;
        for (std::size_t i = c.size; i < sizeof buffer; ++i)
            ASSERT_EQ(buffer[i], 'x') << "written past the buffer at " << i;
    }
    LoadTextInto(nullptr, 40, 1001); // no buffer: nothing happens
}

TEST(TextTableTest, ParsesLinesAndSkipsJunk)
{
    const QByteArray data = "# comment\n"
                            "1\tOne\tUn\r\n"
                            "\n"
                            "no tabs here\n"
                            "2\tTwo only\n"
                            "title\tA\\tB\\nC\\\\\tX\n"
                            "\tWindow\tFen\xC3\xAAtre";
    const std::vector<TextRow> rows = ParseTextTable(data);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].key, "1");
    EXPECT_EQ(rows[0].french, "Un");
    EXPECT_EQ(rows[1].english, "Two only");
    EXPECT_TRUE(rows[1].french.isEmpty());
    EXPECT_EQ(rows[2].english, "A\tB\nC\\");
    EXPECT_TRUE(rows[3].key.isEmpty());
    EXPECT_EQ(rows[3].french, QString::fromUtf8("Fenêtre"));
}

} // namespace
} // namespace quillon
