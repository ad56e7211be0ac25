#pragma once

#include "Date.h"

#include <cstdint>
#include <string>

namespace nimb {

// One remembered page: where, what it was called, when last, and how often.
struct Visit {
    std::string address;
    std::string title;
    Date last;
    std::int64_t visits = 1;

    bool operator==(const Visit&) const = default;
};

} // namespace nimb
