#include "window/FindController.h"

namespace nimb {

void FindController::open() {
    // The find bar is drawn by the custom chrome; until it exists there is nothing to open.
}

void FindController::run(int) {}

void FindController::rerun() {
    if (m_open) run(0);
}

bool FindController::dismissIfShowing() {
    if (!m_open) return false;
    m_open = false;
    return true;
}

} // namespace nimb
