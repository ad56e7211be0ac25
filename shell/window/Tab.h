#pragma once

// One tab of a browser window: its web view, the view's signal connections, and what the window knows
// about the page in it. The window's tab list owns its tabs (shared, so that asynchronous work can hold
// a tab weakly through a TabRef); everything the view reports goes to the tab's observer with the tab.
// When the tab is torn down its connections go, its timer stops and its cancellables are cancelled.

#include "glib/Connection.h"
#include "glib/GRefPtr.h"
#include "glib/Source.h"
#include "glib/Throttle.h"
#include "page/GeneratedPage.h"
#include "page/OpenAllowance.h"
#include "records/NimbReportPageUnavailable.h"
#include "records/NimbReportPageView.h"
#include "report/NimbReport.h"
#include "window/TabObserver.h"
#include "window/TitleWrites.h"

#include <webkit/webkit.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace nimb {

class Tab : public std::enable_shared_from_this<Tab> {
public:
    // Takes a reference of its own on the view and connects to its signals.
    Tab(WebKitWebView* view, TabObserver& observer);
    ~Tab();
    Tab(const Tab&) = delete;
    Tab& operator=(const Tab&) = delete;

    [[nodiscard]] WebKitWebView* view() const { return m_view.get(); }
    // Cancelled when the tab is torn down.
    [[nodiscard]] GCancellable* cancellable() const { return m_cancellable.get(); }
    // Cancelled when the page goes (another load starts) or the tab is torn down: for what only the
    // page in the tab now is waiting for.
    [[nodiscard]] GCancellable* pageCancellable() const { return m_pageCancellable.get(); }
    // The page in the tab goes: what it was waiting for is given up.
    void leavePage();
    [[nodiscard]] bool tornDown() const { return m_tornDown; }

    // The internal address of the generated page shown, else the view's address, else none.
    [[nodiscard]] std::optional<std::string> address() const;
    // The view's address as the engine reports it; none before anything was loaded.
    [[nodiscard]] std::optional<std::string> viewAddress() const;
    // The view's title; none when it has none or shows a generated page.
    [[nodiscard]] std::optional<std::string> pageTitle() const;
    // The site's icon from the favicon store; none for the browser's own pages.
    [[nodiscard]] GdkTexture* icon() const;
    [[nodiscard]] bool loading() const;

    // The last report built for the page, and why there is no real one when there is not.
    struct Reported {
        NimbReport report;
        std::optional<NimbReportPage::Unavailable> reason;
    };
    // How the report page in this tab was last drawn, so that it can be drawn again alike.
    struct ReportPage {
        NimbReportPage::View view = NimbReportPage::View::overview;
        std::string query;
        std::optional<std::string> saved; // the kept report's id
    };

    // The internal address of the browser's own page shown in the tab (or on its way there).
    std::optional<std::string> localPage;
    // The report the page shown answered (or the one drawn on the report page shown), and how.
    // What the user typed into the location field for this tab and had not sent when another tab was
    // chosen; it is in the field again when this tab is.
    std::optional<std::string> typedLocation;
    std::optional<Reported> reported;
    std::optional<ReportPage> reportPage;
    // The entry of the tab's back and forward list the view is at (or going to), when it is one of
    // the browser's own pages.
    [[nodiscard]] std::optional<GeneratedPage::Entry> generatedEntry() const;
    // The browser's page at the place of the list where the view's document committed, if it is one:
    // unlike the view's address, which may already name a page asked for while this one was coming.
    [[nodiscard]] std::optional<GeneratedPage::Entry> committedEntry() const;
    // The browser's own page the browser last sent the tab to, until it comes: only it is let
    // through. (The page asked for before it may still be coming in meanwhile, and the view's
    // address already names this one.)
    std::optional<GeneratedPage::Entry> sentGenerated;
    // The browser's own page the tab's view was last let go to (as the browser sent it, or Back,
    // Forward or Reload took it): the engine asks for it next, and only it is drawn.
    std::optional<GeneratedPage::Entry> admittedGenerated;
    // The number of the newest entry a generated page took in the tab.
    std::uint64_t generatedEntries = 0;
    // The browser's page the engine was last given since the last document came. A document nobody
    // drew is a web page, or a page the engine brings back from its page cache, which is drawn again.
    std::optional<GeneratedPage::Entry> generatedDrawn;
    // What each report page of the tab was drawn from, by its entry, so that Back and Forward find the
    // report that was shown there; the newest `keptReportDrawings`.
    struct ReportDrawing {
        Reported reported;
        ReportPage page;
    };
    std::map<std::uint64_t, ReportDrawing> reportDrawings;
    static constexpr std::size_t keptReportDrawings = 16;
    std::optional<std::string> status;
    // Whether `status` is what the hovered link says (else the browser's own word for the page).
    bool statusIsHover = false;
    std::optional<std::string> declaredIcon;
    std::int64_t walls = 0;
    std::int64_t network = 0;
    // Icon addresses the page declared that the blocklist kept the favicon store from, each once.
    std::vector<std::string> blockedIcons;
    std::vector<std::string> hosts;
    double heat = 0;
    // The document's blocked requests by host as its recorder counted them, and everything the request
    // witness counted of it, once it has said.
    std::map<std::string, std::int64_t> recordedBlocked;
    std::optional<WitnessCounts> witness;
    // The witness's counts of the documents the tab showed, by their place in the back-forward list:
    // one the engine brings back from its page cache is not counted again.
    std::vector<std::pair<glib::GRefPtr<WebKitBackForwardListItem>, WitnessCounts>> witnessedEntries;
    static constexpr std::size_t keptWitnessedEntries = 16;
    // The document the witness counts for this tab, by the name the witness gave it, and the last
    // ones the tab left: counts of a document left, late or sent on by a page brought back from the
    // page cache, are never taken for those of the document shown.
    std::optional<std::uint64_t> witnessDocument;
    // The document's place in the back-forward list, as it was when it came.
    glib::GRefPtr<WebKitBackForwardListItem> committedItem;
    std::vector<std::uint64_t> witnessDocumentsLeft;
    static constexpr std::size_t keptDocumentsLeft = 16;
    // Whether a message of that document is the shown document's; a document not left before
    // becomes the shown one (its first message comes once it is shown).
    [[nodiscard]] bool acceptsWitnessedDocument(std::uint64_t document);
    void leaveWitnessedDocument();
    // Hosts of other sites the favicon store fetched the page's icon from, for the page.
    std::vector<std::string> iconHosts;
    static constexpr std::size_t keptIconHosts = 16;
    double progress = 0;

    // Whether the load under way comes from the browser's own HTML, and whether the document now
    // committed in the view did: only such a document may ask for internal actions.
    bool pendingGenerated = false;
    bool documentIsGenerated = false;
    // Whether the document shown is the answer to a form the page posted: reloading it sends the form
    // again, which the user is asked about first (Navigator::reload).
    struct FormAnswer {
        // The address of the last navigation the engine asked about, when it posted.
        std::optional<std::string> postedTo;
        // Where the load under way posted to, and whether the document shown came from such a load.
        std::optional<std::string> loading;
        bool shown = false;
        // The user said to send it again: the engine's next resubmission is let through, once.
        bool resendAgreed = false;
        bool asking = false;
    };
    FormAnswer form;
    // The load under way failed (the engine still reports it finished afterwards).
    bool failed = false;
    // The page the tab shows (or is about to) in place of one that failed to load or whose process
    // ended: it is no visit, has no icon, and the status line keeps saying what failed.
    struct Failure {
        std::string address;
        bool started = false; // its own load has started
    };
    std::optional<Failure> failure;
    // A document has come into the view: after that a load that fails leaves it showing.
    bool hasDocument = false;
    // The load under way was stopped for taking too long.
    bool timedOut = false;
    // The load under way served something to save, which was not taken.
    bool refusedDownload = false;
    // A web address waiting for the blocklist before it loads, and how long it may still wait.
    std::optional<std::string> heldAddress;
    glib::Source heldDeadline;
    // The page began loading before the blocklist was attached: nothing it asked for was refused, and
    // neither the status line nor its report may say otherwise.
    bool unfiltered = false;

    // How many windows and tabs the page may still open this second.
    OpenAllowance opens;
    // When the last print dialog the page asked for closed.
    std::optional<std::chrono::steady_clock::time_point> printClosed;
    // The page's titles on their way to history.
    TitleWrites titles;
    // The page's counts of what was blocked and its hosts, read once a frame however often they come:
    // the newest unread report waits here, and how many were read.
    glib::Throttle blockedReports{std::chrono::milliseconds(16)};
    // The witness's counts, read once a frame however often they come.
    glib::Throttle witnessReports{std::chrono::milliseconds(16)};
    std::int64_t blockedReadings = 0;
    // The window follows the page's address changes (the strip, the field, the margin) once a frame
    // however often they come, and counts how often it did.
    glib::Throttle addressChanges{std::chrono::milliseconds(16)};
    std::int64_t addressFollowings = 0;

    // The request timeout: armed when an address is loaded, disarmed once the page answers.
    void armTimeout(std::chrono::milliseconds delay, std::function<void()> fire);
    void disarmTimeout();

    // Stops the page, lets go of the view's signals and cancels everything still pending for the tab.
    void teardown();

private:
    void connect(TabObserver& observer);

    glib::GRefPtr<WebKitWebView> m_view;
    glib::GRefPtr<GCancellable> m_cancellable;
    glib::GRefPtr<GCancellable> m_pageCancellable;
    std::vector<glib::Connection> m_connections;
    glib::Source m_timeout;
    bool m_tornDown = false;
};

} // namespace nimb
