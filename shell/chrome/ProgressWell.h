#pragma once

// How far the current page has loaded: a bar 4 points high with rounded ends, centred in the well
// and as wide as it, in the line colour, with the part loaded over it in the ink colour. At 0.001 or
// less there is nothing to show and only the well's (clear) ground is drawn.

#include "glib/GRefPtr.h"

#include <gtk/gtk.h>

namespace nimb {

class ProgressWell {
public:
    ProgressWell();
    ~ProgressWell();
    ProgressWell(const ProgressWell&) = delete;
    ProgressWell& operator=(const ProgressWell&) = delete;

    [[nodiscard]] GtkWidget* widget() const { return m_widget.get(); }
    void setValue(double value);
    [[nodiscard]] double value() const { return m_value; }
    // Whether anything but the ground is drawn.
    [[nodiscard]] bool showsBar() const;

    static constexpr double barHeight = 4;
    static constexpr double barRadius = 2;

private:
    void draw(GtkSnapshot* snapshot, double width, double height) const;

    glib::GRefPtr<GtkWidget> m_widget;
    double m_value = 0;
};

} // namespace nimb
