#include "layout/BubbleLayout.h"
#include "layout/OverflowList.h"

#include <gtest/gtest.h>

namespace nimb {
namespace {

using Rect = BubbleLayout::Rect;

const Rect screen{0, 0, 1280, 1024};

TEST(BubbleLayout, hangsBelowTheAnchorWithinTheVisibleArea) {
    // The report popover under a shield in mid-screen: as asked, the arrow at the anchor's centre.
    auto middle = BubbleLayout::place({600, 60, 32, 32}, screen, 380, 470);
    EXPECT_EQ(middle.frame, (Rect{426, 92, 380, 483}));
    EXPECT_EQ(middle.arrowX, 190);
    EXPECT_EQ(middle.content, (Rect{0, 13, 380, 470}));

    // Near the right edge it stays 8 inside, and the arrow still points at the anchor.
    auto right = BubbleLayout::place({1250, 60, 20, 32}, screen, 380, 470);
    EXPECT_EQ(right.frame.maxX(), 1272);
    EXPECT_EQ(right.frame.x + right.arrowX, 1260);
    auto left = BubbleLayout::place({2, 60, 20, 32}, {100, 0, 1180, 1024}, 380, 470);
    EXPECT_EQ(left.frame.x, 108);
    EXPECT_EQ(left.frame.x + left.arrowX, 12);

    // Near the bottom of a small screen it is never shorter than 140; on a narrow one never wider
    // than the screen less 16.
    auto low = BubbleLayout::place({300, 560, 32, 32}, {0, 0, 800, 600}, 380, 470);
    EXPECT_EQ(low.frame.height, 140);
    auto squeezed = BubbleLayout::place({300, 100, 32, 32}, {0, 0, 800, 600}, 380, 470);
    EXPECT_EQ(squeezed.frame.height, 600 - 132 - 8);
    EXPECT_EQ(BubbleLayout::place({100, 10, 20, 20}, {0, 0, 300, 1000}, 380, 470).frame.width, 284);
}

TEST(OverflowList, sizeFollowsTheLabelsWithinItsBounds) {
    // Twenty hidden tabs want 20 × 36 + 16 and are shown 460 high; the width follows the widest
    // label within 240…420, in whole points.
    std::vector<double> twenty(20, 150.2);
    EXPECT_EQ(OverflowList::wanted(twenty), (OverflowList::Size{240, 736}));
    EXPECT_EQ(OverflowList::shown(twenty).height, 460);
    EXPECT_EQ(OverflowList::wanted({300.5}).width, 353);
    EXPECT_EQ(OverflowList::wanted({900}).width, 420);
    EXPECT_EQ(OverflowList::wanted({}), (OverflowList::Size{240, 16}));
}

} // namespace
} // namespace nimb
