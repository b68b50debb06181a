#include <gtest/gtest.h>

#include "app/Strings.h"
#include "ui/StringIds.h"

namespace quillon {
namespace {

// Every id the window fetches has its text in resources/strings.tsv, in both languages.
TEST(StringIds, EveryIdHasATextInEachLanguage)
{
    for (Language language : {Language::English, Language::French}) {
        SetCurrentLanguage(language);
        for (int id : ids::kAll)
            EXPECT_FALSE(LoadText(id).isEmpty()) << id << " language " << int(language);
    }
    SetCurrentLanguage(Language::English);
}

} // namespace
} // namespace quillon
