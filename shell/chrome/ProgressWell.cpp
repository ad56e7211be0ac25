#include "chrome/ProgressWell.h"

#include "chrome/Drawing.h"
#include "chrome/Panel.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace nimb {

ProgressWell::ProgressWell() : m_widget(Panel::create("nimb-progress")) {
    gtk_widget_set_can_target(m_widget.get(), FALSE);
    Panel::Hooks hooks;
    hooks.drawBelow = [this](GtkSnapshot* snapshot, double width, double height) {
        draw(snapshot, width, height);
    };
    Panel::setHooks(m_widget.get(), std::move(hooks));
}

ProgressWell::~ProgressWell() {
    Panel::clearHooks(m_widget.get());
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
    if (!showsBar() || width <= 0) return;
    double y = std::round((height - barHeight) / 2);
    Drawing::fillRounded(snapshot, Drawing::rect(0, y, width, barHeight), barRadius, Drawing::Colours::line);
    double filled = width * std::min(m_value, 1.0);
    Drawing::fillRounded(snapshot, Drawing::rect(0, y, filled, barHeight),
                         static_cast<float>(std::min(barRadius, filled / 2)), Drawing::Colours::ink);
}

} // namespace nimb
