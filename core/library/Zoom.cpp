#include "library/Zoom.h"

#include "library/History.h"
#include "preferences/Preferences.h"

#include <algorithm>

namespace nimb::Zoom {

std::int64_t larger(std::int64_t percent) {
    auto next = std::upper_bound(steps.begin(), steps.end(), percent);
    return next == steps.end() ? steps.back() : *next;
}

std::int64_t smaller(std::int64_t percent) {
    auto next = std::lower_bound(steps.begin(), steps.end(), percent);
    return next == steps.begin() ? steps.front() : *(next - 1);
}

std::optional<std::string> site(std::string_view address) {
    return History::site(address);
}

std::int64_t level(const Preferences& preferences, std::string_view address) {
    auto name = site(address);
    if (!name) return actualSize;
    for (const SiteZoom& kept : preferences.siteZooms()) {
        if (kept.site == *name) return kept.percent;
    }
    return actualSize;
}

bool remember(Preferences& preferences, std::string_view address, std::int64_t percent) {
    auto name = site(address);
    if (!name || percent < SiteZoom::smallest || percent > SiteZoom::largest ||
        !preferences.rememberHistory())
        return false;
    auto levels = preferences.siteZooms();
    std::erase_if(levels, [&](const SiteZoom& kept) { return kept.site == *name; });
    if (percent != actualSize) levels.insert(levels.begin(), SiteZoom{*name, percent});
    if (levels.size() > limit) levels.resize(limit);
    preferences.setSiteZooms(levels);
    return true;
}

} // namespace nimb::Zoom
