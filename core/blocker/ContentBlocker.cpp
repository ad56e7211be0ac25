#include "blocker/ContentBlocker.h"

#include "base/Domain.h"
#include "base/Json.h"
#include "base/Text.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>

namespace nimb::ContentBlocker {

namespace {

// Matches the host itself or any subdomain of it, over http or https; and over ws or wss. A user name
// (and password) may stand before it: "http://someone@host/" goes to the host all the same.
constexpr std::string_view hostRulePrefix = "^https?://([^/]+[.@])?";
constexpr std::string_view socketRulePrefix = "^wss?://([^/]+[.@])?";

// Every listed host with the category of the first catalogue entry that lists it, and the most dots
// any listed host has.
struct CategoryIndex {
    std::unordered_map<std::string_view, Category> categories;
    std::size_t mostDots = 0;
};

const CategoryIndex& categoryIndex() {
    static const auto index = [] {
        CategoryIndex result;
        for (const auto& entry : catalogue()) {
            for (const auto& host : entry.hosts) {
                result.categories.emplace(host, entry.category);
                result.mostDots = std::max(
                    result.mostDots, static_cast<std::size_t>(std::count(host.begin(), host.end(), '.')));
            }
        }
        return result;
    }();
    return index;
}

// The start of the longest suffix of `name` that begins a label and holds at most `dots` dots: the
// whole name when it holds no more.
std::size_t startOfSuffixWithDots(std::string_view name, std::size_t dots) {
    std::size_t seen = 0;
    for (std::size_t i = name.size(); i > 0; --i) {
        if (name[i - 1] == '.' && ++seen > dots) return i;
    }
    return 0;
}

// The entry's host (its text before the first "/").
std::string_view entryHost(std::string_view path) {
    return path.substr(0, path.find('/'));
}

bool isSubdomainOrSame(std::string_view host, std::string_view parent) {
    if (host == parent) return true;
    return host.size() > parent.size() && host.ends_with(parent) &&
           host[host.size() - parent.size() - 1] == '.';
}

void appendHostRule(std::string& out, std::string_view host, std::string_view prefix) {
    out += R"({"action":{"type":"block"},"trigger":{"load-type":["third-party"],"url-filter":)";
    std::string filter(prefix);
    filter += escaped(host);
    filter += "[/:]";
    json::appendString(out, filter);
    out += "}}";
}

void appendPathRule(std::string& out, std::string_view path, std::string_view prefix) {
    out += R"({"action":{"type":"block"},"trigger":{"load-type":["third-party"],"url-filter":)";
    std::string filter(prefix);
    filter += pathPattern(path).substr(hostRulePrefix.size());
    json::appendString(out, filter);
    out += "}}";
}

void appendSelectorRule(std::string& out) {
    std::string selector;
    for (const auto& item : hiddenSelectors()) {
        if (!selector.empty()) selector += ", ";
        selector += item;
    }
    out += R"({"action":{"selector":)";
    json::appendString(out, selector);
    out += R"(,"type":"css-display-none"},"trigger":{"url-filter":".*"}})";
}

} // namespace

const std::vector<CatalogueEntry>& catalogue() {
    static const std::vector<CatalogueEntry> entries{
        {Category::consent, consentHosts()},
        {Category::advertising, adHosts()},
        {Category::measurement, trackingHosts()},
        {Category::interruption, nagHosts()},
    };
    return entries;
}

const std::vector<std::string>& blockedHosts() {
    static const auto hosts = [] {
        std::vector<std::string> result;
        for (const auto& entry : catalogue())
            result.insert(result.end(), entry.hosts.begin(), entry.hosts.end());
        return result;
    }();
    return hosts;
}

std::string buildRuleListJSON(RuleSet set) {
    std::string out = "[";
    bool first = true;
    auto separate = [&] {
        if (!first) out += ',';
        first = false;
    };
    auto prefixes = set == RuleSet::everything ? std::vector{hostRulePrefix, socketRulePrefix}
                                               : std::vector{socketRulePrefix};
    for (std::string_view prefix : prefixes) {
        for (const auto& host : blockedHosts()) {
            separate();
            appendHostRule(out, host, prefix);
        }
        for (const auto& entry : blockedPaths()) {
            separate();
            appendPathRule(out, entry.path, prefix);
        }
    }
    separate();
    appendSelectorRule(out);
    out += ']';
    return out;
}

const std::string& ruleListJSON(RuleSet set) {
    static const std::string everything = buildRuleListJSON(RuleSet::everything);
    static const std::string besideWitness = buildRuleListJSON(RuleSet::besideWitness);
    return set == RuleSet::everything ? everything : besideWitness;
}

std::string identifier(RuleSet set) {
    std::string result(identifierPrefix);
    result += fingerprint(ruleListJSON(set));
    return result;
}

bool listedRequest(std::string_view url) {
    // A rule reads "^https?://([^/]+[.@])?HOST[/:]" or "^https?://([^/]+[.@])?HOST/PATH": after the
    // scheme, the text before the first "/" (the authority, with any user name and port) holds HOST
    // where it begins or just after a dot or an "@" that follows at least one character, and HOST is
    // followed by ":" or "/". A path rule's HOST ends the authority and PATH begins what follows.
    std::string lowered = text::asciiLowercased(url);
    std::string_view rest = lowered;
    if (rest.starts_with("http://"))
        rest.remove_prefix(7);
    else if (rest.starts_with("https://"))
        rest.remove_prefix(8);
    else
        return false;
    std::size_t slash = rest.find('/');
    std::string_view authority = rest.substr(0, slash);
    std::string_view afterAuthority =
        slash == std::string_view::npos ? std::string_view() : rest.substr(slash);
    const auto& index = categoryIndex();
    for (std::size_t start = 0; start < authority.size(); ++start) {
        if (start == 1 || (start > 1 && authority[start - 1] != '.' && authority[start - 1] != '@')) continue;
        std::string_view from = authority.substr(start);
        std::string_view candidate = from.substr(0, from.find(':'));
        bool followed = candidate.size() < from.size() || !afterAuthority.empty();
        if (followed && index.categories.contains(candidate)) return true;
        if (candidate.size() != from.size() || afterAuthority.empty()) continue;
        for (const auto& entry : blockedPaths()) {
            std::string_view entryPath = entry.path;
            std::string_view host = entryHost(entryPath);
            if (candidate == host && afterAuthority.starts_with(entryPath.substr(host.size()))) return true;
        }
    }
    return false;
}

std::string buildLookupTableJSON() {
    std::vector<std::string_view> hosts(blockedHosts().begin(), blockedHosts().end());
    std::sort(hosts.begin(), hosts.end());
    std::string out = R"({"hosts":{)";
    for (std::size_t i = 0; i < hosts.size(); ++i) {
        if (i > 0) out += ',';
        json::appendString(out, hosts[i]);
        out += ":1";
    }
    out += R"(},"paths":[)";
    for (std::size_t i = 0; i < blockedPaths().size(); ++i) {
        if (i > 0) out += ',';
        json::appendString(out, blockedPaths()[i].path);
    }
    out += "]}";
    return out;
}

const std::string& lookupTableJSON() {
    static const std::string text = buildLookupTableJSON();
    return text;
}

std::optional<Category> categoryForHost(std::string_view host) {
    std::string lowered = text::lowercased(host);
    std::string_view name = lowered;
    if (name.ends_with('.')) name.remove_suffix(1);
    // Suffixes with more dots than any listed host are skipped: they cannot match, and walking them
    // one by one would make a name of many labels cost time in proportion to its square.
    const auto& index = categoryIndex();
    name.remove_prefix(startOfSuffixWithDots(name, index.mostDots));
    while (name.find('.') != std::string_view::npos) {
        if (auto found = index.categories.find(name); found != index.categories.end()) return found->second;
        name.remove_prefix(name.find('.') + 1);
    }
    return std::nullopt;
}

std::optional<Category> pathCategoryForHost(std::string_view host) {
    std::string lowered = text::lowercased(host);
    for (const auto& entry : blockedPaths()) {
        if (isSubdomainOrSame(lowered, entryHost(entry.path))) return entry.category;
    }
    return std::nullopt;
}

std::optional<Category> categoryForUrl(std::string_view url) {
    auto host = Domain::hostOf(url);
    if (host.empty()) return std::nullopt;
    if (auto category = categoryForHost(host)) return category;
    // A path entry applies when the address's authority, past any user name, is the entry's host or a
    // subdomain of it and its path begins with the entry's path, as the entry's rule matches it. Text
    // that merely looks like an entry further on (in the path or the query) does not count.
    auto rest = url.substr(url.find("://") + 3);
    auto authorityEnd = std::min(rest.find_first_of("/?#"), rest.size());
    auto authority = text::lowercased(rest.substr(0, authorityEnd));
    if (auto at = authority.rfind('@'); at != std::string::npos) authority.erase(0, at + 1);
    auto afterAuthority = rest.substr(authorityEnd);
    for (const auto& entry : blockedPaths()) {
        auto entryPath = std::string_view(entry.path);
        auto below = entryPath.substr(entryHost(entryPath).size());
        if (isSubdomainOrSame(authority, entryHost(entryPath)) && afterAuthority.starts_with(below))
            return entry.category;
    }
    return std::nullopt;
}

std::string escaped(std::string_view text) {
    static constexpr std::string_view metacharacters = "\\^$.|?*+()[]{}";
    std::string result;
    result.reserve(text.size() + text.size() / 4);
    for (char c : text) {
        if (metacharacters.find(c) != std::string_view::npos) result += '\\';
        result += c;
    }
    return result;
}

std::string pathPattern(std::string_view path) {
    auto slash = path.find('/');
    auto host = path.substr(0, slash);
    auto rest = slash == std::string_view::npos ? std::string_view() : path.substr(slash + 1);
    std::string result(hostRulePrefix);
    result += escaped(host);
    result += '/';
    result += escaped(rest);
    return result;
}

std::string fingerprint(std::string_view text) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ULL;
    }
    static constexpr std::string_view digits = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::string result;
    do {
        result += digits[hash % 36];
        hash /= 36;
    } while (hash != 0);
    std::reverse(result.begin(), result.end());
    return result;
}

} // namespace nimb::ContentBlocker
