#include "base/Url.h"

#include <boost/url/parse.hpp>

namespace nimb {

namespace {

bool isHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Characters RFC 3986 allows somewhere in a URI: unreserved, reserved and "%".
bool isUriCharacter(char c) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
    return std::string_view("-._~:/?#[]@!$&'()*+,;=%").find(c) != std::string_view::npos;
}

void encode(std::string& out, char c) {
    static constexpr char hex[] = "0123456789ABCDEF";
    auto byte = static_cast<unsigned char>(c);
    out += '%';
    out += hex[byte >> 4];
    out += hex[byte & 0xF];
}

} // namespace

std::optional<Url> Url::parse(std::string_view text) {
    if (text.empty()) return std::nullopt;

    // Brackets belong only around an IP literal in the authority; elsewhere they are encoded.
    std::size_t authorityEnd = 0;
    if (auto scheme = text.find("://"); scheme != std::string_view::npos) {
        std::size_t start = scheme + 3;
        authorityEnd = text.find_first_of("/?#", start);
        if (authorityEnd == std::string_view::npos) authorityEnd = text.size();
    }

    std::string normal;
    normal.reserve(text.size());
    bool seenFragment = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        bool keep = isUriCharacter(c);
        if (c == '%')
            keep = i + 2 < text.size() && isHex(text[i + 1]) && isHex(text[i + 2]);
        else if ((c == '[' || c == ']') && i >= authorityEnd)
            keep = false;
        else if (c == '#') {
            keep = !seenFragment;
            seenFragment = true;
        }
        if (keep)
            normal += c;
        else
            encode(normal, c);
    }

    auto parsed = boost::urls::parse_uri_reference(normal);
    if (!parsed) return std::nullopt;
    // Boost.URL 1.81 lets a path without its leading "/" follow an authority ("http://a:80x/" reads
    // as port 80 and path "x/"); RFC 3986 does not, and neither do we.
    if (parsed->has_authority() && !parsed->encoded_path().empty() &&
        !parsed->encoded_path().starts_with("/"))
        return std::nullopt;
    return Url(std::move(normal));
}

std::vector<Url::QueryItem> Url::queryItems() const {
    std::vector<QueryItem> items;
    auto parsed = view();
    if (!parsed.has_query()) return items;
    std::string_view query(parsed.encoded_query().data(), parsed.encoded_query().size());
    std::size_t start = 0;
    while (true) {
        std::size_t end = query.find('&', start);
        std::string_view item = query.substr(start, end == std::string_view::npos ? end : end - start);
        std::size_t equals = item.find('=');
        if (equals == std::string_view::npos)
            items.push_back({item, std::nullopt});
        else
            items.push_back({item.substr(0, equals), item.substr(equals + 1)});
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return items;
}

} // namespace nimb
