#include "chrome/TabStripView.h"

#include "chrome/Drawing.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace nimb {

namespace {

using Drawing::rect;
namespace Colours = Drawing::Colours;

constexpr double labelPoints = 12;
constexpr double iconSize = 16;
constexpr double labelStart = 36; // from a tab's left edge: the icon's place and a little air
constexpr double labelEndMargin = 10;
constexpr double fieldTextStart = 37; // as in the location well: the icon box at 12, then 9 points
constexpr double pillInset = 4;       // tabs, fields and buttons stand this far from the strip's edges
constexpr double separatorHeight = 16;
constexpr unsigned middleButton = 2;

graphene_rect_t toGraphene(const TabStrip::Rect& r) {
    return rect(r.x, r.y, r.width, r.height);
}

// Counts the presses of a multiple click: another press of the same button soon enough after the
// last, and near enough to it, adds one; anything else starts again at one.
class ClickCounter {
public:
    int press(GtkWidget* widget, unsigned button, guint32 time, double x, double y) {
        int interval = 400;
        int distance = 5;
        g_object_get(gtk_widget_get_settings(widget), "gtk-double-click-time", &interval,
                     "gtk-double-click-distance", &distance, nullptr);
        bool continues = m_count > 0 && button == m_button &&
                         time - m_time <= static_cast<guint32>(interval) && std::abs(x - m_x) <= distance &&
                         std::abs(y - m_y) <= distance;
        m_count = continues ? m_count + 1 : 1;
        m_button = button;
        m_time = time;
        m_x = x;
        m_y = y;
        return m_count;
    }

private:
    int m_count = 0;
    unsigned m_button = 0;
    guint32 m_time = 0;
    double m_x = 0;
    double m_y = 0;
};

} // namespace

// The GObject side: construction, the widget's virtual functions and its event controller, each
// forwarding to the C++ object.
struct TabStripViewGlue {
    static TabStripView* make(GtkWidget* widget) { return new TabStripView(widget); }
    static void beginWindowMove(GtkWidget* widget, GtkGesture* drag);
    static void handDragsToWindowSystem(TabStripView& view, GtkWidget* widget, GtkGesture* drag) {
        view.m_windowMove = view.performWindowDrag.connect([widget, drag] { beginWindowMove(widget, drag); });
    }
    // Lets go of the icons, which come from outside.
    static void release(TabStripView& view) { view.m_icons.clear(); }
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
    viewOf(widget).mouseDown({x, y}, count);
}

void dragUpdated(GtkGestureDrag* gesture, double dx, double dy, gpointer widget) {
    double x = 0;
    double y = 0;
    if (buttonOf(gesture) != GDK_BUTTON_PRIMARY || !gtk_gesture_drag_get_start_point(gesture, &x, &y)) return;
    auto kept = nimb::glib::hold(widget);
    viewOf(widget).mouseDragged({x, y}, {x + dx, y + dy});
}

void dragEnded(GtkGestureDrag* gesture, double dx, double dy, gpointer widget) {
    double x = 0;
    double y = 0;
    if (!gtk_gesture_drag_get_start_point(gesture, &x, &y)) return;
    unsigned button = buttonOf(gesture);
    auto kept = nimb::glib::hold(widget);
    if (button == GDK_BUTTON_PRIMARY)
        viewOf(widget).mouseUp({x + dx, y + dy});
    else
        viewOf(widget).otherMouseUp({x + dx, y + dy}, button);
}

void moved(GtkEventControllerMotion*, double x, double y, gpointer widget) {
    viewOf(widget).hover({x, y});
}

void left(GtkEventControllerMotion*, gpointer widget) {
    viewOf(widget).mouseExited();
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
    m_labels = std::move(labels);
    if (m_pressedClose && *m_pressedClose >= static_cast<Index>(m_labels.size())) m_pressedClose.reset();
    gtk_widget_trigger_tooltip_query(m_widget);
    refreshHover();
    redraw();
}

void TabStripView::setIcons(std::vector<glib::GRefPtr<GdkTexture>> icons) {
    m_icons = std::move(icons);
    redraw();
}

void TabStripView::setCurrent(Index current) {
    if (current == m_current) return;
    m_current = current;
    refreshHover();
    redraw();
}

void TabStripView::setTips(std::vector<std::string> tips) {
    m_tips = std::move(tips);
    gtk_widget_trigger_tooltip_query(m_widget);
}

void TabStripView::setStealth(bool stealth) {
    if (stealth == m_stealth) return;
    m_stealth = stealth;
    m_pressedClose.reset();
    gtk_widget_trigger_tooltip_query(m_widget);
    refreshHover();
    redraw();
}

void TabStripView::setGapAfterCurrent(double gap) {
    if (gap == m_gapAfterCurrent) return;
    m_gapAfterCurrent = gap;
    refreshHover();
    redraw();
}

void TabStripView::setBottomLine(bool bottomLine) {
    if (bottomLine == m_bottomLine) return;
    m_bottomLine = bottomLine;
    redraw();
}

void TabStripView::setLeftInset(double inset) {
    if (inset == m_leftInset) return;
    m_leftInset = inset;
    refreshHover();
    redraw();
}

void TabStripView::setRightInset(double inset) {
    if (inset == m_rightInset) return;
    m_rightInset = inset;
    refreshHover();
    redraw();
}

std::string TabStripView::tip(Index index) const {
    if (index < 0) return {};
    auto k = static_cast<std::size_t>(index);
    if (k < m_tips.size()) return m_tips[k];
    return k < m_labels.size() ? m_labels[k] : std::string();
}

GdkTexture* TabStripView::icon(Index index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= m_icons.size()) return nullptr;
    return m_icons[static_cast<std::size_t>(index)].get();
}

TabStrip::Layout TabStripView::layout() const {
    int height = gtk_widget_get_height(m_widget);
    return {.width = static_cast<double>(gtk_widget_get_width(m_widget)),
            .height = height > 0 ? static_cast<double>(height) : TabStrip::height,
            .count = static_cast<Index>(m_labels.size()),
            .current = m_current,
            .stealth = m_stealth,
            .gapAfterCurrent = m_gapAfterCurrent,
            .leftInset = m_leftInset,
            .rightInset = m_rightInset};
}

void TabStripView::redraw() const {
    gtk_widget_queue_draw(m_widget);
}

void TabStripView::refreshHover() {
    if (m_pointer)
        hover(*m_pointer);
    else if (m_hovered && *m_hovered >= static_cast<Index>(m_labels.size()))
        mouseExited();
}

// Pointer

bool TabStripView::hover(Point point) {
    m_pointer = point;
    TabStrip::Layout strip = layout();
    bool onNew = strip.newFrame().contains(point);
    auto caret = strip.caretFrame();
    bool onCaret = !onNew && caret && caret->contains(point);
    std::optional<Index> tab = onNew || onCaret ? std::nullopt : strip.tabIndex(point);
    bool onClose = false;
    if (tab) {
        auto tabFrame = strip.frame(*tab);
        onClose = tabFrame && strip.hasCloseBox(*tab, *tabFrame, tab) &&
                  strip.closeHitArea(*tabFrame).contains(point);
    }

    bool changed =
        tab != m_hovered || onClose != m_hoveredClose || onNew != m_hoveredNew || onCaret != m_hoveredCaret;
    m_hovered = tab;
    m_hoveredClose = onClose;
    m_hoveredNew = onNew;
    m_hoveredCaret = onCaret;
    if (changed) redraw();
    return changed;
}

void TabStripView::mouseExited() {
    m_pointer.reset();
    bool changed = m_hovered || m_hoveredClose || m_hoveredNew || m_hoveredCaret;
    m_hovered.reset();
    m_hoveredClose = m_hoveredNew = m_hoveredCaret = false;
    if (changed) redraw();
}

void TabStripView::mouseDown(Point point, int clickCount) {
    // A press can come without a motion before it (the first event in a window just shown).
    hover(point);
    m_dragArmed = false;
    TabStrip::Layout strip = layout();

    if (strip.newFrame().contains(point)) {
        onNew();
        return;
    }
    if (auto caret = strip.caretFrame(); caret && caret->contains(point)) {
        showOverflow(*caret);
        return;
    }
    if (auto index = strip.tabIndex(point)) {
        auto tabFrame = strip.frame(*index);
        if (tabFrame && strip.hasCloseBox(*index, *tabFrame, m_hovered) &&
            strip.closeHitArea(*tabFrame).contains(point)) {
            // Closed on release, if the pointer is still on the box then.
            m_pressedClose = index;
            redraw();
            return;
        }
        onSelect(*index);
        return;
    }
    if (clickCount == 2) {
        onNew();
        return;
    }
    m_dragArmed = true;
}

void TabStripView::mouseDragged(Point start, Point point) {
    if (!m_dragArmed) return;
    auto whole = [](double value) { return static_cast<int>(std::lround(value)); };
    if (!gtk_drag_check_threshold(m_widget, whole(start.x), whole(start.y), whole(point.x), whole(point.y)))
        return;
    m_dragArmed = false;
    performWindowDrag();
}

void TabStripView::mouseUp(Point point) {
    m_dragArmed = false;
    auto pressed = std::exchange(m_pressedClose, std::nullopt);
    if (!pressed) return;
    redraw();
    TabStrip::Layout strip = layout();
    auto tabFrame = strip.frame(*pressed);
    if (tabFrame && strip.closeHitArea(*tabFrame).contains(point)) onClose(*pressed);
}

void TabStripView::otherMouseUp(Point point, unsigned button) {
    if (button != middleButton) return;
    if (auto index = tabIndex(point)) onClose(*index);
}

void TabStripView::showOverflow(const Rect& caret) {
    if (onOverflow) {
        onOverflow(caret);
        return;
    }
    auto hidden = hiddenTabs();
    if (!hidden.empty()) onSelect(hidden.front());
}

std::optional<TabStripView::Tip> TabStripView::tooltip(Point point) const {
    if (!m_stealth) return std::nullopt;
    TabStrip::Layout strip = layout();
    auto index = strip.tabIndex(point);
    if (!index) return std::nullopt;
    auto tabFrame = strip.frame(*index);
    if (!tabFrame) return std::nullopt;
    return Tip{tip(*index), *tabFrame};
}

// Drawing

void TabStripView::snapshot(GtkSnapshot* snapshot) const {
    TabStrip::Layout strip = layout();
    Drawing::fill(snapshot, rect(0, 0, strip.width, strip.height), Colours::face);

    TabStrip::Range shown = strip.shown();
    std::vector<Rect> frames = strip.tabFrames();
    for (std::size_t k = 0; k < frames.size(); ++k) {
        Index index = shown.lowerBound + static_cast<Index>(k);
        if (m_stealth)
            drawStealthTab(snapshot, strip, index, frames[k]);
        else
            drawTab(snapshot, strip, index, frames[k]);
    }

    // Hairlines between neighbouring tabs that have no ground of their own.
    if (!m_stealth) {
        for (std::size_t k = 1; k < frames.size(); ++k) {
            Index right = shown.lowerBound + static_cast<Index>(k);
            Index leftIndex = right - 1;
            auto plain = [&](Index index) { return index != m_current && m_hovered != index; };
            if (!plain(leftIndex) || !plain(right)) continue;
            double x = std::round(frames[k].minX());
            Drawing::fill(snapshot,
                          rect(x, std::round(frames[k].midY() - separatorHeight / 2), 1, separatorHeight),
                          Colours::line);
        }
    }

    if (auto caret = strip.caretFrame()) {
        if (m_hoveredCaret)
            Drawing::fillRounded(snapshot,
                                 rect(caret->x + 2, pillInset + 2, caret->width - 4, strip.height - 12), 6,
                                 Colours::raised);
        Drawing::chevronDown(snapshot, caret->midX(), caret->midY(), 9, 1.5,
                             m_hoveredCaret ? Colours::ink : Colours::dimInk);
    }

    Rect box = strip.newFrame();
    if (m_hoveredNew)
        Drawing::fillRounded(snapshot, rect(box.x, pillInset + 2, box.width, strip.height - 12), 6,
                             Colours::raised);
    Drawing::plus(snapshot, box.midX(), box.midY(), 11, 1.5, m_hoveredNew ? Colours::ink : Colours::dimInk);

    if (m_bottomLine) Drawing::fill(snapshot, rect(0, strip.height - 1, strip.width, 1), Colours::line);
}

void TabStripView::drawTab(GtkSnapshot* snapshot, const TabStrip::Layout& strip, Index index,
                           const Rect& frame) const {
    bool isCurrent = index == m_current;
    bool isHovered = m_hovered == index;
    auto pill = rect(frame.x + 2, pillInset, frame.width - 4, frame.height - 2 * pillInset);
    if (isCurrent) {
        Drawing::fillRounded(snapshot, pill, 8, Colours::raised);
        Drawing::outlineRounded(snapshot, pill, 8, 1, Colours::line);
    } else if (isHovered) {
        Drawing::fillRounded(snapshot, pill, 8, Colours::sunken);
    }

    // The close box takes the icon's place while the pointer is on the tab.
    Rect iconBox = strip.closeBox(frame);
    if (strip.hasCloseBox(index, frame, m_hovered)) {
        drawCloseBox(snapshot, strip, index, frame);
    } else if (GdkTexture* texture = icon(index)) {
        Drawing::texture(snapshot, texture, toGraphene(iconBox));
    } else {
        Drawing::outlineRounded(snapshot, rect(iconBox.x + 2, iconBox.y + 2, iconSize - 4, iconSize - 4), 6,
                                1.5, Colours::line);
    }

    const std::string& label = m_labels[static_cast<std::size_t>(index)];
    auto font = Drawing::font(labelPoints, isCurrent);
    auto box = rect(frame.x + labelStart, frame.y, frame.width - labelStart - labelEndMargin, frame.height);
    Drawing::text(snapshot, m_widget, label, box, font.get(),
                  isCurrent || isHovered ? Colours::ink : Colours::dimInk);
}

void TabStripView::drawStealthTab(GtkSnapshot* snapshot, const TabStrip::Layout& strip, Index index,
                                  const Rect& frame) const {
    Index field = std::clamp<Index>(m_current, 0, strip.count - 1);
    if (index == field) {
        if (frame.width < 1) return;
        auto pill = rect(frame.x, pillInset, frame.width, frame.height - 2 * pillInset);
        float radius = static_cast<float>(std::min(frame.width, frame.height - 2 * pillInset) / 2);
        Drawing::fillRounded(snapshot, pill, radius, Colours::sunken);
        Drawing::outlineRounded(snapshot, pill, radius, 1, Colours::line);
        if (drawField) {
            drawField(snapshot, frame);
            return;
        }
        if (GdkTexture* texture = icon(index))
            Drawing::texture(snapshot, texture,
                             rect(frame.x + 12, std::round(frame.midY() - iconSize / 2), iconSize, iconSize));
        auto font = Drawing::font(labelPoints);
        auto box = rect(frame.x + fieldTextStart, frame.y, frame.width - fieldTextStart - 12, frame.height);
        Drawing::text(snapshot, m_widget, m_labels[static_cast<std::size_t>(index)], box, font.get(),
                      Colours::ink, Drawing::Align::centre);
        return;
    }

    if (m_hovered == index)
        Drawing::fillRounded(snapshot,
                             rect(frame.x + 2, pillInset, frame.width - 4, frame.height - 2 * pillInset), 8,
                             Colours::raised);
    auto iconBox = rect(std::round(frame.midX() - iconSize / 2), std::round(frame.midY() - iconSize / 2),
                        iconSize, iconSize);
    if (GdkTexture* texture = icon(index)) {
        Drawing::texture(snapshot, texture, iconBox);
    } else {
        Drawing::outlineRounded(snapshot,
                                rect(iconBox.origin.x + 2, iconBox.origin.y + 2, iconSize - 4, iconSize - 4),
                                6, 1.5, m_hovered == index ? Colours::ink : Colours::dimInk);
    }
    if (strip.hasCloseBox(index, frame, m_hovered)) drawCloseBox(snapshot, strip, index, frame);
}

void TabStripView::drawCloseBox(GtkSnapshot* snapshot, const TabStrip::Layout& strip, Index index,
                                const Rect& frame) const {
    Rect box = strip.closeBox(frame);
    bool held = m_pressedClose == index && m_hoveredClose;
    if (m_stealth) {
        // A badge over the icon's corner.
        Drawing::circle(snapshot, box.midX(), box.midY(), box.width, held ? Colours::pressed : Colours::line);
        Drawing::cross(snapshot, box.midX(), box.midY(), 6, 1.5, Colours::ink);
        return;
    }
    if (m_hoveredClose)
        Drawing::fillRounded(snapshot, toGraphene(box), 4, held ? Colours::pressed : Colours::line);
    Drawing::cross(snapshot, box.midX(), box.midY(), 7, 1.5, m_hoveredClose ? Colours::ink : Colours::dimInk);
}

} // namespace nimb
