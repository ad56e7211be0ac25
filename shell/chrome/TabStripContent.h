#pragma once

// What the tab strip shows, as its window sets it: the tabs' labels, icons and tool tips, which tab is
// current, whether the strip is in stealth, and the room it keeps free.

#include "glib/GRefPtr.h"
#include "layout/TabStrip.h"

#include <gtk/gtk.h>

#include <cstdint>
#include <string>
#include <vector>

namespace nimb {

struct TabStripContent {
    using Index = std::int64_t;

    // `labels` decides how many tabs there are; a missing icon is none and a missing tip is the
    // tab's label.
    std::vector<std::string> labels;
    std::vector<glib::GRefPtr<GdkTexture>> icons;
    std::vector<std::string> tips;
    Index current = 0;
    bool stealth = false;
    // Room kept free after the current tab (where the stealth button stands).
    double gapAfterCurrent = 0;
    bool bottomLine = false;
    // Room kept free at the left end and at the right end.
    double leftInset = 0;
    double rightInset = 0;

    [[nodiscard]] Index count() const { return static_cast<Index>(labels.size()); }
    // The icon of tab `index`, or none.
    [[nodiscard]] GdkTexture* icon(Index index) const;
    // The tool tip of tab `index`.
    [[nodiscard]] std::string tip(Index index) const;
    // Where everything stands in a strip of this size.
    [[nodiscard]] TabStrip::Layout layout(double width, double height) const;
};

} // namespace nimb
