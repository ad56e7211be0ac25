#pragma once

// Find in page: whether the find bar is open, and the searches it runs in the current page. The bar
// itself comes with the custom chrome; the window keeps its state so that the menus can show it.

namespace nimb {

class WindowContext;

class FindController {
public:
    explicit FindController(WindowContext& context) : m_context(context) {}

    [[nodiscard]] bool isOpen() const { return m_open; }
    void open();
    // Steps to the next (1) or previous (-1) match, or searches again where the page now stands (0).
    void run(int step);
    // Searches again after the page or the tab changed, while the bar is open.
    void rerun();
    // Escape: closes the bar when it is open; false, and nothing done, when it is not.
    bool dismissIfShowing();

private:
    [[maybe_unused]] WindowContext& m_context;
    bool m_open = false;
};

} // namespace nimb
