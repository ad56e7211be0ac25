#include "pages/HistoryPage.h"

#include "Anchors.h"
#include "PageSafety.h"
#include "pages/PageFrame.h"
#include "vocabulary/Language.h"

#include <gtest/gtest.h>

namespace nimb {
namespace {

constexpr std::string_view rome = "Europe/Rome";
constexpr Date afterMidnight{1710370860}; // Thursday 14 March 2024, 00:01 in Rome

Visit visit(std::string address, std::string title, double last, std::int64_t count = 1) {
    return Visit::make(std::move(address), std::move(title), Date{last}, count);
}

class HistoryPageTest : public test::EnglishPageTest {};

TEST_F(HistoryPageTest, whenNamesTheCalendarDayInTheGivenZone) {
    struct Case {
        Language language;
        double date;
        std::string_view expected;
    };
    const Case cases[] = {
        {Language::english, 1710370800, "Today 00:00"},
        {Language::english, 1710370740, "Yesterday 23:59"},
        {Language::english, 1709895600, "Friday 12:00"}, // six days before
        {Language::english, 1709848800, "7 Mar 2024"}, // seven calendar days before, though not 7 x 24 hours
        {Language::english, 1710489600, "Friday 09:00"}, // tomorrow, from a clock set back
        {Language::french, 1710370740, "Hier 23:59"},
        {Language::french, 1709848800, "7 mars 2024"},
        // A weekday starts its cell, beside "Today" and "Yesterday": capitalised in every language.
        {Language::french, 1709895600, "Vendredi 12:00"},
        {Language::spanish, 1709895600, "Viernes 12:00"},
        {Language::italian, 1709895600, "Venerdì 12:00"},
        {Language::italian, 1703487900, "25 dic 2023"},
    };
    for (const Case& c : cases) {
        setCurrentLanguage(c.language);
        EXPECT_EQ(HistoryPage::when(Date{c.date}, afterMidnight, rome), c.expected) << c.date;
    }
    setCurrentLanguage(Language::english);
    EXPECT_EQ(HistoryPage::when(Date{1710370740}, afterMidnight, "America/Los_Angeles"), "Today 15:59");
}

TEST_F(HistoryPageTest, emptyHistoryHasNoClearButtonAndKeepsTheNote) {
    const std::string page = HistoryPage::html({}, afterMidnight, rome);
    EXPECT_TRUE(page.starts_with(PageFrame::document("History", PageStyles::history, "")));
    test::expectInOrder(page, {"<h1>History</h1>", "<p class=\"sub\">Nothing recorded yet.</p>",
                               "<span class=\"acts\"></span>",
                               "<li class=\"none\">" + BookmarksPage::escape(words().nowhereYet()) + "</li>",
                               "<div class=\"note\">" + words().historyNote() + "</div>"});
}

TEST_F(HistoryPageTest, rowsNameLinkAndDateEachVisitInOrder) {
    const std::string address = "https://example.org/a?b=1&c='2'";
    const std::string escaped = "https://example.org/a?b=1&amp;c=&#39;2&#39;";
    const std::string untitled = "https://untitled.example/";
    const std::string page =
        HistoryPage::html({visit(address, "Example & Co", 1710370740, 2), visit(untitled, "", 1710370800),
                           visit("gopher://hole.example/", "Hole", 1709895600)},
                          afterMidnight, rome);
    auto forget = [](const std::string& forgotten) {
        return BookmarksPage::escape(HistoryAction::forget(forgotten).href()) + "\">Forget</a>";
    };
    test::expectInOrder(page,
                        {"<p class=\"sub\">3 pages, kept on this machine and sent nowhere.</p>",
                         "<a class=\"btn\" href=\"nimb://forget-all\">Clear History</a>",
                         "<a class=\"name\" href=\"" + escaped +
                             "\">Example &amp; Co</a><span class=\"addr\">" + escaped + "</span>",
                         "<span class=\"when\">Yesterday 23:59<br>2 visits</span>", forget(address),
                         // Untitled: the address is the name, shown once; a single visit is not counted.
                         "href=\"" + untitled + "\">" + untitled +
                             "</a></span>\n      <span class=\"when\">Today 00:00</span>",
                         forget(untitled),
                         // An address the browser does not open is text.
                         "<span class=\"who\">Hole<span class=\"addr\">gopher://hole.example/</span></span>",
                         "<span class=\"when\">Friday 12:00</span>", forget("gopher://hole.example/")});
}

TEST_F(HistoryPageTest, linksLeadBackToTheirAddressesAndRecordsAreText) {
    const std::vector<Visit> visits{
        visit("https://example.org/?q=a&b='c d'#f", "T", 100),
        visit(std::string(test::hostileWebAddress), std::string(test::hostileText), 90, 2),
        visit(std::string(test::hostileScriptAddress), "", 80),
    };
    const std::string page = HistoryPage::html(visits, afterMidnight, rome);
    test::expectNoActiveMarkup(page);
    EXPECT_EQ(test::hrefs(page, "http"), (std::vector<std::string>{visits[0].address, visits[1].address}));
    std::vector<std::string> forgotten;
    for (const std::string& href : test::hrefs(page, "nimb://forget?")) {
        auto action = HistoryAction::fromUrl(*Url::parse(href));
        ASSERT_TRUE(action);
        forgotten.push_back(action->address);
    }
    EXPECT_EQ(forgotten, (std::vector<std::string>{visits[0].address, visits[1].address, visits[2].address}));
    // The script address is shown as its own label, not linked.
    EXPECT_THAT(page, HasSubstr("<span class=\"who\">" + BookmarksPage::escape(test::hostileScriptAddress) +
                                "</span>"));
}

} // namespace
} // namespace nimb
