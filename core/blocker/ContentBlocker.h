#pragma once

// The browser's one built-in blocklist and everything derived from it: the content rule list the
// web engine compiles, its identifier, the lookup table the page recorder embeds, and the
// classification of hosts and addresses into blocking categories. The lists are constants of the
// program (core/ContentBlockerLists.cpp); nothing here has mutable state.

#include "records/ContentBlockerCategory.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nimb::ContentBlocker {

// A host followed by a path, joined by "/" ("www.facebook.com/tr"). Only the path below the host is
// blocked, never the host itself.
struct PathEntry {
    std::string path;
    Category category;

    bool operator==(const PathEntry&) const = default;
};

// One category with its host list.
struct CatalogueEntry {
    Category category;
    std::vector<std::string> hosts;

    bool operator==(const CatalogueEntry&) const = default;
};

// The host lists: lower-case host names without scheme, port or path.
[[nodiscard]] const std::vector<std::string>& consentHosts();
[[nodiscard]] const std::vector<std::string>& adHosts();
[[nodiscard]] const std::vector<std::string>& trackingHosts();
[[nodiscard]] const std::vector<std::string>& nagHosts();

// (consent, consentHosts), (advertising, adHosts), (measurement, trackingHosts),
// (interruption, nagHosts), in that order.
[[nodiscard]] const std::vector<CatalogueEntry>& catalogue();
// consentHosts, adHosts, trackingHosts and nagHosts, concatenated in that order.
[[nodiscard]] const std::vector<std::string>& blockedHosts();
[[nodiscard]] const std::vector<PathEntry>& blockedPaths();
// CSS selectors of the common consent walls, in rule-list order.
[[nodiscard]] const std::vector<std::string>& hiddenSelectors();

// Which rules a compiled list holds. The request witness in the web process stops the http(s)
// requests itself (it can count what it stops, which it cannot do once the rule list has stopped
// them): while it is at work, the rule list keeps only what the witness cannot see.
enum class RuleSet {
    // One blocking rule per host and per path entry for http(s), the same for WebSocket (ws, wss)
    // addresses, then one rule hiding every selector: everything, for when no witness is at work.
    everything,
    // The WebSocket rules and the hiding rule alone.
    besideWitness,
};

// The content rule list in WebKit's content-blocker JSON format. Built on first use and cached.
[[nodiscard]] const std::string& ruleListJSON(RuleSet set = RuleSet::everything);
// The same text built afresh on every call (what ruleListJSON caches).
[[nodiscard]] std::string buildRuleListJSON(RuleSet set = RuleSet::everything);

inline constexpr std::string_view identifierPrefix = "nimb-block-";
// The name a compiled rule list is stored under: identifierPrefix + fingerprint(ruleListJSON(set)).
[[nodiscard]] std::string identifier(RuleSet set = RuleSet::everything);

// Whether an address falls under a blocking rule of the http(s) list, leaving out the third-party
// condition: exactly what the rules' url-filters match (case aside, as the engine matches them),
// worked out without regular expressions. `url` is an address as the engine writes it out.
[[nodiscard]] bool listedRequest(std::string_view url);

// {"hosts":{<host>:1,...},"paths":[<path>,...]} for the page recorder. Built on first use and cached.
[[nodiscard]] const std::string& lookupTableJSON();
// The same text built afresh on every call.
[[nodiscard]] std::string buildLookupTableJSON();

// The category of the most specific listed suffix of `host` (at least two labels), ignoring one
// trailing dot and case.
[[nodiscard]] std::optional<Category> categoryForHost(std::string_view host);
// The category of the path entry whose host is `host` or a parent domain of it.
[[nodiscard]] std::optional<Category> pathCategoryForHost(std::string_view host);
// The category of an address: by its host, else by a path entry it falls under.
[[nodiscard]] std::optional<Category> categoryForUrl(std::string_view url);

// `text` with a backslash before every regular-expression metacharacter \ ^ $ . | ? * + ( ) [ ] { }.
[[nodiscard]] std::string escaped(std::string_view text);
// The url-filter of a path entry: the host-rule prefix, the escaped host, "/", the escaped path.
[[nodiscard]] std::string pathPattern(std::string_view path);
// 64-bit FNV-1a of the bytes of `text`, in lower-case base 36 without leading zeros.
[[nodiscard]] std::string fingerprint(std::string_view text);

} // namespace nimb::ContentBlocker
