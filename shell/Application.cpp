#include "Application.h"

#include "AssetSchemeHandler.h"
#include "BlockerRules.h"
#include "BrowserWindowController.h"
#include "FaviconStore.h"
#include "Menus.h"
#include "Resources.h"
#include "TabKeys.h"
#include "base/Url.h"
#include "chrome/Drawing.h"
#include "pages/PageFrame.h"
#include "storage/InMemoryStore.h"
#include "storage/SqliteStore.h"

#include <chrono>
#include <cstdlib>
#include <map>

namespace nimb {

namespace {

Application* current = nullptr;

// The menu commands, by action name. Toggles carry a check mark; choosers a raw value.
enum class ActionKind {
    plain,
    toggle,
    chooser,
};

struct CommandAction {
    const char* name;
    ActionKind kind;
};

constexpr CommandAction commandActions[] = {
    {"about", ActionKind::plain},
    {"quit", ActionKind::plain},
    {"chooseEngine", ActionKind::chooser},
    {"chooseLanguage", ActionKind::chooser},
    {"newTab", ActionKind::plain},
    {"newWindow", ActionKind::plain},
    {"openLocation", ActionKind::plain},
    {"showHistory", ActionKind::plain},
    {"toggleRememberHistory", ActionKind::toggle},
    {"clearHistory", ActionKind::plain},
    {"printPage", ActionKind::plain},
    {"closeTab", ActionKind::plain},
    {"closeWindow", ActionKind::plain},
    {"cut", ActionKind::plain},
    {"copy", ActionKind::plain},
    {"paste", ActionKind::plain},
    {"selectAll", ActionKind::plain},
    {"findInPage", ActionKind::plain},
    {"findNext", ActionKind::plain},
    {"findPrevious", ActionKind::plain},
    {"toggleStealth", ActionKind::toggle},
    {"toggleJS", ActionKind::toggle},
    {"toggleBlocking", ActionKind::toggle},
    {"toggleForgetStorage", ActionKind::toggle},
    {"toggleLinksOnlySearch", ActionKind::toggle},
    {"nimbReport", ActionKind::plain},
    {"savedReports", ActionKind::plain},
    {"toggleNimbReport", ActionKind::toggle},
    {"addBookmark", ActionKind::plain},
    {"showBookmarks", ActionKind::plain},
    {"addToMarginalia", ActionKind::plain},
    {"showMarginalia", ActionKind::toggle},
    {"goBack", ActionKind::plain},
    {"goForward", ActionKind::plain},
    {"reloadPage", ActionKind::plain},
    {"stopLoading", ActionKind::plain},
    {"goHome", ActionKind::plain},
    {"nextTab", ActionKind::plain},
    {"previousTab", ActionKind::plain},
};

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
    g_signal_connect(m_application.get(), "startup",
                     G_CALLBACK(+[](GApplication*, Application* self) { self->startup(); }), this);
    g_signal_connect(m_application.get(), "activate",
                     G_CALLBACK(+[](GApplication*, Application* self) { self->openWindow(std::nullopt); }),
                     this);
    g_signal_connect(m_application.get(), "open",
                     G_CALLBACK(+[](GApplication*, GFile** files, int count, char*, Application* self) {
                         std::vector<std::string> addresses;
                         for (int i = 0; i < count; ++i) {
                             glib::GUniquePtr<char> uri(g_file_get_uri(files[i]));
                             if (uri) addresses.emplace_back(uri.get());
                         }
                         self->openAddresses(addresses);
                     }),
                     this);
}

Application::~Application() {
    g_cancellable_cancel(m_cancellable.get());
    m_started = false; // nothing is scheduled from here on
    if (m_validateSource) g_source_remove(m_validateSource);
    m_validateSource = 0;
    // Whatever windows are left go without asking.
    auto windows = BrowserWindowController::open();
    for (const auto& window : windows) {
        if (&window->application() != this) continue;
        gtk_window_destroy(window->window());
    }
    g_signal_handlers_disconnect_by_data(m_application.get(), this);
    if (current == this) current = nullptr;
}

int Application::run(int argc, char** argv) {
    return g_application_run(G_APPLICATION(m_application.get()), argc, argv);
}

bool Application::launch() {
    GError* error = nullptr;
    if (!g_application_register(G_APPLICATION(m_application.get()), nullptr, &error)) {
        if (error) {
            g_printerr("nimb: %s\n", error->message);
            g_error_free(error);
        }
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
        WebKitNetworkProxySettings* settings = webkit_network_proxy_settings_new(proxy->c_str(), nullptr);
        webkit_network_session_set_proxy_settings(m_session.get(), WEBKIT_NETWORK_PROXY_MODE_CUSTOM,
                                                  settings);
        webkit_network_proxy_settings_free(settings);
    }
    // Nothing a page serves is saved to disk, not even what it offers as a download.
    g_signal_connect(m_session.get(), "download-started",
                     G_CALLBACK(+[](WebKitNetworkSession*, WebKitDownload* download, gpointer) {
                         webkit_download_cancel(download);
                     }),
                     nullptr);

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
    GtkCssProvider* provider = gtk_css_provider_new();
    std::string css = chromeStyle();
    gtk_css_provider_load_from_data(provider, css.c_str(), static_cast<gssize>(css.size()));
    gtk_style_context_add_provider_for_display(display, GTK_STYLE_PROVIDER(provider),
                                               GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(provider);
}

void Application::installActions() {
    for (const auto& entry : commandActions) {
        GSimpleAction* action = nullptr;
        switch (entry.kind) {
        case ActionKind::plain:
            action = g_simple_action_new(entry.name, nullptr);
            break;
        case ActionKind::toggle:
            action = g_simple_action_new_stateful(entry.name, nullptr, g_variant_new_boolean(FALSE));
            break;
        case ActionKind::chooser:
            action =
                g_simple_action_new_stateful(entry.name, G_VARIANT_TYPE_STRING, g_variant_new_string(""));
            break;
        }
        g_signal_connect(action, "activate",
                         G_CALLBACK(+[](GSimpleAction* a, GVariant* parameter, Application* self) {
                             self->run(g_action_get_name(G_ACTION(a)), parameter);
                         }),
                         this);
        g_action_map_add_action(G_ACTION_MAP(m_application.get()), G_ACTION(action));
        g_object_unref(action);
    }
    for (const auto& [action, accelerator] : Menus::accelerators(Menus::bar())) {
        std::string detailed = "app." + action;
        const char* accelerators[] = {accelerator.c_str(), nullptr};
        gtk_application_set_accels_for_action(m_application.get(), detailed.c_str(), accelerators);
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
    const auto& windows = BrowserWindowController::open();
    for (const auto& window : windows) {
        if (gtk_window_is_active(window->window())) return window.get();
    }
    return windows.empty() ? nullptr : windows.back().get();
}

BrowserWindowController& Application::openWindow(const std::optional<Url>& address) {
    return BrowserWindowController::make(*this, address);
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
        Tab& tab = window->addTab(false);
        window->load(*url, tab);
        gtk_window_present(window->window());
    }
}

void Application::forEachWindow(const std::function<void(BrowserWindowController&)>& each) {
    auto windows = BrowserWindowController::open();
    for (const auto& window : windows)
        each(*window);
}

bool Application::handleTabKey(BrowserWindowController& window, guint keyval, GdkModifierType state) {
    auto command = TabKeys::decide(keyval, state);
    if (!command) return false;
    switch (command->kind) {
    case TabKeys::Command::Kind::selectNumber:
        window.selectTab(command->number);
        return true;
    case TabKeys::Command::Kind::nextTab:
        window.nextTab();
        return true;
    case TabKeys::Command::Kind::previousTab:
        window.previousTab();
        return true;
    case TabKeys::Command::Kind::dismissFind: {
        // Escape while the location field is edited belongs to the field.
        if (window.chrome().editing()) return false;
        return window.dismissFindIfShowing();
    }
    }
    return false;
}

// ------------------------------------------------------------------------------------------------
// Menu commands

void Application::activate(const std::string& action, const std::optional<std::string>& target) {
    GVariant* parameter = target ? g_variant_new_string(target->c_str()) : nullptr;
    g_action_group_activate_action(G_ACTION_GROUP(m_application.get()), action.c_str(), parameter);
}

namespace {

// The focused widget of a window, and the web view it lies in, if any.
WebKitWebView* focusedWebView(GtkWidget* focus) {
    for (GtkWidget* widget = focus; widget; widget = gtk_widget_get_parent(widget)) {
        if (WEBKIT_IS_WEB_VIEW(widget)) return WEBKIT_WEB_VIEW(widget);
    }
    return nullptr;
}

void editingCommand(BrowserWindowController* window, const char* webKitCommand, const char* widgetAction) {
    if (!window) return;
    GtkWidget* focus = gtk_root_get_focus(GTK_ROOT(window->window()));
    if (!focus) return;
    if (WebKitWebView* view = focusedWebView(focus)) {
        webkit_web_view_execute_editing_command(view, webKitCommand);
        return;
    }
    gtk_widget_activate_action(focus, widgetAction, nullptr);
}

} // namespace

void Application::run(const std::string& name, GVariant* parameter) {
    BrowserWindowController* window = front();
    Tab* tab = window ? window->currentTab() : nullptr;
    std::optional<std::string> value;
    if (parameter && g_variant_is_of_type(parameter, G_VARIANT_TYPE_STRING))
        value = g_variant_get_string(parameter, nullptr);

    static const std::map<std::string, std::function<void(Application&, BrowserWindowController*, Tab*,
                                                          const std::optional<std::string>&)>>
        commands = {
            {"about",
             [](Application&, BrowserWindowController* w, Tab*, const auto&) {
                 gtk_show_about_dialog(w ? w->window() : nullptr, "program-name", Menus::applicationName,
                                       "version", NIMB_VERSION, "logo-icon-name", "net.nimb2000.Nimb",
                                       nullptr);
             }},
            {"quit",
             [](Application& app, BrowserWindowController*, Tab*, const auto&) {
                 auto windows = BrowserWindowController::open();
                 for (const auto& each : windows)
                     gtk_window_destroy(each->window());
                 g_application_quit(G_APPLICATION(app.gtk()));
             }},
            {"chooseEngine",
             [](Application& app, BrowserWindowController*, Tab*, const auto& v) {
                 if (auto engine = v ? fromRaw<SearchEngine>(*v) : std::nullopt) app.chooseEngine(*engine);
             }},
            {"chooseLanguage",
             [](Application& app, BrowserWindowController*, Tab*, const auto& v) {
                 if (auto language = v ? fromRaw<Language>(*v) : std::nullopt) app.chooseLanguage(*language);
             }},
            {"newWindow", [](Application& app, BrowserWindowController*, Tab*,
                             const auto&) { app.openWindow(std::nullopt); }},
            {"newTab",
             [](Application& app, BrowserWindowController* w, Tab*, const auto&) {
                 if (!w) {
                     app.openWindow(std::nullopt);
                     return;
                 }
                 Tab& added = w->addTab(false);
                 w->goHome(added);
                 w->focusLocation();
             }},
            {"openLocation",
             [](Application&, BrowserWindowController* w, Tab*, const auto&) {
                 if (w) w->focusLocation();
             }},
            {"closeTab",
             [](Application&, BrowserWindowController* w, Tab*, const auto&) {
                 if (w) w->closeTab();
             }},
            {"closeWindow",
             [](Application&, BrowserWindowController* w, Tab*, const auto&) {
                 if (w) w->performClose();
             }},
            {"printPage",
             [](Application&, BrowserWindowController* w, Tab*, const auto&) {
                 if (w) w->printPage();
             }},
            {"reloadPage",
             [](Application&, BrowserWindowController* w, Tab*, const auto&) {
                 if (w) w->reloadPage();
             }},
            {"showHistory",
             [](Application&, BrowserWindowController* w, Tab*, const auto&) {
                 if (w) w->showHistory();
             }},
            {"showBookmarks",
             [](Application&, BrowserWindowController* w, Tab*, const auto&) {
                 if (w) w->showBookmarks();
             }},
            {"savedReports",
             [](Application&, BrowserWindowController* w, Tab*, const auto&) {
                 if (w) w->showSavedReports();
             }},
            {"addBookmark",
             [](Application&, BrowserWindowController* w, Tab*, const auto&) {
                 if (w) w->addBookmark();
             }},
            {"addToMarginalia",
             [](Application&, BrowserWindowController* w, Tab*, const auto&) {
                 if (w) w->addToMarginalia();
             }},
            {"showMarginalia",
             [](Application&, BrowserWindowController* w, Tab*, const auto&) {
                 if (w) w->showMarginalia();
             }},
            {"clearHistory",
             [](Application&, BrowserWindowController* w, Tab*, const auto&) {
                 if (w) w->clearHistory();
             }},
            {"findInPage",
             [](Application&, BrowserWindowController* w, Tab*, const auto&) {
                 if (w) w->findInPage();
             }},
            {"findNext",
             [](Application&, BrowserWindowController* w, Tab*, const auto&) {
                 if (w) w->runFind(1);
             }},
            {"findPrevious",
             [](Application&, BrowserWindowController* w, Tab*, const auto&) {
                 if (w) w->runFind(-1);
             }},
            {"goBack",
             [](Application&, BrowserWindowController* w, Tab*, const auto&) {
                 if (w) w->goBack();
             }},
            {"goForward",
             [](Application&, BrowserWindowController* w, Tab*, const auto&) {
                 if (w) w->goForward();
             }},
            {"stopLoading",
             [](Application&, BrowserWindowController* w, Tab*, const auto&) {
                 if (w) w->stopLoading();
             }},
            {"goHome",
             [](Application&, BrowserWindowController* w, Tab* t, const auto&) {
                 if (w && t) w->goHome(*t);
             }},
            {"nextTab",
             [](Application&, BrowserWindowController* w, Tab*, const auto&) {
                 if (w) w->nextTab();
             }},
            {"previousTab",
             [](Application&, BrowserWindowController* w, Tab*, const auto&) {
                 if (w) w->previousTab();
             }},
            {"nimbReport",
             [](Application&, BrowserWindowController* w, Tab* t, const auto&) {
                 if (w && t && t->localPage != LocationBar::aboutReport) w->showNimbReport(*t);
             }},
            {"toggleStealth",
             [](Application&, BrowserWindowController* w, Tab*, const auto&) {
                 if (w) w->setStealth(!w->stealth());
             }},
            {"toggleJS",
             [](Application& app, BrowserWindowController*, Tab*, const auto&) { app.toggleJavaScript(); }},
            {"toggleBlocking",
             [](Application& app, BrowserWindowController*, Tab*, const auto&) { app.toggleBlocking(); }},
            {"toggleForgetStorage", [](Application& app, BrowserWindowController*, Tab*,
                                       const auto&) { app.toggleForgetStorage(); }},
            {"toggleRememberHistory", [](Application& app, BrowserWindowController*, Tab*,
                                         const auto&) { app.toggleRememberHistory(); }},
            {"toggleLinksOnlySearch", [](Application& app, BrowserWindowController*, Tab*,
                                         const auto&) { app.toggleLinksOnlySearch(); }},
            {"toggleNimbReport",
             [](Application& app, BrowserWindowController*, Tab*, const auto&) { app.toggleNimbReport(); }},
            {"cut", [](Application&, BrowserWindowController* w, Tab*,
                       const auto&) { editingCommand(w, WEBKIT_EDITING_COMMAND_CUT, "clipboard.cut"); }},
            {"copy", [](Application&, BrowserWindowController* w, Tab*,
                        const auto&) { editingCommand(w, WEBKIT_EDITING_COMMAND_COPY, "clipboard.copy"); }},
            {"paste",
             [](Application&, BrowserWindowController* w, Tab*, const auto&) {
                 editingCommand(w, WEBKIT_EDITING_COMMAND_PASTE, "clipboard.paste");
             }},
            {"selectAll",
             [](Application&, BrowserWindowController* w, Tab*, const auto&) {
                 editingCommand(w, WEBKIT_EDITING_COMMAND_SELECT_ALL, "selection.select-all");
             }},
        };
    if (auto found = commands.find(name); found != commands.end()) found->second(*this, window, tab, value);
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
    forEachWindow([on](BrowserWindowController& window) { window.setJavaScript(on); });
    m_preferences->setJavaScriptEnabled(on);
}

void Application::toggleBlocking() {
    bool on = !m_preferences->contentBlockingEnabled();
    m_preferences->setContentBlockingEnabled(on);
    forEachWindow([](BrowserWindowController& window) {
        window.applyPagePolicyToEveryTab();
        for (const auto& tab : window.tabs()) {
            tab->walls = 0;
            tab->network = 0;
        }
        window.syncShield();
        window.reloadAll();
    });
}

void Application::toggleForgetStorage() {
    bool on = !m_preferences->forgetStorageEnabled();
    m_preferences->setForgetStorageEnabled(on);
    forEachWindow([](BrowserWindowController& window) { window.applyPagePolicyToEveryTab(); });
    if (!on) {
        forEachWindow([](BrowserWindowController& window) { window.reloadAll(); });
        return;
    }
    // The jars are emptied first; each window still open then reloads its tabs.
    using Windows = std::vector<std::weak_ptr<BrowserWindowController>>;
    auto* windows = new Windows;
    for (const auto& window : BrowserWindowController::open())
        windows->push_back(window);
    webkit_website_data_manager_clear(
        webkit_network_session_get_website_data_manager(m_session.get()),
        static_cast<WebKitWebsiteDataTypes>(WEBKIT_WEBSITE_DATA_LOCAL_STORAGE |
                                            WEBKIT_WEBSITE_DATA_INDEXEDDB_DATABASES),
        0, m_cancellable.get(),
        +[](GObject* source, GAsyncResult* result, gpointer data) {
            std::unique_ptr<Windows> waiting(static_cast<Windows*>(data));
            GError* error = nullptr;
            webkit_website_data_manager_clear_finish(WEBKIT_WEBSITE_DATA_MANAGER(source), result, &error);
            bool cancelled = error && g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED);
            if (error) g_error_free(error);
            if (cancelled) return;
            for (const auto& weak : *waiting) {
                if (auto window = weak.lock()) window->reloadAll();
            }
        },
        windows);
}

void Application::toggleRememberHistory() {
    bool on = !m_preferences->rememberHistory();
    m_preferences->setRememberHistory(on);
    BrowserWindowController::historyChanged();
    forEachWindow([on](BrowserWindowController& window) {
        window.setStatus(on ? words().rememberingHistory() : words().notRememberingHistory());
    });
}

void Application::toggleLinksOnlySearch() {
    m_preferences->setLinksOnlySearch(!m_preferences->linksOnlySearch());
    forEachWindow([](BrowserWindowController& window) { window.reloadAll(); });
}

void Application::toggleNimbReport() {
    m_preferences->setNimbReportEnabled(!m_preferences->nimbReportEnabled());
    forEachWindow([](BrowserWindowController& window) {
        window.applyPagePolicyToEveryTab();
        window.reloadAll();
    });
}

// ------------------------------------------------------------------------------------------------
// Check marks and enabled states

void Application::scheduleValidate() {
    if (m_validateSource || !m_started) return;
    m_validateSource = g_idle_add(
        +[](gpointer data) -> gboolean {
            auto* self = static_cast<Application*>(data);
            self->m_validateSource = 0;
            self->validate();
            return G_SOURCE_REMOVE;
        },
        this);
}

void Application::validate() {
    if (!m_preferences) return;
    auto* group = G_ACTION_MAP(m_application.get());
    auto action = [group](const char* name) {
        return G_SIMPLE_ACTION(g_action_map_lookup_action(group, name));
    };
    auto check = [&](const char* name, bool on) {
        g_simple_action_set_state(action(name), g_variant_new_boolean(on));
    };
    auto enable = [&](const char* name, bool on) { g_simple_action_set_enabled(action(name), on); };

    const Preferences& prefs = *m_preferences;
    BrowserWindowController* window = front();
    check("toggleJS", prefs.javaScriptEnabled());
    check("toggleBlocking", prefs.contentBlockingEnabled());
    check("toggleNimbReport", prefs.nimbReportEnabled());
    check("toggleForgetStorage", prefs.forgetStorageEnabled());
    check("toggleLinksOnlySearch", prefs.linksOnlySearch());
    check("toggleRememberHistory", prefs.rememberHistory());
    check("showMarginalia", window && window->marginOpen());
    check("toggleStealth", window && window->stealth());
    g_simple_action_set_state(action("chooseEngine"),
                              g_variant_new_string(std::string(rawValue(prefs.searchEngine())).c_str()));
    g_simple_action_set_state(action("chooseLanguage"),
                              g_variant_new_string(std::string(rawValue(currentLanguage())).c_str()));

    bool severalTabs = window && window->tabs().size() > 1;
    enable("clearHistory", !prefs.history().empty());
    enable("nextTab", severalTabs);
    enable("previousTab", severalTabs);
    // The find bar arrives with the custom chrome; until then it is never open with a query.
    enable("findNext", window && window->findOpen());
    enable("findPrevious", window && window->findOpen());
    enable("addToMarginalia", window && window->canAnnotate());
}

} // namespace nimb
