#pragma once

// The pointer over the tab strip: where it is, what it is over (a tab, a tab's close box, the
// new-tab button, the caret of hidden tabs), the close box held down by a press, and whether a press
// on the empty strip may yet become a window move. Everything it is over is worked out from the
// strip's layout as it stands at the time.

#include "layout/TabStrip.h"

#include <cstdint>
#include <optional>

namespace nimb {

class TabStripPointer {
public:
    using Index = std::int64_t;
    using Point = TabStrip::Point;

    [[nodiscard]] std::optional<Index> hovered() const { return m_hovered; }
    [[nodiscard]] bool hoveredClose() const { return m_hoveredClose; }
    [[nodiscard]] bool hoveredNew() const { return m_hoveredNew; }
    [[nodiscard]] bool hoveredCaret() const { return m_hoveredCaret; }
    [[nodiscard]] std::optional<Index> pressedClose() const { return m_pressedClose; }
    // Where the pointer is, while it is over the strip.
    [[nodiscard]] std::optional<Point> position() const { return m_position; }

    // The pointer moved to `point`; true when what it is over changed.
    bool moveTo(const TabStrip::Layout& strip, Point point);
    // The pointer left the strip; true when it was over something.
    bool leave();

    // A press at `point` on tab `index`: holds its close box down when the press is on it (it is
    // closed on release, if the pointer is still on the box then); false when the press is not on it.
    bool pressClose(const TabStrip::Layout& strip, Index index, Point point);
    // Lets go of the close box held down, and tells which tab's it was.
    [[nodiscard]] std::optional<Index> releaseClose();
    // Forgets the close box held down, or only when its tab is at `count` or beyond.
    void forgetClose() { m_pressedClose.reset(); }
    void forgetCloseFrom(Index count);

    // A press on the empty strip that may become a window move, until the press ends.
    void armDrag(bool armed) { m_dragArmed = armed; }
    [[nodiscard]] bool dragArmed() const { return m_dragArmed; }

private:
    std::optional<Point> m_position;
    std::optional<Index> m_hovered;
    bool m_hoveredClose = false;
    bool m_hoveredNew = false;
    bool m_hoveredCaret = false;
    std::optional<Index> m_pressedClose;
    bool m_dragArmed = false;
};

} // namespace nimb
