#include "chrome/TabStripPainter.h"

#include "chrome/Drawing.h"

#include <algorithm>
#include <cmath>

namespace nimb {

namespace {

using Drawing::rect;
namespace Colours = Drawing::Colours;

constexpr double labelPoints = 12;
constexpr double iconSize = 16;
constexpr double labelStart = 36; // from a tab's left edge: the icon's place and a little air
constexpr double labelEndMargin = 10;
constexpr double fieldTextStart = 37; // as in the location well: the icon box at 12, then 9 points
constexpr double pillInset = 4;       // tabs, fields and buttons stand this far from the strip's edges
constexpr double separatorHeight = 16;

graphene_rect_t toGraphene(const TabStrip::Rect& r) {
    return rect(r.x, r.y, r.width, r.height);
}

} // namespace

TabStripPainter::TabStripPainter(GtkWidget* widget, const TabStripContent& content,
                                 const TabStripPointer& pointer, const DrawField& drawField)
    : m_widget(widget), m_content(content), m_pointer(pointer), m_drawField(drawField) {}

void TabStripPainter::paint(GtkSnapshot* snapshot, const TabStrip::Layout& strip) const {
    Drawing::fill(snapshot, rect(0, 0, strip.width, strip.height), Colours::face);

    TabStrip::Range shown = strip.shown();
    std::vector<Rect> frames = strip.tabFrames();
    for (std::size_t k = 0; k < frames.size(); ++k) {
        Index index = shown.lowerBound + static_cast<Index>(k);
        if (m_content.stealth)
            drawStealthTab(snapshot, strip, index, frames[k]);
        else
            drawTab(snapshot, strip, index, frames[k]);
    }

    // Hairlines between neighbouring tabs that have no ground of their own.
    if (!m_content.stealth) {
        for (std::size_t k = 1; k < frames.size(); ++k) {
            Index right = shown.lowerBound + static_cast<Index>(k);
            Index leftIndex = right - 1;
            auto plain = [&](Index index) {
                return index != m_content.current && m_pointer.hovered() != index;
            };
            if (!plain(leftIndex) || !plain(right)) continue;
            double x = std::round(frames[k].minX());
            Drawing::fill(snapshot,
                          rect(x, std::round(frames[k].midY() - separatorHeight / 2), 1, separatorHeight),
                          Colours::line);
        }
    }

    if (auto caret = strip.caretFrame()) {
        if (m_pointer.hoveredCaret())
            Drawing::fillRounded(snapshot,
                                 rect(caret->x + 2, pillInset + 2, caret->width - 4, strip.height - 12), 6,
                                 Colours::raised);
        Drawing::chevronDown(snapshot, caret->midX(), caret->midY(), 9, 1.5,
                             m_pointer.hoveredCaret() ? Colours::ink : Colours::dimInk);
    }

    Rect box = strip.newFrame();
    if (m_pointer.hoveredNew())
        Drawing::fillRounded(snapshot, rect(box.x, pillInset + 2, box.width, strip.height - 12), 6,
                             Colours::raised);
    Drawing::plus(snapshot, box.midX(), box.midY(), 11, 1.5,
                  m_pointer.hoveredNew() ? Colours::ink : Colours::dimInk);

    if (m_content.bottomLine)
        Drawing::fill(snapshot, rect(0, strip.height - 1, strip.width, 1), Colours::line);
}

void TabStripPainter::drawTab(GtkSnapshot* snapshot, const TabStrip::Layout& strip, Index index,
                              const Rect& frame) const {
    bool isCurrent = index == m_content.current;
    bool isHovered = m_pointer.hovered() == index;
    auto pill = rect(frame.x + 2, pillInset, frame.width - 4, frame.height - 2 * pillInset);
    if (isCurrent) {
        Drawing::fillRounded(snapshot, pill, 8, Colours::raised);
        Drawing::outlineRounded(snapshot, pill, 8, 1, Colours::line);
    } else if (isHovered) {
        Drawing::fillRounded(snapshot, pill, 8, Colours::sunken);
    }

    // The close box takes the icon's place while the pointer is on the tab.
    Rect iconBox = strip.closeBox(frame);
    if (strip.hasCloseBox(index, frame, m_pointer.hovered())) {
        drawCloseBox(snapshot, strip, index, frame);
    } else if (GdkTexture* texture = m_content.icon(index)) {
        Drawing::texture(snapshot, texture, toGraphene(iconBox));
    } else {
        Drawing::outlineRounded(snapshot, rect(iconBox.x + 2, iconBox.y + 2, iconSize - 4, iconSize - 4), 6,
                                1.5, Colours::line);
    }

    const std::string& label = m_content.labels[static_cast<std::size_t>(index)];
    auto font = Drawing::font(labelPoints, isCurrent);
    auto box = rect(frame.x + labelStart, frame.y, frame.width - labelStart - labelEndMargin, frame.height);
    Drawing::text(snapshot, m_widget, label, box, font.get(),
                  isCurrent || isHovered ? Colours::ink : Colours::dimInk);
}

void TabStripPainter::drawStealthTab(GtkSnapshot* snapshot, const TabStrip::Layout& strip, Index index,
                                     const Rect& frame) const {
    Index field = std::clamp<Index>(m_content.current, 0, strip.count - 1);
    if (index == field) {
        if (frame.width < 1) return;
        auto pill = rect(frame.x, pillInset, frame.width, frame.height - 2 * pillInset);
        float radius = static_cast<float>(std::min(frame.width, frame.height - 2 * pillInset) / 2);
        Drawing::fillRounded(snapshot, pill, radius, Colours::sunken);
        Drawing::outlineRounded(snapshot, pill, radius, 1, Colours::line);
        if (m_drawField) {
            m_drawField(snapshot, frame);
            return;
        }
        if (GdkTexture* texture = m_content.icon(index))
            Drawing::texture(snapshot, texture,
                             rect(frame.x + 12, std::round(frame.midY() - iconSize / 2), iconSize, iconSize));
        auto font = Drawing::font(labelPoints);
        auto box = rect(frame.x + fieldTextStart, frame.y, frame.width - fieldTextStart - 12, frame.height);
        Drawing::text(snapshot, m_widget, m_content.labels[static_cast<std::size_t>(index)], box, font.get(),
                      Colours::ink, Drawing::Align::centre);
        return;
    }

    if (m_pointer.hovered() == index)
        Drawing::fillRounded(snapshot,
                             rect(frame.x + 2, pillInset, frame.width - 4, frame.height - 2 * pillInset), 8,
                             Colours::raised);
    auto iconBox = rect(std::round(frame.midX() - iconSize / 2), std::round(frame.midY() - iconSize / 2),
                        iconSize, iconSize);
    if (GdkTexture* texture = m_content.icon(index)) {
        Drawing::texture(snapshot, texture, iconBox);
    } else {
        Drawing::outlineRounded(snapshot,
                                rect(iconBox.origin.x + 2, iconBox.origin.y + 2, iconSize - 4, iconSize - 4),
                                6, 1.5, m_pointer.hovered() == index ? Colours::ink : Colours::dimInk);
    }
    if (strip.hasCloseBox(index, frame, m_pointer.hovered())) drawCloseBox(snapshot, strip, index, frame);
}

void TabStripPainter::drawCloseBox(GtkSnapshot* snapshot, const TabStrip::Layout& strip, Index index,
                                   const Rect& frame) const {
    Rect box = strip.closeBox(frame);
    bool held = m_pointer.pressedClose() == index && m_pointer.hoveredClose();
    if (m_content.stealth) {
        // A badge over the icon's corner.
        Drawing::circle(snapshot, box.midX(), box.midY(), box.width, held ? Colours::pressed : Colours::line);
        Drawing::cross(snapshot, box.midX(), box.midY(), 6, 1.5, Colours::ink);
        return;
    }
    if (m_pointer.hoveredClose())
        Drawing::fillRounded(snapshot, toGraphene(box), 4, held ? Colours::pressed : Colours::line);
    Drawing::cross(snapshot, box.midX(), box.midY(), 7, 1.5,
                   m_pointer.hoveredClose() ? Colours::ink : Colours::dimInk);
}

} // namespace nimb
