#include "SearchRewrite.h"

#include "Text.h"

#include <boost/url/parse.hpp>
#include <boost/url/url.hpp>

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
    for (auto param : view.params()) {
        if (param.key == "udm") return std::nullopt;
        if (param.key == "q") hasQuery = true;
    }
    if (!hasQuery) return std::nullopt;

    boost::urls::url rewritten(view);
    rewritten.params().append({"udm", webOnly});
    return Url::parse(rewritten.buffer());
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
