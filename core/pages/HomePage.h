#pragma once

// The start page: the sites visited most recently, the pages gone back to most often, and the start
// pages of the search engines.

#include "library/History.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace nimb::HomePage {

// The most rows a history column shows.
inline constexpr std::int64_t column = 12;

// The whole document for the stored visits.
[[nodiscard]] std::string html(const std::vector<Visit>& visits);

// The first `limit` sites of the history, newest first.
[[nodiscard]] std::vector<Site> recent(const std::vector<Visit>& visits, std::int64_t limit);
// The pages opened twice or more: most visits first, then the more recent; at most `limit`.
[[nodiscard]] std::vector<Visit> frequent(const std::vector<Visit>& visits, std::int64_t limit);
// (name, start page) of every search engine that has a start page, in menu order.
[[nodiscard]] std::vector<std::pair<std::string, std::string>> engines();

} // namespace nimb::HomePage
