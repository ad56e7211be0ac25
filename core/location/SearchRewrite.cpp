#include "location/SearchRewrite.h"

#include "base/PercentEncoding.h"
#include "base/Text.h"

#include <boost/url/parse.hpp>

namespace nimb::SearchRewrite {

std::optional<Url> webResults(const Url& url) {
    auto parsed = boost::urls::parse_uri_reference(url.string());
    if (!parsed) return std::nullopt;
    boost::urls::url_view view = *parsed;

    std::string scheme = text::asciiLowercased(view.scheme());
    if (scheme != "http" && scheme != "https") return std::nullopt;
    if (!view.has_authority() || view.host().empty() || !isSearchHost(view.host())) return std::nullopt;
    if (view.encoded_path() != "/search") return std::nullopt;

    bool hasQuery = false;
    for (const auto& item : url.queryItems()) {
        std::string name = percentDecoded(item.name).value_or(std::string(item.name));
        if (name == "udm") return std::nullopt;
        if (name == "q") hasQuery = true;
    }
    if (!hasQuery) return std::nullopt;

    // The item goes after the existing ones, before any fragment; nothing else changes.
    const std::string& text = url.string();
    std::size_t fragment = view.has_fragment() ? text.find('#') : std::string::npos;
    std::string rewritten = text.substr(0, fragment) + "&udm=" + std::string(webOnly);
    if (fragment != std::string::npos) rewritten += text.substr(fragment);
    return Url::parse(rewritten);
}

bool isSearchHost(std::string_view host) {
    std::string name = text::asciiLowercased(host);
    if (!name.empty() && name.back() == '.') name.pop_back();
    if (text::startsWith(name, "www.")) name.erase(0, 4);
    constexpr std::string_view label = "google.";
    if (!text::startsWith(name, label)) return false;
    auto pieces = text::split(std::string_view(name).substr(label.size()), '.');
    if (pieces.size() < 1 || pieces.size() > 2) return false;
    for (std::string_view piece : pieces) {
        if (piece.empty()) return false;
        for (char c : piece) {
            if (c < 'a' || c > 'z') return false;
        }
    }
    return true;
}

} // namespace nimb::SearchRewrite
