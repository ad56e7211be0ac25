#include "chrome/ProgressWell.h"

#include "chrome/Drawing.h"
#include "chrome/Panel.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace nimb {

ProgressWell::ProgressWell() : m_widget(Panel::create("nimb-progress")) {
    gtk_widget_set_can_target(m_widget.get(), FALSE);
    m_draw = Panel::hooks(m_widget.get())
                 .drawBelow.connect([this](GtkSnapshot* snapshot, double width, double height) {
                     draw(snapshot, width, height);
                 });
}

void ProgressWell::setValue(double value) {
    if (!std::isfinite(value)) value = 0;
    if (value == m_value) return;
    m_value = value;
    gtk_widget_queue_draw(m_widget.get());
}

bool ProgressWell::showsBar() const {
    return m_value > 0.001;
}

void ProgressWell::draw(GtkSnapshot* snapshot, double width, double height) const {
    if (!showsBar() || width <= 2 * inset) return;
    // A ground of the chrome's face, so that the bar reads over any page: rounded where it stands over
    // the page, square where it meets the window's bottom edge.
    Drawing::fillRounded(snapshot, Drawing::rect(0, 0, width, height),
                         {.topLeft = corner, .topRight = corner}, Drawing::Colours::face);

    double y = std::round((height - barHeight) / 2);
    double track = width - 2 * inset;
    Drawing::fillRounded(snapshot, Drawing::rect(inset, y, track, barHeight), barRadius,
                         Drawing::Colours::line);
    double filled = track * std::min(m_value, 1.0);
    Drawing::fillRounded(snapshot, Drawing::rect(inset, y, filled, barHeight),
                         static_cast<float>(std::min(barRadius, filled / 2)), Drawing::Colours::ink);
}

} // namespace nimb
