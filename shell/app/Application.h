#pragma once

// The application: the one object that lives for the whole run. It starts the browser (the profile,
// the language, the web engine, the command table's actions and the menu bar, the compiled rule list,
// the first window) and owns what every window shares: the profile with its preferences, the web
// engine, the list of open windows, and the commands that concern them all.
//
// It is a GtkApplication with the id "net.nimb2000.Nimb": a second launch hands its addresses (or a
// request for a new window) to the first and exits.

#include "app/MenuActions.h"
#include "app/Profile.h"
#include "app/SettingsCommands.h"
#include "app/UserDirectories.h"
#include "app/WindowList.h"
#include "base/Date.h"
#include "engine/WebEngine.h"
#include "glib/Connection.h"
#include "glib/GRefPtr.h"

#include <gtk/gtk.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace nimb {

class BlockerRules;
class BrowserWindowController;
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
        // How often a tab's title changes may be written to history (benchmarks compare with 0).
        std::chrono::milliseconds titleWriteInterval{std::chrono::seconds(1)};
        // The system's preferred languages, most preferred first; g_get_language_names() when none.
        std::optional<std::vector<std::string>> preferredLanguages;
        // The clock; the system's when none.
        std::function<Date()> now;
        // The directory of the two typefaces; found next to the program when none.
        std::optional<std::filesystem::path> fonts;
        // The compiled blocklist's holder; the process's own (BlockerRules::shared) when none. Tests
        // give one over a store whose answers they hold back; it then serves with or without the
        // request witness.
        BlockerRules* rules = nullptr;
        // The directory of the request witness; the one that comes with the program when none, and no
        // witness at all when it is empty (what a web process does when its library is not found).
        std::optional<std::filesystem::path> witness;
    };

    Application();
    explicit Application(Options options);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Runs the application to its end (the last window closed, or Quit): g_application_run.
    int run(int argc, char** argv);
    // Registers without running a main loop, and opens the first window as a launch would: for
    // tests that drive the application from their own loop. False when registration failed.
    bool launch();

    [[nodiscard]] GtkApplication* gtk() const { return m_application.get(); }
    // The profile, the engine and the settings exist from start-up on.
    [[nodiscard]] Profile& profile() const { return *m_profile; }
    [[nodiscard]] WebEngine& engine() const { return *m_engine; }
    [[nodiscard]] SettingsCommands& settings() { return m_settings; }
    [[nodiscard]] MenuActions& actions() { return m_actions; }
    [[nodiscard]] WindowList& windows() { return m_windows; }
    [[nodiscard]] const WindowList& windows() const { return m_windows; }
    [[nodiscard]] Date now() const;
    [[nodiscard]] std::chrono::milliseconds requestTimeout() const { return m_options.requestTimeout; }
    // The compiled blocklist in force: the whole of it, or, once the request witness is at work (it
    // stops the http(s) requests itself), what the witness cannot see.
    [[nodiscard]] BlockerRules& rules() const;
    // The request witness greeted a page: the first time in the run, every tab changes to the
    // blocklist beside it, once that is at hand.
    void witnessGreeted();
    [[nodiscard]] std::chrono::milliseconds titleWriteInterval() const {
        return m_options.titleWriteInterval;
    }

    // Opens a new window on an address, or on the home page, and shows it.
    BrowserWindowController& openWindow(const std::optional<Url>& address);
    // Closes every window and ends the run. First asks, when a window holds two or more tabs, whether
    // to close them all; then whether to lose the changes that still wait for another program to let
    // go of the profile, when there are any. One question at a time, and none while a window asks
    // its own.
    void quit();
    // Whether the application asks one of those questions just now.
    [[nodiscard]] bool asking() const { return m_askingToQuit; }
    // Whether the run is ending: every window goes without asking.
    [[nodiscard]] bool ending() const { return m_ending; }
    // Whether the run may end now: true when no write waits for another program to let go of the
    // profile; otherwise asks over `over` whether to lose them, calls `end` if the user agrees, and
    // answers false.
    [[nodiscard]] bool mayEndRun(BrowserWindowController* over, std::function<void()> end);
    // Addresses handed over by a launch (the command line, the desktop): each in a new tab of the
    // active window, or in a new window when there is none.
    void open(const std::vector<std::string>& addresses);

private:
    void closeEverything();
    // Destroys every window without asking; the run is ending from here on.
    void closeWindows();
    void startup();

    Options m_options;
    glib::GRefPtr<GtkApplication> m_application;
    std::unique_ptr<Profile> m_profile;
    bool m_askingToQuit = false;
    bool m_ending = false;
    std::unique_ptr<WebEngine> m_engine;
    // The request witness stops listed http(s) requests, and the rule list in force is the smaller.
    bool m_witnessBlocks = false;
    // Held only here: what waits on the process's lists asks for the application through it.
    std::shared_ptr<Application*> m_alive = std::make_shared<Application*>(this);
    WindowList m_windows;
    SettingsCommands m_settings;
    MenuActions m_actions;
    std::vector<glib::Connection> m_connections;
};

} // namespace nimb
