#include "base/Text.h"
#include "base/Json.h"

#include <gtest/gtest.h>

namespace nimb {
namespace {

TEST(Text, charactersAreGraphemeClusters) {
    EXPECT_EQ(text::characterCount(""), 0u);
    EXPECT_EQ(text::characterCount("abc"), 3u);
    EXPECT_EQ(text::characterCount("a\r\nb"), 3u);                            // CR LF is one character
    EXPECT_EQ(text::characterCount("e\xCC\x81"), 1u);                         // e + combining acute
    EXPECT_EQ(text::characterCount("👩‍👩‍👧‍👦🇫🇷"), 2u); // a family and a flag
    EXPECT_EQ(text::characterCount("日本語"), 3u);

    EXPECT_EQ(text::prefix("👩‍👩‍👧‍👦🇫🇷x", 1), "👩‍👩‍👧‍👦");
    EXPECT_EQ(text::prefix("héllo", 2), "hé");
    EXPECT_EQ(text::prefix("ab", 5), "ab");
    EXPECT_EQ(text::prefix("ab", 0), "");
    EXPECT_EQ(text::dropPrefix("e\xCC\x81tat", 1), "tat");
    // Ill-formed bytes still count and cut somewhere inside the text.
    std::string broken = "a\xFF\xFE"
                         "b";
    EXPECT_LE(text::prefix(broken, 2).size(), broken.size());
    EXPECT_GE(text::characterCount(broken), 3u);
}

TEST(Text, trimmingAndCase) {
    EXPECT_EQ(text::trimmed("  \t\n x y \r\n"), "x y");
    EXPECT_EQ(text::trimmed("\u00A0\u2003x\u3000"), "x"); // no-break, em and ideographic spaces
    EXPECT_EQ(text::trimmed("   "), "");
    EXPECT_EQ(text::trimmed(""), "");
    EXPECT_EQ(text::trimmed("é"), "é");
    EXPECT_EQ(text::lowercased("ÉCOLE Straße"), "école straße");
    EXPECT_EQ(text::lowercased("ABC"), "abc");
    EXPECT_EQ(text::asciiLowercased("ÀB"), "Àb");
}

TEST(Text, utf8RepairAndSplitting) {
    EXPECT_TRUE(text::isValidUtf8("ça va"));
    EXPECT_FALSE(text::isValidUtf8("\xC3"));
    EXPECT_EQ(text::validUtf8("a\xC3"
                              "b"),
              "a\uFFFD"
              "b");
    EXPECT_EQ(text::validUtf8("\xED\xA0\x80"), "\uFFFD\uFFFD\uFFFD"); // an encoded surrogate
    EXPECT_EQ(text::split("a..b", '.'), (std::vector<std::string_view>{"a", "", "b"}));
    EXPECT_EQ(text::split("/a//b/", '/', false), (std::vector<std::string_view>{"a", "b"}));
    EXPECT_EQ(text::split("", '.'), (std::vector<std::string_view>{""}));
}

TEST(Json, stringsEscapeLikeTheDocumentedForms) {
    EXPECT_EQ(json::quoted("a/b\"c\\d\n\t\x01"), R"("a\/b\"c\\d\n\t\u0001")");
    EXPECT_EQ(json::quoted("é ✓"), "\"é ✓\"");
    EXPECT_EQ(json::quoted("bad\xFF"), "\"bad\uFFFD\"");
}

} // namespace
} // namespace nimb
