#include "chrome/TabStripView.h"

#include "chrome/ClickCounter.h"
#include "chrome/Drawing.h"

#include <cmath>
#include <utility>

namespace nimb {

// The GObject side: construction, the widget's virtual functions and its event controller, each
// forwarding to the C++ object.
struct TabStripViewGlue {
    static TabStripView* make(GtkWidget* widget) { return new TabStripView(widget); }
    static void beginWindowMove(GtkWidget* widget, GtkGesture* drag);
    static void handDragsToWindowSystem(TabStripView& view, GtkWidget* widget, GtkGesture* drag) {
        view.m_windowMove =
            view.m_input.performWindowDrag.connect([widget, drag] { beginWindowMove(widget, drag); });
    }
    // Lets go of the icons, which come from outside.
    static void release(TabStripView& view) { view.m_content.icons.clear(); }
};

} // namespace nimb

struct _NimbTabStripView {
    GtkWidget parent_instance;
    nimb::TabStripView* view;
    nimb::ClickCounter* clicks;
    GtkGesture* drag; // owned by the widget
};

G_DEFINE_FINAL_TYPE(NimbTabStripView, nimb_tab_strip_view, GTK_TYPE_WIDGET)

namespace {

using nimb::TabStripView;

TabStripView& viewOf(gpointer widget) {
    return *NIMB_TAB_STRIP_VIEW(widget)->view;
}

unsigned buttonOf(GtkGestureDrag* gesture) {
    return gtk_gesture_single_get_current_button(GTK_GESTURE_SINGLE(gesture));
}

// One gesture follows every press from beginning to end, whichever the button and however far the
// pointer travels in between; the strip counts multiple clicks itself. (A click gesture beside it
// gives up its count when the drag gesture takes part in the same press, and gives up on a release
// once the pointer strays.)
void dragBegan(GtkGestureDrag* gesture, double x, double y, gpointer widget) {
    unsigned button = buttonOf(gesture);
    int count = NIMB_TAB_STRIP_VIEW(widget)->clicks->press(
        GTK_WIDGET(widget), button,
        gtk_event_controller_get_current_event_time(GTK_EVENT_CONTROLLER(gesture)), x, y);
    if (button != GDK_BUTTON_PRIMARY) return;
    // A callback may close the window around the strip.
    auto kept = nimb::glib::hold(widget);
    viewOf(widget).input().mouseDown({x, y}, count);
}

void dragUpdated(GtkGestureDrag* gesture, double dx, double dy, gpointer widget) {
    double x = 0;
    double y = 0;
    if (buttonOf(gesture) != GDK_BUTTON_PRIMARY || !gtk_gesture_drag_get_start_point(gesture, &x, &y)) return;
    auto kept = nimb::glib::hold(widget);
    viewOf(widget).input().mouseDragged({x, y}, {x + dx, y + dy});
}

void dragEnded(GtkGestureDrag* gesture, double dx, double dy, gpointer widget) {
    double x = 0;
    double y = 0;
    if (!gtk_gesture_drag_get_start_point(gesture, &x, &y)) return;
    unsigned button = buttonOf(gesture);
    auto kept = nimb::glib::hold(widget);
    if (button == GDK_BUTTON_PRIMARY)
        viewOf(widget).input().mouseUp({x + dx, y + dy});
    else
        viewOf(widget).input().otherMouseUp({x + dx, y + dy}, button);
}

void moved(GtkEventControllerMotion*, double x, double y, gpointer widget) {
    viewOf(widget).input().hover({x, y});
}

void left(GtkEventControllerMotion*, gpointer widget) {
    viewOf(widget).input().mouseExited();
}

gboolean queryTooltip(GtkWidget* widget, int x, int y, gboolean keyboard, GtkTooltip* tooltip) {
    if (keyboard) return FALSE;
    auto tip = viewOf(widget).tooltip({static_cast<double>(x), static_cast<double>(y)});
    if (!tip) return FALSE;
    gtk_tooltip_set_text(tooltip, tip->text.c_str());
    GdkRectangle area{static_cast<int>(std::floor(tip->area.x)), static_cast<int>(std::floor(tip->area.y)),
                      static_cast<int>(std::ceil(tip->area.width)),
                      static_cast<int>(std::ceil(tip->area.height))};
    gtk_tooltip_set_tip_area(tooltip, &area);
    return TRUE;
}

void snapshotWidget(GtkWidget* widget, GtkSnapshot* snapshot) {
    viewOf(widget).snapshot(snapshot);
}

void measureWidget(GtkWidget*, GtkOrientation orientation, int, int* minimum, int* natural,
                   int* minimumBaseline, int* naturalBaseline) {
    // As tall as the strip is; as wide as the window makes it, since the tabs share whatever room
    // there is.
    int size = orientation == GTK_ORIENTATION_VERTICAL ? static_cast<int>(nimb::TabStrip::height) : 0;
    *minimum = size;
    *natural = size;
    *minimumBaseline = -1;
    *naturalBaseline = -1;
}

void disposeWidget(GObject* object) {
    nimb::TabStripViewGlue::release(viewOf(object));
    G_OBJECT_CLASS(nimb_tab_strip_view_parent_class)->dispose(object);
}

void finalizeWidget(GObject* object) {
    NimbTabStripView* self = NIMB_TAB_STRIP_VIEW(object);
    delete std::exchange(self->view, nullptr);
    delete std::exchange(self->clicks, nullptr);
    G_OBJECT_CLASS(nimb_tab_strip_view_parent_class)->finalize(object);
}

} // namespace

static void nimb_tab_strip_view_class_init(NimbTabStripViewClass* klass) {
    G_OBJECT_CLASS(klass)->dispose = disposeWidget;
    G_OBJECT_CLASS(klass)->finalize = finalizeWidget;
    GtkWidgetClass* widgetClass = GTK_WIDGET_CLASS(klass);
    widgetClass->snapshot = snapshotWidget;
    widgetClass->measure = measureWidget;
    widgetClass->query_tooltip = queryTooltip;
    gtk_widget_class_set_css_name(widgetClass, "tabstrip");
    nimb::Drawing::ensureFonts();
}

static void nimb_tab_strip_view_init(NimbTabStripView* self) {
    GtkWidget* widget = GTK_WIDGET(self);
    self->view = nimb::TabStripViewGlue::make(widget);
    self->clicks = new nimb::ClickCounter;

    self->drag = gtk_gesture_drag_new();
    gtk_gesture_single_set_button(GTK_GESTURE_SINGLE(self->drag), 0);
    g_signal_connect(self->drag, "drag-begin", G_CALLBACK(dragBegan), widget);
    g_signal_connect(self->drag, "drag-update", G_CALLBACK(dragUpdated), widget);
    g_signal_connect(self->drag, "drag-end", G_CALLBACK(dragEnded), widget);
    gtk_widget_add_controller(widget, GTK_EVENT_CONTROLLER(self->drag));

    GtkEventController* motion = gtk_event_controller_motion_new();
    g_signal_connect(motion, "enter", G_CALLBACK(moved), widget);
    g_signal_connect(motion, "motion", G_CALLBACK(moved), widget);
    g_signal_connect(motion, "leave", G_CALLBACK(left), widget);
    gtk_widget_add_controller(widget, motion);

    gtk_widget_set_has_tooltip(widget, TRUE);

    nimb::TabStripViewGlue::handDragsToWindowSystem(*self->view, widget, self->drag);
}

namespace nimb {

void TabStripViewGlue::beginWindowMove(GtkWidget* widget, GtkGesture* drag) {
    double x = 0;
    double y = 0;
    if (!gtk_gesture_drag_get_start_point(GTK_GESTURE_DRAG(drag), &x, &y)) return;
    GtkNative* native = gtk_widget_get_native(widget);
    if (!native) return;
    GdkSurface* surface = gtk_native_get_surface(native);
    if (!surface || !GDK_IS_TOPLEVEL(surface)) return;

    graphene_point_t start = GRAPHENE_POINT_INIT(static_cast<float>(x), static_cast<float>(y));
    graphene_point_t inNative;
    if (!gtk_widget_compute_point(widget, GTK_WIDGET(native), &start, &inNative)) return;
    double offsetX = 0;
    double offsetY = 0;
    gtk_native_get_surface_transform(native, &offsetX, &offsetY);

    gdk_toplevel_begin_move(GDK_TOPLEVEL(surface), gtk_gesture_get_device(drag),
                            static_cast<int>(gtk_gesture_single_get_current_button(GTK_GESTURE_SINGLE(drag))),
                            inNative.x + offsetX, inNative.y + offsetY,
                            gtk_event_controller_get_current_event_time(GTK_EVENT_CONTROLLER(drag)));
    // The window system has the pointer now; this press is over.
    gtk_event_controller_reset(GTK_EVENT_CONTROLLER(drag));
}

GtkWidget* TabStripView::create() {
    return GTK_WIDGET(g_object_new(NIMB_TYPE_TAB_STRIP_VIEW, nullptr));
}

TabStripView& TabStripView::of(GtkWidget* widget) {
    return *NIMB_TAB_STRIP_VIEW(widget)->view;
}

// State

void TabStripView::setLabels(std::vector<std::string> labels) {
    m_content.labels = std::move(labels);
    m_input.forgetCloseFrom(m_content.count());
    gtk_widget_trigger_tooltip_query(m_widget);
    m_input.refresh();
    gtk_widget_queue_draw(m_widget);
}

void TabStripView::setIcons(std::vector<glib::GRefPtr<GdkTexture>> icons) {
    m_content.icons = std::move(icons);
    gtk_widget_queue_draw(m_widget);
}

void TabStripView::setCurrent(Index current) {
    if (current == m_content.current) return;
    m_content.current = current;
    m_input.refresh();
    gtk_widget_queue_draw(m_widget);
}

void TabStripView::setTips(std::vector<std::string> tips) {
    m_content.tips = std::move(tips);
    gtk_widget_trigger_tooltip_query(m_widget);
}

void TabStripView::setStealth(bool stealth) {
    if (stealth == m_content.stealth) return;
    m_content.stealth = stealth;
    m_input.forgetClose();
    gtk_widget_trigger_tooltip_query(m_widget);
    m_input.refresh();
    gtk_widget_queue_draw(m_widget);
}

void TabStripView::setGapAfterCurrent(double gap) {
    if (gap == m_content.gapAfterCurrent) return;
    m_content.gapAfterCurrent = gap;
    m_input.refresh();
    gtk_widget_queue_draw(m_widget);
}

void TabStripView::setBottomLine(bool bottomLine) {
    if (bottomLine == m_content.bottomLine) return;
    m_content.bottomLine = bottomLine;
    gtk_widget_queue_draw(m_widget);
}

void TabStripView::setInsets(double left, double right) {
    if (left == m_content.leftInset && right == m_content.rightInset) return;
    m_content.leftInset = left;
    m_content.rightInset = right;
    m_input.refresh();
    gtk_widget_queue_draw(m_widget);
}

TabStrip::Layout TabStripView::layout() const {
    int height = gtk_widget_get_height(m_widget);
    return m_content.layout(static_cast<double>(gtk_widget_get_width(m_widget)),
                            height > 0 ? static_cast<double>(height) : TabStrip::height);
}

std::optional<TabStripView::Tip> TabStripView::tooltip(Point point) const {
    if (!m_content.stealth) return std::nullopt;
    TabStrip::Layout strip = layout();
    auto index = strip.tabIndex(point);
    if (!index) return std::nullopt;
    auto tabFrame = strip.frame(*index);
    if (!tabFrame) return std::nullopt;
    return Tip{m_content.tip(*index), *tabFrame};
}

// Drawing

void TabStripView::snapshot(GtkSnapshot* snapshot) const {
    TabStripPainter(m_widget, m_content, m_input.pointer(), drawField).paint(snapshot, layout());
}

} // namespace nimb
