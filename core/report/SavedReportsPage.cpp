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

std::string buildRules() {
    const std::string sans(Typeface::sans);
    return "; font-size:15px; margin:0; padding:40px 34px 80px 34px; }\n"
           "  .sheet { max-width:720px; margin:0 auto; }\n"
           "  h1 { font-family:" +
           sans +
           "; font-size:46px; font-weight:400; letter-spacing:-1px; text-align:center; margin:0; }\n"
           "  .tally { text-align:center; font-size:12px; color:#8e8e93; margin:14px 0 52px;"
           " font-variant-numeric:tabular-nums; }\n"
           "  ol { list-style:none; margin:0; padding:0; }\n"
           "  li { display:flex; flex-wrap:wrap; align-items:center; gap:22px; padding-bottom:22px;"
           " margin-bottom:22px; border-bottom:1px solid #1f1f21; }\n"
           "  li:last-child { border-bottom:none; margin-bottom:0; }\n"
           "  a.row, a.row:visited { flex:1 1 300px; min-width:0; display:flex; align-items:baseline; "
           "gap:20px;"
           " text-decoration:none; color:#e9e9eb; }\n"
           "  a.row:hover .site { text-decoration:underline; }\n"
           "  .num { flex:none; width:88px; text-align:right; font-size:44px; font-weight:500;"
           " letter-spacing:-2px; line-height:1; font-variant-numeric:tabular-nums; }\n"
           "  .who { flex:1; min-width:0; }\n"
           "  .site { display:block; font-size:22px; font-weight:500; letter-spacing:-0.4px;"
           " overflow-wrap:anywhere; }\n"
           "  .said { display:block; font-size:13px; color:#8e8e93; margin-top:4px; line-height:1.5; }\n"
           "  .when { flex:none; margin-left:auto; font-size:12px; color:#8e8e93; white-space:nowrap; "
           "text-align:right;"
           " font-variant-numeric:tabular-nums; }\n"
           "  .acts { flex:none; }\n"
           "  .btn, .btn:visited { display:inline-block; padding:6px 12px; font-size:12px; color:#e9e9eb;"
           " background:#1f1f21; border:1px solid #3a3a3c; border-radius:6px; text-decoration:none; }\n"
           "  .btn:hover { background:#3a3a3c; }\n"
           "  .btn.gone:hover { text-decoration:line-through; }\n"
           // A narrow window puts the date and Forget under the report rather than squeezing it.
           "  @media (max-width:640px) {\n"
           "    a.row, a.row:visited { flex-basis:100%; }\n"
           "  }\n"
           "  li.none { display:block; color:#8e8e93; font-size:17px; line-height:1.6; text-align:center;"
           " border-bottom:none; }\n"
           "  .note { margin-top:64px; font-size:12px; color:#8e8e93; border-top:1px solid #1f1f21;"
           " padding-top:20px; line-height:1.7; }\n";
}

const std::string& rules() {
    static const std::string all = buildRules();
    return all;
}

} // namespace

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
    return PageFrame::document(words().savedReports(), rules(), body);
}

} // namespace nimb::SavedReportsPage
