#include "window/TabRef.h"

#include "window/WindowContext.h"

namespace nimb {

TabRef::TabRef(WindowContext& window, Tab& tab)
    : m_window(window.weak_from_this()), m_tab(tab.weak_from_this()) {}

TabRef::Locked TabRef::lock() const {
    auto window = m_window.lock();
    auto tab = m_tab.lock();
    if (!window || window->closed() || !tab || tab->tornDown()) return {};
    return {std::move(window), std::move(tab)};
}

} // namespace nimb
