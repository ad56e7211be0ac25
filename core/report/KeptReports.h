#pragma once

// Kept site reports: keeping one, finding and forgetting it, and reading it again. A kept report holds
// only what the page did; its score, companies and words are worked out afresh from the snapshot each
// time, against the catalogue as it stands then.

#include "base/Date.h"
#include "records/SavedReport.h"

#include <optional>
#include <string>
#include <string_view>

namespace nimb {

class Preferences;
struct NimbReport;
namespace Dossier {
struct Reach;
}

namespace KeptReports {

// The report rebuilt from the snapshot, with the kept address, title and blocking flag.
[[nodiscard]] NimbReport report(const SavedReport& saved);
// The reading of that report.
[[nodiscard]] Dossier::Reach reach(const SavedReport& saved);
// The site the report is about, as the list and the report page name it.
[[nodiscard]] std::string site(const SavedReport& saved);

// Keeps the report's snapshot as the newest kept report (older ones beyond the limit fall off).
SavedReport keep(Preferences& preferences, const NimbReport& report, Date at);
[[nodiscard]] std::optional<SavedReport> find(const Preferences& preferences, std::string_view id);
// Forgets the first kept report with the identifier; none, and nothing written, when there is none.
std::optional<SavedReport> forget(Preferences& preferences, std::string_view id);

} // namespace KeptReports

} // namespace nimb
