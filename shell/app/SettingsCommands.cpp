#include "app/SettingsCommands.h"

#include "app/Application.h"
#include "app/Dialogs.h"
#include "app/MenuActions.h"
#include "glib/Async.h"
#include "preferences/Preferences.h"
#include "window/BrowserWindowController.h"
#include "window/Navigator.h"
#include "window/PageViews.h"
#include "window/StatusController.h"
#include "window/TabList.h"
#include "window/WindowContext.h"

namespace nimb {

SettingsCommands::SettingsCommands(Application& application)
    : m_application(application), m_cancellable(glib::adoptGRef(g_cancellable_new())) {}

SettingsCommands::~SettingsCommands() {
    g_cancellable_cancel(m_cancellable.get());
}

void SettingsCommands::chooseLanguage(Language language) {
    if (!switchLanguage(language, m_application.profile().preferences())) return;
    m_application.actions().buildMenu();
    m_application.windows().forEach([](BrowserWindowController& window) { window.languageChanged(); });
}

void SettingsCommands::chooseEngine(SearchEngine engine) {
    m_application.profile().preferences().setSearchEngine(engine);
}

void SettingsCommands::toggleJavaScript() {
    Preferences& prefs = m_application.profile().preferences();
    bool on = !prefs.javaScriptEnabled();
    prefs.setJavaScriptEnabled(on);
    m_application.windows().forEach([on](BrowserWindowController& window) {
        WindowContext& context = window.context();
        context.tabs().views().setJavaScript(on);
        context.navigator().reloadAll();
    });
}

void SettingsCommands::toggleBlocking() {
    Preferences& prefs = m_application.profile().preferences();
    prefs.setContentBlockingEnabled(!prefs.contentBlockingEnabled());
    m_application.windows().forEach([](BrowserWindowController& window) {
        WindowContext& context = window.context();
        context.tabs().views().applyPolicyToEveryTab();
        for (const auto& tab : context.tabs().all()) {
            tab->walls = 0;
            tab->network = 0;
            tab->blockedIcons.clear();
            tab->recordedBlocked.clear();
            tab->witness.reset();
        }
        context.status().syncShield();
        context.navigator().reloadAll();
    });
}

void SettingsCommands::toggleForgetStorage() {
    Preferences& prefs = m_application.profile().preferences();
    bool on = !prefs.forgetStorageEnabled();
    prefs.setForgetStorageEnabled(on);
    const WindowList& windows = m_application.windows();
    windows.forEach(
        [](BrowserWindowController& window) { window.context().tabs().views().applyPolicyToEveryTab(); });
    if (!on) {
        windows.forEach([](BrowserWindowController& window) { window.context().navigator().reloadAll(); });
        return;
    }
    // The jars are emptied first; each window still open then reloads its tabs.
    std::vector<std::weak_ptr<WindowContext>> waiting;
    for (const auto& window : windows)
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
        webkit_network_session_get_website_data_manager(m_application.engine().session()),
        static_cast<WebKitWebsiteDataTypes>(WEBKIT_WEBSITE_DATA_LOCAL_STORAGE |
                                            WEBKIT_WEBSITE_DATA_INDEXEDDB_DATABASES),
        0, m_cancellable.get(), call.callback, call.data);
}

void SettingsCommands::clearSiteData(WindowContext& asking) {
    std::weak_ptr<WindowContext> weak = asking.weak_from_this();
    Dialogs::confirm(
        asking.gtkWindow(), words().clearSiteDataQuestion(), words().clearSiteDataDetail(), words().clear(),
        [this, weak](bool clear) {
            if (!clear) return;
            auto call = glib::async(
                [](GObject* source, GAsyncResult* result, GError** error) {
                    return webkit_website_data_manager_clear_finish(WEBKIT_WEBSITE_DATA_MANAGER(source),
                                                                    result, error);
                },
                [weak](gboolean cleared, const glib::Error&) {
                    auto context = weak.lock();
                    if (!context || context->closed()) return;
                    context->status().setStatus(cleared ? words().clearedSiteData()
                                                        : words().siteDataNotCleared());
                });
            webkit_website_data_manager_clear(
                webkit_network_session_get_website_data_manager(m_application.engine().session()),
                WEBKIT_WEBSITE_DATA_ALL, 0, m_cancellable.get(), call.callback, call.data);
        });
}

void SettingsCommands::toggleRememberHistory() {
    Preferences& prefs = m_application.profile().preferences();
    bool on = !prefs.rememberHistory();
    prefs.setRememberHistory(on);
    m_application.windows().historyChanged();
    m_application.windows().forEach([on](BrowserWindowController& window) {
        window.context().status().setStatus(on ? words().rememberingHistory()
                                               : words().notRememberingHistory());
    });
}

void SettingsCommands::toggleLinksOnlySearch() {
    Preferences& prefs = m_application.profile().preferences();
    prefs.setLinksOnlySearch(!prefs.linksOnlySearch());
    m_application.windows().forEach(
        [](BrowserWindowController& window) { window.context().navigator().reloadAll(); });
}

void SettingsCommands::toggleNimbReport() {
    Preferences& prefs = m_application.profile().preferences();
    prefs.setNimbReportEnabled(!prefs.nimbReportEnabled());
    m_application.windows().forEach([](BrowserWindowController& window) {
        window.context().tabs().views().applyPolicyToEveryTab();
        window.context().navigator().reloadAll();
    });
}

} // namespace nimb
