#pragma once

// The list of the tabs the strip has no room for: opened from the strip's caret, closed by it again,
// and a picked row selects its tab.

#include "glib/Connection.h"
#include "layout/TabStrip.h"

#include <memory>

namespace nimb {

class TabOverflow;
class WindowContext;

class TabOverflowController {
public:
    explicit TabOverflowController(WindowContext& context);
    ~TabOverflowController();
    TabOverflowController(const TabOverflowController&) = delete;
    TabOverflowController& operator=(const TabOverflowController&) = delete;

    // The caret at `caret` (in the strip's coordinates) was pressed.
    void toggle(const TabStrip::Rect& caret);
    void close();
    [[nodiscard]] bool isVisible() const;
    void retitle();
    // The list, once it has been opened (for the window's tests).
    [[nodiscard]] TabOverflow* view() const { return m_view.get(); }

private:
    WindowContext& m_context;
    std::unique_ptr<TabOverflow> m_view; // made on first use
    glib::Connection m_picks;
};

} // namespace nimb
