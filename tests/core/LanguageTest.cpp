#include "vocabulary/Language.h"
#include "preferences/Preferences.h"
#include "storage/InMemoryStore.h"

#include <gtest/gtest.h>

namespace nimb {
namespace {

std::optional<Language> match(std::vector<std::string> identifiers) {
    return languageMatching(identifiers);
}

TEST(Language, casesNamesAndLocales) {
    std::vector<std::string> raw, names;
    for (Language language : allCases<Language>) {
        raw.emplace_back(rawValue(language));
        names.emplace_back(endonym(language));
        EXPECT_EQ(locale(language), rawValue(language));
        EXPECT_EQ(fromRaw<Language>(rawValue(language)), language);
    }
    EXPECT_EQ(raw, (std::vector<std::string>{"en", "es", "it", "fr"}));
    EXPECT_EQ(names, (std::vector<std::string>{"English", "Español", "Italiano", "Français"}));
    EXPECT_EQ(fromRaw<Language>("EN"), std::nullopt);
}

TEST(Language, matchingPreferredIdentifiers) {
    EXPECT_EQ(match({"de-DE", "fr-CA", "en-US"}), Language::french);
    EXPECT_EQ(match({"pt_BR"}), std::nullopt);
    EXPECT_EQ(match({"-es"}), Language::spanish);
    EXPECT_EQ(match({"_-IT_x"}), Language::italian);
    EXPECT_EQ(match({"EN_gb"}), Language::english);
    EXPECT_EQ(match({"", "-", "fr"}), Language::french);
    EXPECT_EQ(match({"english"}), std::nullopt);
    EXPECT_EQ(match({}), std::nullopt);

    std::vector<std::string> preferred{"de-DE", "fr-CA", "en-US"};
    EXPECT_EQ(startupLanguage(std::nullopt, preferred), Language::french);
    EXPECT_EQ(startupLanguage(Language::italian, preferred), Language::italian);
    std::vector<std::string> portuguese{"pt_BR"};
    EXPECT_EQ(startupLanguage(std::nullopt, portuguese), Language::english);
}

TEST(Language, switchingWritesOnlyAChange) {
    auto owned = std::make_unique<InMemoryStore>();
    InMemoryStore* store = owned.get();
    Preferences preferences(std::move(owned));
    setCurrentLanguage(Language::english);

    EXPECT_FALSE(switchLanguage(Language::english, preferences));
    EXPECT_TRUE(store->v.empty()) << "choosing the current language writes nothing";

    EXPECT_TRUE(switchLanguage(Language::french, preferences));
    EXPECT_EQ(currentLanguage(), Language::french);
    EXPECT_EQ(preferences.language(), Language::french);
    EXPECT_EQ(words().nowSpeaking(), words(Language::french).nowSpeaking());
    EXPECT_EQ(StatusStrings::contacting(), words(Language::french).contactingHost());
    setCurrentLanguage(Language::english);
}

} // namespace
} // namespace nimb
