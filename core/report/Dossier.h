#pragma once

// The dossier: the built-in catalogue that puts a company's name to a host, with what the company
// sells, who owns it, how deep into the user's life its knowledge reaches and where that claim was
// sourced. It is compiled-in constant data (the tables live in DossierCatalogue.cpp); nothing in it
// is downloaded or edited at run time, and every function here is pure.
//
// The catalogue is written in English. The words that describe it, and its prose in the other
// languages, come from DossierVocabulary (DossierVocabulary.h).

#include "base/Enumeration.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nimb::Dossier {

// The month the catalogue was last revised.
inline constexpr std::string_view revised = "2026-08";

// How far a company's knowledge of the user reaches. Ordered by raw value, shallowest first.
enum class Depth : std::int64_t {
    served = 0,
    counted = 1,
    thisPage = 2,
    thisBrowser = 3,
    acrossSites = 4,
    acrossLives = 5,
};

[[nodiscard]] constexpr std::int64_t rawValue(Depth depth) {
    return static_cast<std::int64_t>(depth);
}
// The depth with this raw value; none outside 0...5.
[[nodiscard]] std::optional<Depth> depthFromRaw(std::int64_t raw);
// Its English phrase ("sent the page", "counted", ...).
[[nodiscard]] std::string_view label(Depth depth);

// What a company sells. Raw values equal the case names.
enum class Capability {
    crossSite,
    crossDevice,
    offlineJoin,
    bidBroadcast,
    serverSideBidding,
    adDelivery,
    recommendation,
    viewability,
    adSecurity,
    sessionReplay,
    behaviouralProfile,
    experimentation,
    audienceMeasurement,
    contentAnalytics,
    socialDistribution,
    socialLogin,
    consentWall,
    interruption,
    appBackend,
    contentDelivery,
    tagDelivery,
    fontDelivery,
};

[[nodiscard]] constexpr std::string_view rawValue(Capability capability) {
    switch (capability) {
    case Capability::crossSite:
        return "crossSite";
    case Capability::crossDevice:
        return "crossDevice";
    case Capability::offlineJoin:
        return "offlineJoin";
    case Capability::bidBroadcast:
        return "bidBroadcast";
    case Capability::serverSideBidding:
        return "serverSideBidding";
    case Capability::adDelivery:
        return "adDelivery";
    case Capability::recommendation:
        return "recommendation";
    case Capability::viewability:
        return "viewability";
    case Capability::adSecurity:
        return "adSecurity";
    case Capability::sessionReplay:
        return "sessionReplay";
    case Capability::behaviouralProfile:
        return "behaviouralProfile";
    case Capability::experimentation:
        return "experimentation";
    case Capability::audienceMeasurement:
        return "audienceMeasurement";
    case Capability::contentAnalytics:
        return "contentAnalytics";
    case Capability::socialDistribution:
        return "socialDistribution";
    case Capability::socialLogin:
        return "socialLogin";
    case Capability::consentWall:
        return "consentWall";
    case Capability::interruption:
        return "interruption";
    case Capability::appBackend:
        return "appBackend";
    case Capability::contentDelivery:
        return "contentDelivery";
    case Capability::tagDelivery:
        return "tagDelivery";
    case Capability::fontDelivery:
        return "fontDelivery";
    }
    return {};
}

// How deep the capability reaches.
[[nodiscard]] Depth depth(Capability capability);
// The greatest depth among the capabilities; `served` for none.
[[nodiscard]] Depth depth(const std::vector<Capability>& capabilities);
// The English verb phrase used after a company's name ("knows you on other sites").
[[nodiscard]] std::string_view act(Capability capability);

// The heading under which an entry is filed on the report page. Raw values equal the case names.
enum class Group {
    identity,
    auction,
    profile,
    measurement,
    advertising,
    walls,
    ownGround,
    backend,
    dead,
    ordinary,
    unknown,
};

[[nodiscard]] constexpr std::string_view rawValue(Group group) {
    switch (group) {
    case Group::identity:
        return "identity";
    case Group::auction:
        return "auction";
    case Group::profile:
        return "profile";
    case Group::measurement:
        return "measurement";
    case Group::advertising:
        return "advertising";
    case Group::walls:
        return "walls";
    case Group::ownGround:
        return "ownGround";
    case Group::backend:
        return "backend";
    case Group::dead:
        return "dead";
    case Group::ordinary:
        return "ordinary";
    case Group::unknown:
        return "unknown";
    }
    return {};
}

// The English heading ("Work out who you are").
[[nodiscard]] std::string_view displayName(Group group);

// The order in which groups are presented; it differs from declaration order in the last four places.
inline constexpr std::array<Group, 11> ranked = {
    Group::identity,  Group::auction, Group::profile, Group::measurement, Group::advertising, Group::walls,
    Group::ownGround, Group::dead,    Group::unknown, Group::backend,     Group::ordinary,
};

// Who a company is. `name` is also the key that joins entries into companies.
struct Company {
    std::string name = {};
    std::optional<std::string> owner = {};
    // Free text dating the ownership or the name ("2020", "renamed from Casale Media, 2015").
    std::optional<std::string> since = {};
    // The address of the published material the attribution rests on.
    std::string sourced = {};
    // A month stamp ("2026-08") when the attribution was verified, else "needs-check".
    std::string checked = {};

    // The name, followed by the owner in brackets when the owner is someone other than the company itself.
    [[nodiscard]] std::string attribution() const;

    bool operator==(const Company&) const = default;
};

// A named relation to another company ("former name", "merged with, 2020", "parent · 2022").
struct Tie {
    std::string company = {};
    std::string how = {};

    bool operator==(const Tie&) const = default;
};

// One catalogue row.
struct Entry {
    // Lower-case host names or suffixes the company answers on; a host matches when it equals one or
    // ends with "." followed by one.
    std::vector<std::string> hosts = {};
    Company company = {};
    Group group = Group::unknown;
    std::vector<Capability> capabilities = {};
    // A phrase quoted from the company's own description of its product.
    std::optional<std::string> theirWords = {};
    std::optional<std::string> note = {};
    // When and why the company or product stopped existing.
    std::optional<std::string> retired = {};
    // Registrable domains of sites the company itself runs under other names: on those sites its hosts
    // are the site's own house, not a third party.
    std::vector<std::string> siblings = {};
    std::vector<Tie> ties = {};
    // File names (and one path fragment) of the company's script as it arrives in a page.
    std::vector<std::string> files = {};

    bool operator==(const Entry&) const = default;
};

// A brand top-level domain: only its holder may register names under it.
struct BrandTLD {
    std::string tld;    // the label, lower case, without a dot
    std::string holder; // the registrant's name as registered
    std::string sourced;

    bool operator==(const BrandTLD&) const = default;
};

// A storage-key prefix that betrays a measurement library, and a host of that library's maker.
struct SdkKey {
    std::string prefix;
    std::string host;

    bool operator==(const SdkKey&) const = default;
};

// The catalogue, in catalogue order. The tables live for the whole run, so pointers into them (as the
// look-ups below answer) never dangle.
[[nodiscard]] const std::vector<Entry>& entries();
[[nodiscard]] const std::vector<SdkKey>& sdkKeys();
[[nodiscard]] const std::vector<BrandTLD>& brandTLDs();

// The entry that answers for a host (case and one trailing dot ignored): the host itself, else the
// longest listed suffix of it at a label boundary. Null when none does.
[[nodiscard]] const Entry* entryForHost(std::string_view host);
// The group of that entry, or `unknown`.
[[nodiscard]] Group groupForHost(std::string_view host);

// The companies related to an entry: its parent, its own ties, then every other entry under the same
// owner ("same owner"), each company once and never the entry itself; how each is related is said in
// the current language.
[[nodiscard]] std::vector<Tie> connections(const Entry& entry);

// One entry per company name, in catalogue order; later entries of a name are merged into the first:
// their hosts, new capabilities and new file names are added, and their words, note and retirement fill
// only what the first left empty.
[[nodiscard]] std::vector<Entry> companies();
// The same over any list of entries.
[[nodiscard]] std::vector<Entry> companies(const std::vector<Entry>& list);

// The entry of the library whose storage-key prefix `key` begins with (case-sensitive; the first
// prefix that matches decides). Null when no prefix matches or its maker has no entry.
[[nodiscard]] const Entry* sdkForKey(std::string_view key);

// The brand top-level domain of a host's last label. Null for a host with no dot.
[[nodiscard]] const BrandTLD* brandTldOfHost(std::string_view host);

} // namespace nimb::Dossier

namespace nimb {
template <>
inline constexpr auto allCases<Dossier::Depth> =
    std::array{Dossier::Depth::served,      Dossier::Depth::counted,     Dossier::Depth::thisPage,
               Dossier::Depth::thisBrowser, Dossier::Depth::acrossSites, Dossier::Depth::acrossLives};

template <>
inline constexpr auto allCases<Dossier::Capability> = std::array{
    Dossier::Capability::crossSite,           Dossier::Capability::crossDevice,
    Dossier::Capability::offlineJoin,         Dossier::Capability::bidBroadcast,
    Dossier::Capability::serverSideBidding,   Dossier::Capability::adDelivery,
    Dossier::Capability::recommendation,      Dossier::Capability::viewability,
    Dossier::Capability::adSecurity,          Dossier::Capability::sessionReplay,
    Dossier::Capability::behaviouralProfile,  Dossier::Capability::experimentation,
    Dossier::Capability::audienceMeasurement, Dossier::Capability::contentAnalytics,
    Dossier::Capability::socialDistribution,  Dossier::Capability::socialLogin,
    Dossier::Capability::consentWall,         Dossier::Capability::interruption,
    Dossier::Capability::appBackend,          Dossier::Capability::contentDelivery,
    Dossier::Capability::tagDelivery,         Dossier::Capability::fontDelivery,
};

template <>
inline constexpr auto allCases<Dossier::Group> = std::array{
    Dossier::Group::identity,    Dossier::Group::auction,     Dossier::Group::profile,
    Dossier::Group::measurement, Dossier::Group::advertising, Dossier::Group::walls,
    Dossier::Group::ownGround,   Dossier::Group::backend,     Dossier::Group::dead,
    Dossier::Group::ordinary,    Dossier::Group::unknown,
};
} // namespace nimb

// ---------------------------------------------------------------------------------------------------
// Reach and score
//
// (Reach.cpp: `Dossier::Reach`, the reach of a page and its heat, score and colour. The headline and
// the score sentence are DossierVocabulary members, written in each language's file.)
// ---------------------------------------------------------------------------------------------------

#include <map>

namespace nimb {
struct NimbReport;
} // namespace nimb

namespace nimb::Dossier {

// How far a page's third parties (and the site's own company, when it is in that business) can follow
// the user: the census of companies by depth, and what blocking stopped.
struct Reach {
    // The deepest reach, counting the site's own company when it reaches `thisBrowser` or deeper.
    Depth deepest = Depth::served;
    // The deepest reach among third parties only.
    Depth outsideDeepest = Depth::served;
    // Third parties at each depth; `served` is never a key.
    std::map<Depth, std::int64_t> atDepth;
    // Named companies reaching past `served`, plus unidentified domains of third parties.
    std::int64_t companies = 0;
    // Those of them at `thisPage` or deeper.
    std::int64_t saw = 0;
    // Those none of whose requests got through, and those with at least one allowed host.
    std::int64_t blocked = 0;
    std::int64_t gotThrough = 0;
    // The company that set `outsideDeepest`; none for an unidentified domain or no third party.
    std::optional<std::string> deepestName;
    bool deepestWasBlocked = false;
    // Distinct registrable domains of third-party hosts no entry names, and of the house's hosts.
    std::int64_t unknown = 0;
    std::int64_t own = 0;
    // The company that owns the site, when it lists the site among its siblings and reaches
    // `thisBrowser` or deeper; `houseDepth` is its depth, else `served`.
    std::optional<std::string> houseName;
    Depth houseDepth = Depth::served;

    // 0 to 1: each depth owns a band a fifth wide, and breadth moves the heat within its band.
    [[nodiscard]] double heat() const;
    // The heat out of 100, halves rounded up.
    [[nodiscard]] std::int64_t score() const;

    bool operator==(const Reach&) const = default;
};

// The reach of a page that asked for `blocked` hosts (stopped) and `allowed` hosts (let through).
// Hosts of the page's own registrable domain count for nothing.
[[nodiscard]] Reach reach(const std::vector<std::string>& blocked, const std::vector<std::string>& allowed,
                          std::string_view address);
// The same with every host allowed: the live count a page's shield is coloured by.
[[nodiscard]] Reach reach(const std::vector<std::string>& hosts, std::string_view address);

// One stop of the heat colour ramp: a position from 0 to 1 and an sRGB colour.
struct HeatStop {
    double position;
    int red;
    int green;
    int blue;
};

inline constexpr std::array<HeatStop, 6> heatStops = {{
    {0.00, 110, 110, 115},
    {0.07, 154, 154, 160},
    {0.24, 255, 216, 77},
    {0.48, 255, 165, 61},
    {0.72, 255, 107, 51},
    {1.00, 255, 45, 31},
}};

// The ramp's colour at `heat` (clamped to 0...1) as "#RRGGBB", upper-case.
[[nodiscard]] std::string colour(double heat);

// The heat scale under the score: the gradient bar with a marker at the score (none at heat 0), then
// the depth labels from `counted` to `acrossLives`. Two indented lines, each ending in a line feed.
[[nodiscard]] std::string heatScale(const Reach& reach);
// The style rules of .scale, .bar, .mark and .ticks that the markup above needs: the ramp through
// `heatStops` as the custom property --heat-ramp, then PageStyles::heatScale.
[[nodiscard]] std::string heatScaleStyle();

} // namespace nimb::Dossier

namespace nimb::NimbReportPage {

// The reach of a report, live or kept: blocked hosts as blocked and other hosts as allowed, or all of
// them allowed when blocking was off. The site's own other hosts take no part.
[[nodiscard]] Dossier::Reach reading(const NimbReport& report);

} // namespace nimb::NimbReportPage
