#include "location/LocationBar.h"

#include "base/Text.h"

#include <boost/url/url.hpp>
#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <algorithm>

namespace nimb::LocationBar {

namespace {

// Whether the text holds white space of any kind. Typed text with a tab or a non-breaking or
// ideographic space in it is a phrase, not an address, just as with an ordinary space.
bool containsSpace(std::string_view text) {
    auto length = static_cast<int32_t>(text.size());
    for (int32_t i = 0; i < length;) {
        auto byte = static_cast<unsigned char>(text[static_cast<std::size_t>(i)]);
        if (byte < 0x80) {
            if (byte == ' ' || (byte >= '\t' && byte <= '\r')) return true;
            ++i;
            continue;
        }
        UChar32 c;
        U8_NEXT(text.data(), i, length, c);
        if (c >= 0 && (u_isUWhiteSpace(c) || c == 0x85)) return true;
    }
    return false;
}

// The first non-empty piece of the text split at "/", or the text itself when there is none.
std::string_view firstPiece(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('/', start);
        if (end == std::string_view::npos) end = text.size();
        if (end > start) return text.substr(start, end - start);
        start = end + 1;
    }
    return text;
}

bool isHttpScheme(std::string_view lowered) {
    return lowered == "http" || lowered == "https";
}

// "www." and at least one character after it.
bool hasDroppableWww(std::string_view host) {
    return host.size() > 4 && text::asciiLowercased(host.substr(0, 4)) == "www." &&
           text::characterCount(host) >= 5;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string portNumber(std::string_view digits) {
    std::size_t first = digits.find_first_not_of('0');
    return first == std::string_view::npos ? std::string("0") : std::string(digits.substr(first));
}

} // namespace

bool isNavigableScheme(std::string_view scheme) {
    std::string lowered = text::asciiLowercased(scheme);
    return std::find(navigableSchemes.begin(), navigableSchemes.end(), lowered) != navigableSchemes.end();
}

std::string writtenHost(const Url& url) {
    auto view = url.view();
    if (!view.has_authority()) return {};
    std::string_view encoded = view.encoded_host();
    // Decode only escapes of bytes beyond ASCII: they stand for letters the user wrote. "%2F" and the
    // like stay as they are, so that the label never shows a character the host does not hold.
    std::string host;
    host.reserve(encoded.size());
    for (std::size_t i = 0; i < encoded.size(); ++i) {
        if (encoded[i] == '%' && i + 2 < encoded.size()) {
            int high = hexValue(encoded[i + 1]);
            int low = hexValue(encoded[i + 2]);
            if (high >= 8 && low >= 0) {
                host += static_cast<char>(high * 16 + low);
                i += 2;
                continue;
            }
        }
        host += encoded[i];
    }
    return text::isValidUtf8(host) ? host : std::string(encoded);
}

std::string hostPart(std::string_view text) {
    std::string_view piece = firstPiece(text);
    std::string_view host = piece;
    if (piece.starts_with('[') && piece.find(']') != std::string_view::npos)
        host = piece.substr(1, piece.find(']') - 1);
    else if (auto colon = piece.rfind(':'); colon != std::string_view::npos)
        host = piece.substr(0, colon);
    return text::lowercased(host);
}

bool isLoopback(std::string_view host) {
    std::string lowered = text::lowercased(host);
    if (lowered == "localhost" || lowered.ends_with(".localhost") || lowered == "::1" || lowered == "0.0.0.0")
        return true;
    if (std::count(lowered.begin(), lowered.end(), '.') != 3) return false;
    auto pieces = text::split(lowered, '.');
    if (pieces.size() != 4 || pieces[0] != "127") return false;
    return std::all_of(pieces.begin(), pieces.end(), [](std::string_view piece) {
        if (piece.empty()) return false;
        unsigned value = 0;
        for (char c : piece) {
            if (c < '0' || c > '9') return false;
            value = value * 10 + static_cast<unsigned>(c - '0');
            if (value > 255) return false;
        }
        return true;
    });
}

bool looksLikeHost(std::string_view text) {
    if (containsSpace(text) || text.find('.') == std::string_view::npos) return false;
    // At least two labels, none of them empty.
    std::string_view piece = firstPiece(text);
    return piece.find('.') != std::string_view::npos && !piece.starts_with('.') && !piece.ends_with('.') &&
           piece.find("..") == std::string_view::npos;
}

Destination resolve(std::string_view text, SearchEngine engine) {
    std::string_view typed = text::trimmed(text);
    if (typed.empty()) return Destination::nowhere;

    if (typed == aboutHome) return Destination::home;
    if (typed == aboutBookmarks) return Destination::bookmarks;
    if (typed == aboutReport) return Destination::report;
    if (typed == aboutHistory) return Destination::history;
    if (typed == aboutReports) return Destination::savedReports;

    if (auto url = Url::parse(typed);
        url && url->view().has_scheme() && isNavigableScheme(url->view().scheme()))
        return Destination::load(std::move(*url));

    // Without a navigable scheme, a text that names a host gets one. RFC 3986 reads "localhost:8080/x"
    // and "example.org:8080" as a scheme ("localhost", "example.org") and a path; neither scheme is
    // navigable, so such texts arrive here and are taken for the host and port the user meant.
    const char* prefix = nullptr;
    if (isLoopback(hostPart(typed)))
        prefix = "http://";
    else if (looksLikeHost(typed))
        prefix = "https://";
    if (prefix) {
        if (auto url = Url::parse(std::string(prefix) + std::string(typed)))
            return Destination::load(std::move(*url));
    }

    if (auto search = url(engine, typed)) return Destination::load(std::move(*search));
    return Destination::nowhere;
}

std::string restingLabel(std::string_view address) {
    std::string_view trimmedAddress = text::trimmed(address);
    if (trimmedAddress.empty()) return {};
    auto url = Url::parse(trimmedAddress);
    if (!url || !url->view().has_scheme()) return std::string(trimmedAddress);
    std::string scheme = text::asciiLowercased(url->view().scheme());
    if (!isHttpScheme(scheme)) return std::string(trimmedAddress);

    std::string host = writtenHost(*url);
    if (host.empty()) return std::string(trimmedAddress);
    if (hasDroppableWww(host)) host.erase(0, 4);
    if (url->view().has_port() && !url->view().port().empty()) host += ":" + portNumber(url->view().port());
    return scheme == "https" ? host : "http://" + host;
}

std::string canonical(std::string_view address) {
    auto url = Url::parse(address);
    if (!url) return std::string(address);
    auto view = url->view();
    if (!view.has_scheme() || !isNavigableScheme(view.scheme()) || !view.has_authority() ||
        view.encoded_host().empty())
        return std::string(address);

    try {
        boost::urls::url components(view);
        components.set_scheme(text::asciiLowercased(view.scheme()));
        if (view.host_type() == boost::urls::host_type::name) {
            // Lower-case what the host spells, letters beyond ASCII included, then write it back
            // encoded.
            std::string name = view.host_name();
            name = text::isValidUtf8(name) ? text::lowercased(name) : text::asciiLowercased(name);
            if (hasDroppableWww(name)) name.erase(0, 4);
            components.set_host_name(name);
        } else {
            components.set_encoded_host(text::asciiLowercased(view.encoded_host()));
        }
        if (components.encoded_path() == "/") components.set_encoded_path("");
        return std::string(components.buffer());
    } catch (...) {
        return std::string(address);
    }
}

} // namespace nimb::LocationBar
