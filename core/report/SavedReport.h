#pragma once

#include "Date.h"

#include <string>

namespace nimb {

// A kept site report: what the page did (the report's snapshot), kept with when and where.
struct SavedReport {
    std::string id;
    Date saved;
    std::string address;
    std::string title;
    bool blockingOn = true;
    std::string snapshot;

    bool operator==(const SavedReport&) const = default;
};

} // namespace nimb
