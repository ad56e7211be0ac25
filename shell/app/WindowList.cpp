#include "app/WindowList.h"

#include "location/LocationBar.h"
#include "window/BrowserWindowController.h"
#include "window/ChromeController.h"
#include "window/MarginController.h"
#include "window/Navigator.h"
#include "window/ReportRequests.h"
#include "window/TabList.h"
#include "window/WindowContext.h"

#include <gtk/gtk.h>

namespace nimb {

BrowserWindowController* WindowList::active() const {
    for (const auto& window : m_windows) {
        if (gtk_window_is_active(window->window())) return window.get();
    }
    return m_windows.empty() ? nullptr : m_windows.back().get();
}

void WindowList::add(std::shared_ptr<BrowserWindowController> window) {
    m_windows.push_back(std::move(window));
}

void WindowList::remove(BrowserWindowController& window) {
    std::erase_if(m_windows, [&](const auto& each) { return each.get() == &window; });
}

void WindowList::forEach(const std::function<void(BrowserWindowController&)>& each) const {
    auto windows = m_windows;
    for (const auto& window : windows)
        each(*window);
}

namespace {

// Draws again, in every tab of the window, the generated pages `shows` picks.
template <class Shows>
void redraw(BrowserWindowController& window, Shows shows) {
    WindowContext& context = window.context();
    auto tabs = context.tabs().all();
    for (const auto& tab : tabs) {
        if (tab->localPage && shows(*tab)) context.navigator().redrawLocal(*tab);
    }
}

} // namespace

void WindowList::historyChanged() const {
    forEach([](BrowserWindowController& window) {
        redraw(window, [](const Tab& tab) {
            return tab.localPage == LocationBar::aboutHistory || tab.localPage == LocationBar::aboutHome ||
                   tab.localPage == LocationBar::aboutBookmarks;
        });
    });
    if (m_menusChanged) m_menusChanged();
}

void WindowList::bookmarksChanged(const Tab* except) const {
    forEach([except](BrowserWindowController& window) {
        window.context().chrome().rebuildBookmarks();
        window.context().margin().refresh();
        redraw(window, [except](const Tab& tab) {
            return &tab != except && tab.localPage == LocationBar::aboutBookmarks;
        });
    });
}

void WindowList::savedReportsChanged() const {
    forEach([](BrowserWindowController& window) {
        bool shown = false;
        for (const auto& tab : window.context().tabs().all())
            shown = shown || tab->localPage == LocationBar::aboutReports;
        if (shown) window.context().reports().closePopover();
        redraw(window, [](const Tab& tab) { return tab.localPage == LocationBar::aboutReports; });
    });
}

} // namespace nimb
