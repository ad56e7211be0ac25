#include "chrome/FindBarView.h"

#include "chrome/ChromeStyle.h"
#include "chrome/Drawing.h"
#include "chrome/Panel.h"
#include "library/Shortcut.h"
#include "vocabulary/Language.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace nimb {

namespace {

namespace Colours = Drawing::Colours;
using Drawing::rect;

// Across the bar, from the left: the field in its well, the previous and next buttons, the tally;
// the close button at the right end. Everything is centred on the bar's height.
constexpr double boxStart = 16;
constexpr double boxHeight = 32;
constexpr double boxMaximum = 320;
constexpr double boxMinimum = 96;
constexpr float boxRadius = 8;
constexpr double boxPadding = 10; // the field inside its well
constexpr double buttonSize = 32;
constexpr double buttonGap = 2;
constexpr double boxToButtons = 8;
constexpr double tallyGap = 12;    // before and after the tally
constexpr double tallyRoom = 96;   // kept for the tally before the field gives up width
constexpr double closeMargin = 12; // the close button from the bar's right edge

int naturalHeight(GtkWidget* widget, int width) {
    int minimum = 0;
    int natural = 0;
    gtk_widget_measure(widget, GTK_ORIENTATION_VERTICAL, width, &minimum, &natural, nullptr, nullptr);
    return natural;
}

void setLabel(GtkWidget* widget, const std::string& label) {
    gtk_accessible_update_property(GTK_ACCESSIBLE(widget), GTK_ACCESSIBLE_PROPERTY_LABEL, label.c_str(), -1);
}

} // namespace

FindBarView::FindBarView()
    : m_widget(
          GTK_WIDGET(g_object_new(NIMB_TYPE_PANEL, "accessible-role", GTK_ACCESSIBLE_ROLE_SEARCH, nullptr))) {
    ChromeStyle::installFields();
    auto& c = m_connections;
    GtkWidget* bar = m_widget.get();
    gtk_widget_add_css_class(bar, "nimb-find-bar");
    auto& hooks = Panel::hooks(bar);
    c.push_back(hooks.drawBelow.connect(
        [this](GtkSnapshot* snapshot, double width, double height) { draw(snapshot, width, height); }));
    c.push_back(hooks.allocate.connect([this](int width, int height) { allocate(width, height); }));

    m_field = glib::GRefPtr<GtkWidget>(gtk_text_new());
    GtkWidget* field = m_field.get();
    gtk_widget_add_css_class(field, "nimb-find");
    gtk_text_set_activates_default(GTK_TEXT(field), FALSE);
    Panel::add(bar, field);
    c.push_back(glib::connect<void(GtkEditable*)>(field, "changed", [this](GtkEditable*) { onChange(); }));
    // The outline of the field's well follows the focus.
    GtkEventController* focus = gtk_event_controller_focus_new();
    c.push_back(glib::connect<void(GtkEventControllerFocus*, GParamSpec*)>(
        focus, "notify::contains-focus",
        [this](GtkEventControllerFocus*, GParamSpec*) { gtk_widget_queue_draw(m_widget.get()); }));
    gtk_widget_add_controller(field, focus);
    // Return, Shift-Return and Escape are the bar's, before the field's own handling.
    GtkEventController* keys = gtk_event_controller_key_new();
    gtk_event_controller_set_propagation_phase(keys, GTK_PHASE_CAPTURE);
    c.push_back(glib::connect<gboolean(GtkEventControllerKey*, guint, guint, GdkModifierType)>(
        keys, "key-pressed", [this](GtkEventControllerKey*, guint keyval, guint, GdkModifierType state) {
            return keyPressed(keyval, state) ? TRUE : FALSE;
        }));
    gtk_widget_add_controller(field, keys);

    auto button = [&](Glyph glyph, glib::Hook<void()>& hook) {
        GtkWidget* widget = ToolButton::create(ToolButton::Look::nav);
        ToolButton::of(widget).setGlyph(glyph);
        c.push_back(ToolButton::of(widget).onClick.connect([&hook] { hook(); }));
        Panel::add(bar, widget);
        return glib::GRefPtr<GtkWidget>(widget);
    };
    m_previous = button(Glyph::up, onPrevious);
    m_next = button(Glyph::down, onNext);

    m_tallyLabel = glib::GRefPtr<GtkWidget>(gtk_label_new(nullptr));
    GtkWidget* tally = m_tallyLabel.get();
    gtk_widget_add_css_class(tally, "nimb-find-tally");
    gtk_label_set_xalign(GTK_LABEL(tally), 0);
    gtk_label_set_single_line_mode(GTK_LABEL(tally), TRUE);
    gtk_label_set_ellipsize(GTK_LABEL(tally), PANGO_ELLIPSIZE_END);
    gtk_widget_set_can_target(tally, FALSE);
    Panel::add(bar, tally);

    m_close = button(Glyph::dismiss, onClose);

    // A press on the bar itself, away from its controls, is meant for the field.
    GtkGesture* press = gtk_gesture_click_new();
    gtk_gesture_single_set_button(GTK_GESTURE_SINGLE(press), GDK_BUTTON_PRIMARY);
    c.push_back(glib::connect<void(GtkGestureClick*, int, double, double)>(
        press, "pressed", [this](GtkGestureClick*, int, double x, double y) { pressed(x, y); }));
    gtk_widget_add_controller(bar, GTK_EVENT_CONTROLLER(press));

    setCanStep(false);
    retitle();
}

FindBarView::~FindBarView() = default;

std::string FindBarView::text() const {
    return gtk_editable_get_text(GTK_EDITABLE(m_field.get()));
}

void FindBarView::focusField() {
    gtk_widget_grab_focus(m_field.get());
    gtk_editable_select_region(GTK_EDITABLE(m_field.get()), 0, -1);
}

void FindBarView::setHasMatches(bool hasMatches) {
    if (hasMatches == m_hasMatches) return;
    m_hasMatches = hasMatches;
    if (hasMatches)
        gtk_widget_remove_css_class(m_field.get(), "no-match");
    else
        gtk_widget_add_css_class(m_field.get(), "no-match");
}

void FindBarView::setCanStep(bool canStep) {
    m_canStep = canStep;
    previousButton().setEnabled(canStep);
    nextButton().setEnabled(canStep);
}

void FindBarView::setTally(std::string tally) {
    if (tally == m_tally) return;
    m_tally = std::move(tally);
    gtk_label_set_text(GTK_LABEL(m_tallyLabel.get()), m_tally.c_str());
    gtk_widget_queue_allocate(m_widget.get());
}

void FindBarView::retitle() {
    std::string placeholder = words().findPlaceholder();
    gtk_text_set_placeholder_text(GTK_TEXT(m_field.get()), placeholder.c_str());
    setLabel(m_field.get(), placeholder);
    setLabel(m_widget.get(), name(Shortcut::find));
    struct Titled {
        ToolButton& button;
        std::string help;
    };
    for (const auto& [button, help] :
         {Titled{previousButton(), words().findPrevious()}, Titled{nextButton(), words().findNext()},
          Titled{closeButton(), words().closeFind()}}) {
        button.setHelp(help);
        setLabel(button.widget(), help);
    }
}

bool FindBarView::keyPressed(guint keyval, GdkModifierType state) {
    auto modifiers = state & (GDK_SHIFT_MASK | GDK_CONTROL_MASK | GDK_ALT_MASK | GDK_SUPER_MASK);
    switch (keyval) {
    case GDK_KEY_Return:
    case GDK_KEY_KP_Enter:
    case GDK_KEY_ISO_Enter:
        if (modifiers == GDK_SHIFT_MASK)
            onPrevious();
        else if (modifiers == 0)
            onNext();
        else
            return false;
        return true;
    case GDK_KEY_Escape:
        if (modifiers != 0) return false;
        onClose();
        return true;
    default:
        return false;
    }
}

void FindBarView::pressed(double x, double y) {
    if (gtk_widget_pick(m_widget.get(), x, y, GTK_PICK_DEFAULT) == m_widget.get()) focusField();
}

void FindBarView::allocate(int width, int height) {
    double middle = height / 2.0;
    double buttonsWidth = 2 * buttonSize + buttonGap;
    Panel::Rect close{width - closeMargin - buttonSize, std::round(middle - buttonSize / 2), buttonSize,
                      buttonSize};
    double spare = close.x - tallyGap - tallyRoom - tallyGap - buttonsWidth - boxToButtons - boxStart;
    double boxWidth = std::clamp(spare, boxMinimum, boxMaximum);
    Panel::Rect box{boxStart, std::round(middle - boxHeight / 2), boxWidth, boxHeight};
    m_box = rect(box.x, box.y, box.width, box.height);

    double fieldWidth = std::max(0.0, box.width - 2 * boxPadding);
    double fieldHeight = naturalHeight(m_field.get(), static_cast<int>(fieldWidth));
    Panel::place(m_field.get(), Panel::Rect{box.x + boxPadding, std::round(middle - fieldHeight / 2),
                                            fieldWidth, fieldHeight});

    Panel::Rect previous{box.maxX() + boxToButtons, close.y, buttonSize, buttonSize};
    Panel::Rect next{previous.maxX() + buttonGap, close.y, buttonSize, buttonSize};
    Panel::place(m_previous.get(), previous);
    Panel::place(m_next.get(), next);

    double tallyX = next.maxX() + tallyGap;
    double tallyWidth = std::max(0.0, close.x - tallyGap - tallyX);
    double tallyHeight = naturalHeight(m_tallyLabel.get(), static_cast<int>(tallyWidth));
    Panel::place(m_tallyLabel.get(),
                 Panel::Rect{tallyX, std::round(middle - tallyHeight / 2), tallyWidth, tallyHeight});
    Panel::place(m_close.get(), close);
}

void FindBarView::draw(GtkSnapshot* snapshot, double width, double height) const {
    Drawing::fill(snapshot, rect(0, 0, width, height), Colours::face);
    Drawing::fill(snapshot, rect(0, 0, width, 1), Colours::line);
    if (m_box.size.width < 1) return;
    bool focused = gtk_widget_has_focus(m_field.get());
    Drawing::fillRounded(snapshot, m_box, boxRadius, Colours::sunken);
    Drawing::outlineRounded(snapshot, m_box, boxRadius, 1, focused ? Colours::dimInk : Colours::line);
}

} // namespace nimb
