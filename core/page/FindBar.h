#pragma once

// The small pure pieces of find in page: what counts as a query, how stepping wraps, and the tally
// the bar shows.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace nimb::FindBar {

// The text trimmed of white space and line breaks; none when nothing is left.
[[nodiscard]] std::optional<std::string> query(std::string_view text);

// The match `step` places on from `index` (counting from 1) among `count`, wrapping at both ends;
// 0 when there are no matches.
[[nodiscard]] std::int64_t step(std::int64_t index, std::int64_t step, std::int64_t count);

// "3 of 12" in the current language; "No matches" when count < 1; empty when not searching.
[[nodiscard]] std::string tally(std::int64_t index, std::int64_t count, bool searching);

} // namespace nimb::FindBar
