#include "pages/MarginaliaPage.h"

#include "PageSafety.h"
#include "pages/BookmarksPage.h"
#include "pages/PageFrame.h"
#include "vocabulary/Language.h"

#include <gtest/gtest.h>

namespace nimb {
namespace {

constexpr std::string_view rome = "Europe/Rome";
constexpr Date now{1710370860}; // Thursday 14 March 2024, 00:01 in Rome

Note note(std::string id, std::string address, std::optional<std::string> source, std::string text) {
    return Note::make(std::move(id), std::move(address), std::move(source), std::move(text),
                      Date{1710370740});
}

std::string body(const std::string& page) {
    std::size_t start = page.find("<body>") + 6;
    return page.substr(start, page.rfind("</body>") - start);
}

class MarginaliaPageTest : public test::EnglishPageTest {};

TEST_F(MarginaliaPageTest, emptyMarginsSayWhatTheyCan) {
    const std::string everywhere = MarginaliaPage::html({}, std::nullopt, now, rome);
    EXPECT_TRUE(everywhere.starts_with(PageFrame::document("Marginalia", PageStyles::marginalia, "")));
    EXPECT_EQ(body(everywhere), "<p class=\"none\">Nothing in any margin yet.</p>");
    EXPECT_EQ(body(MarginaliaPage::html({}, std::string("https://example.org/"), now, rome)), "");
    // A page with no notes anywhere still shows its own shelf, with the invitation.
    const std::string here = "https://example.org/";
    EXPECT_EQ(body(MarginaliaPage::html(Marginalia::shelves({}, {{"Example", here, true, ""}}, here), here,
                                        now, rome)),
              "<section><h2><a href=\"https://example.org/\">Example</a></h2><p class=\"invite\">"
              "Select something on this page, right-click it, and choose Add to Marginalia.</p></section>");
}

TEST_F(MarginaliaPageTest, notesAreWrittenExactly) {
    const std::string home = "https://www.example.org/";
    const std::string deep = "https://www.example.org/2024/03/a-rather-long-article-name?page=2&x=y";
    const std::vector<Shelf> shelves{
        {"Example",
         home,
         {note("ID-1", home, std::nullopt, "first\nsecond"), note("ID-2", home, deep, "deep"),
          note("ID-3", home, "about:blank", "nowhere")}}};
    auto stamp = [&](const std::string& id) {
        return "<a class=\"x\" href=\"" + BookmarksPage::escape(BookmarkAction::forgetNote(home, id).href()) +
               "\" title=\"Forget\">\u00d7</a></div></li>";
    };
    const std::string when = "<div class=\"stamp\"><span>Yesterday 23:59</span>";
    EXPECT_EQ(body(MarginaliaPage::html(shelves, std::nullopt, now, rome)),
              "<section><h2><a href=\"https://www.example.org/\">Example</a></h2><ol>\n"
              "<li><p class=\"said\">first\nsecond</p>" +
                  when + stamp("ID-1") + "\n<li><p class=\"said\">deep</p>" + when +
                  "<a class=\"from\" href=\"" + BookmarksPage::escape(deep) +
                  "\">example.org/2024/03/a-rather-long\u2026</a>" + stamp("ID-2") +
                  "\n<li><p class=\"said\">nowhere</p>" + when + stamp("ID-3") + "\n</ol></section>");
}

TEST_F(MarginaliaPageTest, otherShelvesOfTheSiteComeAfterOneDivider) {
    const std::string here = "https://example.org/";
    const std::string longAddress = "https://example.org/" + std::string(60, 'z');
    const std::vector<Shelf> shelves{
        {"Front", here, {}},
        {longAddress, longAddress, {note("A", longAddress, std::nullopt, "a")}}, // named by its own address
        {"", "gopher://example.org/b", {note("B", "gopher://example.org/b", std::nullopt, "b")}},
    };
    const std::string text = body(MarginaliaPage::html(shelves, here, now, rome));
    const std::string divider = "<p class=\"divide\">Elsewhere on this site</p>\n";
    EXPECT_EQ(test::occurrences(text, divider), 1u);
    EXPECT_LT(text.find("<p class=\"invite\">"), text.find(divider));
    EXPECT_THAT(text, HasSubstr(divider + "<section><h2><a href=\"" + longAddress + "\">example.org/" +
                                std::string(33, 'z') + "\u2026</a></h2>"));
    EXPECT_THAT(text, HasSubstr("<section><h2>gopher://example.org/b</h2>")); // not linked
    EXPECT_EQ(test::occurrences(MarginaliaPage::html(shelves, std::nullopt, now, rome), "divide\">"), 0u);
}

TEST_F(MarginaliaPageTest, recordsAreText) {
    const std::string hostile(test::hostileText);
    const std::string web(test::hostileWebAddress);
    const std::string script(test::hostileScriptAddress);
    const std::vector<Shelf> shelves{
        {hostile, web, {note(hostile, web, script, hostile), note("2", web, web + "/deeper", hostile)}},
        {hostile, script, {note(hostile, script, web, hostile)}},
    };
    for (const auto& here : {std::optional<std::string>(web), std::optional<std::string>()}) {
        const std::string page = MarginaliaPage::html(shelves, here, now, rome);
        test::expectNoActiveMarkup(page);
        EXPECT_EQ(test::occurrences(page, "<p class=\"said\">" + BookmarksPage::escape(hostile) + "</p>"),
                  3u);
        EXPECT_THAT(page, HasSubstr("<h2>" + BookmarksPage::escape(hostile) + "</h2>"));
    }
}

} // namespace
} // namespace nimb
