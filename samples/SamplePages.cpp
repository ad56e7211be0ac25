#include "SamplePages.h"

#include "SampleRecords.h"
#include "pages/BookmarksPage.h"
#include "pages/FailedPage.h"
#include "pages/HistoryPage.h"
#include "pages/HomePage.h"
#include "pages/MarginaliaPage.h"
#include "report/KeptReports.h"
#include "report/NimbReportPage.h"
#include "report/SavedReportsPage.h"

#include <optional>
#include <utility>

namespace nimb::samples {

namespace {

using NimbReportPage::Unavailable;
using NimbReportPage::View;

constexpr int marginWidth = 320;
constexpr int popoverWidth = 380;

std::string report(const NimbReport& record, std::optional<Unavailable> why, View view = View::overview,
                   std::string query = {}, const std::optional<SavedReport>& saved = std::nullopt) {
    return NimbReportPage::html(record, why, false, view, query, saved, now, timeZone);
}

std::string panel(const NimbReport& record, std::optional<Unavailable> why) {
    return NimbReportPage::html(record, why, true, View::overview, "", std::nullopt, now, timeZone);
}

std::string margin(const std::vector<Note>& notes, const std::vector<Bookmark>& bookmarks,
                   const std::optional<std::string>& here) {
    return MarginaliaPage::html(Marginalia::shelves(notes, bookmarks, here), here, now, timeZone);
}

NimbReport localPage() {
    return NimbReport::parse("", "about:home", "The NIMB 2000");
}

} // namespace

std::vector<SamplePage> pages() {
    const SavedReport keptReport = savedReports().front();
    const SavedReport unreadable = savedReports().back();
    return {
        {"home-full", 0, [] { return HomePage::html(visits()); }},
        {"home-empty", 0, [] { return HomePage::html({}); }},
        {"history-full", 0, [] { return HistoryPage::html(visits(), now, timeZone); }},
        {"history-empty", 0, [] { return HistoryPage::html({}, now, timeZone); }},
        {"bookmarks-full", 0,
         [] { return BookmarksPage::html(bookmarks(), visits(), notes(), now, timeZone); }},
        {"bookmarks-empty", 0, [] { return BookmarksPage::html({}, {}, {}, now, timeZone); }},
        {"margin-all", marginWidth, [] { return margin(notes(), bookmarks(), std::nullopt); }},
        {"margin-here", marginWidth, [] { return margin(notes(), bookmarks(), marginHere()); }},
        {"margin-here-empty", marginWidth,
         [] { return margin(notes(), bookmarks(), bookmarks().at(2).address); }},
        {"margin-empty", marginWidth, [] { return margin({}, {}, std::nullopt); }},
        {"report-full", 0, [] { return report(fullReport(), std::nullopt); }},
        {"report-quiet", 0, [] { return report(quietReport(), std::nullopt); }},
        {"report-unblocked", 0, [] { return report(unblockedReport(), std::nullopt); }},
        {"report-recording-off", 0, [] { return report(unrecordedReport(), Unavailable::recordingOff); }},
        {"report-scripting-off", 0, [] { return report(unrecordedReport(), Unavailable::scriptingOff); }},
        {"report-local-page", 0, [] { return report(localPage(), Unavailable::localPage); }},
        {"report-not-recorded", 0, [] { return report(unrecordedReport(), Unavailable::notRecorded); }},
        {"report-kept", 0,
         [keptReport] {
             return report(KeptReports::report(keptReport), std::nullopt, View::overview, "", keptReport);
         }},
        {"report-kept-unreadable", 0,
         [unreadable] {
             return report(KeptReports::report(unreadable), std::nullopt, View::overview, "", unreadable);
         }},
        {"report-dossier", 0, [] { return report(fullReport(), std::nullopt, View::dossier); }},
        {"report-dossier-searched", 0,
         [] { return report(fullReport(), std::nullopt, View::dossier, "google"); }},
        {"report-dossier-nothing", 0,
         [] { return report(fullReport(), std::nullopt, View::dossier, "adobe measured"); }},
        {"report-dossier-kept", 0,
         [keptReport] {
             return report(KeptReports::report(keptReport), std::nullopt, View::dossier, "adobe counted",
                           keptReport);
         }},
        {"panel-full", popoverWidth, [] { return panel(fullReport(), std::nullopt); }},
        {"panel-quiet", popoverWidth, [] { return panel(quietReport(), std::nullopt); }},
        {"panel-unavailable", popoverWidth,
         [] { return panel(unrecordedReport(), Unavailable::notRecorded); }},
        {"kept-reports", 0, [] { return SavedReportsPage::html(savedReports(), now, timeZone); }},
        {"kept-reports-empty", 0, [] { return SavedReportsPage::html({}, now, timeZone); }},
        {"failed-load", 0,
         [] {
             return FailedPage::html(
                 FailedPage::Why::loadFailed,
                 "https://unreachable.example/a/rather/long/path/to/the/article?edition=1",
                 "Could not connect: Connection refused");
         }},
        {"failed-process", 0,
         [] {
             return FailedPage::html(FailedPage::Why::processEnded, "http://www.example.com/",
                                     words().processEnded());
         }},
    };
}

std::vector<SamplePage> hostilePages() {
    const SavedReport keptReport = hostileSavedReports().front();
    return {
        {"hostile-home", 0, [] { return HomePage::html(hostileVisits()); }},
        {"hostile-history", 0, [] { return HistoryPage::html(hostileVisits(), now, timeZone); }},
        {"hostile-bookmarks", 0,
         [] {
             return BookmarksPage::html(hostileBookmarks(), hostileVisits(), hostileNotes(), now, timeZone);
         }},
        {"hostile-margin-all", marginWidth,
         [] { return margin(hostileNotes(), hostileBookmarks(), std::nullopt); }},
        {"hostile-margin-here", marginWidth,
         [] { return margin(hostileNotes(), hostileBookmarks(), std::string(hostileAddress)); }},
        {"hostile-report", 0, [] { return report(hostileReport(), std::nullopt); }},
        {"hostile-report-unavailable", 0, [] { return report(hostileReport(), Unavailable::localPage); }},
        {"hostile-report-dossier", 0,
         [keptReport] {
             return report(hostileReport(), std::nullopt, View::dossier, hostileText, keptReport);
         }},
        {"hostile-report-kept", 0,
         [keptReport] {
             return report(KeptReports::report(keptReport), std::nullopt, View::overview, hostileText,
                           keptReport);
         }},
        {"hostile-panel", popoverWidth, [] { return panel(hostileReport(), std::nullopt); }},
        {"hostile-kept-reports", 0,
         [] { return SavedReportsPage::html(hostileSavedReports(), now, timeZone); }},
    };
}

std::string render(const SamplePage& page, Language language) {
    struct Restore {
        Language before = currentLanguage();
        ~Restore() { setCurrentLanguage(before); }
    } restore;
    setCurrentLanguage(language);
    return page.render();
}

std::string render(const std::string& name, Language language) {
    for (const auto& list : {pages(), hostilePages()}) {
        for (const auto& page : list)
            if (page.name == name) return render(page, language);
    }
    return {};
}

} // namespace nimb::samples
