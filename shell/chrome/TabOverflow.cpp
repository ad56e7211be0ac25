#include "chrome/TabOverflow.h"

#include "chrome/Drawing.h"

#include <utility>

namespace nimb {

namespace {

constexpr int iconSize = 16;

GtkWidget* makeRow(const TabOverflow::Item& item, const PangoFontDescription* font) {
    GtkWidget* box = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 12);
    gtk_widget_set_margin_start(box, 14);
    gtk_widget_set_margin_end(box, 14);
    GtkWidget* icon =
        item.icon ? gtk_image_new_from_paintable(GDK_PAINTABLE(item.icon.get())) : gtk_image_new();
    gtk_image_set_pixel_size(GTK_IMAGE(icon), iconSize);
    gtk_widget_set_size_request(icon, iconSize, iconSize);
    gtk_box_append(GTK_BOX(box), icon);
    GtkWidget* label = gtk_label_new(item.label.c_str());
    gtk_label_set_ellipsize(GTK_LABEL(label), PANGO_ELLIPSIZE_END);
    gtk_label_set_xalign(GTK_LABEL(label), 0);
    gtk_widget_set_hexpand(label, TRUE);
    PangoAttrList* attributes = pango_attr_list_new();
    pango_attr_list_insert(attributes, pango_attr_font_desc_new(font));
    gtk_label_set_attributes(GTK_LABEL(label), attributes);
    pango_attr_list_unref(attributes);
    gtk_box_append(GTK_BOX(box), label);

    GtkWidget* row = gtk_list_box_row_new();
    gtk_list_box_row_set_child(GTK_LIST_BOX_ROW(row), box);
    gtk_widget_set_size_request(row, -1, static_cast<int>(OverflowList::rowHeight));
    gtk_accessible_update_property(GTK_ACCESSIBLE(row), GTK_ACCESSIBLE_PROPERTY_LABEL, item.label.c_str(),
                                   -1);
    return row;
}

} // namespace

TabOverflow::TabOverflow(GtkWindow* window, GtkWidget* host) {
    m_list = gtk_list_box_new();
    gtk_list_box_set_selection_mode(GTK_LIST_BOX(m_list), GTK_SELECTION_BROWSE);
    // Return picks the focused row; the pointer picks a row pressed and released on it, however long
    // it was held (the list's own single-click activation forgets a press held past a double-click's
    // time).
    gtk_list_box_set_activate_on_single_click(GTK_LIST_BOX(m_list), FALSE);
    GtkGesture* click = gtk_gesture_click_new();
    gtk_gesture_single_set_button(GTK_GESTURE_SINGLE(click), GDK_BUTTON_PRIMARY);
    m_connections.push_back(glib::connect<void(GtkGestureClick*, int, double, double)>(
        click, "pressed", [this](GtkGestureClick*, int, double, double y) {
            GtkListBoxRow* row = gtk_list_box_get_row_at_y(list(), static_cast<int>(y));
            m_pressedRow = row ? gtk_list_box_row_get_index(row) : -1;
        }));
    m_connections.push_back(glib::connect<void(GtkGestureClick*, int, double, double)>(
        click, "released", [this](GtkGestureClick*, int, double, double y) {
            GtkListBoxRow* row = gtk_list_box_get_row_at_y(list(), static_cast<int>(y));
            int pressed = std::exchange(m_pressedRow, -1);
            if (row && gtk_list_box_row_get_index(row) == pressed) pick(pressed);
        }));
    gtk_widget_add_controller(m_list, GTK_EVENT_CONTROLLER(click));
    gtk_widget_add_css_class(m_list, "nimb-overflow");
    gtk_widget_set_margin_top(m_list, static_cast<int>(OverflowList::topMargin));
    gtk_widget_set_margin_bottom(m_list, static_cast<int>(OverflowList::topMargin));
    GtkWidget* scroller = gtk_scrolled_window_new();
    gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scroller), GTK_POLICY_NEVER, GTK_POLICY_AUTOMATIC);
    gtk_scrolled_window_set_child(GTK_SCROLLED_WINDOW(scroller), m_list);
    m_bubble = std::make_unique<Bubble>(window, host, scroller);
    m_connections.push_back(glib::connect<void(GtkListBox*, GtkListBoxRow*)>(
        m_list, "row-activated",
        [this](GtkListBox*, GtkListBoxRow* row) { pick(gtk_list_box_row_get_index(row)); }));
}

void TabOverflow::show(std::vector<Item> items, GtkWidget* anchor, const Rect& rect) {
    if (items.empty()) return;
    m_items = std::move(items);
    while (GtkListBoxRow* row = gtk_list_box_get_row_at_index(list(), 0))
        gtk_list_box_remove(list(), GTK_WIDGET(row));
    Drawing::Font font = Drawing::font(OverflowList::labelPoints);
    std::vector<double> widths;
    for (const auto& item : m_items) {
        widths.push_back(Drawing::textWidth(m_list, item.label, font.get()));
        gtk_list_box_append(list(), makeRow(item, font.get()));
    }
    m_wanted = OverflowList::wanted(widths);
    OverflowList::Size size = OverflowList::shown(widths);
    m_bubble->show(anchor, rect, size.width, size.height);
    // The keyboard goes to the list, for the arrow keys and Return; it comes back when the list closes.
    if (GtkListBoxRow* first = gtk_list_box_get_row_at_index(list(), 0)) {
        gtk_list_box_select_row(list(), first);
        gtk_widget_grab_focus(GTK_WIDGET(first));
    }
}

void TabOverflow::pick(int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= m_items.size()) return;
    std::int64_t index = m_items[static_cast<std::size_t>(row)].index;
    m_bubble->close();
    onPick(index);
}

} // namespace nimb
