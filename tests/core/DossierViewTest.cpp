#include "Anchors.h"
#include "CatalogueEntry.h"
#include "PageSafety.h"
#include "pages/PageFrame.h"
#include "report/DossierVocabulary.h"
#include "report/NimbReport.h"
#include "report/NimbReportPage.h"
#include "vocabulary/Language.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace nimb {
namespace {

using namespace NimbReportPage;

NimbReport contacted(std::string_view network = "{}") {
    return NimbReport::parse("{\"network\":" + std::string(network) + "}", "https://www.news.example/", "");
}

// The company names listed, in page order.
std::vector<std::string> listedNames(const std::string& body) {
    std::vector<std::string> names;
    for (std::size_t at = body.find("<h3>"); at != std::string::npos; at = body.find("<h3>", at + 1)) {
        std::size_t start = at + 4;
        std::size_t end = body.find_first_of("<", start);
        names.push_back(body.substr(start, end - start));
    }
    return names;
}

std::string tally(const std::string& body) {
    std::size_t start = body.find("<p class=\"tally\">");
    if (start == std::string::npos) return {};
    start += 17;
    return body.substr(start, body.find("</p>", start) - start);
}

// The catalogue has one entry per company (DossierTest), so a company's listing is its entry's.
using test::entryNamed;

class DossierViewTest : public test::EnglishPageTest {};

TEST_F(DossierViewTest, searchesKeepOnlyCompaniesWithEveryWord) {
    struct Case {
        std::string_view query;
        std::string_view tally;
        std::vector<std::string> names; // in page order; empty: not checked
    };
    const Case cases[] = {
        {"Experian", "1 of 57 companies", {"Tapad"}},                         // through its owner
        {"gtm.js", "1 of 57 companies", {"Google Tag Manager"}},              // through its file names
        {"2011, as Demdex", "1 of 57 companies", {"Adobe Audience Manager"}}, // through its history
        {"adobe counted", "2 of 57 companies", {"Adobe Audience Manager", "Adobe Experience Cloud"}},
        {"ADOBE   Counted ", "2 of 57 companies", {}},
        {"adobe measured", "0 of 57 companies", {}},
        {"AT&T", "1 of 57 companies", {"Xandr"}}, // through a tie
    };
    for (const auto& [query, expectedTally, names] : cases) {
        std::string body = directory(contacted(), query, std::nullopt);
        EXPECT_EQ(tally(body), BookmarksPage::escape(expectedTally)) << query;
        if (!names.empty()) {
            EXPECT_EQ(listedNames(body), names) << query;
        }
    }
}

TEST_F(DossierViewTest, everyCompanyWithoutAQueryAndNoShowAll) {
    std::string body = directory(contacted(), "   \t ", std::nullopt);
    EXPECT_EQ(listedNames(body).size(), 57u);
    EXPECT_THAT(body, Not(HasSubstr("Show all")));
    test::expectInOrder(body,
                        {"<h1>Dossier</h1>",
                         "<p class=\"blurb\">" + BookmarksPage::escape(dossierWords().theWholeDossier()),
                         find("", std::nullopt), "<p class=\"tally\">57 companies</p>", "<h2>"});
    // Within a group names sort without regard to case: mParticle among the M's.
    std::string profile = body.substr(body.find("<h2>Keep a file on you</h2>"));
    std::vector<std::string> names = listedNames(profile.substr(0, profile.find("</ol>")));
    auto at = std::find(names.begin(), names.end(), "mParticle");
    ASSERT_TRUE(at > names.begin() && at + 1 < names.end());
    EXPECT_EQ((at - 1)->front(), 'M');
    EXPECT_GT((at + 1)->front(), 'M');

    // The dossier is the whole catalogue even where the page has no reading to show.
    std::string unavailable =
        html(contacted(), Unavailable::recordingOff, false, View::dossier, "", std::nullopt, Date{}, "UTC");
    EXPECT_THAT(unavailable, HasSubstr("<p class=\"tally\">57 companies</p>"));
}

TEST_F(DossierViewTest, nothingMatchedQuotesTheQueryCutToEighty) {
    std::string hundred(100, 'z');
    std::string body = directory(contacted(), hundred, std::nullopt);
    std::string eighty(80, 'z');
    EXPECT_EQ(tally(body), "0 of 57 companies");
    EXPECT_THAT(body, HasSubstr("value=\"" + eighty + "\""));
    EXPECT_THAT(body, Not(HasSubstr(std::string(81, 'z'))));
    EXPECT_TRUE(body.ends_with("  <p class=\"none\">" + dossierWords().nothingMatched(eighty) + "</p>\n"));
    EXPECT_THAT(body, Not(HasSubstr("<h2>")));
}

TEST_F(DossierViewTest, findFormCarriesTheKeptReport) {
    // Without a kept report: no report field.
    EXPECT_THAT(find("", std::nullopt), Not(HasSubstr("name=\"s\"")));
    SavedReport saved{"K&1", Date{}, "https://a.example/", "", true, "{}"};
    test::expectInOrder(find("a \"b\"", saved),
                        {"action=\"nimb://report\" autocomplete=\"off\"", "name=\"v\" value=\"dossier\"",
                         "name=\"s\" value=\"K&amp;1\"", "name=\"q\" spellcheck=\"false\" autofocus",
                         "value=\"a &quot;b&quot;\" placeholder=\"Search a company, a host, a file name\"",
                         "type=\"submit\">Search</button>",
                         "<a class=\"btn\" href=\"nimb://report?v=dossier&amp;s=K%261\">Show all</a>",
                         "</form>"});
}

TEST_F(DossierViewTest, entryListsWhatTheCompanyIs) {
    test::expectInOrder(
        entry(entryNamed("Tapad"), true),
        {"<h3>Tapad <span class=\"tag here\">on this page</span></h3>",
         "<p class=\"their\">&ldquo;digital identity resolution&rdquo;</p>",
         "<p class=\"note-line\">" + BookmarksPage::escape(*entryNamed("Tapad").note) + "</p>",
         "<dt>Does</dt><dd>links this browser to your phone &middot; knows you on other sites "
         "&middot; joins you to records off the web</dd>",
         "<dt>Connections</dt><dd><b>Experian</b> <span class=\"how\">parent \u00b7 2020</span>",
         "<dt>Hosts</dt><dd><code>tapad.com</code></dd>", "</li>"});

    std::string moat = entry(entryNamed("Moat"), false);
    EXPECT_THAT(
        moat, HasSubstr("<h3>Moat <span class=\"tag flag\">dead Oracle left the advertising business in 2024"
                        "</span></h3>"));
    EXPECT_THAT(moat,
                HasSubstr("<dt>Arrives as</dt><dd><code>moatad.js</code> <code>moatframe.js</code></dd>"));
    EXPECT_THAT(entry(entryNamed("Xandr"), false),
                HasSubstr("<b>AT&amp;T</b> <span class=\"how\">former owner"));

    // A company with no ties says so; one with no capabilities has no "Does" row.
    Dossier::Entry lone{.hosts = {"b.example", "a.example"}, .company = {.name = "Lone"}};
    const std::string lonely = entry(lone, false);
    test::expectInOrder(lonely,
                        {"<h3>Lone</h3>",
                         "<dt>Connections</dt><dd><span class=\"quiet\">No parent, and nobody else here "
                         "under the same roof.</span></dd>",
                         "<dt>Hosts</dt><dd><code>a.example</code> <code>b.example</code></dd>"});
    EXPECT_THAT(lonely, Not(HasSubstr("<dt>Does</dt>")));
}

TEST_F(DossierViewTest, companiesThePageContactedAreTagged) {
    NimbReport report = contacted(R"({"blocked":{"moatads.com":1},"other":["x.tapad.com","nobody.example"],)"
                                  R"("house":["fonts.gstatic.com"]})");
    EXPECT_EQ(named(report), (std::set<std::string>{"Google Fonts", "Moat", "Tapad"}));
    std::string body = directory(report, "", std::nullopt);
    for (std::string_view name : {"Tapad", "Moat", "Google Fonts"})
        EXPECT_THAT(body, HasSubstr("<h3>" + std::string(name) + " <span class=\"tag here\">"));
    EXPECT_THAT(body, Not(HasSubstr("<h3>Criteo <span class=\"tag here\">")));
}

TEST_F(DossierViewTest, matchesLooksAcrossEveryField) {
    const Dossier::Entry& xandr = entryNamed("Xandr");
    struct Case {
        std::vector<std::string> words;
        bool expected;
    };
    const Case cases[] = {
        {{"microsoft"}, true},           // owner
        {{"appnexus"}, true},            // tie
        {{"bid on your visit"}, true},   // capability phrase, spaces and all
        {{"renamed", "exchange"}, true}, // note
        {{"Xandr"}, false},              // words come lower-cased
        {{"2022 bought"}, true},         // the ownership year, then the group, joined by one space
        {{"2022bought"}, false},
        {{}, true},
    };
    for (const auto& [words, expected] : cases)
        EXPECT_EQ(matches(xandr, words), expected) << (words.empty() ? "" : words[0]);
}

} // namespace
} // namespace nimb
