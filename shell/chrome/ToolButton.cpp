#include "chrome/ToolButton.h"

#include "chrome/Drawing.h"
#include "chrome/PressGlue.h"
#include "glib/GRefPtr.h"
#include "layout/WindowLayout.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace nimb {

namespace {

namespace Colours = Drawing::Colours;
using Drawing::rect;

constexpr float navRadius = 8;
constexpr float compactRadius = 6;
constexpr double glyphRatio = 0.5; // of the button's shorter side
constexpr GdkRGBA disabledInk = Drawing::colour(Palette::placeholder);

} // namespace

struct ToolButtonGlue {
    static ToolButton* make(GtkWidget* widget) { return new ToolButton(widget, ToolButton::Look::nav); }
    static void setLook(ToolButton& button, ToolButton::Look look) { button.m_look = look; }
};

} // namespace nimb

struct _NimbToolButton {
    GtkWidget parent_instance;
    nimb::ToolButton* button;
};

G_DEFINE_FINAL_TYPE(NimbToolButton, nimb_tool_button, GTK_TYPE_WIDGET)

namespace {

using nimb::ToolButton;

ToolButton& buttonOf(gpointer widget) {
    return *NIMB_TOOL_BUTTON(widget)->button;
}

void snapshotWidget(GtkWidget* widget, GtkSnapshot* snapshot) {
    buttonOf(widget).snapshot(snapshot);
}

void measureWidget(GtkWidget* widget, GtkOrientation orientation, int, int* minimum, int* natural,
                   int* minimumBaseline, int* naturalBaseline) {
    // The chrome places its buttons itself; what a button would like is what the design sizes it to.
    const ToolButton& button = buttonOf(widget);
    int size = 0;
    if (button.look() == ToolButton::Look::compact) {
        size = orientation == GTK_ORIENTATION_HORIZONTAL
                   ? static_cast<int>(std::ceil(button.titleWidth()) + nimb::WindowLayout::bookmarkPadding)
                   : static_cast<int>(nimb::WindowLayout::bookmarkHeight);
    } else {
        size = static_cast<int>(nimb::WindowLayout::navButtonSize);
    }
    *minimum = 0;
    *natural = size;
    *minimumBaseline = -1;
    *naturalBaseline = -1;
}

void finalizeWidget(GObject* object) {
    delete std::exchange(NIMB_TOOL_BUTTON(object)->button, nullptr);
    G_OBJECT_CLASS(nimb_tool_button_parent_class)->finalize(object);
}

} // namespace

static void nimb_tool_button_class_init(NimbToolButtonClass* klass) {
    G_OBJECT_CLASS(klass)->finalize = finalizeWidget;
    GtkWidgetClass* widgetClass = GTK_WIDGET_CLASS(klass);
    widgetClass->snapshot = snapshotWidget;
    widgetClass->measure = measureWidget;
    gtk_widget_class_set_css_name(widgetClass, "toolbutton");
    gtk_widget_class_set_accessible_role(widgetClass, GTK_ACCESSIBLE_ROLE_BUTTON);
    nimb::Drawing::ensureFonts();
}

static void nimb_tool_button_init(NimbToolButton* self) {
    GtkWidget* widget = GTK_WIDGET(self);
    self->button = nimb::ToolButtonGlue::make(widget);
    nimb::PressGlue<ToolButton, buttonOf>::install(widget, {});
}

namespace nimb {

GtkWidget* ToolButton::create(Look look) {
    GtkWidget* widget = GTK_WIDGET(g_object_new(NIMB_TYPE_TOOL_BUTTON, nullptr));
    ToolButtonGlue::setLook(of(widget), look);
    return widget;
}

ToolButton& ToolButton::of(GtkWidget* widget) {
    return *NIMB_TOOL_BUTTON(widget)->button;
}

bool ToolButton::is(GtkWidget* widget) {
    return widget && NIMB_IS_TOOL_BUTTON(widget);
}

void ToolButton::setTitle(std::string title) {
    if (title == m_title) return;
    m_title = std::move(title);
    gtk_widget_queue_resize(m_widget);
    redraw();
}

void ToolButton::setGlyph(std::optional<Glyph> glyph) {
    if (glyph == m_glyph) return;
    m_glyph = glyph;
    redraw();
}

void ToolButton::setEnabled(bool enabled) {
    if (enabled == m_enabled) return;
    m_enabled = enabled;
    if (!enabled) {
        m_pressed = false;
        m_tracking = false;
    }
    redraw();
}

void ToolButton::setHelp(std::string help) {
    if (help == m_help) return;
    m_help = std::move(help);
    gtk_widget_set_tooltip_text(m_widget, m_help.empty() ? nullptr : m_help.c_str());
}

double ToolButton::titleWidth() const {
    if (m_title.empty()) return 0;
    auto font = Drawing::font(WindowLayout::bookmarkTitlePoints);
    return Drawing::textWidth(m_widget, m_title, font.get());
}

bool ToolButton::inside(Point point) const {
    return point.x >= 0 && point.y >= 0 && point.x < gtk_widget_get_width(m_widget) &&
           point.y < gtk_widget_get_height(m_widget);
}

void ToolButton::redraw() const {
    gtk_widget_queue_draw(m_widget);
}

void ToolButton::mouseDown(Point point) {
    if (!m_enabled) return;
    m_tracking = true;
    m_pressed = inside(point);
    redraw();
}

void ToolButton::mouseDragged(Point point) {
    if (!m_tracking) return;
    bool pressed = inside(point);
    if (pressed == m_pressed) return;
    m_pressed = pressed;
    redraw();
}

void ToolButton::mouseUp(Point point) {
    bool wasTracking = std::exchange(m_tracking, false);
    bool wasPressed = std::exchange(m_pressed, false);
    redraw();
    if (!wasTracking || !wasPressed || !m_enabled || !inside(point)) return;
    onClick();
}

void ToolButton::mouseEntered() {
    if (m_hovered) return;
    m_hovered = true;
    redraw();
}

void ToolButton::mouseExited() {
    if (!m_hovered) return;
    m_hovered = false;
    redraw();
}

void ToolButton::snapshot(GtkSnapshot* snapshot) const {
    double width = gtk_widget_get_width(m_widget);
    double height = gtk_widget_get_height(m_widget);
    if (width <= 0 || height <= 0) return;
    bool lit = m_enabled && (m_hovered || m_pressed);
    float radius = m_look == Look::nav ? navRadius : compactRadius;
    radius = std::min(radius, static_cast<float>(std::min(width, height) / 2));
    if (m_enabled && m_pressed)
        Drawing::fillRounded(snapshot, rect(0, 0, width, height), radius, Colours::line);
    else if (lit)
        Drawing::fillRounded(snapshot, rect(0, 0, width, height), radius, Colours::raised);

    GdkRGBA ink = !m_enabled ? disabledInk : lit ? Colours::ink : Drawing::colour(Palette::text, 0.86f);
    if (m_glyph) {
        double size = std::round(std::min(width, height) * glyphRatio);
        Glyphs::draw(snapshot, *m_glyph, width / 2, height / 2, size, ink);
        return;
    }
    auto font = Drawing::font(WindowLayout::bookmarkTitlePoints);
    Drawing::text(snapshot, m_widget, m_title, rect(0, 0, width, height), font.get(), ink,
                  Drawing::Align::centre);
}

} // namespace nimb
