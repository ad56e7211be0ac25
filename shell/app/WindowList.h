#pragma once

// Every open window of the application, in the order they were opened, and what is sent to all of
// them: after a stored record changed, every window draws again the generated pages that show it (and
// the personal toolbar and the margin, for bookmarks and notes).

#include <functional>
#include <memory>
#include <vector>

namespace nimb {

class BrowserWindowController;
class Tab;

class WindowList {
public:
    using Windows = std::vector<std::shared_ptr<BrowserWindowController>>;

    // `menusChanged` brings the menus' enabled states up to date after the history changed.
    explicit WindowList(std::function<void()> menusChanged) : m_menusChanged(std::move(menusChanged)) {}

    [[nodiscard]] Windows::const_iterator begin() const { return m_windows.begin(); }
    [[nodiscard]] Windows::const_iterator end() const { return m_windows.end(); }
    [[nodiscard]] std::size_t size() const { return m_windows.size(); }
    [[nodiscard]] bool empty() const { return m_windows.empty(); }
    [[nodiscard]] BrowserWindowController& at(std::size_t index) const { return *m_windows.at(index); }
    // The window commands go to: the first open window that is active, else the last one opened.
    [[nodiscard]] BrowserWindowController* active() const;

    // A window joins as it is made, and leaves as it is destroyed.
    void add(std::shared_ptr<BrowserWindowController> window);
    void remove(BrowserWindowController& window);
    // Every window, through a copy of the list: what is done to one may close another.
    void forEach(const std::function<void(BrowserWindowController&)>& each) const;

    void historyChanged() const;
    // `except` is a tab whose page already shows what was stored.
    void bookmarksChanged(const Tab* except) const;
    void savedReportsChanged() const;

private:
    std::function<void()> m_menusChanged;
    Windows m_windows;
};

} // namespace nimb
