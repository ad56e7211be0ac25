#include "app/Commands.h"

#include "app/Application.h"
#include "app/Menus.h"
#include "app/Resources.h"
#include "base/Enumeration.h"
#include "location/LocationBar.h"
#include "preferences/Preferences.h"
#include "window/BrowserWindowController.h"
#include "window/ChromeController.h"
#include "window/ClosedTabs.h"
#include "window/FindController.h"
#include "window/MarginController.h"
#include "window/Navigator.h"
#include "window/RecordActions.h"
#include "window/ReportRequests.h"
#include "window/TabList.h"
#include "window/WindowContext.h"
#include "window/ZoomController.h"

#include <webkit/webkit.h>

namespace nimb::Commands {

namespace {

using Kind = Command::Kind;
using Value = std::optional<std::string>;
using Window = BrowserWindowController*;

// The web view that holds the focus, if it lies in one.
WebKitWebView* focusedWebView(GtkWidget* focus) {
    for (GtkWidget* widget = focus; widget; widget = gtk_widget_get_parent(widget)) {
        if (WEBKIT_IS_WEB_VIEW(widget)) return WEBKIT_WEB_VIEW(widget);
    }
    return nullptr;
}

// Cut, copy, paste and select all go to what has the focus: the page, or a text field of the chrome.
void editing(Window window, const char* webKitCommand, const char* widgetAction) {
    if (!window) return;
    GtkWidget* focus = gtk_root_get_focus(GTK_ROOT(window->window()));
    if (!focus) return;
    if (WebKitWebView* view = focusedWebView(focus)) {
        webkit_web_view_execute_editing_command(view, webKitCommand);
        return;
    }
    gtk_widget_activate_action(focus, widgetAction, nullptr);
}

// Runs `action` on the front window's controllers, when there is a front window.
template <class Action>
void inWindow(Window window, Action action) {
    if (window) action(window->context());
}

const Command table[] = {
    // The application menu
    {"about", Kind::plain, "",
     [](Application&, Window w, const Value&) {
         gtk_show_about_dialog(w ? w->window() : nullptr, "program-name", Menus::applicationName, "version",
                               NIMB_VERSION, "logo-icon-name", Resources::iconName, nullptr);
     }},
    {"chooseEngine", Kind::chooser, "",
     [](Application& app, Window, const Value& v) {
         if (auto engine = v ? fromRaw<SearchEngine>(*v) : std::nullopt) app.settings().chooseEngine(*engine);
     },
     nullptr, nullptr,
     [](const Application& app) {
         return std::string(rawValue(app.profile().preferences().searchEngine()));
     }},
    {"chooseLanguage", Kind::chooser, "",
     [](Application& app, Window, const Value& v) {
         if (auto language = v ? fromRaw<Language>(*v) : std::nullopt)
             app.settings().chooseLanguage(*language);
     },
     nullptr, nullptr, [](const Application&) { return std::string(rawValue(currentLanguage())); }},
    {"quit", Kind::plain, "<Control>q", [](Application& app, Window, const Value&) { app.quit(); }},

    // File
    {"newTab", Kind::plain, "<Control>t",
     [](Application& app, Window w, const Value&) {
         if (!w) {
             app.openWindow(std::nullopt);
             return;
         }
         WindowContext& c = w->context();
         Tab& added = c.tabs().add(false);
         c.navigator().goHome(added);
         c.chrome().focusLocation();
     }},
    {"newWindow", Kind::plain, "<Control>n",
     [](Application& app, Window, const Value&) { app.openWindow(std::nullopt); }},
    {"openLocation", Kind::plain, "<Control>l",
     [](Application&, Window w, const Value&) {
         inWindow(w, [](WindowContext& c) { c.chrome().focusLocation(); });
     }},
    {"showHistory", Kind::plain, "<Control>y",
     [](Application&, Window w, const Value&) {
         inWindow(w, [](WindowContext& c) { c.navigator().showHistory(); });
     }},
    {"toggleRememberHistory", Kind::toggle, "",
     [](Application& app, Window, const Value&) { app.settings().toggleRememberHistory(); }, nullptr,
     [](const Application& app, Window) { return app.profile().preferences().rememberHistory(); }},
    {"clearHistory", Kind::plain, "",
     [](Application&, Window w, const Value&) {
         inWindow(w, [](WindowContext& c) { c.records().clearHistory(); });
     },
     [](const Application& app, Window) { return !app.profile().preferences().history().empty(); }},
    {"clearSiteData", Kind::plain, "",
     [](Application& app, Window w, const Value&) {
         inWindow(w, [&app](WindowContext& c) { app.settings().clearSiteData(c); });
     }},
    {"printPage", Kind::plain, "<Control>p",
     [](Application&, Window w, const Value&) {
         inWindow(w, [](WindowContext& c) { c.navigator().printPage(); });
     }},
    {"closeTab", Kind::plain, "<Control>w",
     [](Application&, Window w, const Value&) {
         inWindow(w, [](WindowContext& c) { c.tabs().closeCurrent(); });
     }},
    {"closeWindow", Kind::plain, "<Control><Shift>w",
     [](Application&, Window w, const Value&) {
         if (w) w->performClose();
     }},
    {"reopenClosedTab", Kind::plain, "<Control><Shift>t",
     [](Application&, Window w, const Value&) {
         inWindow(w, [](WindowContext& c) { c.closedTabs().reopen(); });
     },
     [](const Application&, Window w) { return w && !w->context().closedTabs().empty(); }},

    // Edit
    {"cut", Kind::plain, "<Control>x",
     [](Application&, Window w, const Value&) { editing(w, WEBKIT_EDITING_COMMAND_CUT, "clipboard.cut"); }},
    {"copy", Kind::plain, "<Control>c",
     [](Application&, Window w, const Value&) { editing(w, WEBKIT_EDITING_COMMAND_COPY, "clipboard.copy"); }},
    {"paste", Kind::plain, "<Control>v",
     [](Application&, Window w, const Value&) {
         editing(w, WEBKIT_EDITING_COMMAND_PASTE, "clipboard.paste");
     }},
    {"selectAll", Kind::plain, "<Control>a",
     [](Application&, Window w, const Value&) {
         editing(w, WEBKIT_EDITING_COMMAND_SELECT_ALL, "selection.select-all");
     }},
    {"findInPage", Kind::plain, "<Control>f",
     [](Application&, Window w, const Value&) { inWindow(w, [](WindowContext& c) { c.find().open(); }); }},
    {"findNext", Kind::plain, "<Control>g",
     [](Application&, Window w, const Value&) { inWindow(w, [](WindowContext& c) { c.find().run(1); }); },
     [](const Application&, Window w) { return w && w->context().find().canFindAgain(); }},
    {"findPrevious", Kind::plain, "<Control><Shift>g",
     [](Application&, Window w, const Value&) { inWindow(w, [](WindowContext& c) { c.find().run(-1); }); },
     [](const Application&, Window w) { return w && w->context().find().canFindAgain(); }},

    // View
    {"toggleStealth", Kind::toggle, "<Control><Shift>s",
     [](Application&, Window w, const Value&) {
         inWindow(w, [](WindowContext& c) { c.chrome().setStealth(!c.chrome().stealth()); });
     },
     nullptr, [](const Application&, Window w) { return w && w->context().chrome().stealth(); }},
    // Ctrl with the plus key, typed with Shift or not, and the keypad's
    {"zoomIn",
     Kind::plain,
     {"<Control>plus", "<Control>equal", "<Control>KP_Add"},
     [](Application&, Window w, const Value&) { inWindow(w, [](WindowContext& c) { c.zoom().zoomIn(); }); }},
    {"zoomOut",
     Kind::plain,
     {"<Control>minus", "<Control>KP_Subtract"},
     [](Application&, Window w, const Value&) { inWindow(w, [](WindowContext& c) { c.zoom().zoomOut(); }); }},
    {"actualSize",
     Kind::plain,
     {"<Control>0", "<Control>KP_0"},
     [](Application&, Window w, const Value&) {
         inWindow(w, [](WindowContext& c) { c.zoom().actualSize(); });
     }},
    {"toggleJS", Kind::toggle, "<Control>j",
     [](Application& app, Window, const Value&) { app.settings().toggleJavaScript(); }, nullptr,
     [](const Application& app, Window) { return app.profile().preferences().javaScriptEnabled(); }},
    {"toggleBlocking", Kind::toggle, "<Control>k",
     [](Application& app, Window, const Value&) { app.settings().toggleBlocking(); }, nullptr,
     [](const Application& app, Window) { return app.profile().preferences().contentBlockingEnabled(); }},
    {"toggleForgetStorage", Kind::toggle, "",
     [](Application& app, Window, const Value&) { app.settings().toggleForgetStorage(); }, nullptr,
     [](const Application& app, Window) { return app.profile().preferences().forgetStorageEnabled(); }},
    {"toggleLinksOnlySearch", Kind::toggle, "",
     [](Application& app, Window, const Value&) { app.settings().toggleLinksOnlySearch(); }, nullptr,
     [](const Application& app, Window) { return app.profile().preferences().linksOnlySearch(); }},
    {"nimbReport", Kind::plain, "<Control>i",
     [](Application&, Window w, const Value&) {
         inWindow(w, [](WindowContext& c) {
             Tab* tab = c.tabs().currentTab();
             if (tab && tab->localPage != LocationBar::aboutReport) c.reports().show(*tab);
         });
     }},
    {"savedReports", Kind::plain, "<Control><Shift>i",
     [](Application&, Window w, const Value&) {
         inWindow(w, [](WindowContext& c) { c.navigator().showSavedReports(); });
     }},
    {"toggleNimbReport", Kind::toggle, "",
     [](Application& app, Window, const Value&) { app.settings().toggleNimbReport(); }, nullptr,
     [](const Application& app, Window) { return app.profile().preferences().nimbReportEnabled(); }},
    {"addBookmark", Kind::plain, "<Control>d",
     [](Application&, Window w, const Value&) {
         inWindow(w, [](WindowContext& c) { c.records().addBookmark(); });
     }},
    {"showBookmarks", Kind::plain, "<Control>b",
     [](Application&, Window w, const Value&) {
         inWindow(w, [](WindowContext& c) { c.navigator().showBookmarks(); });
     }},
    {"addToMarginalia", Kind::plain, "<Control><Shift>m",
     [](Application&, Window w, const Value&) {
         inWindow(w, [](WindowContext& c) { c.records().addToMarginalia(); });
     },
     [](const Application&, Window w) { return w && w->context().records().canAnnotate(); }},
    {"showMarginalia", Kind::toggle, "<Control>m",
     [](Application&, Window w, const Value&) { inWindow(w, [](WindowContext& c) { c.margin().toggle(); }); },
     nullptr, [](const Application&, Window w) { return w && w->context().margin().isOpen(); }},

    // Go
    {"goBack",
     Kind::plain,
     {"<Control>bracketleft", "<Alt>Left"},
     [](Application&, Window w, const Value&) {
         inWindow(w, [](WindowContext& c) { c.navigator().goBack(); });
     }},
    {"goForward",
     Kind::plain,
     {"<Control>bracketright", "<Alt>Right"},
     [](Application&, Window w, const Value&) {
         inWindow(w, [](WindowContext& c) { c.navigator().goForward(); });
     }},
    {"reloadPage",
     Kind::plain,
     {"<Control>r", "F5", "<Control><Shift>r"},
     [](Application&, Window w, const Value&) {
         inWindow(w, [](WindowContext& c) { c.navigator().reloadPage(); });
     }},
    {"stopLoading", Kind::plain, "<Control>period",
     [](Application&, Window w, const Value&) {
         inWindow(w, [](WindowContext& c) { c.navigator().stopLoading(); });
     }},
    {"goHome", Kind::plain, "<Control><Shift>h",
     [](Application&, Window w, const Value&) {
         inWindow(w, [](WindowContext& c) {
             if (Tab* tab = c.tabs().currentTab()) c.navigator().goHome(*tab);
         });
     }},
    {"nextTab", Kind::plain, "<Control><Shift>braceright",
     [](Application&, Window w, const Value&) {
         inWindow(w, [](WindowContext& c) { c.tabs().selectNext(); });
     },
     [](const Application&, Window w) { return w && w->context().tabs().size() > 1; }},
    {"previousTab", Kind::plain, "<Control><Shift>braceleft",
     [](Application&, Window w, const Value&) {
         inWindow(w, [](WindowContext& c) { c.tabs().selectPrevious(); });
     },
     [](const Application&, Window w) { return w && w->context().tabs().size() > 1; }},
};

} // namespace

std::span<const Command> all() {
    return table;
}

const Command* find(std::string_view name) {
    for (const Command& command : table) {
        if (name == command.name) return &command;
    }
    return nullptr;
}

} // namespace nimb::Commands
