#pragma once

// Counts the presses of a multiple click: another press of the same button soon enough after the
// last, and near enough to it (the toolkit's double-click time and distance), adds one; anything else
// starts again at one.

#include <gtk/gtk.h>

namespace nimb {

class ClickCounter {
public:
    // A press of `button` at (x, y) at `time`, on `widget`: how many presses the click has now.
    int press(GtkWidget* widget, unsigned button, guint32 time, double x, double y);

private:
    int m_count = 0;
    unsigned m_button = 0;
    guint32 m_time = 0;
    double m_x = 0;
    double m_y = 0;
};

} // namespace nimb
