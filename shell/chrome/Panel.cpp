#include "chrome/Panel.h"

#include <algorithm>
#include <cmath>
#include <utility>

struct _NimbPanel {
    GtkWidget parent_instance;
    nimb::Panel::Hooks* hooks;
};

G_DEFINE_FINAL_TYPE(NimbPanel, nimb_panel, GTK_TYPE_WIDGET)

namespace {

nimb::Panel::Hooks& hooksOf(gpointer widget) {
    return *NIMB_PANEL(widget)->hooks;
}

void snapshotWidget(GtkWidget* widget, GtkSnapshot* snapshot) {
    auto& hooks = hooksOf(widget);
    double width = gtk_widget_get_width(widget);
    double height = gtk_widget_get_height(widget);
    hooks.drawBelow(snapshot, width, height);
    for (GtkWidget* child = gtk_widget_get_first_child(widget); child;
         child = gtk_widget_get_next_sibling(child))
        if (!GTK_IS_NATIVE(child)) gtk_widget_snapshot_child(widget, child, snapshot); // bubbles draw apart
    hooks.drawAbove(snapshot, width, height);
}

void measureWidget(GtkWidget* widget, GtkOrientation orientation, int, int* minimum, int* natural,
                   int* minimumBaseline, int* naturalBaseline) {
    auto& hooks = hooksOf(widget);
    *minimum = 0;
    *natural = std::max(0, hooks.natural(orientation));
    *minimumBaseline = -1;
    *naturalBaseline = -1;
}

void allocateWidget(GtkWidget* widget, int width, int height, int) {
    hooksOf(widget).allocate(width, height);
    // A bubble hung from the panel stands on a surface of its own, placed again with the panel.
    for (GtkWidget* child = gtk_widget_get_first_child(widget); child;
         child = gtk_widget_get_next_sibling(child))
        if (GTK_IS_POPOVER(child) && gtk_widget_get_visible(child)) gtk_popover_present(GTK_POPOVER(child));
}

void disposeWidget(GObject* object) {
    while (GtkWidget* child = gtk_widget_get_first_child(GTK_WIDGET(object)))
        gtk_widget_unparent(child);
    G_OBJECT_CLASS(nimb_panel_parent_class)->dispose(object);
}

void finalizeWidget(GObject* object) {
    delete std::exchange(NIMB_PANEL(object)->hooks, nullptr);
    G_OBJECT_CLASS(nimb_panel_parent_class)->finalize(object);
}

} // namespace

static void nimb_panel_class_init(NimbPanelClass* klass) {
    G_OBJECT_CLASS(klass)->dispose = disposeWidget;
    G_OBJECT_CLASS(klass)->finalize = finalizeWidget;
    GtkWidgetClass* widgetClass = GTK_WIDGET_CLASS(klass);
    widgetClass->snapshot = snapshotWidget;
    widgetClass->measure = measureWidget;
    widgetClass->size_allocate = allocateWidget;
}

static void nimb_panel_init(NimbPanel* self) {
    self->hooks = new nimb::Panel::Hooks;
}

namespace nimb::Panel {

GtkWidget* create(const char* cssName) {
    GtkWidget* widget = GTK_WIDGET(g_object_new(NIMB_TYPE_PANEL, nullptr));
    if (cssName) gtk_widget_add_css_class(widget, cssName);
    return widget;
}

Hooks& hooks(GtkWidget* panel) {
    return hooksOf(panel);
}

void add(GtkWidget* panel, GtkWidget* child) {
    gtk_widget_insert_before(child, panel, nullptr);
}

void addBottom(GtkWidget* panel, GtkWidget* child) {
    gtk_widget_insert_after(child, panel, nullptr);
}

void addBelow(GtkWidget* panel, GtkWidget* child, GtkWidget* sibling) {
    gtk_widget_insert_before(child, panel, sibling);
}

void place(GtkWidget* child, const std::optional<Rect>& frame) {
    if (!frame || frame->width < 1 || frame->height < 1) {
        gtk_widget_set_child_visible(child, FALSE);
        return;
    }
    gtk_widget_set_child_visible(child, TRUE);
    // GTK wants a widget measured before it is given a size.
    int minimum = 0;
    int natural = 0;
    gtk_widget_measure(child, GTK_ORIENTATION_VERTICAL, -1, &minimum, &natural, nullptr, nullptr);
    gtk_widget_measure(child, GTK_ORIENTATION_HORIZONTAL, -1, &minimum, &natural, nullptr, nullptr);
    GtkAllocation allocation{static_cast<int>(std::round(frame->x)), static_cast<int>(std::round(frame->y)),
                             static_cast<int>(std::round(frame->width)),
                             static_cast<int>(std::round(frame->height))};
    gtk_widget_size_allocate(child, &allocation, -1);
}

} // namespace nimb::Panel
