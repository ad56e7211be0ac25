#include "chrome/WellPointer.h"

#include "chrome/LocationWell.h"

#include <gtk/gtk.h>

namespace nimb {

void WellPointer::redraw() const {
    gtk_widget_queue_draw(m_well.widget());
}

void WellPointer::mouseMoved(Point) {
    if (m_hovered) return;
    m_hovered = true;
    redraw();
}

void WellPointer::mouseExited() {
    if (!m_hovered) return;
    m_hovered = false;
    redraw();
}

void WellPointer::mouseDown(Point point) {
    m_hovered = true;
    if (m_well.showsKill() && m_well.closeHitArea().contains(point)) {
        m_pressedKill = true;
        redraw();
        return;
    }
    m_well.location().pressedBeside();
}

void WellPointer::mouseUp(Point point) {
    bool close = m_pressedKill && m_well.onClose && m_well.closeHitArea().contains(point);
    m_pressedKill = false;
    redraw();
    if (close) m_well.onClose();
}

} // namespace nimb
