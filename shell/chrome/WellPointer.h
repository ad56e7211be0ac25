#pragma once

// The pointer over the location well, outside its field: whether it is over the well (the close box
// shows in the icon's place then, in stealth), and the close box held down by a press, which closes
// the tab on release if the pointer is still on the box. A press elsewhere on the well selects the
// field's whole address.

#include "layout/TabStrip.h"

namespace nimb {

class LocationWell;

class WellPointer {
public:
    using Point = TabStrip::Point;

    explicit WellPointer(LocationWell& well) : m_well(well) {}

    WellPointer(const WellPointer&) = delete;
    WellPointer& operator=(const WellPointer&) = delete;

    [[nodiscard]] bool hovered() const { return m_hovered; }
    [[nodiscard]] bool pressedKill() const { return m_pressedKill; }

    // Pointer events on the well outside its field, in the well's coordinates.
    void mouseDown(Point point);
    void mouseUp(Point point);
    void mouseMoved(Point point);
    void mouseExited();

private:
    void redraw() const;

    LocationWell& m_well;
    bool m_hovered = false;
    bool m_pressedKill = false;
};

} // namespace nimb
