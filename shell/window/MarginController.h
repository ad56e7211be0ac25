#pragma once

// The margin: whether it is open, the home address it is pinned to, and the panel that shows it. The
// panel is built the first time the margin opens; while open it shows the notes of the current page's
// home (the page itself when it has none), of a pinned address, or, on the browser's own pages, every
// note, and it is drawn again whenever the notes, the bookmarks, the current tab or its page change.
// What is clicked in it is carried out here: a note struck out, or a link opened in a new tab.

#include "glib/Connection.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nimb {

class MarginaliaView;
class WindowContext;

class MarginController {
public:
    explicit MarginController(WindowContext& context);
    ~MarginController();
    MarginController(const MarginController&) = delete;
    MarginController& operator=(const MarginController&) = delete;

    [[nodiscard]] bool isOpen() const { return m_open; }
    [[nodiscard]] const std::optional<std::string>& pinned() const { return m_pinned; }
    // The panel; none before the margin first opens.
    [[nodiscard]] MarginaliaView* view() const { return m_view.get(); }

    // Opens or closes the margin; closing lets go of the pinned address.
    void toggle();
    // Opens the margin on the notes of `address`.
    void showFor(std::string_view address);
    // Closes the margin when it is open, letting go of the pinned address.
    void hide();
    // The margin follows the current page again.
    void unpin() { m_pinned.reset(); }
    // Draws the margin again from the stores, for the current page (nothing while it is closed).
    void refresh();
    // The panel's words in the current language.
    void retitle();
    // The address whose shelves the margin shows now: the pinned one, else the current page's home or
    // the page itself; none for every shelf.
    [[nodiscard]] std::optional<std::string> here() const;

private:
    void open();
    void close();
    // Places the panel as the margin's state says and updates the menus.
    void update();

    WindowContext& m_context;
    std::unique_ptr<MarginaliaView> m_view;
    std::optional<std::string> m_pinned;
    bool m_open = false;
    std::vector<glib::Connection> m_connections; // to the panel's hooks; declared last, so they go first
};

} // namespace nimb
