#pragma once

// One tab of a browser window: its web view and what the window knows about the page in it. The
// window owns its tabs; everything asynchronous that concerns a tab holds it weakly and is cancelled
// through the tab's cancellable when the tab goes.

#include "glib/GRefPtr.h"
#include "records/NimbReportPageUnavailable.h"
#include "records/NimbReportPageView.h"
#include "report/NimbReport.h"

#include <webkit/webkit.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace nimb {

class Tab {
public:
    // Takes a reference of its own on the view.
    explicit Tab(WebKitWebView* view);
    ~Tab();
    Tab(const Tab&) = delete;
    Tab& operator=(const Tab&) = delete;

    [[nodiscard]] WebKitWebView* view() const { return m_view.get(); }
    // Cancelled when the tab is torn down.
    [[nodiscard]] GCancellable* cancellable() const { return m_cancellable.get(); }
    [[nodiscard]] bool tornDown() const { return m_tornDown; }

    // The internal address of the generated page shown, else the view's address, else none.
    [[nodiscard]] std::optional<std::string> address() const;
    // The view's address as the engine reports it; none before anything was loaded.
    [[nodiscard]] std::optional<std::string> viewAddress() const;
    // The view's title; none when it has none or shows a generated page.
    [[nodiscard]] std::optional<std::string> pageTitle() const;

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

    std::optional<std::string> localPage;
    std::optional<Reported> reported;
    std::optional<ReportPage> reportPage;
    std::optional<std::string> status;
    std::optional<std::string> declaredIcon;
    std::int64_t walls = 0;
    std::int64_t network = 0;
    std::vector<std::string> hosts;
    double heat = 0;
    double progress = 0;

    // Whether the load under way comes from the browser's own HTML, and whether the document now
    // committed in the view did: only such a document may ask for internal actions.
    bool pendingGenerated = false;
    bool documentIsGenerated = false;
    // The load under way failed (the engine still reports it finished afterwards).
    bool failed = false;
    // The load under way was stopped for taking too long.
    bool timedOut = false;

    // The request timeout: armed when an address is loaded, disarmed once the page answers.
    void armTimeout(guint milliseconds, std::function<void()> fire);
    void disarmTimeout();

    // Stops the page and cancels everything still pending for the tab. The window has already
    // disconnected its signal handlers from the view.
    void teardown();

private:
    glib::GRefPtr<WebKitWebView> m_view;
    glib::GRefPtr<GCancellable> m_cancellable;
    guint m_timeout = 0;
    bool m_tornDown = false;
};

} // namespace nimb
