#pragma once

// What the pointer does on the tab strip, and what the strip asks of its window in turn: a press on a
// tab selects it, on a close box holds the box down until the release closes the tab, on the new-tab
// button opens a tab, on the caret shows the hidden tabs; a double click on the empty strip opens a
// tab and a drag from it moves the window; the middle button closes the tab under it. The pointer's
// state is a TabStripPointer, and everything it is over is worked out from the strip's layout as it
// stands at the time.

#include "chrome/TabStripPointer.h"
#include "glib/Hook.h"
#include "layout/TabStrip.h"

#include <cstdint>

namespace nimb {

class TabStripView;

class TabStripInput {
public:
    using Index = std::int64_t;
    using Point = TabStrip::Point;
    using Rect = TabStrip::Rect;

    explicit TabStripInput(TabStripView& view) : m_view(view) {}

    TabStripInput(const TabStripInput&) = delete;
    TabStripInput& operator=(const TabStripInput&) = delete;

    // Select or close the tab at an index.
    glib::Hook<void(Index)> onSelect;
    glib::Hook<void(Index)> onClose;
    // Open a new tab.
    glib::Hook<void()> onNew;
    // Show the hidden tabs in a list anchored at the caret's rectangle. While nobody is connected to
    // it, the caret selects the first hidden tab instead.
    glib::Hook<void(const Rect&)> onOverflow;
    // Starts moving the window: called once a press on the empty strip has been dragged far enough.
    // The widget connects to it itself, to hand the drag to the window system.
    glib::Hook<void()> performWindowDrag;

    // What the pointer is over, and the tab whose close box is held down.
    [[nodiscard]] const TabStripPointer& pointer() const { return m_pointer; }

    // Pointer events in the strip's coordinates, as the widget's event controllers deliver them.
    // The primary button:
    void mouseDown(Point point, int clickCount);
    void mouseDragged(Point start, Point point);
    void mouseUp(Point point);
    // Any other button released (2 is the middle one).
    void otherMouseUp(Point point, unsigned button);
    // The pointer moved to `point`; true when what it is over changed (and the strip is redrawn).
    bool hover(Point point);
    // The pointer left the strip.
    void mouseExited();

    // Brings what the pointer is over up to date after anything that moves the tabs.
    void refresh();
    // Forgets the close box held down, or only when its tab is at `count` or beyond.
    void forgetClose() { m_pointer.forgetClose(); }
    void forgetCloseFrom(Index count) { m_pointer.forgetCloseFrom(count); }

private:
    void showOverflow(const Rect& caret);
    void redraw() const;

    TabStripView& m_view;
    TabStripPointer m_pointer;
};

} // namespace nimb
