// Which navigations may carry the browser's internal actions, and what they carry.

#include "page/InternalActions.h"
#include "location/LocationBar.h"
#include "page/GeneratedPage.h"

#include <gtest/gtest.h>

namespace nimb {
namespace {

using InternalActions::Action;
using InternalActions::Source;

TEST(InternalActionsTest, parsersAreAskedInTheBrowsersOrder) {
    using View = NimbReportPage::View;
    const std::pair<std::string, Action> cases[] = {
        {"nimb://remove?a=https%3A%2F%2Fa.example%2F", Action{BookmarkAction::remove("https://a.example/")}},
        {"nimb://forget?a=https%3A%2F%2Fa.example%2F", Action{HistoryAction::forget("https://a.example/")}},
        {"nimb://forget-all", Action{HistoryAction::forgetAll()}},
        {"nimb://report-keep", Action{ReportAction::keep()}},
        {"nimb://report?v=dossier&q=ad", Action{ReportAction::show(View::dossier, "ad", std::nullopt)}},
    };
    for (const auto& [address, expected] : cases)
        EXPECT_EQ(InternalActions::parse(address), expected) << address;
    // Ordinary addresses, and nimb addresses that ask for nothing, carry no action.
    for (const char* address : {"https://news.example/", "nimb://unknown", "nimb:forget-all", ""})
        EXPECT_EQ(InternalActions::parse(address), std::nullopt) << address;
}

TEST(InternalActionsTest, onlyTheBrowsersOwnDocumentsMayAct) {
    struct Case {
        const char* name;
        Source source;
        bool permitted;
    };
    using Kind = Source::Kind;
    const Case cases[] = {
        {"a tab showing a generated page", {Kind::tab, true, true, "nimb-page:history/3"}, true},
        {"a tab at about:blank, as only panels are", {Kind::tab, true, true, "about:blank"}, false},
        {"a tab showing a web page", {Kind::tab, false, false, "http://evil.example/"}, false},
        {"a web page whose tab is about to show a generated page (the old document still runs)",
         {Kind::tab, true, false, "nimb-page:bookmarks/2"},
         false},
        {"the same before the engine reports the new address",
         {Kind::tab, true, false, "http://evil.example/"},
         false},
        {"a generated document whose tab has since been sent to the web",
         {Kind::tab, false, true, "nimb-page:report/1"},
         false},
        {"a generated document while a web page is starting to load",
         {Kind::tab, true, true, "http://x.example/"},
         false},
        {"a web page at about:blank", {Kind::tab, false, false, "about:blank"}, false},
        {"the report popover", {Kind::panel, false, true, "about:blank"}, true},
        {"a panel that went to the web", {Kind::panel, false, false, "http://evil.example/"}, false},
        {"a view no window knows", {Kind::other, true, true, "nimb-page:home/1"}, false},
        {"a panel at a tab's page address", {Kind::panel, false, true, "nimb-page:home/1"}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(InternalActions::permitted(c.source), c.permitted) << c.name;
}

TEST(GeneratedPageTest, addressesNameOneOfTheBrowsersPagesAndAnEntry) {
    using GeneratedPage::Entry;
    EXPECT_EQ(GeneratedPage::address(LocationBar::aboutHistory, 3), "nimb-page:history/3");
    for (auto page : {LocationBar::aboutHome, LocationBar::aboutBookmarks, LocationBar::aboutHistory,
                      LocationBar::aboutReports, LocationBar::aboutReport})
        EXPECT_EQ(GeneratedPage::parse(GeneratedPage::address(page, 42)), (Entry{std::string(page), 42}))
            << page;
    EXPECT_EQ(GeneratedPage::parse("NIMB-PAGE:report/7"), (Entry{"about:report", 7}));
    EXPECT_EQ(GeneratedPage::parse("nimb-page:bookmarks"), (Entry{"about:bookmarks", 0}));
    for (const char* other :
         {"nimb-page:secrets/1", "nimb-page:history/", "nimb-page:history/1x", "nimb-page:history/-1",
          "nimb-page:history/99999999999999999999999", "nimb-pages:history/1", "nimb-page", "about:history",
          "http://nimb-page/history/1"})
        EXPECT_FALSE(GeneratedPage::parse(other)) << other;
}

} // namespace
} // namespace nimb
