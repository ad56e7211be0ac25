#include "chrome/LocationWell.h"

#include "base/Text.h"
#include "chrome/Drawing.h"
#include "glib/GRefPtr.h"
#include "layout/WindowLayout.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace nimb {

namespace {

namespace Colours = Drawing::Colours;
using Drawing::rect;

constexpr double fieldPoints = 13;
constexpr double shieldGlyph = 16;
constexpr float iconRadius = 3;

graphene_rect_t toGraphene(const TabStrip::Rect& r) {
    return rect(r.x, r.y, r.width, r.height);
}

// The field's look, given once per display: the chrome's typeface and ink on the well's ground.
void ensureFieldStyle() {
    static bool done = false;
    GdkDisplay* display = gdk_display_get_default();
    if (done || !display) return;
    done = true;
    std::string css = "text.nimb-location { font-family: \"" + Drawing::family() +
                      "\"; font-size: " + std::to_string(static_cast<int>(fieldPoints)) +
                      "px; font-weight: normal; color: #e9e9eb; caret-color: #e9e9eb; background: none; "
                      "min-height: 0; padding: 0; margin: 0; border: none; box-shadow: none; }\n"
                      "text.nimb-location selection { background-color: rgba(122, 162, 255, 0.42); "
                      "color: #ffffff; }\n";
    auto provider = glib::adoptGRef(gtk_css_provider_new());
    gtk_css_provider_load_from_data(provider.get(), css.c_str(), static_cast<gssize>(css.size()));
    gtk_style_context_add_provider_for_display(display, GTK_STYLE_PROVIDER(provider.get()),
                                               GTK_STYLE_PROVIDER_PRIORITY_APPLICATION + 1);
}

int characterCount(const std::string& text) {
    return static_cast<int>(g_utf8_strlen(text.c_str(), static_cast<gssize>(text.size())));
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
    wellOf(widget).mouseDown({x, y});
}

void dragEnded(GtkGestureDrag* gesture, double dx, double dy, gpointer widget) {
    double x = 0;
    double y = 0;
    if (!gtk_gesture_drag_get_start_point(gesture, &x, &y)) return;
    auto kept = nimb::glib::hold(widget);
    wellOf(widget).mouseUp({x + dx, y + dy});
}

void moved(GtkEventControllerMotion*, double x, double y, gpointer widget) {
    wellOf(widget).mouseMoved({x, y});
}

void left(GtkEventControllerMotion*, gpointer widget) {
    wellOf(widget).mouseExited();
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

gboolean queryTooltip(GtkWidget* widget, int x, int y, gboolean keyboard, GtkTooltip* tooltip) {
    if (keyboard) return FALSE;
    auto text = wellOf(widget).tooltip({static_cast<double>(x), static_cast<double>(y)});
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

LocationWell::LocationWell(GtkWidget* widget) : m_widget(widget) {
    ensureFieldStyle();
    m_field = gtk_text_new();
    gtk_widget_add_css_class(m_field, "nimb-location");
    gtk_widget_set_parent(m_field, m_widget);
    gtk_editable_set_alignment(GTK_EDITABLE(m_field), 0.5f);
    gtk_text_set_activates_default(GTK_TEXT(m_field), FALSE);
    // Addresses are not words: no spelling, no capitals, no emoji chooser.
    gtk_text_set_input_hints(GTK_TEXT(m_field), static_cast<GtkInputHints>(GTK_INPUT_HINT_NO_SPELLCHECK |
                                                                           GTK_INPUT_HINT_NO_EMOJI));
    gtk_text_set_input_purpose(GTK_TEXT(m_field), GTK_INPUT_PURPOSE_URL);
    connectField();
}

void LocationWell::connectField() {
    auto& c = m_fieldConnections;
    c.push_back(glib::connect<void(GtkText*)>(m_field, "activate", [this](GtkText* text) {
        std::string entered = gtk_editable_get_text(GTK_EDITABLE(text));
        onEnter(entered);
    }));
    c.push_back(glib::connect<void(GtkEditable*, GParamSpec*)>(
        m_field, "notify::cursor-position", [this](GtkEditable*, GParamSpec*) { keepOffer(); }));
    c.push_back(
        glib::connect<void(GtkEditable*)>(m_field, "changed", [this](GtkEditable*) { textChanged(); }));
    c.push_back(glib::connect<void(GtkEditable*, const char*, int, int*)>(
        m_field, "insert-text", [this](GtkEditable*, const char*, int, int*) { m_deleting = false; }));
    c.push_back(glib::connect<void(GtkEditable*, int, int)>(m_field, "delete-text",
                                                            [this](GtkEditable*, int start, int end) {
                                                                if (end < 0 || end > start) m_deleting = true;
                                                            }));

    GtkEventController* focus = gtk_event_controller_focus_new();
    c.push_back(glib::connect<void(GtkEventControllerFocus*)>(
        focus, "enter", [this](GtkEventControllerFocus*) { beginEditing(); }));
    c.push_back(glib::connect<void(GtkEventControllerFocus*)>(
        focus, "leave", [this](GtkEventControllerFocus*) { endEditing(); }));
    gtk_widget_add_controller(m_field, focus);

    // Every press and key reaches this before the field's own handling.
    GtkEventController* legacy = gtk_event_controller_legacy_new();
    gtk_event_controller_set_propagation_phase(legacy, GTK_PHASE_CAPTURE);
    c.push_back(glib::connect<gboolean(GtkEventControllerLegacy*, GdkEvent*)>(
        legacy, "event", [this](GtkEventControllerLegacy*, GdkEvent* event) -> gboolean {
            GdkEventType type = gdk_event_get_event_type(event);
            if (type == GDK_BUTTON_PRESS || type == GDK_KEY_PRESS) m_offeredFrom.reset();
            switch (type) {
            case GDK_BUTTON_PRESS:
                if (gdk_button_event_get_button(event) == GDK_BUTTON_PRIMARY) fieldPressed();
                break;
            case GDK_BUTTON_RELEASE:
                if (gdk_button_event_get_button(event) == GDK_BUTTON_PRIMARY) fieldReleased();
                break;
            case GDK_KEY_PRESS:
                m_engaged = true;
                break;
            default:
                break;
            }
            return FALSE;
        }));
    gtk_widget_add_controller(m_field, legacy);
}

void LocationWell::release() {
    m_restingSource.cancel();
    m_completionSource.cancel();
    m_selectSource.cancel();
    m_fieldConnections.clear();
    if (m_field) gtk_widget_unparent(std::exchange(m_field, nullptr));
    m_icon.reset();
}

GtkWidget* LocationWell::create() {
    return GTK_WIDGET(g_object_new(NIMB_TYPE_LOCATION_WELL, nullptr));
}

LocationWell& LocationWell::of(GtkWidget* widget) {
    return *NIMB_LOCATION_WELL(widget)->well;
}

// ------------------------------------------------------------------------------------------------
// The address

std::string LocationWell::text() const {
    return m_field ? gtk_editable_get_text(GTK_EDITABLE(m_field)) : "";
}

void LocationWell::replaceText(const std::string& text) {
    if (!m_field || text == this->text()) return;
    bool was = std::exchange(m_completing, true);
    gtk_editable_set_text(GTK_EDITABLE(m_field), text.c_str());
    m_completing = was;
}

void LocationWell::setAddress(std::string_view full, std::string_view resting) {
    m_full = std::string(full);
    m_resting = std::string(resting);
    if (m_editing || !m_field) return;
    m_restingSource.cancel();
    gtk_editable_set_alignment(GTK_EDITABLE(m_field), 0.5f);
    replaceText(shownResting());
}

std::string LocationWell::shownResting() const {
    if (!m_field) return m_resting;
    int room = gtk_widget_get_width(m_field);
    if (room <= 0) room = static_cast<int>(fieldFrame().width);
    auto width = [&](const std::string& text) {
        auto layout = glib::adoptGRef(gtk_widget_create_pango_layout(m_field, text.c_str()));
        int pixels = 0;
        pango_layout_get_pixel_size(layout.get(), &pixels, nullptr);
        return pixels;
    };
    if (room <= 0 || width(m_resting) <= room) return m_resting;
    // The longest start of the label that fits with an ellipsis after it, cut between characters.
    static constexpr std::string_view ellipsis = "\u2026";
    std::vector<std::size_t> ends;
    for (const char* p = m_resting.c_str(); *p; p = g_utf8_next_char(p))
        ends.push_back(static_cast<std::size_t>(p - m_resting.c_str()));
    std::size_t low = 0;
    std::size_t high = ends.size();
    while (low + 1 < high) {
        std::size_t middle = (low + high) / 2;
        if (width(m_resting.substr(0, ends[middle]) + std::string(ellipsis)) <= room)
            low = middle;
        else
            high = middle;
    }
    return std::string(text::trimmed(m_resting.substr(0, ends[low]))) + std::string(ellipsis);
}

void LocationWell::focus() {
    if (!m_field) return;
    if (gtk_widget_is_focus(m_field)) {
        // Already being edited: start over as if it had just taken the focus.
        m_engaged = false;
        gtk_editable_select_region(GTK_EDITABLE(m_field), 0, -1);
        return;
    }
    gtk_widget_grab_focus(m_field);
}

void LocationWell::beginEditing() {
    m_restingSource.cancel();
    // Focus also comes back when the window becomes active again: the editing goes on as it was.
    if (m_editing || !m_field) return;
    m_editing = true;
    m_engaged = false;
    onEditing(true);
    redraw();
    if (!m_field) return;
    gtk_editable_set_alignment(GTK_EDITABLE(m_field), 0.0f);
    replaceText(m_full);
    gtk_editable_select_region(GTK_EDITABLE(m_field), 0, -1);
}

void LocationWell::endEditing() {
    // The field is still its window's focus: only the window went to the background.
    if (m_field) {
        GtkRoot* root = gtk_widget_get_root(m_field);
        if (root && gtk_root_get_focus(root) == m_field) return;
    }
    m_engaged = false;
    m_firstClick = false;
    m_offeredFrom.reset();
    m_completionSource.cancel();
    m_selectSource.cancel();
    if (!m_editing) return;
    m_editing = false;
    onEditing(false);
    redraw();
    // The resting label comes back on the next turn of the loop, after whatever took the focus has
    // had its say.
    m_restingSource = glib::Source::idle([this] {
        if (m_editing || !m_field) return;
        gtk_editable_set_alignment(GTK_EDITABLE(m_field), 0.5f);
        replaceText(shownResting());
        // At rest nothing is selected.
        gtk_editable_select_region(GTK_EDITABLE(m_field), 0, 0);
    });
}

// ------------------------------------------------------------------------------------------------
// Inline completion

void LocationWell::textChanged() {
    if (m_completing) return;
    m_offeredFrom.reset();
    if (!m_editing) return;
    // The field moves its caret past typed text only after telling of the change: look once it has.
    if (m_completionSource.pending()) return;
    m_completionSource = glib::Source::idle([this] { complete(); }, G_PRIORITY_HIGH_IDLE);
}

void LocationWell::complete() {
    if (!m_field || !m_editing || m_deleting || m_completing || !completion) return;
    GtkEditable* editable = GTK_EDITABLE(m_field);
    int start = 0;
    int end = 0;
    if (gtk_editable_get_selection_bounds(editable, &start, &end)) return;
    std::string typed = text();
    int length = characterCount(typed);
    if (gtk_editable_get_position(editable) != length) return;
    auto completed = completion(typed);
    if (!completed || *completed == typed || !m_field || !m_editing) return;
    m_completing = true;
    gtk_editable_set_text(editable, completed->c_str());
    gtk_editable_select_region(editable, length, -1);
    m_completing = false;
    m_offeredFrom = length;
}

void LocationWell::keepOffer() {
    if (m_completing || !m_offeredFrom || !m_field || !m_editing) return;
    GtkEditable* editable = GTK_EDITABLE(m_field);
    if (gtk_editable_get_selection_bounds(editable, nullptr, nullptr)) return;
    // No key or press came since the offer: the selection went without the user.
    int from = *m_offeredFrom;
    m_completing = true;
    gtk_editable_select_region(editable, from, -1);
    m_completing = false;
}

// ------------------------------------------------------------------------------------------------
// Clicks into the field

void LocationWell::fieldPressed() {
    m_firstClick = !m_engaged || !gtk_widget_is_focus(m_field);
    m_engaged = true;
}

void LocationWell::fieldReleased() {
    if (!std::exchange(m_firstClick, false)) return;
    // Once the field has handled the release: a plain click leaves no selection, a drag does.
    m_selectSource = glib::Source::idle([this] {
        if (!m_field || !gtk_widget_is_focus(m_field)) return;
        GtkEditable* editable = GTK_EDITABLE(m_field);
        if (!gtk_editable_get_selection_bounds(editable, nullptr, nullptr))
            gtk_editable_select_region(editable, 0, -1);
        m_engaged = true;
    });
}

// ------------------------------------------------------------------------------------------------
// The well around the field

void LocationWell::setIcon(GdkTexture* icon) {
    if (icon == m_icon.get()) return;
    m_icon = glib::GRefPtr<GdkTexture>(icon);
    redraw();
}

void LocationWell::setShield(const Glyphs::ShieldLook& shield) {
    if (shield == m_shield) return;
    m_shield = shield;
    redraw();
}

void LocationWell::setPill(bool pill, double radius) {
    if (pill == m_pill && radius == m_radius) return;
    m_pill = pill;
    m_radius = radius;
    redraw();
}

void LocationWell::setHelp(std::string_view help) {
    if (help == m_help) return;
    m_help = std::string(help);
    gtk_widget_trigger_tooltip_query(m_widget);
}

void LocationWell::setShieldHelp(std::string_view help) {
    if (help == m_shieldHelp) return;
    m_shieldHelp = std::string(help);
    gtk_widget_trigger_tooltip_query(m_widget);
}

std::optional<std::string> LocationWell::tooltip(Point point) const {
    auto inside = WindowLayout::wellInterior({static_cast<double>(gtk_widget_get_width(m_widget)),
                                              static_cast<double>(gtk_widget_get_height(m_widget))});
    if (inside.shield.contains(point) && !m_shieldHelp.empty()) return m_shieldHelp;
    if (!m_help.empty()) return m_help;
    return std::nullopt;
}

LocationWell::Rect LocationWell::iconBox() const {
    return WindowLayout::wellInterior({static_cast<double>(gtk_widget_get_width(m_widget)),
                                       static_cast<double>(gtk_widget_get_height(m_widget))})
        .icon;
}

LocationWell::Rect LocationWell::closeHitArea() const {
    return WindowLayout::wellInterior({static_cast<double>(gtk_widget_get_width(m_widget)),
                                       static_cast<double>(gtk_widget_get_height(m_widget))})
        .closeHit;
}

LocationWell::Rect LocationWell::fieldFrame() const {
    return WindowLayout::wellInterior({static_cast<double>(gtk_widget_get_width(m_widget)),
                                       static_cast<double>(gtk_widget_get_height(m_widget))})
        .field;
}

void LocationWell::redraw() const {
    gtk_widget_queue_draw(m_widget);
}

void LocationWell::mouseMoved(Point) {
    if (m_hovered) return;
    m_hovered = true;
    redraw();
}

void LocationWell::mouseExited() {
    if (!m_hovered) return;
    m_hovered = false;
    redraw();
}

void LocationWell::mouseDown(Point point) {
    m_hovered = true;
    if (showsKill() && closeHitArea().contains(point)) {
        m_pressedKill = true;
        redraw();
        return;
    }
    if (!m_field) return;
    if (m_editing)
        gtk_editable_select_region(GTK_EDITABLE(m_field), 0, -1);
    else
        focus();
}

void LocationWell::mouseUp(Point point) {
    bool close = m_pressedKill && onClose && closeHitArea().contains(point);
    m_pressedKill = false;
    redraw();
    if (close) onClose();
}

void LocationWell::allocate(int width, int height) {
    if (!m_field) return;
    auto inside = WindowLayout::wellInterior({static_cast<double>(width), static_cast<double>(height)});
    int minimum = 0;
    int natural = 0;
    gtk_widget_measure(m_field, GTK_ORIENTATION_VERTICAL, -1, &minimum, &natural, nullptr, nullptr);
    // One line of text, centred on the field's place; taller when the typeface needs it.
    int fieldHeight = std::max(static_cast<int>(inside.field.height), minimum);
    int y = static_cast<int>(std::round(inside.field.midY() - fieldHeight / 2.0));
    gtk_widget_measure(m_field, GTK_ORIENTATION_HORIZONTAL, fieldHeight, &minimum, &natural, nullptr,
                       nullptr);
    GtkAllocation allocation{static_cast<int>(inside.field.x), y,
                             std::max(static_cast<int>(inside.field.width), minimum), fieldHeight};
    gtk_widget_set_child_visible(m_field, inside.field.width >= 1);
    gtk_widget_size_allocate(m_field, &allocation, -1);
    // A resting label too long for the new width is cut with an ellipsis, once the allocation is over.
    if (m_editing || m_restingSource.pending() || shownResting() == text()) return;
    m_restingSource = glib::Source::idle([this] {
        if (!m_editing && m_field) replaceText(shownResting());
    });
}

void LocationWell::snapshot(GtkSnapshot* snapshot) const {
    double width = gtk_widget_get_width(m_widget);
    double height = gtk_widget_get_height(m_widget);
    if (width < 1 || height < 1) return;
    auto bounds = rect(0, 0, width, height);
    float radius = static_cast<float>(std::min(m_radius, std::min(width, height) / 2));
    Drawing::fillRounded(snapshot, bounds, radius, Colours::sunken);
    Drawing::outlineRounded(snapshot, bounds, radius, 1, m_editing ? Colours::dimInk : Colours::line);

    auto inside = WindowLayout::wellInterior({width, height});
    if (showsKill()) {
        Drawing::circle(snapshot, inside.icon.midX(), inside.icon.midY(), inside.icon.width,
                        m_pressedKill ? Colours::pressed : Colours::line);
        Drawing::cross(snapshot, inside.icon.midX(), inside.icon.midY(), 6, 1.5, Colours::ink);
    } else if (m_icon) {
        auto box = toGraphene(inside.icon);
        GskRoundedRect rounded;
        gsk_rounded_rect_init_from_rect(&rounded, &box, iconRadius);
        gtk_snapshot_push_rounded_clip(snapshot, &rounded);
        Drawing::texture(snapshot, m_icon.get(), box);
        gtk_snapshot_pop(snapshot);
    } else {
        auto& box = inside.icon;
        Drawing::outlineRounded(snapshot, rect(box.x + 2, box.y + 2, box.width - 4, box.height - 4), 6, 1.5,
                                Colours::line);
    }

    if (inside.shield.x >= inside.icon.maxX())
        Glyphs::shield(snapshot, m_shield, inside.shield.midX(), inside.shield.midY(),
                       std::min(shieldGlyph, inside.shield.height * 0.55));

    if (m_field) gtk_widget_snapshot_child(m_widget, m_field, snapshot);
}

} // namespace nimb
