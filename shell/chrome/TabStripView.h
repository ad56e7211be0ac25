#pragma once

// The tab strip across the top of a browser window: a custom-drawn GTK widget (`NimbTabStripView`)
// with a C++ object behind it (`nimb::TabStripView`). The widget only forwards its size requests,
// drawing, pointer events and tool-tip queries to the object; where things stand comes from
// `TabStrip::Layout`, worked out again from the object's state on every draw and every event. What
// the strip shows is a TabStripContent, what the pointer does on it a TabStripInput, and a
// TabStripPainter draws the two.
//
// The window feeds the strip its tabs' labels, icons and tips and the current index, and hears back
// through the hooks of its input: select a tab, close a tab, open a new tab, show the hidden tabs, and
// (served by the widget itself) move the window when the empty strip is dragged.

#include "chrome/TabStripContent.h"
#include "chrome/TabStripInput.h"
#include "chrome/TabStripPainter.h"
#include "glib/Connection.h"
#include "glib/GRefPtr.h"
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
    void setInsets(double left, double right);

    [[nodiscard]] const TabStripContent& content() const { return m_content; }
    [[nodiscard]] bool stealth() const { return m_content.stealth; }
    [[nodiscard]] double gapAfterCurrent() const { return m_content.gapAfterCurrent; }
    [[nodiscard]] bool bottomLine() const { return m_content.bottomLine; }

    // The pointer over the strip, and what the strip asks of its window in turn.
    [[nodiscard]] TabStripInput& input() { return m_input; }

    // Draws what the current tab's field holds in stealth, inside the field's rectangle. Without it
    // the field shows the tab's icon and label.
    TabStripPainter::DrawField drawField;

    // Where everything stands at the strip's present size.
    [[nodiscard]] TabStrip::Layout layout() const;
    [[nodiscard]] std::optional<Rect> frame(Index index) const { return layout().frame(index); }

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
    explicit TabStripView(GtkWidget* widget) : m_widget(widget), m_input(*this) {}

    GtkWidget* m_widget;
    glib::Connection m_windowMove; // the widget's own connection to performWindowDrag
    TabStripContent m_content;
    TabStripInput m_input;
};

} // namespace nimb
