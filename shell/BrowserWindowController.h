#pragma once

// One browser window: its tabs and their web views, the chrome around them, the rules by which a web
// view may navigate, and the window's side of the conversation with its pages (their messages, the
// status line, the site report, and the actions the browser's own pages ask for).
//
// Every open window is in `open()`, in the order they were opened; the list holds them, and a window
// leaves it when it closes. Everything asynchronous holds the window and the tab weakly and does
// nothing once either is gone.

#include "Chrome.h"
#include "Tab.h"
#include "base/Date.h"
#include "base/Url.h"
#include "chrome/TabStripView.h"
#include "glib/GRefPtr.h"
#include "location/LocationBar.h"
#include "page/InternalActions.h"
#include "records/NimbReportPageUnavailable.h"
#include "records/SavedReport.h"
#include "report/NimbReport.h"
#include "report/ReportAction.h"

#include <gtk/gtk.h>
#include <webkit/webkit.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nimb {

class Application;
class Preferences;
struct BookmarkAction;
struct HistoryAction;

class BrowserWindowController : public std::enable_shared_from_this<BrowserWindowController> {
public:
    using Index = std::int64_t;
    using Unavailable = NimbReportPage::Unavailable;

    // Every open window, in order of opening.
    [[nodiscard]] static const std::vector<std::shared_ptr<BrowserWindowController>>& open();
    // The controller of a window, if it is one of ours.
    [[nodiscard]] static BrowserWindowController* of(GtkWindow* window);

    // Makes a window with one tab showing the address, or the home page without one, and shows it.
    static BrowserWindowController& make(Application& application, const std::optional<Url>& address);

    ~BrowserWindowController();
    BrowserWindowController(const BrowserWindowController&) = delete;
    BrowserWindowController& operator=(const BrowserWindowController&) = delete;

    [[nodiscard]] GtkWindow* window() const { return m_window; }
    [[nodiscard]] Application& application() const { return m_app; }
    [[nodiscard]] Chrome& chrome() const { return *m_chrome; }
    [[nodiscard]] TabStripView& tabStrip() const;

    // Window and tabs

    [[nodiscard]] const std::vector<std::shared_ptr<Tab>>& tabs() const { return m_tabs; }
    [[nodiscard]] Index current() const { return m_current; }
    [[nodiscard]] Tab* currentTab() const;
    [[nodiscard]] Tab* tabFor(WebKitWebView* view) const;
    [[nodiscard]] bool isCurrent(const Tab& tab) const;
    // The site's icon of a tab, from the favicon store; none for the browser's own pages.
    [[nodiscard]] GdkTexture* icon(const Tab& tab) const;

    // A new tab right after the current one, shown unless `background`.
    Tab& addTab(bool background);
    void select(Index index);
    // Closes a tab; closing the only tab closes the window (asking first when it has several tabs).
    void close(Index index);
    void closeTab();
    void nextTab();
    void previousTab();
    void selectTab(int number);
    // Closes the window as its close button does: with two or more tabs, after asking.
    void performClose();

    // Loading

    void load(const Url& address, Tab& tab);
    void go(const LocationBar::Destination& destination, Tab& tab);
    void goHome(Tab& tab);
    void showLocal(std::string_view address, const std::string& html, Tab& tab);
    void showHistory();
    void showBookmarks();
    void showSavedReports();
    void reload(Tab& tab);
    void reloadAll();
    void reloadPage();
    void printPage();
    void goBack();
    void goForward();
    void stopLoading();
    // Return in the location field.
    void locationEntered(const std::string& text);
    void focusLocation();

    // Settings carried into the web views
    void setJavaScript(bool on);
    void applyPagePolicy(WebKitWebView* view);
    void applyPagePolicyToEveryTab();
    void clearHistory();
    void applyStealth();
    [[nodiscard]] bool stealth() const { return m_stealth; }
    void setStealth(bool on);

    // The status line and the shield

    void setStatus(std::string_view text);
    [[nodiscard]] std::string status() const;
    [[nodiscard]] std::string idleStatus() const;
    // What the page had refused: walls taken off, and requests the rule list stopped.
    [[nodiscard]] std::int64_t blockedCount(const Tab& tab) const;
    [[nodiscard]] std::string restingLabel() const;
    [[nodiscard]] const std::string& fullAddress() const { return m_fullAddress; }
    void syncShield();
    [[nodiscard]] const Chrome::Shield& shield() const { return m_shield; }

    // The site report

    using Answer = std::function<void(NimbReport, std::optional<Unavailable>)>;
    void askThePage(Tab& tab, Answer then);
    void showNimbReport(Tab& tab);
    void keepReport(Tab& tab);
    void apply(const ReportAction& action, Tab& tab);

    // The records

    void apply(const HistoryAction& action);
    void apply(const BookmarkAction& action, Tab* from);
    static void historyChanged();
    static void bookmarksChanged(const Tab* except);
    static void savedReportsChanged();
    void addBookmark();
    void addToMarginalia();
    [[nodiscard]] bool canAnnotate() const;

    // Panels that come with the custom chrome: the margin, the find bar and the report popover. The
    // window keeps their state so the menus can show it.
    [[nodiscard]] bool marginOpen() const { return m_marginOpen; }
    void showMarginalia();
    void showMarginaliaFor(std::string_view address);
    [[nodiscard]] bool findOpen() const { return m_findOpen; }
    void findInPage();
    void runFind(int step);
    bool dismissFindIfShowing();
    void closeReportPopover();

    // Everything a language change touches: the chrome's words, and the generated pages drawn again.
    void languageChanged();

private:
    struct Passkey {};

public:
    BrowserWindowController(Passkey, Application& application);

private:
    void build();
    void buildContent();
    WebKitWebView* makePageView();
    void observe(Tab& tab);
    void forget(Tab& tab);
    void windowWillClose();
    bool windowShouldClose();

    // Page events write the status line through here. A command's message is not overwritten by the
    // start and finish of a generated page (often the very page the command redraws), only by what a
    // web page does or by a change of tab.
    void showPageStatus(std::string_view text, bool fromGeneratedPage);

    // The personal toolbar's buttons, from the stored bookmarks.
    void rebuildBookmarks();
    void syncTitle();
    void syncStrip();
    void syncChrome();
    void syncNavigation();
    void redrawAddress();
    void refreshMargin();

    // The generated page for an internal address, from the stores as they are now; none for the
    // report page and anything else.
    [[nodiscard]] std::optional<std::string> generatedPage(std::string_view address) const;
    void renderReport(Tab& tab, const NimbReport& report, std::optional<Unavailable> reason,
                      NimbReportPage::View view, const std::string& query,
                      const std::optional<SavedReport>& saved);
    void redrawLocal(Tab& tab);

    // Web view events
    bool decidePolicy(WebKitWebView* view, WebKitPolicyDecision* decision, WebKitPolicyDecisionType type);
    bool decideNavigation(WebKitWebView* view, WebKitNavigationPolicyDecision* decision);
    void applyInternal(const InternalActions::Action& action, WebKitWebView* view);
    WebKitWebView* createWebView(WebKitWebView* view, WebKitNavigationAction* action);
    void loadChanged(WebKitWebView* view, WebKitLoadEvent event);
    void loadFailed(WebKitWebView* view, const GError* error);
    void titleChanged(WebKitWebView* view);
    void addressChanged(WebKitWebView* view);
    void progressChanged(WebKitWebView* view);
    void loadingChanged(WebKitWebView* view);
    void historyAvailabilityChanged(WebKitWebView* view);
    bool contextMenu(WebKitWebView* view, WebKitContextMenu* menu);
    void timedOut(Tab& tab);

    // Page messages
    void statusMessage(WebKitWebView* view, JSCValue* body);
    void blockedMessage(WebKitWebView* view, JSCValue* body);
    void faviconMessage(WebKitWebView* view, JSCValue* body);
    void fetchIcon(Tab& tab);

    [[nodiscard]] Preferences& prefs() const;
    [[nodiscard]] Date now() const;
    [[nodiscard]] std::shared_ptr<Tab> shared(const Tab& tab) const;

    Application& m_app;
    GtkWindow* m_window = nullptr; // held by the window list of GTK until it is destroyed
    std::unique_ptr<Chrome> m_chrome;
    glib::GRefPtr<GtkWidget> m_strip; // held, so that the strip outlives the window's teardown
    GtkWidget* m_stack = nullptr;
    glib::GRefPtr<GSimpleActionGroup> m_pageActions;

    std::vector<std::shared_ptr<Tab>> m_tabs;
    Index m_current = 0;
    bool m_stealth = false;
    std::string m_fullAddress;
    std::optional<std::string> m_pinned;
    bool m_marginOpen = false;
    bool m_findOpen = false;
    bool m_editing = false;
    bool m_closing = false;
    bool m_closed = false;
    bool m_asking = false;
    bool m_statusHeld = false;
    Chrome::Shield m_shield;
};

} // namespace nimb
