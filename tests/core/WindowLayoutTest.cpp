#include "layout/WindowLayout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>

namespace nimb::TabStrip {
inline void PrintTo(const Rect& rect, std::ostream* out) {
    *out << "{" << rect.x << ", " << rect.y << ", " << rect.width << ", " << rect.height << "}";
}
} // namespace nimb::TabStrip

namespace nimb::WindowLayout {
namespace {

Window normal(double width, double height = 720) {
    Window window;
    window.width = width;
    window.height = height;
    return window;
}

TEST(WindowLayout, theWellAndTheStealthButtonAtTheWorkedWidths) {
    struct Case {
        double width;
        std::int64_t navButtons;
        Rect well;
        double stealthButtonX;
    };
    for (const auto& [width, navButtons, well, stealthButtonX] : std::initializer_list<Case>{
             // Wide enough for the whole well, which stands right after the buttons.
             {1000, 3, {120, 46, 760, 32}, 886},
             // Wider: the well is centred in the window.
             {1400, 3, {320, 46, 760, 32}, 1086},
             // The narrowest window: the well takes what is left between the buttons and the stealth
             // button.
             {480, 3, {120, 46, 318, 32}, 444},
             // No navigation buttons: left = 18, right = 42: 420 wide, centred at 30, raised to 18 ... and
             // then lowered to at most max(18, 480 - 42 - 420) = 18.
             {480, 0, {18, 46, 420, 32}, 444},
         }) {
        SCOPED_TRACE(testing::Message() << width << " " << navButtons);
        Window window = normal(width);
        window.navButtons = navButtons;
        Layout layout = WindowLayout::layout(window);
        EXPECT_EQ(layout.navButtons.size(), static_cast<std::size_t>(navButtons));
        EXPECT_EQ(layout.well, well);
        EXPECT_EQ(layout.stealthButton, (Rect{stealthButtonX, 49, 26, 26}));
        EXPECT_EQ(layout.wellRadius, 0);
    }
}

TEST(WindowLayout, bandsStackFromTheTop) {
    Layout layout = WindowLayout::layout(normal(1000, 720));
    EXPECT_EQ(layout.strip, (Rect{0, 0, 1000, 38}));
    ASSERT_TRUE(layout.bar);
    EXPECT_EQ(*layout.bar, (Rect{0, 38, 1000, 48}));
    EXPECT_EQ(layout.navButtons, (std::vector<Rect>{{8, 46, 32, 32}, {42, 46, 32, 32}, {76, 46, 32, 32}}));
    EXPECT_FALSE(layout.personal);
    EXPECT_TRUE(layout.bookmarkButtons.empty());
    // Without the personal toolbar the band draws the line under the chrome.
    EXPECT_TRUE(layout.barBottomLine);
    EXPECT_FALSE(layout.stripBottomLine);
    EXPECT_FALSE(layout.personalBottomLine);
    EXPECT_EQ(layout.lowestBand, 86);
    EXPECT_EQ(layout.pageArea, (Rect{0, 86, 1000, 634}));
    // No window buttons at all.
    EXPECT_EQ(layout.tabStrip,
              (TabStrip::Layout{.width = 1000, .count = 1, .leftInset = 78, .rightInset = 8}));
}

TEST(WindowLayout, wellFrameRules) {
    struct Case {
        double width;
        double left;
        Rect frame;
    };
    for (const auto& [width, left, frame] : std::initializer_list<Case>{
             // Never narrower than 80, even when that runs past the stealth button's room.
             {150, 120, {120, 8, 80, 32}},
             // Centring would put it left of `left`.
             {600, 300, {300, 8, 258, 32}},
             // Centred position rounded to the nearest whole point.
             {1401, 120, {321, 8, 760, 32}},
             // A wide left part: lowered to keep clear of the stealth button.
             {1000, 400, {400, 8, 558, 32}},
         }) {
        SCOPED_TRACE(testing::Message() << width << " " << left);
        EXPECT_EQ(wellFrame(width, left), frame);
    }
}

TEST(WindowLayout, theWindowsOwnButtonsSitInTheStrip) {
    Window window = normal(1000);
    window.startControls = Size{60, 24};
    Layout layout = WindowLayout::layout(window);
    ASSERT_TRUE(layout.startControls);
    EXPECT_EQ(*layout.startControls, (Rect{6, 7, 60, 24})) << "re-centred in the 38-point strip";
    EXPECT_EQ(layout.tabStrip.leftInset, 80) << "right edge of the buttons + 14";
    EXPECT_EQ(layout.tabStrip.rightInset, 8);

    // Buttons at the end: the strip keeps their room free at the right, and needs no more than a
    // small margin at the left.
    window.startControls.reset();
    window.endControls = Size{34, 29};
    layout = WindowLayout::layout(window);
    EXPECT_FALSE(layout.startControls);
    ASSERT_TRUE(layout.endControls);
    EXPECT_EQ(*layout.endControls, (Rect{960, 5, 34, 29}));
    EXPECT_EQ(layout.tabStrip.leftInset, 14);
    EXPECT_EQ(layout.tabStrip.rightInset, 8 + 40);
    // The new-tab box stays clear of them.
    EXPECT_LE(layout.tabStrip.newFrame().maxX(), layout.endControls->minX());
}

TEST(WindowLayout, stealthFoldsTheBandIntoTheStrip) {
    Window window = normal(1000);
    window.stealth = true;
    window.tabs = 5;
    window.current = 2;
    window.bookmarkTitles = {40, 50};
    Layout layout = WindowLayout::layout(window);

    EXPECT_FALSE(layout.bar);
    EXPECT_FALSE(layout.personal) << "hidden in stealth even with buttons";
    EXPECT_TRUE(layout.stripBottomLine);
    EXPECT_FALSE(layout.barBottomLine);
    EXPECT_FALSE(layout.personalBottomLine);
    EXPECT_EQ(layout.lowestBand, 38);
    EXPECT_EQ(layout.pageArea, (Rect{0, 38, 1000, 682}));

    // The navigation buttons, 28 square, from the window-button inset, 30 apart.
    EXPECT_EQ(layout.navButtons, (std::vector<Rect>{{78, 5, 28, 28}, {108, 5, 28, 28}, {138, 5, 28, 28}}));
    EXPECT_EQ(layout.tabStrip.leftInset, 78 + 90 + 8);
    EXPECT_EQ(layout.tabStrip.gapAfterCurrent, 36);
    EXPECT_TRUE(layout.tabStrip.stealth);

    // The well is the pill in the current tab's place, and the stealth button stands in the middle of
    // the gap after it.
    EXPECT_EQ(layout.tabStrip.frame(2), (Rect{244, 0, 420, 38}));
    EXPECT_EQ(layout.well, (Rect{244, 4, 420, 30}));
    EXPECT_EQ(layout.wellRadius, 15);
    EXPECT_EQ(layout.stealthButton, (Rect{664 + 18 - 13, 6, 26, 26}));
}

TEST(WindowLayout, stealthInANarrowWindowWithManyTabs) {
    Window window = normal(480);
    window.stealth = true;
    window.tabs = 30;
    window.current = 29;
    Layout layout = WindowLayout::layout(window);
    EXPECT_GE(layout.well.width, 0);
    EXPECT_LE(layout.well.width, 420);
    EXPECT_GE(layout.well.x, layout.tabStrip.leftInset);
    // Everything stays inside the window.
    EXPECT_LE(layout.stealthButton.maxX(), 480);
    WellInterior inside = wellInterior({layout.well.width, layout.well.height});
    EXPECT_GE(inside.field.width, 0);
}

TEST(WindowLayout, personalToolbarButtons) {
    Window window = normal(480);
    // 10.2 rounds up to 11 and gains 16.
    window.bookmarkTitles = {10.2, 100, 180, 120, 4};
    Layout layout = WindowLayout::layout(window);
    ASSERT_TRUE(layout.personal);
    EXPECT_EQ(*layout.personal, (Rect{0, 86, 480, 26}));
    EXPECT_TRUE(layout.personalBottomLine);
    EXPECT_FALSE(layout.barBottomLine);
    EXPECT_EQ(layout.lowestBand, 112);
    EXPECT_EQ(layout.pageArea.y, 112);

    // 351 + 136 = 487 > 474: the fourth is hidden; the small one after it too, though it alone would fit.
    EXPECT_EQ(layout.bookmarkButtons,
              (std::vector<std::optional<Rect>>{Rect{6, 2, 27, 22}, Rect{35, 2, 116, 22},
                                                Rect{153, 2, 196, 22}, std::nullopt, std::nullopt}));

    // A button whose right edge is exactly W - 6 still shows.
    EXPECT_EQ(bookmarkButtons({452}, 480), (std::vector<std::optional<Rect>>{Rect{6, 2, 468, 22}}));
    EXPECT_EQ(bookmarkButtons({453}, 480), (std::vector<std::optional<Rect>>{std::nullopt}));
}

TEST(WindowLayout, marginPanelWidths) {
    for (const auto& [width, margin] : std::initializer_list<std::pair<double, std::optional<double>>>{
             {580, 320},
             {500, 240},
             {1400, 320},
             {460, 200},
             {459, std::nullopt},
             {100, std::nullopt},
         }) {
        SCOPED_TRACE(width);
        EXPECT_EQ(marginWidth(width), margin);
    }

    Window window = normal(580, 400);
    window.marginOpen = true;
    Layout layout = WindowLayout::layout(window);
    ASSERT_TRUE(layout.margin);
    EXPECT_EQ(*layout.margin, (Rect{260, 86, 320, 314}));
    EXPECT_EQ(layout.pageArea, (Rect{0, 86, 260, 314}));
    // The find bar is as wide as the page area, not the window.
    EXPECT_EQ(layout.findBar.width, 260);

    window.width = 459;
    layout = WindowLayout::layout(window);
    EXPECT_FALSE(layout.margin) << "too narrow to show";
    EXPECT_EQ(layout.pageArea.width, 459);
}

TEST(WindowLayout, findBarSlidesUpFromBelowTheWindow) {
    Rect page{0, 86, 1000, 634};
    EXPECT_EQ(findBar(page, 720, 0), (Rect{0, 720, 1000, 64})) << "wholly below the window";
    EXPECT_EQ(findBar(page, 720, 0.5), (Rect{0, 688, 1000, 64}));
    EXPECT_EQ(findBar(page, 720, 1), (Rect{0, 656, 1000, 64})) << "resting on the bottom edge";
    EXPECT_EQ(findBar(page, 720, 3), (Rect{0, 656, 1000, 64}));

    // The status line rides on it, and neither it nor the progress well takes from the page area.
    Window window = normal(1000, 720);
    window.findSlide = 1;
    Layout layout = WindowLayout::layout(window);
    EXPECT_EQ(layout.pageArea, (Rect{0, 86, 1000, 634}));
    EXPECT_EQ(layout.statusLine.maxY(), layout.findBar.y);
    EXPECT_EQ(layout.progressWell.maxY(), layout.findBar.y);
    window.findSlide = 0;
    layout = WindowLayout::layout(window);
    EXPECT_EQ(layout.statusLine, (Rect{0, 700, 894, 20}));
    EXPECT_EQ(layout.progressWell, (Rect{894, 700, 96, 20}));
}

TEST(WindowLayout, insideTheWell) {
    WellInterior inside = wellInterior({760, 32});
    EXPECT_EQ(inside.shield, (Rect{725, 0, 32, 32}));
    EXPECT_EQ(inside.icon, (Rect{12, 8, 16, 16}));
    EXPECT_EQ(inside.closeHit, (Rect{12, 8, 15, 15}));
    EXPECT_EQ(inside.field, (Rect{37, 8, 684, 16}));

    // The pill in stealth is 30 high.
    inside = wellInterior({150, 30});
    EXPECT_EQ(inside.shield, (Rect{117, 0, 30, 30}));
    EXPECT_EQ(inside.icon, (Rect{12, 7, 16, 16}));
    EXPECT_EQ(inside.field, (Rect{37, 7, 76, 16}));

    // Too narrow for the text: the field is empty, never negative.
    inside = wellInterior({40, 30});
    EXPECT_EQ(inside.field.width, 0);
}

TEST(WindowLayout, degenerateSizes) {
    Window window;
    window.width = std::nan("");
    window.height = -5;
    window.tabs = 0;
    window.stealth = true;
    Layout layout = WindowLayout::layout(window);
    EXPECT_EQ(layout.pageArea.height, 0);
    EXPECT_EQ(layout.well.width, 0);
    EXPECT_FALSE(layout.margin);
}

} // namespace
} // namespace nimb::WindowLayout
