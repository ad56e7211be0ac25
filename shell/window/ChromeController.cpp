#include "window/ChromeController.h"

#include "app/Application.h"
#include "app/Menus.h"
#include "base/Url.h"
#include "engine/FaviconStore.h"
#include "layout/TabStrip.h"
#include "library/Bookmarks.h"
#include "library/History.h"
#include "location/LocationBar.h"
#include "page/GeneratedPage.h"
#include "page/InternalActions.h"
#include "preferences/Preferences.h"
#include "window/BrowserWindowController.h"
#include "window/Navigator.h"
#include "window/RecordActions.h"
#include "window/ReportRequests.h"
#include "window/Tab.h"
#include "window/TabList.h"
#include "window/TabOverflowController.h"
#include "window/WindowContext.h"

namespace nimb {

namespace {

constexpr int minimumWidth = 480;
constexpr int minimumHeight = 320;
using InternalActions::generatedAddress;

} // namespace

ChromeController::ChromeController(WindowContext& context, GtkWidget* pages) : m_context(context) {
    m_strip = glib::GRefPtr<GtkWidget>(TabStripView::create());
    auto& strip = TabStripView::of(m_strip.get());
    m_connections.push_back(strip.input().onSelect.connect(
        [this](TabStripView::Index index) { m_context.tabs().select(index); }));
    m_connections.push_back(
        strip.input().onClose.connect([this](TabStripView::Index index) { m_context.tabs().close(index); }));
    m_connections.push_back(strip.input().onOverflow.connect(
        [this](const TabStrip::Rect& caret) { m_context.overflow().toggle(caret); }));
    m_connections.push_back(strip.input().onNew.connect([this] {
        Tab& tab = m_context.tabs().add(false);
        m_context.navigator().goHome(tab);
        focusLocation();
    }));
    m_chrome = makeChrome(callbacks(), m_strip.get(), pages);
    gtk_widget_set_size_request(m_chrome->root(), minimumWidth, minimumHeight);
}

ChromeController::~ChromeController() = default;

Chrome::Callbacks ChromeController::callbacks() {
    Chrome::Callbacks callbacks;
    callbacks.back = [this] { m_context.navigator().goBack(); };
    callbacks.forward = [this] { m_context.navigator().goForward(); };
    callbacks.reload = [this] { m_context.navigator().reloadPage(); };
    callbacks.locationEntered = [this](const std::string& text) {
        m_context.navigator().locationEntered(text);
    };
    callbacks.editing = [this](bool editing) {
        m_editing = editing;
        if (!editing) redrawAddress();
    };
    callbacks.completion = [this](std::string_view typed) {
        return History::completion(m_context.prefs(), typed);
    };
    callbacks.toggleStealth = [this] {
        setStealth(!m_stealth);
        m_context.application().actions().scheduleValidate();
    };
    callbacks.closeCurrent = [this] { m_context.tabs().closeCurrent(); };
    callbacks.openBookmark = [this](const std::string& address) {
        // A stored address that is not a whole address (no scheme) leads nowhere: the engine would
        // only blank the page.
        auto url = Url::parse(address);
        Tab* tab = m_context.tabs().currentTab();
        if (url && url->view().has_scheme() && tab) m_context.navigator().load(*url, *tab);
    };
    callbacks.openBookmarkInBackground = [this](const std::string& address) {
        auto url = Url::parse(address);
        if (!url || !url->view().has_scheme()) return;
        m_context.navigator().load(*url, m_context.tabs().add(true));
    };
    callbacks.removeFromToolbar = [this](const std::string& address) {
        m_context.records().apply(BookmarkAction::removeFromToolbar(address), nullptr);
    };
    callbacks.removeBookmark = [this](const std::string& address) {
        m_context.records().apply(BookmarkAction::remove(address), nullptr);
    };
    callbacks.showBookmarks = [this] { m_context.navigator().showBookmarks(); };
    callbacks.addBookmark = [this] { m_context.records().addBookmark(); };
    callbacks.showNimbReport = [this] {
        if (Tab* tab = m_context.tabs().currentTab()) m_context.reports().show(*tab);
    };

    // The shield.
    callbacks.toggleReportPopover = [this] { m_context.reports().togglePopover(); };
    return callbacks;
}

TabStripView& ChromeController::strip() const {
    return TabStripView::of(m_strip.get());
}

void ChromeController::showCurrentTab() {
    syncTitle();
    syncStrip();
    Tab* tab = m_context.tabs().currentTab();
    m_fullAddress = tab ? tab->address().value_or("") : "";
    if (tab && !tab->localPage && (m_fullAddress == generatedAddress || GeneratedPage::parse(m_fullAddress)))
        m_fullAddress.clear();
    redrawAddress();
    syncNavigation();
    m_chrome->retitle();
}

void ChromeController::syncTitle() {
    Tab* tab = m_context.tabs().currentTab();
    std::string label;
    if (tab && tab->localPage != LocationBar::aboutHome)
        label = TabStrip::label(tab->pageTitle(), tab->address());
    std::string title = Menus::applicationName;
    if (!label.empty() && label != TabStrip::untitled()) title = label + " - " + title;
    gtk_window_set_title(m_context.gtkWindow(), title.c_str());
}

void ChromeController::syncStrip() {
    if (m_context.closed()) return;
    const auto& tabs = m_context.tabs();
    std::vector<std::string> labels;
    std::vector<std::string> tips;
    for (const auto& tab : tabs.all()) {
        auto address = tab->address();
        std::string label = TabStrip::label(tab->pageTitle(), address);
        tips.push_back(TabStrip::tip(label, address));
        labels.push_back(std::move(label));
    }
    auto& view = strip();
    view.setLabels(std::move(labels));
    // The current tab's icon in colour, the others' greyed.
    std::vector<glib::GRefPtr<GdkTexture>> icons;
    for (const auto& tab : tabs.all()) {
        GdkTexture* texture = tab->icon();
        if (texture && !tabs.isCurrent(*tab)) texture = FaviconStore::grey(texture);
        icons.emplace_back(texture);
    }
    view.setIcons(std::move(icons));
    view.setTips(std::move(tips));
    view.setCurrent(tabs.current());
    Tab* tab = tabs.currentTab();
    m_chrome->setIcon(tab ? tab->icon() : nullptr);
    // In stealth the location pill stands in the current tab's place, wherever the tabs moved it.
    if (m_stealth) m_chrome->relayout();
}

void ChromeController::syncNavigation() {
    Tab* tab = m_context.tabs().currentTab();
    if (!tab) {
        m_chrome->setNavigation(false, false, false);
        return;
    }
    m_chrome->setNavigation(webkit_web_view_can_go_back(tab->view()),
                            webkit_web_view_can_go_forward(tab->view()), tab->loading());
}

void ChromeController::syncProgress() {
    Tab* tab = m_context.tabs().currentTab();
    m_chrome->setProgress(tab && tab->loading() ? tab->progress : 0);
}

void ChromeController::rebuildBookmarks() {
    if (m_context.closed()) return;
    m_chrome->setBookmarks(Bookmarks::toolbar(m_context.prefs()));
}

void ChromeController::retitle() {
    m_chrome->retitle();
}

void ChromeController::showAddress(std::string address) {
    m_fullAddress = std::move(address);
    if (!m_editing) redrawAddress();
}

void ChromeController::redrawAddress() {
    m_chrome->setAddress(m_fullAddress, restingLabel());
}

std::string ChromeController::restingLabel() const {
    Tab* tab = m_context.tabs().currentTab();
    if (m_stealth && tab) return TabStrip::label(tab->pageTitle(), tab->address());
    return LocationBar::restingLabel(m_fullAddress);
}

void ChromeController::focusLocation() {
    m_chrome->focusLocation();
}

void ChromeController::setStealth(bool on) {
    m_stealth = on;
    if (m_editing) {
        if (Tab* tab = m_context.tabs().currentTab()) gtk_widget_grab_focus(GTK_WIDGET(tab->view()));
    }
    strip().setStealth(m_stealth);
    m_chrome->setStealth(m_stealth);
    syncStrip();
    redrawAddress();
}

} // namespace nimb
