#pragma once

// The margin: whether it is open, and the address whose notes it is pinned to. The panel itself comes
// with the custom chrome; the window keeps this state so that the menus can show it.

#include <optional>
#include <string>
#include <string_view>

namespace nimb {

class WindowContext;

class MarginController {
public:
    explicit MarginController(WindowContext& context) : m_context(context) {}

    [[nodiscard]] bool isOpen() const { return m_open; }
    [[nodiscard]] const std::optional<std::string>& pinned() const { return m_pinned; }
    // Opens or closes the margin; closing lets go of the pinned address.
    void toggle();
    // Opens the margin on the notes of `address`.
    void showFor(std::string_view address);
    // The margin follows the current page again.
    void unpin() { m_pinned.reset(); }
    // Draws the margin again from the stores, for the current page.
    void refresh();

private:
    WindowContext& m_context;
    std::optional<std::string> m_pinned;
    bool m_open = false;
};

} // namespace nimb
