#include "report/Evidence.h"

#include "base/Domain.h"
#include "base/Text.h"
#include "blocker/ContentBlocker.h"
#include "report/Dossier.h"
#include "report/DossierVocabulary.h"
#include "report/NimbReport.h"
#include "report/ReportSize.h"

#include <unicode/datefmt.h>
#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <array>
#include <memory>
#include <unordered_map>

namespace nimb {

namespace {

using Kind = Evidence::Finding::Kind;

constexpr std::array<std::size_t, 5> uuidGroups = {8, 4, 4, 4, 12};
constexpr std::array<std::string_view, 2> addressPrefixes = {"https://", "http://"};
constexpr std::string_view addressStops = " \"|\\";
constexpr std::array<std::string_view, 4> videoMarks = {"/video/", "/watch", "/clip/", "/episode"};
constexpr std::array<std::string_view, 2> queueOpenings = {"[{", "[ {"};
constexpr std::array<std::string_view, 6> queueWords = {"event",     "\"time",  "_at\"",
                                                        "timestamp", "session", "action"};
constexpr std::array<std::string_view, 11> deviceFieldNames = {
    "browser",    "browser_version", "os_version", "platform", "resolution",   "screen",
    "user_agent", "useragent",       "timezone",   "language", "device_model",
};
constexpr std::array<std::string_view, 3> expiryMarks = {"\"expires\"", "\"e\":", "expires\":"};
constexpr std::array<std::string_view, 5> auctionWords = {"shb", "openbid", "prebid", "headerbid",
                                                          "hbopenbid"};
constexpr std::array<Kind, 11> kindPriority = {
    Kind::brandTLD,          Kind::sdkRan,     Kind::identifier,
    Kind::videoRemembered,   Kind::eventQueue, Kind::pageRemembered,
    Kind::deviceDescribed,   Kind::sameName,   Kind::namedSeat,
    Kind::serverSideAuction, Kind::expiry,
};

// A queued event log smaller than this is not worth a finding.
constexpr std::int64_t smallestQueue = 1001;
constexpr std::size_t expiryDigits = 13;

bool isHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

template <std::size_t N>
bool containsAny(std::string_view text, const std::array<std::string_view, N>& parts) {
    return std::any_of(parts.begin(), parts.end(),
                       [text](std::string_view part) { return contains(text, part); });
}

// Whether 8-4-4-4-12 hexadecimal digits joined by single "-" start at `at`; the end when they do.
std::optional<std::size_t> uuidEnd(std::string_view text, std::size_t at) {
    std::size_t i = at;
    for (std::size_t group = 0; group < uuidGroups.size(); ++group) {
        if (group > 0) {
            if (i >= text.size() || text[i] != '-') return std::nullopt;
            ++i;
        }
        for (std::size_t n = 0; n < uuidGroups[group]; ++n, ++i) {
            if (i >= text.size() || !isHex(text[i])) return std::nullopt;
        }
    }
    return i;
}

std::string_view stemOf(std::string_view site) {
    return site.substr(0, site.find('.'));
}

using text::lowered;

// Calls `visit` with each non-empty label of a host, first to last, until it answers true.
template <class Visit>
bool anyLabel(std::string_view host, Visit visit) {
    for (std::size_t start = 0; start <= host.size();) {
        std::size_t dot = host.find('.', start);
        std::size_t end = dot == std::string_view::npos ? host.size() : dot;
        if (end > start && visit(host.substr(start, end - start))) return true;
        start = end + 1;
    }
    return false;
}

bool isVideo(std::string_view lowerAddress) {
    return containsAny(lowerAddress, videoMarks);
}

bool isQueue(std::string_view text, std::string_view lowerText) {
    std::size_t start = text.find_first_not_of(" \t");
    if (start == std::string_view::npos) return false;
    std::string_view trimmed = text.substr(start, text.find_last_not_of(" \t") + 1 - start);
    if (std::none_of(queueOpenings.begin(), queueOpenings.end(),
                     [trimmed](std::string_view opening) { return text::startsWith(trimmed, opening); }))
        return false;
    return containsAny(lowerText, queueWords);
}

std::vector<std::string> fieldsIn(std::string_view lowerText) {
    // No field name holds a quote, so a name stands in quotes exactly when it is all the text between
    // two consecutive quotes: one pass over the quotes finds them all.
    std::array<bool, deviceFieldNames.size()> named{};
    bool any = false;
    for (std::size_t open = lowerText.find('"'); open != std::string_view::npos;) {
        const std::size_t close = lowerText.find('"', open + 1);
        if (close == std::string_view::npos) break;
        const std::string_view between = lowerText.substr(open + 1, close - open - 1);
        for (std::size_t i = 0; i < deviceFieldNames.size(); ++i) {
            if (between == deviceFieldNames[i]) {
                named[i] = true;
                any = true;
            }
        }
        open = close;
    }
    std::vector<std::string> names;
    if (!any) return names;
    for (std::size_t i = 0; i < deviceFieldNames.size(); ++i) {
        if (named[i]) names.emplace_back(deviceFieldNames[i]);
    }
    return names;
}

// Whether some label of the lower-cased host, longer than two characters, is the stem, begins with it
// or begins it.
// The stem is never empty here.
bool labelCarries(std::string_view lowerHost, std::string_view stem) {
    return anyLabel(lowerHost, [stem](std::string_view label) {
        return label.front() == stem.front() &&
               (text::startsWith(label, stem) || text::startsWith(stem, label)) &&
               text::characterCount(label) > 2;
    });
}

bool sameNameOf(std::string_view host, std::string_view lowerHost, std::string_view site,
                std::string_view stem) {
    if (site.empty() || text::characterCount(stem) < 3) return false;
    if (!labelCarries(lowerHost, stem)) return false;
    std::string buffer;
    return Domain::registrable(host, buffer) != site;
}

bool isAuctionHost(std::string_view lowerHost) {
    std::string_view first;
    anyLabel(lowerHost, [&first](std::string_view label) {
        first = label;
        return true;
    });
    return !first.empty() && containsAny(first, auctionWords);
}

const icu::DateFormat* longDateFormat(Language language) {
    thread_local std::array<std::unique_ptr<icu::DateFormat>, allCases<Language>.size()> formats;
    auto& format = formats[static_cast<std::size_t>(language)];
    if (!format)
        format.reset(icu::DateFormat::createDateInstance(icu::DateFormat::kLong,
                                                         icu::Locale(locale(language).c_str())));
    return format.get();
}

bool isNumeric(UChar32 c) {
    // In ASCII only the digits have a numeric value.
    if (c < 0x80) return c >= '0' && c <= '9';
    return u_getIntPropertyValue(c, UCHAR_NUMERIC_TYPE) != U_NT_NONE;
}

} // namespace

namespace Evidence {

Finding Finding::about(Kind kind, std::string subject, std::string detail) {
    return {kind, {std::move(subject)}, std::move(detail)};
}

std::string Finding::sentence() const {
    return dossierWords().finding(*this);
}

std::optional<std::string> firstUUID(std::string_view text) {
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (!isHex(text[at])) continue;
        if (at > 0 && (isHex(text[at - 1]) || text[at - 1] == '-')) continue;
        auto end = uuidEnd(text, at);
        if (!end || (*end < text.size() && isHex(text[*end]))) continue;
        return std::string(text.substr(at, *end - at));
    }
    return std::nullopt;
}

std::optional<std::string> identifier(std::string_view text) {
    if (auto uuid = firstUUID(text)) return uuid;
    for (std::size_t at = 0; at < text.size();) {
        if (!isHex(text[at])) {
            ++at;
            continue;
        }
        std::size_t end = at;
        while (end < text.size() && isHex(text[end]))
            ++end;
        if (end - at >= 24) return std::string(text.substr(at, end - at));
        at = end;
    }
    return std::nullopt;
}

std::optional<std::string> url(std::string_view text) {
    for (std::string_view prefix : addressPrefixes) {
        std::size_t at = text.find(prefix);
        if (at == std::string_view::npos) continue;
        std::string_view address = text.substr(at);
        address = address.substr(0, address.find_first_of(addressStops));
        if (text::characterCount(address) > prefix.size() + 3) return std::string(address);
    }
    return std::nullopt;
}

bool video(std::string_view address) {
    std::string buffer;
    return isVideo(lowered(address, buffer));
}

bool queue(std::string_view text) {
    std::string buffer;
    return isQueue(text, lowered(text, buffer));
}

std::vector<std::string> deviceFields(std::string_view text) {
    std::string buffer;
    return fieldsIn(lowered(text, buffer));
}

} // namespace Evidence

namespace {

// Long dates already written during one reading of a report: pages tend to stamp many keys with one
// expiry, and writing a date is the costliest test here.
using WrittenDates = std::vector<std::pair<std::int64_t, std::string>>;

std::optional<std::string> expiryIn(std::string_view lower, Date now, Language language,
                                    WrittenDates& written) {
    std::size_t from = std::string::npos;
    for (std::string_view mark : expiryMarks) {
        if (auto at = lower.find(mark); at != std::string::npos) {
            from = at + mark.size();
            break;
        }
    }
    if (from == std::string::npos) return std::nullopt;

    // Skip to the first numeric character, then take the run of numeric characters there.
    std::size_t runStart = std::string::npos;
    std::size_t runEnd = lower.size();
    std::size_t runLength = 0;
    for (std::size_t i = from; i < lower.size();) {
        std::size_t at = i;
        UChar32 c;
        auto index = static_cast<int32_t>(i);
        U8_NEXT(lower.data(), index, static_cast<int32_t>(lower.size()), c);
        i = static_cast<std::size_t>(index);
        if (isNumeric(c)) {
            if (runStart == std::string::npos) runStart = at;
            ++runLength;
        } else if (runStart != std::string::npos) {
            runEnd = at;
            break;
        }
    }
    if (runStart == std::string::npos || runLength != expiryDigits) return std::nullopt;
    std::string_view run = lower.substr(runStart, runEnd - runStart);
    if (run.size() != expiryDigits ||
        !std::all_of(run.begin(), run.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt; // numeric, but not digits a number can be read from

    std::int64_t milliseconds = 0;
    for (char c : run)
        milliseconds = milliseconds * 10 + (c - '0');
    if (static_cast<double>(milliseconds) / 1000 <= now.seconds) return std::nullopt;

    for (const auto& [at, date] : written) {
        if (at == milliseconds) return date;
    }
    const icu::DateFormat* format = longDateFormat(language);
    if (!format) return std::nullopt;
    icu::UnicodeString text;
    format->format(static_cast<UDate>(milliseconds), text);
    std::string date;
    text.toUTF8String(date);
    written.emplace_back(milliseconds, date);
    return date;
}

} // namespace

namespace Evidence {
namespace {
// `buffer` is room for lowered text, kept from one item to the next.
void readItem(std::vector<Finding>& findings, std::string_view key, std::string_view value,
              std::int64_t bytes, Date now, Language language, WrittenDates& written, std::string& buffer) {
    std::string subject(key);
    std::string_view lower = lowered(value, buffer);
    if (auto found = identifier(value)) findings.push_back(Finding::about(Kind::identifier, subject, *found));
    if (auto address = url(value)) {
        // The value's lowered text is still needed below; the address is lowered on its own.
        std::string addressBuffer;
        Kind kind = isVideo(lowered(*address, addressBuffer)) ? Kind::videoRemembered : Kind::pageRemembered;
        findings.push_back(Finding::about(kind, subject, *address));
    }
    if (bytes >= smallestQueue && isQueue(value, lower))
        findings.push_back(Finding::about(Kind::eventQueue, subject, NimbReportPage::size(bytes, language)));
    if (auto fields = fieldsIn(lower); !fields.empty()) {
        std::string names;
        for (const std::string& field : fields) {
            if (!names.empty()) names += ", ";
            names += field;
        }
        findings.push_back(Finding::about(Kind::deviceDescribed, subject, names));
    }
    if (const Dossier::Entry* sdk = Dossier::sdkForKey(key))
        findings.push_back(Finding::about(Kind::sdkRan, subject, sdk->company.name));
    if (auto date = expiryIn(lower, now, language, written))
        findings.push_back(Finding::about(Kind::expiry, subject, *date));
}

void readHost(std::vector<Finding>& findings, std::string_view host, std::string_view site,
              std::string& buffer) {
    std::string_view lower = lowered(host, buffer);
    if (const Dossier::BrandTLD* brand = Dossier::brandTldOfHost(host)) {
        findings.push_back(Finding::about(Kind::brandTLD, std::string(host), brand->holder));
    } else if (sameNameOf(host, lower, site, stemOf(site))) {
        const Dossier::Entry* entry = Dossier::entryForHost(host);
        if (entry && std::find(entry->siblings.begin(), entry->siblings.end(), site) == entry->siblings.end())
            findings.push_back(Finding::about(Kind::namedSeat, std::string(host), entry->company.name));
        else
            findings.push_back(Finding::about(Kind::sameName, std::string(host), std::string(site)));
    }
    if (isAuctionHost(lower))
        findings.push_back(Finding::about(Kind::serverSideAuction, std::string(host), ""));
}

} // namespace

std::optional<std::string> expiry(std::string_view text, Date now, Language language) {
    std::string buffer;
    WrittenDates written;
    return expiryIn(lowered(text, buffer), now, language, written);
}

bool sameName(std::string_view host, std::string_view site) {
    std::string buffer;
    return sameNameOf(host, lowered(host, buffer), site, stemOf(site));
}

bool auctionHost(std::string_view host) {
    std::string buffer;
    return isAuctionHost(lowered(host, buffer));
}

bool ownGround(std::string_view host, std::string_view site) {
    std::string buffer;
    if (site.empty() || Domain::registrable(host, buffer) == site) return false;
    std::string_view stem = stemOf(site);
    if (const Dossier::BrandTLD* brand = Dossier::brandTldOfHost(host)) {
        std::string_view tld = brand->tld;
        if (text::characterCount(stem) >= 3 && (text::startsWith(stem, tld) || text::startsWith(tld, stem)))
            return true;
    }
    return sameName(host, site);
}

std::vector<Finding> read(std::string_view key, std::string_view value, std::int64_t bytes, Date now,
                          Language language) {
    std::vector<Finding> findings;
    WrittenDates written;
    std::string buffer;
    readItem(findings, key, value, bytes, now, language, written, buffer);
    return findings;
}

std::vector<Finding> read(std::string_view host, std::string_view site) {
    std::vector<Finding> findings;
    std::string buffer;
    readHost(findings, host, site, buffer);
    return findings;
}

std::vector<Finding> read(const NimbReport& report, Date now, Language language) {
    const std::string site = Domain::registrable(Domain::hostOf(report.address));

    std::vector<Finding> raw;
    WrittenDates written;
    std::string buffer;
    for (const NimbReport::Jar* jar : {&report.local, &report.session}) {
        for (const NimbReport::Item& item : jar->items)
            readItem(raw, item.key, item.preview, item.bytes, now, language, written, buffer);
    }
    for (const NimbReport::Blocked& blocked : report.blocked)
        readHost(raw, blocked.host, site, buffer);
    for (const std::string& host : report.otherHosts)
        readHost(raw, host, site, buffer);

    // Findings that say the same sentence are one finding with every subject that showed it.
    std::vector<Finding> merged;
    std::unordered_map<std::string, std::size_t> bySentence;
    for (Finding& finding : raw) {
        auto [found, fresh] = bySentence.try_emplace(finding.sentence(), merged.size());
        if (fresh) {
            merged.push_back(std::move(finding));
            continue;
        }
        Finding& kept = merged[found->second];
        kept.kind = finding.kind;
        kept.detail = std::move(finding.detail);
        for (std::string& subject : finding.subjects)
            kept.subjects.push_back(std::move(subject));
    }

    auto priority = [](Kind kind) {
        return std::find(kindPriority.begin(), kindPriority.end(), kind) - kindPriority.begin();
    };
    std::stable_sort(merged.begin(), merged.end(),
                     [&](const Finding& a, const Finding& b) { return priority(a.kind) < priority(b.kind); });
    return merged;
}

} // namespace Evidence

} // namespace nimb
