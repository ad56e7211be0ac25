#include "app/Application.h"

#include "app/Commands.h"
#include "app/Menus.h"
#include "app/Resources.h"
#include "app/TabKeys.h"
#include "base/Url.h"
#include "chrome/Drawing.h"
#include "engine/AssetSchemeHandler.h"
#include "engine/BlockerRules.h"
#include "engine/FaviconStore.h"
#include "glib/Async.h"
#include "location/LocationBar.h"
#include "pages/PageFrame.h"
#include "storage/InMemoryStore.h"
#include "storage/SqliteStore.h"
#include "window/BrowserWindowController.h"
#include "window/ChromeController.h"
#include "window/FindController.h"
#include "window/MarginController.h"
#include "window/Navigator.h"
#include "window/PageViews.h"
#include "window/ReportRequests.h"
#include "window/StatusController.h"
#include "window/TabList.h"
#include "window/WindowContext.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>

namespace nimb {

namespace {

Application* current = nullptr;

std::string chromeStyle() {
    std::string face(Palette::background);
    std::string ink(Palette::text);
    std::string line(Palette::separator);
    std::string raised(Palette::raised);
    // The chrome draws itself; GTK keeps only the window's ground, the menus and the window's own
    // buttons. Without a compositor GTK frames a window with a border of its own, which would take
    // room from the strip and the bands: the window's edges are its content's.
    return "window.nimb { background-color: " + face + "; color: " + ink +
           "; }\n"
           "window.nimb.solid-csd { padding: 0; margin: 0; border: none; border-radius: 0; box-shadow: none; "
           "}\n"
           "window.nimb.csd { border-radius: 0; }\n"
           ".nimb-window-controls button { min-width: 24px; min-height: 24px; padding: 0; margin: 0 2px; "
           "border: none; box-shadow: none; background: none; color: " +
           ink +
           "; }\n"
           ".nimb-window-controls button:hover { background-color: " +
           raised +
           "; }\n"
           ".nimb-window-controls button:active { background-color: " +
           line + "; }\n";
}

} // namespace

Application* Application::shared() {
    return current;
}

Application::Application() : Application(Options{}) {}

Application::Application(Options options) : m_options(std::move(options)) {
    current = this;
    GApplicationFlags flags = G_APPLICATION_HANDLES_OPEN;
    if (!m_options.unique) flags = static_cast<GApplicationFlags>(flags | G_APPLICATION_NON_UNIQUE);
    m_application = glib::adoptGRef(gtk_application_new(m_options.id.c_str(), flags));
    m_cancellable = glib::adoptGRef(g_cancellable_new());
    m_connections.push_back(glib::connect<void(GApplication*)>(m_application.get(), "startup",
                                                               [this](GApplication*) { startup(); }));
    m_connections.push_back(glib::connect<void(GApplication*)>(
        m_application.get(), "activate", [this](GApplication*) { openWindow(std::nullopt); }));
    m_connections.push_back(glib::connect<void(GApplication*, GFile**, int, char*)>(
        m_application.get(), "open", [this](GApplication*, GFile** files, int count, char*) {
            std::vector<std::string> addresses;
            for (int i = 0; i < count; ++i) {
                glib::GUniquePtr<char> uri(g_file_get_uri(files[i]));
                if (uri) addresses.emplace_back(uri.get());
            }
            openAddresses(addresses);
        }));
}

Application::~Application() {
    g_cancellable_cancel(m_cancellable.get());
    m_started = false; // nothing is scheduled from here on
    m_validate.cancel();
    // Whatever windows are left go without asking.
    auto windows = m_windows;
    for (const auto& window : windows)
        gtk_window_destroy(window->window());
    m_connections.clear();
    if (current == this) current = nullptr;
}

int Application::run(int argc, char** argv) {
    return g_application_run(G_APPLICATION(m_application.get()), argc, argv);
}

bool Application::launch() {
    glib::Error error;
    if (!g_application_register(G_APPLICATION(m_application.get()), nullptr, error.out())) {
        if (error) g_printerr("nimb: %s\n", error.message().c_str());
        return false;
    }
    g_application_activate(G_APPLICATION(m_application.get()));
    return true;
}

Date Application::now() const {
    if (m_options.now) return m_options.now();
    using namespace std::chrono;
    return Date{duration<double>(system_clock::now().time_since_epoch()).count()};
}

std::optional<std::string> Application::takeStoreProblemForStatus() {
    if (m_storeProblemShown || !m_storeProblem) return std::nullopt;
    m_storeProblemShown = true;
    return m_storeProblem;
}

// ------------------------------------------------------------------------------------------------
// Start-up

void Application::startup() {
    if (m_started) return;
    m_started = true;
    openStore();

    std::vector<std::string> preferred;
    if (m_options.preferredLanguages) {
        preferred = *m_options.preferredLanguages;
    } else {
        for (const char* const* name = g_get_language_names(); *name; ++name)
            preferred.emplace_back(*name);
    }
    setCurrentLanguage(startupLanguage(m_preferences->language(), preferred));

    makeEngine();
    // The style waits for the first window: see installStyle.
    installActions();
    buildMenu();
    // The tab keys are watched by every window's own key controller, made with the window.

    // Warm the compiled rule list, so that it is at hand before the first page.
    auto& rules = BlockerRules::shared();
    if (!rules.list()) rules.load([](WebKitUserContentFilter*) {});
}

void Application::openStore() {
    UserDirectories directories = m_options.directories.value_or(UserDirectories::fromEnvironment());
    directories.create();
    std::string error;
    std::unique_ptr<KeyValueStore> store = SqliteStore::open(directories.preferencesFile(), &error);
    if (!store) {
        // Said once here and once in the first window's status line; the run goes on in memory.
        m_storeProblem = directories.preferencesFile() + ": " + error;
        g_printerr("nimb: cannot open the preferences (%s); nothing will be kept after this run\n",
                   m_storeProblem->c_str());
        store = std::make_unique<InMemoryStore>();
    }
    m_preferences = std::make_unique<Preferences>(std::move(store));
}

void Application::makeEngine() {
    UserDirectories directories = m_options.directories.value_or(UserDirectories::fromEnvironment());
    m_session = glib::adoptGRef(
        webkit_network_session_new(directories.webKitData().c_str(), directories.webKitCache().c_str()));

    std::optional<std::string> proxy = m_options.httpProxy;
    if (!proxy) {
        if (const char* variable = std::getenv("NIMB_HTTP_PROXY"); variable && *variable) proxy = variable;
    }
    if (proxy) {
        // Icons are fetched apart from the engine, through the same proxy.
        FaviconStore::shared().setProxy(*proxy);
        glib::GUniquePtr<WebKitNetworkProxySettings> settings(
            webkit_network_proxy_settings_new(proxy->c_str(), nullptr));
        webkit_network_session_set_proxy_settings(m_session.get(), WEBKIT_NETWORK_PROXY_MODE_CUSTOM,
                                                  settings.get());
    }
    // Nothing a page serves is saved to disk, not even what it offers as a download.
    m_connections.push_back(glib::connect<void(WebKitNetworkSession*, WebKitDownload*)>(
        m_session.get(), "download-started",
        [](WebKitNetworkSession*, WebKitDownload* download) { webkit_download_cancel(download); }));

    m_context = glib::adoptGRef(webkit_web_context_new());
    auto fonts = m_options.fonts.value_or(Resources::fontsDirectory());
    AssetSchemeHandler::install(m_context.get(), fonts);
    Drawing::registerFonts(fonts.string());
}

void Application::installStyle() {
    GdkDisplay* display = gdk_display_get_default();
    if (m_styled || !display) return;
    m_styled = true;
    g_object_set(gtk_settings_get_for_display(display), "gtk-application-prefer-dark-theme", TRUE, nullptr);
    auto provider = glib::adoptGRef(gtk_css_provider_new());
    std::string css = chromeStyle();
    gtk_css_provider_load_from_data(provider.get(), css.c_str(), static_cast<gssize>(css.size()));
    gtk_style_context_add_provider_for_display(display, GTK_STYLE_PROVIDER(provider.get()),
                                               GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
}

void Application::installActions() {
    for (const Commands::Command& command : Commands::all()) {
        glib::GRefPtr<GSimpleAction> action;
        switch (command.kind) {
        case Commands::Command::Kind::plain:
            action = glib::adoptGRef(g_simple_action_new(command.name, nullptr));
            break;
        case Commands::Command::Kind::toggle:
            action = glib::adoptGRef(
                g_simple_action_new_stateful(command.name, nullptr, g_variant_new_boolean(FALSE)));
            break;
        case Commands::Command::Kind::chooser:
            action = glib::adoptGRef(
                g_simple_action_new_stateful(command.name, G_VARIANT_TYPE_STRING, g_variant_new_string("")));
            break;
        }
        m_connections.push_back(glib::connect<void(GSimpleAction*, GVariant*)>(
            action.get(), "activate", [this](GSimpleAction* a, GVariant* parameter) {
                run(g_action_get_name(G_ACTION(a)), parameter);
            }));
        g_action_map_add_action(G_ACTION_MAP(m_application.get()), G_ACTION(action.get()));
        if (!command.accelerator.empty()) {
            std::string detailed = std::string("app.") + command.name;
            std::string accelerator(command.accelerator);
            const char* accelerators[] = {accelerator.c_str(), nullptr};
            gtk_application_set_accels_for_action(m_application.get(), detailed.c_str(), accelerators);
        }
    }
    validate();
}

void Application::buildMenu() {
    auto model = glib::adoptGRef(Menus::model(Menus::bar()));
    if (!m_menubar) {
        m_menubar = glib::adoptGRef(g_menu_new());
        gtk_application_set_menubar(m_application.get(), G_MENU_MODEL(m_menubar.get()));
    }
    g_menu_remove_all(m_menubar.get());
    for (int index = 0; index < g_menu_model_get_n_items(model.get()); ++index) {
        auto item = glib::adoptGRef(g_menu_item_new_from_model(model.get(), index));
        g_menu_append_item(m_menubar.get(), item.get());
    }
}

// ------------------------------------------------------------------------------------------------
// Windows

BrowserWindowController* Application::front() const {
    for (const auto& window : m_windows) {
        if (gtk_window_is_active(window->window())) return window.get();
    }
    return m_windows.empty() ? nullptr : m_windows.back().get();
}

BrowserWindowController& Application::openWindow(const std::optional<Url>& address) {
    return BrowserWindowController::make(*this, address);
}

void Application::windowOpened(std::shared_ptr<BrowserWindowController> window) {
    m_windows.push_back(std::move(window));
}

void Application::windowClosed(BrowserWindowController& window) {
    std::erase_if(m_windows, [&](const auto& each) { return each.get() == &window; });
}

void Application::quit() {
    auto windows = m_windows;
    for (const auto& each : windows)
        gtk_window_destroy(each->window());
    g_application_quit(G_APPLICATION(m_application.get()));
}

void Application::openAddresses(const std::vector<std::string>& addresses) {
    for (const auto& text : addresses) {
        auto url = Url::parse(text);
        if (!url) continue;
        BrowserWindowController* window = front();
        if (!window) {
            openWindow(*url);
            continue;
        }
        WindowContext& context = window->context();
        Tab& tab = context.tabs().add(false);
        context.navigator().load(*url, tab);
        gtk_window_present(window->window());
    }
}

void Application::forEachWindow(const std::function<void(BrowserWindowController&)>& each) {
    auto windows = m_windows;
    for (const auto& window : windows)
        each(*window);
}

bool Application::handleTabKey(BrowserWindowController& window, guint keyval, GdkModifierType state) {
    auto command = TabKeys::decide(keyval, state);
    if (!command) return false;
    WindowContext& context = window.context();
    switch (command->kind) {
    case TabKeys::Command::Kind::selectNumber:
        context.tabs().selectNumber(command->number);
        return true;
    case TabKeys::Command::Kind::nextTab:
        context.tabs().selectNext();
        return true;
    case TabKeys::Command::Kind::previousTab:
        context.tabs().selectPrevious();
        return true;
    case TabKeys::Command::Kind::dismissFind:
        // Escape while the location field is edited belongs to the field.
        if (context.chrome().editing()) return false;
        return context.find().dismissIfShowing();
    }
    return false;
}

// ------------------------------------------------------------------------------------------------
// Refreshing every window after a stored record changed

void Application::historyChanged() {
    forEachWindow([this](BrowserWindowController& window) {
        WindowContext& context = window.context();
        auto tabs = context.tabs().all();
        for (const auto& tab : tabs) {
            if (tab->localPage == LocationBar::aboutHistory || tab->localPage == LocationBar::aboutHome ||
                tab->localPage == LocationBar::aboutBookmarks)
                context.navigator().redrawLocal(*tab);
        }
        scheduleValidate();
    });
}

void Application::bookmarksChanged(const Tab* except) {
    forEachWindow([except](BrowserWindowController& window) {
        WindowContext& context = window.context();
        context.chrome().rebuildBookmarks();
        context.margin().refresh();
        auto tabs = context.tabs().all();
        for (const auto& tab : tabs) {
            if (tab.get() != except && tab->localPage == LocationBar::aboutBookmarks)
                context.navigator().redrawLocal(*tab);
        }
    });
}

void Application::savedReportsChanged() {
    forEachWindow([](BrowserWindowController& window) {
        WindowContext& context = window.context();
        auto tabs = context.tabs().all();
        for (const auto& tab : tabs) {
            if (tab->localPage == LocationBar::aboutReports) {
                context.reports().closePopover();
                context.navigator().redrawLocal(*tab);
            }
        }
    });
}

// ------------------------------------------------------------------------------------------------
// Menu commands

void Application::activate(const std::string& action, const std::optional<std::string>& target) {
    GVariant* parameter = target ? g_variant_new_string(target->c_str()) : nullptr;
    g_action_group_activate_action(G_ACTION_GROUP(m_application.get()), action.c_str(), parameter);
}

void Application::run(const std::string& name, GVariant* parameter) {
    std::optional<std::string> value;
    if (parameter && g_variant_is_of_type(parameter, G_VARIANT_TYPE_STRING))
        value = g_variant_get_string(parameter, nullptr);
    if (const Commands::Command* command = Commands::find(name)) command->run(*this, front(), value);
    scheduleValidate();
}

// ------------------------------------------------------------------------------------------------
// Commands for every window

void Application::chooseLanguage(Language language) {
    if (!switchLanguage(language, *m_preferences)) return;
    buildMenu();
    forEachWindow([](BrowserWindowController& window) { window.languageChanged(); });
}

void Application::chooseEngine(SearchEngine engine) {
    m_preferences->setSearchEngine(engine);
}

void Application::toggleJavaScript() {
    bool on = !m_preferences->javaScriptEnabled();
    m_preferences->setJavaScriptEnabled(on);
    forEachWindow([on](BrowserWindowController& window) {
        WindowContext& context = window.context();
        context.tabs().views().setJavaScript(on);
        context.navigator().reloadAll();
    });
}

void Application::toggleBlocking() {
    bool on = !m_preferences->contentBlockingEnabled();
    m_preferences->setContentBlockingEnabled(on);
    forEachWindow([](BrowserWindowController& window) {
        WindowContext& context = window.context();
        context.tabs().views().applyPolicyToEveryTab();
        for (const auto& tab : context.tabs().all()) {
            tab->walls = 0;
            tab->network = 0;
        }
        context.status().syncShield();
        context.navigator().reloadAll();
    });
}

void Application::toggleForgetStorage() {
    bool on = !m_preferences->forgetStorageEnabled();
    m_preferences->setForgetStorageEnabled(on);
    forEachWindow(
        [](BrowserWindowController& window) { window.context().tabs().views().applyPolicyToEveryTab(); });
    if (!on) {
        forEachWindow([](BrowserWindowController& window) { window.context().navigator().reloadAll(); });
        return;
    }
    // The jars are emptied first; each window still open then reloads its tabs.
    std::vector<std::weak_ptr<WindowContext>> waiting;
    for (const auto& window : m_windows)
        waiting.push_back(window->context().weak_from_this());
    auto call = glib::async(
        [](GObject* source, GAsyncResult* result, GError** error) {
            webkit_website_data_manager_clear_finish(WEBKIT_WEBSITE_DATA_MANAGER(source), result, error);
        },
        [waiting = std::move(waiting)](const glib::Error&) {
            for (const auto& weak : waiting) {
                if (auto context = weak.lock(); context && !context->closed())
                    context->navigator().reloadAll();
            }
        });
    webkit_website_data_manager_clear(
        webkit_network_session_get_website_data_manager(m_session.get()),
        static_cast<WebKitWebsiteDataTypes>(WEBKIT_WEBSITE_DATA_LOCAL_STORAGE |
                                            WEBKIT_WEBSITE_DATA_INDEXEDDB_DATABASES),
        0, m_cancellable.get(), call.callback, call.data);
}

void Application::toggleRememberHistory() {
    bool on = !m_preferences->rememberHistory();
    m_preferences->setRememberHistory(on);
    historyChanged();
    forEachWindow([on](BrowserWindowController& window) {
        window.context().status().setStatus(on ? words().rememberingHistory()
                                               : words().notRememberingHistory());
    });
}

void Application::toggleLinksOnlySearch() {
    m_preferences->setLinksOnlySearch(!m_preferences->linksOnlySearch());
    forEachWindow([](BrowserWindowController& window) { window.context().navigator().reloadAll(); });
}

void Application::toggleNimbReport() {
    m_preferences->setNimbReportEnabled(!m_preferences->nimbReportEnabled());
    forEachWindow([](BrowserWindowController& window) {
        window.context().tabs().views().applyPolicyToEveryTab();
        window.context().navigator().reloadAll();
    });
}

// ------------------------------------------------------------------------------------------------
// Check marks and enabled states

void Application::scheduleValidate() {
    if (m_validate.pending() || !m_started) return;
    m_validate = glib::Source::idle([this] { validate(); });
}

void Application::validate() {
    if (!m_preferences) return;
    auto* group = G_ACTION_MAP(m_application.get());
    BrowserWindowController* window = front();
    for (const Commands::Command& command : Commands::all()) {
        auto* action = G_SIMPLE_ACTION(g_action_map_lookup_action(group, command.name));
        if (!action) continue;
        if (command.checked)
            g_simple_action_set_state(action, g_variant_new_boolean(command.checked(*this, window)));
        if (command.chosen)
            g_simple_action_set_state(action, g_variant_new_string(command.chosen(*this).c_str()));
        if (command.enabled) g_simple_action_set_enabled(action, command.enabled(*this, window));
    }
}

} // namespace nimb
