#include "page/Favicon.h"

#include "base/Text.h"

#include <algorithm>

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

} // namespace

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
