#pragma once

// The arithmetic of the tab strip, free of any window system: what a tab is called, which tabs fit,
// how wide each one is, which tab to select after one is closed, and where everything of the strip
// stands for a given width. The strip's view draws and hit-tests from `Layout` on every draw and
// every pointer event, so nothing here is cached.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nimb::TabStrip {

// A half-open range of tab indices, `lowerBound..<upperBound`.
struct Range {
    std::int64_t lowerBound = 0;
    std::int64_t upperBound = 0;

    [[nodiscard]] std::int64_t count() const { return upperBound - lowerBound; }
    [[nodiscard]] bool empty() const { return upperBound <= lowerBound; }
    [[nodiscard]] bool contains(std::int64_t index) const {
        return index >= lowerBound && index < upperBound;
    }

    bool operator==(const Range&) const = default;
};

// The stealth layout's row: the tabs shown, their widths in order (the current tab's field and
// icons for the others), and whether some tabs are left out.
struct Band {
    Range shown;
    std::vector<double> widths;
    bool overflowing = false;

    bool operator==(const Band&) const = default;
};

struct Point {
    double x = 0;
    double y = 0;

    bool operator==(const Point&) const = default;
};

// A rectangle in the strip's coordinates: x to the right, y downwards from the strip's top.
struct Rect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    [[nodiscard]] double minX() const { return x; }
    [[nodiscard]] double maxX() const { return x + width; }
    [[nodiscard]] double midX() const { return x + width / 2; }
    [[nodiscard]] double minY() const { return y; }
    [[nodiscard]] double maxY() const { return y + height; }
    [[nodiscard]] double midY() const { return y + height / 2; }
    // Left and top edges belong to the rectangle, right and bottom edges do not, so that two
    // rectangles side by side never both hold a point.
    [[nodiscard]] bool contains(Point point) const {
        return point.x >= minX() && point.x < maxX() && point.y >= minY() && point.y < maxY();
    }

    bool operator==(const Rect&) const = default;
};

// The strip's measures, in points.
inline constexpr double height = 38;
inline constexpr double newSlot = 34; // the new-tab slot kept free at the end of the row
inline constexpr double newGap = 2;   // extra room before the new-tab slot
inline constexpr double minimumWidth = 34;
inline constexpr double iconWidth = 34; // a tab in stealth
inline constexpr double caretWidth = 26;
inline constexpr double maximumWidth = 220;
inline constexpr double fieldWidth = 420; // the current tab in stealth, at most
inline constexpr double fieldMinimum = 150;
inline constexpr double newBoxWidth = 30;
inline constexpr double closeBoxSize = 16;
inline constexpr double closeHitSize = 15;
inline constexpr double closeBoxInset = 12;     // from the tab's left edge, where the icon is
inline constexpr double closeBoxMargin = 4;     // kept free right of the close box
inline constexpr double stealthCloseOffset = 9; // the badge's centre, left of and below the tab's

// The current language's word for a tab with nothing to show.
[[nodiscard]] std::string untitled();

// A tab's label: the trimmed title when there is one; else a fixed word for the browser's own pages;
// else the address's host without "www."; else the trimmed address; else `untitled`.
[[nodiscard]] std::string label(std::optional<std::string_view> title,
                                std::optional<std::string_view> address);

// A tab's tool tip: its label, and on a second line the address's resting label when that says
// something the label does not.
[[nodiscard]] std::string tip(std::string_view label, std::optional<std::string_view> address);

// The tab to select after tab `after` of `count` is closed while `current` is selected; none when
// `after` is no tab or it is the window's only tab (the window closes instead). The answer is always
// an index of the remaining tabs.
[[nodiscard]] std::optional<std::int64_t> selection(std::int64_t after, std::int64_t current,
                                                    std::int64_t count);

// The widths of `count` tabs sharing `available` points: all `maximum` or all `minimum` at the ends,
// else whole points adding up to floor(available), the wider ones first.
[[nodiscard]] std::vector<double> widths(std::int64_t count, double available, double maximum,
                                         double minimum);

// The tabs of the normal layout that fit in `room`, keeping `current` in view; a `caret` wide
// overflow caret takes room whenever some are left out.
[[nodiscard]] Range visible(std::int64_t count, double room, std::int64_t current, double caret,
                            double minimum);

// The stealth row: the current tab as a field of at most `field` points (wanting `fieldMinimum`),
// as many `icon`-wide tabs beside it as fit, and a `caret` when not all do.
[[nodiscard]] Band band(std::int64_t count, std::int64_t current, double room, double icon, double field,
                        double fieldMinimum, double caret);

// Everything of the strip that depends on its size and on how many tabs it shows.
struct Layout {
    double width = 0; // the strip's width
    double height = TabStrip::height;
    std::int64_t count = 0; // tabs in the window
    std::int64_t current = 0;
    bool stealth = false;
    double gapAfterCurrent = 0;
    double leftInset = 0;
    double rightInset = 0;

    // The width left for the tabs (and the caret) once the insets, the new-tab slot and the gap
    // after the current tab are taken off; never below 0.
    [[nodiscard]] double room() const;
    [[nodiscard]] Range shown() const;
    // The stealth row for this strip (meaningful in stealth only).
    [[nodiscard]] Band band() const;
    // The shown tabs' rectangles, left to right, each the strip's full height.
    [[nodiscard]] std::vector<Rect> tabFrames() const;
    // The rectangle of tab `index`, none when it is not shown.
    [[nodiscard]] std::optional<Rect> frame(std::int64_t index) const;
    // Where the row of tabs ends.
    [[nodiscard]] double rowEnd() const;
    // The overflow caret's rectangle; none when every tab is shown.
    [[nodiscard]] std::optional<Rect> caretFrame() const;
    // The new-tab box.
    [[nodiscard]] Rect newFrame() const;
    // Whether tab `index`, standing in `frame`, shows its close box while `hovered` is under the
    // pointer.
    [[nodiscard]] bool hasCloseBox(std::int64_t index, const Rect& frame,
                                   std::optional<std::int64_t> hovered) const;
    // The close box drawn on a tab standing in `frame`.
    [[nodiscard]] Rect closeBox(const Rect& frame) const;
    // Where a press closes the tab standing in `frame`.
    [[nodiscard]] Rect closeHitArea(const Rect& frame) const;
    // The shown tab under `point`; in stealth the current tab's field never counts.
    [[nodiscard]] std::optional<std::int64_t> tabIndex(Point point) const;
    // Every tab not shown, in order.
    [[nodiscard]] std::vector<std::int64_t> hiddenTabs() const;

    bool operator==(const Layout&) const = default;
};

} // namespace nimb::TabStrip
