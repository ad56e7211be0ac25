#include "library/Shortcut.h"
#include "base/Text.h"
#include "vocabulary/Language.h"

#include <gtest/gtest.h>

namespace nimb {
namespace {

// A named key is the menu item's word without the ellipsis the menu gives it, in every language.
TEST(Shortcut, namesAreMenuWordsWithoutEllipsisInEveryLanguage) {
    setCurrentLanguage(Language::english);
    EXPECT_EQ(name(Shortcut::find), "Find in Page");
    EXPECT_EQ(name(Shortcut::marginalia), "Marginalia");
    EXPECT_EQ(name(Shortcut::bookmarks), "Bookmarks");
    for (Language language : allCases<Language>) {
        setCurrentLanguage(language);
        for (Shortcut shortcut : allCases<Shortcut>) {
            const std::string named = name(shortcut);
            EXPECT_FALSE(named.empty()) << rawValue(language);
            EXPECT_EQ(named.find("\u2026"), std::string::npos) << named;
            EXPECT_EQ(named.find("..."), std::string::npos) << named;
            EXPECT_EQ(named, text::trimmed(named)) << named;
        }
    }
    setCurrentLanguage(Language::english);
}

} // namespace
} // namespace nimb
