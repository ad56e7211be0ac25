#include "layout/BubbleLayout.h"

#include <algorithm>

namespace nimb::BubbleLayout {

Placement place(const Rect& anchor, const Rect& visible, double width, double height) {
    Placement placement;
    double w = std::min(width, visible.width - widthMargin);
    // Below the anchor there may be little room; the bubble then runs off the screen rather than
    // shrinking to nothing.
    double room = visible.maxY() - anchor.maxY() - edgeInset;
    double h = std::max(std::min(height + arrowHeight, room), minimumHeight);
    double x = anchor.midX() - w / 2;
    x = std::min(x, visible.maxX() - edgeInset - w);
    x = std::max(x, visible.minX() + edgeInset);
    placement.frame = {x, anchor.maxY(), w, h};
    placement.arrowX = anchor.midX() - x;
    placement.content = {0, arrowHeight, w, h - arrowHeight};
    return placement;
}

} // namespace nimb::BubbleLayout
