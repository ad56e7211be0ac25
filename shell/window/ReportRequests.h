#pragma once

// The site report of a tab: asking the page for what its recorder saw, drawing the report page from
// it (or from a kept report), keeping it, and the report page's own links.

#include "glib/Connection.h"
#include "records/NimbReportPageUnavailable.h"
#include "records/NimbReportPageView.h"
#include "records/SavedReport.h"
#include "report/NimbReport.h"
#include "report/ReportAction.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace nimb {

class ReportPopover;
class Tab;
class WindowContext;

class ReportRequests {
public:
    using Unavailable = NimbReportPage::Unavailable;
    using Answer = std::function<void(NimbReport, std::optional<Unavailable>)>;

    explicit ReportRequests(WindowContext& context);
    ~ReportRequests();
    ReportRequests(const ReportRequests&) = delete;
    ReportRequests& operator=(const ReportRequests&) = delete;

    // Asks the tab's page for its report; `then` gets the report, or an empty one with the reason
    // there is none. Not called when the tab or window goes first.
    void askThePage(Tab& tab, Answer then);
    // The report page of the tab's page, drawn in the tab.
    void show(Tab& tab);
    void keep(Tab& tab);
    void apply(const ReportAction& action, Tab& tab);
    // The shield's report popover: opened on the current tab's report, or closed when it is open.
    void togglePopover();
    // The report popover of the shield, when it is open.
    void closePopover();
    [[nodiscard]] bool popoverVisible() const;
    // The popover's name in the current language.
    void retitle();
    // The popover, once it has been opened (for the window's tests).
    [[nodiscard]] ReportPopover* popover() const { return m_popover.get(); }
    // The HTML of the report page that took the tab's entry `entry`, in the current language; a page
    // saying there is no report when the tab no longer keeps what it was drawn from.
    [[nodiscard]] std::string draw(Tab& tab, std::uint64_t entry);

private:
    // Completes a report of the tab's page: what blocking did, and what the request witness and the
    // favicon store saw beside the page's own recorder.
    void withWitness(const Tab& tab, NimbReport& report) const;
    // Shows a report page in the tab, in a place of its own or (`inPlace`) where the report page shown
    // stands.
    void render(Tab& tab, const NimbReport& report, std::optional<Unavailable> reason,
                NimbReportPage::View view, const std::string& query, const std::optional<SavedReport>& saved,
                bool inPlace = false);
    // Asks the page, then draws what it answered in the tab.
    void askAndRender(Tab& tab, NimbReportPage::View view, const std::string& query);

    // A link followed in the popover: a report action acts in the current tab, a web address opens
    // in a new tab.
    void openFromPopover(const std::string& address);

    WindowContext& m_context;
    std::unique_ptr<ReportPopover> m_popover; // made on first use
    glib::Connection m_popoverOpens;
};

} // namespace nimb
