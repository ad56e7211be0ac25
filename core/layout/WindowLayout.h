#pragma once

// Where everything of a browser window stands, worked out from its size and its state alone: the tab
// strip (which is also the window's title bar, with the window's own buttons in it), the toolbar band
// with the navigation buttons, the location well and the stealth button, the personal toolbar, the
// margin panel, the find bar, the page area every tab's view fills, and the status line and progress
// well over the foot of the page. Stealth folds the band into the strip: the navigation buttons move
// in at the left, and the location well becomes a pill in the current tab's place.
//
// All values are in points (GTK's logical pixels), x to the right and y downwards from the window's
// top-left corner unless a field says otherwise. Nothing here is cached: the window asks again
// whenever it lays out.

#include "layout/TabStrip.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace nimb::WindowLayout {

using Rect = TabStrip::Rect;
using Point = TabStrip::Point;

struct Size {
    double width = 0;
    double height = 0;

    bool operator==(const Size&) const = default;
};

// The measures of the window's chrome, in points.
inline constexpr double stripHeight = TabStrip::height;
inline constexpr double stripRightInset = 8;
inline constexpr double controlsMargin = 6;     // the window's own buttons from the window's edge
inline constexpr double controlsClearance = 14; // free room right of the window's buttons
inline constexpr double noControlsInset = 78;   // the strip's left inset when the window has no buttons

inline constexpr double barHeight = 48;
inline constexpr double navButtonSize = 32;
inline constexpr double navButtonStart = 8;
inline constexpr double navButtonGap = 2;
inline constexpr double wellGap = 10;        // between the last navigation button and the well
inline constexpr double wellStartAlone = 18; // the well's left limit with no navigation buttons
inline constexpr double stealthButtonSize = 26;
inline constexpr double stealthButtonMargin = 8; // each side of the stealth button
inline constexpr double wellRight = stealthButtonSize + 2 * stealthButtonMargin;
inline constexpr double stealthButtonGap = 6; // between the well and the stealth button
inline constexpr double wellHeight = 32;
inline constexpr double wellTop = 8; // below the band's top
inline constexpr double wellMaximum = 760;
inline constexpr double wellMinimum = 80;

inline constexpr double stealthNavSize = 28;
inline constexpr double stealthNavTop = 5;
inline constexpr double stealthNavStep = 30;
inline constexpr double stealthNavClearance = 8; // between the last navigation button and the tabs
inline constexpr double stealthGap = 36;         // after the current tab, where the stealth button stands
inline constexpr double pillHeight = 30;
inline constexpr double pillTop = 4;
inline constexpr double pillRadius = 15;
inline constexpr double stealthButtonTop = 6;

inline constexpr double personalHeight = 26;
inline constexpr double bookmarkHeight = 22;
inline constexpr double bookmarkBottom = 2; // free room under the bookmark buttons
inline constexpr double bookmarkStart = 6;
inline constexpr double bookmarkGap = 2;
inline constexpr double bookmarkPadding = 16; // added to a title's width
inline constexpr double bookmarkEndMargin = 6;
inline constexpr double bookmarkTitlePoints = 10;

inline constexpr double marginReserve = 260; // what the page keeps beside the margin panel
inline constexpr double marginMaximum = 320;
inline constexpr double marginMinimum = 200;

inline constexpr double findBarHeight = 64;

inline constexpr double footHeight = 20; // the status line and the progress well
inline constexpr double progressWidth = 96;
inline constexpr double progressMargin = 10; // the progress well from the page area's right edge
inline constexpr double statusPoints = 10;

// Inside the location well (the well's own coordinates).
inline constexpr double shieldInset = 3; // the shield's right edge from the well's right edge
inline constexpr double wellIconX = 12;
inline constexpr double wellIconSize = 16;
inline constexpr double wellFieldGap = 9;     // between the icon box and the text field
inline constexpr double wellFieldEndGap = 4;  // between the text field and the shield
inline constexpr double wellFieldHeight = 16; // one line of the chrome typeface
inline constexpr double closeHitSize = 15;

// What the window's layout depends on.
struct Window {
    double width = 0;
    double height = 0;
    bool stealth = false;
    // The window's own buttons (close, minimise, maximise), at the start and at the end of the
    // strip as the desktop arranges them; none where there are none.
    std::optional<Size> startControls;
    std::optional<Size> endControls;
    std::int64_t navButtons = 3; // back, forward, reload
    // The tabs, for the current tab's place in stealth.
    std::int64_t tabs = 1;
    std::int64_t current = 0;
    // The width of every toolbar bookmark's title in the chrome typeface at 10 points, in stored order.
    std::vector<double> bookmarkTitles;
    bool marginOpen = false;
    // How far the find bar has slid into view: 0 wholly below the window, 1 resting on its bottom.
    double findSlide = 0;
    // The notice band's height at the window's width; 0 without a notice.
    double noticeHeight = 0;

    bool operator==(const Window&) const = default;
};

// The location well's inside, in the well's own coordinates.
struct WellInterior {
    Rect shield;
    Rect icon;
    // Where a press on the close box counts (the close box takes the icon's place).
    Rect closeHit;
    Rect field;

    bool operator==(const WellInterior&) const = default;
};

struct Layout {
    // The strip, full width at the top, and how its tabs stand in it.
    Rect strip;
    TabStrip::Layout tabStrip;
    bool stripBottomLine = false;
    std::optional<Rect> startControls;
    std::optional<Rect> endControls;

    // The toolbar band; none in stealth.
    std::optional<Rect> bar;
    bool barBottomLine = false;
    std::vector<Rect> navButtons;
    Rect well;
    double wellRadius = 0;
    Rect stealthButton;

    // The personal toolbar, when shown, and its buttons in the toolbar's own coordinates (none for a
    // button past the right edge).
    std::optional<Rect> personal;
    bool personalBottomLine = false;
    std::vector<std::optional<Rect>> bookmarkButtons;

    // The notice band under the toolbars, when there is a notice.
    std::optional<Rect> notice;
    // Where the bands end: the page area, the margin panel and every tab's view start here.
    double lowestBand = 0;
    std::optional<Rect> margin;
    Rect pageArea;
    Rect findBar;
    // Over the foot of the page area, riding on the find bar when it slides in.
    Rect statusLine;
    Rect progressWell;

    bool operator==(const Layout&) const = default;
};

// The strip's left inset in the normal layout: clear of the window's buttons at the start, 14 from
// the window's edge when they all stand at the end, 78 when the window has none.
[[nodiscard]] double windowButtonInset(const std::optional<Rect>& startControls, bool hasEndControls);

// The location well's frame in the normal layout, in the band's coordinates, between `left` (the x
// after the navigation buttons) and `right` (the room kept for the stealth button) in a window
// `width` wide: centred, at most 760 and at least 80 wide, never left of `left`.
[[nodiscard]] Rect wellFrame(double width, double left, double right = wellRight);

// The personal toolbar's buttons for titles of these widths, in the toolbar's coordinates, in a
// window `width` wide; none for a button whose right edge would pass 6 points from the right.
[[nodiscard]] std::vector<std::optional<Rect>> bookmarkButtons(const std::vector<double>& titleWidths,
                                                               double width);

// The open margin panel's width in a window `width` wide; none when it would be too narrow to show.
[[nodiscard]] std::optional<double> marginWidth(double width);

// The find bar over a page area at `slide` (0 hidden below the window, 1 resting on its bottom).
[[nodiscard]] Rect findBar(const Rect& pageArea, double windowHeight, double slide);

// The location well's inside for a well of this size.
[[nodiscard]] WellInterior wellInterior(Size well);

// Everything at once.
[[nodiscard]] Layout layout(const Window& window);

} // namespace nimb::WindowLayout
