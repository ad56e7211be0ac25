#pragma once

// What the text in the Location: field means: a web address, one of the browser's own pages, or a
// search. Also the short label the field shows at rest and the form under which bookmarks and notes
// compare addresses.

#include "base/Url.h"
#include "location/SearchEngine.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace nimb::LocationBar {

// Where typed text leads. Two destinations are equal when they are the same kind and, for `url`,
// their addresses are equal.
struct Destination {
    enum class Kind {
        url,          // load `url`
        home,         // the home page
        bookmarks,    // the bookmarks page
        report,       // the site report of the current tab
        history,      // the history page
        savedReports, // the kept reports
        nowhere,      // do nothing
    };

    Kind kind = Kind::nowhere;
    // The address to load; present exactly when `kind` is `url`.
    std::optional<Url> url;

    [[nodiscard]] static Destination load(Url address) { return {Kind::url, std::move(address)}; }
    // One of the browser's own pages, or nowhere; `url` without an address is nowhere.
    [[nodiscard]] static Destination of(Kind kind) {
        return {kind == Kind::url ? Kind::nowhere : kind, std::nullopt};
    }

    static const Destination home;
    static const Destination bookmarks;
    static const Destination report;
    static const Destination history;
    static const Destination savedReports;
    static const Destination nowhere;

    bool operator==(const Destination&) const = default;
};

inline const Destination Destination::home{Destination::Kind::home, std::nullopt};
inline const Destination Destination::bookmarks{Destination::Kind::bookmarks, std::nullopt};
inline const Destination Destination::report{Destination::Kind::report, std::nullopt};
inline const Destination Destination::history{Destination::Kind::history, std::nullopt};
inline const Destination Destination::savedReports{Destination::Kind::savedReports, std::nullopt};
inline const Destination Destination::nowhere{Destination::Kind::nowhere, std::nullopt};

// The names of the browser's own pages, matched exactly as written (after trimming).
inline constexpr std::string_view aboutHome = "about:home";
inline constexpr std::string_view aboutBookmarks = "about:bookmarks";
inline constexpr std::string_view aboutReport = "about:report";
inline constexpr std::string_view aboutHistory = "about:history";
inline constexpr std::string_view aboutReports = "about:reports";

// The schemes whose addresses are loaded as typed.
inline constexpr std::array<std::string_view, 3> navigableSchemes{"http", "https", "file"};
// Whether `scheme` (in any case) is one of `navigableSchemes`.
[[nodiscard]] bool isNavigableScheme(std::string_view scheme);

// Typed text as a destination: an internal name, an address with a navigable scheme, a host to be
// given a scheme, else a search with `engine` (nowhere when the engine is `none`).
[[nodiscard]] Destination resolve(std::string_view text, SearchEngine engine);

// The short form of an address shown while nobody types: the host (without "www.") and port for
// https, the same after "http://" for http, anything else unchanged.
[[nodiscard]] std::string restingLabel(std::string_view address);

// The form under which two addresses of the same page compare equal: scheme and host lower-cased,
// a leading "www." dropped, a lone "/" path emptied. Anything that is not an http, https or file
// address with a host comes back unchanged.
[[nodiscard]] std::string canonical(std::string_view address);

// The host a typed text would name: before the first "/", without a port, brackets taken off an
// IPv6 literal, lower-cased.
[[nodiscard]] std::string hostPart(std::string_view text);
// Whether a host names this machine: localhost, *.localhost, ::1, 0.0.0.0 or 127.x.y.z.
[[nodiscard]] bool isLoopback(std::string_view host);
// Whether typed text reads as a dotted host name (with or without a port and path).
[[nodiscard]] bool looksLikeHost(std::string_view text);

// The host of an address as written, for reading: percent-encoded non-ASCII letters decoded, an
// IPv6 literal in its brackets. Empty when the address has no host.
[[nodiscard]] std::string writtenHost(const Url& url);

} // namespace nimb::LocationBar
