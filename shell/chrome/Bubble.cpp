#include "chrome/Bubble.h"

#include "chrome/Drawing.h"
#include "chrome/Panel.h"

#include <gdk/x11/gdkx.h>

#include <cmath>
#include <utility>

namespace nimb {

namespace {

using Rect = BubbleLayout::Rect;

// Where the surface of a window stands on the screen. Only the X11 backend says; elsewhere the window
// is taken to stand at the screen's origin.
graphene_point_t surfaceOrigin(GdkSurface* surface) {
    graphene_point_t origin = GRAPHENE_POINT_INIT(0, 0);
    if (!GDK_IS_X11_SURFACE(surface)) return origin;
    Display* display = gdk_x11_display_get_xdisplay(gdk_surface_get_display(surface));
    Window child = 0;
    int x = 0;
    int y = 0;
    if (XTranslateCoordinates(display, gdk_x11_surface_get_xid(surface), DefaultRootWindow(display), 0, 0, &x,
                              &y, &child)) {
        double scale = gdk_surface_get_scale_factor(surface);
        origin = GRAPHENE_POINT_INIT(static_cast<float>(x / scale), static_cast<float>(y / scale));
    }
    return origin;
}

// The part of the window's screen that windows may use: without the panels, where the desktop says.
Rect visibleArea(GdkSurface* surface) {
    GdkDisplay* display = gdk_surface_get_display(surface);
    GdkMonitor* monitor = gdk_display_get_monitor_at_surface(display, surface);
    GdkRectangle area{0, 0, 0, 0};
    if (monitor && GDK_IS_X11_MONITOR(monitor))
        gdk_x11_monitor_get_workarea(monitor, &area);
    else if (monitor)
        gdk_monitor_get_geometry(monitor, &area);
    if (area.width <= 0 || area.height <= 0) {
        // No monitor to ask: the window's own extent is all that is known to be on the screen.
        area.width = gdk_surface_get_width(surface);
        area.height = gdk_surface_get_height(surface);
    }
    return {static_cast<double>(area.x), static_cast<double>(area.y), static_cast<double>(area.width),
            static_cast<double>(area.height)};
}

} // namespace

Bubble::Bubble(GtkWindow* window, GtkWidget* host, GtkWidget* content) : m_window(window), m_host(host) {
    m_popover = glib::GRefPtr<GtkWidget>(gtk_popover_new());
    GtkPopover* popover = GTK_POPOVER(m_popover.get());
    gtk_popover_set_autohide(popover, FALSE);
    gtk_popover_set_has_arrow(popover, TRUE);
    gtk_popover_set_position(popover, GTK_POS_BOTTOM);
    gtk_widget_add_css_class(m_popover.get(), "nimb-bubble");
    // Without a compositor nothing shows through a surface: what lies around a rounded, shadowed
    // bubble with an arrow would be drawn black. There the bubble is a plain rectangle.
    if (!gdk_display_is_composited(gtk_widget_get_display(host))) {
        gtk_popover_set_has_arrow(popover, FALSE);
        gtk_widget_add_css_class(m_popover.get(), "nimb-opaque");
    }
    // The content is as large as the bubble says, whatever it would like to be itself (a web view
    // would like to be as large as the page it last showed).
    GtkWidget* frame = Panel::create("nimb-bubble-content");
    Panel::add(frame, content);
    auto& hooks = Panel::hooks(frame);
    m_watchers.push_back(hooks.natural.connect([this](GtkOrientation orientation) {
        const Rect& area = m_placement.content;
        return static_cast<int>(
            std::lround(orientation == GTK_ORIENTATION_HORIZONTAL ? area.width : area.height));
    }));
    m_watchers.push_back(hooks.drawAbove.connect([this](GtkSnapshot* snapshot, double width, double height) {
        if (m_covered) Drawing::fill(snapshot, Drawing::rect(0, 0, width, height), Drawing::Colours::face);
    }));
    m_watchers.push_back(hooks.allocate.connect([content](int width, int height) {
        Panel::place(content, Rect{0, 0, static_cast<double>(width), static_cast<double>(height)});
    }));
    gtk_popover_set_child(popover, frame);
    m_frame = frame;
    gtk_widget_set_parent(m_popover.get(), m_host);

    // A press in the window away from the bubble and its anchor. The watch only looks; the press goes
    // on to its target.
    GtkGesture* press = gtk_gesture_click_new();
    gtk_gesture_single_set_button(GTK_GESTURE_SINGLE(press), 0);
    gtk_event_controller_set_propagation_phase(GTK_EVENT_CONTROLLER(press), GTK_PHASE_CAPTURE);
    m_watchers.push_back(glib::connect<void(GtkGestureClick*, int, double, double)>(
        press, "pressed", [this](GtkGestureClick* gesture, int, double x, double y) {
            // GTK carries a press in the bubble through the window's widgets too: it is not outside.
            GdkEvent* event = gtk_event_controller_get_current_event(GTK_EVENT_CONTROLLER(gesture));
            GtkNative* bubble = GTK_NATIVE(m_popover.get());
            if (event && gdk_event_get_surface(event) == gtk_native_get_surface(bubble)) return;
            pressed(x, y);
        }));
    gtk_widget_add_controller(GTK_WIDGET(m_window), GTK_EVENT_CONTROLLER(press));

    auto closeOn = [this](const char* signal) {
        m_watchers.push_back(glib::connect<void(GObject*, GParamSpec*)>(
            m_window, signal, [this](GObject*, GParamSpec*) { close(); }));
    };
    closeOn("notify::default-width");
    closeOn("notify::default-height");
    closeOn("notify::maximized");
    closeOn("notify::fullscreened");
    m_watchers.push_back(glib::connect<void(GObject*, GParamSpec*)>(m_window, "notify::is-active",
                                                                    [this](GObject*, GParamSpec*) {
                                                                        if (!gtk_window_is_active(m_window))
                                                                            close();
                                                                    }));
    m_watchers.push_back(glib::connect<gboolean(GtkWindow*)>(m_window, "close-request", [this](GtkWindow*) {
        close();
        return FALSE;
    }));
    // The keyboard taken into the bubble is given back where it was when it closes, however it closes
    // (the popover also closes itself on Escape while it has the keyboard).
    m_watchers.push_back(glib::connect<void(GObject*, GParamSpec*)>(
        m_window, "notify::focus-widget", [this](GObject*, GParamSpec*) {
            GtkWidget* focus = gtk_root_get_focus(GTK_ROOT(m_window));
            if (isVisible() && focus && gtk_widget_is_ancestor(focus, m_popover.get())) m_tookFocus = true;
        }));
    m_watchers.push_back(glib::connect<void(GtkPopover*)>(popover, "closed", [this](GtkPopover*) {
        auto before = std::move(m_focusBefore);
        if (std::exchange(m_tookFocus, false) && before &&
            gtk_widget_get_root(before.get()) == GTK_ROOT(m_window))
            gtk_widget_grab_focus(before.get());
    }));
}

Bubble::~Bubble() {
    m_watchers.clear();
    if (m_anchor) g_object_remove_weak_pointer(G_OBJECT(m_anchor), reinterpret_cast<gpointer*>(&m_anchor));
    if (gtk_widget_get_parent(m_popover.get())) gtk_widget_unparent(m_popover.get());
}

void Bubble::setName(std::string_view name) {
    std::string text(name);
    gtk_accessible_update_property(GTK_ACCESSIBLE(m_popover.get()), GTK_ACCESSIBLE_PROPERTY_LABEL,
                                   text.c_str(), -1);
}

void Bubble::cover(bool covered) {
    if (covered == m_covered) return;
    m_covered = covered;
    gtk_widget_queue_draw(m_frame);
}

bool Bubble::isVisible() const {
    return gtk_widget_get_visible(m_popover.get());
}

std::optional<Rect> Bubble::anchorInHost() const {
    if (!m_anchor) return std::nullopt;
    graphene_point_t from =
        GRAPHENE_POINT_INIT(static_cast<float>(m_anchorRect.x), static_cast<float>(m_anchorRect.y));
    graphene_point_t to;
    if (!gtk_widget_compute_point(m_anchor, m_host, &from, &to)) return std::nullopt;
    return Rect{to.x, to.y, m_anchorRect.width, m_anchorRect.height};
}

void Bubble::show(GtkWidget* anchor, const Rect& rect, double width, double height) {
    GtkNative* native = gtk_widget_get_native(m_host);
    if (!anchor || !native || gtk_widget_get_root(anchor) != GTK_ROOT(m_window)) return;
    if (m_anchor != anchor) {
        if (m_anchor)
            g_object_remove_weak_pointer(G_OBJECT(m_anchor), reinterpret_cast<gpointer*>(&m_anchor));
        m_anchor = anchor;
        g_object_add_weak_pointer(G_OBJECT(m_anchor), reinterpret_cast<gpointer*>(&m_anchor));
    }
    m_anchorRect = rect;
    auto inHost = anchorInHost();
    if (!inHost) return;

    // The host's origin on the screen: the surface's, moved by the native's shadow and the host's place.
    GdkSurface* surface = gtk_native_get_surface(native);
    graphene_point_t origin = surfaceOrigin(surface);
    double shadowX = 0;
    double shadowY = 0;
    gtk_native_get_surface_transform(native, &shadowX, &shadowY);
    graphene_point_t zero = GRAPHENE_POINT_INIT(0, 0);
    graphene_point_t hostPoint;
    if (!gtk_widget_compute_point(m_host, GTK_WIDGET(native), &zero, &hostPoint)) return;
    double dx = origin.x + shadowX + hostPoint.x;
    double dy = origin.y + shadowY + hostPoint.y;
    Rect anchorOnScreen{inHost->x + dx, inHost->y + dy, inHost->width, inHost->height};
    m_placement = BubbleLayout::place(anchorOnScreen, visibleArea(surface), width, height);

    GtkPopover* popover = GTK_POPOVER(m_popover.get());
    GtkWidget* content = gtk_popover_get_child(popover);
    gtk_widget_set_size_request(content, static_cast<int>(std::lround(m_placement.content.width)),
                                static_cast<int>(std::lround(m_placement.content.height)));
    gtk_widget_queue_resize(content);
    GdkRectangle pointing{static_cast<int>(std::floor(inHost->x)), static_cast<int>(std::floor(inHost->y)),
                          std::max(1, static_cast<int>(std::lround(inHost->width))),
                          std::max(1, static_cast<int>(std::lround(inHost->height)))};
    gtk_popover_set_pointing_to(popover, &pointing);
    // GTK centres the bubble under the anchor; the offset moves it to where the layout keeps it clear
    // of the screen's edges, and the arrow still points at the anchor.
    double centred = anchorOnScreen.midX() - m_placement.frame.width / 2;
    gtk_popover_set_offset(popover, static_cast<int>(std::lround(m_placement.frame.x - centred)), 0);

    if (!isVisible()) {
        GtkWidget* focus = gtk_root_get_focus(GTK_ROOT(m_window));
        m_focusBefore = glib::GRefPtr<GtkWidget>(focus);
        gtk_popover_popup(popover);
    } else {
        gtk_popover_present(popover);
    }
}

void Bubble::close() {
    if (isVisible()) gtk_popover_popdown(GTK_POPOVER(m_popover.get()));
}

void Bubble::pressed(double x, double y) {
    if (!isVisible()) return;
    // A press on the anchor is the anchor's own: it closes the bubble itself, and must not find it
    // closed already and open it again.
    if (auto anchor = anchorInHost()) {
        graphene_point_t from = GRAPHENE_POINT_INIT(static_cast<float>(x), static_cast<float>(y));
        graphene_point_t to;
        if (gtk_widget_compute_point(GTK_WIDGET(m_window), m_host, &from, &to) &&
            anchor->contains({to.x, to.y}))
            return;
    }
    close();
}

} // namespace nimb
