#include "pages/PageFrame.h"
#include "PageSafety.h"

#include <gtest/gtest.h>

namespace nimb {
namespace {

TEST(PageFrame, escapeReplacesExactlyTheFiveCharacters) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"", ""},
        {"plain (words) / = ; \u00e9 \u65e5\u672c", "plain (words) / = ; \u00e9 \u65e5\u672c"},
        {"&<>\"'", "&amp;&lt;&gt;&quot;&#39;"},
        {"&amp;", "&amp;amp;"},
        {"<a href=\"x\">'y'</a>", "&lt;a href=&quot;x&quot;&gt;&#39;y&#39;&lt;/a&gt;"},
    };
    for (auto [text, escaped] : cases) {
        EXPECT_EQ(BookmarksPage::escape(text), escaped) << text;
        std::string appended = "kept:";
        BookmarksPage::appendEscaped(appended, text);
        EXPECT_EQ(appended, "kept:" + std::string(escaped));
    }
}

TEST(PageFrame, everyPageOpensWithTheSharedHeadAndThePalette) {
    const std::string prologue = PageFrame::prologue("Tom & <Jerry> \"live\"");
    EXPECT_TRUE(prologue.starts_with("<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Tom &amp; "
                                     "&lt;Jerry&gt; &quot;live&quot;</title>\n<style>\n"));
    EXPECT_THAT(prologue, HasSubstr("  :root { color-scheme: dark; }\n"));
    EXPECT_THAT(prologue, HasSubstr("src:url(nimb-asset:/FiraSans-Medium.ttf) format(\"truetype\"); }\n"));
    EXPECT_TRUE(
        prologue.ends_with("\n  body { background:#000000; color:#e9e9eb; font-family:\"Fira Sans\", "
                           "\"Inter\", \"IBM Plex Sans\", \"Source Sans 3\", system-ui, -apple-system, "
                           "\"Segoe UI\", sans-serif"));
    // Then the body rule closes, the palette is declared once, and the page's own rules end the sheet.
    const std::string rules = ".x { color:var(--secondary); }";
    const std::string page = PageFrame::document("T", rules, "<p>x</p>");
    EXPECT_TRUE(page.starts_with(PageFrame::prologue("T") + " }\n"));
    EXPECT_TRUE(page.ends_with("\n" + rules + "\n</style></head><body><p>x</p>"));
    for (std::string_view declared : {"--background:#000000;", "--text:#e9e9eb;", "--secondary:#8e8e93;",
                                      "--separator:#3a3a3c;", "--raised:#1f1f21;", "--sunken:#121214;",
                                      "--placeholder:#5a5a5f;", "--link:#7aa2ff;", "--visited:#b79ce8;"})
        EXPECT_EQ(test::occurrences(page, declared), 1u) << declared;
}

TEST(PageFrame, whichAddressesPagesLink) {
    struct Case {
        std::string_view address;
        bool navigable;
        bool web;
    };
    const Case cases[] = {
        {"https://example.org/", true, true},
        {"HTTP://EXAMPLE.ORG/a?b=c", true, true},
        {"FILE:///home/me/a.html", true, false},
        {"ftp://example.org/", false, false},
        {"JavaScript:alert(1)", false, false},
        {"data:text/html,<script>x</script>", false, false},
        {"about:home", false, false},
        {"nimb://forget-all", false, false},
        {"example.org/page", false, false},
        {"", false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PageFrame::isNavigable(c.address), c.navigable) << c.address;
        EXPECT_EQ(PageFrame::isWeb(c.address), c.web) << c.address;
    }
}

} // namespace
} // namespace nimb
