#include "chrome/LocationField.h"

#include "base/Text.h"
#include "chrome/ChromeStyle.h"
#include "chrome/Drawing.h"
#include "glib/GRefPtr.h"
#include "layout/WindowLayout.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace nimb {

namespace {

GtkWidget* makeField(GtkWidget* well) {
    ChromeStyle::installFields();
    GtkWidget* field = gtk_text_new();
    gtk_widget_add_css_class(field, "nimb-location");
    gtk_widget_set_parent(field, well);
    gtk_editable_set_alignment(GTK_EDITABLE(field), 0.5f);
    gtk_text_set_activates_default(GTK_TEXT(field), FALSE);
    // Addresses are not words: no spelling, no capitals, no emoji chooser.
    gtk_text_set_input_hints(
        GTK_TEXT(field), static_cast<GtkInputHints>(GTK_INPUT_HINT_NO_SPELLCHECK | GTK_INPUT_HINT_NO_EMOJI));
    gtk_text_set_input_purpose(GTK_TEXT(field), GTK_INPUT_PURPOSE_URL);
    return field;
}

// `label` as it fits `field` in `well`: cut with an ellipsis when it is too long.
std::string fitted(GtkWidget* field, GtkWidget* well, const std::string& label) {
    if (!field) return label;
    int room = gtk_widget_get_width(field);
    if (room <= 0)
        room = static_cast<int>(WindowLayout::wellInterior({static_cast<double>(gtk_widget_get_width(well)),
                                                            static_cast<double>(gtk_widget_get_height(well))})
                                    .field.width);
    auto width = [&](const std::string& text) {
        auto layout = glib::adoptGRef(gtk_widget_create_pango_layout(field, text.c_str()));
        int pixels = 0;
        pango_layout_get_pixel_size(layout.get(), &pixels, nullptr);
        return pixels;
    };
    if (room <= 0 || width(label) <= room) return label;
    // The longest start of the label that fits with an ellipsis after it, cut between characters.
    static constexpr std::string_view ellipsis = "\u2026";
    std::vector<std::size_t> ends;
    for (const char* p = label.c_str(); *p; p = g_utf8_next_char(p))
        ends.push_back(static_cast<std::size_t>(p - label.c_str()));
    std::size_t low = 0;
    std::size_t high = ends.size();
    while (low + 1 < high) {
        std::size_t middle = (low + high) / 2;
        if (width(label.substr(0, ends[middle]) + std::string(ellipsis)) <= room)
            low = middle;
        else
            high = middle;
    }
    return std::string(text::trimmed(label.substr(0, ends[low]))) + std::string(ellipsis);
}

} // namespace

LocationField::LocationField(GtkWidget* well)
    : m_well(well), m_field(makeField(well)), m_completion(m_field), m_clicks(m_field) {
    connect();
}

void LocationField::connect() {
    auto& c = m_connections;
    c.push_back(glib::connect<void(GtkText*)>(m_field, "activate", [this](GtkText* text) {
        std::string entered = gtk_editable_get_text(GTK_EDITABLE(text));
        onEnter(entered);
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
            if (type == GDK_BUTTON_PRESS || type == GDK_KEY_PRESS) m_completion.forgetOffer();
            switch (type) {
            case GDK_BUTTON_PRESS:
                // A first click selects the whole address, and the field does not see it.
                if (gdk_button_event_get_button(event) == GDK_BUTTON_PRIMARY && m_clicks.pressed())
                    return TRUE;
                break;
            case GDK_BUTTON_RELEASE:
                if (gdk_button_event_get_button(event) == GDK_BUTTON_PRIMARY && m_clicks.released())
                    return TRUE;
                break;
            case GDK_KEY_PRESS:
                m_clicks.keyPressed();
                // Escape while editing puts back the page's address, whole and selected, to be typed
                // over; once it is back, Escape goes on to whatever else it closes.
                if (m_editing && gdk_key_event_get_keyval(event) == GDK_KEY_Escape &&
                    (gdk_event_get_modifier_state(event) & gtk_accelerator_get_default_mod_mask()) == 0 &&
                    text() != m_full) {
                    replaceText(m_full);
                    gtk_editable_select_region(GTK_EDITABLE(m_field), 0, -1);
                    return TRUE;
                }
                break;
            default:
                break;
            }
            return FALSE;
        }));
    gtk_widget_add_controller(m_field, legacy);
}

void LocationField::release() {
    m_restingSource.cancel();
    m_clicks.release();
    m_completion.release();
    m_connections.clear();
    if (m_field) gtk_widget_unparent(std::exchange(m_field, nullptr));
}

// ------------------------------------------------------------------------------------------------
// The address

std::string LocationField::text() const {
    return m_field ? gtk_editable_get_text(GTK_EDITABLE(m_field)) : "";
}

void LocationField::replaceText(const std::string& text) {
    if (!m_field || text == this->text()) return;
    m_completion.replaceText(text);
}

void LocationField::setAddress(std::string_view full, std::string_view resting) {
    m_full = std::string(full);
    m_resting = std::string(resting);
    if (m_editing || !m_field) return;
    m_restingSource.cancel();
    gtk_editable_set_alignment(GTK_EDITABLE(m_field), 0.5f);
    replaceText(fitted(m_field, m_well, m_resting));
}

// ------------------------------------------------------------------------------------------------
// Editing

void LocationField::focus() {
    if (!m_field) return;
    if (gtk_widget_is_focus(m_field)) {
        // Already being edited: start over as if it had just taken the focus.
        m_clicks.restart();
        gtk_editable_select_region(GTK_EDITABLE(m_field), 0, -1);
        return;
    }
    gtk_widget_grab_focus(m_field);
}

void LocationField::beginEditing() {
    m_restingSource.cancel();
    // Focus also comes back when the window becomes active again: the editing goes on as it was.
    if (m_editing || !m_field) return;
    m_editing = true;
    m_completion.setEditing(true);
    m_clicks.restart();
    gtk_widget_queue_draw(m_well);
    onEditing(true);
    if (!m_field) return;
    gtk_editable_set_alignment(GTK_EDITABLE(m_field), 0.0f);
    replaceText(m_full);
    gtk_editable_select_region(GTK_EDITABLE(m_field), 0, -1);
}

void LocationField::endEditing() {
    // The field is still its window's focus: only the window went to the background.
    if (m_field) {
        GtkRoot* root = gtk_widget_get_root(m_field);
        if (root && gtk_root_get_focus(root) == m_field) return;
    }
    m_clicks.stop();
    m_completion.stop();
    if (!m_editing) return;
    m_editing = false;
    m_completion.setEditing(false);
    gtk_widget_queue_draw(m_well);
    onEditing(false);
    // The resting label comes back on the next turn of the loop, after whatever took the focus has
    // had its say.
    m_restingSource = glib::Source::idle([this] {
        if (m_editing || !m_field) return;
        gtk_editable_set_alignment(GTK_EDITABLE(m_field), 0.5f);
        replaceText(fitted(m_field, m_well, m_resting));
        // At rest nothing is selected.
        gtk_editable_select_region(GTK_EDITABLE(m_field), 0, 0);
    });
}

std::optional<std::string> LocationField::typed() const {
    if (!m_editing || !m_field) return std::nullopt;
    std::string typed = text();
    if (typed == m_full) return std::nullopt;
    return typed;
}

void LocationField::resume(const std::string& text) {
    if (!m_field) return;
    if (!gtk_widget_is_focus(m_field)) gtk_widget_grab_focus(m_field);
    beginEditing(); // nothing more when the focus already began it
    if (!m_editing || !m_field) return;
    replaceText(text);
    gtk_editable_set_position(GTK_EDITABLE(m_field), -1);
}

void LocationField::pressedBeside() {
    if (!m_field) return;
    if (m_editing)
        gtk_editable_select_region(GTK_EDITABLE(m_field), 0, -1);
    else
        focus();
}

// ------------------------------------------------------------------------------------------------
// Placing

void LocationField::place(const Rect& frame) {
    if (!m_field) return;
    int minimum = 0;
    int natural = 0;
    gtk_widget_measure(m_field, GTK_ORIENTATION_VERTICAL, -1, &minimum, &natural, nullptr, nullptr);
    // One line of text, centred on the field's place; taller when the typeface needs it.
    int fieldHeight = std::max(static_cast<int>(frame.height), minimum);
    int y = static_cast<int>(std::round(frame.midY() - fieldHeight / 2.0));
    gtk_widget_measure(m_field, GTK_ORIENTATION_HORIZONTAL, fieldHeight, &minimum, &natural, nullptr,
                       nullptr);
    GtkAllocation allocation{static_cast<int>(frame.x), y, std::max(static_cast<int>(frame.width), minimum),
                             fieldHeight};
    gtk_widget_set_child_visible(m_field, frame.width >= 1);
    gtk_widget_size_allocate(m_field, &allocation, -1);
    // A resting label too long for the new width is cut with an ellipsis, once the allocation is over.
    if (m_editing || m_restingSource.pending() || fitted(m_field, m_well, m_resting) == text()) return;
    m_restingSource = glib::Source::idle([this] {
        if (!m_editing && m_field) replaceText(fitted(m_field, m_well, m_resting));
    });
}

} // namespace nimb
