#include "chrome/TabStripContent.h"

namespace nimb {

GdkTexture* TabStripContent::icon(Index index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= icons.size()) return nullptr;
    return icons[static_cast<std::size_t>(index)].get();
}

std::string TabStripContent::tip(Index index) const {
    if (index < 0) return {};
    auto k = static_cast<std::size_t>(index);
    if (k < tips.size()) return tips[k];
    return k < labels.size() ? labels[k] : std::string();
}

TabStrip::Layout TabStripContent::layout(double width, double height) const {
    return {.width = width,
            .height = height,
            .count = count(),
            .current = current,
            .stealth = stealth,
            .gapAfterCurrent = gapAfterCurrent,
            .leftInset = leftInset,
            .rightInset = rightInset};
}

} // namespace nimb
