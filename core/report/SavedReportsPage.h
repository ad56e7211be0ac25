#pragma once

// The kept-reports page: every kept report, newest first, each scored afresh against the catalogue as
// it stands, with a button to forget it.

#include "base/Date.h"
#include "records/SavedReport.h"

#include <string>
#include <string_view>
#include <vector>

namespace nimb::SavedReportsPage {

// The whole document for the kept reports, in their order. `timeZone` is an IANA zone name for the
// dates (empty: the system's).
[[nodiscard]] std::string html(const std::vector<SavedReport>& reports, Date now,
                               std::string_view timeZone = {});

// One kept report's row: its score in its colour, its site and headline, when it was kept, Forget.
[[nodiscard]] std::string row(const SavedReport& report, Date now, std::string_view timeZone = {});

} // namespace nimb::SavedReportsPage
