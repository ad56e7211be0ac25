#include "report/ReportAction.h"

#include <gtest/gtest.h>

namespace nimb {
namespace {

using NimbReportPage::View;

constexpr std::string_view id = "0F8C2A5E-1B3D-4C6E-9A7B-123456789ABC";

std::optional<ReportAction> parsed(std::string_view address) {
    auto url = Url::parse(address);
    if (!url) return std::nullopt;
    return ReportAction::fromUrl(*url);
}

// Every kind's address, which reads back as the same action, and more actions that read back from
// theirs whatever their texts hold.
TEST(ReportActionTest, everyKindHasItsAddressAndReadsBackFromIt) {
    struct Case {
        ReportAction action;
        std::optional<std::string_view> href;
    };
    const Case cases[] = {
        {ReportAction::show(View::dossier, "a b", std::nullopt), "nimb://report?v=dossier&q=a%20b"},
        {ReportAction::show(View::overview, "", std::nullopt), "nimb://report?v=overview"},
        {ReportAction::show(View::overview, "", id),
         "nimb://report?v=overview&s=0F8C2A5E%2D1B3D%2D4C6E%2D9A7B%2D123456789ABC"},
        {ReportAction::show(View::dossier, "AT&T Ünïcödé+", "x"),
         "nimb://report?v=dossier&q=AT%26T%20Ünïcödé%2B&s=x"},
        {ReportAction::forget(id), "nimb://report-forget?s=0F8C2A5E%2D1B3D%2D4C6E%2D9A7B%2D123456789ABC"},
        {ReportAction::keep(), "nimb://report-keep"},
        {ReportAction::list(), "nimb://reports"},
        {ReportAction::show(View::dossier, "a&b=c?d#e/f'g\"h<i>+%20", "s&=#"), std::nullopt},
        {ReportAction::show(View::dossier, "東京 café", id), std::nullopt},
        {ReportAction::forget("weird id&x=1"), std::nullopt},
    };
    for (const auto& [action, href] : cases) {
        if (href) {
            EXPECT_EQ(action.href(), *href);
        }
        EXPECT_EQ(parsed(action.href()), action) << action.href();
    }
    EXPECT_EQ(ReportAction::formAction, "nimb://report");
}

TEST(ReportActionTest, parsesTheAddressesOfEveryKind) {
    struct Case {
        std::string_view address;
        std::optional<ReportAction> expected;
    };
    const Case cases[] = {
        {"nimb://report?v=dossier&q=%20%20criteo%20",
         ReportAction::show(View::dossier, "criteo", std::nullopt)},
        {"NIMB://reports", ReportAction::list()},
        {"nimb://report?v=other", ReportAction::details()},
        {"nimb://report-keep", ReportAction::keep()},
        // What the search form submits: "+" for spaces, and the kept report riding along.
        {"nimb://report?v=dossier&s=ABC&q=tag+manager%0D%0A",
         ReportAction::show(View::dossier, "tag manager", "ABC")},
        {"nimb://report?v=overview&s=", ReportAction::details()},
        {"nimb://report?v=dossier&v=overview", ReportAction::details()}, // the later field wins
        {"nimb://report-forget?s=ABC", ReportAction::forget("ABC")},
        {"nimb://report-forget", std::nullopt},
        {"nimb://report-forget?s=", std::nullopt},
        {"nimb://REPORTS", std::nullopt}, // hosts are compared exactly
        {"https://reports", std::nullopt},
    };
    for (const auto& [address, expected] : cases)
        EXPECT_EQ(parsed(address), expected) << address;
}

TEST(ReportActionTest, queryIsCutToEightyCharactersNotBytes) {
    // Characters are what the user sees: a letter and its combining accent count as one.
    std::string combined;
    for (int i = 0; i < 100; ++i)
        combined += "e\u0301";
    auto action = parsed(ReportAction::show(View::dossier, combined, std::nullopt).href());
    ASSERT_TRUE(action);
    EXPECT_EQ(action->query.size(), 80u * 3);
}

} // namespace
} // namespace nimb
