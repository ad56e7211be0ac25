#include "page/Favicon.h"

#include "base/Domain.h"
#include "base/Text.h"
#include "blocker/ContentBlocker.h"
#include "report/Evidence.h"

#include <boost/url/ipv6_address.hpp>

#include <algorithm>
#include <cstdint>

namespace nimb::Favicon {

namespace {

bool isNavigable(std::string_view scheme) {
    std::string lower = text::asciiLowercased(scheme);
    return std::find(navigable.begin(), navigable.end(), lower) != navigable.end();
}

// The port an address names, in decimal without leading zeros; none when it names none.
std::optional<std::string> namedPort(const boost::urls::url_view& url) {
    if (!url.has_port() || url.port().empty()) return std::nullopt;
    std::string digits(url.port());
    std::size_t first = digits.find_first_not_of('0');
    return first == std::string::npos ? std::string("0") : digits.substr(first);
}

// One part of an IPv4 address as the URL standard reads it: "0x" and hex digits, a leading "0" and
// octal digits, or decimal digits. None when it is not a number or is past any part's range.
std::optional<std::uint64_t> ipv4Part(std::string_view part) {
    unsigned base = 10;
    if (part.size() >= 2 && part[0] == '0' && (part[1] == 'x' || part[1] == 'X')) {
        base = 16;
        part.remove_prefix(2);
        if (part.empty()) return 0;
    } else if (part.size() >= 2 && part[0] == '0') {
        base = 8;
        part.remove_prefix(1);
    }
    if (part.empty()) return std::nullopt;
    std::uint64_t value = 0;
    for (char c : part) {
        unsigned digit;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (c >= 'a' && c <= 'f')
            digit = static_cast<unsigned>(c - 'a' + 10);
        else
            return std::nullopt;
        if (digit >= base) return std::nullopt;
        value = value * base + digit;
        if (value > 0xFFFFFFFFULL) return std::nullopt;
    }
    return value;
}

// The IPv4 address a lower-case host names, the URL standard's way ("127.1", "0x7f000001"); none for
// a name.
std::optional<std::uint32_t> ipv4Address(std::string_view host) {
    std::vector<std::uint64_t> parts;
    while (true) {
        auto dot = host.find('.');
        auto value = ipv4Part(host.substr(0, dot));
        if (!value) return std::nullopt;
        parts.push_back(*value);
        if (dot == std::string_view::npos) break;
        host.remove_prefix(dot + 1);
    }
    if (parts.empty() || parts.size() > 4) return std::nullopt;
    std::uint64_t address = 0;
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        if (parts[i] > 255) return std::nullopt;
        address |= parts[i] << (8 * (3 - i));
    }
    if (parts.back() >= (1ULL << (8 * (5 - parts.size())))) return std::nullopt;
    return static_cast<std::uint32_t>(address + parts.back());
}

bool isPrivateIpv4(std::uint32_t address) {
    auto in = [address](std::uint32_t network, int bits) {
        return (address >> (32 - bits)) == (network >> (32 - bits));
    };
    return in(0x00000000, 8) || in(0x7F000000, 8) || in(0x0A000000, 8) || in(0xAC100000, 12) ||
           in(0xC0A80000, 16) || in(0xA9FE0000, 16);
}

bool isPrivateIpv6(std::string_view literal) {
    // A zone ("fe80::1%eth0", "%25" in an address) names an interface of this machine's link.
    if (auto zone = literal.find('%'); zone != std::string_view::npos) return true;
    auto parsed = boost::urls::parse_ipv6_address(literal);
    if (!parsed) return false;
    auto bytes = parsed->to_bytes();
    if (parsed->is_v4_mapped()) {
        return isPrivateIpv4(static_cast<std::uint32_t>(bytes[12]) << 24 |
                             static_cast<std::uint32_t>(bytes[13]) << 16 |
                             static_cast<std::uint32_t>(bytes[14]) << 8 | bytes[15]);
    }
    bool zeroUpToLast = std::all_of(bytes.begin(), bytes.end() - 1, [](unsigned char b) { return b == 0; });
    if (zeroUpToLast && bytes[15] <= 1) return true;      // :: and ::1
    if ((bytes[0] & 0xFE) == 0xFC) return true;           // fc00::/7
    return bytes[0] == 0xFE && (bytes[1] & 0xC0) == 0x80; // fe80::/10
}

} // namespace

bool isPrivateHost(std::string_view host) {
    std::string lower = text::asciiLowercased(host);
    std::string_view name = lower;
    if (name.size() >= 2 && name.front() == '[' && name.back() == ']')
        return isPrivateIpv6(name.substr(1, name.size() - 2));
    if (name.ends_with('.')) name.remove_suffix(1);
    if (name.empty()) return false;
    if (name == "localhost" || name.ends_with(".localhost")) return true;
    if (name.find(':') != std::string_view::npos) return isPrivateIpv6(name);
    auto address = ipv4Address(name);
    return address && isPrivateIpv4(*address);
}

std::optional<Refusal> refusal(const Url& page, const Url& icon, bool blocking) {
    std::string pageHost = Domain::hostOf(page.string());
    std::string iconHost = Domain::hostOf(icon.string());
    if (isPrivateHost(iconHost) && !isPrivateHost(pageHost)) return Refusal::privateNetwork;
    if (!blocking || iconHost.empty()) return std::nullopt;
    std::string_view bare = iconHost;
    if (bare.ends_with('.')) bare.remove_suffix(1);
    bool listed = ContentBlocker::categoryForHost(bare) || ContentBlocker::categoryForUrl(icon.string());
    if (!listed) return std::nullopt;
    // The rule list refuses listed hosts only as third parties: a site's icon from its own domain is
    // its own.
    std::string_view pageBare = pageHost;
    if (pageBare.ends_with('.')) pageBare.remove_suffix(1);
    if (!pageBare.empty() && Domain::registrable(pageBare) == Domain::registrable(bare)) return std::nullopt;
    return Refusal::blocklist;
}

Screened screened(const Url& page, std::optional<std::string_view> declared, bool blocking) {
    if (!declared) return {};
    auto own = candidates(std::nullopt, declared);
    if (own.empty()) return {std::string(*declared), std::nullopt};
    auto refused = refusal(page, own.front(), blocking);
    if (!refused) return {std::string(*declared), std::nullopt};
    if (*refused == Refusal::blocklist) return {std::nullopt, own.front().string()};
    return {};
}

std::optional<std::string> key(std::optional<std::string_view> address) {
    if (!address) return std::nullopt;
    std::string_view trimmed = text::trimmed(*address);
    if (trimmed.empty()) return std::nullopt;
    auto url = Url::parse(trimmed);
    if (!url) return std::nullopt;
    auto view = url->view();
    if (!view.has_scheme() || !view.has_authority()) return std::nullopt;
    std::string host = text::lowercased(view.host());
    if (host.empty()) return std::nullopt;
    if (!isNavigable(view.scheme())) return std::nullopt;
    if (auto port = namedPort(view)) host += ":" + *port;
    return host;
}

std::vector<Url> candidates(const std::optional<Url>& pageUrl, std::optional<std::string_view> declared) {
    std::vector<Url> found;
    if (declared) {
        std::string_view trimmed = text::trimmed(*declared);
        if (!trimmed.empty()) {
            auto icon = Url::parse(trimmed);
            if (icon && icon->view().has_scheme() && isNavigable(icon->view().scheme()))
                found.push_back(*icon);
        }
    }
    if (pageUrl) {
        auto view = pageUrl->view();
        if (view.has_scheme() && view.has_authority() && !view.encoded_host().empty() &&
            isNavigable(view.scheme())) {
            std::string address = text::asciiLowercased(view.scheme()) + "://";
            address += std::string_view(view.encoded_host());
            if (auto port = namedPort(view)) address += ":" + *port;
            address += "/favicon.ico";
            auto conventional = Url::parse(address);
            if (conventional && (found.empty() || found.front() != *conventional))
                found.push_back(*conventional);
        }
    }
    return found;
}

} // namespace nimb::Favicon
