#include "pages/BookmarksPage.h"

#include "Anchors.h"
#include "PageSafety.h"
#include "vocabulary/Language.h"

#include <gtest/gtest.h>

namespace nimb {
namespace {

constexpr std::string_view rome = "Europe/Rome";
constexpr Date now{1710370860}; // Thursday 14 March 2024, 00:01 in Rome

Note note(std::string id, std::string address) {
    return Note::make(std::move(id), std::move(address), std::nullopt, "text", Date{1710000000});
}

// The row of the bookmark whose hidden field holds `escapedAddress`.
std::string rowOf(const std::string& page, std::string_view escapedAddress) {
    std::size_t field = page.find("name=\"a\" value=\"" + std::string(escapedAddress) + "\"");
    if (field == std::string::npos) return {};
    std::size_t start = page.rfind("<li>", field);
    return page.substr(start, page.find("</li>", field) + 5 - start);
}

class BookmarksPageTest : public test::EnglishPageTest {};

TEST_F(BookmarksPageTest, shortenedDropsTheSecureSchemeWwwAndOneSlash) {
    const std::tuple<std::string, std::int64_t, std::string> cases[] = {
        {"HTTPS://WWW.Example.org/a/", 78, "Example.org/a"},
        {"http://www.example.org/", 78, "http://www.example.org"}, // only https is dropped
        {"https://example.org//", 78, "example.org/"},
        {"https://" + std::string(78, 'x'), 78, std::string(78, 'x')},
        {"https://example.org/" + std::string(67, 'a'), 78, "example.org/" + std::string(65, 'a') + "\u2026"},
        {"https://e\u0301e\u0301e\u0301\U0001F600", 3, "e\u0301e\u0301\u2026"}, // characters, not bytes
    };
    for (const auto& [address, max, expected] : cases)
        EXPECT_EQ(BookmarksPage::shortened(address, max), expected);
}

TEST_F(BookmarksPageTest, rowsCountWrappedLinesBetweenTwoAndFourteen) {
    const std::pair<std::string, std::int64_t> cases[] = {
        {"", 2},
        {"one\ntwo\nthree", 3},
        {"one\n\n\nfour", 4},
        {std::string(66, 'x'), 2},
        {std::string(133, 'x') + "\n", 4},
        {std::string(5000, 'x'), 14},
        {"\u00e9" + std::string(65, 'x') + "\ny", 2}, // 66 characters in 67 bytes
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(BookmarksPage::rows(text, 66), expected) << text;
}

TEST_F(BookmarksPageTest, emptyListShowsTheShortcutsAndNothingFiled) {
    const std::string page = BookmarksPage::html({}, {}, {}, now, rome);
    EXPECT_TRUE(page.starts_with(PageFrame::document("Bookmarks", PageStyles::bookmarks, "")));
    std::string keysLine;
    for (Shortcut s : allCases<Shortcut>) {
        keysLine += (keysLine.empty() ? "" : "\n    ") + std::string("<a href=\"nimb://press?k=") +
                    std::string(rawValue(s)) + "\"><kbd>" + std::string(keys(s)) + "</kbd>" + name(s) +
                    "</a>";
    }
    test::expectInOrder(page, {"<h1>Bookmarks</h1>", "<p class=\"keys\">" + keysLine + "</p>",
                               "<li class=\"none\">Nothing filed yet.</li>"});
}

TEST_F(BookmarksPageTest, aRowHoldsTheFormFactsAndButtonsInOrder) {
    const std::string address = "https://www.example.org/a?x=1&y=2";
    const std::string escaped = "https://www.example.org/a?x=1&amp;y=2";
    const std::vector<Visit> visits{Visit::make(address, "", Date{1710370740}, 3),
                                    Visit::make(address, "", Date{1}, 8)}; // only the first counts
    const std::string page = BookmarksPage::html(
        {{"Example", address, true, "one\ntwo\nthree"}}, visits,
        {note("A", address), note("B", "https://x.example/"), note("C", address)}, now, rome);
    auto button = [&](const BookmarkAction& action, std::string_view label) {
        return BookmarksPage::escape(action.href()) + "\">" + std::string(label) + "</a>";
    };
    const std::string pencil(BookmarksPage::pencil);
    test::expectInOrder(
        rowOf(page, escaped),
        {"<form method=\"get\" action=\"nimb://edit\" autocomplete=\"off\">",
         "<input class=\"name\" type=\"text\" name=\"n\" spellcheck=\"false\" value=\"Example\" "
         "placeholder=\"What you call this\">" +
             pencil,
         "<a class=\"addr\" href=\"" + escaped + "\">example.org/a?x=1&amp;y=2</a>",
         "<textarea class=\"say\" name=\"s\" rows=\"3\" placeholder=\"What it is, and why you kept it\">"
         "one\ntwo\nthree</textarea>" +
             pencil,
         "<span class=\"facts\">3 visits \u00b7 Yesterday 23:59</span>", "type=\"submit\">Save</button>",
         "type=\"reset\">Revert</button>", button(BookmarkAction::marginalia(address), "2 in the margin"),
         button(BookmarkAction::removeFromToolbar(address), "Remove from Toolbar"),
         button(BookmarkAction::remove(address), "Remove"), "</form></li>"});
}

TEST_F(BookmarksPageTest, rowsFollowEachBookmarksStateAndAddress) {
    const std::vector<Bookmark> bookmarks{
        {"Off", "https://off.example/", false, ""},
        {"File", "file:///home/me/x.html", true, ""},
        {"Blank first line", "https://blank.example/", true, "\nsecond"},
    };
    const std::string page = BookmarksPage::html(bookmarks, {}, {}, now, rome);
    const std::string off = rowOf(page, "https://off.example/");
    EXPECT_THAT(off, HasSubstr("<span class=\"facts\">Not opened since you filed it</span>"));
    EXPECT_THAT(off, HasSubstr(">Nothing in the margin</a><a class=\"btn\" href=\"" +
                               BookmarkAction::addToToolbar("https://off.example/").href() +
                               "\">Add to Toolbar</a>"));
    // Not on the web: the address is text.
    EXPECT_THAT(rowOf(page, "file:///home/me/x.html"),
                HasSubstr("<span class=\"addr\">file:///home/me/x.html</span>"));
    // The parser drops the line break right after <textarea>, so the summary's own is kept behind one.
    EXPECT_THAT(rowOf(page, "https://blank.example/"), HasSubstr("kept it\">\n\nsecond</textarea>"));
}

TEST_F(BookmarksPageTest, actionsParseBackAndRecordsAreText) {
    const std::string hostile(test::hostileText);
    const std::vector<Bookmark> bookmarks{
        {hostile, std::string(test::hostileWebAddress), true, hostile + "\n</textarea><script>x</script>"},
        {hostile, std::string(test::hostileScriptAddress), false, hostile},
    };
    const std::vector<Visit> visits{Visit::make(std::string(test::hostileWebAddress), hostile, Date{1}, 2)};
    const std::string page = BookmarksPage::html(
        bookmarks, visits, {note(hostile, std::string(test::hostileScriptAddress))}, now, rome);
    test::expectNoActiveMarkup(page);
    EXPECT_EQ(test::occurrences(page, "</textarea>"), 2u);
    EXPECT_THAT(page, HasSubstr("<span class=\"addr\">" + BookmarksPage::escape(test::hostileScriptAddress) +
                                "</span>"));
    std::vector<std::string> addresses;
    for (const std::string& href : test::hrefs(page, "nimb://")) {
        auto action = BookmarkAction::fromUrl(*Url::parse(href));
        ASSERT_TRUE(action) << href;
        if (action->kind != BookmarkAction::Kind::press) addresses.push_back(action->address);
    }
    std::vector<std::string> expected(3, bookmarks[0].address);
    expected.resize(6, bookmarks[1].address);
    EXPECT_EQ(addresses, expected);
}

} // namespace
} // namespace nimb
