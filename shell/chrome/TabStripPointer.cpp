#include "chrome/TabStripPointer.h"

#include <utility>

namespace nimb {

bool TabStripPointer::moveTo(const TabStrip::Layout& strip, Point point) {
    m_position = point;
    bool onNew = strip.newFrame().contains(point);
    auto caret = strip.caretFrame();
    bool onCaret = !onNew && caret && caret->contains(point);
    std::optional<Index> tab = onNew || onCaret ? std::nullopt : strip.tabIndex(point);
    bool onClose = false;
    if (tab) {
        auto tabFrame = strip.frame(*tab);
        onClose = tabFrame && strip.hasCloseBox(*tab, *tabFrame, tab) &&
                  strip.closeHitArea(*tabFrame).contains(point);
    }

    bool changed =
        tab != m_hovered || onClose != m_hoveredClose || onNew != m_hoveredNew || onCaret != m_hoveredCaret;
    m_hovered = tab;
    m_hoveredClose = onClose;
    m_hoveredNew = onNew;
    m_hoveredCaret = onCaret;
    return changed;
}

bool TabStripPointer::leave() {
    m_position.reset();
    bool changed = m_hovered || m_hoveredClose || m_hoveredNew || m_hoveredCaret;
    m_hovered.reset();
    m_hoveredClose = m_hoveredNew = m_hoveredCaret = false;
    return changed;
}

bool TabStripPointer::pressClose(const TabStrip::Layout& strip, Index index, Point point) {
    auto tabFrame = strip.frame(index);
    if (!tabFrame || !strip.hasCloseBox(index, *tabFrame, m_hovered) ||
        !strip.closeHitArea(*tabFrame).contains(point))
        return false;
    m_pressedClose = index;
    return true;
}

std::optional<TabStripPointer::Index> TabStripPointer::releaseClose() {
    return std::exchange(m_pressedClose, std::nullopt);
}

void TabStripPointer::forgetCloseFrom(Index count) {
    if (m_pressedClose && *m_pressedClose >= count) m_pressedClose.reset();
}

} // namespace nimb
