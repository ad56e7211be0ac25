#include "base/Url.h"
#include "base/PercentEncoding.h"

#include <gtest/gtest.h>

namespace nimb {
namespace {

TEST(Url, parsesForgivingly) {
    for (const auto& [text, parsed] :
         std::initializer_list<std::pair<const char*, std::optional<std::string>>>{
             {"https://example.org/a?b=c#d", "https://example.org/a?b=c#d"},
             {"https://example.org/a b", "https://example.org/a%20b"},
             {"https://example.org/é", "https://example.org/%C3%A9"},
             {"https://example.org/100%", "https://example.org/100%25"},
             {"https://example.org/#a#b", "https://example.org/#a%23b"},
             {"https://example.org/[x]", "https://example.org/%5Bx%5D"},
             {"http://[::1]:8080/", "http://[::1]:8080/"},
             {"localhost:8080", "localhost:8080"},
             {"about:home", "about:home"},
             {"", std::nullopt},
             {"http://[::1", std::nullopt},
             {"https://exa mple.org:80x/", std::nullopt},
             {"http://a@b@c/", std::nullopt},
             {"https://a:b:c/", std::nullopt},
         }) {
        auto url = Url::parse(text);
        EXPECT_EQ(url ? std::optional(url->string()) : std::nullopt, parsed) << text;
    }
    auto url = Url::parse("HTTPS://Example.org:8443/p?q=1");
    ASSERT_TRUE(url);
    EXPECT_EQ(url->view().scheme(), "HTTPS");
    EXPECT_EQ(url->view().host(), "Example.org");
    EXPECT_EQ(url->view().port(), "8443");
    EXPECT_FALSE(Url::parse("no scheme here")->view().has_scheme());
}

TEST(Url, queryItemsAsWritten) {
    using Item = Url::QueryItem;
    EXPECT_EQ(
        Url::parse("http://x/?a=1&b&=c&&d=%20")->queryItems(),
        (std::vector<Item>{{"a", "1"}, {"b", std::nullopt}, {"", "c"}, {"", std::nullopt}, {"d", "%20"}}));
    EXPECT_EQ(Url::parse("http://x/?a=b=c#f")->queryItems(), (std::vector<Item>{{"a", "b=c"}}));
    EXPECT_EQ(Url::parse("http://x/?")->queryItems(), (std::vector<Item>{{"", std::nullopt}}));
    EXPECT_EQ(Url::parse("http://x/?#f")->queryItems(), (std::vector<Item>{{"", std::nullopt}}));
    EXPECT_TRUE(Url::parse("http://x/#?a=b")->queryItems().empty());
    EXPECT_TRUE(Url::parse("http://x/")->queryItems().empty());
}

TEST(PercentEncoding, decodes) {
    EXPECT_EQ(percentDecoded("a%20b%2Fc%e2%82%ac+"), "a b/c€+");
    EXPECT_EQ(percentDecoded("100%"), std::nullopt);
    EXPECT_EQ(percentDecoded("%4"), std::nullopt);
    EXPECT_EQ(percentDecoded("%zz"), std::nullopt);
    EXPECT_EQ(percentDecoded(""), "");
}

TEST(PercentEncoding, keepsOnlyLettersMarksAndDigits) {
    EXPECT_EQ(percentEncodeAlphanumerics("a b&c"), "a%20b%26c");
    EXPECT_EQ(percentEncodeAlphanumerics("日本語 テスト"), "日本語%20テスト");
    EXPECT_EQ(percentEncodeAlphanumerics("e\xCC\x81"), "e\xCC\x81"); // a mark stays
    EXPECT_EQ(percentEncodeAlphanumerics("٣"), "٣");                 // an Arabic-Indic digit
    EXPECT_EQ(percentEncodeAlphanumerics("-._~/?#"), "%2D%2E%5F%7E%2F%3F%23");
    EXPECT_EQ(percentEncodeAlphanumerics("€✓"), "%E2%82%AC%E2%9C%93");
    EXPECT_EQ(percentEncodeAlphanumerics("\xFF"
                                         "a"),
              "%FFa");
}

} // namespace
} // namespace nimb
