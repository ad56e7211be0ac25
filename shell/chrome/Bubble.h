#pragma once

// A bubble with an arrow that hangs below a control of the window and holds some content: the report
// popover under the shield and the list of hidden tabs under the strip's caret. It is a GtkPopover
// that does not hide itself: GTK's own dismissal closes a popover on the press of its anchor, and the
// release then opens it again, where a press on the anchor should only close it. The bubble watches
// instead, while it shows, for a press anywhere in the window away from the bubble and its anchor,
// Escape, the window resizing or closing, and the application losing focus; each closes it.
//
// Its size and place follow BubbleLayout against the visible area of the screen the window is on.

#include "glib/Connection.h"
#include "glib/GRefPtr.h"
#include "layout/BubbleLayout.h"

#include <gtk/gtk.h>

#include <string_view>
#include <vector>

namespace nimb {

class Bubble {
public:
    using Rect = BubbleLayout::Rect;

    // A bubble in `window` holding `content`, hung from the window's content `host` (a widget that
    // fills the window and places its own children, which the bubble becomes one of).
    Bubble(GtkWindow* window, GtkWidget* host, GtkWidget* content);
    ~Bubble();
    Bubble(const Bubble&) = delete;
    Bubble& operator=(const Bubble&) = delete;

    // Shows the bubble for content of `width` × `height` below `rect` of `anchor` (in the anchor's
    // coordinates). Nothing happens for an anchor that is not in the window.
    void show(GtkWidget* anchor, const Rect& rect, double width, double height);
    void close();
    [[nodiscard]] bool isVisible() const;

    // Hides the content under the bubble's plain ground while it is being drawn (it still draws).
    void cover(bool covered);
    // The accessible name of the bubble.
    void setName(std::string_view name);
    [[nodiscard]] GtkWidget* popover() const { return m_popover.get(); }
    // Where the bubble was last put, in screen points.
    [[nodiscard]] const BubbleLayout::Placement& placement() const { return m_placement; }

private:
    void pressed(double x, double y);
    // The anchor's rectangle in the host's coordinates; none once the anchor has gone.
    [[nodiscard]] std::optional<Rect> anchorInHost() const;

    GtkWindow* m_window;
    GtkWidget* m_host;
    glib::GRefPtr<GtkWidget> m_popover;
    GtkWidget* m_frame = nullptr; // the content's frame, held by the popover
    bool m_covered = false;
    GtkWidget* m_anchor = nullptr; // weak
    Rect m_anchorRect;
    BubbleLayout::Placement m_placement;
    // The widget that had the keyboard focus when the bubble showed, to have it back after.
    glib::GRefPtr<GtkWidget> m_focusBefore;
    bool m_tookFocus = false;
    // Declared last, so that they go first.
    std::vector<glib::Connection> m_watchers;
};

} // namespace nimb
