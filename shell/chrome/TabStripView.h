#pragma once

// The tab strip across the top of a browser window: a custom-drawn GTK widget (`NimbTabStripView`)
// with a C++ object behind it (`nimb::TabStripView`). The widget only forwards its size requests,
// drawing, pointer events and tool-tip queries to the object; where things stand comes from
// `TabStrip::Layout`, worked out again from the object's state on every draw and every event. What
// the strip shows is a TabStripContent, the pointer's state a TabStripPointer, and a TabStripPainter
// draws the two.
//
// The window feeds the strip its tabs' labels, icons and tips and the current index, and hears back
// through its hooks: select a tab, close a tab, open a new tab, show the hidden tabs, and (served
// by the widget itself) move the window when the empty strip is dragged.

#include "chrome/TabStripContent.h"
#include "chrome/TabStripPainter.h"
#include "chrome/TabStripPointer.h"
#include "glib/GRefPtr.h"
#include "glib/Hook.h"
#include "layout/TabStrip.h"

#include <gtk/gtk.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

G_BEGIN_DECLS
#define NIMB_TYPE_TAB_STRIP_VIEW (nimb_tab_strip_view_get_type())
G_DECLARE_FINAL_TYPE(NimbTabStripView, nimb_tab_strip_view, NIMB, TAB_STRIP_VIEW, GtkWidget)
G_END_DECLS

namespace nimb {

class TabStripView {
public:
    using Index = std::int64_t;
    using Point = TabStrip::Point;
    using Rect = TabStrip::Rect;

    // A new strip widget (a floating reference, as with every new GTK widget) with its object.
    [[nodiscard]] static GtkWidget* create();
    // The object behind a strip widget; it lives as long as the widget.
    [[nodiscard]] static TabStripView& of(GtkWidget* widget);
    [[nodiscard]] GtkWidget* widget() const { return m_widget; }

    TabStripView(const TabStripView&) = delete;
    TabStripView& operator=(const TabStripView&) = delete;

    // What the strip shows. `labels` decides how many tabs there are; a missing icon is none and a
    // missing tip is the tab's label. Every change redraws the strip and looks again at what is
    // under the pointer.
    void setLabels(std::vector<std::string> labels);
    void setIcons(std::vector<glib::GRefPtr<GdkTexture>> icons);
    void setCurrent(Index current);
    void setTips(std::vector<std::string> tips);
    void setStealth(bool stealth);
    // Room kept free after the current tab (where the stealth button stands).
    void setGapAfterCurrent(double gap);
    void setBottomLine(bool bottomLine);
    // Room kept free at the left end (the window's buttons, and in stealth the navigation buttons)
    // and at the right end.
    void setLeftInset(double inset);
    void setRightInset(double inset);

    [[nodiscard]] const std::vector<std::string>& labels() const { return m_content.labels; }
    [[nodiscard]] Index current() const { return m_content.current; }
    [[nodiscard]] bool stealth() const { return m_content.stealth; }
    [[nodiscard]] double gapAfterCurrent() const { return m_content.gapAfterCurrent; }
    [[nodiscard]] bool bottomLine() const { return m_content.bottomLine; }

    // Select or close the tab at an index.
    glib::Hook<void(Index)> onSelect;
    glib::Hook<void(Index)> onClose;
    // Open a new tab.
    glib::Hook<void()> onNew;
    // Show the hidden tabs in a list anchored at the caret's rectangle. While nobody is connected to
    // it, the caret selects the first hidden tab instead.
    glib::Hook<void(const Rect&)> onOverflow;
    // Draws what the current tab's field holds in stealth, inside the field's rectangle. Without it
    // the field shows the tab's icon and label.
    TabStripPainter::DrawField drawField;
    // Starts moving the window: called once a press on the empty strip has been dragged far enough.
    // The widget connects to it itself, to hand the drag to the window system.
    glib::Hook<void()> performWindowDrag;

    // Where everything stands at the strip's present size.
    [[nodiscard]] TabStrip::Layout layout() const;
    [[nodiscard]] TabStrip::Band band() const { return layout().band(); }
    [[nodiscard]] std::vector<Rect> tabFrames() const { return layout().tabFrames(); }
    [[nodiscard]] std::optional<Rect> frame(Index index) const { return layout().frame(index); }
    [[nodiscard]] std::optional<Rect> caretFrame() const { return layout().caretFrame(); }
    [[nodiscard]] Rect newFrame() const { return layout().newFrame(); }
    [[nodiscard]] bool hasCloseBox(Index index, const Rect& frame) const {
        return layout().hasCloseBox(index, frame, m_pointer.hovered());
    }
    [[nodiscard]] std::vector<Index> hiddenTabs() const { return layout().hiddenTabs(); }

    // What the pointer is over, and the tab whose close box is held down.
    [[nodiscard]] std::optional<Index> hovered() const { return m_pointer.hovered(); }
    [[nodiscard]] bool hoveredClose() const { return m_pointer.hoveredClose(); }
    [[nodiscard]] bool hoveredNew() const { return m_pointer.hoveredNew(); }
    [[nodiscard]] bool hoveredCaret() const { return m_pointer.hoveredCaret(); }
    [[nodiscard]] std::optional<Index> pressedClose() const { return m_pointer.pressedClose(); }

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

    // The tool tip under a point, with the rectangle it belongs to. Only in stealth, where the
    // labels are not drawn, and never for the current tab's field.
    struct Tip {
        std::string text;
        Rect area;
    };
    [[nodiscard]] std::optional<Tip> tooltip(Point point) const;

    void snapshot(GtkSnapshot* snapshot) const;

private:
    friend struct TabStripViewGlue;
    explicit TabStripView(GtkWidget* widget) : m_widget(widget) {}

    // Brings the hover state up to date after anything that moves the tabs.
    void refreshHover();
    void redraw() const;
    void showOverflow(const Rect& caret);

    GtkWidget* m_widget;
    glib::Connection m_windowMove; // the widget's own connection to performWindowDrag
    TabStripContent m_content;
    TabStripPointer m_pointer;
};

} // namespace nimb
