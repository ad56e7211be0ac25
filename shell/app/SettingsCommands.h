#pragma once

// The commands that concern every window: the language, the search engine and the menu toggles. Each
// stores its new value once, and every open window then applies it.

#include "glib/GRefPtr.h"
#include "location/SearchEngine.h"
#include "vocabulary/Language.h"

#include <gio/gio.h>

namespace nimb {

class Application;
class WindowContext;

class SettingsCommands {
public:
    explicit SettingsCommands(Application& application);
    ~SettingsCommands();
    SettingsCommands(const SettingsCommands&) = delete;
    SettingsCommands& operator=(const SettingsCommands&) = delete;

    void chooseLanguage(Language language);
    void chooseEngine(SearchEngine engine);
    void toggleJavaScript();
    void toggleBlocking();
    // On, the jars are emptied first and every window reloads when that is done.
    void toggleForgetStorage();
    void toggleRememberHistory();
    void toggleLinksOnlySearch();
    void toggleNimbReport();
    // Asks over the window, then forgets every cookie and everything sites kept in the browser (not
    // the history, the bookmarks or the notes); the window's status line says how it went.
    void clearSiteData(WindowContext& asking);

private:
    Application& m_application;
    glib::GRefPtr<GCancellable> m_cancellable; // the jars' emptying, cancelled when the run ends
};

} // namespace nimb
