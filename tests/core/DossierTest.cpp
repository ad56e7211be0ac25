#include "report/Dossier.h"
#include "CatalogueEntry.h"
#include "base/Text.h"
#include "base/Url.h"
#include "report/DossierVocabulary.h"
#include "vocabulary/Language.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>

namespace nimb::Dossier {
namespace {

using enum Capability;

const Entry& named(std::string_view name) {
    return test::entryNamed(name);
}

std::string nameFor(const Entry* entry) {
    return entry ? entry->company.name : "(none)";
}

// The catalogue as read from its data file: its size, and anchors of its order and of every kind of
// field an entry can carry.
TEST(DossierCatalogue, countsAndAnchors) {
    ASSERT_EQ(entries().size(), 57u);
    EXPECT_EQ(entries().front().company.name, "Adobe Audience Manager");
    EXPECT_EQ(entries()[28].company.name, "iSpot.tv");
    EXPECT_EQ(entries().back().company.name, "a standards body");
    for (const Entry& entry : entries()) {
        EXPECT_TRUE(entry.company.checked == revised || entry.company.checked == "needs-check");
        EXPECT_FALSE(entry.note && entry.note->empty()) << entry.company.name;
    }

    const Entry& xandr = named("Xandr");
    EXPECT_EQ(xandr.company.owner, "Microsoft");
    EXPECT_EQ(xandr.company.since, "2022");
    EXPECT_EQ(xandr.group, Group::auction);
    EXPECT_EQ(xandr.capabilities, std::vector<Capability>{bidBroadcast});
    const Entry& tapad = named("Tapad");
    EXPECT_EQ(tapad.capabilities, (std::vector<Capability>{crossDevice, crossSite, offlineJoin}));
    EXPECT_EQ(tapad.theirWords, "digital identity resolution");
    EXPECT_TRUE(text::startsWith(*tapad.note, "Experian bought Tapad for $280m"));
    EXPECT_EQ(depth(tapad.capabilities), Depth::acrossLives);
    EXPECT_EQ(named("Google").files,
              (std::vector<std::string>{"gpt.js", "pubads_impl.js", "adsbygoogle.js"}));
    EXPECT_EQ(named("Meta").siblings.size(), 5u);
    EXPECT_EQ(named("Moat").retired, "Oracle left the advertising business in 2024");
}

TEST(DossierCatalogue, hostsAndSourcesAreWellFormedAndEachHostListedOnce) {
    std::set<std::string> seen;
    std::vector<std::string> bareLabels;
    for (const Entry& entry : entries()) {
        // Every company's source is an https address (a brand domain's is its page at IANA, below).
        const auto url = Url::parse(entry.company.sourced);
        EXPECT_TRUE(url && url->string() == entry.company.sourced && url->view().scheme() == "https" &&
                    !url->view().host().empty())
            << entry.company.name << ": " << entry.company.sourced;
        for (const std::string& host : entry.hosts) {
            SCOPED_TRACE(entry.company.name + ": " + host);
            EXPECT_TRUE(seen.insert(host).second) << "listed twice";
            EXPECT_EQ(host, text::asciiLowercased(host));
            EXPECT_TRUE(!host.empty() && host.front() != '.' && host.back() != '.' &&
                        host.find_first_of(" /:") == std::string::npos);
            if (host.find('.') == std::string::npos) bareLabels.push_back(host);
            // A listed host always answers for its own entry.
            EXPECT_EQ(entryForHost(host), &entry);
        }
        for (const std::string& sibling : entry.siblings) {
            EXPECT_EQ(sibling, text::asciiLowercased(sibling));
            EXPECT_NE(sibling.find('.'), std::string::npos) << sibling;
        }
    }
    ASSERT_EQ(bareLabels.size(), 1u);
    EXPECT_EQ(nameFor(entryForHost(bareLabels.front())), "Fox Corporation");
    EXPECT_NE(brandTldOfHost("www." + bareLabels.front()), nullptr);
}

TEST(DossierCatalogue, brandTopLevelDomains) {
    ASSERT_EQ(brandTLDs().size(), 16u);
    EXPECT_EQ(brandTLDs().front().holder, "FOX Registry, LLC");
    EXPECT_EQ(brandTLDs()[14].holder, "Bayerische Motoren Werke AG");
    EXPECT_EQ(brandTLDs().back().holder, "Netflix, Inc.");
    std::set<std::string> labels;
    for (const BrandTLD& brand : brandTLDs()) {
        EXPECT_EQ(brand.tld, text::asciiLowercased(brand.tld));
        EXPECT_EQ(brand.tld.find('.'), std::string::npos);
        EXPECT_TRUE(labels.insert(brand.tld).second) << brand.tld;
        EXPECT_EQ(brand.sourced, "https://www.iana.org/domains/root/db/" + brand.tld + ".html");
        EXPECT_EQ(brandTldOfHost("www.example." + brand.tld), &brand);
    }
}

TEST(DossierLookup, hostsResolveByLabelSuffix) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"doubleclick.net", "Google"},                 // exact
        {"securepubads.g.doubleclick.net", "Google"},  // subdomain
        {"a.b.c.d.e.f.g.h.doubleclick.net", "Google"}, // deep subdomain
        {"SecurePubAds.G.DoubleClick.NET", "Google"},  // case
        {"securepubads.g.doubleclick.net.", "Google"}, // one trailing dot
        {"fonts.googleapis.com", "Google Fonts"},      // the most specific suffix wins...
        {"firestore.googleapis.com", "Firebase"},      // ...beside a sibling suffix
        {"www.googleapis.com", "(none)"},              // the shared parent is nobody's
        {"s.yimg.com", "Yahoo image servers"},         // owner's other entry
        {"www.yahoo.com", "(none)"},                   // only named suffixes answer
        {"nation.fox", "Fox Corporation"},             // the bare label
        {"fox", "Fox Corporation"},                    // the label itself
        {"WWW.B\u00dcCHER.FOX", "Fox Corporation"},    // non-ASCII host, upper case
        {"fox.example.com", "(none)"},                 // the label in the middle
        {"doubleclick.net.example.com", "(none)"},     // a listed host in the middle
        {"notdoubleclick.net", "(none)"},              // a suffix, but not at a label
        {"localhost", "(none)"},                       // a single label with no entry
        {"", "(none)"},                                //
        {"doubleclick.net..", "(none)"},               // only one trailing dot is dropped
        {"..doubleclick.net", "Google"},               //
    };
    for (const auto& [host, company] : cases) {
        EXPECT_EQ(nameFor(entryForHost(host)), company) << "host \"" << host << "\"";
        const Group expectedGroup = company == "(none)" ? Group::unknown : named(company).group;
        EXPECT_EQ(groupForHost(host), expectedGroup) << "host \"" << host << "\"";
    }
}

TEST(DossierLookup, hostileHostsAnswerWithoutTrouble) {
    std::string labels;
    while (labels.size() < 1'000'000)
        labels += "a.";
    EXPECT_EQ(entryForHost(labels), nullptr);
    EXPECT_EQ(nameFor(entryForHost(labels + "doubleclick.net")), "Google");
    EXPECT_EQ(entryForHost(std::string(1'000'000, '.')), nullptr);
    // Ill-formed UTF-8 and control characters in a first label leave the rest of the host readable.
    EXPECT_EQ(nameFor(entryForHost("\xff\xfe.doubleclick.net")), "Google");
    EXPECT_EQ(nameFor(entryForHost(std::string("ads\0.doubleclick.net", 20))), "Google");
    EXPECT_EQ(entryForHost(std::string("doubleclick\0net", 15)), nullptr);
    EXPECT_EQ(brandTldOfHost(labels + "netflix"), &brandTLDs().back());
    EXPECT_EQ(sdkForKey(std::string(1'000'000, 'm')), nullptr);
}

TEST(DossierLookup, brandTopLevelDomainOfAHost) {
    const std::vector<std::pair<std::string, std::optional<std::string>>> cases = {
        {"www.netflix", "Netflix, Inc."},
        {"A.B.BMW.", "Bayerische Motoren Werke AG"},
        {"about.google", "Charleston Road Registry Inc. (Google)"},
        {"netflix", std::nullopt}, // a host with no dot
        {"netflix.", std::nullopt},
        {"netflix.com", std::nullopt},
        {"www.netflix.example", std::nullopt},
        {"a..", std::nullopt},
        {"", std::nullopt},
        {".", std::nullopt},
    };
    for (const auto& [host, holder] : cases) {
        const BrandTLD* brand = brandTldOfHost(host);
        EXPECT_EQ(brand ? std::optional(brand->holder) : std::nullopt, holder) << "host \"" << host << "\"";
    }
}

TEST(DossierLookup, storageKeysNameTheirLibraries) {
    ASSERT_EQ(sdkKeys().size(), 12u);
    EXPECT_EQ(sdkKeys().front().prefix, "mprtcl-");
    EXPECT_EQ(sdkKeys().back().prefix, "kameleoon");

    const std::vector<std::pair<std::string, std::string>> cases = {
        {"mprtcl-v4_ABCDEF", "mParticle"},
        {"ab.storage.deviceId.a1b2", "Braze"},
        {"reese84", "Imperva"},
        {"optimizely_data$$pending_events", "Optimizely"},
        {"_dd_s", "Datadog"},
        {"_ga_XYZ", "(none)"},         // a library with no entry
        {"mp_abc_mixpanel", "(none)"}, // stops at "mp_" though nothing answers there
        {"Optimizely", "(none)"},      // prefixes are case-sensitive
        {"mprtcl", "(none)"},          // shorter than the prefix
        {"", "(none)"},                //
    };
    for (const auto& [key, company] : cases)
        EXPECT_EQ(nameFor(sdkForKey(key)), company) << "key \"" << key << "\"";

    // Each library's host belongs to its maker, or to nobody the catalogue names.
    for (const SdkKey& sdk : sdkKeys()) {
        if (const Entry* entry = entryForHost(sdk.host)) {
            EXPECT_EQ(sdkForKey(sdk.prefix), entry);
        }
    }
}

TEST(DossierConnections, parentTiesAndSameOwner) {
    EXPECT_EQ(connections(named("Xandr")), (std::vector<Tie>{{"Microsoft", "parent \u00b7 2022"},
                                                             {"AppNexus", "former name"},
                                                             {"AT&T", "former owner, 2018\u20132022"}}));
    EXPECT_EQ(connections(named("Adobe Experience Cloud")),
              (std::vector<Tie>{{"Adobe", "parent"},
                                {"Adobe Audience Manager", "same owner"},
                                {"Livefyre", "same owner"}}));
    EXPECT_TRUE(connections(named("Criteo")).empty());
    // Nobody names Criteo as owner; Google is named by three.
    EXPECT_EQ(connections(named("Google")), (std::vector<Tie>{{"Google Tag Manager", "same owner"},
                                                              {"Google Fonts", "same owner"},
                                                              {"Firebase", "same owner"}}));
}

TEST(DossierConnections, eachCompanyAppearsOnceAndNeverItself) {
    Entry entry;
    entry.company.name = "Acme Pixel";
    entry.company.owner = "Adobe";
    entry.ties = {{"Adobe", "former owner"},   // already the parent
                  {"", "nobody"},              // empty
                  {"Acme Pixel", "itself"},    // the entry's own name
                  {"Livefyre", "merged with"}, // kept, and not repeated as same owner
                  {"Beta", "former name"},
                  {"Beta", "former name, again"}};
    EXPECT_EQ(connections(entry), (std::vector<Tie>{{"Adobe", "parent"},
                                                    {"Livefyre", "merged with"},
                                                    {"Beta", "former name"},
                                                    {"Adobe Audience Manager", "same owner"},
                                                    {"Adobe Experience Cloud", "same owner"}}));

    EXPECT_EQ(connections(Entry{.company = {.name = "Yahoo", .owner = "Yahoo"}}),
              (std::vector<Tie>{{"Yahoo image servers", "same owner"}}));
    EXPECT_TRUE(connections(Entry{.company = {.name = "Nameless", .owner = ""}}).empty());
}

TEST(DossierCompanies, oneEntryPerNameInCatalogueOrder) {
    EXPECT_EQ(companies(), entries());

    const Entry first{.hosts = {"a.example", "b.example"},
                      .company = {.name = "Acme", .owner = "Parent", .sourced = "https://a.example/"},
                      .group = Group::auction,
                      .capabilities = {bidBroadcast},
                      .note = "first note",
                      .siblings = {"acme.example"},
                      .ties = {{"Old Acme", "former name"}},
                      .files = {"acme.js"}};
    const Entry other{.hosts = {"other.example"}, .company = {.name = "Other"}};
    const Entry second{.hosts = {"b.example", "c.example"},
                       .company = {.name = "Acme", .sourced = "https://b.example/"},
                       .group = Group::dead,
                       .capabilities = {crossSite, bidBroadcast},
                       .theirWords = "their words",
                       .note = "second note",
                       .retired = "gone",
                       .siblings = {"second.example"},
                       .ties = {{"Someone", "merged with"}},
                       .files = {"acme.js", "acme2.js"}};
    const std::vector<Entry> merged = companies({first, other, second});
    ASSERT_EQ(merged.size(), 2u);
    EXPECT_EQ(merged[1], other);
    // The first entry's company, group, note, siblings and ties; every host; each other list once.
    Entry acme = first;
    acme.hosts = {"a.example", "b.example", "b.example", "c.example"};
    acme.capabilities = {bidBroadcast, crossSite};
    acme.theirWords = "their words";
    acme.retired = "gone";
    acme.files = {"acme.js", "acme2.js"};
    EXPECT_EQ(merged[0], acme);
}

// (The depths' order and their English labels are ReachTest's: each owns a band of the score, and the
// heat scale's ticks are their labels.)
TEST(DossierWords, depthsCapabilitiesAndGroups) {
    EXPECT_EQ(rawValue(Depth::acrossLives), 5);
    EXPECT_EQ(depthFromRaw(3), Depth::thisBrowser);
    EXPECT_EQ(depthFromRaw(6), std::nullopt);
    EXPECT_EQ(depthFromRaw(-1), std::nullopt);

    // One capability of each depth, and the table's ends.
    const std::vector<std::tuple<Capability, Depth, std::string_view>> capabilities = {
        {crossSite, Depth::acrossSites, "knows you on other sites"},
        {offlineJoin, Depth::acrossLives, "joins you to records off the web"},
        {serverSideBidding, Depth::thisPage, "bid on you, server to server"},
        {audienceMeasurement, Depth::counted, "counted you"},
        {behaviouralProfile, Depth::thisBrowser, "keeps a profile of you"},
        {appBackend, Depth::served, "this site's own back end"},
        {fontDelivery, Depth::served, "served a font"},
    };
    for (const auto& [capability, expectedDepth, phrase] : capabilities) {
        EXPECT_EQ(depth(capability), expectedDepth) << rawValue(capability);
        EXPECT_EQ(act(capability), phrase);
    }
    for (Capability capability : allCases<Capability>)
        EXPECT_EQ(fromRaw<Capability>(rawValue(capability)), capability);
    EXPECT_EQ(depth(std::vector<Capability>{}), Depth::served);
    EXPECT_EQ(depth(std::vector<Capability>{adDelivery, crossSite, bidBroadcast}), Depth::acrossSites);

    EXPECT_EQ(ranked, (std::array{Group::identity, Group::auction, Group::profile, Group::measurement,
                                  Group::advertising, Group::walls, Group::ownGround, Group::dead,
                                  Group::unknown, Group::backend, Group::ordinary}));
    EXPECT_EQ(displayName(Group::identity), "Work out who you are");
    EXPECT_EQ(displayName(Group::unknown), "Unidentified");
    EXPECT_EQ(fromRaw<Group>("ownGround"), Group::ownGround);
    EXPECT_EQ(fromRaw<Group>("OwnGround"), std::nullopt);
}

TEST(DossierWords, attributionAndWordsFollowTheLanguage) {
    // The owner in brackets, unless there is none or it is the company itself.
    EXPECT_EQ(named("Tapad").company.attribution(), "Tapad (Experian)");
    EXPECT_EQ(named("Criteo").company.attribution(), "Criteo");
    EXPECT_EQ((Company{.name = "Yahoo", .owner = "Yahoo"}.attribution()), "Yahoo");
    EXPECT_EQ((Company{.name = "Acme", .owner = ""}.attribution()), "Acme");
    EXPECT_EQ(dossierWords().attribution(named("Xandr").company), "Xandr (Microsoft)");

    const Language before = currentLanguage();
    for (Language language : allCases<Language>) {
        setCurrentLanguage(language);
        EXPECT_EQ(&dossierWords(), &dossierWords(language)) << rawValue(language);
    }
    setCurrentLanguage(before);
    EXPECT_EQ(dossierWords(Language::french).capability(crossDevice),
              "relie ce navigateur \u00e0 votre t\u00e9l\u00e9phone");
    EXPECT_EQ(dossierWords(Language::italian).group(Group::dead), "Tag morti, ancora attivi");
    EXPECT_EQ(dossierWords(Language::spanish).depth(Depth::thisPage), "vio esta visita");

    const DossierVocabulary& words = dossierWords(Language::english);
    EXPECT_EQ(words.capability(crossDevice), "links this browser to your phone");
    EXPECT_EQ(words.group(Group::dead), "Dead tags, still firing");
    // (The tallies of a search, and the hosts that only delivered, are on the report pages' tests.)
    EXPECT_EQ(words.companyTally(1, 1), "1 company");
    EXPECT_EQ(words.nothingButDelivery(1),
              "One host sent bytes this page asked for and nothing else. They score "
              "nothing:");
    EXPECT_TRUE(text::startsWith(words.nothingMatched("acme"), "Nobody in the dossier answers to \u201c"
                                                               "acme\u201d. It is a file"));
    EXPECT_TRUE(words.whereTheNamesCameFrom().ends_with(" Dossier revised 2026-08."));
}

TEST(DossierWords, theCataloguesProseIsSaidInEachLanguageAndItsNamesStay) {
    // Every piece of the catalogue's prose with a word in it: notes, dates and ties of ownership,
    // retirements, described companies.
    std::set<std::string> prose;
    auto add = [&prose](const std::optional<std::string>& piece) {
        if (piece && std::any_of(piece->begin(), piece->end(),
                                 [](char c) { return std::isalpha(static_cast<unsigned char>(c)); }))
            prose.insert(*piece);
    };
    for (const Entry& entry : entries()) {
        add(entry.company.since);
        add(entry.note);
        add(entry.retired);
        for (const Tie& tie : entry.ties)
            add(tie.how);
        if (test::describedCompanies.contains(entry.company.name)) add(entry.company.name);
    }
    ASSERT_GT(prose.size(), 60u);
    for (const std::string& english : prose)
        EXPECT_EQ(dossierWords(Language::english).prose(english), english);
    for (Language language : {Language::french, Language::italian, Language::spanish}) {
        const DossierVocabulary& words = dossierWords(language);
        for (const std::string& english : prose)
            EXPECT_NE(words.prose(english), english)
                << rawValue(language) << " has no words for: " << english;
        // Names, and anything else the catalogue does not write as prose, pass as they are.
        EXPECT_EQ(words.prose("Criteo"), "Criteo");
        EXPECT_EQ(words.attribution(named("Xandr").company), "Xandr (Microsoft)");
        EXPECT_EQ(words.prose("2020"), "2020");
    }
    EXPECT_EQ(dossierWords(Language::french).attribution(named("IAS and DoubleVerify").company),
              "IAS et DoubleVerify");
}

} // namespace
} // namespace nimb::Dossier
