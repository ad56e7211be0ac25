#pragma once

// What a page wrote down about the visitor, read from its site report: identifiers and remembered
// pages in its storage, queued event logs, described devices, far-off expiry dates, code of named
// companies, and hosts that pass for the site without being it. Every rule is a fixed text test on
// short strings (a storage value is only ever its preview). Domain::registrable decides what counts as
// the same site.

#include "base/Date.h"
#include "base/Enumeration.h"
#include "vocabulary/Language.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nimb {

struct NimbReport;

namespace Evidence {

struct Finding {
    // In declared order; raw values equal the case names.
    enum class Kind {
        identifier,
        pageRemembered,
        videoRemembered,
        eventQueue,
        deviceDescribed,
        expiry,
        brandTLD,
        sameName,
        namedSeat,
        serverSideAuction,
        sdkRan,
    };

    Kind kind = Kind::identifier;
    // The storage keys or host names that show it: one when found, more after merging.
    std::vector<std::string> subjects;
    // The particular value found (an identifier, an address, a size, a date, a name); may be empty.
    std::string detail;

    // A finding with the one subject.
    [[nodiscard]] static Finding about(Kind kind, std::string subject, std::string detail);

    // The sentence that says it, in the current language (from the dossier's words); findings with
    // equal sentences are merged.
    [[nodiscard]] std::string sentence() const;

    bool operator==(const Finding&) const = default;
};

[[nodiscard]] constexpr std::string_view rawValue(Finding::Kind kind) {
    switch (kind) {
    case Finding::Kind::identifier:
        return "identifier";
    case Finding::Kind::pageRemembered:
        return "pageRemembered";
    case Finding::Kind::videoRemembered:
        return "videoRemembered";
    case Finding::Kind::eventQueue:
        return "eventQueue";
    case Finding::Kind::deviceDescribed:
        return "deviceDescribed";
    case Finding::Kind::expiry:
        return "expiry";
    case Finding::Kind::brandTLD:
        return "brandTLD";
    case Finding::Kind::sameName:
        return "sameName";
    case Finding::Kind::namedSeat:
        return "namedSeat";
    case Finding::Kind::serverSideAuction:
        return "serverSideAuction";
    case Finding::Kind::sdkRan:
        return "sdkRan";
    }
    return {};
}

// Every finding of a report: its storage items (local, then session) and the hosts it contacted
// (blocked, then other), merged by sentence and ordered by kind, most telling first. `now` decides
// which expiry dates are still ahead; dates are written in `language`.
[[nodiscard]] std::vector<Finding> read(const NimbReport& report, Date now,
                                        Language language = currentLanguage());
// The findings of one storage item, at most six, in rule order.
[[nodiscard]] std::vector<Finding> read(std::string_view key, std::string_view value, std::int64_t bytes,
                                        Date now, Language language = currentLanguage());
// The findings of one contacted host, given the page's site: at most two.
[[nodiscard]] std::vector<Finding> read(std::string_view host, std::string_view site);

// Whether a host off the site's domain still belongs to the site: a brand top-level domain that
// matches the site's name, or the site's name under another domain.
[[nodiscard]] bool ownGround(std::string_view host, std::string_view site);

// The single tests.

// The first run shaped like a UUID (8-4-4-4-12 hexadecimal digits, either case), exactly as written,
// not directly preceded by a hexadecimal digit or "-" nor followed by a hexadecimal digit.
[[nodiscard]] std::optional<std::string> firstUUID(std::string_view text);
// A UUID, else the first whole run of 24 or more hexadecimal digits.
[[nodiscard]] std::optional<std::string> identifier(std::string_view text);
// An http or https address written in the text ("https://" tried first), up to the first space,
// double quote, "|" or backslash, when more than three characters follow the scheme's "//".
[[nodiscard]] std::optional<std::string> url(std::string_view text);
// Whether an address looks like a video page.
[[nodiscard]] bool video(std::string_view address);
// Whether the text is a JSON list of event records.
[[nodiscard]] bool queue(std::string_view text);
// The device field names quoted in the text, in table order, each once.
[[nodiscard]] std::vector<std::string> deviceFields(std::string_view text);
// The expiry date written in the text as 13 digits of milliseconds after an "expires" mark, in the
// long date style of `language`; none when it is not later than `now`.
[[nodiscard]] std::optional<std::string> expiry(std::string_view text, Date now,
                                                Language language = currentLanguage());
// Whether a host off the site's domain carries the site's name in one of its labels.
[[nodiscard]] bool sameName(std::string_view host, std::string_view site);
// Whether a host's first label names a header-bidding auction.
[[nodiscard]] bool auctionHost(std::string_view host);

} // namespace Evidence

template <>
inline constexpr auto allCases<Evidence::Finding::Kind> = std::array{
    Evidence::Finding::Kind::identifier,      Evidence::Finding::Kind::pageRemembered,
    Evidence::Finding::Kind::videoRemembered, Evidence::Finding::Kind::eventQueue,
    Evidence::Finding::Kind::deviceDescribed, Evidence::Finding::Kind::expiry,
    Evidence::Finding::Kind::brandTLD,        Evidence::Finding::Kind::sameName,
    Evidence::Finding::Kind::namedSeat,       Evidence::Finding::Kind::serverSideAuction,
    Evidence::Finding::Kind::sdkRan,
};

} // namespace nimb
