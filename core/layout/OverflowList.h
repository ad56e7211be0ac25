#pragma once

// The list of the tabs the strip has no room for, shown in a bubble below the strip's caret: its size
// for the labels it lists, in points.

#include <vector>

namespace nimb::OverflowList {

inline constexpr double rowHeight = 36;
inline constexpr double topMargin = 8;
inline constexpr double labelPoints = 13;  // the interface typeface, for measuring labels
inline constexpr double labelPadding = 52; // the icon, its gaps and the row's ends
inline constexpr double minimumWidth = 240;
inline constexpr double maximumWidth = 420;
inline constexpr double maximumHeight = 460; // beyond this the list scrolls

struct Size {
    double width = 0;
    double height = 0;

    bool operator==(const Size&) const = default;
};

// What the list would like to be for labels of these widths: every row, whole points across.
[[nodiscard]] Size wanted(const std::vector<double>& labelWidths);
// What it is shown as: as wanted, but never taller than the screen allows for one list.
[[nodiscard]] Size shown(const std::vector<double>& labelWidths);

} // namespace nimb::OverflowList
