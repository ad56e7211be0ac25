#pragma once

// The tabs of one window, in strip order, and which of them is current. Tabs are made with their web
// views here (PageViews), shown in the window's page area one at a time, and torn down when closed.

#include "window/PageViews.h"
#include "window/Tab.h"

#include <gtk/gtk.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace nimb {

class TabObserver;
class WindowContext;

class TabList {
public:
    using Index = std::int64_t;

    // `stack` is the page area; `observer` hears every tab's view.
    TabList(WindowContext& context, GtkWidget* stack, TabObserver& observer);
    ~TabList();
    TabList(const TabList&) = delete;
    TabList& operator=(const TabList&) = delete;

    [[nodiscard]] const std::vector<std::shared_ptr<Tab>>& all() const { return m_tabs; }
    [[nodiscard]] std::size_t size() const { return m_tabs.size(); }
    [[nodiscard]] Index current() const { return m_current; }
    [[nodiscard]] Tab* currentTab() const;
    [[nodiscard]] bool isCurrent(const Tab& tab) const { return currentTab() == &tab; }
    [[nodiscard]] PageViews& views() { return m_views; }

    // A new tab right after the current one, shown unless `background`.
    Tab& add(bool background);
    // A new tab at `index` (at the end past it), shown unless `background`.
    Tab& insert(Index index, bool background);
    void select(Index index);
    // Everything that shows the current tab (chrome, shield, margin, status line), written afresh.
    void showCurrent();
    // Closes a tab, which can then be reopened (ClosedTabs); closing the only tab closes the window
    // (asking first when it has several tabs).
    void close(Index index);
    void closeCurrent() { close(m_current); }
    void selectNext();
    void selectPrevious();
    // Ctrl with a digit: the tab with that number, 9 the last.
    void selectNumber(int number);
    // Every tab torn down, as the window goes.
    void tearDownAll();

private:
    WindowContext& m_context;
    GtkWidget* m_stack;
    TabObserver& m_observer;
    PageViews m_views;
    std::vector<std::shared_ptr<Tab>> m_tabs;
    Index m_current = 0;
    // The tab the chrome shows, whose typing the location field holds.
    std::weak_ptr<Tab> m_shown;
};

} // namespace nimb
