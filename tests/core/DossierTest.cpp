#include "report/Dossier.h"
#include "Language.h"
#include "Text.h"
#include "Url.h"
#include "report/DossierVocabulary.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace nimb::Dossier {
namespace {

using enum Capability;

const Entry& named(std::string_view name) {
    for (const Entry& entry : entries()) {
        if (entry.company.name == name) return entry;
    }
    ADD_FAILURE() << "no entry named " << name;
    static const Entry none;
    return none;
}

std::string nameFor(const Entry* entry) {
    return entry ? entry->company.name : "(none)";
}

// Every row of the catalogue as it must stand: who, when, where it is filed, what it sells, and how
// many hosts and siblings it lists.
struct Row {
    std::string name;
    std::optional<std::string> owner;
    std::optional<std::string> since;
    Group group;
    std::vector<Capability> capabilities;
    std::size_t hosts;
    std::size_t siblings;
    std::vector<std::string> files;
    std::vector<Tie> ties;
    bool retired;
    bool verified;
};

const std::vector<Row>& expectedRows() {
    using G = Group;
    const std::nullopt_t no = std::nullopt;
    // clang-format off
    static const std::vector<Row> rows = {
        {"Adobe Audience Manager", "Adobe", "2011, as Demdex",
            G::identity, {crossSite, audienceMeasurement}, 2, 0, {}, {}, false, true},
        {"Tapad", "Experian", "2020", G::identity,
            {crossDevice, crossSite, offlineJoin}, 1, 0, {}, {}, false, true},
        {"various identity vendors", no, no, G::identity, {crossSite}, 8, 0, {}, {}, false, false},
        {"Amazon Publisher Services", "Amazon", no, G::auction,
            {bidBroadcast, serverSideBidding}, 1, 0, {"apstag.js"}, {}, false, true},
        {"Index Exchange", no, "renamed from Casale Media, 2015",
            G::auction, {bidBroadcast}, 2, 0, {}, {{"Casale Media", "former name"}}, false, true},
        {"Magnite", no, "Rubicon Project and Telaria merged, 2020",
            G::auction, {bidBroadcast}, 2, 0, {}, {{"Rubicon Project", "former name"},
            {"Telaria", "merged with, 2020"}}, false, true},
        {"Xandr", "Microsoft", "2022", G::auction,
            {bidBroadcast}, 2, 0, {}, {{"AppNexus", "former name"},
            {"AT&T", "former owner, 2018\u20132022"}}, false, true},
        {"Yahoo", no, no, G::auction, {bidBroadcast, serverSideBidding}, 3, 0, {}, {}, false, false},
        {"PubMatic", no, no, G::auction, {bidBroadcast}, 1, 0, {"pwt.js"}, {}, false, false},
        {"OpenX", no, no, G::auction, {bidBroadcast}, 1, 0, {}, {}, false, false},
        {"Criteo", no, no, G::auction, {bidBroadcast, crossSite}, 2, 0, {"ld.js"}, {}, false, false},
        {"TRUSTX", "Symitri", "spun out of Digital Content Next", G::auction,
            {bidBroadcast}, 1, 0, {}, {}, false, true},
        {"Google", no, no, G::advertising,
            {adDelivery, bidBroadcast, crossSite}, 6, 0,
            {"gpt.js", "pubads_impl.js", "adsbygoogle.js"}, {}, false, false},
        {"Taboola and its competitors", no, no, G::advertising,
            {recommendation, crossSite}, 5, 0, {"loader.js", "outbrain.js"}, {}, false, false},
        {"Confiant", no, no, G::advertising, {adSecurity}, 2, 0, {}, {}, false, true},
        {"IAS and DoubleVerify", no, no, G::advertising,
            {viewability}, 2, 0, {"iasPET.1.js"}, {}, false, false},
        {"Braze", no, "renamed from Appboy, 2017",
            G::profile, {behaviouralProfile, interruption}, 3, 0, {"appboy.min.js", "braze.min.js"},
            {{"Appboy", "former name"}}, false, true},
        {"Knotch", no, no, G::profile, {contentAnalytics, behaviouralProfile}, 3, 0, {}, {}, false, true},
        {"Akamai Identity Cloud", "Akamai", "acquired Janrain, 2019",
            G::profile, {socialLogin, behaviouralProfile}, 2, 0, {},
            {{"Janrain", "former name"}}, false, true},
        {"True Anthem", "JWX", "April 2026", G::profile,
            {socialDistribution, contentAnalytics}, 1, 0, {}, {}, false, true},
        {"Comscore", no, no, G::measurement,
            {audienceMeasurement, crossSite}, 2, 0, {"beacon.js"}, {}, false, false},
        {"Adobe Experience Cloud", "Adobe", no, G::measurement,
            {audienceMeasurement, experimentation}, 1, 0, {"AppMeasurement.js", "VisitorAPI.js"},
            {}, false, false},
        {"Chartbeat", no, no, G::measurement,
            {audienceMeasurement}, 2, 0, {"chartbeat.js", "chartbeat_mab.js"}, {}, false, false},
        {"Moat", "Oracle", "2017", G::dead,
            {viewability}, 2, 0, {"moatad.js", "moatframe.js"}, {}, true, true},
        {"Livefyre", "Adobe", "2016", G::dead, {contentDelivery}, 1, 0, {}, {}, true, true},
        {"Yobi", no, no, G::identity, {crossSite, behaviouralProfile}, 1, 0, {}, {}, false, true},
        {"The Trade Desk", no, no, G::identity,
            {bidBroadcast, crossSite, crossDevice}, 1, 0, {}, {}, false, false},
        {"DataXu", "Roku", "2019", G::identity,
            {bidBroadcast, crossSite, crossDevice}, 2, 0, {}, {}, false, true},
        {"iSpot.tv", no, no, G::identity, {crossDevice, audienceMeasurement}, 1, 0, {}, {}, false, false},
        {"TikTok", "ByteDance", no, G::profile,
            {crossSite, behaviouralProfile}, 3, 0, {"events.js"}, {}, false, false},
        {"Pinterest", no, no, G::profile,
            {crossSite, adDelivery}, 3, 0, {"core.js", "pinit.js"}, {}, false, false},
        {"Snap", no, no, G::profile, {crossSite, adDelivery}, 3, 0, {"scevent.min.js"}, {}, false, false},
        {"Reddit", no, no, G::profile, {crossSite, adDelivery}, 3, 0, {"pixel.js"}, {}, false, false},
        {"Rokt", no, no, G::profile, {behaviouralProfile, adDelivery}, 2, 0, {}, {}, false, false},
        {"Datadog", no, no, G::profile,
            {sessionReplay, experimentation}, 3, 0, {"datadog-rum.js", "datadog-logs.js"}, {}, false, false},
        {"Eppo", no, no, G::measurement, {experimentation}, 2, 0, {}, {}, false, false},
        {"Optimizely", no, no, G::measurement, {experimentation}, 2, 0, {}, {}, false, false},
        {"Ketch", no, no, G::walls, {consentWall}, 3, 0, {}, {}, false, false},
        {"mParticle", no, no, G::profile,
            {behaviouralProfile, crossSite, crossDevice}, 1, 0, {"mparticle.js"}, {}, false, false},
        {"StackAdapt", no, no, G::auction, {bidBroadcast, crossSite}, 1, 0, {}, {}, false, false},
        {"Beeswax", "FreeWheel", no, G::auction, {bidBroadcast}, 2, 0, {}, {}, false, false},
        {"MediaGo", "Baidu", no, G::advertising, {recommendation, crossSite}, 1, 0, {}, {}, false, false},
        {"Google Tag Manager", "Google", no, G::profile,
            {tagDelivery}, 1, 0, {"gtm.js", "gtag/js"}, {}, false, false},
        {"Imperva", no, no, G::ordinary, {adSecurity}, 2, 0, {}, {}, false, false},
        {"Trustpilot", no, no, G::ordinary, {contentDelivery}, 1, 0, {}, {}, false, false},
        {"Ensighten", "CHEQ", "2022", G::profile,
            {tagDelivery, behaviouralProfile}, 3, 0, {"Bootstrap.js"}, {}, false, true},
        {"Meta", no, no, G::profile,
            {behaviouralProfile, crossSite, crossDevice, socialLogin}, 10, 5, {}, {}, false, true},
        {"Fox Corporation", no, no, G::ownGround, {contentDelivery}, 6, 5, {}, {}, false, true},
        {"OneTrust", no, no, G::walls,
            {consentWall}, 3, 0, {"otSDKStub.js", "otBannerSdk.js"}, {}, false, false},
        {"Sourcepoint", no, no, G::walls,
            {consentWall}, 2, 0, {"wrapperMessagingWithoutDetection.js"}, {}, false, false},
        {"push notification vendors", no, no, G::walls,
            {interruption}, 3, 0, {"OneSignalSDK.js"}, {}, false, false},
        {"Google Fonts", "Google", no, G::ordinary, {fontDelivery}, 2, 0, {}, {}, false, false},
        {"Fonticons", no, no, G::ordinary, {fontDelivery}, 2, 0, {}, {}, false, false},
        {"Yahoo image servers", "Yahoo", no, G::ordinary, {contentDelivery}, 1, 0, {}, {}, false, false},
        {"Supabase", no, no, G::backend, {appBackend}, 2, 0, {}, {}, false, false},
        {"Firebase", "Google", "2014", G::backend, {appBackend}, 3, 0, {}, {}, false, false},
        {"a standards body", no, no, G::ordinary, {}, 8, 0, {}, {}, false, true},
    };
    // clang-format on
    return rows;
}

TEST(DossierCatalogue, everyEntryStandsAsRecordedInOrder) {
    const auto& rows = expectedRows();
    ASSERT_EQ(entries().size(), 57u);
    ASSERT_EQ(rows.size(), 57u);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Row& row = rows[i];
        const Entry& entry = entries()[i];
        SCOPED_TRACE("entry " + std::to_string(i + 1) + " " + row.name);
        EXPECT_EQ(entry.company.name, row.name);
        EXPECT_EQ(entry.company.owner, row.owner);
        EXPECT_EQ(entry.company.since, row.since);
        EXPECT_EQ(entry.group, row.group);
        EXPECT_EQ(entry.capabilities, row.capabilities);
        EXPECT_EQ(entry.hosts.size(), row.hosts);
        EXPECT_EQ(entry.siblings.size(), row.siblings);
        EXPECT_EQ(entry.files, row.files);
        EXPECT_EQ(entry.ties, row.ties);
        EXPECT_EQ(entry.retired.has_value(), row.retired);
        EXPECT_EQ(entry.company.checked, row.verified ? "2026-08" : "needs-check");
    }
}

TEST(DossierCatalogue, totalsAndQuotedWords) {
    std::size_t hosts = 0, siblings = 0, files = 0, notes = 0, retired = 0;
    std::map<std::string, std::string> theirWords;
    for (const Entry& entry : entries()) {
        hosts += entry.hosts.size();
        siblings += entry.siblings.size();
        files += entry.files.size();
        notes += entry.note.has_value();
        retired += entry.retired.has_value();
        if (entry.theirWords) theirWords[entry.company.name] = *entry.theirWords;
        if (entry.note) {
            EXPECT_FALSE(entry.note->empty()) << entry.company.name;
        }
    }
    EXPECT_EQ(hosts, 141u);
    EXPECT_EQ(siblings, 10u);
    EXPECT_EQ(files, 33u);
    EXPECT_EQ(notes, 47u);
    EXPECT_EQ(retired, 2u);
    const std::map<std::string, std::string> expected = {
        {"Adobe Audience Manager", "data management platform"},
        {"Tapad", "digital identity resolution"},
        {"Amazon Publisher Services", "server-side header bidding"},
        {"Index Exchange", "programmatic SSP"},
        {"Magnite", "sell-side advertising platform"},
        {"TRUSTX", "the only SSP built by, and for, premium publishers"},
        {"Confiant", "detecting and stopping malvertising attacks"},
        {"Braze", "queued locally in HTML 5 localStorage when available"},
        {"Knotch", "content intelligence platform"},
        {"Akamai Identity Cloud", "customer identity and access management"},
        {"True Anthem", "AI-powered content distribution platform"},
        {"Yobi", "one of the largest consented behavioral datasets in the US"},
        {"Optimizely", "experimentation platform"},
        {"Ketch", "consent and preference management"},
        {"Ensighten", "deploy any vendor tag on any platform or device"},
        {"Supabase", "Postgres database, Authentication, instant APIs"},
        {"Firebase", "cloud-hosted NoSQL database"},
    };
    EXPECT_EQ(theirWords, expected);
    EXPECT_EQ(revised, "2026-08");
}

TEST(DossierCatalogue, theRecordedRowsInFull) {
    const Entry& tapad = named("Tapad");
    EXPECT_EQ(tapad.note,
              "Experian bought Tapad for $280m to combine, in Experian's own words, its offline consumer "
              "data with online consumer data. That is the join worth understanding: this browser, your "
              "phone, and a file about you that existed before you opened either.");
    EXPECT_TRUE(tapad.siblings.empty());
    EXPECT_EQ(depth(tapad.capabilities), Depth::acrossLives);
    EXPECT_EQ(named("Moat").retired, "Oracle left the advertising business in 2024");
}

TEST(DossierCatalogue, hostsAreWellFormedAndEachListedOnce) {
    std::set<std::string> seen;
    std::vector<std::string> bareLabels;
    for (const Entry& entry : entries()) {
        for (const std::string& host : entry.hosts) {
            SCOPED_TRACE(entry.company.name + ": " + host);
            EXPECT_TRUE(seen.insert(host).second) << "listed twice";
            EXPECT_EQ(host, text::asciiLowercased(host));
            EXPECT_FALSE(host.empty());
            EXPECT_NE(host.front(), '.');
            EXPECT_NE(host.back(), '.');
            EXPECT_EQ(host.find_first_of(" /:"), std::string::npos);
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

TEST(DossierCatalogue, everySourceIsAnHttpsAddress) {
    const auto check = [](const std::string& sourced, const std::string& who) {
        SCOPED_TRACE(who + ": " + sourced);
        EXPECT_TRUE(text::startsWith(sourced, "https://"));
        const auto url = Url::parse(sourced);
        ASSERT_TRUE(url);
        EXPECT_EQ(url->string(), sourced);
        EXPECT_EQ(url->view().scheme(), "https");
        EXPECT_FALSE(url->view().host().empty());
    };
    for (const Entry& entry : entries())
        check(entry.company.sourced, entry.company.name);
    for (const BrandTLD& brand : brandTLDs())
        check(brand.sourced, brand.holder);
}

TEST(DossierCatalogue, brandTopLevelDomainsInOrder) {
    const std::vector<std::string> holders = {
        "FOX Registry, LLC",
        "Charleston Road Registry Inc. (Google)",
        "Amazon Registry Services, Inc.",
        "Microsoft Corporation",
        "Apple Inc.",
        "British Broadcasting Corporation",
        "CBS Domains Inc.",
        "NBCUniversal Media, LLC",
        "Disney Enterprises, Inc.",
        "Sky International AG",
        "Wal-Mart Stores, Inc.",
        "Target Brands, Inc.",
        "NIKE, Inc.",
        "Ford Motor Company",
        "Bayerische Motoren Werke AG",
        "Netflix, Inc.",
    };
    ASSERT_EQ(brandTLDs().size(), holders.size());
    std::set<std::string> labels;
    for (std::size_t i = 0; i < holders.size(); ++i) {
        const BrandTLD& brand = brandTLDs()[i];
        EXPECT_EQ(brand.holder, holders[i]);
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
        {"DOUBLECLICK.NET.", "Google"},                // both
        {"fonts.googleapis.com", "Google Fonts"},      // the most specific suffix wins...
        {"firestore.googleapis.com", "Firebase"},      // ...beside a sibling suffix
        {"www.googleapis.com", "(none)"},              // the shared parent is nobody's
        {"nexus.ensighten.com", "Ensighten"},          //
        {"s.yimg.com", "Yahoo image servers"},         // owner's other entry
        {"c2shb.pubgw.yahoo.com", "Yahoo"},            //
        {"www.yahoo.com", "(none)"},                   // only named suffixes answer
        {"nation.fox", "Fox Corporation"},             // the bare label
        {"a.b.c.fox", "Fox Corporation"},              //
        {"fox", "Fox Corporation"},                    // the label itself
        {"WWW.B\u00dcCHER.FOX", "Fox Corporation"},    // non-ASCII host, upper case
        {"fox.example.com", "(none)"},                 // the label in the middle
        {"doubleclick.net.example.com", "(none)"},     // a listed host in the middle
        {"notdoubleclick.net", "(none)"},              // a suffix, but not at a label
        {"doubleclick", "(none)"},                     //
        {"localhost", "(none)"},                       // a single label with no entry
        {"", "(none)"},                                //
        {".", "(none)"},                               //
        {"doubleclick.net..", "(none)"},               // only one trailing dot is dropped
        {"..doubleclick.net", "Google"},               //
        {"www.google-analytics.com", "(none)"},        //
        {"sdk.iad-01.braze.com", "Braze"},             //
        {"fscdn.eppo.cloud", "Eppo"},                  //
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
    const std::vector<std::string> prefixes = {"mprtcl-",    "eppo-",      "ab.storage.", "reese84",
                                               "_ga",        "amplitude_", "mp_",         "ajs_",
                                               "_hjSession", "optimizely", "_dd_s",       "kameleoon"};
    ASSERT_EQ(sdkKeys().size(), prefixes.size());
    for (std::size_t i = 0; i < prefixes.size(); ++i)
        EXPECT_EQ(sdkKeys()[i].prefix, prefixes[i]);

    const std::vector<std::pair<std::string, std::string>> cases = {
        {"mprtcl-v4_ABCDEF", "mParticle"},
        {"eppo-configuration", "Eppo"},
        {"ab.storage.deviceId.a1b2", "Braze"},
        {"reese84", "Imperva"},
        {"optimizely_data$$pending_events", "Optimizely"},
        {"_dd_s", "Datadog"},
        {"_ga_XYZ", "(none)"},              // a library with no entry
        {"_gat", "(none)"},                 //
        {"amplitude_id_abc", "(none)"},     //
        {"mp_abc_mixpanel", "(none)"},      // stops at "mp_" though nothing answers there
        {"ajs_anonymous_id", "(none)"},     //
        {"_hjSessionUser_1", "(none)"},     //
        {"kameleoonVisitorCode", "(none)"}, //
        {"Optimizely", "(none)"},           // prefixes are case-sensitive
        {"mprtcl", "(none)"},               // shorter than the prefix
        {"", "(none)"},                     //
        {"session", "(none)"},              //
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
    EXPECT_EQ(connections(named("Tapad")), (std::vector<Tie>{{"Experian", "parent \u00b7 2020"}}));
    EXPECT_EQ(connections(named("Braze")), (std::vector<Tie>{{"Appboy", "former name"}}));
    EXPECT_TRUE(connections(named("Criteo")).empty());
    // Nobody names Criteo as owner; Google is named by three, and Yahoo by one.
    EXPECT_EQ(connections(named("Google")), (std::vector<Tie>{{"Google Tag Manager", "same owner"},
                                                              {"Google Fonts", "same owner"},
                                                              {"Firebase", "same owner"}}));
    EXPECT_EQ(connections(named("Firebase")), (std::vector<Tie>{{"Google", "parent \u00b7 2014"},
                                                                {"Google Tag Manager", "same owner"},
                                                                {"Google Fonts", "same owner"}}));
    EXPECT_EQ(connections(named("Yahoo")), (std::vector<Tie>{{"Yahoo image servers", "same owner"}}));
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

    Entry ownedBySelf;
    ownedBySelf.company.name = "Yahoo";
    ownedBySelf.company.owner = "Yahoo";
    EXPECT_EQ(connections(ownedBySelf), (std::vector<Tie>{{"Yahoo image servers", "same owner"}}));

    Entry emptyOwner;
    emptyOwner.company.name = "Nameless";
    emptyOwner.company.owner = "";
    EXPECT_TRUE(connections(emptyOwner).empty());
}

TEST(DossierCompanies, oneEntryPerNameInCatalogueOrder) {
    EXPECT_EQ(companies(), entries());

    Entry first;
    first.company = {
        .name = "Acme", .owner = "Parent", .sourced = "https://a.example/", .checked = "2026-08"};
    first.group = Group::auction;
    first.hosts = {"a.example", "b.example"};
    first.capabilities = {bidBroadcast};
    first.note = "first note";
    first.siblings = {"acme.example"};
    first.ties = {{"Old Acme", "former name"}};
    first.files = {"acme.js"};
    Entry other;
    other.company.name = "Other";
    other.hosts = {"other.example"};
    Entry second;
    second.company = {.name = "Acme", .sourced = "https://b.example/", .checked = "needs-check"};
    second.group = Group::dead;
    second.hosts = {"b.example", "c.example"};
    second.capabilities = {crossSite, bidBroadcast};
    second.theirWords = "their words";
    second.note = "second note";
    second.retired = "gone";
    second.siblings = {"second.example"};
    second.ties = {{"Someone", "merged with"}};
    second.files = {"acme.js", "acme2.js"};

    const std::vector<Entry> merged = companies({first, other, second});
    ASSERT_EQ(merged.size(), 2u);
    EXPECT_EQ(merged[1], other);
    const Entry& acme = merged[0];
    EXPECT_EQ(acme.company, first.company);
    EXPECT_EQ(acme.group, Group::auction);
    EXPECT_EQ(acme.hosts, (std::vector<std::string>{"a.example", "b.example", "b.example", "c.example"}));
    EXPECT_EQ(acme.capabilities, (std::vector<Capability>{bidBroadcast, crossSite}));
    EXPECT_EQ(acme.theirWords, "their words");
    EXPECT_EQ(acme.note, "first note");
    EXPECT_EQ(acme.retired, "gone");
    EXPECT_EQ(acme.siblings, first.siblings);
    EXPECT_EQ(acme.ties, first.ties);
    EXPECT_EQ(acme.files, (std::vector<std::string>{"acme.js", "acme2.js"}));
}

TEST(DossierWords, depthsCapabilitiesAndGroups) {
    EXPECT_LT(Depth::served, Depth::counted);
    EXPECT_LT(Depth::acrossSites, Depth::acrossLives);
    EXPECT_EQ(rawValue(Depth::acrossLives), 5);
    EXPECT_EQ(depthFromRaw(3), Depth::thisBrowser);
    EXPECT_EQ(depthFromRaw(6), std::nullopt);
    EXPECT_EQ(depthFromRaw(-1), std::nullopt);
    EXPECT_EQ(label(Depth::served), "sent the page");
    EXPECT_EQ(label(Depth::acrossLives), "knows you off the web");

    const std::vector<std::tuple<Capability, Depth, std::string_view>> capabilities = {
        {crossSite, Depth::acrossSites, "knows you on other sites"},
        {crossDevice, Depth::acrossLives, "links this browser to your phone"},
        {offlineJoin, Depth::acrossLives, "joins you to records off the web"},
        {bidBroadcast, Depth::thisPage, "bid on your visit"},
        {serverSideBidding, Depth::thisPage, "bid on you, server to server"},
        {adDelivery, Depth::counted, "served the ads"},
        {recommendation, Depth::counted, "the paid links"},
        {viewability, Depth::thisPage, "measured how far you scrolled"},
        {adSecurity, Depth::counted, "read every ad you were shown"},
        {sessionReplay, Depth::thisBrowser, "replayed your session"},
        {behaviouralProfile, Depth::thisBrowser, "keeps a profile of you"},
        {experimentation, Depth::thisPage, "tested a variant on you"},
        {audienceMeasurement, Depth::counted, "counted you"},
        {contentAnalytics, Depth::thisPage, "measured what held you"},
        {socialDistribution, Depth::thisPage, "chooses what gets posted"},
        {socialLogin, Depth::thisBrowser, "holds your sign-in"},
        {consentWall, Depth::counted, "the consent modal"},
        {interruption, Depth::counted, "the nag"},
        {appBackend, Depth::served, "this site's own back end"},
        {contentDelivery, Depth::served, "served content"},
        {tagDelivery, Depth::thisBrowser, "loaded every other tag here"},
        {fontDelivery, Depth::served, "served a font"},
    };
    ASSERT_EQ(allCases<Capability>.size(), capabilities.size());
    for (std::size_t i = 0; i < capabilities.size(); ++i) {
        const auto& [capability, expectedDepth, phrase] = capabilities[i];
        EXPECT_EQ(allCases<Capability>[i], capability);
        EXPECT_EQ(depth(capability), expectedDepth) << rawValue(capability);
        EXPECT_EQ(act(capability), phrase);
        EXPECT_EQ(fromRaw<Capability>(rawValue(capability)), capability);
    }
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

TEST(DossierWords, attribution) {
    EXPECT_EQ(named("Tapad").company.attribution(), "Tapad (Experian)");
    EXPECT_EQ(named("Criteo").company.attribution(), "Criteo");
    Company ownedBySelf{.name = "Yahoo", .owner = "Yahoo"};
    EXPECT_EQ(ownedBySelf.attribution(), "Yahoo");
    Company emptyOwner{.name = "Acme", .owner = ""};
    EXPECT_EQ(emptyOwner.attribution(), "Acme");
    EXPECT_EQ(dossierWords().attribution(named("Xandr").company), "Xandr (Microsoft)");
}

TEST(DossierWords, englishInEveryLanguage) {
    const Language before = currentLanguage();
    for (Language language : allCases<Language>) {
        setCurrentLanguage(language);
        const DossierVocabulary& words = dossierWords();
        EXPECT_EQ(words.capability(crossDevice), "links this browser to your phone");
        EXPECT_EQ(words.group(Group::dead), "Dead tags, still firing");
        EXPECT_EQ(words.depth(Depth::thisPage), "saw this visit");
        EXPECT_EQ(words.searchButton(), "Search");
    }
    setCurrentLanguage(before);

    const DossierVocabulary& words = dossierWords();
    EXPECT_EQ(words.companyTally(57, 57), "57 companies");
    EXPECT_EQ(words.companyTally(1, 57), "1 of 57 companies");
    EXPECT_EQ(words.companyTally(0, 57), "0 of 57 companies");
    EXPECT_EQ(words.companyTally(1, 1), "1 company");
    EXPECT_EQ(words.companyTally(0, 0), "0 companies");
    EXPECT_EQ(words.nothingButDelivery(1),
              "One host sent bytes this page asked for and nothing else. They score "
              "nothing:");
    EXPECT_EQ(words.nothingButDelivery(3),
              "3 hosts sent bytes this page asked for and nothing else. They score "
              "nothing:");
    EXPECT_TRUE(text::startsWith(words.nothingMatched("acme"), "Nobody in the dossier answers to \u201c"
                                                               "acme\u201d. It is a file"));
    EXPECT_TRUE(words.whereTheNamesCameFrom().ends_with(" Dossier revised 2026-08."));
    EXPECT_EQ(words.isParent(), "parent");
    EXPECT_EQ(words.sameOwner(), "same owner");
}

// The dossier view finds a company by any word of its listing; the catalogue's texts must keep its
// searches telling the truth (a company is found by its owner, a former name, or what it sells).
TEST(DossierCatalogue, listingsAnswerTheSearchesTheViewPromises) {
    const auto listing = [](const Entry& entry) {
        std::string text = entry.company.name + " " + entry.company.owner.value_or("") + " " +
                           entry.company.since.value_or("") + " " + std::string(displayName(entry.group)) +
                           " " + entry.theirWords.value_or("") + " " + entry.note.value_or("");
        for (const std::string& host : entry.hosts)
            text += " " + host;
        for (const std::string& file : entry.files)
            text += " " + file;
        for (Capability capability : entry.capabilities)
            text += " " + std::string(act(capability));
        for (const Tie& tie : connections(entry))
            text += " " + tie.company;
        return text::lowercased(text);
    };
    const auto found = [&](std::vector<std::string> words) {
        std::vector<std::string> names;
        for (const Entry& entry : companies()) {
            const std::string text = listing(entry);
            if (std::all_of(words.begin(), words.end(),
                            [&](const std::string& word) { return text.find(word) != std::string::npos; }))
                names.push_back(entry.company.name);
        }
        return names;
    };
    EXPECT_EQ(found({"experian"}), std::vector<std::string>{"Tapad"});
    EXPECT_EQ(found({"gtm.js"}), std::vector<std::string>{"Google Tag Manager"});
    EXPECT_EQ(found({"demdex"}), std::vector<std::string>{"Adobe Audience Manager"});
    EXPECT_EQ(found({"adobe", "counted"}),
              (std::vector<std::string>{"Adobe Audience Manager", "Adobe Experience Cloud"}));
    EXPECT_TRUE(found({"adobe", "measured"}).empty());
}

} // namespace
} // namespace nimb::Dossier
