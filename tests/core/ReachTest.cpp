#include "CatalogueEntry.h"
#include "base/Domain.h"
#include "report/Dossier.h"
#include "report/DossierVocabulary.h"
#include "report/Evidence.h"
#include "report/NimbReport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

// Each expected reach names only the members its case is about; the rest keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace nimb {
namespace {

using Dossier::Depth;
using Dossier::Reach;

const std::string page = "https://www.example.com/story";
const std::string attempted = " The score counts what was attempted, blocked or not.";

using test::entryNamed;

std::string hostOf(std::string_view company, std::size_t index = 0) {
    const Dossier::Entry& entry = entryNamed(company);
    if (index >= entry.hosts.size()) {
        ADD_FAILURE() << company << " has no host " << index;
        return "missing.invalid";
    }
    // A subdomain, as pages meet them; the entry answers for it all the same.
    return "x." + entry.hosts[index];
}

// A host of the company that is not on `site` itself.
std::string hostOffSite(std::string_view company, std::string_view site) {
    for (const std::string& host : entryNamed(company).hosts) {
        if (Domain::registrable(host) != site) return "x." + host;
    }
    ADD_FAILURE() << company << " has no host off " << site;
    return "missing.invalid";
}

std::string headline(const Reach& reach) {
    return dossierWords().headline(reach);
}

std::string meaning(const Reach& reach, bool blocking) {
    return dossierWords().whatTheScoreMeans(reach, blocking);
}

// No third party, or only companies that deliver bytes.
TEST(ReachTest, aPageWithNoThirdPartiesThatTrackReachesNothing) {
    for (const Reach& reach :
         {Dossier::reach({}, {}, page),
          Dossier::reach({"example.com", "cdn.example.com"}, {"WWW.EXAMPLE.COM", "img.example.com"}, page),
          Dossier::reach({hostOf("Google Fonts")},
                         {hostOf("Firebase"), hostOf("a standards body"), hostOf("Fonticons")}, page)}) {
        EXPECT_EQ(reach, Reach{});
        EXPECT_EQ(reach.heat(), 0);
        EXPECT_EQ(reach.score(), 0);
        EXPECT_EQ(headline(reach), "Nothing here followed you.");
        EXPECT_EQ(meaning(reach, true), "");
    }
}

TEST(ReachTest, oneUnidentifiedAllowedDomainSawThisVisit) {
    Reach reach = Dossier::reach({}, {"pixel.tracker.example", "cdn.tracker.example"}, page);
    EXPECT_EQ(reach, (Reach{.deepest = Depth::thisPage,
                            .outsideDeepest = Depth::thisPage,
                            .atDepth = {{Depth::thisPage, 1}},
                            .companies = 1,
                            .saw = 1,
                            .gotThrough = 1,
                            .unknown = 1}));
    EXPECT_EQ(reach.score(), 24);
    EXPECT_EQ(meaning(reach, true),
              "Nimb blocked none of them: all 1 got your IP address and the time." + attempted);
    EXPECT_EQ(Dossier::reach({"pixel.tracker.example", "cdn.tracker.example"}, page), reach);
}

TEST(ReachTest, theFirstNameInCharacterOrderNamesTheDeepest) {
    Reach reach = Dossier::reach({hostOf("Criteo"), hostOf("Comscore"), "ads.unlisted.example"}, {}, page);
    EXPECT_EQ(reach, (Reach{.deepest = Depth::acrossSites,
                            .outsideDeepest = Depth::acrossSites,
                            .atDepth = {{Depth::thisPage, 1}, {Depth::acrossSites, 2}},
                            .companies = 3,
                            .saw = 3,
                            .blocked = 3,
                            .deepestName = "Comscore",
                            .deepestWasBlocked = true,
                            .unknown = 1}));
    EXPECT_EQ(headline(reach), "3 companies saw this visit. Comscore, blocked here, would have recognised "
                               "this browser on other sites.");
    EXPECT_EQ(meaning(reach, true),
              "Nimb blocked all 3 here; none of them got your IP address and the time." + attempted);
}

TEST(ReachTest, theFirstUnidentifiedDomainInOrderSetsTheDepth) {
    EXPECT_EQ(Dossier::reach({"x.aaa.example"}, {"x.bbb.example", "y.ccc.example", "z.bbb.example"}, page),
              (Reach{.deepest = Depth::thisPage,
                     .outsideDeepest = Depth::thisPage,
                     .atDepth = {{Depth::thisPage, 3}},
                     .companies = 3,
                     .saw = 3,
                     .blocked = 1,
                     .gotThrough = 2,
                     .deepestWasBlocked = true,
                     .unknown = 3}));
    Reach second = Dossier::reach({"x.bbb.example"}, {"x.aaa.example"}, page);
    EXPECT_FALSE(second.deepestWasBlocked);
    // A domain or company reached through one host and blocked on another got through, once.
    for (const auto& [blocked, allowed] :
         {std::pair{std::string("x.aaa.example"), std::string("y.aaa.example")},
          std::pair{hostOf("Criteo", 0), hostOf("Criteo", 1)}}) {
        Reach both = Dossier::reach({blocked}, {allowed}, page);
        EXPECT_EQ(std::tuple(both.companies, both.saw, both.blocked, both.gotThrough), std::tuple(1, 1, 0, 1))
            << allowed;
        EXPECT_FALSE(both.deepestWasBlocked);
    }
}

TEST(ReachTest, theSitesOwnCompanyInTheBusinessIsTheHouse) {
    const Dossier::Entry& meta = entryNamed("Meta");
    ASSERT_FALSE(meta.siblings.empty());
    const std::string site = "https://www." + meta.siblings.front() + "/";
    const std::string metaHost = hostOffSite("Meta", meta.siblings.front());

    Reach alone = Dossier::reach({}, {metaHost}, site);
    EXPECT_EQ(
        alone,
        (Reach{
            .deepest = Depth::acrossLives, .own = 1, .houseName = "Meta", .houseDepth = Depth::acrossLives}));
    EXPECT_NEAR(alone.heat(), (4 + 1 / std::log2(24.0)) / 5, 1e-12);
    EXPECT_EQ(alone.score(), 84);
    EXPECT_EQ(
        headline(alone),
        "Every host here is Meta's own. There is no third party to block: the company you came to see is the "
        "one keeping the file, and it starts before you have done anything.");
    EXPECT_EQ(meaning(alone, true), "");

    Reach withThirdParty = Dossier::reach({}, {metaHost, "pixel.tracker.example"}, site);
    EXPECT_EQ(std::tuple(withThirdParty.companies, withThirdParty.outsideDeepest, withThirdParty.deepest),
              std::tuple(1, Depth::thisPage, Depth::acrossLives));
    EXPECT_EQ(
        headline(withThirdParty),
        "1 company saw this visit. Meta owns this site and is in that business itself, so the file it keeps "
        "has no third party to block and starts before you have done anything.");

    // On any other site the same company is a third party.
    Reach elsewhere = Dossier::reach({}, {metaHost}, page);
    EXPECT_EQ(std::tuple(elsewhere.companies, elsewhere.houseName, elsewhere.deepestName),
              std::tuple(1, std::nullopt, "Meta"));
}

TEST(ReachTest, aHouseThatOnlyDeliversBytesIsOwnAndNamedNowhere) {
    const Dossier::Entry& fox = entryNamed("Fox Corporation");
    ASSERT_FALSE(fox.siblings.empty());
    Reach reach = Dossier::reach({}, {hostOffSite("Fox Corporation", fox.siblings.front())},
                                 "https://" + fox.siblings.front() + "/");
    EXPECT_EQ(reach, (Reach{.own = 1}));
    EXPECT_EQ(reach.heat(), 0);
    EXPECT_EQ(headline(reach), "Every other host here belongs to this site's own company.");
}

TEST(ReachTest, readingAReportFollowsItsBlockingFlag) {
    NimbReport report;
    report.address = page;
    report.recorded = true;
    report.blocked = {{hostOf("Criteo"), 4, std::nullopt}, {"ads.unlisted.example", 1, std::nullopt}};
    report.otherHosts = {hostOf("Chartbeat"), "cdn.example.com"};
    report.houseHosts = {"pixel.other.example"};

    // House hosts take no part.
    Reach on = NimbReportPage::reading(report);
    EXPECT_EQ(std::tuple(on.companies, on.blocked, on.gotThrough, on.unknown), std::tuple(3, 2, 1, 1));
    EXPECT_EQ(meaning(on, true),
              "Nimb blocked 2 of them here; 1 got your IP address and the time." + attempted);

    report.blockingOn = false;
    Reach off = NimbReportPage::reading(report);
    EXPECT_EQ(std::tuple(off.companies, off.blocked, off.gotThrough), std::tuple(3, 0, 3));
    EXPECT_EQ(meaning(off, false).rfind("Blocking was off, so all 3 got your IP address and the time.", 0),
              0u);
}

TEST(ReachTest, anAddressWithoutAHostHasNoSiteOfItsOwn) {
    Reach reach = Dossier::reach({}, {"example.com", "pixel.tracker.example"}, "about:blank");
    EXPECT_EQ((std::pair(reach.unknown, reach.companies)), (std::pair<std::int64_t, std::int64_t>(2, 2)));
}

Reach reachAt(Depth deepest, std::map<Depth, std::int64_t> atDepth) {
    return {.deepest = deepest, .outsideDeepest = deepest, .atDepth = std::move(atDepth)};
}

TEST(ReachTest, eachDepthOwnsABandAFifthWide) {
    struct Case {
        Depth depth;
        std::int64_t count;
        double heat;
        std::int64_t score;
    };
    const double least = 1 / std::log2(24.0) / 5; // one third party, at the bottom of its band
    const Case cases[] = {
        {Depth::counted, 1, least, 4},
        {Depth::counted, 500, 0.2, 20},
        {Depth::thisPage, 1, 0.2 + least, 24},
        {Depth::thisBrowser, 1, 0.4 + least, 44},
        {Depth::acrossSites, 1, 0.6 + least, 64},
        {Depth::acrossLives, 1, 0.8 + least, 84},
        {Depth::acrossLives, 23, 1.0, 100},
        {Depth::acrossLives, 1000, 1.0, 100},
    };
    for (const Case& c : cases) {
        Reach reach = reachAt(c.depth, {{c.depth, c.count}});
        EXPECT_NEAR(reach.heat(), c.heat, 1e-12) << rawValue(c.depth) << " x" << c.count;
        EXPECT_EQ(reach.score(), c.score) << rawValue(c.depth) << " x" << c.count;
    }
    // Shallower parties weigh half per level: 1 + 4/4 = 2 equivalent parties at acrossSites. (The
    // reaches built above are checked down to their parties at each depth; their heat is this arithmetic.)
    EXPECT_NEAR(reachAt(Depth::acrossSites, {{Depth::acrossSites, 1}, {Depth::thisPage, 4}}).heat(),
                (3 + std::log2(3.0) / std::log2(24.0)) / 5, 1e-12);
}

TEST(ReachTest, theMarkerSitsAtTheScoreKeptOffTheEnds) {
    const std::string ticks =
        "<div class=\"ticks\"><span>counted</span><span>saw this visit</span><span>knows "
        "this browser</span><span>knows you on other sites</span><span>knows you off the "
        "web</span></div>";
    for (const auto& [reach, mark] :
         {std::pair{reachAt(Depth::acrossLives, {{Depth::acrossLives, 23}}), "98%"},
          std::pair{reachAt(Depth::counted, {{Depth::counted, 1}}), "4%"}, std::pair{Reach{}, ""}}) {
        std::string scale = Dossier::heatScale(reach);
        EXPECT_THAT(scale, testing::HasSubstr(ticks)) << scale;
        std::string marker =
            *mark ? "<div class=\"mark\" style=\"left:" + std::string(mark) + "\"></div>" : "";
        EXPECT_EQ(scale.find("class=\"mark\"") != std::string::npos, !marker.empty()) << scale;
        EXPECT_THAT(scale, testing::HasSubstr(marker)) << scale;
    }
}

TEST(ReachTest, colourFollowsTheRampBetweenItsStops) {
    const std::pair<double, const char*> cases[] = {
        {0.0, "#6E6E73"},       {0.07, "#9A9AA0"},  {0.24, "#FFD84D"}, {0.48, "#FFA53D"},
        {0.72, "#FF6B33"},      {1.0, "#FF2D1F"},   {-0.5, "#6E6E73"}, {7.0, "#FF2D1F"},
        {NAN, "#6E6E73"},       {0.035, "#84848A"}, {0.36, "#FFBF45"}, {INFINITY, "#FF2D1F"},
        {-INFINITY, "#6E6E73"},
    };
    for (const auto& [at, colour] : cases)
        EXPECT_EQ(Dossier::colour(at), colour) << at;
}

TEST(ReachTest, headlineCountsThenSaysHowFarTheDeepestCouldFollow) {
    struct Case {
        std::int64_t companies;
        std::int64_t saw;
        Depth outsideDeepest;
        std::optional<std::string> name;
        bool wasBlocked;
        const char* headline;
    };
    const Case cases[] = {
        {1, 0, Depth::counted, std::nullopt, false,
         "1 company counted you. None of them followed you off this page."},
        {3, 1, Depth::thisPage, std::nullopt, false, "1 company saw this visit, and 2 more counted you."},
        {2, 2, Depth::thisPage, std::nullopt, false, "2 companies saw this visit."},
        {2, 2, Depth::thisBrowser, std::nullopt, false,
         "2 companies saw this visit. One of them can know this browser when it comes back."},
        {2, 2, Depth::thisBrowser, std::nullopt, true,
         "2 companies saw this visit. One of them, blocked here, would have known this browser when it came "
         "back."},
        {4, 2, Depth::acrossSites, "Criteo", false,
         "2 companies saw this visit, and 2 more counted you. Criteo can recognise this browser on other "
         "sites."},
        {1, 1, Depth::acrossLives, "Tapad", false,
         "1 company saw this visit. Tapad can join this browser to your phone and to records collected about "
         "you "
         "off the web."},
        {1, 1, Depth::acrossLives, "Tapad", true,
         "1 company saw this visit. Tapad, blocked here, would have joined this browser to your phone and to "
         "records collected about you off the web."},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(headline({.deepest = c.outsideDeepest,
                            .outsideDeepest = c.outsideDeepest,
                            .companies = c.companies,
                            .saw = c.saw,
                            .deepestName = c.name,
                            .deepestWasBlocked = c.wasBlocked}),
                  c.headline);
    }
}

} // namespace
} // namespace nimb
