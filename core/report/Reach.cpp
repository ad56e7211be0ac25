// The reach of a page, its heat, score and colour, and the heat scale under the score. The two
// sentences that explain the reading are each language's dossier words.

#include "base/Domain.h"
#include "blocker/ContentBlocker.h"
#include "pages/PageFrame.h"
#include "report/Dossier.h"
#include "report/DossierVocabulary.h"
#include "report/Evidence.h"
#include "report/NimbReport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace nimb {

namespace {

// A breadth of 23 equivalent third parties at the deepest depth fills a depth's band.
const double fullBand = std::log2(24.0);

std::string hexColour(int red, int green, int blue) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", red, green, blue);
    return text;
}

// Hashes text of either kind alike, so that a map keyed by strings can be asked with a view.
struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};

} // namespace

namespace Dossier {

namespace {

// The reach of the hosts that `hosts` hands, one by one with whether it was blocked, to the visitor it
// is given.
template <class Hosts>
Reach reachOf(Hosts hosts, std::string_view address) {
    const std::string site = Domain::registrable(Domain::hostOf(address));

    // Third parties are one per named company and one per unidentified registrable domain. They are
    // walked companies first, in name order, then domains in order: the order of the keys "co:" + name
    // and "dn:" + domain.
    std::map<std::string_view, Depth> companies;
    std::unordered_set<std::string_view> reachedCompanies;
    // Each unidentified domain, with whether any of its hosts got through.
    std::unordered_map<std::string, bool, TextHash, std::equal_to<>> domains;
    std::unordered_set<std::string, TextHash, std::equal_to<>> houseDomains;
    Depth houseDepth = Depth::served;
    std::string_view houseName;

    std::string buffer;
    auto visit = [&](std::string_view host, bool wasBlocked) {
        std::string_view domain = Domain::registrable(host, buffer);
        if (domain == site) return; // the site itself

        const Entry* entry = entryForHost(host);
        if (!entry) {
            // Most unidentified domains come with several hosts: the name is copied only the first time.
            if (auto found = domains.find(domain); found != domains.end())
                found->second = found->second || !wasBlocked;
            else
                domains.emplace(std::string(domain), !wasBlocked);
            return;
        }
        Depth d = depth(entry->capabilities);
        if (std::find(entry->siblings.begin(), entry->siblings.end(), site) != entry->siblings.end()) {
            if (!houseDomains.contains(domain)) houseDomains.emplace(domain);
            if (d > houseDepth) {
                houseDepth = d;
                houseName = entry->company.name;
            }
            return;
        }
        std::string_view name = entry->company.name;
        if (!wasBlocked) reachedCompanies.insert(name);
        if (auto found = companies.find(name); found != companies.end()) {
            found->second = std::max(found->second, d);
        } else if (d != Depth::served) { // a company that only delivers bytes is not counted
            companies.emplace(name, d);
        }
    };
    hosts(visit);

    Reach result;
    result.own = static_cast<std::int64_t>(houseDomains.size());
    result.unknown = static_cast<std::int64_t>(domains.size());

    auto count = [&result](Depth d, bool gotThrough, std::optional<std::string> name) {
        result.atDepth[d] += 1;
        result.companies += 1;
        if (d != Depth::counted) result.saw += 1;
        if (gotThrough)
            result.gotThrough += 1;
        else
            result.blocked += 1;
        // Strictly deeper only: among equals the first in the walk names the depth.
        if (d > result.outsideDeepest) {
            result.outsideDeepest = d;
            result.deepestName = std::move(name);
            result.deepestWasBlocked = !gotThrough;
        }
    };
    for (const auto& [name, d] : companies)
        count(d, reachedCompanies.contains(name), std::string(name));
    // Unidentified domains all sit at `thisPage`; among them only the first in order can name the
    // depth, so they need counting, not sorting.
    const std::pair<const std::string, bool>* first = nullptr;
    for (const auto& domain : domains) {
        if (!first || domain.first < first->first) first = &domain;
    }
    if (first) count(Depth::thisPage, first->second, std::nullopt);
    for (const auto& domain : domains) {
        if (&domain != first) count(Depth::thisPage, domain.second, std::nullopt);
    }

    result.deepest = result.outsideDeepest;
    if (houseDepth >= Depth::thisBrowser) {
        result.houseName = std::string(houseName);
        result.houseDepth = houseDepth;
        result.deepest = std::max(result.outsideDeepest, houseDepth);
    }
    return result;
}

} // namespace

Reach reach(const std::vector<std::string>& blocked, const std::vector<std::string>& allowed,
            std::string_view address) {
    return reachOf(
        [&](auto& visit) {
            for (const std::string& host : blocked)
                visit(host, true);
            for (const std::string& host : allowed)
                visit(host, false);
        },
        address);
}

Reach reach(const std::vector<std::string>& hosts, std::string_view address) {
    return reach({}, hosts, address);
}

double Reach::heat() const {
    const std::int64_t d = rawValue(deepest);
    if (d == 0) return 0;
    double breadth = 0;
    for (const auto& [at, count] : atDepth)
        breadth += std::ldexp(static_cast<double>(count), -static_cast<int>(d - rawValue(at)));
    if (houseName) breadth += std::ldexp(1.0, -static_cast<int>(d - rawValue(houseDepth)));
    double within = std::min(std::log2(std::max(breadth, 1.0) + 1) / fullBand, 1.0);
    return std::min((static_cast<double>(d) - 1 + within) / 5, 1.0);
}

std::int64_t Reach::score() const {
    return static_cast<std::int64_t>(std::round(heat() * 100));
}

std::string colour(double heat) {
    double x = std::isnan(heat) ? 0 : std::clamp(heat, 0.0, 1.0);
    const HeatStop* lower = &heatStops.back();
    const HeatStop* upper = &heatStops.back();
    for (std::size_t i = 1; i < heatStops.size(); ++i) {
        if (heatStops[i].position >= x) {
            lower = &heatStops[i - 1];
            upper = &heatStops[i];
            break;
        }
    }
    double span = upper->position - lower->position;
    double t = span > 0 ? (x - lower->position) / span : 0;
    auto channel = [t](int from, int to) { return static_cast<int>(std::round(from + (to - from) * t)); };
    return hexColour(channel(lower->red, upper->red), channel(lower->green, upper->green),
                     channel(lower->blue, upper->blue));
}

std::string heatScale(const Reach& reach) {
    std::string marker;
    if (reach.heat() > 0) {
        std::int64_t at = std::clamp<std::int64_t>(reach.score(), 1, 98);
        marker = "<div class=\"mark\" style=\"left:" + std::to_string(at) + "%\"></div>";
    }
    std::string labels;
    for (Depth d : allCases<Depth>) {
        if (d == Depth::served) continue;
        labels += "<span>" + BookmarksPage::escape(dossierWords().depth(d)) + "</span>";
    }
    return "  <div class=\"scale\"><div class=\"bar\"></div>" + marker + "</div>\n" +
           "  <div class=\"ticks\">" + labels + "</div>\n";
}

std::string heatScaleStyle() {
    std::string out = ":root { --heat-ramp:linear-gradient(to right, ";
    for (std::size_t i = 0; i < heatStops.size(); ++i) {
        const HeatStop& stop = heatStops[i];
        if (i) out += ", ";
        out += hexColour(stop.red, stop.green, stop.blue);
        out += ' ';
        out += std::to_string(std::lround(stop.position * 100));
        out += '%';
    }
    out += "); }\n";
    out += PageStyles::heatScale;
    return out;
}

} // namespace Dossier

namespace NimbReportPage {

Dossier::Reach reading(const NimbReport& report) {
    // With blocking off nothing was stopped: the blocked hosts count as allowed.
    const bool stopped = report.blockingOn;
    return Dossier::reachOf(
        [&](auto& visit) {
            for (const NimbReport::Blocked& entry : report.blocked)
                visit(entry.host, stopped);
            for (const std::string& host : report.otherHosts)
                visit(host, false);
        },
        report.address);
}

} // namespace NimbReportPage

} // namespace nimb
