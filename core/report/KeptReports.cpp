#include "report/KeptReports.h"

#include "preferences/Preferences.h"
#include "report/Dossier.h"
#include "report/NimbReport.h"
#include "report/NimbReportPage.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace nimb {

static_assert(SavedReport::limit == Preferences::savedReportsCap);

namespace {

// The kept-reports list scores every kept report each time it is drawn, and a snapshot can be tens of
// kilobytes of walls and storage that the score never looks at. `QuickHosts` reads just the hosts out
// of a snapshot in the plain form the snapshot writer makes (compact JSON, integer counts, hosts of
// at most 120 bytes, no \u escapes), skipping the rest without building it. Anything else, valid or
// not, it declines, and the report is read the long way; so the two readings never differ.
class QuickHosts {
public:
    explicit QuickHosts(std::string_view text) : m_text(text) {}

    // The report's blocked hosts (in report order) and other hosts; false when declined.
    bool read(NimbReport& report) {
        if (m_text.size() > NimbReport::payloadLimit) return false;
        skipSpace();
        if (!object([&](std::string_view key) { return key == "network" ? network(report) : skipValue(0); }))
            return false;
        skipSpace();
        if (m_at != m_text.size()) return false;
        // Each host once: of two members with one name the later would stand, which is the long way's to
        // decide.
        std::vector<std::string_view> names;
        names.reserve(report.blocked.size());
        for (const auto& blocked : report.blocked)
            names.push_back(blocked.host);
        std::sort(names.begin(), names.end());
        if (std::adjacent_find(names.begin(), names.end()) != names.end()) return false;
        // The snapshot lists both in report order already; a changed one is put back in it.
        auto order = [](const auto& a, const auto& b) {
            return a.requests != b.requests ? a.requests > b.requests : a.host < b.host;
        };
        if (!std::is_sorted(report.blocked.begin(), report.blocked.end(), order))
            std::sort(report.blocked.begin(), report.blocked.end(), order);
        auto& other = report.otherHosts;
        if (!std::is_sorted(other.begin(), other.end())) std::sort(other.begin(), other.end());
        other.erase(std::unique(other.begin(), other.end()), other.end());
        return true;
    }

private:
    static constexpr std::size_t hostLimit = 120; // bytes; a longer host may need cutting
    static constexpr int depthLimit = 64;
    // The bytes that end a run of plain string text: the closing quote, an escape, a control character
    // and the start of a multi-byte character.
    static constexpr std::array<bool, 256> stopsString = [] {
        std::array<bool, 256> stops{};
        for (std::size_t c = 0; c < stops.size(); ++c)
            stops[c] = c == '"' || c == '\\' || c < 0x20 || c >= 0x80;
        return stops;
    }();

    bool network(NimbReport& report) {
        if (m_sawNetwork) return false; // a repeated member: the later one stands
        m_sawNetwork = true;
        bool sawBlocked = false, sawOther = false;
        return object([&](std::string_view key) {
            if (key == "blocked") {
                if (std::exchange(sawBlocked, true)) return false;
                return object([&](std::string_view host) {
                    if (host.size() > hostLimit) return false;
                    std::int64_t requests = 0;
                    if (!integer(requests)) return false;
                    report.blocked.push_back({std::string(host), std::max<std::int64_t>(requests, 1), {}});
                    return true;
                });
            }
            if (key == "other") {
                if (std::exchange(sawOther, true)) return false;
                return array([&] {
                    std::string host;
                    if (!string(&host) || host.size() > hostLimit) return false;
                    report.otherHosts.push_back(std::move(host));
                    return true;
                });
            }
            return skipValue(1);
        });
    }

    void skipSpace() {
        while (m_at < m_text.size() &&
               (m_text[m_at] == ' ' || m_text[m_at] == '\t' || m_text[m_at] == '\n' || m_text[m_at] == '\r'))
            ++m_at;
    }

    bool take(char c) {
        skipSpace();
        if (m_at >= m_text.size() || m_text[m_at] != c) return false;
        ++m_at;
        return true;
    }

    // "{" members "}", each member handed to `member` positioned at its value, with its decoded name
    // when `named` (otherwise the names are only checked).
    template <class Member>
    bool object(Member member, bool named = true) {
        if (!take('{')) return false;
        if (take('}')) return true;
        std::string name;
        do {
            skipSpace();
            name.clear();
            if (!string(named ? &name : nullptr) || !take(':')) return false;
            skipSpace();
            if (!member(std::string_view(name))) return false;
        } while (take(','));
        return take('}');
    }

    template <class Element>
    bool array(Element element) {
        if (!take('[')) return false;
        if (take(']')) return true;
        do {
            skipSpace();
            if (!element()) return false;
        } while (take(','));
        return take(']');
    }

    // A string, decoded into `out` when given. Declines \u escapes and checks that the text is UTF-8.
    bool string(std::string* out) {
        if (m_at >= m_text.size() || m_text[m_at] != '"') return false;
        ++m_at;
        while (m_at < m_text.size()) {
            std::size_t plain = m_at;
            const char* const text = m_text.data();
            std::size_t at = m_at;
            const std::size_t size = m_text.size();
            while (at < size && !stopsString[static_cast<unsigned char>(text[at])])
                ++at;
            m_at = at;
            if (out) out->append(m_text, plain, m_at - plain);
            if (m_at >= m_text.size()) return false;
            auto c = static_cast<unsigned char>(m_text[m_at]);
            if (c == '"') {
                ++m_at;
                return true;
            }
            if (c < 0x20) return false;
            if (c >= 0x80) {
                std::size_t length = utf8Length(m_at);
                if (length == 0) return false;
                if (out) out->append(m_text, m_at, length);
                m_at += length;
                continue;
            }
            // An escape
            if (m_at + 1 >= m_text.size()) return false;
            char decoded = 0;
            switch (m_text[m_at + 1]) {
            case '"':
                decoded = '"';
                break;
            case '\\':
                decoded = '\\';
                break;
            case '/':
                decoded = '/';
                break;
            case 'b':
                decoded = '\b';
                break;
            case 'f':
                decoded = '\f';
                break;
            case 'n':
                decoded = '\n';
                break;
            case 'r':
                decoded = '\r';
                break;
            case 't':
                decoded = '\t';
                break;
            default:
                return false; // \u, or not an escape at all
            }
            if (out) *out += decoded;
            m_at += 2;
        }
        return false;
    }

    // The length of the well-formed UTF-8 sequence at `at`, or 0.
    std::size_t utf8Length(std::size_t at) const {
        auto byte = [&](std::size_t i) {
            return at + i < m_text.size() ? static_cast<unsigned char>(m_text[at + i]) : 0u;
        };
        unsigned lead = byte(0);
        auto continuation = [&](std::size_t i, unsigned low = 0x80, unsigned high = 0xBF) {
            unsigned b = byte(i);
            return b >= low && b <= high;
        };
        if (lead >= 0xC2 && lead <= 0xDF) return continuation(1) ? 2 : 0;
        if (lead >= 0xE0 && lead <= 0xEF) {
            unsigned low = lead == 0xE0 ? 0xA0 : 0x80, high = lead == 0xED ? 0x9F : 0xBF;
            return continuation(1, low, high) && continuation(2) ? 3 : 0;
        }
        if (lead >= 0xF0 && lead <= 0xF4) {
            unsigned low = lead == 0xF0 ? 0x90 : 0x80, high = lead == 0xF4 ? 0x8F : 0xBF;
            return continuation(1, low, high) && continuation(2) && continuation(3) ? 4 : 0;
        }
        return 0;
    }

    // A JSON number that is a whole number within 64 bits, written without fraction or exponent.
    bool integer(std::int64_t& value) {
        skipSpace();
        std::size_t start = m_at;
        if (!number()) return false;
        std::string_view written = m_text.substr(start, m_at - start);
        if (written.find_first_of(".eE") != std::string_view::npos) return false;
        auto [end, error] = std::from_chars(written.data(), written.data() + written.size(), value);
        return error == std::errc() && end == written.data() + written.size();
    }

    // Any JSON number, by the grammar.
    bool number() {
        auto digit = [&] { return m_at < m_text.size() && m_text[m_at] >= '0' && m_text[m_at] <= '9'; };
        auto digits = [&] {
            if (!digit()) return false;
            while (digit())
                ++m_at;
            return true;
        };
        if (m_at < m_text.size() && m_text[m_at] == '-') ++m_at;
        if (m_at < m_text.size() && m_text[m_at] == '0')
            ++m_at;
        else if (!digits())
            return false;
        if (m_at < m_text.size() && m_text[m_at] == '.') {
            ++m_at;
            if (!digits()) return false;
        }
        if (m_at < m_text.size() && (m_text[m_at] == 'e' || m_text[m_at] == 'E')) {
            ++m_at;
            if (m_at < m_text.size() && (m_text[m_at] == '+' || m_text[m_at] == '-')) ++m_at;
            if (!digits()) return false;
        }
        return true;
    }

    bool literal(std::string_view word) {
        if (m_text.substr(m_at, word.size()) != word) return false;
        m_at += word.size();
        return true;
    }

    bool skipValue(int depth) {
        if (depth > depthLimit) return false;
        skipSpace();
        if (m_at >= m_text.size()) return false;
        switch (m_text[m_at]) {
        case '"':
            return string(nullptr);
        case '{':
            return object([&](std::string_view) { return skipValue(depth + 1); }, false);
        case '[':
            return array([&] { return skipValue(depth + 1); });
        case 't':
            return literal("true");
        case 'f':
            return literal("false");
        case 'n':
            return literal("null");
        default:
            return number();
        }
    }

    std::string_view m_text;
    std::size_t m_at = 0;
    bool m_sawNetwork = false;
};

} // namespace

namespace KeptReports {

NimbReport report(const SavedReport& saved) {
    NimbReport rebuilt = NimbReport::parse(saved.snapshot, saved.address, saved.title);
    rebuilt.blockingOn = saved.blockingOn;
    return rebuilt;
}

Dossier::Reach reach(const SavedReport& saved) {
    // The reach reads only the hosts, the address and the blocking flag.
    NimbReport hosts;
    hosts.address = saved.address;
    hosts.blockingOn = saved.blockingOn;
    if (QuickHosts(saved.snapshot).read(hosts)) return NimbReportPage::reading(hosts);
    return NimbReportPage::reading(report(saved));
}

std::string site(const SavedReport& saved) {
    return NimbReportPage::site(saved.address);
}

SavedReport keep(Preferences& preferences, const NimbReport& report, Date at) {
    // The record as it will read back: the store keeps whole seconds.
    Date saved{std::trunc(at.seconds)};
    SavedReport kept{preferences.newIdentifier(),
                     saved,
                     report.address,
                     report.title,
                     report.blockingOn,
                     report.snapshot()};
    std::vector<SavedReport> reports = preferences.savedReports();
    // Only the first `limit` are written; reading more than that back would be wasted work.
    if (reports.size() >= SavedReport::limit) reports.resize(SavedReport::limit - 1);
    reports.insert(reports.begin(), kept);
    preferences.setSavedReports(reports);
    return kept;
}

std::optional<SavedReport> find(const Preferences& preferences, std::string_view id) {
    std::vector<SavedReport> reports = preferences.savedReports();
    auto found =
        std::find_if(reports.begin(), reports.end(), [&](const SavedReport& r) { return r.id == id; });
    if (found == reports.end()) return std::nullopt;
    return std::move(*found);
}

std::optional<SavedReport> forget(Preferences& preferences, std::string_view id) {
    std::vector<SavedReport> reports = preferences.savedReports();
    auto found =
        std::find_if(reports.begin(), reports.end(), [&](const SavedReport& r) { return r.id == id; });
    if (found == reports.end()) return std::nullopt;
    SavedReport removed = std::move(*found);
    reports.erase(found);
    preferences.setSavedReports(reports);
    return removed;
}

} // namespace KeptReports

} // namespace nimb
