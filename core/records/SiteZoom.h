#pragma once

#include <cstdint>
#include <string>

namespace nimb {

// The page zoom a site keeps, in percent of actual size; the site is named as history folds visits
// (History::site). Only levels other than actual size are kept.
struct SiteZoom {
    std::string site;
    std::int64_t percent = 100;

    // The levels a site may keep; a stored level outside them is not read.
    static constexpr std::int64_t smallest = 30;
    static constexpr std::int64_t largest = 300;

    bool operator==(const SiteZoom&) const = default;
};

} // namespace nimb
