#include "chrome/FirstClickSelection.h"

#include <chrono>
#include <utility>

namespace nimb {

namespace {

// Long enough for X's report of an earlier selection to come in on a busy machine.
constexpr std::chrono::milliseconds holdFor{500};

} // namespace

bool FirstClickSelection::pressed() {
    letGo();
    m_firstClick = m_field && (!m_engaged || !gtk_widget_is_focus(m_field));
    m_engaged = true;
    return m_firstClick;
}

bool FirstClickSelection::released() {
    if (!std::exchange(m_firstClick, false)) return false;
    if (!m_field) return true;
    // Taking the focus selects the whole address; given it already, the field selects it again.
    if (!gtk_widget_is_focus(m_field)) gtk_widget_grab_focus(m_field);
    gtk_editable_select_region(GTK_EDITABLE(m_field), 0, -1);
    m_engaged = true;
    hold();
    return true;
}

void FirstClickSelection::keyPressed() {
    letGo();
    m_engaged = true;
}

void FirstClickSelection::hold() {
    m_holding = glib::connect<void(GObject*, GParamSpec*)>(
        m_field, "notify::cursor-position", [this](GObject* field, GParamSpec*) {
            if (!gtk_editable_get_selection_bounds(GTK_EDITABLE(field), nullptr, nullptr))
                gtk_editable_select_region(GTK_EDITABLE(field), 0, -1);
        });
    m_holdEnds = glib::Source::timeout(holdFor, [this] { m_holding.disconnect(); });
}

void FirstClickSelection::letGo() {
    m_holding.disconnect();
    m_holdEnds.cancel();
}

void FirstClickSelection::stop() {
    letGo();
    m_engaged = false;
    m_firstClick = false;
}

void FirstClickSelection::release() {
    letGo();
    m_field = nullptr;
}

} // namespace nimb
