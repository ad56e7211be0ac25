#pragma once

// Where a bubble (the report popover, the tab overflow list) stands: hung below its anchor with its
// arrow at the anchor's centre, as wide and as tall as asked where the screen's visible area allows,
// and kept clear of that area's edges. Everything is in screen points, x to the right and y downwards.

#include "layout/TabStrip.h"

namespace nimb::BubbleLayout {

using Rect = TabStrip::Rect;

inline constexpr double arrowHeight = 13;
inline constexpr double edgeInset = 8;    // from the visible area's edges
inline constexpr double widthMargin = 16; // the visible width less this is the widest bubble
inline constexpr double minimumHeight = 140;

struct Placement {
    // The whole bubble, arrow included; its top touches the anchor's bottom.
    Rect frame;
    // The arrow's tip across, from the bubble's left edge.
    double arrowX = 0;
    // The content below the arrow, in the bubble's own coordinates.
    Rect content;

    bool operator==(const Placement&) const = default;
};

// The bubble for content of `width` × `height` hung below `anchor` on a screen whose visible area is
// `visible`.
[[nodiscard]] Placement place(const Rect& anchor, const Rect& visible, double width, double height);

} // namespace nimb::BubbleLayout
