#include "chrome/LocationWell.h"

#include "chrome/Drawing.h"
#include "glib/GRefPtr.h"
#include "layout/WindowLayout.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace nimb {

namespace {

namespace Colours = Drawing::Colours;
using Drawing::rect;

constexpr float iconRadius = 3;

graphene_rect_t toGraphene(const TabStrip::Rect& r) {
    return rect(r.x, r.y, r.width, r.height);
}

} // namespace

struct LocationWellGlue {
    static LocationWell* make(GtkWidget* widget) { return new LocationWell(widget); }
    static void release(LocationWell& well) { well.release(); }
};

} // namespace nimb

struct _NimbLocationWell {
    GtkWidget parent_instance;
    nimb::LocationWell* well;
};

G_DEFINE_FINAL_TYPE(NimbLocationWell, nimb_location_well, GTK_TYPE_WIDGET)

namespace {

using nimb::LocationWell;

LocationWell& wellOf(gpointer widget) {
    return *NIMB_LOCATION_WELL(widget)->well;
}

void dragBegan(GtkGestureDrag*, double x, double y, gpointer widget) {
    auto kept = nimb::glib::hold(widget);
    wellOf(widget).pointer().mouseDown({x, y});
}

void dragEnded(GtkGestureDrag* gesture, double dx, double dy, gpointer widget) {
    double x = 0;
    double y = 0;
    if (!gtk_gesture_drag_get_start_point(gesture, &x, &y)) return;
    auto kept = nimb::glib::hold(widget);
    wellOf(widget).pointer().mouseUp({x + dx, y + dy});
}

void moved(GtkEventControllerMotion*, double x, double y, gpointer widget) {
    wellOf(widget).pointer().mouseMoved({x, y});
}

void left(GtkEventControllerMotion*, gpointer widget) {
    wellOf(widget).pointer().mouseExited();
}

void snapshotWidget(GtkWidget* widget, GtkSnapshot* snapshot) {
    wellOf(widget).snapshot(snapshot);
}

void measureWidget(GtkWidget*, GtkOrientation, int, int* minimum, int* natural, int* minimumBaseline,
                   int* naturalBaseline) {
    // The window places the well; it asks for nothing of its own.
    *minimum = 0;
    *natural = 0;
    *minimumBaseline = -1;
    *naturalBaseline = -1;
}

gboolean queryTooltip(GtkWidget* widget, int, int, gboolean keyboard, GtkTooltip* tooltip) {
    if (keyboard) return FALSE;
    auto text = wellOf(widget).tooltip();
    if (!text) return FALSE;
    gtk_tooltip_set_text(tooltip, text->c_str());
    return TRUE;
}

void allocateWidget(GtkWidget* widget, int width, int height, int) {
    wellOf(widget).allocate(width, height);
}

void disposeWidget(GObject* object) {
    NimbLocationWell* self = NIMB_LOCATION_WELL(object);
    if (self->well) nimb::LocationWellGlue::release(*self->well);
    G_OBJECT_CLASS(nimb_location_well_parent_class)->dispose(object);
}

void finalizeWidget(GObject* object) {
    delete std::exchange(NIMB_LOCATION_WELL(object)->well, nullptr);
    G_OBJECT_CLASS(nimb_location_well_parent_class)->finalize(object);
}

} // namespace

static void nimb_location_well_class_init(NimbLocationWellClass* klass) {
    G_OBJECT_CLASS(klass)->dispose = disposeWidget;
    G_OBJECT_CLASS(klass)->finalize = finalizeWidget;
    GtkWidgetClass* widgetClass = GTK_WIDGET_CLASS(klass);
    widgetClass->snapshot = snapshotWidget;
    widgetClass->measure = measureWidget;
    widgetClass->size_allocate = allocateWidget;
    widgetClass->query_tooltip = queryTooltip;
    gtk_widget_class_set_css_name(widgetClass, "locationwell");
    nimb::Drawing::ensureFonts();
}

static void nimb_location_well_init(NimbLocationWell* self) {
    GtkWidget* widget = GTK_WIDGET(self);
    self->well = nimb::LocationWellGlue::make(widget);
    gtk_widget_set_has_tooltip(widget, TRUE);

    GtkGesture* drag = gtk_gesture_drag_new();
    gtk_gesture_single_set_button(GTK_GESTURE_SINGLE(drag), GDK_BUTTON_PRIMARY);
    g_signal_connect(drag, "drag-begin", G_CALLBACK(dragBegan), widget);
    g_signal_connect(drag, "drag-end", G_CALLBACK(dragEnded), widget);
    gtk_widget_add_controller(widget, GTK_EVENT_CONTROLLER(drag));

    GtkEventController* motion = gtk_event_controller_motion_new();
    g_signal_connect(motion, "enter", G_CALLBACK(moved), widget);
    g_signal_connect(motion, "motion", G_CALLBACK(moved), widget);
    g_signal_connect(motion, "leave", G_CALLBACK(left), widget);
    gtk_widget_add_controller(widget, motion);
}

namespace nimb {

LocationWell::LocationWell(GtkWidget* widget)
    : m_widget(widget), m_field(widget), m_shield(ShieldView::create()), m_look(widget), m_pointer(*this) {
    gtk_widget_set_parent(m_shield.get(), widget);
}

void LocationWell::release() {
    m_field.release();
    // The shield stays (without a parent) for as long as the well's object, which hands it out.
    shield().stop();
    if (gtk_widget_get_parent(m_shield.get())) gtk_widget_unparent(m_shield.get());
    m_look.release();
}

GtkWidget* LocationWell::create() {
    return GTK_WIDGET(g_object_new(NIMB_TYPE_LOCATION_WELL, nullptr));
}

LocationWell& LocationWell::of(GtkWidget* widget) {
    return *NIMB_LOCATION_WELL(widget)->well;
}

// ------------------------------------------------------------------------------------------------
// The well around the field

WindowLayout::WellInterior LocationWell::interior() const {
    return WindowLayout::wellInterior({static_cast<double>(gtk_widget_get_width(m_widget)),
                                       static_cast<double>(gtk_widget_get_height(m_widget))});
}

void LocationWell::allocate(int width, int height) {
    auto inside = WindowLayout::wellInterior({static_cast<double>(width), static_cast<double>(height)});
    m_field.place(inside.field);
    if (gtk_widget_get_parent(m_shield.get()) != m_widget) return;
    // A well too narrow for the shield beside its icon shows none.
    auto& place = inside.shield;
    gtk_widget_set_child_visible(m_shield.get(), place.x >= inside.icon.maxX());
    GtkAllocation allocation{static_cast<int>(std::round(place.x)), static_cast<int>(std::round(place.y)),
                             static_cast<int>(std::round(place.width)),
                             static_cast<int>(std::round(place.height))};
    gtk_widget_size_allocate(m_shield.get(), &allocation, -1);
}

void LocationWell::snapshot(GtkSnapshot* snapshot) const {
    double width = gtk_widget_get_width(m_widget);
    double height = gtk_widget_get_height(m_widget);
    if (width < 1 || height < 1) return;
    auto bounds = rect(0, 0, width, height);
    float radius = static_cast<float>(std::min(m_look.radius(), std::min(width, height) / 2));
    Drawing::fillRounded(snapshot, bounds, radius, Colours::sunken);
    Drawing::outlineRounded(snapshot, bounds, radius, 1, m_field.editing() ? Colours::dimInk : Colours::line);

    auto inside = WindowLayout::wellInterior({width, height});
    if (showsKill()) {
        Drawing::circle(snapshot, inside.icon.midX(), inside.icon.midY(), inside.icon.width,
                        m_pointer.pressedKill() ? Colours::pressed : Colours::line);
        Drawing::cross(snapshot, inside.icon.midX(), inside.icon.midY(), 6, 1.5, Colours::ink);
    } else if (GdkTexture* icon = m_look.icon()) {
        auto box = toGraphene(inside.icon);
        GskRoundedRect rounded;
        gsk_rounded_rect_init_from_rect(&rounded, &box, iconRadius);
        gtk_snapshot_push_rounded_clip(snapshot, &rounded);
        Drawing::texture(snapshot, icon, box);
        gtk_snapshot_pop(snapshot);
    } else {
        auto& box = inside.icon;
        Drawing::outlineRounded(snapshot, rect(box.x + 2, box.y + 2, box.width - 4, box.height - 4), 6, 1.5,
                                Colours::line);
    }

    if (gtk_widget_get_parent(m_shield.get()) == m_widget)
        gtk_widget_snapshot_child(m_widget, m_shield.get(), snapshot);
    if (GtkWidget* field = m_field.widget()) gtk_widget_snapshot_child(m_widget, field, snapshot);
}

} // namespace nimb
