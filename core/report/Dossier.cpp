#include "report/Dossier.h"

#include "base/Text.h"
#include "report/DossierVocabulary.h"

#include <algorithm>
#include <unordered_map>

namespace nimb::Dossier {

std::optional<Depth> depthFromRaw(std::int64_t raw) {
    for (Depth depth : allCases<Depth>) {
        if (rawValue(depth) == raw) return depth;
    }
    return std::nullopt;
}

std::string_view label(Depth depth) {
    switch (depth) {
    case Depth::served:
        return "sent the page";
    case Depth::counted:
        return "counted";
    case Depth::thisPage:
        return "saw this visit";
    case Depth::thisBrowser:
        return "knows this browser";
    case Depth::acrossSites:
        return "knows you on other sites";
    case Depth::acrossLives:
        return "knows you off the web";
    }
    return {};
}

Depth depth(Capability capability) {
    switch (capability) {
    case Capability::crossSite:
        return Depth::acrossSites;
    case Capability::crossDevice:
    case Capability::offlineJoin:
        return Depth::acrossLives;
    case Capability::bidBroadcast:
    case Capability::serverSideBidding:
    case Capability::viewability:
    case Capability::experimentation:
    case Capability::contentAnalytics:
    case Capability::socialDistribution:
        return Depth::thisPage;
    case Capability::adDelivery:
    case Capability::recommendation:
    case Capability::adSecurity:
    case Capability::audienceMeasurement:
    case Capability::consentWall:
    case Capability::interruption:
        return Depth::counted;
    case Capability::sessionReplay:
    case Capability::behaviouralProfile:
    case Capability::socialLogin:
    case Capability::tagDelivery:
        return Depth::thisBrowser;
    case Capability::appBackend:
    case Capability::contentDelivery:
    case Capability::fontDelivery:
        return Depth::served;
    }
    return Depth::served;
}

Depth depth(const std::vector<Capability>& capabilities) {
    Depth deepest = Depth::served;
    for (Capability capability : capabilities)
        deepest = std::max(deepest, depth(capability));
    return deepest;
}

std::string_view act(Capability capability) {
    switch (capability) {
    case Capability::crossSite:
        return "knows you on other sites";
    case Capability::crossDevice:
        return "links this browser to your phone";
    case Capability::offlineJoin:
        return "joins you to records off the web";
    case Capability::bidBroadcast:
        return "bid on your visit";
    case Capability::serverSideBidding:
        return "bid on you, server to server";
    case Capability::adDelivery:
        return "served the ads";
    case Capability::recommendation:
        return "the paid links";
    case Capability::viewability:
        return "measured how far you scrolled";
    case Capability::adSecurity:
        return "read every ad you were shown";
    case Capability::sessionReplay:
        return "replayed your session";
    case Capability::behaviouralProfile:
        return "keeps a profile of you";
    case Capability::experimentation:
        return "tested a variant on you";
    case Capability::audienceMeasurement:
        return "counted you";
    case Capability::contentAnalytics:
        return "measured what held you";
    case Capability::socialDistribution:
        return "chooses what gets posted";
    case Capability::socialLogin:
        return "holds your sign-in";
    case Capability::consentWall:
        return "the consent modal";
    case Capability::interruption:
        return "the nag";
    case Capability::appBackend:
        return "this site's own back end";
    case Capability::contentDelivery:
        return "served content";
    case Capability::tagDelivery:
        return "loaded every other tag here";
    case Capability::fontDelivery:
        return "served a font";
    }
    return {};
}

std::string_view displayName(Group group) {
    switch (group) {
    case Group::identity:
        return "Work out who you are";
    case Group::auction:
        return "Bought and sold your visit";
    case Group::profile:
        return "Keep a file on you";
    case Group::measurement:
        return "Count you";
    case Group::advertising:
        return "Serve and check the ads";
    case Group::walls:
        return "Get in your way";
    case Group::ownGround:
        return "This site, under another name";
    case Group::backend:
        return "Where this site keeps its own data";
    case Group::dead:
        return "Dead tags, still firing";
    case Group::ordinary:
        return "Ordinary";
    case Group::unknown:
        return "Unidentified";
    }
    return {};
}

std::string Company::attribution() const {
    // An empty owner names nobody, so it is left out like an absent one rather than shown as "()".
    if (!owner || owner->empty() || *owner == name) return name;
    return name + " (" + *owner + ")";
}

namespace {

// Look-up keys are views into the catalogue's own strings, which live as long as the program.
using HostMap = std::unordered_map<std::string_view, const Entry*>;

struct HostIndex {
    HostMap entryByHost;
    // No listed host is longer than this, so longer text is never looked up.
    std::size_t longest = 0;
};

const HostIndex& hostIndex() {
    static const HostIndex index = [] {
        HostIndex built;
        for (const Entry& entry : entries()) {
            for (const std::string& host : entry.hosts) {
                built.entryByHost.insert_or_assign(std::string_view(host), &entry);
                built.longest = std::max(built.longest, host.size());
            }
        }
        return built;
    }();
    return index;
}

// The host lower-cased and without one trailing dot. Text already in lower-case ASCII is answered as
// it stands; anything else is lower-cased into `storage`.
std::string_view normalisedHost(std::string_view host, std::string& storage) {
    if (text::isAscii(host)) {
        if (std::any_of(host.begin(), host.end(), [](char c) { return c >= 'A' && c <= 'Z'; })) {
            storage = text::asciiLowercased(host);
            host = storage;
        }
    } else {
        storage = text::lowercased(host);
        host = storage;
    }
    if (!host.empty() && host.back() == '.') host.remove_suffix(1);
    return host;
}

std::string_view rootOf(const Entry& entry) {
    return entry.company.owner ? std::string_view(*entry.company.owner)
                               : std::string_view(entry.company.name);
}

template <class T>
void appendMissing(std::vector<T>& into, const std::vector<T>& from) {
    for (const T& item : from) {
        if (std::find(into.begin(), into.end(), item) == into.end()) into.push_back(item);
    }
}

} // namespace

const Entry* entryForHost(std::string_view host) {
    std::string storage;
    std::string_view candidate = normalisedHost(host, storage);
    if (candidate.empty()) return nullptr;

    const HostIndex& index = hostIndex();
    for (;;) {
        if (candidate.size() <= index.longest) {
            if (auto found = index.entryByHost.find(candidate); found != index.entryByHost.end())
                return found->second;
        }
        // The host without its first label: "a.b.example.com", then "b.example.com", ... then "com".
        const std::size_t dot = candidate.find('.');
        if (dot == std::string_view::npos) return nullptr;
        candidate.remove_prefix(dot + 1);
        if (candidate.empty()) return nullptr;
    }
}

Group groupForHost(std::string_view host) {
    const Entry* entry = entryForHost(host);
    return entry ? entry->group : Group::unknown;
}

std::vector<Tie> connections(const Entry& entry) {
    std::vector<Tie> ties;
    std::vector<std::string_view> named = {entry.company.name};
    const auto add = [&](const std::string& company, std::string how) {
        if (company.empty() || std::find(named.begin(), named.end(), company) != named.end()) return;
        named.push_back(company);
        ties.push_back({company, std::move(how)});
    };

    const DossierVocabulary& words = dossierWords();
    if (const auto& owner = entry.company.owner) {
        std::string how = words.isParent();
        if (entry.company.since) how += " \u00b7 " + words.prose(*entry.company.since);
        add(*owner, std::move(how));
    }
    for (const Tie& tie : entry.ties)
        add(tie.company, words.prose(tie.how));

    const std::string_view root = rootOf(entry);
    for (const Entry& other : entries()) {
        if (other.company.name != entry.company.name && rootOf(other) == root)
            add(other.company.name, words.sameOwner());
    }
    return ties;
}

std::vector<Entry> companies() {
    return companies(entries());
}

std::vector<Entry> companies(const std::vector<Entry>& list) {
    std::vector<Entry> merged;
    std::unordered_map<std::string_view, std::size_t> position;
    for (const Entry& entry : list) {
        const auto [found, isNew] = position.try_emplace(entry.company.name, merged.size());
        if (isNew) {
            merged.push_back(entry);
            continue;
        }
        Entry& first = merged[found->second];
        first.hosts.insert(first.hosts.end(), entry.hosts.begin(), entry.hosts.end());
        appendMissing(first.capabilities, entry.capabilities);
        if (!first.theirWords) first.theirWords = entry.theirWords;
        if (!first.note) first.note = entry.note;
        if (!first.retired) first.retired = entry.retired;
        appendMissing(first.files, entry.files);
    }
    return merged;
}

const Entry* sdkForKey(std::string_view key) {
    for (const SdkKey& sdk : sdkKeys()) {
        if (text::startsWith(key, sdk.prefix)) return entryForHost(sdk.host);
    }
    return nullptr;
}

const BrandTLD* brandTldOfHost(std::string_view host) {
    static const std::unordered_map<std::string_view, const BrandTLD*> byLabel = [] {
        std::unordered_map<std::string_view, const BrandTLD*> built;
        for (const BrandTLD& brand : brandTLDs())
            built.insert_or_assign(std::string_view(brand.tld), &brand);
        return built;
    }();

    std::string storage;
    const std::string_view normalised = normalisedHost(host, storage);
    const std::size_t dot = normalised.rfind('.');
    if (dot == std::string_view::npos) return nullptr;
    const auto found = byLabel.find(normalised.substr(dot + 1));
    return found == byLabel.end() ? nullptr : found->second;
}

} // namespace nimb::Dossier
