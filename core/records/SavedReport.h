#pragma once

#include "base/Date.h"

#include <cstddef>
#include <string>

namespace nimb {

// A kept site report: what the page did (the report's snapshot), kept with when and where. Its score,
// companies and words are never stored; they are worked out afresh from the snapshot every time the
// report is shown, against the catalogue as it stands then (KeptReports).
struct SavedReport {
    std::string id; // a random UUID, upper case
    Date saved;
    std::string address;
    std::string title;
    bool blockingOn = true;
    std::string snapshot;

    // How many kept reports the store holds; older ones fall off when a newer one is kept.
    static constexpr std::size_t limit = 200;

    bool operator==(const SavedReport&) const = default;
};

} // namespace nimb
