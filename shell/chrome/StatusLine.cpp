#include "chrome/StatusLine.h"

#include "chrome/Drawing.h"
#include "chrome/Panel.h"
#include "layout/WindowLayout.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace nimb {

namespace {

constexpr double padding = 8; // each side of the text
constexpr float corner = 6;

} // namespace

StatusLine::StatusLine() : m_widget(Panel::create("nimb-status")) {
    gtk_widget_set_can_target(m_widget.get(), FALSE);
    m_draw = Panel::hooks(m_widget.get())
                 .drawBelow.connect([this](GtkSnapshot* snapshot, double width, double height) {
                     draw(snapshot, width, height);
                 });
}

void StatusLine::setText(std::string_view text) {
    if (text == m_text) return;
    m_text = std::string(text);
    gtk_widget_queue_draw(m_widget.get());
}

void StatusLine::draw(GtkSnapshot* snapshot, double width, double height) const {
    if (m_text.empty() || width < 2 * padding) return;
    auto font = Drawing::font(WindowLayout::statusPoints);
    double textWidth = std::ceil(Drawing::textWidth(m_widget.get(), m_text, font.get()));
    double groundWidth = std::min(width, textWidth + 2 * padding);
    // Square where it meets the window's edges, rounded where it stands over the page.
    auto ground = Drawing::rect(0, 0, groundWidth, height);
    Drawing::fillRounded(snapshot, ground, {.topRight = corner}, Drawing::Colours::face);
    Drawing::text(snapshot, m_widget.get(), m_text,
                  Drawing::rect(padding, 0, groundWidth - 2 * padding, height), font.get(),
                  Drawing::Colours::dimInk);
}

} // namespace nimb
