#include "report/SavedReportsPage.h"

#include "PageSafety.h"
#include "pages/PageFrame.h"
#include "report/Dossier.h"
#include "report/DossierVocabulary.h"
#include "report/KeptReports.h"
#include "report/NimbReport.h"
#include "vocabulary/Language.h"

#include <gtest/gtest.h>

namespace nimb {
namespace {

// Thursday 1 January 2026, 12:00 UTC.
constexpr Date now{1767268800};
constexpr std::string_view utc = "UTC";

SavedReport kept(std::string id, std::string_view payload, double saved,
                 std::string address = "https://www.news.example/a", bool blockingOn = true) {
    NimbReport report = NimbReport::parse(payload, address, "A story");
    return {std::move(id), Date{saved}, std::move(address), "A story", blockingOn, report.snapshot()};
}

class SavedReportsPageTest : public test::EnglishPageTest {};

TEST_F(SavedReportsPageTest, withNothingKeptTheListSaysSo) {
    std::string page = SavedReportsPage::html({}, now, utc);
    EXPECT_TRUE(page.starts_with(PageFrame::document("Saved Reports", PageStyles::savedReports, "")));
    EXPECT_TRUE(page.ends_with(
        "</style></head><body>\n<div class=\"sheet\">\n  <h1>Saved Reports</h1>\n"
        "  <p class=\"tally\">0 reports kept</p>\n  <ol>\n"
        "    <li class=\"none\">Nothing kept yet. Every report has a Keep this report button under "
        "the reading, and what you press it on lands here.</li>\n  </ol>\n"
        "  <div class=\"note\">" +
        BookmarksPage::escape(words().savedReportsNote()) + "</div>\n</div>\n</body></html>"));
    std::vector<SavedReport> one = {kept("K1", "{}", now.seconds)};
    EXPECT_THAT(SavedReportsPage::html(one, now, utc), HasSubstr("<p class=\"tally\">1 report kept</p>"));
}

TEST_F(SavedReportsPageTest, aRowIsTheScoreTheSiteAndItsHeadline) {
    SavedReport report =
        kept("K1", R"({"network":{"other":["cdn.unknown-tracker.io"]}})", now.seconds - 3600);
    Dossier::Reach reach = KeptReports::reach(report);
    ASSERT_EQ(reach.score(), 24);
    EXPECT_EQ(
        SavedReportsPage::row(report, now, utc),
        "    <li>\n      <a class=\"row\" href=\"nimb://report?v=overview&amp;s=K1\">\n"
        "        <span class=\"num\" style=\"color:" +
            Dossier::colour(reach.heat()) +
            "\">24</span>\n        <span class=\"who\">\n"
            "          <span class=\"site\">news.example</span>\n"
            "          <span class=\"said\">1 company saw this visit.</span>\n"
            "        </span>\n      </a>\n      <span class=\"when\">Today 11:00</span>\n"
            "      <span class=\"acts\"><a class=\"btn gone\" href=\"nimb://report-forget?s=K1\">Forget</a>"
            "</span>\n    </li>");
}

TEST_F(SavedReportsPageTest, everyKeptReportIsListedInOrderAndScoredAfresh) {
    const std::string_view payload =
        R"({"network":{"blocked":{"criteo.com":3},"other":["scorecardresearch.com"]}})";
    std::vector<SavedReport> reports = {
        kept("NEW", payload, now.seconds - 60),
        kept("OLD", payload, now.seconds - 86400 * 3), // the same page kept twice
        kept("OFF", payload, now.seconds - 86400 * 30, "https://www.news.example/a", false),
        {"BROKEN", Date{now.seconds - 86400 * 400}, "", "", true, "not a snapshot"},
    };
    std::string page = SavedReportsPage::html(reports, now, utc);
    EXPECT_THAT(page, HasSubstr("<p class=\"tally\">4 reports kept</p>"));
    std::size_t last = 0;
    for (const SavedReport& report : reports) {
        std::string row = SavedReportsPage::row(report, now, utc);
        std::size_t at = page.find(row);
        ASSERT_NE(at, std::string::npos) << report.id;
        EXPECT_GE(at, last);
        last = at;
    }
    // A broken one reads as empty.
    std::string broken = SavedReportsPage::row(reports[3], now, utc);
    EXPECT_THAT(broken, HasSubstr("\">0</span>"));
    EXPECT_THAT(broken, HasSubstr("<span class=\"site\">No page</span>"));
    EXPECT_THAT(broken, HasSubstr("<span class=\"said\">Nothing here followed you.</span>"));
    EXPECT_THAT(broken, HasSubstr("<span class=\"when\">27 Nov 2024</span>"));
}

TEST_F(SavedReportsPageTest, nothingKeptComesThroughAsMarkup) {
    std::string page = SavedReportsPage::html(samples::hostileSavedReports(), now, utc);
    test::expectNoActiveMarkup(page, test::Links::internalOnly);
    EXPECT_THAT(page, HasSubstr("<span class=\"site\">" + BookmarksPage::escape(test::hostileScriptAddress) +
                                "</span>"));
}

} // namespace
} // namespace nimb
