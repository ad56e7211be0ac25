#pragma once

// Which icon a page has: the key the favicon store keeps it under, and the addresses to try for it.

#include "base/Url.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nimb::Favicon {

// The schemes whose pages can have icons.
inline constexpr std::array<std::string_view, 2> navigable = {"http", "https"};

// The cache key of an address: its host lower-cased, then ":" and the port when the address names
// one. None for no address, one that does not parse as an absolute address with a host, or one whose
// scheme is not navigable.
[[nodiscard]] std::optional<std::string> key(std::optional<std::string_view> address);

// The icon addresses to try for a page, at most two, in order: the icon the page declared, when it
// is an absolute navigable address, then the site's conventional /favicon.ico unless it is the same.
// Empty when there is nothing to fetch.
[[nodiscard]] std::vector<Url> candidates(const std::optional<Url>& pageUrl,
                                          std::optional<std::string_view> declared);

} // namespace nimb::Favicon
