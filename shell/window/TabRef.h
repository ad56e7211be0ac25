#pragma once

// A tab held weakly by something asynchronous (a script's answer, an icon, a deferred action), with its
// window. `lock()` gives both back only while the window is still open and the tab still one of its
// tabs; otherwise the work has nothing left to do and does nothing.

#include "window/Tab.h"

#include <memory>

namespace nimb {

class WindowContext;

class TabRef {
public:
    TabRef(WindowContext& window, Tab& tab);

    struct Locked {
        std::shared_ptr<WindowContext> window;
        std::shared_ptr<Tab> tab;
        explicit operator bool() const { return window && tab; }
    };
    // Both, or neither when either is gone (the window closed, the tab closed or torn down).
    [[nodiscard]] Locked lock() const;

private:
    std::weak_ptr<WindowContext> m_window;
    std::weak_ptr<Tab> m_tab;
};

} // namespace nimb
