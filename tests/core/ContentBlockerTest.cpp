#include "blocker/ContentBlocker.h"

#include "base/Text.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>
#include <functional>
#include <map>
#include <random>
#include <regex>
#include <set>

namespace nimb {
namespace {

using namespace ContentBlocker;

constexpr std::string_view hostPrefix = "^https?://([^/]+[.@])?";

bool isBelow(std::string_view host, std::string_view parent) {
    return host.size() > parent.size() && host.ends_with(parent) &&
           host[host.size() - parent.size() - 1] == '.';
}

// What our writer produces, as nlohmann would write it: compact, keys sorted, "/" as "\/".
std::string canonical(const nlohmann::json& value) {
    std::string text = value.dump();
    std::string out;
    for (char c : text) {
        if (c == '/') out += '\\';
        out += c;
    }
    return out;
}

// The lists as data: the counts and the entries themselves are the rule list's test to pin.
TEST(ContentBlockerLists, namesAreListedOnceInCategoryOrderAndNeverBelowAnother) {
    std::set<std::string> unique(blockedHosts().begin(), blockedHosts().end());
    EXPECT_EQ(unique.size(), blockedHosts().size()) << "a host is listed twice";
    for (const auto& host : blockedHosts()) {
        // Lower-case labels of letters, digits and hyphens, at least two, none empty.
        EXPECT_TRUE(std::regex_match(host, std::regex("[a-z0-9-]+(\\.[a-z0-9-]+)+"))) << host;
        for (const auto& other : blockedHosts())
            EXPECT_FALSE(isBelow(host, other)) << host << " is below " << other;
    }

    ASSERT_EQ(catalogue().size(), 4u);
    const std::vector<std::string>* lists[] = {&consentHosts(), &adHosts(), &trackingHosts(), &nagHosts()};
    std::vector<std::string> concatenated;
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(catalogue()[i].category, allCases<Category>[i]);
        EXPECT_EQ(catalogue()[i].hosts, *lists[i]);
        concatenated.insert(concatenated.end(), lists[i]->begin(), lists[i]->end());
    }
    EXPECT_EQ(blockedHosts(), concatenated);

    // A path entry sits on a host no list blocks, or its path would add nothing.
    for (const auto& entry : blockedPaths()) {
        auto host = entry.path.substr(0, entry.path.find('/'));
        EXPECT_EQ(categoryForHost(host), std::nullopt) << host;
        EXPECT_EQ(categoryForHost("x." + host), std::nullopt) << host;
    }
    std::set<std::string> selectors(hiddenSelectors().begin(), hiddenSelectors().end());
    EXPECT_EQ(selectors.size(), hiddenSelectors().size()) << "a selector is listed twice";
}

TEST(ContentBlockerCategory, rawValuesRoundTripExactly) {
    for (auto category : allCases<Category>)
        EXPECT_EQ(fromRaw<Category>(rawValue(category)), category);
    EXPECT_EQ(fromRaw<Category>("Interruptions"), Category::interruption);
    EXPECT_EQ(fromRaw<Category>("Consent walls"), Category::consent);
    for (std::string_view raw : {"interruptions", "Consent Walls", "consent", "", "Advertising "})
        EXPECT_EQ(fromRaw<Category>(raw), std::nullopt) << raw;
}

TEST(ContentBlockerClassify, categoryForHost) {
    const std::pair<std::string_view, Category> cases[] = {
        {"doubleclick.net", Category::advertising},
        {"DoubleClick.NET.", Category::advertising},
        {"a.b.c.doubleclick.net", Category::advertising},
        {".doubleclick.net", Category::advertising},
    };
    for (const auto& [host, category] : cases)
        EXPECT_EQ(categoryForHost(host), category) << host;

    // Every listed host, and below it, in its own category.
    for (const auto& entry : catalogue()) {
        for (const auto& host : entry.hosts) {
            EXPECT_EQ(categoryForHost(host), entry.category) << host;
            EXPECT_EQ(categoryForHost("www." + host), entry.category) << host;
        }
    }
}

TEST(ContentBlockerClassify, pathCategoryForHostAndCategoryForUrl) {
    const std::pair<std::string_view, Category> hosts[] = {
        {"www.facebook.com", Category::measurement},
        {"m.www.facebook.com", Category::measurement},
        {"accounts.google.com", Category::interruption},
    };
    for (const auto& [host, category] : hosts)
        EXPECT_EQ(pathCategoryForHost(host), category) << host;

    const std::pair<std::string_view, Category> urls[] = {
        {"https://www.facebook.com/tr?id=1&ev=PageView", Category::measurement},
        {"http://m.www.facebook.com/tr", Category::measurement},
        {"HTTPS://WWW.FACEBOOK.COM/tr", Category::measurement},
        {"https://accounts.google.com/gsi/client", Category::interruption},
        {"https://cdn.cookielaw.org:443/consent.js", Category::consent},
        // Behind a user name, as the rules read it.
        {"https://someone@www.facebook.com/tr", Category::measurement},
        {"http://u:p@doubleclick.net/", Category::advertising},
    };
    for (const auto& [url, category] : urls)
        EXPECT_EQ(categoryForUrl(url), category) << url;
}

// Near misses, as hosts and as addresses, and hostile text: each is no host, path entry or address
// any list names.
TEST(ContentBlockerClassify, nearMissesAndHostileInputsGiveNone) {
    const std::string_view nearMisses[] = {
        "facebook.net", "ads.linkedin.com", "notdoubleclick.net", "doubleclick.net.example.com",
        "doubleclick.net..",
        // A single label, or a listed name's last label alone, never matches.
        "net", ".",
        // Beside a path entry's host. A trailing dot is not ignored there, as the path rule does not
        // match it (though categoryForHost ignores it).
        "facebook.com", "xwww.facebook.com", "www.facebook.com.example", "www.facebook.com.",
        // Beside a path entry's path, or on another port.
        "https://www.facebook.com/profile", "https://www.facebook.com:8443/tr",
        "https://accounts.google.com/signin",
        // An entry's text further on in the address is not the entry's host.
        "https://example.com/?next=m.www.facebook.com/tr", "https://example.com/a.accounts.google.com/gsi/",
        "https://example.com/#www.facebook.com/tr", "www.facebook.com/tr", "https:///tr",
        // A listed name as the user name of another host.
        "https://www.facebook.com@evil.example/tr", "http://doubleclick.net@evil.example/"};
    for (std::string_view input : nearMisses) {
        EXPECT_EQ(categoryForHost(input), std::nullopt) << input;
        EXPECT_EQ(pathCategoryForHost(input), std::nullopt) << input;
        EXPECT_EQ(categoryForUrl(input), std::nullopt) << input;
    }

    const auto megabyteOf = [](std::string_view piece) {
        std::string text;
        while (text.size() < (1u << 20))
            text += piece;
        return text;
    };
    const std::string megabyte = megabyteOf("a"), labels = megabyteOf("a."), invalid = megabyteOf("\xff");
    std::string controls;
    for (char c = 0; c < 32; ++c)
        controls += c;
    const std::string inputs[] = {
        "",
        megabyte,
        labels,
        invalid,
        controls,
        std::string("doubleclick\0.net", 16),
        "https://" + megabyte,
        "https://" + labels,
        "https://" + invalid,
        "https://" + controls + "/",
        std::string(100000, ':') + "//",
        megabyteOf("://."),
    };
    for (const auto& input : inputs) {
        EXPECT_EQ(categoryForHost(input), std::nullopt);
        EXPECT_EQ(pathCategoryForHost(input), std::nullopt);
        EXPECT_EQ(categoryForUrl(input), std::nullopt);
    }
    // A name of half a million labels still finds its listed suffix.
    EXPECT_EQ(categoryForHost(labels + "doubleclick.net"), Category::advertising);
    EXPECT_EQ(categoryForUrl("https://" + labels + "doubleclick.net/x"), Category::advertising);
}

TEST(ContentBlockerRules, escapedAndPathPattern) {
    EXPECT_EQ(escaped(R"(\^$.|?*+()[]{})"), R"(\\\^\$\.\|\?\*\+\(\)\[\]\{\})");
    EXPECT_EQ(escaped("a-b_c/d:e,f=g!h\"é"), "a-b_c/d:e,f=g!h\"é");
    EXPECT_EQ(escaped(""), "");

    EXPECT_EQ(pathPattern("www.facebook.com/tr"), std::string(hostPrefix) + "www\\.facebook\\.com/tr");
    EXPECT_EQ(pathPattern("a.b/c.d/e?"), std::string(hostPrefix) + "a\\.b/c\\.d/e\\?");
    EXPECT_EQ(pathPattern("host.example"), std::string(hostPrefix) + "host\\.example/");
    EXPECT_EQ(pathPattern(""), std::string(hostPrefix) + "/");
}

TEST(ContentBlockerRules, eachDocumentIsBuiltOnceInItsCanonicalBytes) {
    const std::tuple<const char*, std::function<const std::string*()>, std::string> documents[] = {
        {"rule list", [] { return &ruleListJSON(); }, buildRuleListJSON()},
        {"witness rule list", [] { return &ruleListJSON(RuleSet::besideWitness); },
         buildRuleListJSON(RuleSet::besideWitness)},
        {"lookup table", [] { return &lookupTableJSON(); }, buildLookupTableJSON()},
    };
    for (const auto& [name, cached, built] : documents) {
        SCOPED_TRACE(name);
        EXPECT_EQ(cached(), cached()) << "built once";
        EXPECT_EQ(*cached(), built);
        // Compact, every object's keys sorted, "/" written as "\/".
        EXPECT_EQ(canonical(nlohmann::json::parse(built, nullptr, false)), built);
    }
}

TEST(ContentBlockerRules, ruleListHasItsRulesInOrder) {
    const std::string& text = ruleListJSON();
    auto rules = nlohmann::json::parse(text, nullptr, false);
    ASSERT_TRUE(rules.is_array());
    // The http(s) rules, their WebSocket twins, the hiding rule.
    ASSERT_EQ(rules.size(), 2 * (blockedHosts().size() + blockedPaths().size()) + 1);
    ASSERT_EQ(blockedHosts().size(), 157u);
    for (std::size_t i = 0; i < 157; ++i) {
        nlohmann::json trigger = {
            {"load-type", {"third-party"}},
            {"url-filter", std::string(hostPrefix) + escaped(blockedHosts()[i]) + "[/:]"}};
        EXPECT_EQ(rules[i], nlohmann::json({{"action", {{"type", "block"}}}, {"trigger", trigger}})) << i;
    }
    // The hiding rule holds every selector. It and the two path rules, byte for byte:
    std::string joined;
    for (const auto& item : hiddenSelectors())
        joined += (joined.empty() ? "" : ", ") + item;
    EXPECT_EQ(rules.back()["action"]["selector"], joined);
    const std::string pathRules =
        R"(,{"action":{"type":"block"},"trigger":{"load-type":["third-party"],"url-filter":"^https?:\/\/([^\/]+[.@])?www\\.facebook\\.com\/tr"}})"
        R"(,{"action":{"type":"block"},"trigger":{"load-type":["third-party"],"url-filter":"^https?:\/\/([^\/]+[.@])?accounts\\.google\\.com\/gsi\/"}},)";
    EXPECT_THAT(text, testing::HasSubstr(pathRules));
    EXPECT_TRUE(text.ends_with(
        R"(#credential_picker_iframe, iframe[src*=\"accounts.google.com\/gsi\/\"]","type":"css-display-none"},"trigger":{"url-filter":".*"}}])"));
}

TEST(ContentBlockerRules, lookupTable) {
    nlohmann::json hosts = nlohmann::json::object();
    for (const auto& host : blockedHosts())
        hosts[host] = 1;
    EXPECT_EQ(nlohmann::json::parse(lookupTableJSON(), nullptr, false),
              (nlohmann::json{
                  {"hosts", hosts},
                  {"paths", nlohmann::json::array({"www.facebook.com/tr", "accounts.google.com/gsi/"})}}));
}

TEST(ContentBlockerRules, fingerprintAndIdentifier) {
    // FNV-1a 64: the offset basis 0xcbf29ce484222325, then the published test vectors.
    EXPECT_EQ(fingerprint(""), "33niihzj4ux45");
    EXPECT_EQ(fingerprint("a"), "2o0ongoiv4rrg");      // 0xaf63dc4c8601ec8c
    EXPECT_EQ(fingerprint("foobar"), "214ng2xt5fmco"); // 0x85944171f73967e8
    EXPECT_NE(fingerprint(std::string_view("\0", 1)), fingerprint(""));

    // The fingerprint in base 36 without leading zeros, after the prefix, for each rule set.
    for (RuleSet set : {RuleSet::everything, RuleSet::besideWitness})
        EXPECT_EQ(identifier(set), "nimb-block-" + fingerprint(ruleListJSON(set)));
    EXPECT_TRUE(std::regex_match(identifier(), std::regex("nimb-block-[1-9a-z][0-9a-z]{0,12}")))
        << identifier();
    EXPECT_NE(identifier(RuleSet::besideWitness), identifier(RuleSet::everything));
    EXPECT_EQ(identifier(), identifier(RuleSet::everything));

    // One changed byte anywhere changes the identifier.
    const std::string& list = ruleListJSON();
    for (std::size_t at : {std::size_t{0}, list.size() / 2, list.size() - 1}) {
        std::string copy = list;
        copy[at] = static_cast<char>(copy[at] ^ 1);
        EXPECT_NE(fingerprint(copy), fingerprint(list)) << at;
    }
}

// The blocking rules of a list as the engine reads them: each url-filter compiled as a regular
// expression matched without regard to case, with the literal host (or host and path) it names.
struct CompiledRule {
    std::string literal;
    std::regex pattern;
};

std::vector<CompiledRule> blockingRules(RuleSet set, std::string_view prefix) {
    std::vector<CompiledRule> compiled;
    for (const auto& rule : nlohmann::json::parse(ruleListJSON(set))) {
        if (rule["action"]["type"] != "block") continue;
        std::string filter = rule["trigger"]["url-filter"];
        if (!filter.starts_with(prefix)) continue;
        std::string literal;
        std::string_view rest = std::string_view(filter).substr(prefix.size());
        if (rest.ends_with("[/:]")) rest.remove_suffix(4);
        for (std::size_t i = 0; i < rest.size(); ++i) {
            if (rest[i] == '\\') ++i;
            if (i < rest.size()) literal += rest[i];
        }
        compiled.push_back({literal, std::regex(filter, std::regex::ECMAScript | std::regex::icase)});
    }
    return compiled;
}

// Whether any rule matches. A rule can only match an address that holds its literal (case aside), so
// only those are run: the regular expressions are slow enough that running all of them on every
// address would take the suite's time.
bool anyMatches(const std::vector<CompiledRule>& rules, const std::string& url, bool filtered = true) {
    std::string lowered = text::asciiLowercased(url);
    return std::any_of(rules.begin(), rules.end(), [&](const CompiledRule& rule) {
        if (filtered && lowered.find(rule.literal) == std::string::npos) return false;
        return std::regex_search(url, rule.pattern);
    });
}

std::string upper(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// Every listed host and path entry as (host, path below it): the path empty for a host entry.
std::vector<std::pair<std::string, std::string>> listedTargets() {
    std::vector<std::pair<std::string, std::string>> targets;
    for (const auto& host : blockedHosts())
        targets.emplace_back(host, "");
    for (const auto& entry : blockedPaths()) {
        auto slash = entry.path.find('/');
        targets.emplace_back(entry.path.substr(0, slash), entry.path.substr(slash));
    }
    return targets;
}

// What may come before a listed name, after it, and the schemes, as pieces of an address.
const std::vector<std::string> schemes = {"http://", "https://", "HtTpS://", "ws://",   "wss://",
                                          "ftp://",  "http:/",   "httpx://", "xhttp://"};
const std::vector<std::string> before = {"",      "sub.",         "a.b.",       "x",   "evil-",
                                         ".",     "..",           "u:p@",       "u@",  "evil.test?.",
                                         "e.t#.", "evil.test:1.", "evil.test/", "%2e", "x:y@a."};
const std::vector<std::string> after = {"/",           "",   ":",    ":8080/", ":8080", ":x@evil.test/",
                                        ".evil.test/", "x/", "?q",   "#f",     "?/",    "#/",
                                        "./",          "/x", "/X?y", "-a/",    "%2f",   "\\"};

// The address with the name in upper case, with its path cut short, longer, or doubled at the slash.
std::vector<std::string> names(const std::string& host, const std::string& path) {
    std::vector<std::string> result = {host + path, upper(host + path), host.substr(1) + path};
    if (!path.empty()) {
        result.push_back(host);
        result.push_back(host + path.substr(0, path.size() - 1));
        result.push_back(host + path + "more/x");
        result.push_back(host + "/" + path);
        result.push_back(host + upper(path));
    }
    return result;
}

TEST(ContentBlockerRules, listedRequestSaysWhatTheHttpRulesMatch) {
    const auto rules = blockingRules(RuleSet::everything, hostPrefix);
    ASSERT_EQ(rules.size(), blockedHosts().size() + blockedPaths().size());
    std::size_t listed = 0, checked = 0, divergences = 0;
    auto check = [&](const std::string& url, std::string_view origin) {
        ++checked;
        bool expected = anyMatches(rules, url);
        listed += expected;
        if (listedRequest(url) != expected && ++divergences <= 20)
            ADD_FAILURE() << "listedRequest(\"" << url << "\") is " << !expected << ", the rules say "
                          << expected << " (" << origin << ")";
    };

    // Every entry in the forms an address takes; the whole cross of pieces for a few of them.
    const auto targets = listedTargets();
    for (std::size_t t = 0; t < targets.size(); ++t) {
        const auto& [host, path] = targets[t];
        bool whole = t % 40 == 0 || !path.empty();
        for (const std::string& name : names(host, path)) {
            for (std::size_t s = 0; s < schemes.size(); ++s) {
                if (!whole && s > 1 && s != 3) continue;
                for (std::size_t b = 0; b < before.size(); ++b) {
                    for (std::size_t a = 0; a < after.size(); ++a) {
                        if (!whole && b != 0 && a != 0 && (a + b) % 5 != 0) continue;
                        check(schemes[s] + before[b] + name + after[a], "listed");
                    }
                }
            }
        }
    }

    // Seeded random addresses: pieces, names and noise in any order.
    const std::string noise = "a.-:/@?#X%";
    for (std::uint32_t seed : {20261208u, std::random_device{}()}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        auto pick = [&random](const auto& list) -> const auto& {
            return list[std::uniform_int_distribution<std::size_t>(0, list.size() - 1)(random)];
        };
        auto scramble = [&]() {
            std::string text;
            for (int n = std::uniform_int_distribution<int>(0, 3)(random); n > 0; --n)
                text += noise[std::uniform_int_distribution<std::size_t>(0, noise.size() - 1)(random)];
            return text;
        };
        for (int i = 0; i < 20000; ++i) {
            const auto& [host, path] = pick(targets);
            const auto& [otherHost, otherPath] = pick(targets);
            std::string name = pick(names(host, path));
            for (char& c : name) {
                if (random() % 7 == 0) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            }
            std::string url = pick(schemes) + (random() % 3 ? "" : scramble()) + pick(before) +
                              (random() % 4 ? "" : otherHost + pick(before)) + name + scramble() +
                              pick(after) + (random() % 4 ? "" : otherHost + otherPath);
            // The filtered match stands for the whole: checked against every rule on a sample.
            if (i < 300) {
                EXPECT_EQ(anyMatches(rules, url, false), anyMatches(rules, url)) << url;
            }
            check(url, "seed " + std::to_string(seed));
        }
    }
    EXPECT_EQ(divergences, 0u) << "of " << checked << " addresses";
    // Enough of both kinds to mean something.
    EXPECT_GT(listed, checked / 20);
    EXPECT_LT(listed, checked / 2);
}

TEST(ContentBlockerRules, everyHttpRuleHasASocketTwinAndTheWitnessFormHoldsOnlyThose) {
    const auto everything = nlohmann::json::parse(ruleListJSON(RuleSet::everything));
    const std::size_t entries = blockedHosts().size() + blockedPaths().size();
    ASSERT_EQ(everything.size(), 2 * entries + 1);
    constexpr std::string_view socketPrefix = "^wss?://([^/]+[.@])?";
    for (std::size_t i = 0; i < entries; ++i) {
        nlohmann::json twin = everything[i];
        std::string filter = twin["trigger"]["url-filter"];
        ASSERT_TRUE(filter.starts_with(hostPrefix)) << filter;
        twin["trigger"]["url-filter"] = std::string(socketPrefix) + filter.substr(hostPrefix.size());
        EXPECT_EQ(everything[entries + i], twin) << i;
    }

    // The witness's form: the socket rules and the hiding rule, exactly as in the whole list.
    EXPECT_EQ(nlohmann::json::parse(ruleListJSON(RuleSet::besideWitness)),
              nlohmann::json(std::vector<nlohmann::json>(everything.begin() + entries, everything.end())));

    // None of its blocking rules touches an http(s) address, however it is written; each still stops
    // the WebSocket address of its entry.
    const auto socketRules = blockingRules(RuleSet::besideWitness, socketPrefix);
    ASSERT_EQ(socketRules.size(), entries);
    for (const auto& [host, path] : listedTargets()) {
        for (const std::string& url : {"http://" + host + path + "/", "HTTPS://sub." + host + path + ":443/",
                                       "https://" + host + ":1/", "https://ws://" + host + path + "/"})
            EXPECT_FALSE(anyMatches(socketRules, url, false)) << url;
        for (const std::string& url : {"ws://" + host + path + "/", "WSS://a." + host + path + "/x"})
            EXPECT_TRUE(anyMatches(socketRules, url)) << url;
    }
}

} // namespace
} // namespace nimb
