#include "chrome/ShieldView.h"

#include "chrome/Drawing.h"
#include "chrome/PressGlue.h"
#include "glib/GRefPtr.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace nimb {

namespace {

namespace Colours = Drawing::Colours;

constexpr double squareInset = 3; // the square, or the pill's circle, from the shield's edges
constexpr float squareRadius = 7;
constexpr double glyphSize = 16;
constexpr double glyphRatio = 0.55; // of the shield's height, when that is smaller
constexpr double ringGrowth = 0.7;  // the pulse's outline at its largest, beyond the shield's size
constexpr double ringWidth = 1;
constexpr GdkRGBA hoverGround = Drawing::colour(Palette::separator, 0.65f);

} // namespace

struct ShieldViewGlue {
    static ShieldView* make(GtkWidget* widget) { return new ShieldView(widget); }
};

} // namespace nimb

struct _NimbShieldView {
    GtkWidget parent_instance;
    nimb::ShieldView* shield;
};

G_DEFINE_FINAL_TYPE(NimbShieldView, nimb_shield_view, GTK_TYPE_WIDGET)

namespace {

using nimb::ShieldView;

ShieldView& shieldOf(gpointer widget) {
    return *NIMB_SHIELD_VIEW(widget)->shield;
}

void snapshotWidget(GtkWidget* widget, GtkSnapshot* snapshot) {
    shieldOf(widget).snapshot(snapshot);
}

gboolean containsPoint(GtkWidget* widget, double x, double y) {
    return shieldOf(widget).answers({x, y});
}

void measureWidget(GtkWidget*, GtkOrientation, int, int* minimum, int* natural, int* minimumBaseline,
                   int* naturalBaseline) {
    // The well places the shield; it asks for nothing of its own.
    *minimum = 0;
    *natural = 0;
    *minimumBaseline = -1;
    *naturalBaseline = -1;
}

void disposeWidget(GObject* object) {
    if (auto* shield = NIMB_SHIELD_VIEW(object)->shield) shield->stop();
    G_OBJECT_CLASS(nimb_shield_view_parent_class)->dispose(object);
}

void finalizeWidget(GObject* object) {
    delete std::exchange(NIMB_SHIELD_VIEW(object)->shield, nullptr);
    G_OBJECT_CLASS(nimb_shield_view_parent_class)->finalize(object);
}

} // namespace

static void nimb_shield_view_class_init(NimbShieldViewClass* klass) {
    G_OBJECT_CLASS(klass)->dispose = disposeWidget;
    G_OBJECT_CLASS(klass)->finalize = finalizeWidget;
    GtkWidgetClass* widgetClass = GTK_WIDGET_CLASS(klass);
    widgetClass->snapshot = snapshotWidget;
    widgetClass->measure = measureWidget;
    widgetClass->contains = containsPoint;
    gtk_widget_class_set_css_name(widgetClass, "shield");
    gtk_widget_class_set_accessible_role(widgetClass, GTK_ACCESSIBLE_ROLE_BUTTON);
}

static void nimb_shield_view_init(NimbShieldView* self) {
    GtkWidget* widget = GTK_WIDGET(self);
    self->shield = nimb::ShieldViewGlue::make(widget);
    nimb::PressGlue<ShieldView, shieldOf>::install(widget, {.claim = true});
}

namespace nimb {

GtkWidget* ShieldView::create() {
    return GTK_WIDGET(g_object_new(NIMB_TYPE_SHIELD_VIEW, nullptr));
}

ShieldView& ShieldView::of(GtkWidget* widget) {
    return *NIMB_SHIELD_VIEW(widget)->shield;
}

void ShieldView::redraw() const {
    gtk_widget_queue_draw(m_widget);
}

void ShieldView::setLook(const Glyphs::ShieldLook& look) {
    if (look == m_look) return;
    bool rose = look.count > m_look.count;
    bool fell = look.count < m_look.count;
    m_look = look;
    if (rose) pulse();
    if (fell) stop();
    redraw();
}

void ShieldView::setInPill(bool inPill) {
    if (inPill == m_inPill) return;
    m_inPill = inPill;
    redraw();
}

void ShieldView::setHelp(const std::string& help) {
    if (help == m_help) return;
    m_help = help;
    gtk_widget_set_tooltip_text(m_widget, m_help.empty() ? nullptr : m_help.c_str());
    gtk_accessible_update_property(GTK_ACCESSIBLE(m_widget), GTK_ACCESSIBLE_PROPERTY_LABEL, m_help.c_str(),
                                   -1);
}

// ------------------------------------------------------------------------------------------------
// The pulse

void ShieldView::pulse() {
    if (m_pulse.rise()) m_timer = glib::Source::timeout(ShieldPulse::frame, [this] { tick(); });
    redraw();
}

void ShieldView::tick() {
    if (m_pulse.advance()) m_timer = glib::Source::timeout(ShieldPulse::frame, [this] { tick(); });
    redraw();
}

void ShieldView::stop() {
    m_timer.cancel();
    if (!m_pulse.running()) return;
    m_pulse.stop();
    redraw();
}

// ------------------------------------------------------------------------------------------------
// The pointer

bool ShieldView::answers(Point point) const {
    double width = gtk_widget_get_width(m_widget);
    double height = gtk_widget_get_height(m_widget);
    if (point.x < 0 || point.y < 0 || point.x >= width || point.y >= height) return false;
    if (!m_inPill) return true;
    double radius = std::min(width, height) / 2;
    return std::hypot(point.x - width / 2, point.y - height / 2) <= radius;
}

void ShieldView::mouseDown(Point) {
    m_pressed = true;
    redraw();
}

void ShieldView::mouseUp(Point point) {
    bool wasPressed = std::exchange(m_pressed, false);
    redraw();
    double width = gtk_widget_get_width(m_widget);
    double height = gtk_widget_get_height(m_widget);
    bool inside = point.x >= 0 && point.y >= 0 && point.x < width && point.y < height;
    if (wasPressed && inside) onClick();
}

void ShieldView::mouseEntered() {
    if (m_hovered) return;
    m_hovered = true;
    redraw();
}

void ShieldView::mouseExited() {
    if (!m_hovered) return;
    m_hovered = false;
    redraw();
}

// ------------------------------------------------------------------------------------------------
// Drawing

void ShieldView::snapshot(GtkSnapshot* snapshot) const {
    double width = gtk_widget_get_width(m_widget);
    double height = gtk_widget_get_height(m_widget);
    if (width < 1 || height < 1) return;
    double x = width / 2;
    double y = height / 2;

    // Hover and press change only the ground: the square in the toolbar, a circle in the pill (which
    // has no ground of its own at rest). Each step lighter than the last, never so light that a red
    // shield is lost on it.
    const GdkRGBA* ground = m_pressed ? &Colours::line : m_hovered ? &hoverGround : nullptr;
    double side = std::min(width, height) - 2 * squareInset;
    if (m_inPill) {
        if (ground) Drawing::circle(snapshot, x, y, side, *ground);
    } else {
        Drawing::fillRounded(snapshot, Drawing::rect(x - side / 2, y - side / 2, side, side), squareRadius,
                             ground ? *ground : Colours::raised);
    }

    // The pulse's outline grows out from under the shield, finer than the shield's own.
    double size = std::min(glyphSize, height * glyphRatio);
    if (m_pulse.running()) {
        GdkRGBA colour = Glyphs::heatColour(m_look.heat);
        colour.alpha = static_cast<float>(m_pulse.opacity());
        Glyphs::shieldOutline(snapshot, x, y, size * (1 + ringGrowth * m_pulse.growth()), ringWidth, colour);
    }
    Glyphs::shield(snapshot, m_look, x, y, size);
}

} // namespace nimb
