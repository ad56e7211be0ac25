#include "chrome/WellLook.h"

namespace nimb {

void WellLook::setIcon(GdkTexture* icon) {
    if (icon == m_icon.get()) return;
    m_icon = glib::GRefPtr<GdkTexture>(icon);
    gtk_widget_queue_draw(m_well);
}

void WellLook::setPill(bool pill, double radius) {
    if (pill == m_pill && radius == m_radius) return;
    m_pill = pill;
    m_radius = radius;
    gtk_widget_queue_draw(m_well);
}

void WellLook::setHelp(std::string_view help) {
    if (help == m_help) return;
    m_help = std::string(help);
    gtk_widget_trigger_tooltip_query(m_well);
}

std::optional<std::string> WellLook::tooltip() const {
    if (!m_help.empty()) return m_help;
    return std::nullopt;
}

} // namespace nimb
