#include "report/KeptReports.h"

#include "base/JsonReader.h"
#include "preferences/Preferences.h"
#include "report/Dossier.h"
#include "report/NimbReport.h"
#include "report/NimbReportPage.h"
#include "report/NimbReportReaders.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace nimb {

static_assert(SavedReport::limit == Preferences::savedReportsCap);

namespace {

// The kept-reports list scores every kept report each time it is drawn, and a snapshot can be tens of
// kilobytes of walls and storage that the score never looks at. `QuickHosts`, a handler on the quick
// JSON reader, takes just the hosts out of a snapshot in the plain form the snapshot writer makes
// (integer counts, hosts of at most 120 bytes, each member once), letting the reader pass over
// everything else. Anything else it declines, as the reader declines what is not plainly well-formed,
// and the report is read the long way; so the two readings never differ.
class QuickHosts {
public:
    explicit QuickHosts(NimbReport& report) : m_report(report) {}

    // The report's blocked hosts (in report order) and other hosts; false when declined.
    bool read(std::string_view snapshot) {
        if (!JsonReader::read(snapshot, NimbReportReaders::quickLimits, *this)) return false;
        // Each host once: of two members with one name the later would stand, which is the long way's to
        // decide.
        std::vector<std::string_view> names;
        names.reserve(m_report.blocked.size());
        for (const auto& blocked : m_report.blocked)
            names.push_back(blocked.host);
        std::sort(names.begin(), names.end());
        if (std::adjacent_find(names.begin(), names.end()) != names.end()) return false;
        // The snapshot lists both in report order already; a changed one is put back in it.
        auto order = [](const auto& a, const auto& b) {
            return a.requests != b.requests ? a.requests > b.requests : a.host < b.host;
        };
        if (!std::is_sorted(m_report.blocked.begin(), m_report.blocked.end(), order))
            std::sort(m_report.blocked.begin(), m_report.blocked.end(), order);
        auto& other = m_report.otherHosts;
        if (!std::is_sorted(other.begin(), other.end())) std::sort(other.begin(), other.end());
        other.erase(std::unique(other.begin(), other.end()), other.end());
        return true;
    }

    // The reader's events. Any answer of false declines the snapshot.
    bool null() { return scalar(); }
    bool boolean(bool) { return scalar(); }
    bool number_integer(std::int64_t value) { return requests(value); }
    // The reader's integers have at most 18 digits.
    bool number_unsigned(std::uint64_t value) { return requests(static_cast<std::int64_t>(value)); }
    bool string(std::string& value) {
        if (place() != Place::other) return scalar();
        if (value.size() > hostLimit) return false;
        m_report.otherHosts.push_back(value);
        return true;
    }
    bool key(std::string& name) {
        switch (place()) {
        case Place::root:
            m_next = name == "network" ? Place::network : Place::skipped;
            return true;
        case Place::network:
            m_next = name == "blocked" ? Place::blocked : name == "other" ? Place::other : Place::skipped;
            return true;
        case Place::blocked:
            m_host.swap(name);
            return m_host.size() <= hostLimit;
        default:
            return true;
        }
    }
    bool start_object(std::size_t) {
        if (m_depth == 0) return enter(Place::root);
        return container(m_next == Place::network || m_next == Place::blocked);
    }
    bool start_array(std::size_t) { return m_depth != 0 && container(m_next == Place::other); }
    bool end_object() { return leave(); }
    bool end_array() { return leave(); }
    bool skipsContents() const { return place() == Place::skipped; }

private:
    // Where in the snapshot a container is, or a value in it.
    enum class Place {
        root,
        network,
        blocked,
        other,
        skipped,
    };

    static constexpr std::size_t hostLimit = 120; // bytes; a longer host may need cutting

    Place place() const { return m_depth == 0 ? Place::root : m_open[m_depth - 1]; }

    bool enter(Place place) {
        m_open[m_depth++] = place;
        m_next = Place::skipped;
        return true;
    }
    bool leave() {
        --m_depth;
        return true;
    }
    // A container as a member's value, of the shape that member needs when it `fits`.
    bool container(bool fits) {
        if (place() != Place::root && place() != Place::network) return false; // a host or a count
        if (m_next == Place::skipped) return enter(Place::skipped);
        if (!fits) return false;
        // A member given twice: the later stands, which is the long way's to decide.
        bool& seen = m_next == Place::network   ? m_sawNetwork
                     : m_next == Place::blocked ? m_sawBlocked
                                                : m_sawOther;
        if (std::exchange(seen, true)) return false;
        return enter(m_next);
    }
    // A scalar is skipped as the value of a member that is not read; anywhere else it is declined.
    bool scalar() const {
        return m_depth != 0 && place() != Place::blocked && place() != Place::other &&
               m_next == Place::skipped;
    }
    bool requests(std::int64_t value) {
        if (place() != Place::blocked) return scalar();
        m_report.blocked.push_back({std::move(m_host), std::max<std::int64_t>(value, 1), {}});
        return true;
    }

    NimbReport& m_report;
    // The containers read: the snapshot, its network, and its blocked or other hosts, or one skipped
    // in place of either of the last two.
    std::array<Place, 3> m_open{};
    std::size_t m_depth = 0;
    Place m_next = Place::skipped; // where the value of the member just named is
    std::string m_host;
    bool m_sawNetwork = false;
    bool m_sawBlocked = false;
    bool m_sawOther = false;
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
    if (QuickHosts(hosts).read(saved.snapshot)) return NimbReportPage::reading(hosts);
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
