#pragma once

// The report page: a page's site report as one self-contained document, in the tab (two views, the
// overview and the dossier, chosen by tabs at the top) or in the shield's popover (the panel form). It
// is also the page of a kept report, with a button to keep or forget it. Every function builds text
// and keeps nothing; stored and page-supplied text is escaped, and only vocabulary members that carry
// markup go in as they are.

#include "base/Date.h"
#include "records/NimbReportPageUnavailable.h"
#include "records/NimbReportPageView.h"
#include "records/SavedReport.h"
#include "report/Dossier.h"
#include "report/ReportSize.h"

#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace nimb {

struct NimbReport;

namespace NimbReportPage {

// The whole document. On the panel it is the panel form whatever the view; otherwise the dossier view
// for `View::dossier`, else the overview: the unavailable body when there is a reason, else the full
// reading. `saved` is the kept report being shown (none for the live page); `now` and `timeZone` (an
// IANA name, empty for the system's) date it and decide which expiry dates are still ahead.
[[nodiscard]] std::string html(const NimbReport& report, std::optional<Unavailable> unavailable, bool onPanel,
                               View view, std::string_view query, const std::optional<SavedReport>& saved,
                               Date now, std::string_view timeZone = {});

// The frame: the title, `style` and the body inside the sheet.
[[nodiscard]] std::string document(std::string_view style, std::string_view body);
// The style sheets of the page in the tab (overview and dossier) and of the panel.
[[nodiscard]] const std::string& pageStyle();
[[nodiscard]] const std::string& panelStyle();

// The site a report is about: the registrable domain of its address's host, else the address itself,
// else the words for no page.
[[nodiscard]] std::string site(std::string_view address);

// The query the dossier is searched for: trimmed, and cut to its first 80 characters.
[[nodiscard]] std::string_view searchQuery(std::string_view query);

// The two tabs; both carry the query and the kept report's id, so switching views keeps them.
[[nodiscard]] std::string tabs(View current, std::string_view query, const std::optional<SavedReport>& saved);

// The reading at the top: the title, the site, and with a reach the score over the heat scale; `after`
// goes last inside the header.
[[nodiscard]] std::string head(const NimbReport& report, const std::optional<Dossier::Reach>& reach,
                               std::string_view after);
// The buttons under the reading: keep a live report, or the kept date and Forget; then Saved Reports.
[[nodiscard]] std::string keeping(const std::optional<SavedReport>& saved, Date now,
                                  std::string_view timeZone = {});
// The head without a reading, and why there is none.
[[nodiscard]] std::string unavailableBody(const NimbReport& report, Unavailable why);

// The sections of the full reading, in page order. Each is empty when it has nothing to say.
[[nodiscard]] std::string summary(const NimbReport& report, const Dossier::Reach& reach);
[[nodiscard]] std::string tried(const NimbReport& report, Date now);
[[nodiscard]] std::string parties(const NimbReport& report, const std::optional<SavedReport>& saved);
[[nodiscard]] std::string taken(const NimbReport& report);
[[nodiscard]] std::string stored(const NimbReport& report);
[[nodiscard]] std::string provenance(const NimbReport& report);

// The dossier view (DossierView.cpp)

// Its body: the heading, the search form, the tally, and the companies that match the query by group.
[[nodiscard]] std::string directory(const NimbReport& report, std::string_view query,
                                    const std::optional<SavedReport>& saved);
// Whether every word (lower case) occurs in the company's name, owner, history, group, words, note,
// hosts, files, capabilities or connections.
[[nodiscard]] bool matches(const Dossier::Entry& entry, const std::vector<std::string>& words);
// The search form, submitting to ReportAction::formAction.
[[nodiscard]] std::string find(std::string_view query, const std::optional<SavedReport>& saved);
// The names of the companies the page contacted.
[[nodiscard]] std::set<std::string> named(const NimbReport& report);
// One company's listing.
[[nodiscard]] std::string entry(const Dossier::Entry& entry, bool onThisPage);

} // namespace NimbReportPage

} // namespace nimb
