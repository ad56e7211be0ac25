#pragma once

// Records a real user might have after a few weeks of browsing, for the page renderer, the real-engine
// tests and the benchmarks: history, bookmarks with summaries and margin notes, site reports of every
// shape, and kept reports. Everything is fixed data around one moment, `now`, so that pictures and
// tests come out the same on every run.

#include "base/Date.h"
#include "library/Bookmarks.h"
#include "library/History.h"
#include "library/Marginalia.h"
#include "records/SavedReport.h"
#include "report/NimbReport.h"

#include <cstddef>
#include <string>
#include <vector>

namespace nimb::samples {

// Saturday 14 March 2026, 16:20 UTC: the moment every sample is seen from.
inline constexpr Date now{1773505200.0};

// About forty visits, newest first: repeat visits, a page with no title, a file and a non-web address,
// a very long address and title, and titles in the four languages.
[[nodiscard]] std::vector<Visit> visits();
// `count` visits of distinct pages over many hosts, newest first (for timing long lists).
[[nodiscard]] std::vector<Visit> manyVisits(std::size_t count);

// Seven bookmarks in the order they were filed: on and off the toolbar, with and without summaries
// (one of several paragraphs), one never opened, one not on the web, one with a very long address.
[[nodiscard]] std::vector<Bookmark> bookmarks();
// Notes in the order they were taken, filed under `bookmarks()`; some taken on other pages of the
// bookmarked site, one of several paragraphs.
[[nodiscard]] std::vector<Note> notes();
// `count` bookmarks and `notes` notes spread over them (for timing long pages).
[[nodiscard]] std::vector<Bookmark> manyBookmarks(std::size_t count);
[[nodiscard]] std::vector<Note> manyNotes(const std::vector<Bookmark>& bookmarks, std::size_t count);

// The address whose margin has several shelves on its site (the `here` of a pinned margin).
[[nodiscard]] std::string marginHere();

// A news article's report with every section present: companies in every group of the dossier
// (several hosts of one company, a dead tag, an unidentified host, the site's own other hosts),
// elements taken off the page for each reason, storage with findings of most kinds, more keys than
// listed, session keys and databases.
[[nodiscard]] NimbReport fullReport();
// A page that kept to itself: nothing blocked, no third party, a wall taken off all the same.
[[nodiscard]] NimbReport quietReport();
// The same news article read with blocking off.
[[nodiscard]] NimbReport unblockedReport();
// A page the recorder did not answer for.
[[nodiscard]] NimbReport unrecordedReport();
// A report as large as a page can make one: every list at its limit.
[[nodiscard]] NimbReport largestReport();

// Kept reports, newest first: the full report, the quiet page, the unblocked reading and one whose
// snapshot no longer reads.
[[nodiscard]] std::vector<SavedReport> savedReports();
// `count` kept reports of the full report, newest first (for timing the list).
[[nodiscard]] std::vector<SavedReport> manySavedReports(std::size_t count);

// Text that would break a page that forgot to escape it: markup, both quotes, an ampersand, a script
// element and an event handler.
inline constexpr const char* hostileText =
    "<script>alert(1)</script>\"><img src=x onerror=alert(2)> & 'quoted' </style><b>";
// An address that runs script when followed.
inline constexpr const char* hostileAddress = "javascript:alert(document.cookie)//\"'<>&";

// The same kinds of records with every text field hostile.
[[nodiscard]] std::vector<Visit> hostileVisits();
[[nodiscard]] std::vector<Bookmark> hostileBookmarks();
[[nodiscard]] std::vector<Note> hostileNotes();
[[nodiscard]] NimbReport hostileReport();
[[nodiscard]] std::vector<SavedReport> hostileSavedReports();

} // namespace nimb::samples
