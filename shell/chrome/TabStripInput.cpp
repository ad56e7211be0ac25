#include "chrome/TabStripInput.h"

#include "chrome/TabStripView.h"

#include <gtk/gtk.h>

#include <cmath>

namespace nimb {

namespace {

constexpr unsigned middleButton = 2;

} // namespace

void TabStripInput::redraw() const {
    gtk_widget_queue_draw(m_view.widget());
}

void TabStripInput::refresh() {
    if (auto position = m_pointer.position())
        hover(*position);
    else if (m_pointer.hovered() && *m_pointer.hovered() >= m_view.content().count())
        mouseExited();
}

bool TabStripInput::hover(Point point) {
    bool changed = m_pointer.moveTo(m_view.layout(), point);
    if (changed) redraw();
    return changed;
}

void TabStripInput::mouseExited() {
    if (m_pointer.leave()) redraw();
}

void TabStripInput::mouseDown(Point point, int clickCount) {
    // A press can come without a motion before it (the first event in a window just shown).
    hover(point);
    m_pointer.armDrag(false);
    TabStrip::Layout strip = m_view.layout();

    if (strip.newFrame().contains(point)) {
        onNew();
        return;
    }
    if (auto caret = strip.caretFrame(); caret && caret->contains(point)) {
        showOverflow(*caret);
        return;
    }
    if (auto index = strip.tabIndex(point)) {
        if (m_pointer.pressClose(strip, *index, point)) {
            redraw();
            return;
        }
        onSelect(*index);
        return;
    }
    if (clickCount == 2) {
        onNew();
        return;
    }
    m_pointer.armDrag(true);
}

void TabStripInput::mouseDragged(Point start, Point point) {
    if (!m_pointer.dragArmed()) return;
    auto whole = [](double value) { return static_cast<int>(std::lround(value)); };
    if (!gtk_drag_check_threshold(m_view.widget(), whole(start.x), whole(start.y), whole(point.x),
                                  whole(point.y)))
        return;
    m_pointer.armDrag(false);
    performWindowDrag();
}

void TabStripInput::mouseUp(Point point) {
    m_pointer.armDrag(false);
    auto pressed = m_pointer.releaseClose();
    if (!pressed) return;
    redraw();
    TabStrip::Layout strip = m_view.layout();
    auto tabFrame = strip.frame(*pressed);
    if (tabFrame && strip.closeHitArea(*tabFrame).contains(point)) onClose(*pressed);
}

void TabStripInput::otherMouseUp(Point point, unsigned button) {
    if (button != middleButton) return;
    if (auto index = m_view.layout().tabIndex(point)) onClose(*index);
}

void TabStripInput::showOverflow(const Rect& caret) {
    onOverflow(caret);
}

} // namespace nimb
