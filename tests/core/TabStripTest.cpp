#include "layout/TabStrip.h"

#include "vocabulary/Language.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <ostream>

namespace nimb::TabStrip {

inline void PrintTo(const Range& range, std::ostream* out) {
    *out << range.lowerBound << "..<" << range.upperBound;
}

inline void PrintTo(const Band& band, std::ostream* out) {
    PrintTo(band.shown, out);
    *out << " [";
    for (double width : band.widths)
        *out << " " << width;
    *out << " ]" << (band.overflowing ? " overflowing" : "");
}

inline void PrintTo(const Rect& rect, std::ostream* out) {
    *out << "{" << rect.x << ", " << rect.y << ", " << rect.width << ", " << rect.height << "}";
}

namespace {

class TabStripLabel : public ::testing::Test {
protected:
    void SetUp() override { setCurrentLanguage(Language::english); }
    void TearDown() override { setCurrentLanguage(Language::english); }
};

TEST_F(TabStripLabel, titleThenAddress) {
    using Text = std::optional<std::string_view>;
    struct Case {
        Text title;
        Text address;
        std::string expected;
    };
    for (const auto& [title, address, expected] : std::initializer_list<Case>{
             // A title wins, trimmed of white space and line breaks.
             {"  The Page\n", "https://example.org/", "The Page"},
             // A title of nothing but spaces falls back to the host, without "www.".
             {"   \t ", "https://www.example.org/a/b?c", "example.org"},
             {std::nullopt, "  http://news.example.com:8080/x ", "news.example.com"},
             {"", "https://WWW.Example.org/", "Example.org"},
             // "www." alone is the whole name of the host, not a prefix to drop.
             {"", "http://www./", "www."},
             {"", "https://[::1]:8443/", "[::1]"},
             {"", "https://b%C3%BCcher.example/", "bücher.example"},
             // The browser's own pages take fixed words.
             {std::nullopt, "about:home", "Home"},
             {"", " about:bookmarks ", "Bookmarks"},
             // Without a host, the address as it stands.
             {"", "about:blank", "about:blank"},
             {"", "just some words", "just some words"},
             {"", "http://a:80x/", "http://a:80x/"},
             // Nothing at all.
             {std::nullopt, std::nullopt, "Untitled"},
             {"  ", " \n ", "Untitled"},
         }) {
        EXPECT_EQ(label(title, address), expected)
            << (title ? *title : "(none)") << " / " << (address ? *address : "(none)");
    }
}

TEST_F(TabStripLabel, wordsFollowTheLanguage) {
    setCurrentLanguage(Language::spanish);
    EXPECT_EQ(label(std::nullopt, std::nullopt), words(Language::spanish).untitled());
    EXPECT_EQ(label("", "about:history"), words(Language::spanish).history());
    EXPECT_EQ(label("", "about:reports"), words(Language::spanish).savedReports());
}

TEST_F(TabStripLabel, tipAddsTheRestingAddressWhenItSaysMore) {
    EXPECT_EQ(tip("Example Domain", "https://www.example.org/page"), "Example Domain\nexample.org");
    EXPECT_EQ(tip("example.org", "https://example.org/"), "example.org");
    EXPECT_EQ(tip("Plain", "http://example.org/"), "Plain\nhttp://example.org");
    EXPECT_EQ(tip("Home", std::nullopt), "Home");
    EXPECT_EQ(tip("Untitled", "   "), "Untitled");
}

TEST(TabStripSelection, afterClosing) {
    using Index = std::optional<std::int64_t>;
    struct Case {
        std::int64_t closed, current, count;
        Index expected;
    };
    for (const auto& [closed, current, count, expected] : std::initializer_list<Case>{
             // Left of the current tab: the same page stays selected, one index lower.
             {1, 3, 5, 2},
             // The current tab: the next one takes its place, or the new last one at the end.
             {2, 2, 5, 2},
             {4, 4, 5, 3},
             {1, 1, 2, 0},
             // Right of the current tab: the index stays.
             {4, 1, 5, 1},
             // The only tab, or no tab at all: the window closes instead.
             {0, 0, 1, std::nullopt},
             {0, 0, 0, std::nullopt},
             {-1, 2, 5, std::nullopt},
             {5, 2, 5, std::nullopt},
             // A current index outside the tabs never leads past the remaining ones.
             {1, 9, 5, 3},
             {2, -3, 5, 0},
         }) {
        EXPECT_EQ(selection(closed, current, count), expected)
            << "closing " << closed << " with " << current << " of " << count;
    }
}

TEST(TabStripWidths, sharesTheRoom) {
    using List = std::vector<double>;
    EXPECT_EQ(widths(3, 100, 220, 34), (List{34, 34, 34}));
    EXPECT_EQ(widths(3, 700, 220, 34), (List{220, 220, 220}));
    EXPECT_EQ(widths(3, 200.7, 220, 34), (List{67, 67, 66}));
    EXPECT_EQ(widths(1, 150.9, 220, 34), (List{150}));
    EXPECT_EQ(widths(0, 500, 220, 34), List{});
    EXPECT_EQ(widths(3, 0, 220, 34), List{});
    EXPECT_EQ(widths(3, std::nan(""), 220, 34), List{});
}

TEST(TabStripWidths, wholePointsAddUpToTheRoom) {
    for (std::int64_t count = 1; count <= 40; ++count) {
        for (double available = 1; available < 2000; available += 13.37) {
            auto sizes = widths(count, available, 220, 34);
            ASSERT_EQ(sizes.size(), static_cast<std::size_t>(count));
            double each = available / static_cast<double>(count);
            if (each <= 34 || each >= 220) continue;
            EXPECT_EQ(std::accumulate(sizes.begin(), sizes.end(), 0.0), std::floor(available));
            auto [low, high] = std::minmax_element(sizes.begin(), sizes.end());
            EXPECT_LE(*high - *low, 1);
            EXPECT_TRUE(std::is_sorted(sizes.rbegin(), sizes.rend()));
        }
    }
}

TEST(TabStripVisible, keepsTheCurrentTabInView) {
    struct Case {
        std::int64_t count;
        double room;
        std::int64_t current;
        Range expected;
    };
    for (const auto& [count, room, current, expected] : std::initializer_list<Case>{
             // fit 5 < 10; floor((200 - 26) / 34) = 5 shown, ending at the current tab.
             {10, 200, 9, {5, 10}},
             {10, 200, 2, {0, 5}},
             // A current index past the end counts as the last tab.
             {10, 200, 42, {5, 10}},
             {10, 200, -1, {0, 5}},
             // Everything fits.
             {10, 340, 9, {0, 10}},
             // One tab is always shown, however little room there is.
             {1, 5, 0, {0, 1}},
             {5, 5, 3, {3, 4}},
             // No tabs, or no room.
             {0, 500, 0, {0, 0}},
             {5, 0, 2, {0, 0}},
         }) {
        EXPECT_EQ(visible(count, room, current, 26, 34), expected)
            << current << " of " << count << " in " << room;
    }
}

TEST(TabStripBand, stealthRow) {
    // Plenty of room is TabStripLayout.stealthRow's. Exactly room for the field at its minimum and the other
    // icons.
    EXPECT_EQ(band(3, 0, 150 + 68, 34, 420, 150, 26), (Band{{0, 3}, {150, 34, 34}, false}));
    // A point less: the caret comes in and takes its room too.
    EXPECT_EQ(band(3, 0, 150 + 67, 34, 420, 150, 26), (Band{{0, 2}, {157, 34}, true}));
    EXPECT_EQ(band(3, 2, 150 + 67, 34, 420, 150, 26), (Band{{1, 3}, {34, 157}, true}));

    // One tab never overflows, even in a room smaller than the field's minimum.
    EXPECT_EQ(band(1, 0, 100.5, 34, 420, 150, 26), (Band{{0, 1}, {100}, false}));
    // Several tabs in such a room: the field alone, narrowed, and the caret.
    EXPECT_EQ(band(4, 3, 100, 34, 420, 150, 26), (Band{{3, 4}, {74}, true}));
    EXPECT_EQ(band(4, 3, 20, 34, 420, 150, 26), (Band{{3, 4}, {0}, true}));
    // A current index outside the tabs is the nearest tab.
    EXPECT_EQ(band(4, 9, 2000, 34, 420, 150, 26).widths.back(), 420);

    EXPECT_EQ(band(0, 0, 500, 34, 420, 150, 26), Band{});
    EXPECT_EQ(band(4, 1, 0, 34, 420, 150, 26), Band{});
}

TEST(TabStripBand, thirtyTabsInANarrowWindow) {
    for (double room = 1; room < 1400; room += 3.5) {
        for (std::int64_t current : {0, 7, 15, 29}) {
            Band row = band(30, current, room, 34, 420, 150, 26);
            ASSERT_EQ(row.widths.size(), static_cast<std::size_t>(row.shown.count()));
            ASSERT_TRUE(row.shown.contains(current)) << room;
            EXPECT_EQ(row.overflowing, row.shown.count() < 30) << room;
            double field = row.widths[static_cast<std::size_t>(current - row.shown.lowerBound)];
            EXPECT_LE(field, 420);
            EXPECT_GE(field, 0);
            // The row and its caret never spill past the room.
            double total = std::accumulate(row.widths.begin(), row.widths.end(), 0.0);
            EXPECT_LE(total + (row.overflowing ? 26 : 0), std::max(room, 26.0)) << room;
        }
    }
    Band narrow = band(30, 12, 300, 34, 420, 150, 26);
    EXPECT_TRUE(narrow.overflowing);
    EXPECT_EQ(narrow.shown, (Range{9, 13}));
    EXPECT_EQ(narrow.widths, (std::vector<double>{34, 34, 34, 172}));
}

// A window 1000 points wide with its three window buttons at the left.
Layout normalStrip(std::int64_t count, std::int64_t current, double width = 1000) {
    return {.width = width, .count = count, .current = current, .leftInset = 78, .rightInset = 8};
}

// The same window in stealth, its three navigation buttons after the window buttons.
Layout stealthStrip(std::int64_t count, std::int64_t current, double width = 1000) {
    return {.width = width,
            .count = count,
            .current = current,
            .stealth = true,
            .gapAfterCurrent = 36,
            .leftInset = 78 + 90 + 8,
            .rightInset = 8};
}

TEST(TabStripLayout, normalRowWithRoomToSpare) {
    Layout strip = normalStrip(3, 1);
    EXPECT_EQ(strip.room(), 878);
    EXPECT_EQ(strip.shown(), (Range{0, 3}));
    EXPECT_EQ(strip.tabFrames(), (std::vector<Rect>{{78, 0, 220, 38}, {298, 0, 220, 38}, {518, 0, 220, 38}}));
    EXPECT_EQ(strip.frame(3), std::nullopt);
    EXPECT_EQ(strip.rowEnd(), 738);
    EXPECT_EQ(strip.caretFrame(), std::nullopt);
    EXPECT_EQ(strip.newFrame(), (Rect{738, 0, 30, 38}));
    EXPECT_TRUE(strip.hiddenTabs().empty());

    // Hit testing: frames are half-open, so a shared edge belongs to the right-hand tab.
    for (auto [point, index] :
         std::initializer_list<std::pair<Point, std::optional<std::int64_t>>>{{{78, 10}, 0},
                                                                              {{298, 0}, 1},
                                                                              {{737.9, 20}, 2},
                                                                              {{738, 20}, {}},
                                                                              {{77, 20}, {}},
                                                                              {{100, 38}, {}}})
        EXPECT_EQ(strip.tabIndex(point), index) << point.x << "," << point.y;

    // The gap after the current tab moves the rest of the row along.
    strip.gapAfterCurrent = 36;
    EXPECT_EQ(strip.room(), 842);
    EXPECT_EQ(strip.frame(2), (Rect{554, 0, 220, 38}));
    EXPECT_EQ(strip.tabIndex({530, 20}), std::nullopt);
    strip.current = 2;
    EXPECT_EQ(strip.rowEnd(), 738 + 36);
}

TEST(TabStripLayout, normalRowThatOverflows) {
    Layout strip = normalStrip(40, 39);
    // fit = floor(878 / 34) = 25 < 40; floor((878 - 26) / 34) = 25 shown, sharing 852 points.
    EXPECT_EQ(strip.shown(), (Range{15, 40}));
    auto frames = strip.tabFrames();
    ASSERT_EQ(frames.size(), 25u);
    EXPECT_EQ(frames[0], (Rect{78, 0, 35, 38}));
    EXPECT_EQ(frames[2], (Rect{148, 0, 34, 38}));
    EXPECT_EQ(frames.back().maxX(), 78 + 852);
    EXPECT_EQ(strip.rowEnd(), 930);
    EXPECT_EQ(strip.caretFrame(), (Rect{930, 0, 26, 38}));
    EXPECT_EQ(strip.newFrame(), (Rect{956, 0, 30, 38}));
    std::vector<std::int64_t> hidden(15);
    std::iota(hidden.begin(), hidden.end(), 0);
    EXPECT_EQ(strip.hiddenTabs(), hidden);
    EXPECT_EQ(strip.tabIndex({935, 20}), std::nullopt);

    strip.current = 0;
    EXPECT_EQ(strip.shown(), (Range{0, 25}));
    EXPECT_EQ(strip.hiddenTabs().front(), 25);
}

TEST(TabStripLayout, normalRowInTooLittleRoom) {
    // 20 points of room: less than the caret. The current tab still stands, at the minimum width.
    Layout strip = normalStrip(3, 2, 78 + 8 + 36 + 20);
    EXPECT_EQ(strip.room(), 20);
    EXPECT_EQ(strip.shown(), (Range{2, 3}));
    EXPECT_EQ(strip.tabFrames(), (std::vector<Rect>{{78, 0, 34, 38}}));
    EXPECT_EQ(strip.hiddenTabs(), (std::vector<std::int64_t>{0, 1}));
    EXPECT_EQ(strip.caretFrame(), (Rect{112, 0, 26, 38}));

    // No room at all: everything is hidden, and the new-tab box stays inside the strip.
    Layout none = normalStrip(3, 0, 100);
    EXPECT_EQ(none.room(), 0);
    EXPECT_TRUE(none.tabFrames().empty());
    EXPECT_EQ(none.rowEnd(), 78);
    EXPECT_EQ(none.caretFrame(), (Rect{78, 0, 26, 38}));
    EXPECT_EQ(none.newFrame(), (Rect{58, 0, 30, 38}));

    Layout empty = normalStrip(0, 0);
    EXPECT_TRUE(empty.tabFrames().empty());
    EXPECT_EQ(empty.caretFrame(), std::nullopt);
    EXPECT_EQ(empty.newFrame(), (Rect{78, 0, 30, 38}));
}

TEST(TabStripLayout, normalRowStaysInsideItsRoom) {
    for (double width = 200; width < 1600; width += 17.3) {
        for (std::int64_t count : {1, 2, 5, 12, 30, 80}) {
            Layout strip = normalStrip(count, count / 2, width);
            auto frames = strip.tabFrames();
            ASSERT_EQ(frames.size(), static_cast<std::size_t>(strip.shown().count()));
            ASSERT_TRUE(strip.shown().contains(count / 2));
            for (const Rect& frame : frames)
                EXPECT_GE(frame.width, 34);
            double used = strip.rowEnd() - strip.leftInset + (strip.caretFrame() ? 26 : 0);
            if (strip.room() >= 34 + 26) {
                EXPECT_LE(used, strip.room()) << width << " " << count;
            }
            EXPECT_LE(strip.newFrame().maxX(), width - strip.rightInset);
            EXPECT_EQ(strip.hiddenTabs().size() + frames.size(), static_cast<std::size_t>(count));
        }
    }
}

TEST(TabStripLayout, stealthRow) {
    Layout strip = stealthStrip(5, 2);
    EXPECT_EQ(strip.room(), 1000 - 176 - 8 - 36 - 36);
    EXPECT_EQ(strip.shown(), (Range{0, 5}));
    // Icons, the current tab as a 420-point field, the 36-point gap for the stealth button, icons.
    EXPECT_EQ(
        strip.tabFrames(),
        (std::vector<Rect>{
            {176, 0, 34, 38}, {210, 0, 34, 38}, {244, 0, 420, 38}, {700, 0, 34, 38}, {734, 0, 34, 38}}));
    EXPECT_EQ(strip.rowEnd(), 768);
    EXPECT_EQ(strip.newFrame(), (Rect{768, 0, 30, 38}));
    // The field never counts as a tab under the pointer; nor does the gap.
    for (auto [x, index] : std::initializer_list<std::pair<double, std::optional<std::int64_t>>>{
             {400, {}}, {680, {}}, {180, 0}, {733, 3}})
        EXPECT_EQ(strip.tabIndex({x, 20}), index) << x;

    // The current tab last: the gap follows it at the end of the row.
    strip.current = 4;
    EXPECT_EQ(strip.rowEnd(), 176 + 4 * 34 + 420 + 36);

    // Thirty tabs in a narrow window: the caret follows the row.
    Layout narrow = stealthStrip(30, 20, 640);
    EXPECT_EQ(narrow.caretFrame()->x, narrow.rowEnd());
    EXPECT_EQ(narrow.hiddenTabs().size() + narrow.tabFrames().size(), 30u);
}

TEST(TabStripLayout, closeBoxes) {
    Layout strip = normalStrip(3, 1);
    Rect first = *strip.frame(0);
    // Only on the hovered tab, where the icon stands.
    EXPECT_TRUE(strip.hasCloseBox(0, first, 0));
    EXPECT_FALSE(strip.hasCloseBox(0, first, 1));
    EXPECT_FALSE(strip.hasCloseBox(0, first, std::nullopt));
    EXPECT_EQ(strip.closeBox(first), (Rect{90, 11, 16, 16}));
    EXPECT_EQ(strip.closeHitArea(first), (Rect{90, 11, 15, 15}));
    // Half points are taken to whole ones.
    EXPECT_EQ(strip.closeBox({10.4, 0, 100, 37}), (Rect{22, 11, 16, 16}));

    // Never on a tab narrower than the box and its margins: 12 + 16 + 4 points and a little more.
    for (double width : {0.0, 20.0, 31.0, 32.0, 32.5, 34.0})
        EXPECT_EQ(strip.hasCloseBox(0, {100, 0, width, 38}, 0), width > 32) << width;

    // In stealth: a badge 9 points left of and below the icon's centre, never on the field.
    Layout stealth = stealthStrip(5, 2);
    Rect icon = *stealth.frame(0);
    EXPECT_TRUE(stealth.hasCloseBox(0, icon, 0));
    EXPECT_FALSE(stealth.hasCloseBox(2, *stealth.frame(2), 2));
    EXPECT_EQ(stealth.closeBox(icon), (Rect{176, 20, 16, 16}));
    EXPECT_EQ(stealth.closeHitArea(icon), (Rect{176, 20, 15, 15}));
}

} // namespace
} // namespace nimb::TabStrip
