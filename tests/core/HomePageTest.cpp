#include "pages/HomePage.h"

#include "Anchors.h"
#include "PageSafety.h"
#include "pages/PageFrame.h"
#include "vocabulary/Language.h"

#include <gtest/gtest.h>

namespace nimb {
namespace {

Visit visit(std::string address, std::string title, double last, std::int64_t count = 1) {
    return Visit::make(std::move(address), std::move(title), Date{last}, count);
}

// The column whose heading is `heading`, from its <h2> to its </ul>.
std::string column(const std::string& page, std::string_view heading) {
    std::size_t start = page.find("<h2>" + std::string(heading) + "</h2>");
    return start == std::string::npos ? "" : page.substr(start, page.find("</ul>", start) - start);
}

class HomePageTest : public test::EnglishPageTest {};

TEST_F(HomePageTest, emptyHistoryShowsBothInvitationsAndTheFiveEngines) {
    const std::string page = HomePage::html({});
    EXPECT_TRUE(page.starts_with(PageFrame::document("The NIMB 2000", PageStyles::home, "")));
    test::expectInOrder(
        page, {"<body>\n<h1>The NIMB 2000</h1>", "<h2>Recent</h2>",
               "<li class=\"none\">Somewhere you have been will show up here.</li>", "<h2>Frequent</h2>",
               "<li class=\"none\">Somewhere you go back to will show up here.</li>", "<h2>Search</h2>",
               "<li><a href=\"https://lite.duckduckgo.com/lite/\" "
               "title=\"https://lite.duckduckgo.com/lite/\">DuckDuckGo Lite</a></li>",
               "</ul>\n  </div>\n</div>\n</body></html>"});
    EXPECT_EQ(test::occurrences(column(page, "Search"), "<li><a href="), 5u);
}

TEST_F(HomePageTest, recentShowsTwelveSitesOnePerHost) {
    std::vector<Visit> visits{visit("http://www.site0.example/old", "", 999.5)};
    for (int i = 0; i < 13; ++i) // newest first, as stored
        visits.push_back(visit("https://site" + std::to_string(i) + ".example/page", "", 1000.0 - i));
    std::swap(visits[0], visits[1]);
    const std::string recent = column(HomePage::html(visits), "Recent");
    EXPECT_EQ(test::occurrences(recent, "<li>"), 12u);
    EXPECT_THAT(recent, Not(HasSubstr("site12.example")));
    // The http and https pages of site0 make one row, on the newest visit's scheme.
    EXPECT_THAT(recent,
                HasSubstr("    <li><a href=\"https://site0.example/\" title=\"https://site0.example/\">"
                          "site0.example</a></li>\n"));
    EXPECT_TRUE(HomePage::recent(visits, -3).empty());
}

TEST_F(HomePageTest, frequentLeavesOutSingleVisitsAndOrdersByCountThenRecency) {
    const std::vector<Visit> visits{
        visit("https://once.example/", "Once", 900, 1), visit("https://a.example/", "A", 100, 3),
        visit("https://b.example/", "B", 300, 3),       visit("https://c.example/", "C", 800, 2),
        visit("https://d.example/", "D", 300, 3), // a full tie with B keeps stored order
        visit("https://e.example/", "E", 50, 7),
    };
    std::string titles;
    for (const Visit& v : HomePage::frequent(visits, HomePage::column))
        titles += v.title;
    EXPECT_EQ(titles, "EBDAC");
    EXPECT_EQ(HomePage::frequent(visits, 2).size(), 2u);
    EXPECT_THAT(column(HomePage::html(visits), "Frequent"), Not(HasSubstr("Once")));
}

TEST_F(HomePageTest, onlyWebAndFileAddressesAreLinkedAndRecordsAreText) {
    const std::vector<Visit> visits{
        visit("gopher://hole.example/1", "The hole", 500, 9),
        visit("file:///home/me/a.html", "", 400, 8),
        visit(std::string(test::hostileWebAddress), std::string(test::hostileText), 300, 2),
        visit(std::string(test::hostileScriptAddress), std::string(test::hostileText), 200, 5),
    };
    const std::string page = HomePage::html(visits);
    const std::string frequent = column(page, "Frequent");
    EXPECT_THAT(frequent, HasSubstr("\n    <li>The hole</li>\n"));
    EXPECT_THAT(frequent, HasSubstr("<li><a href=\"file:///home/me/a.html\" title=\"file:///home/me/a.html\">"
                                    "file:///home/me/a.html</a></li>"));
    const std::string escaped = BookmarksPage::escape(test::hostileWebAddress);
    EXPECT_THAT(page, HasSubstr("<a href=\"" + escaped + "\" title=\"" + escaped + "\">"));
    EXPECT_THAT(page, HasSubstr("<li>" + BookmarksPage::escape(test::hostileText) + "</li>"));
    test::expectNoActiveMarkup(page);
}

} // namespace
} // namespace nimb
