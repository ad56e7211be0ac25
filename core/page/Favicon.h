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

// Why an icon address is not fetched for a page.
enum class Refusal {
    // With content blocking on: the icon is on a listed host (or under a listed path) of another site
    // than the page's, as the rule list's third-party rules would refuse it.
    blocklist,
    // The icon is on a loopback or private-network host and the page is not.
    privateNetwork,
};

// Why `icon` may not be fetched for the page at `page`; none when it may.
[[nodiscard]] std::optional<Refusal> refusal(const Url& page, const Url& icon, bool blocking);

// Whether a host, as written, names this machine or a private network: "localhost" and names under
// it, and IPv4 and IPv6 literals in 0/8, 127/8, 10/8, 172.16/12, 192.168/16, 169.254/16, ::, ::1,
// fc00::/7 and fe80::/10 (an IPv4-mapped IPv6 address by its IPv4 one). Numbers written the ways an
// IPv4 address may be ("127.1", "0x7f.0.0.1", "2130706433") count as the address they name. Names
// are never resolved. `host` may carry the brackets of an IPv6 literal and one trailing dot.
[[nodiscard]] bool isPrivateHost(std::string_view host);

// The declared icon to ask the store for on the page at `page`, and the address the blocklist
// refused: the declared icon when it may be fetched, else none; an address the page declared that
// is no absolute navigable address is passed on as it is (the store ignores it).
struct Screened {
    std::optional<std::string> declared;
    std::optional<std::string> blocked;

    bool operator==(const Screened&) const = default;
};
[[nodiscard]] Screened screened(const Url& page, std::optional<std::string_view> declared, bool blocking);

} // namespace nimb::Favicon
