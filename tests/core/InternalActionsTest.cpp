// Which navigations may carry the browser's internal actions, and what they carry.

#include "page/InternalActions.h"

#include <gtest/gtest.h>

namespace nimb {
namespace {

using InternalActions::Action;
using InternalActions::Source;

TEST(InternalActionsTest, parsersAreAskedInTheBrowsersOrder) {
    using View = NimbReportPage::View;
    const std::pair<std::string, std::optional<Action>> cases[] = {
        {"nimb://remove?a=https%3A%2F%2Fa.example%2F", Action{BookmarkAction::remove("https://a.example/")}},
        {"nimb://forget?a=https%3A%2F%2Fa.example%2F", Action{HistoryAction::forget("https://a.example/")}},
        {"nimb://forget-all", Action{HistoryAction::forgetAll()}},
        {"nimb://report-keep", Action{ReportAction::keep()}},
        {"nimb://report?v=dossier&q=ad", Action{ReportAction::show(View::dossier, "ad", std::nullopt)}},
        // Ordinary addresses, and nimb addresses that ask for nothing, carry no action.
        {"https://news.example/", std::nullopt},
        {"nimb://unknown", std::nullopt},
        {"nimb:forget-all", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [address, expected] : cases)
        EXPECT_EQ(InternalActions::parse(address), expected) << address;
}

TEST(InternalActionsTest, onlyTheBrowsersOwnDocumentsMayAct) {
    struct Case {
        const char* name;
        Source source;
        bool permitted;
    };
    using Kind = Source::Kind;
    const Case cases[] = {
        {"a tab showing a generated page", {Kind::tab, true, true, "about:blank"}, true},
        {"a tab showing a web page", {Kind::tab, false, false, "http://evil.example/"}, false},
        {"a web page whose tab is about to show a generated page (the old document still runs)",
         {Kind::tab, true, false, "about:blank"},
         false},
        {"the same before the engine reports the new address",
         {Kind::tab, true, false, "http://evil.example/"},
         false},
        {"a generated document whose tab has since been sent to the web",
         {Kind::tab, false, true, "about:blank"},
         false},
        {"a generated document while a web page is starting to load",
         {Kind::tab, true, true, "http://x.example/"},
         false},
        {"a web page at about:blank", {Kind::tab, false, false, "about:blank"}, false},
        {"the report popover", {Kind::panel, false, true, "about:blank"}, true},
        {"a panel that went to the web", {Kind::panel, false, false, "http://evil.example/"}, false},
        {"a view no window knows", {Kind::other, true, true, "about:blank"}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(InternalActions::permitted(c.source), c.permitted) << c.name;
}

} // namespace
} // namespace nimb
