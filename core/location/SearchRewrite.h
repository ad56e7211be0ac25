#pragma once

#include "base/Url.h"

#include <optional>
#include <string_view>

namespace nimb::SearchRewrite {

// Google's results mode for plain web links.
inline constexpr std::string_view webOnly = "14";

// The links-only form of a Google results address: the same address with udm=14 appended. None when
// the address is not a Google results address, has no q, or already names a results mode.
[[nodiscard]] std::optional<Url> webResults(const Url& url);

// Whether `host` is a Google web-search host: google.<tld> or google.<label>.<tld>, with an
// optional leading "www." and trailing ".".
[[nodiscard]] bool isSearchHost(std::string_view host);

} // namespace nimb::SearchRewrite
