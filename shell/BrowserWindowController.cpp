// The browser window: its tabs, loading, the navigation policy, and the page life cycle.

#include "BrowserWindowController.h"

#include "Application.h"
#include "BlockerRules.h"
#include "Dialogs.h"
#include "FaviconStore.h"
#include "Menus.h"
#include "PageSetup.h"
#include "TabKeys.h"
#include "base/Text.h"
#include "layout/TabStrip.h"
#include "library/Bookmarks.h"
#include "library/History.h"
#include "location/SearchRewrite.h"
#include "location/UserAgent.h"
#include "pages/BookmarksPage.h"
#include "pages/HistoryPage.h"
#include "pages/HomePage.h"
#include "preferences/Preferences.h"
#include "report/SavedReportsPage.h"

#include <algorithm>
#include <cerrno>

namespace nimb {

namespace {

constexpr const char* controllerKey = "nimb-browser-window-controller";
constexpr std::string_view generatedAddress = "about:blank";
constexpr int windowWidth = 1000;
constexpr int windowHeight = 720;
constexpr int minimumWidth = 480;
constexpr int minimumHeight = 320;

std::vector<std::shared_ptr<BrowserWindowController>>& openList() {
    static auto* list = new std::vector<std::shared_ptr<BrowserWindowController>>;
    return *list;
}

bool isInternalAddress(std::string_view address) {
    return address == LocationBar::aboutHome || address == LocationBar::aboutBookmarks ||
           address == LocationBar::aboutHistory || address == LocationBar::aboutReports ||
           address == LocationBar::aboutReport;
}

} // namespace

// ------------------------------------------------------------------------------------------------
// The list of windows

const std::vector<std::shared_ptr<BrowserWindowController>>& BrowserWindowController::open() {
    return openList();
}

BrowserWindowController* BrowserWindowController::of(GtkWindow* window) {
    if (!window) return nullptr;
    return static_cast<BrowserWindowController*>(g_object_get_data(G_OBJECT(window), controllerKey));
}

BrowserWindowController::BrowserWindowController(Passkey, Application& application) : m_app(application) {}

BrowserWindowController::~BrowserWindowController() = default;

BrowserWindowController& BrowserWindowController::make(Application& application,
                                                       const std::optional<Url>& address) {
    auto controller = std::make_shared<BrowserWindowController>(Passkey{}, application);
    openList().push_back(controller);
    controller->build();
    if (address)
        controller->load(*address, *controller->currentTab());
    else
        controller->goHome(*controller->currentTab());
    application.installStyle();
    gtk_window_present(controller->m_window);
    application.scheduleValidate();
    return *controller;
}

Preferences& BrowserWindowController::prefs() const {
    return m_app.preferences();
}

Date BrowserWindowController::now() const {
    return m_app.now();
}

TabStripView& BrowserWindowController::tabStrip() const {
    return TabStripView::of(m_strip.get());
}

std::shared_ptr<Tab> BrowserWindowController::shared(const Tab& tab) const {
    for (const auto& each : m_tabs) {
        if (each.get() == &tab) return each;
    }
    return nullptr;
}

// ------------------------------------------------------------------------------------------------
// Building the window

void BrowserWindowController::build() {
    m_window = GTK_WINDOW(gtk_application_window_new(m_app.gtk()));
    g_object_set_data(G_OBJECT(m_window), controllerKey, this);
    gtk_window_set_title(m_window, Menus::applicationName);
    gtk_window_set_default_size(m_window, windowWidth, windowHeight);
    gtk_widget_add_css_class(GTK_WIDGET(m_window), "nimb");
    gtk_application_window_set_show_menubar(GTK_APPLICATION_WINDOW(m_window), TRUE);

    g_signal_connect(m_window, "close-request", G_CALLBACK(+[](GtkWindow*, BrowserWindowController* self) {
                         return self->windowShouldClose() ? FALSE : TRUE;
                     }),
                     this);
    g_signal_connect(m_window, "destroy",
                     G_CALLBACK(+[](GtkWidget*, BrowserWindowController* self) { self->windowWillClose(); }),
                     this);
    g_signal_connect(m_window, "notify::is-active",
                     G_CALLBACK(+[](GObject*, GParamSpec*, BrowserWindowController* self) {
                         self->m_app.scheduleValidate();
                     }),
                     this);

    // The tab keys are seen before anything in the window, the page included.
    GtkEventController* keys = gtk_event_controller_key_new();
    gtk_event_controller_set_propagation_phase(keys, GTK_PHASE_CAPTURE);
    g_signal_connect(keys, "key-pressed",
                     G_CALLBACK(+[](GtkEventControllerKey*, guint keyval, guint, GdkModifierType state,
                                    BrowserWindowController* self) -> gboolean {
                         return self->m_app.handleTabKey(*self, keyval, state) ? TRUE : FALSE;
                     }),
                     this);
    gtk_widget_add_controller(GTK_WIDGET(m_window), keys);

    // What the page's context menu offers besides the engine's own items.
    m_pageActions = glib::adoptGRef(g_simple_action_group_new());
    struct PageAction {
        const char* name;
        void (*run)(BrowserWindowController&);
    };
    static const PageAction pageActions[] = {
        {"addBookmark", [](BrowserWindowController& w) { w.addBookmark(); }},
        {"showBookmarks", [](BrowserWindowController& w) { w.showBookmarks(); }},
        {"showMarginalia", [](BrowserWindowController& w) { w.showMarginalia(); }},
        {"addToMarginalia", [](BrowserWindowController& w) { w.addToMarginalia(); }},
        {"nimbReport",
         [](BrowserWindowController& w) {
             if (Tab* tab = w.currentTab()) w.showNimbReport(*tab);
         }},
    };
    for (const auto& pageAction : pageActions) {
        GSimpleAction* action = g_simple_action_new(pageAction.name, nullptr);
        g_signal_connect(action, "activate", G_CALLBACK(+[](GSimpleAction* a, GVariant*, gpointer data) {
                             auto* self = static_cast<BrowserWindowController*>(data);
                             std::string_view name = g_action_get_name(G_ACTION(a));
                             for (const auto& candidate : pageActions) {
                                 if (name == candidate.name) candidate.run(*self);
                             }
                         }),
                         this);
        g_action_map_add_action(G_ACTION_MAP(m_pageActions.get()), G_ACTION(action));
        g_object_unref(action);
    }
    gtk_widget_insert_action_group(GTK_WIDGET(m_window), "page", G_ACTION_GROUP(m_pageActions.get()));

    buildContent();
    addTab(false);
}

void BrowserWindowController::buildContent() {
    m_strip = glib::GRefPtr<GtkWidget>(TabStripView::create());
    auto& strip = TabStripView::of(m_strip.get());
    strip.onSelect = [this](TabStripView::Index index) { select(index); };
    strip.onClose = [this](TabStripView::Index index) { close(index); };
    strip.onNew = [this] {
        Tab& tab = addTab(false);
        goHome(tab);
        focusLocation();
    };

    m_stack = gtk_stack_new();
    gtk_stack_set_transition_type(GTK_STACK(m_stack), GTK_STACK_TRANSITION_TYPE_NONE);

    Chrome::Callbacks callbacks;
    callbacks.back = [this] { goBack(); };
    callbacks.forward = [this] { goForward(); };
    callbacks.reload = [this] { reloadPage(); };
    callbacks.locationEntered = [this](const std::string& text) { locationEntered(text); };
    callbacks.editing = [this](bool editing) {
        m_editing = editing;
        if (!editing) redrawAddress();
    };
    callbacks.completion = [this](std::string_view typed) { return History::completion(prefs(), typed); };
    callbacks.toggleStealth = [this] {
        setStealth(!m_stealth);
        m_app.scheduleValidate();
    };
    callbacks.closeCurrent = [this] { closeTab(); };
    callbacks.openBookmark = [this](const std::string& address) {
        // A stored address that is not a whole address (no scheme) leads nowhere: the engine would
        // only blank the page.
        auto url = Url::parse(address);
        Tab* tab = currentTab();
        if (url && url->view().has_scheme() && tab) load(*url, *tab);
    };
    callbacks.removeFromToolbar = [this](const std::string& address) {
        apply(BookmarkAction::removeFromToolbar(address), nullptr);
    };
    callbacks.removeBookmark = [this](const std::string& address) {
        apply(BookmarkAction::remove(address), nullptr);
    };
    callbacks.showBookmarks = [this] { showBookmarks(); };
    callbacks.addBookmark = [this] { addBookmark(); };
    callbacks.showNimbReport = [this] {
        if (Tab* tab = currentTab()) showNimbReport(*tab);
    };
    m_chrome = makeChrome(std::move(callbacks), m_strip.get(), m_stack);

    GtkWidget* root = m_chrome->root();
    gtk_widget_set_size_request(root, minimumWidth, minimumHeight);
    // The strip is the title bar: the window draws no title bar of its own, and the window's buttons
    // stand in the strip.
    GtkWidget* titlebar = gtk_label_new(nullptr);
    gtk_widget_set_visible(titlebar, FALSE);
    gtk_window_set_titlebar(m_window, titlebar);
    gtk_window_set_child(m_window, root);
    rebuildBookmarks();
    m_chrome->retitle();
}

void BrowserWindowController::rebuildBookmarks() {
    if (m_closed) return;
    m_chrome->setBookmarks(Bookmarks::toolbar(prefs()));
}

WebKitWebView* BrowserWindowController::makePageView() {
    WebKitSettings* settings = webkit_settings_new();
    webkit_settings_set_enable_javascript_markup(settings, prefs().javaScriptEnabled());
    // The engine appends "<name>/<version>": here "Version/<v> Safari" and "605.1.15".
    std::string agent = UserAgent::applicationName();
    auto slash = agent.rfind('/');
    if (slash != std::string::npos)
        webkit_settings_set_user_agent_with_application_details(settings, agent.substr(0, slash).c_str(),
                                                                agent.substr(slash + 1).c_str());

    WebKitUserContentManager* manager = webkit_user_content_manager_new();
    PageSetup::registerMessageHandlers(manager);
    g_signal_connect(
        manager, "script-message-received::status",
        G_CALLBACK(+[](WebKitUserContentManager* m, JSCValue* body, BrowserWindowController* self) {
            for (const auto& tab : self->m_tabs) {
                if (webkit_web_view_get_user_content_manager(tab->view()) == m)
                    return self->statusMessage(tab->view(), body);
            }
        }),
        this);
    g_signal_connect(
        manager, "script-message-received::blocked",
        G_CALLBACK(+[](WebKitUserContentManager* m, JSCValue* body, BrowserWindowController* self) {
            for (const auto& tab : self->m_tabs) {
                if (webkit_web_view_get_user_content_manager(tab->view()) == m)
                    return self->blockedMessage(tab->view(), body);
            }
        }),
        this);
    g_signal_connect(
        manager, "script-message-received::favicon",
        G_CALLBACK(+[](WebKitUserContentManager* m, JSCValue* body, BrowserWindowController* self) {
            for (const auto& tab : self->m_tabs) {
                if (webkit_web_view_get_user_content_manager(tab->view()) == m)
                    return self->faviconMessage(tab->view(), body);
            }
        }),
        this);

    auto* view = WEBKIT_WEB_VIEW(g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context", m_app.context(),
                                              "network-session", m_app.session(), "user-content-manager",
                                              manager, "settings", settings, nullptr));
    g_object_unref(settings);
    g_object_unref(manager);
    gtk_widget_set_hexpand(GTK_WIDGET(view), TRUE);
    gtk_widget_set_vexpand(GTK_WIDGET(view), TRUE);
    applyPagePolicy(view);
    return view;
}

void BrowserWindowController::observe(Tab& tab) {
    WebKitWebView* view = tab.view();
    g_signal_connect(view, "decide-policy",
                     G_CALLBACK(+[](WebKitWebView* v, WebKitPolicyDecision* d, WebKitPolicyDecisionType t,
                                    BrowserWindowController* self) -> gboolean {
                         return self->decidePolicy(v, d, t) ? TRUE : FALSE;
                     }),
                     this);
    g_signal_connect(view, "create",
                     G_CALLBACK(+[](WebKitWebView* v, WebKitNavigationAction* a,
                                    BrowserWindowController* self) -> GtkWidget* {
                         return GTK_WIDGET(self->createWebView(v, a));
                     }),
                     this);
    g_signal_connect(view, "load-changed",
                     G_CALLBACK(+[](WebKitWebView* v, WebKitLoadEvent e, BrowserWindowController* self) {
                         self->loadChanged(v, e);
                     }),
                     this);
    g_signal_connect(view, "load-failed",
                     G_CALLBACK(+[](WebKitWebView* v, WebKitLoadEvent, char*, GError* error,
                                    BrowserWindowController* self) -> gboolean {
                         self->loadFailed(v, error);
                         return TRUE;
                     }),
                     this);
    g_signal_connect(view, "notify::title",
                     G_CALLBACK(+[](WebKitWebView* v, GParamSpec*, BrowserWindowController* self) {
                         self->titleChanged(v);
                     }),
                     this);
    g_signal_connect(view, "notify::uri",
                     G_CALLBACK(+[](WebKitWebView* v, GParamSpec*, BrowserWindowController* self) {
                         self->addressChanged(v);
                     }),
                     this);
    g_signal_connect(view, "notify::estimated-load-progress",
                     G_CALLBACK(+[](WebKitWebView* v, GParamSpec*, BrowserWindowController* self) {
                         self->progressChanged(v);
                     }),
                     this);
    g_signal_connect(view, "notify::is-loading",
                     G_CALLBACK(+[](WebKitWebView* v, GParamSpec*, BrowserWindowController* self) {
                         self->loadingChanged(v);
                     }),
                     this);
    g_signal_connect(view, "context-menu",
                     G_CALLBACK(+[](WebKitWebView* v, WebKitContextMenu* menu, WebKitHitTestResult*,
                                    BrowserWindowController* self) -> gboolean {
                         return self->contextMenu(v, menu) ? TRUE : FALSE;
                     }),
                     this);
    g_signal_connect(webkit_web_view_get_back_forward_list(view), "changed",
                     G_CALLBACK(+[](WebKitBackForwardList* list, WebKitBackForwardListItem*, gpointer,
                                    BrowserWindowController* self) {
                         for (const auto& each : self->m_tabs) {
                             if (webkit_web_view_get_back_forward_list(each->view()) == list)
                                 return self->historyAvailabilityChanged(each->view());
                         }
                     }),
                     this);
}

void BrowserWindowController::forget(Tab& tab) {
    if (WebKitWebView* view = tab.view()) {
        g_signal_handlers_disconnect_by_data(view, this);
        g_signal_handlers_disconnect_by_data(webkit_web_view_get_back_forward_list(view), this);
        g_signal_handlers_disconnect_by_data(webkit_web_view_get_user_content_manager(view), this);
    }
    tab.teardown();
}

// ------------------------------------------------------------------------------------------------
// Tabs

Tab* BrowserWindowController::currentTab() const {
    if (m_current < 0 || m_current >= static_cast<Index>(m_tabs.size())) return nullptr;
    return m_tabs[static_cast<std::size_t>(m_current)].get();
}

Tab* BrowserWindowController::tabFor(WebKitWebView* view) const {
    for (const auto& tab : m_tabs) {
        if (tab->view() == view) return tab.get();
    }
    return nullptr;
}

bool BrowserWindowController::isCurrent(const Tab& tab) const {
    return currentTab() == &tab;
}

Tab& BrowserWindowController::addTab(bool background) {
    WebKitWebView* view = makePageView();
    auto tab = std::make_shared<Tab>(view);
    auto at = m_tabs.empty() ? m_tabs.begin() : m_tabs.begin() + (m_current + 1);
    auto index = static_cast<Index>(at - m_tabs.begin());
    m_tabs.insert(at, tab);
    observe(*tab);
    gtk_stack_add_child(GTK_STACK(m_stack), GTK_WIDGET(view));
    if (background) {
        syncStrip();
        m_app.scheduleValidate();
    } else {
        select(index);
    }
    return *tab;
}

void BrowserWindowController::select(Index index) {
    if (index < 0 || index >= static_cast<Index>(m_tabs.size())) return;
    m_pinned.reset();
    m_current = index;
    Tab& tab = *m_tabs[static_cast<std::size_t>(index)];
    gtk_stack_set_visible_child(GTK_STACK(m_stack), GTK_WIDGET(tab.view()));
    gtk_widget_grab_focus(GTK_WIDGET(tab.view()));
    syncChrome();
    if (m_findOpen) runFind(0);
    m_app.scheduleValidate();
}

void BrowserWindowController::close(Index index) {
    if (index < 0 || index >= static_cast<Index>(m_tabs.size())) return;
    auto next = TabStrip::selection(index, m_current, static_cast<Index>(m_tabs.size()));
    if (!next) {
        performClose();
        return;
    }
    auto tab = m_tabs[static_cast<std::size_t>(index)];
    m_tabs.erase(m_tabs.begin() + index);
    forget(*tab);
    m_current = *next;
    select(*next);
}

void BrowserWindowController::closeTab() {
    close(m_current);
}

void BrowserWindowController::nextTab() {
    if (auto next = TabKeys::nextTab(m_current, static_cast<long>(m_tabs.size()))) select(*next);
}

void BrowserWindowController::previousTab() {
    if (auto previous = TabKeys::previousTab(m_current, static_cast<long>(m_tabs.size()))) select(*previous);
}

void BrowserWindowController::selectTab(int number) {
    if (auto index = TabKeys::tabForNumber(number, static_cast<long>(m_tabs.size()))) select(*index);
}

void BrowserWindowController::performClose() {
    if (m_window && !m_closed) gtk_window_close(m_window);
}

bool BrowserWindowController::windowShouldClose() {
    if (m_closing || m_tabs.size() < 2) return true;
    if (m_asking) return false;
    m_asking = true;
    std::weak_ptr<BrowserWindowController> weak = weak_from_this();
    Dialogs::confirm(m_window, words().closeWindowQuestion(),
                     words().closeWindowDetail(static_cast<std::int64_t>(m_tabs.size())),
                     words().closeWindow(), [weak](bool close) {
                         auto self = weak.lock();
                         if (!self) return;
                         self->m_asking = false;
                         if (!close) return;
                         self->m_closing = true;
                         self->performClose();
                     });
    return false;
}

void BrowserWindowController::windowWillClose() {
    if (m_closed) return;
    m_closed = true;
    auto self = shared_from_this(); // the list lets go below; this lives until the handler returns
    g_signal_handlers_disconnect_by_data(m_window, this);
    // A context menu may still hold the page's actions; they no longer reach this window.
    if (m_pageActions) {
        gchar** names = g_action_group_list_actions(G_ACTION_GROUP(m_pageActions.get()));
        for (gchar** name = names; name && *name; ++name)
            g_signal_handlers_disconnect_by_data(
                g_action_map_lookup_action(G_ACTION_MAP(m_pageActions.get()), *name), this);
        g_strfreev(names);
    }
    if (m_strip) {
        auto& strip = TabStripView::of(m_strip.get());
        strip.onSelect = nullptr;
        strip.onClose = nullptr;
        strip.onNew = nullptr;
    }
    for (const auto& tab : m_tabs)
        forget(*tab);
    m_tabs.clear();
    m_current = 0;
    auto& list = openList();
    list.erase(std::remove(list.begin(), list.end(), self), list.end());
    m_app.scheduleValidate();
}

// ------------------------------------------------------------------------------------------------
// Loading

void BrowserWindowController::load(const Url& address, Tab& tab) {
    const std::string& text = address.string();
    if (isInternalAddress(text)) {
        using Kind = LocationBar::Destination::Kind;
        Kind kind = text == LocationBar::aboutHome        ? Kind::home
                    : text == LocationBar::aboutBookmarks ? Kind::bookmarks
                    : text == LocationBar::aboutHistory   ? Kind::history
                    : text == LocationBar::aboutReports   ? Kind::savedReports
                                                          : Kind::report;
        go(LocationBar::Destination::of(kind), tab);
        return;
    }
    tab.localPage.reset();
    Url target = address;
    if (prefs().linksOnlySearch()) {
        if (auto rewritten = SearchRewrite::webResults(address)) target = *rewritten;
    }
    if (isCurrent(tab)) {
        m_fullAddress = target.string();
        if (!m_editing) redrawAddress();
    }
    tab.pendingGenerated = false;
    std::weak_ptr<BrowserWindowController> weakWindow = weak_from_this();
    std::weak_ptr<Tab> weakTab = shared(tab);
    tab.armTimeout(static_cast<guint>(m_app.requestTimeout().count()), [weakWindow, weakTab] {
        auto window = weakWindow.lock();
        auto stalled = weakTab.lock();
        if (window && stalled) window->timedOut(*stalled);
    });
    webkit_web_view_load_uri(tab.view(), target.string().c_str());
    syncStrip();
}

void BrowserWindowController::timedOut(Tab& tab) {
    if (webkit_web_view_is_loading(tab.view())) webkit_web_view_stop_loading(tab.view());
}

void BrowserWindowController::go(const LocationBar::Destination& destination, Tab& tab) {
    using Kind = LocationBar::Destination::Kind;
    switch (destination.kind) {
    case Kind::url:
        if (destination.url) load(*destination.url, tab);
        break;
    case Kind::home:
        showLocal(LocationBar::aboutHome, *generatedPage(LocationBar::aboutHome), tab);
        break;
    case Kind::bookmarks:
        showLocal(LocationBar::aboutBookmarks, *generatedPage(LocationBar::aboutBookmarks), tab);
        break;
    case Kind::history:
        showLocal(LocationBar::aboutHistory, *generatedPage(LocationBar::aboutHistory), tab);
        break;
    case Kind::savedReports:
        closeReportPopover();
        showLocal(LocationBar::aboutReports, *generatedPage(LocationBar::aboutReports), tab);
        break;
    case Kind::report:
        showNimbReport(tab);
        break;
    case Kind::nowhere:
        break;
    }
}

void BrowserWindowController::goHome(Tab& tab) {
    auto destination = prefs().resolve(prefs().homePage());
    if (destination.kind == LocationBar::Destination::Kind::nowhere)
        destination = LocationBar::Destination::home;
    go(destination, tab);
}

std::optional<std::string> BrowserWindowController::generatedPage(std::string_view address) const {
    if (address == LocationBar::aboutHome) return HomePage::html(prefs().history());
    if (address == LocationBar::aboutBookmarks)
        return BookmarksPage::html(prefs().bookmarks(), prefs().history(), prefs().notes(), now());
    if (address == LocationBar::aboutHistory) return HistoryPage::html(prefs().history(), now());
    if (address == LocationBar::aboutReports) return SavedReportsPage::html(prefs().savedReports(), now());
    return std::nullopt;
}

void BrowserWindowController::showLocal(std::string_view address, const std::string& html, Tab& tab) {
    tab.localPage = std::string(address);
    if (isCurrent(tab)) {
        m_fullAddress = std::string(address);
        if (!m_editing) redrawAddress();
    }
    tab.pendingGenerated = true;
    tab.disarmTimeout();
    webkit_web_view_load_html(tab.view(), html.c_str(), nullptr);
    syncTitle();
    syncStrip();
}

void BrowserWindowController::redrawLocal(Tab& tab) {
    if (!tab.localPage) return;
    if (auto html = generatedPage(*tab.localPage)) showLocal(*tab.localPage, *html, tab);
}

void BrowserWindowController::showHistory() {
    if (Tab* tab = currentTab()) go(LocationBar::Destination::history, *tab);
}

void BrowserWindowController::showBookmarks() {
    if (Tab* tab = currentTab()) go(LocationBar::Destination::bookmarks, *tab);
}

void BrowserWindowController::showSavedReports() {
    if (Tab* tab = currentTab()) go(LocationBar::Destination::savedReports, *tab);
}

void BrowserWindowController::reload(Tab& tab) {
    if (tab.localPage) {
        if (*tab.localPage == LocationBar::aboutReport) return;
        if (auto html = generatedPage(*tab.localPage)) {
            if (*tab.localPage == LocationBar::aboutReports) closeReportPopover();
            showLocal(*tab.localPage, *html, tab);
            return;
        }
    }
    tab.pendingGenerated = false;
    webkit_web_view_reload(tab.view());
}

void BrowserWindowController::reloadAll() {
    // A copy: reloading can close the popover, and nothing here may change the list under it.
    auto tabs = m_tabs;
    for (const auto& tab : tabs)
        reload(*tab);
}

void BrowserWindowController::reloadPage() {
    Tab* tab = currentTab();
    if (!tab) return;
    if (webkit_web_view_is_loading(tab->view()))
        webkit_web_view_stop_loading(tab->view());
    else
        reload(*tab);
}

void BrowserWindowController::printPage() {
    Tab* tab = currentTab();
    if (!tab) return;
    WebKitPrintOperation* operation = webkit_print_operation_new(tab->view());
    webkit_print_operation_run_dialog(operation, m_window);
    g_object_unref(operation);
}

void BrowserWindowController::goBack() {
    if (Tab* tab = currentTab()) {
        tab->pendingGenerated = false;
        webkit_web_view_go_back(tab->view());
    }
}

void BrowserWindowController::goForward() {
    if (Tab* tab = currentTab()) {
        tab->pendingGenerated = false;
        webkit_web_view_go_forward(tab->view());
    }
}

void BrowserWindowController::stopLoading() {
    if (Tab* tab = currentTab()) webkit_web_view_stop_loading(tab->view());
}

void BrowserWindowController::locationEntered(const std::string& text) {
    Tab* tab = currentTab();
    if (!tab) return;
    go(prefs().resolve(text), *tab);
    if (Tab* now = currentTab()) gtk_widget_grab_focus(GTK_WIDGET(now->view()));
}

void BrowserWindowController::focusLocation() {
    m_chrome->focusLocation();
}

// ------------------------------------------------------------------------------------------------
// Settings carried into the views

void BrowserWindowController::setJavaScript(bool on) {
    prefs().setJavaScriptEnabled(on);
    for (const auto& tab : m_tabs)
        webkit_settings_set_enable_javascript_markup(webkit_web_view_get_settings(tab->view()), on);
    reloadAll();
}

void BrowserWindowController::applyPagePolicy(WebKitWebView* view) {
    std::weak_ptr<BrowserWindowController> weak = weak_from_this();
    PageSetup::apply(webkit_web_view_get_user_content_manager(view), PageSetup::Policy::from(prefs()),
                     &BlockerRules::shared(), [weak] {
                         auto self = weak.lock();
                         return self && self->prefs().contentBlockingEnabled();
                     });
}

void BrowserWindowController::applyPagePolicyToEveryTab() {
    for (const auto& tab : m_tabs)
        applyPagePolicy(tab->view());
}

void BrowserWindowController::clearHistory() {
    auto count = static_cast<std::int64_t>(prefs().history().size());
    if (count == 0) {
        setStatus(words().nothingToClear());
        return;
    }
    std::weak_ptr<BrowserWindowController> weak = weak_from_this();
    Dialogs::confirm(m_window, words().clearHistoryQuestion(), words().clearHistoryDetail(count),
                     words().clear(), [weak](bool clear) {
                         auto self = weak.lock();
                         if (!self || !clear) return;
                         std::int64_t forgotten = History::clear(self->prefs());
                         historyChanged();
                         self->setStatus(words().clearedHistory(forgotten));
                     });
}

void BrowserWindowController::setStealth(bool on) {
    m_stealth = on;
    applyStealth();
}

void BrowserWindowController::applyStealth() {
    if (m_editing) {
        if (Tab* tab = currentTab()) gtk_widget_grab_focus(GTK_WIDGET(tab->view()));
    }
    tabStrip().setStealth(m_stealth);
    m_chrome->setStealth(m_stealth);
    syncStrip();
    redrawAddress();
}

// ------------------------------------------------------------------------------------------------
// Navigation policy

bool BrowserWindowController::decidePolicy(WebKitWebView* view, WebKitPolicyDecision* decision,
                                           WebKitPolicyDecisionType type) {
    switch (type) {
    case WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION:
        return decideNavigation(view, WEBKIT_NAVIGATION_POLICY_DECISION(decision));
    case WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION:
        return false; // the engine asks for the new view next ("create")
    case WEBKIT_POLICY_DECISION_TYPE_RESPONSE: {
        // Nothing a page serves is ever saved to disk: what cannot be shown is not taken at all.
        auto* response = WEBKIT_RESPONSE_POLICY_DECISION(decision);
        if (webkit_response_policy_decision_is_mime_type_supported(response)) {
            webkit_policy_decision_use(decision);
        } else {
            webkit_policy_decision_ignore(decision);
        }
        return true;
    }
    }
    return false;
}

bool BrowserWindowController::decideNavigation(WebKitWebView* view,
                                               WebKitNavigationPolicyDecision* decision) {
    WebKitNavigationAction* action = webkit_navigation_policy_decision_get_navigation_action(decision);
    WebKitURIRequest* request = webkit_navigation_action_get_request(action);
    const char* uri = request ? webkit_uri_request_get_uri(request) : nullptr;
    std::string address = uri ? uri : "";
    Tab* tab = tabFor(view);

    if (auto internal = InternalActions::parse(address)) {
        webkit_policy_decision_ignore(WEBKIT_POLICY_DECISION(decision));
        InternalActions::Source source;
        source.kind = tab ? InternalActions::Source::Kind::tab : InternalActions::Source::Kind::other;
        source.showsGeneratedPage = tab && tab->localPage.has_value();
        source.documentIsGenerated = tab && tab->documentIsGenerated;
        const char* viewUri = webkit_web_view_get_uri(view);
        source.viewAddress = viewUri ? viewUri : "";
        if (InternalActions::permitted(source)) applyInternal(*internal, view);
        return true;
    }

    const auto type = webkit_navigation_action_get_navigation_type(action);
    const auto modifiers = webkit_navigation_action_get_modifiers(action);
    const bool middle = webkit_navigation_action_get_mouse_button(action) == 2;
    if (type == WEBKIT_NAVIGATION_TYPE_LINK_CLICKED && !address.empty() &&
        ((modifiers & GDK_CONTROL_MASK) || middle)) {
        webkit_policy_decision_ignore(WEBKIT_POLICY_DECISION(decision));
        if (auto url = Url::parse(address)) {
            Tab& opened = addTab(!(modifiers & GDK_SHIFT_MASK));
            load(*url, opened);
        }
        return true;
    }

    if (tab && prefs().linksOnlySearch()) {
        if (auto url = Url::parse(address)) {
            if (auto rewritten = SearchRewrite::webResults(*url)) {
                webkit_policy_decision_ignore(WEBKIT_POLICY_DECISION(decision));
                load(*rewritten, *tab);
                return true;
            }
        }
    }

    // The page goes on to something that is not the browser's own HTML.
    if (tab && address != generatedAddress) tab->pendingGenerated = false;
    webkit_policy_decision_use(WEBKIT_POLICY_DECISION(decision));
    return true;
}

void BrowserWindowController::applyInternal(const InternalActions::Action& action, WebKitWebView* view) {
    // Carried out after the engine has its answer: an action may load a page into this very view.
    struct Deferred {
        std::weak_ptr<BrowserWindowController> window;
        std::weak_ptr<Tab> tab;
        InternalActions::Action action;
    };
    Tab* tab = tabFor(view);
    auto* deferred = new Deferred{weak_from_this(), tab ? shared(*tab) : nullptr, action};
    g_idle_add_full(
        G_PRIORITY_DEFAULT,
        +[](gpointer data) -> gboolean {
            auto* work = static_cast<Deferred*>(data);
            auto self = work->window.lock();
            if (!self || self->m_closed) return G_SOURCE_REMOVE;
            auto from = work->tab.lock();
            if (from && from->tornDown()) from.reset();
            if (const auto* bookmark = std::get_if<BookmarkAction>(&work->action)) {
                self->apply(*bookmark, from.get());
            } else if (const auto* history = std::get_if<HistoryAction>(&work->action)) {
                self->apply(*history);
            } else if (const auto* report = std::get_if<ReportAction>(&work->action)) {
                Tab* in = from ? from.get() : self->currentTab();
                if (in) self->apply(*report, *in);
            }
            return G_SOURCE_REMOVE;
        },
        deferred, +[](gpointer data) { delete static_cast<Deferred*>(data); });
}

WebKitWebView* BrowserWindowController::createWebView(WebKitWebView*, WebKitNavigationAction* action) {
    WebKitURIRequest* request = webkit_navigation_action_get_request(action);
    const char* uri = request ? webkit_uri_request_get_uri(request) : nullptr;
    if (!uri || !*uri) return nullptr;
    auto url = Url::parse(uri);
    if (!url) return nullptr;
    if (webkit_navigation_action_get_navigation_type(action) != WEBKIT_NAVIGATION_TYPE_LINK_CLICKED) {
        // A script opened a window: it gets a browser window of its own.
        m_app.openWindow(*url);
        return nullptr;
    }
    const auto modifiers = webkit_navigation_action_get_modifiers(action);
    bool background = (modifiers & GDK_CONTROL_MASK) && !(modifiers & GDK_SHIFT_MASK);
    Tab& tab = addTab(background);
    load(*url, tab);
    return nullptr;
}

// ------------------------------------------------------------------------------------------------
// Page life cycle and observations

void BrowserWindowController::loadChanged(WebKitWebView* view, WebKitLoadEvent event) {
    Tab* tab = tabFor(view);
    if (!tab) return;
    switch (event) {
    case WEBKIT_LOAD_STARTED:
        tab->walls = 0;
        tab->network = 0;
        tab->status.reset();
        tab->declaredIcon.reset();
        tab->failed = false;
        if (isCurrent(*tab)) {
            showPageStatus(StatusStrings::contacting(), tab->pendingGenerated);
            syncShield();
        }
        break;
    case WEBKIT_LOAD_REDIRECTED:
        break;
    case WEBKIT_LOAD_COMMITTED: {
        const char* uri = webkit_web_view_get_uri(view);
        tab->documentIsGenerated = tab->pendingGenerated && uri && uri == generatedAddress;
        tab->disarmTimeout();
        break;
    }
    case WEBKIT_LOAD_FINISHED:
        tab->disarmTimeout();
        if (tab->failed) {
            tab->failed = false;
            if (isCurrent(*tab)) showPageStatus(tab->status.value_or(idleStatus()), false);
            if (auto problem = m_app.takeStoreProblemForStatus()) setStatus(*problem);
            syncStrip();
            break;
        }
        tab->status.reset();
        fetchIcon(*tab);
        if (isCurrent(*tab)) showPageStatus(idleStatus(), tab->documentIsGenerated);
        // When the preferences could not be opened, the first page to finish says so.
        if (auto problem = m_app.takeStoreProblemForStatus()) setStatus(*problem);
        syncStrip();
        if (m_findOpen && isCurrent(*tab)) runFind(0);
        if (auto uri = tab->viewAddress()) {
            const char* title = webkit_web_view_get_title(view);
            if (History::recordVisit(prefs(), *uri, title ? title : "", now())) historyChanged();
        }
        break;
    }
}

void BrowserWindowController::loadFailed(WebKitWebView* view, const GError* error) {
    Tab* tab = tabFor(view);
    if (!tab) return;
    tab->failed = true;
    tab->disarmTimeout();
    bool cancelled = error && g_error_matches(error, WEBKIT_NETWORK_ERROR, WEBKIT_NETWORK_ERROR_CANCELLED);
    std::string message;
    if (tab->timedOut) {
        // The engine only knows that the load was stopped; say why, in the system's words.
        message = g_strerror(ETIMEDOUT);
    } else if (cancelled) {
        return; // stopped by the user, or by a newer load: not a failure worth a word
    } else {
        message = error && error->message ? error->message : "";
    }
    tab->status = message.empty() ? std::nullopt : std::optional<std::string>(message);
    if (isCurrent(*tab)) showPageStatus(tab->status.value_or(idleStatus()), false);
}

void BrowserWindowController::titleChanged(WebKitWebView* view) {
    Tab* tab = tabFor(view);
    if (!tab) return;
    syncStrip();
    if (isCurrent(*tab)) {
        syncTitle();
        // In stealth the location pill shows the tab's label, which the title makes.
        if (m_stealth && !m_editing) redrawAddress();
    }
    auto uri = tab->viewAddress();
    const char* title = webkit_web_view_get_title(view);
    if (uri && title && *title && History::retitle(prefs(), *uri, title)) historyChanged();
}

void BrowserWindowController::addressChanged(WebKitWebView* view) {
    Tab* tab = tabFor(view);
    if (!tab) return;
    auto uri = tab->viewAddress();
    if (uri && *uri != generatedAddress) {
        tab->localPage.reset();
        tab->reported.reset();
    }
    syncStrip();
    if (isCurrent(*tab)) {
        m_pinned.reset();
        refreshMargin();
        if (!m_editing) {
            if (tab->localPage) {
                m_fullAddress = *tab->localPage;
            } else if (uri && *uri != generatedAddress) {
                m_fullAddress = *uri;
            }
            redrawAddress();
        }
        m_app.scheduleValidate();
    }
}

void BrowserWindowController::progressChanged(WebKitWebView* view) {
    Tab* tab = tabFor(view);
    if (!tab) return;
    tab->progress = webkit_web_view_get_estimated_load_progress(view);
    if (isCurrent(*tab) && webkit_web_view_is_loading(view)) m_chrome->setProgress(tab->progress);
}

void BrowserWindowController::loadingChanged(WebKitWebView* view) {
    Tab* tab = tabFor(view);
    if (!tab) return;
    bool loading = webkit_web_view_is_loading(view);
    if (!loading) tab->progress = 0;
    if (isCurrent(*tab)) {
        syncNavigation();
        m_chrome->setProgress(tab->progress);
    }
}

void BrowserWindowController::historyAvailabilityChanged(WebKitWebView* view) {
    Tab* tab = tabFor(view);
    if (tab && isCurrent(*tab)) syncNavigation();
}

bool BrowserWindowController::contextMenu(WebKitWebView*, WebKitContextMenu* menu) {
    GAction* addBookmarkAction = g_action_map_lookup_action(G_ACTION_MAP(m_pageActions.get()), "addBookmark");
    GList* items = webkit_context_menu_get_items(menu);
    for (GList* item = items; item; item = item->next) {
        if (webkit_context_menu_item_get_gaction(WEBKIT_CONTEXT_MENU_ITEM(item->data)) == addBookmarkAction)
            return false;
    }
    auto entry = [this](const char* name, const std::string& title) {
        GAction* action = g_action_map_lookup_action(G_ACTION_MAP(m_pageActions.get()), name);
        return webkit_context_menu_item_new_from_gaction(action, title.c_str(), nullptr);
    };
    gint position = 0;
    for (GList* item = items; item; item = item->next, ++position) {
        auto* menuItem = WEBKIT_CONTEXT_MENU_ITEM(item->data);
        if (webkit_context_menu_item_get_stock_action(menuItem) == WEBKIT_CONTEXT_MENU_ACTION_COPY) {
            webkit_context_menu_insert(menu, entry("addToMarginalia", words().addToMarginalia()),
                                       position + 1);
            break;
        }
    }
    guint count = webkit_context_menu_get_n_items(menu);
    WebKitContextMenuItem* last =
        count > 0 ? webkit_context_menu_get_item_at_position(menu, count - 1) : nullptr;
    if (!last || !webkit_context_menu_item_is_separator(last))
        webkit_context_menu_append(menu, webkit_context_menu_item_new_separator());
    webkit_context_menu_append(menu, entry("addBookmark", words().addBookmark()));
    webkit_context_menu_append(menu, entry("showBookmarks", words().bookmarks()));
    webkit_context_menu_append(menu, entry("showMarginalia", words().marginalia()));
    webkit_context_menu_append(menu, entry("nimbReport", words().nimbReport()));
    return false;
}

// ------------------------------------------------------------------------------------------------
// Keeping the chrome in step

void BrowserWindowController::syncTitle() {
    Tab* tab = currentTab();
    std::string label;
    if (tab && tab->localPage != LocationBar::aboutHome)
        label = TabStrip::label(tab->pageTitle(), tab->address());
    std::string title = Menus::applicationName;
    if (!label.empty() && label != TabStrip::untitled()) title = label + " - " + title;
    gtk_window_set_title(m_window, title.c_str());
}

void BrowserWindowController::syncStrip() {
    if (!m_strip || m_closed) return;
    std::vector<std::string> labels;
    std::vector<std::string> tips;
    for (const auto& tab : m_tabs) {
        auto address = tab->address();
        std::string label = TabStrip::label(tab->pageTitle(), address);
        tips.push_back(TabStrip::tip(label, address));
        labels.push_back(std::move(label));
    }
    auto& strip = tabStrip();
    strip.setLabels(std::move(labels));
    // The current tab's icon in colour, the others' greyed.
    std::vector<glib::GRefPtr<GdkTexture>> icons;
    for (const auto& tab : m_tabs) {
        GdkTexture* texture = icon(*tab);
        if (texture && !isCurrent(*tab)) texture = FaviconStore::grey(texture);
        icons.emplace_back(texture);
    }
    strip.setIcons(std::move(icons));
    strip.setTips(std::move(tips));
    strip.setCurrent(m_current);
    Tab* tab = currentTab();
    m_chrome->setIcon(tab ? icon(*tab) : nullptr);
    // In stealth the location pill stands in the current tab's place, wherever the tabs moved it.
    if (m_stealth) m_chrome->relayout();
}

void BrowserWindowController::syncNavigation() {
    Tab* tab = currentTab();
    if (!tab) {
        m_chrome->setNavigation(false, false, false);
        return;
    }
    m_chrome->setNavigation(webkit_web_view_can_go_back(tab->view()),
                            webkit_web_view_can_go_forward(tab->view()),
                            webkit_web_view_is_loading(tab->view()));
}

void BrowserWindowController::syncChrome() {
    syncTitle();
    syncStrip();
    Tab* tab = currentTab();
    m_fullAddress = tab ? tab->address().value_or("") : "";
    if (tab && !tab->localPage && m_fullAddress == generatedAddress) m_fullAddress.clear();
    redrawAddress();
    syncNavigation();
    m_chrome->retitle();
    syncShield();
    refreshMargin();
    bool loading = tab && webkit_web_view_is_loading(tab->view());
    m_chrome->setProgress(loading ? tab->progress : 0);
    // A tab change writes the line afresh, whatever a command wrote before.
    m_statusHeld = false;
    if (tab && tab->status)
        m_chrome->setStatus(*tab->status);
    else if (tab && tab->address())
        m_chrome->setStatus(idleStatus());
    else
        m_chrome->setStatus("");
}

void BrowserWindowController::redrawAddress() {
    m_chrome->setAddress(m_fullAddress, restingLabel());
}

void BrowserWindowController::refreshMargin() {
    // The margin panel arrives with the custom chrome; until then there is nothing to refresh.
}

} // namespace nimb
