#include "layout/OverflowList.h"

#include <algorithm>
#include <cmath>

namespace nimb::OverflowList {

Size wanted(const std::vector<double>& labelWidths) {
    double widest = 0;
    for (double width : labelWidths)
        widest = std::max(widest, width);
    double width = std::clamp(std::ceil(widest + labelPadding), minimumWidth, maximumWidth);
    return {width, static_cast<double>(labelWidths.size()) * rowHeight + 2 * topMargin};
}

Size shown(const std::vector<double>& labelWidths) {
    Size size = wanted(labelWidths);
    size.height = std::min(size.height, maximumHeight);
    return size;
}

} // namespace nimb::OverflowList
