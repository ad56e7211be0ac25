#include "chrome/ClickCounter.h"

#include <cmath>

namespace nimb {

int ClickCounter::press(GtkWidget* widget, unsigned button, guint32 time, double x, double y) {
    int interval = 400;
    int distance = 5;
    g_object_get(gtk_widget_get_settings(widget), "gtk-double-click-time", &interval,
                 "gtk-double-click-distance", &distance, nullptr);
    bool continues = m_count > 0 && button == m_button && time - m_time <= static_cast<guint32>(interval) &&
                     std::abs(x - m_x) <= distance && std::abs(y - m_y) <= distance;
    m_count = continues ? m_count + 1 : 1;
    m_button = button;
    m_time = time;
    m_x = x;
    m_y = y;
    return m_count;
}

} // namespace nimb
