#include "window/ZoomController.h"

#include "app/Application.h"
#include "library/Zoom.h"
#include "window/BrowserWindowController.h"
#include "window/Tab.h"
#include "window/TabList.h"
#include "window/WindowContext.h"

#include <cmath>

namespace nimb {

namespace {

std::int64_t percentOf(const Tab& tab) {
    return std::lround(webkit_web_view_get_zoom_level(tab.view()) * 100);
}

void show(const Tab& tab, std::int64_t percent) {
    if (percentOf(tab) != percent)
        webkit_web_view_set_zoom_level(tab.view(), static_cast<double>(percent) / 100.0);
}

// The site of the web page in the tab; none for the browser's own pages.
std::optional<std::string> siteOf(const Tab& tab) {
    if (tab.localPage || tab.documentIsGenerated) return std::nullopt;
    auto address = tab.viewAddress();
    return address ? Zoom::site(*address) : std::nullopt;
}

} // namespace

void ZoomController::zoomIn() {
    if (Tab* tab = m_context.tabs().currentTab()) set(Zoom::larger(percentOf(*tab)));
}

void ZoomController::zoomOut() {
    if (Tab* tab = m_context.tabs().currentTab()) set(Zoom::smaller(percentOf(*tab)));
}

void ZoomController::actualSize() {
    set(Zoom::actualSize);
}

void ZoomController::set(std::int64_t percent) {
    Tab* current = m_context.tabs().currentTab();
    if (!current) return;
    show(*current, percent);
    auto site = siteOf(*current);
    if (!site) return;
    Zoom::remember(m_context.prefs(), *current->viewAddress(), percent);
    // Every page of the site that is open follows, in every window.
    m_context.application().windows().forEach([&](BrowserWindowController& window) {
        for (const auto& tab : window.context().tabs().all()) {
            if (siteOf(*tab) == site) show(*tab, percent);
        }
    });
}

void ZoomController::pageCommitted(Tab& tab) {
    auto address = tab.viewAddress();
    bool web = !tab.documentIsGenerated && address && Zoom::site(*address);
    show(tab, web ? Zoom::level(m_context.prefs(), *address) : Zoom::actualSize);
}

} // namespace nimb
