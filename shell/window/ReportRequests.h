#pragma once

// The site report of a tab: asking the page for what its recorder saw, drawing the report page from
// it (or from a kept report), keeping it, and the report page's own links.

#include "records/NimbReportPageUnavailable.h"
#include "records/NimbReportPageView.h"
#include "records/SavedReport.h"
#include "report/NimbReport.h"
#include "report/ReportAction.h"

#include <functional>
#include <optional>
#include <string>

namespace nimb {

class Tab;
class WindowContext;

class ReportRequests {
public:
    using Unavailable = NimbReportPage::Unavailable;
    using Answer = std::function<void(NimbReport, std::optional<Unavailable>)>;

    explicit ReportRequests(WindowContext& context) : m_context(context) {}

    // Asks the tab's page for its report; `then` gets the report, or an empty one with the reason
    // there is none. Not called when the tab or window goes first.
    void askThePage(Tab& tab, Answer then);
    // The report page of the tab's page, drawn in the tab.
    void show(Tab& tab);
    void keep(Tab& tab);
    void apply(const ReportAction& action, Tab& tab);
    // The report popover of the shield, when it is open.
    void closePopover();
    // The shield's click: the current tab's report popover opened, or closed when it is open.
    void togglePopover();
    // The tab's report page drawn again in the current language, from what it was drawn from.
    void redraw(Tab& tab);

private:
    void render(Tab& tab, const NimbReport& report, std::optional<Unavailable> reason,
                NimbReportPage::View view, const std::string& query, const std::optional<SavedReport>& saved);
    // Asks the page, then draws what it answered in the tab.
    void askAndRender(Tab& tab, NimbReportPage::View view, const std::string& query);

    WindowContext& m_context;
};

} // namespace nimb
