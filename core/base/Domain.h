#pragma once

// Which host a web address goes to, and which site a host belongs to: the one reading and the one
// rule by which the browser decides what counts as the same site (a site report's own hosts, a third
// party's requests, an icon of the site's own).

#include <string>
#include <string_view>

namespace nimb::Domain {

// The host an http(s) address goes to, lower-cased: without user name, password or port, an IPv6
// literal in its brackets. Empty for any other address, and for one with no host. Read as written,
// without parsing the rest: it serves the engine's requests, a page's address and an icon's alike.
[[nodiscard]] std::string hostOf(std::string_view address);

// The site a host belongs to: its last two labels, or three under a short country code with a
// generic second level ("example.co.uk"); a host of fewer than three labels whole. Lower case.
[[nodiscard]] std::string registrable(std::string_view host);
// The same without allocating where it can: a view of `host` itself, or of `buffer`.
[[nodiscard]] std::string_view registrable(std::string_view host, std::string& buffer);

} // namespace nimb::Domain
