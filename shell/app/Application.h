#pragma once

// The application: the one object that lives for the whole run. It starts the browser (language,
// menu bar, tab keys, the compiled rule list, the first window), owns what every window shares (the
// preferences, the web engine's network session and context, the list of open windows), registers
// the commands of the command table, and carries out the settings that concern every window: a
// changed setting is stored once and every open window applies it, and after a stored record changed
// every window draws again the pages that show it.
//
// It is a GtkApplication with the id "net.nimb2000.Nimb": a second launch hands its addresses (or a
// request for a new window) to the first and exits.

#include "app/UserDirectories.h"
#include "base/Date.h"
#include "glib/Connection.h"
#include "glib/GRefPtr.h"
#include "glib/Source.h"
#include "location/SearchEngine.h"
#include "preferences/Preferences.h"
#include "vocabulary/Language.h"

#include <gtk/gtk.h>
#include <webkit/webkit.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace nimb {

class BrowserWindowController;
class Tab;
class Url;

class Application {
public:
    struct Options {
        std::string id = "net.nimb2000.Nimb";
        // Another instance with the same id hands its work over to this one. Off lets several
        // applications run side by side in one process (tests).
        bool unique = true;
        // Where the preferences and the engine's data go; the XDG directories when none.
        std::optional<UserDirectories> directories;
        // Every request is sent through this proxy ("http://127.0.0.1:8123") when set; when none,
        // NIMB_HTTP_PROXY is read instead. Only tests set either: they point the browser at a loopback
        // server that answers for every host.
        std::optional<std::string> httpProxy;
        // How long an address may take to answer before its load is stopped.
        std::chrono::milliseconds requestTimeout{std::chrono::seconds(60)};
        // The system's preferred languages, most preferred first; g_get_language_names() when none.
        std::optional<std::vector<std::string>> preferredLanguages;
        // The clock; the system's when none.
        std::function<Date()> now;
        // The directory of the two typefaces; found next to the program when none.
        std::optional<std::filesystem::path> fonts;
    };

    Application();
    explicit Application(Options options);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The running application (the last one made); none before one is made and after it goes.
    [[nodiscard]] static Application* shared();

    // Runs the application to its end (the last window closed, or Quit): g_application_run.
    int run(int argc, char** argv);
    // Registers without running a main loop, and opens the first window as a launch would: for
    // tests that drive the application from their own loop. False when registration failed.
    bool launch();

    [[nodiscard]] GtkApplication* gtk() const { return m_application.get(); }
    [[nodiscard]] Preferences& preferences() { return *m_preferences; }
    [[nodiscard]] const Preferences& preferences() const { return *m_preferences; }
    [[nodiscard]] WebKitNetworkSession* session() const { return m_session.get(); }
    [[nodiscard]] WebKitWebContext* context() const { return m_context.get(); }
    [[nodiscard]] Date now() const;
    [[nodiscard]] std::chrono::milliseconds requestTimeout() const { return m_options.requestTimeout; }
    // Why the preferences could not be kept on disk this run; none when they are.
    [[nodiscard]] const std::optional<std::string>& storeProblem() const { return m_storeProblem; }
    // Takes the store problem for the status line, once: the first page to finish loading shows it.
    std::optional<std::string> takeStoreProblemForStatus();

    // Every open window, in order of opening.
    [[nodiscard]] const std::vector<std::shared_ptr<BrowserWindowController>>& windows() const {
        return m_windows;
    }
    // The window commands go to: the first open window that is active, else the last one opened.
    [[nodiscard]] BrowserWindowController* front() const;
    // Opens a new window on an address, or on the home page, and shows it.
    BrowserWindowController& openWindow(const std::optional<Url>& address);
    // A window joins the list as it is made, and leaves it as it is destroyed.
    void windowOpened(std::shared_ptr<BrowserWindowController> window);
    void windowClosed(BrowserWindowController& window);
    // Closes every window without asking and ends the run.
    void quit();
    // Gives the toolkit the chrome's look (the dark variant of the theme and the chrome's own style
    // sheet), once. The first window calls it after its first page has begun to load and before the
    // window is shown: the theme takes the toolkit some milliseconds to load, and the page's web
    // process starts up meanwhile.
    void installStyle();

    // After a stored record changed, every window draws again the generated pages that show it (and
    // the toolbar and the margin for bookmarks and notes); `except` is a tab that already shows it.
    void historyChanged();
    void bookmarksChanged(const Tab* except);
    void savedReportsChanged();

    // Carries out a menu command by its action name, as the menu item or accelerator would.
    void activate(const std::string& action, const std::optional<std::string>& target = std::nullopt);
    // Brings the menus' check marks and enabled states up to date now. (They are also brought up to
    // date on the next turn of the main loop after anything that may change them.)
    void validate();
    void scheduleValidate();

    // The commands that concern every window.
    void chooseLanguage(Language language);
    void chooseEngine(SearchEngine engine);
    void toggleJavaScript();
    void toggleBlocking();
    void toggleForgetStorage();
    void toggleRememberHistory();
    void toggleLinksOnlySearch();
    void toggleNimbReport();

    // The tab keys of one window's key presses; true when the key was used.
    bool handleTabKey(BrowserWindowController& window, guint keyval, GdkModifierType state);

private:
    void startup();
    void openAddresses(const std::vector<std::string>& addresses);
    void openStore();
    void makeEngine();
    void installActions();
    void buildMenu();
    void run(const std::string& action, GVariant* parameter);
    // Every open window, through a copy of the list: what is done to one may close another.
    void forEachWindow(const std::function<void(BrowserWindowController&)>& each);

    Options m_options;
    glib::GRefPtr<GtkApplication> m_application;
    std::unique_ptr<Preferences> m_preferences;
    std::vector<std::shared_ptr<BrowserWindowController>> m_windows;
    glib::GRefPtr<WebKitNetworkSession> m_session;
    glib::GRefPtr<WebKitWebContext> m_context;
    glib::GRefPtr<GCancellable> m_cancellable;
    // The menu bar's one model: a language change refills it, because windows keep the model they
    // were given and would not see a new one.
    glib::GRefPtr<GMenu> m_menubar;
    std::optional<std::string> m_storeProblem;
    bool m_storeProblemShown = false;
    bool m_started = false;
    bool m_styled = false;
    glib::Source m_validate;
    std::vector<glib::Connection> m_connections;
};

} // namespace nimb
