#pragma once

// The margin: the notes of one home address (and the other shelves of its site), or of every home,
// as the side panel shows them.

#include "base/Date.h"
#include "library/Marginalia.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nimb::MarginaliaPage {

// The whole document for shelves made by Marginalia::shelves with the same `here`. `timeZone` as
// for HistoryPage::when (empty: the system's).
[[nodiscard]] std::string html(const std::vector<Shelf>& shelves, const std::optional<std::string>& here,
                               Date now, std::string_view timeZone = {});

} // namespace nimb::MarginaliaPage
