#include "report/Evidence.h"
#include "CatalogueEntry.h"
#include "PageSafety.h"
#include "base/Domain.h"
#include "report/Dossier.h"
#include "report/NimbReport.h"
#include "report/ReportSize.h"

#include <gtest/gtest.h>

#include <limits>
#include <ostream>

namespace nimb::Evidence {

// Findings are compared whole; a failure shows what each says and of what.
inline void PrintTo(const Finding& finding, std::ostream* out) {
    *out << rawValue(finding.kind) << " \"" << finding.detail << "\" of";
    for (const std::string& subject : finding.subjects)
        *out << " " << subject;
}

} // namespace nimb::Evidence

namespace nimb {
namespace {

using Evidence::Finding;
using Kind = Finding::Kind;

// 2026-01-01 00:00 UTC.
const Date now{1767225600};
// 2031-06-15 and 2030-03-02, at noon UTC, so the calendar day is the same in every time zone.
const std::string june2031 = "1939291200000";
const std::string march2030 = "1898683200000";

// Sentences and dates are in English unless a test says otherwise, and the language is set back after.
class EvidenceTest : public test::EnglishPageTest {};

TEST_F(EvidenceTest, identifierIsTheFirstFreeStandingUUIDElseALongHexRun) {
    const std::string upper = "0F8FAD5B-D9CB-469F-A165-70867728950E";
    const std::string lower = "7c9e6679-7425-40de-944b-e07fc1f90ae7";
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {upper, upper},
        {"id=" + upper + "&x", upper},
        {"{\"u\":\"" + lower + "\"}", lower},
        {"-" + upper + " then " + lower, lower}, // preceded by "-": skipped, the search moves on
        {"a" + upper + " then " + lower, lower}, // preceded by a hex digit
        {upper + "a then " + lower, lower},      // followed by a hex digit
        {upper + "-tail", upper},                // followed by "-" is fine
        {"0F8FAD5B-D9CB-469F-A165-70867728950", std::nullopt},
        {"0F8FAD5B-D9CB-469F-A16570867728950E", std::nullopt},
        {"0F8FAD5B--D9CB-469F-A165-70867728950E", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [text, uuid] : cases)
        EXPECT_EQ(Evidence::firstUUID(text), uuid) << text;

    // An identifier is a UUID, else a long hex run.
    const std::string hex23 = "0123456789abcdef0123456";
    const std::string hex24 = hex23 + "7";
    EXPECT_EQ(Evidence::identifier("x" + hex23 + "x"), std::nullopt);
    EXPECT_EQ(Evidence::identifier("x" + hex24 + "x"), hex24);
    EXPECT_EQ(Evidence::identifier("ab:" + hex24 + "FF"), hex24 + "FF");
    EXPECT_EQ(Evidence::identifier("12 34 " + hex23 + " " + hex24), hex24);
    // A UUID wins over an earlier long run.
    EXPECT_EQ(Evidence::identifier(hex24 + " 7c9e6679-7425-40de-944b-e07fc1f90ae7"),
              "7c9e6679-7425-40de-944b-e07fc1f90ae7");
}

TEST_F(EvidenceTest, urlNeedsMoreThanThreeCharactersAfterItsScheme) {
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {"https://abc then", std::nullopt},
        {"https://abcd then", "https://abcd"},
        {"ref=https://example.com/a?b=1|next", "https://example.com/a?b=1"},
        {"\"https://example.com/a\\\"", "https://example.com/a"},
        {"https://ab http://example.com/page", "http://example.com/page"},
        {"HTTPS://example.com/page", std::nullopt},
        {"https://\xC3\xA9\xC3\xA9\xC3\xA9 x", std::nullopt}, // three characters, six bytes
        {"https://\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", "https://\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9"},
    };
    for (const auto& [text, address] : cases)
        EXPECT_EQ(Evidence::url(text), address) << text;
}

TEST_F(EvidenceTest, storageItemFindingsComeInRuleOrder) {
    const std::string value =
        "{\"id\":\"7c9e6679-7425-40de-944b-e07fc1f90ae7\",\"last\":\"https://v.example/Watch?v=1\","
        "\"screen\":\"1x1\",\"browser\":\"x\",\"expires\":" +
        june2031 + "}";
    const std::string key = "mprtcl-api";
    EXPECT_EQ(
        Evidence::read(key, value, 5000, now),
        (std::vector<Finding>{Finding::about(Kind::identifier, key, "7c9e6679-7425-40de-944b-e07fc1f90ae7"),
                              Finding::about(Kind::videoRemembered, key, "https://v.example/Watch?v=1"),
                              // Table order, not text order.
                              Finding::about(Kind::deviceDescribed, key, "browser, screen"),
                              Finding::about(Kind::sdkRan, key, "mParticle"),
                              Finding::about(Kind::expiry, key, "June 15, 2031")}));

    EXPECT_EQ(Evidence::read("k", "see https://example.com/news/1", 10, now),
              std::vector<Finding>{Finding::about(Kind::pageRemembered, "k", "https://example.com/news/1")});
    EXPECT_TRUE(Evidence::read("k", "plain words", 10, now).empty());
}

TEST_F(EvidenceTest, anEventQueueCountsFromOneThousandAndOneBytes) {
    const std::string queued = " \t[{\"event\":\"click\",\"ts\":1}]";
    EXPECT_TRUE(Evidence::read("q", queued, 1000, now).empty());
    std::vector<Finding> findings = Evidence::read("q", queued, 1001, now);
    ASSERT_EQ(findings, std::vector<Finding>{Finding::about(Kind::eventQueue, "q", "1001 bytes")});
    EXPECT_EQ(findings[0].sentence(), "Queued 1001 bytes of what you did, to send on.");
    EXPECT_EQ(Evidence::read("q", queued, 1536, now)[0].detail, "1.5 KB");

    for (const char* text : {"[ {\"Session\":1}]", "[{\"created_at\":1}]"})
        EXPECT_TRUE(Evidence::queue(text)) << text;
    // No queue word; no list of records opened; two spaces are no opening; only spaces and tabs trim.
    for (const char* text : {"[{\"x\":1}]", "x[{\"event\":1}]", "[  {\"event\":1}]", "\n[{\"event\":1}]"})
        EXPECT_FALSE(Evidence::queue(text)) << text;
}

TEST_F(EvidenceTest, deviceFieldsAreNamesStandingAloneBetweenQuotesInTableOrder) {
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"{\"Screen\":1,\"BROWSER\":2,\"screen\":3}", {"browser", "screen"}},
        {"{\"user_agent\":1,\"timezone\":2,\"platform\":3}", {"platform", "user_agent", "timezone"}},
        // One quote can close one name and open the next.
        {"\"screen\"browser\"", {"browser", "screen"}},
        {"\"\"screen\"\"", {"screen"}},
        // Lowered with the rest of a value that is not ASCII.
        {"{\"Timezone\":\"\xC3\x84rger\",\"LANGUAGE\":\"\xCE\xA3\"}", {"timezone", "language"}},
        {"{\"screen \":1,\" browser\":2,\"screen", {}},
        {"browser\"screen\"", {"screen"}},
        {"browser screen", {}},
        {"{\"browsers\":1}", {}},
        {"\"", {}},
    };
    for (const auto& [text, fields] : cases)
        EXPECT_EQ(Evidence::deviceFields(text), fields) << text;
}

TEST_F(EvidenceTest, expiryNeedsThirteenDigitsOfAFutureMomentAndReadsInTheLanguage) {
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {"{\"expires\":" + june2031 + "}", "June 15, 2031"},
        {"{\"EXPIRES\": \"" + june2031 + "\"}", "June 15, 2031"},
        {"{\"v\":1,\"e\":" + march2030 + "}", "March 2, 2030"},
        {"{\"cookie_expires\":" + march2030 + "}", "March 2, 2030"},
        {"{\"expires\":1577880000000}", std::nullopt},  // in the past
        {"{\"expires\":193929120000}", std::nullopt},   // twelve digits
        {"{\"expires\":19392912000000}", std::nullopt}, // fourteen
        {"{\"expires\":\"soon\"}", std::nullopt},
        {"{\"expires\":1939291200000.5}", "June 15, 2031"}, // the run ends at the point
        {"{\"expiry\":" + june2031 + "}", std::nullopt},
        // Numeric characters that are not digits make a run no number is read from.
        {"{\"expires\":\xD9\xA1" + june2031.substr(1) + "}", std::nullopt},
    };
    for (const auto& [text, date] : cases)
        EXPECT_EQ(Evidence::expiry(text, now), date) << text;
    // Exactly now is not later than now.
    EXPECT_EQ(Evidence::expiry("\"expires\":" + june2031, Date{1939291200}), std::nullopt);

    // Dates are written in the interface language.
    const std::string text = "{\"expires\":" + june2031 + "}";
    EXPECT_EQ(Evidence::expiry(text, now, Language::french), "15 juin 2031");
    EXPECT_EQ(Evidence::expiry(text, now, Language::italian), "15 giugno 2031");
    EXPECT_EQ(Evidence::expiry(text, now, Language::spanish), "15 de junio de 2031");
    setCurrentLanguage(Language::french);
    EXPECT_EQ(Evidence::expiry(text, now), "15 juin 2031");
    EXPECT_EQ(Evidence::read("k", text, 10, now)[0].sentence(), "Conserv\u00e9 jusqu\u2019au 15 juin 2031.");
}

TEST_F(EvidenceTest, registrableKeepsTheLabelsThatNameASite) {
    const std::pair<const char*, const char*> cases[] = {
        {"a.b.example.co.uk", "example.co.uk"},
        {"www.Example.COM", "example.com"},
        {"shop.example.com.au", "example.com.au"},
        {"a.b.example.com.info", "com.info"},
        {"localhost", "localhost"},
        {"www.example.gouv.fr", "example.gouv.fr"},
        {"a..example.com", "example.com"},
        {"", ""},
        {"a.b.c.d", "c.d"},
        {"example..co.uk", "example.co.uk"},
        {"www.example.com.", "example.com"},
        {"example.com.", "example.com."},
        {"A.B.CO.UK", "b.co.uk"},
        {"co.co.uk", "co.co.uk"},
    };
    for (const auto& [host, site] : cases) {
        EXPECT_EQ(Domain::registrable(host), site) << host;
        std::string buffer = "left over";
        EXPECT_EQ(Domain::registrable(host, buffer), site) << host;
    }
}

TEST_F(EvidenceTest, auctionHostsAreNamedInTheirFirstLabel) {
    for (const char* host : {"prebid.example.com", "HBOpenBid.pubmatic.com", "eu-shb.example.net"})
        EXPECT_TRUE(Evidence::auctionHost(host)) << host;
    for (const char* host : {"cdn.prebid.example.com", "", "..."})
        EXPECT_FALSE(Evidence::auctionHost(host)) << host;
    EXPECT_EQ(Evidence::read("prebid.unlisted.example", "news.example.com"),
              std::vector<Finding>{Finding::about(Kind::serverSideAuction, "prebid.unlisted.example", "")});
}

TEST_F(EvidenceTest, sameNameFindsTheSiteNameOffTheSiteDomain) {
    struct Case {
        const char* host;
        const char* site;
        bool same;
    };
    const Case cases[] = {
        {"cdn.nytimes-static.net", "nytimes.com", true}, // label begins with the stem
        {"nyt.example.net", "nytimes.com", true},        // label is the beginning of the stem
        {"www.nytimes.com", "nytimes.com", false},       // on the site's own domain
        {"ny.example.net", "nytimes.com", false},        // labels of two characters never count
        {"cdn.bbc.example", "bbc.co.uk", true},
        {"cdn.bb.example", "bb.co.uk", false}, // a stem shorter than three characters
        {"cdn.example.net", "", false},
        {"times.example.net", "nytimes.com", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Evidence::sameName(c.host, c.site), c.same) << c.host << " on " << c.site;
}

TEST_F(EvidenceTest, aBrandTopLevelDomainIsItsHoldersAndNeverASameName) {
    ASSERT_FALSE(Dossier::brandTLDs().empty());
    const Dossier::BrandTLD& brand = Dossier::brandTLDs().front();
    const std::string host = "www." + brand.tld + "." + brand.tld; // would pass for the same name, too
    const std::string site = brand.tld + "news.com";
    std::vector<Finding> findings = Evidence::read(host, site);
    EXPECT_EQ(findings, std::vector<Finding>{Finding::about(Kind::brandTLD, host, brand.holder)});
    EXPECT_EQ(findings[0].sentence(), "Only " + brand.holder + " may register here. It is them.");

    EXPECT_TRUE(Evidence::ownGround("video." + brand.tld, site));
    EXPECT_FALSE(Evidence::ownGround("video." + brand.tld, "unrelated.com"));
    EXPECT_FALSE(Evidence::ownGround("cdn." + site, site)); // on the site's own domain
    EXPECT_FALSE(Evidence::ownGround("video." + brand.tld, ""));
    EXPECT_TRUE(Evidence::ownGround("cdn.examplenews-static.net", "examplenews.com"));
}

TEST_F(EvidenceTest, aCatalogueCompanyUnderTheSiteNameHoldsASeat) {
    // A host of a catalogue company whose first label names the site.
    const Dossier::Entry* criteo = &test::entryNamed("Criteo");
    ASSERT_FALSE(criteo->hosts.empty());
    const std::string domain = Domain::registrable(criteo->hosts.front());
    const std::string name = domain.substr(0, domain.find('.'));
    ASSERT_GE(name.size(), 3u);
    const std::string host = name + "." + criteo->hosts.front();
    const std::string site = name + "news.com";
    ASSERT_EQ(Dossier::entryForHost(host), criteo);
    std::vector<Finding> findings = Evidence::read(host, site);
    EXPECT_EQ(findings, std::vector<Finding>{Finding::about(Kind::namedSeat, host, "Criteo")});
    EXPECT_EQ(findings[0].sentence(), "A standing seat at Criteo.");

    // On a site the company runs itself, it is the site's own name.
    const Dossier::Entry* meta = &test::entryNamed("Meta");
    ASSERT_FALSE(meta->siblings.empty());
    const std::string& sibling = meta->siblings.front();
    const std::string stem = sibling.substr(0, sibling.find('.'));
    std::string metaHost;
    for (const std::string& candidate : meta->hosts) {
        if (Domain::registrable(candidate) != sibling) metaHost = stem + "." + candidate;
    }
    ASSERT_FALSE(metaHost.empty());
    ASSERT_EQ(Dossier::entryForHost(metaHost), meta);
    EXPECT_EQ(Evidence::read(metaHost, sibling),
              std::vector<Finding>{Finding::about(Kind::sameName, metaHost, sibling)});
}

TEST_F(EvidenceTest, reportFindingsAreMergedBySentenceAndOrderedByKind) {
    NimbReport report;
    report.address = "https://www.examplenews.com/story";
    report.recorded = true;
    report.local.items = {
        {"uid", 80, "7c9e6679-7425-40de-944b-e07fc1f90ae7"},
        {"exp1", 60, "{\"expires\":" + june2031 + "}"},
        {"exp2", 60, "{\"expires\":" + march2030 + "}"},
        {"exp3", 60, "{\"e\":" + june2031 + "}"},
        {"device", 40, "{\"screen\":1}"},
    };
    report.session.items = {{"uid", 80, "0123456789abcdef0123456789abcdef"}, {"optimizely_x", 10, ""}};
    report.blocked = {{"prebid.unlisted.test", 3, std::nullopt}};
    report.otherHosts = {"cdn.examplenews-static.net"};
    report.houseHosts = {"hb.examplenews-house.example"}; // never read

    // Two different identifiers are one finding: the sentence carries no detail. The same key in both
    // areas is named twice, and the detail is the later one. The same date from two keys is one
    // finding; another date is another. The site's own house hosts are not read.
    using Subjects = std::vector<std::string>;
    EXPECT_EQ(
        Evidence::read(report, now),
        (std::vector<Finding>{{Kind::sdkRan, {"optimizely_x"}, "Optimizely"},
                              {Kind::identifier, Subjects{"uid", "uid"}, "0123456789abcdef0123456789abcdef"},
                              {Kind::deviceDescribed, {"device"}, "screen"},
                              {Kind::sameName, {"cdn.examplenews-static.net"}, "examplenews.com"},
                              {Kind::serverSideAuction, {"prebid.unlisted.test"}, ""},
                              {Kind::expiry, Subjects{"exp1", "exp3"}, "June 15, 2031"},
                              {Kind::expiry, {"exp2"}, "March 2, 2030"}}));

    EXPECT_TRUE(Evidence::read(NimbReport{}, now).empty());
}

TEST_F(EvidenceTest, everyKindHasItsSentence) {
    struct Case {
        Kind kind;
        const char* detail;
        const char* sentence;
    };
    const Case cases[] = {
        {Kind::identifier, "x", "Assigned a tracking number."},
        {Kind::pageRemembered, "x", "Wrote down a page you were on."},
        {Kind::videoRemembered, "x", "Wrote down the last video you watched, and when."},
        {Kind::deviceDescribed, "browser, screen", "Wrote down your browser, screen."},
        {Kind::sameName, "example.com", "This site's name, off this site's domain."},
        {Kind::serverSideAuction, "", "An auction ran, server to server, unseeable."},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Finding::about(c.kind, "s", c.detail).sentence(), c.sentence);
        EXPECT_EQ(fromRaw<Kind>(rawValue(c.kind)), c.kind);
    }
    EXPECT_EQ(fromRaw<Kind>("Identifier"), std::nullopt);
    // In the interface language.
    setCurrentLanguage(Language::italian);
    EXPECT_EQ(Finding::about(Kind::identifier, "s", "").sentence(),
              "Ti ha assegnato un numero di tracciamento.");
    EXPECT_EQ(
        Finding::about(Kind::sdkRan, "s", "mParticle").sentence(),
        "Il codice di mParticle \u00e8 stato eseguito qui, che i suoi server siano stati raggiunti o no.");
}

TEST_F(EvidenceTest, sizesFollowTheLanguagesDecimalSeparator) {
    struct Case {
        std::int64_t bytes;
        Language language;
        const char* text;
    };
    const Case cases[] = {
        {0, Language::english, "0 bytes"},
        {1, Language::english, "1 byte"},
        {1, Language::french, "1 octet"},
        {1023, Language::english, "1023 bytes"},
        {1024, Language::english, "1.0 KB"},
        {1536, Language::english, "1.5 KB"},
        {1536, Language::french, "1,5 KB"},
        {10239, Language::english, "10.0 KB"},
        {10240, Language::english, "10 KB"},
        {1048064, Language::english, "1024 KB"},
        {1048576, Language::english, "1.0 MB"},
        {2097152, Language::french, "2,0 MB"},
        {-5, Language::english, "-5 bytes"},
        {std::numeric_limits<std::int64_t>::max(), Language::english, "8796093022208.0 MB"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NimbReportPage::size(c.bytes, c.language), c.text) << c.bytes;
    setCurrentLanguage(Language::french);
    EXPECT_EQ(NimbReportPage::size(1536), "1,5 KB");
}

// Values that need lowering, that do not, and that are not ASCII, one after another: the whole report
// reads as its items and hosts read one by one, merged by sentence.
TEST_F(EvidenceTest, aReportReadsAsItsItemsAndHostsReadOneByOne) {
    NimbReport report;
    report.address = "https://www.example.com/story";
    report.local.items = {
        {"a", 10, "{\"SCREEN\":\"1440x900\",\"Expires\":" + june2031 + "}"},
        {"b", 10, "{\"browser\":\"x\",\"expires\":" + march2030 + "}"},
        {"c", 10, "{\"\xC3\x89TAT\":\"https://Example.COM/Watch?v=1\",\"PLATFORM\":\"x\"}"},
        {"d", 2000, "[{\"EVENT\":\"click\",\"TIME\":1}]"},
    };
    report.session.items = {{"a", 10, "0F8FAD5B-D9CB-469F-A165-70867728950E"}};
    report.blocked = {{"PREBID.Example.net", 3, std::nullopt}};
    report.otherHosts = {"cdn.EXAMPLE-static.net", "shb.other.example", "plain.example"};

    // Every finding of the items and hosts read one by one is a subject of the whole report's.
    std::size_t oneByOne = 0;
    for (const auto* jar : {&report.local, &report.session}) {
        for (const NimbReport::Item& item : jar->items)
            oneByOne += Evidence::read(item.key, item.preview, item.bytes, now).size();
    }
    for (const std::string& host :
         {report.blocked[0].host, report.otherHosts[0], report.otherHosts[1], report.otherHosts[2]})
        oneByOne += Evidence::read(host, "example.com").size();

    std::size_t subjects = 0;
    std::vector<std::pair<Kind, std::string>> read;
    for (const Finding& finding : Evidence::read(report, now)) {
        subjects += finding.subjects.size();
        read.emplace_back(finding.kind, finding.detail);
    }
    EXPECT_EQ(subjects, oneByOne);
    EXPECT_EQ(read, (std::vector<std::pair<Kind, std::string>>{
                        {Kind::identifier, "0F8FAD5B-D9CB-469F-A165-70867728950E"},
                        {Kind::videoRemembered, "https://Example.COM/Watch?v=1"},
                        {Kind::eventQueue, "2.0 KB"},
                        {Kind::deviceDescribed, "screen"},
                        {Kind::deviceDescribed, "browser"},
                        {Kind::deviceDescribed, "platform"},
                        {Kind::sameName, "example.com"},
                        {Kind::serverSideAuction, ""},
                        {Kind::expiry, "June 15, 2031"},
                        {Kind::expiry, "March 2, 2030"},
                    }));
}

} // namespace
} // namespace nimb
