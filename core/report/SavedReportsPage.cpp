#include "report/SavedReportsPage.h"

#include "pages/HistoryPage.h"
#include "pages/PageFrame.h"
#include "report/Dossier.h"
#include "report/DossierVocabulary.h"
#include "report/KeptReports.h"
#include "report/NimbReport.h"
#include "report/NimbReportPage.h"
#include "report/ReportAction.h"
#include "vocabulary/Language.h"

namespace nimb::SavedReportsPage {

using BookmarksPage::appendEscaped;

namespace {

std::string rowWith(const SavedReport& report, const HistoryPage::WhenFormatter& when) {
    Dossier::Reach reach = KeptReports::reach(report);
    std::string out = "    <li>\n      <a class=\"row\" href=\"";
    appendEscaped(out, ReportAction::show(NimbReportPage::View::overview, "", report.id).href());
    out += "\">\n        <span class=\"num\" style=\"color:";
    out += Dossier::colour(reach.heat());
    out += "\">";
    out += std::to_string(reach.score());
    out += "</span>\n        <span class=\"who\">\n          <span class=\"site\">";
    appendEscaped(out, KeptReports::site(report));
    out += "</span>\n          <span class=\"said\">";
    appendEscaped(out, dossierWords().headline(reach));
    out += "</span>\n        </span>\n      </a>\n      <span class=\"when\">";
    appendEscaped(out, when(report.saved));
    out += "</span>\n      <span class=\"acts\"><a class=\"btn gone\" href=\"";
    appendEscaped(out, ReportAction::forget(report.id).href());
    out += "\">";
    appendEscaped(out, words().forget());
    out += "</a></span>\n    </li>";
    return out;
}

} // namespace

std::string row(const SavedReport& report, Date now, std::string_view timeZone) {
    return rowWith(report, HistoryPage::WhenFormatter(now, timeZone));
}

std::string html(const std::vector<SavedReport>& reports, Date now, std::string_view timeZone) {
    const HistoryPage::WhenFormatter when(now, timeZone);
    std::string rows;
    for (const SavedReport& report : reports) {
        if (!rows.empty()) rows += '\n';
        rows += rowWith(report, when);
    }
    if (reports.empty()) {
        rows = "    <li class=\"none\">";
        appendEscaped(rows, words().nothingKept());
        rows += "</li>";
    }

    std::string body = "\n<div class=\"sheet\">\n  <h1>";
    appendEscaped(body, words().savedReports());
    body += "</h1>\n  <p class=\"tally\">";
    appendEscaped(body, words().savedReportCount(static_cast<std::int64_t>(reports.size())));
    body += "</p>\n  <ol>\n";
    body += rows;
    body += "\n  </ol>\n  <div class=\"note\">";
    appendEscaped(body, words().savedReportsNote());
    body += "</div>\n</div>\n</body></html>";
    return PageFrame::document(words().savedReports(), PageStyles::savedReports, body);
}

} // namespace nimb::SavedReportsPage
