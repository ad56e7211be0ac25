#include "library/History.h"

#include "base/PercentEncoding.h"
#include "base/Text.h"
#include "location/LocationBar.h"
#include "preferences/Preferences.h"

#include <algorithm>
#include <array>
#include <limits>
#include <unordered_map>

namespace nimb {

namespace {

// Counts are stored text and may be anything up to the 64-bit limit; adding must not overflow.
std::int64_t saturatingAdd(std::int64_t a, std::int64_t b) {
    std::int64_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum))
        return b > 0 ? std::numeric_limits<std::int64_t>::max() : std::numeric_limits<std::int64_t>::min();
    return sum;
}

bool startsWithIgnoringAsciiCase(std::string_view text, std::string_view lowerStart) {
    if (text.size() < lowerStart.size()) return false;
    for (std::size_t i = 0; i < lowerStart.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != lowerStart[i]) return false;
    }
    return true;
}

std::string withoutWww(std::string host) {
    if (host.size() > 4 && startsWithIgnoringAsciiCase(host, "www.") && text::characterCount(host) >= 5)
        host.erase(0, 4);
    return host;
}

// The forms of an address are all tails of it, so they are views into it; at most three.
struct Forms {
    std::array<std::string_view, 3> items;
    std::size_t count = 0;

    void add(std::string_view form) { items[count++] = form; }
    const std::string_view* begin() const { return items.data(); }
    const std::string_view* end() const { return items.data() + count; }
};

Forms formsOf(std::string_view address) {
    // "https://", "http://" and "www." hold only letters that no other character lower-cases to, so
    // comparing ASCII letters without case is the same as comparing the lower-cased texts.
    std::string_view rest = address;
    if (startsWithIgnoringAsciiCase(rest, "https://")) rest.remove_prefix(8);
    if (startsWithIgnoringAsciiCase(rest, "http://")) rest.remove_prefix(7);
    bool droppedScheme = rest.size() != address.size();
    Forms forms;
    if (startsWithIgnoringAsciiCase(rest, "www.")) forms.add(rest.substr(4));
    if (droppedScheme) forms.add(rest);
    forms.add(address);
    return forms;
}

// Whether one visit ranks before another for completion: more visits, then the shorter address,
// then the more recent. Equal ranks keep their list order.
struct Rank {
    std::int64_t visits;
    std::size_t length;
    Date last;

    static Rank of(std::string_view address, std::int64_t visits, Date last) {
        return {visits, text::characterCount(address), last};
    }
    bool operator<(const Rank& other) const {
        if (visits != other.visits) return visits > other.visits;
        if (length != other.length) return length < other.length;
        return last > other.last;
    }
};

// Completes typed text from addresses offered one by one, in list order. Keeps the best-ranked
// address with a form that extends the typed text, and the first such form of it, so that no sort
// is needed. Typed text and forms are compared lower-cased: ASCII forms in place, others through
// full Unicode lower-casing.
class Completer {
public:
    enum class Match {
        none,
        extends,
        equals
    };

    explicit Completer(std::string_view typed)
        : m_typed(typed), m_lowered(text::lowercased(typed)), m_typedCount(text::characterCount(typed)) {}

    // Typed text that can have no completion at all.
    bool hopeless() const {
        return m_typed.empty() || m_typed.find(' ') != std::string_view::npos ||
               m_typed.starts_with("about:");
    }

    // How the typed text meets an address: one of its forms equals it, or one extends it (`form`).
    Match match(std::string_view address, std::string_view& form) const {
        std::optional<std::string_view> extending;
        for (std::string_view candidate : formsOf(address)) {
            Match meeting = classify(candidate);
            if (meeting == Match::equals) return Match::equals;
            if (meeting == Match::extends && !extending) extending = candidate;
        }
        if (!extending) return Match::none;
        form = *extending;
        return Match::extends;
    }

    void offer(std::string_view form, const Rank& rank) {
        if (!m_best || rank < m_best->rank) m_best = Best{form, rank};
    }

    std::optional<std::string> answer() const {
        if (!m_best) return std::nullopt;
        return std::string(m_typed) + std::string(text::dropPrefix(m_best->form, m_typedCount));
    }

private:
    Match classify(std::string_view form) const {
        // ASCII lower-cases one to one, so an ASCII beginning is compared in place; the first byte
        // beyond ASCII sends the form through full lower-casing.
        std::size_t i = 0;
        for (; i < m_lowered.size() && i < form.size(); ++i) {
            auto c = static_cast<unsigned char>(form[i]);
            if (c >= 0x80) return classifyUnicode(form);
            if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c - 'A' + 'a');
            if (c != static_cast<unsigned char>(m_lowered[i])) return Match::none;
        }
        if (i < m_lowered.size()) return Match::none;
        if (i == form.size()) return Match::equals;
        // The form begins with the typed text; it must also be longer in characters.
        return text::characterCount(form) > m_typedCount ? Match::extends : Match::none;
    }

    Match classifyUnicode(std::string_view form) const {
        std::string lowered = text::lowercased(form);
        if (lowered == m_lowered) return Match::equals;
        if (lowered.starts_with(m_lowered) && text::characterCount(form) > m_typedCount)
            return Match::extends;
        return Match::none;
    }

    struct Best {
        std::string_view form;
        Rank rank;
    };

    std::string_view m_typed;
    std::string m_lowered;
    std::size_t m_typedCount;
    std::optional<Best> m_best;
};

struct SiteKey {
    bool hasHost;
    std::string text;
    bool operator==(const SiteKey&) const = default;
};

struct SiteKeyHash {
    std::size_t operator()(const SiteKey& key) const {
        return std::hash<std::string>()(key.text) ^ static_cast<std::size_t>(key.hasHost);
    }
};

// The port of an address when it is not its scheme's own, with its colon; empty otherwise. Another
// port is another server.
std::string serverPort(const Url& url) {
    auto view = url.view();
    if (!view.has_port() || view.port().empty()) return "";
    std::string scheme = text::asciiLowercased(view.scheme());
    auto number = view.port_number();
    if ((scheme == "http" && number == 80) || (scheme == "https" && number == 443)) return "";
    return ":" + std::string(view.port());
}

// Sites are folded by lower-cased host without "www.", and the port when it is not the scheme's own;
// addresses without a host stand alone, and never fold with a host that happens to be spelled like
// them.
SiteKey siteKey(const Visit& visit) {
    if (auto url = visit.url()) {
        std::string host = LocationBar::writtenHost(*url);
        if (!host.empty()) return {true, withoutWww(text::lowercased(host)) + serverPort(*url)};
    }
    return {false, visit.address};
}

} // namespace

namespace History {

bool worthKeeping(std::string_view address) {
    auto url = Url::parse(address);
    if (!url || !url->view().has_scheme()) return false;
    std::string scheme = text::asciiLowercased(url->view().scheme());
    if (scheme == "file") return true;
    if (scheme != "http" && scheme != "https") return false;
    return url->view().has_authority() && !url->view().encoded_host().empty();
}

std::optional<Site> siteFrom(const std::vector<Visit>& visits) {
    if (visits.empty()) return std::nullopt;
    const Visit* newest = &visits.front();
    std::int64_t count = 0;
    for (const Visit& visit : visits) {
        if (visit.last > newest->last) newest = &visit;
        count = saturatingAdd(count, visit.visits);
    }

    Site site{newest->name(), newest->address, newest->last, count};
    if (auto url = newest->url(); url && url->view().has_scheme()) {
        auto view = url->view();
        std::string host = LocationBar::writtenHost(*url);
        if (!host.empty()) {
            site.name = withoutWww(host) + serverPort(*url);
            // The port stays: a site on another port is another server.
            site.address = std::string(view.scheme()) + "://" + std::string(view.encoded_host());
            if (view.has_port() && !view.port().empty()) site.address += ":" + std::string(view.port());
            site.address += "/";
        }
    }
    return site;
}

std::optional<std::string> site(std::string_view address) {
    auto url = Url::parse(address);
    if (!url || !worthKeeping(address)) return std::nullopt;
    std::string scheme = text::asciiLowercased(url->view().scheme());
    if (scheme != "http" && scheme != "https") return std::nullopt;
    std::string host = LocationBar::writtenHost(*url);
    if (host.empty()) return std::nullopt;
    return withoutWww(text::lowercased(host)) + serverPort(*url);
}

std::vector<Site> sites(const std::vector<Visit>& visits) {
    std::vector<std::vector<Visit>> groups;
    std::unordered_map<SiteKey, std::size_t, SiteKeyHash> groupOf;
    for (const Visit& visit : visits) {
        auto [found, added] = groupOf.try_emplace(siteKey(visit), groups.size());
        if (added) groups.emplace_back();
        groups[found->second].push_back(visit);
    }
    std::vector<Site> result;
    result.reserve(groups.size());
    for (const auto& group : groups)
        result.push_back(*siteFrom(group));
    std::stable_sort(result.begin(), result.end(), [](const Site& a, const Site& b) {
        if (a.last != b.last) return a.last > b.last;
        return a.name < b.name;
    });
    return result;
}

std::vector<Visit> ranked(std::vector<Visit> visits) {
    std::vector<std::pair<Rank, std::size_t>> order;
    order.reserve(visits.size());
    for (std::size_t i = 0; i < visits.size(); ++i)
        order.emplace_back(Rank::of(visits[i].address, visits[i].visits, visits[i].last), i);
    std::stable_sort(order.begin(), order.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<Visit> result;
    result.reserve(visits.size());
    for (const auto& entry : order)
        result.push_back(std::move(visits[entry.second]));
    return result;
}

std::vector<std::string> forms(std::string_view address) {
    std::vector<std::string> result;
    for (std::string_view form : formsOf(address))
        result.emplace_back(form);
    return result;
}

std::optional<std::string> completion(std::string_view typed, const std::vector<Visit>& visits) {
    Completer completer(typed);
    if (completer.hopeless()) return std::nullopt;
    for (const Visit& visit : visits) {
        std::string_view form;
        switch (completer.match(visit.address, form)) {
        case Completer::Match::none:
            break;
        case Completer::Match::equals:
            // A whole known address typed: nothing to add.
            return std::nullopt;
        case Completer::Match::extends:
            completer.offer(form, Rank::of(visit.address, visit.visits, visit.last));
            break;
        }
    }
    return completer.answer();
}

std::optional<std::string> completionFromStored(std::string_view typed, const Pairs& stored) {
    Completer completer(typed);
    if (completer.hopeless()) return std::nullopt;
    for (const auto& row : stored) {
        // Rows are read as the history list reads them (Preferences::history()), but only those
        // whose address meets the typed text are decoded at all.
        if (row.size() < 4) continue;
        std::string_view form;
        auto match = completer.match(row[0], form);
        if (match == Completer::Match::none) continue;
        auto last = readStoredDate(row[2]);
        auto count = StoredRecords::readInteger(row[3]);
        if (!last || !count) continue;
        if (match == Completer::Match::equals) return std::nullopt;
        completer.offer(form, Rank::of(row[0], std::max<std::int64_t>(*count, 1), *last));
    }
    return completer.answer();
}

} // namespace History

std::string HistoryAction::href() const {
    if (kind == Kind::forgetAll) return "nimb://forget-all";
    return "nimb://forget?a=" + percentEncodeAlphanumerics(address);
}

std::optional<HistoryAction> HistoryAction::fromUrl(const Url& url) {
    auto view = url.view();
    if (!view.has_scheme() || text::asciiLowercased(view.scheme()) != "nimb" || !view.has_authority())
        return std::nullopt;
    std::string_view host = view.encoded_host();
    if (host == "forget-all") return forgetAll();
    if (host != "forget" || !view.has_query()) return std::nullopt;

    for (std::string_view item : text::split(view.encoded_query(), '&')) {
        auto equals = item.find('=');
        if (percentDecodedLeniently(item.substr(0, equals)) != "a") continue;
        if (equals == std::string_view::npos || equals + 1 == item.size()) return std::nullopt;
        return forget(percentDecodedLeniently(item.substr(equals + 1)));
    }
    return std::nullopt;
}

namespace History {

std::optional<std::string> completion(const Preferences& preferences, std::string_view typed) {
    if (!preferences.rememberHistory()) return std::nullopt;
    return completionFromStored(typed, preferences.storedHistory());
}

bool recordVisit(Preferences& preferences, std::string_view address, std::string_view title, Date at) {
    if (!preferences.rememberHistory() || !worthKeeping(address)) return false;
    auto visits = preferences.history();
    Visit visit{std::string(address), std::string(title), at, 1};
    auto found =
        std::find_if(visits.begin(), visits.end(), [&](const Visit& v) { return v.address == address; });
    if (found != visits.end()) {
        visit.visits = saturatingAdd(found->visits, 1);
        if (title.empty()) visit.title = std::move(found->title);
        visits.erase(found);
    }
    visits.insert(visits.begin(), std::move(visit));
    preferences.setHistory(visits);
    return true;
}

bool retitle(Preferences& preferences, std::string_view address, std::string_view title) {
    if (title.empty()) return false;
    auto visits = preferences.history();
    auto found =
        std::find_if(visits.begin(), visits.end(), [&](const Visit& v) { return v.address == address; });
    if (found == visits.end() || found->title == title) return false;
    found->title = std::string(title);
    preferences.setHistory(visits);
    return true;
}

std::int64_t clear(Preferences& preferences) {
    auto count = static_cast<std::int64_t>(preferences.history().size());
    // The levels name the sites visited as much as the visits do: they go together.
    preferences.write({.history = std::vector<Visit>{}, .siteZooms = std::vector<SiteZoom>{}});
    return count;
}

std::optional<Visit> forget(Preferences& preferences, std::string_view address) {
    auto visits = preferences.history();
    auto found =
        std::find_if(visits.begin(), visits.end(), [&](const Visit& v) { return v.address == address; });
    if (found == visits.end()) return std::nullopt;
    Visit removed = std::move(*found);
    visits.erase(found);
    preferences.setHistory(visits);
    return removed;
}

std::int64_t apply(Preferences& preferences, const HistoryAction& action) {
    switch (action.kind) {
    case HistoryAction::Kind::forget:
        return forget(preferences, action.address) ? 1 : 0;
    case HistoryAction::Kind::forgetAll:
        return clear(preferences);
    }
    return 0;
}

} // namespace History

} // namespace nimb
