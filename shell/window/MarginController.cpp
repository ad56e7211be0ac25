#include "window/MarginController.h"

#include "app/Application.h"
#include "window/WindowContext.h"

namespace nimb {

void MarginController::toggle() {
    m_open = !m_open;
    if (!m_open) m_pinned.reset();
    m_context.application().actions().scheduleValidate();
}

void MarginController::showFor(std::string_view address) {
    m_pinned = std::string(address);
    m_open = true;
    refresh();
    m_context.application().actions().scheduleValidate();
}

void MarginController::refresh() {
    // The margin panel arrives with the custom chrome; until then there is nothing to draw again.
}

} // namespace nimb
