#include "chrome/FirstClickSelection.h"

#include <utility>

namespace nimb {

void FirstClickSelection::pressed() {
    m_firstClick = !m_engaged || !gtk_widget_is_focus(m_field);
    m_engaged = true;
}

void FirstClickSelection::released() {
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

void FirstClickSelection::stop() {
    m_engaged = false;
    m_firstClick = false;
    m_selectSource.cancel();
}

void FirstClickSelection::release() {
    m_selectSource.cancel();
    m_field = nullptr;
}

} // namespace nimb
