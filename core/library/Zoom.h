#pragma once

#include "records/SiteZoom.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace nimb {

class Preferences;

// Page zoom, in percent: the ladder Zoom In and Zoom Out climb, and the level each site keeps in the
// preferences, applied whenever a page of the site comes. Levels are kept like history is (only while
// it is remembered) and cleared with it.
namespace Zoom {

inline constexpr std::int64_t actualSize = 100;
inline constexpr std::array<std::int64_t, 14> steps{30,  50,  67,  80,  90,  100, 110,
                                                    120, 133, 150, 170, 200, 240, 300};
// The most sites kept; the site least recently set goes first.
inline constexpr std::size_t limit = 500;

// The next step up or down the ladder from a level; the end of the ladder stays where it is.
[[nodiscard]] std::int64_t larger(std::int64_t percent);
[[nodiscard]] std::int64_t smaller(std::int64_t percent);

// The site an address belongs to, as history names it; none for anything but a web page with a host.
[[nodiscard]] std::optional<std::string> site(std::string_view address);

// The level kept for the address's site; actual size when none is.
[[nodiscard]] std::int64_t level(const Preferences& preferences, std::string_view address);
// Keeps a level for the address's site, most recent first (actual size forgets it). False, and nothing
// written, for an address without a site, a level off the ladder's range, or while history is not
// remembered.
bool remember(Preferences& preferences, std::string_view address, std::int64_t percent);

} // namespace Zoom

} // namespace nimb
