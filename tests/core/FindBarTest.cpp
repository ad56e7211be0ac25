#include "page/FindBar.h"
#include "vocabulary/Language.h"

#include <gtest/gtest.h>

#include <limits>

namespace nimb {
namespace {

TEST(FindBarQuery, trimsAndDropsBlankText) {
    EXPECT_EQ(FindBar::query("  needle \n"), "needle");
    EXPECT_EQ(FindBar::query("\u00A0caf\u00E9\u2003"), "caf\u00E9");
    EXPECT_EQ(FindBar::query("   "), std::nullopt);
    EXPECT_EQ(FindBar::query(""), std::nullopt);
}

TEST(FindBarStep, wrapsAtBothEnds) {
    struct Case {
        std::int64_t index, by, count, expected;
    };
    const Case cases[] = {
        {1, 0, 5, 1},
        {3, 1, 5, 4},
        {5, 1, 5, 1},
        {1, -1, 5, 5},
        {4, 7, 5, 1},
        {1, -11, 5, 5},
        // An index left over from a longer list lands inside this one.
        {9, 0, 5, 4},
        {0, 1, 5, 1},
        {0, 0, 5, 5},
        // Nothing to step through.
        {1, 1, 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FindBar::step(c.index, c.by, c.count), c.expected)
            << c.index << " by " << c.by << " of " << c.count;
    }
}

TEST(FindBarStep, extremeValuesStayInRange) {
    constexpr auto max = std::numeric_limits<std::int64_t>::max();
    constexpr auto min = std::numeric_limits<std::int64_t>::min();
    EXPECT_EQ(FindBar::step(max, max, max), max);
    EXPECT_EQ(FindBar::step(max - 1, 1, max), max);
    EXPECT_EQ(FindBar::step(max, 1, max), 1);
    for (std::int64_t index : {min, min + 1, std::int64_t{-1}, max}) {
        for (std::int64_t by : {min, std::int64_t{-1}, std::int64_t{1}, max}) {
            auto result = FindBar::step(index, by, 7);
            EXPECT_GE(result, 1);
            EXPECT_LE(result, 7);
        }
    }
}

TEST(FindBarTally, speaksTheCurrentLanguage) {
    setCurrentLanguage(Language::english);
    EXPECT_EQ(FindBar::tally(3, 12, true), "3 of 12");
    EXPECT_EQ(FindBar::tally(0, 0, true), "No matches");
    EXPECT_EQ(FindBar::tally(1, -1, true), "No matches");
    EXPECT_EQ(FindBar::tally(3, 12, false), "");
    setCurrentLanguage(Language::french);
    EXPECT_EQ(FindBar::tally(0, 0, true), words().noMatches());
    setCurrentLanguage(Language::english);
}

} // namespace
} // namespace nimb
