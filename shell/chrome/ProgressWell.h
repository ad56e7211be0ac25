#pragma once

// How far the current page has loaded: a bar 4 points high with rounded ends, centred in the well
// and as wide as it less a small margin, in the line colour, with the part loaded over it in the ink
// colour, on a ground of the chrome's face so that it reads over any page. At 0.001 or less there is
// nothing to show and the well is left clear.

#include "glib/Connection.h"
#include "glib/GRefPtr.h"

#include <gtk/gtk.h>

namespace nimb {

class ProgressWell {
public:
    ProgressWell();
    ProgressWell(const ProgressWell&) = delete;
    ProgressWell& operator=(const ProgressWell&) = delete;

    [[nodiscard]] GtkWidget* widget() const { return m_widget.get(); }
    void setValue(double value);
    [[nodiscard]] double value() const { return m_value; }
    // Whether anything but the ground is drawn.
    [[nodiscard]] bool showsBar() const;

    static constexpr double barHeight = 4;
    static constexpr double barRadius = 2;
    // The bar's ends from the well's sides, and the rounding of the ground's upper corners.
    static constexpr double inset = 8;
    static constexpr float corner = 6;

private:
    void draw(GtkSnapshot* snapshot, double width, double height) const;

    glib::GRefPtr<GtkWidget> m_widget;
    double m_value = 0;
    glib::Connection m_draw; // declared last, so that it goes before what it draws with
};

} // namespace nimb
