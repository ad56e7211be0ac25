#include "report/NimbReportPage.h"

#include "Anchors.h"
#include "CatalogueEntry.h"
#include "PageSafety.h"
#include "pages/PageFrame.h"
#include "report/DossierVocabulary.h"
#include "report/KeptReports.h"
#include "report/NimbReport.h"
#include "report/SavedReportsPage.h"
#include "vocabulary/Language.h"

#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <set>

namespace nimb {
namespace {

using namespace NimbReportPage;
using BookmarksPage::escape;

// Thursday 1 January 2026, 12:00 UTC.
constexpr Date now{1767268800};
constexpr std::string_view utc = "UTC";
constexpr Unavailable everyReason[] = {Unavailable::recordingOff, Unavailable::scriptingOff,
                                       Unavailable::localPage, Unavailable::notRecorded};

NimbReport parsed(std::string_view payload, std::string_view address = "https://www.news.example/story",
                  bool blockingOn = true) {
    NimbReport report = NimbReport::parse(payload, address, "A story");
    report.blockingOn = blockingOn;
    return report;
}

SavedReport kept(const NimbReport& report, std::string id = "K1") {
    return {std::move(id), Date{now.seconds - 3600}, report.address,
            report.title,  report.blockingOn,        report.snapshot()};
}

std::string overview(const NimbReport& report, const std::optional<SavedReport>& saved = std::nullopt) {
    return html(report, std::nullopt, false, View::overview, "", saved, now, utc);
}

// The text between the first `from` and the next `to` after it, both included; empty when absent.
std::string slice(const std::string& page, std::string_view from, std::string_view to) {
    std::size_t start = page.find(from);
    if (start == std::string::npos) return {};
    std::size_t end = page.find(to, start + from.size());
    if (end == std::string::npos) return {};
    return page.substr(start, end + to.size() - start);
}

class NimbReportPageTest : public test::EnglishPageTest {};

TEST_F(NimbReportPageTest, documentFramesTheTabsAndTheReading) {
    NimbReport report = parsed("{}");
    std::string page = overview(report);
    EXPECT_TRUE(page.starts_with(
        "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Nimb Scale</title>\n"
        "<style>\n" +
        pageStyle() + "\n</style></head><body>\n<div class=\"sheet\">\n" +
        tabs(View::overview, "", std::nullopt) + "  <header class=\"top\">\n    <h1>Nimb Scale</h1>\n"));
    EXPECT_TRUE(page.ends_with("\n</div>\n</body></html>"));

    // On a kept report both tabs carry its id and the query, so switching views keeps them.
    SavedReport saved = kept(report, "A&B");
    EXPECT_EQ(tabs(View::dossier, "tag manager", saved),
              "  <nav class=\"views\">\n"
              "    <a class=\"tab\" "
              "href=\"nimb://report?v=overview&amp;q=tag%20manager&amp;s=A%26B\">Overview</a>\n"
              "    <a class=\"tab on\" href=\"nimb://report?v=dossier&amp;q=tag%20manager&amp;s=A%26B\" "
              "aria-current=\"page\">Dossier</a>\n"
              "  </nav>\n");
}

TEST_F(NimbReportPageTest, headShowsTheScoreInItsColourOverTheScale) {
    NimbReport report = parsed(R"({"network":{"other":["cdn.unknown-tracker.io"]}})");
    Dossier::Reach reach = reading(report);
    ASSERT_EQ(reach.score(), 24);
    EXPECT_EQ(head(report, reach, "AFTER\n"),
              "  <header class=\"top\">\n    <h1>Nimb Scale</h1>\n    <p class=\"addr\">news.example</p>\n"
              "    <p class=\"score\"><span class=\"num\" style=\"color:" +
                  Dossier::colour(reach.heat()) + "\">24</span> out of 100</p>\n" +
                  Dossier::heatScale(reach) + "AFTER\n  </header>\n");

    // The site line falls back to the address, then to the words for no page.
    EXPECT_THAT(head(parsed("{}", "about:blank"), std::nullopt, ""),
                HasSubstr("<p class=\"addr\">about:blank</p>"));
    EXPECT_THAT(head(parsed("{}", ""), std::nullopt, ""), HasSubstr("<p class=\"addr\">No page</p>"));
}

TEST_F(NimbReportPageTest, keepingOffersKeepOnALiveReportAndForgetOnAKeptOne) {
    EXPECT_EQ(keeping(std::nullopt, now, utc),
              "    <p class=\"keeping\"><a class=\"btn\" href=\"nimb://report-keep\">Keep this report</a>"
              "<a class=\"btn quiet\" href=\"nimb://reports\">Saved Reports</a></p>\n");
    SavedReport saved = kept(parsed("{}"));
    EXPECT_EQ(keeping(saved, now, utc),
              "    <p class=\"keeping\"><span class=\"was\">Kept Today 11:00</span>"
              "<a class=\"btn gone\" href=\"nimb://report-forget?s=K1\">Forget</a>"
              "<a class=\"btn quiet\" href=\"nimb://reports\">Saved Reports</a></p>\n");

    // The kept report's page carries that paragraph inside the head.
    std::string page = overview(parsed("{}"), saved);
    EXPECT_THAT(page, HasSubstr(keeping(saved, now, utc) + "  </header>\n"));
}

TEST_F(NimbReportPageTest, unavailableBodySaysWhyAndShowsNoReading) {
    for (Unavailable why : everyReason) {
        NimbReport report = parsed(R"({"network":{"blocked":{"criteo.com":3}}})");
        const std::string body = "    <p class=\"addr\">news.example</p>\n  </header>\n  <p class=\"sub\">" +
                                 escape(words().unavailableLine(why)) + "</p>\n  <div class=\"note\">" +
                                 words().unavailableDetail(why) + "</div>\n";
        for (bool onPanel : {false, true}) {
            std::string page = html(report, why, onPanel, View::overview, "", std::nullopt, now, utc);
            EXPECT_THAT(page, HasSubstr(body + "\n</div>\n</body></html>")) << onPanel;
            for (std::string_view absent : {"class=\"score\"", "class=\"keeping\"", "<h2>"})
                EXPECT_THAT(page, Not(HasSubstr(std::string(absent))));
        }
    }

    // A live page that recorded nothing is never shown as an empty reading.
    std::string page = overview(NimbReport::parse("not json", "https://www.news.example/", ""));
    EXPECT_THAT(page, HasSubstr(escape(words().unavailableLine(Unavailable::notRecorded))));
    // A kept report whose snapshot no longer reads still has its reading and its Forget button.
    SavedReport broken{"K1", now, "https://www.news.example/", "", true, "not json"};
    page = overview(KeptReports::report(broken), broken);
    EXPECT_THAT(page, HasSubstr("<span class=\"num\" style=\"color:#6E6E73\">0</span>"));
    EXPECT_THAT(page, HasSubstr("nimb://report-forget?s=K1"));
}

TEST_F(NimbReportPageTest, aQuietPageKeptToItself) {
    std::string page = overview(parsed(R"({"network":{"house":["img.news.example"]}})"));
    EXPECT_THAT(page, HasSubstr("<span class=\"num\" style=\"color:#6E6E73\">0</span>"));
    EXPECT_THAT(page,
                HasSubstr("  </header>\n  <p class=\"sub\">Nothing on the blocklist, and no third party "
                          "contacted. This page kept to itself.</p>\n"));
    // No mark on the scale, no lede, no walls, no company to source.
    for (const std::string& absent :
         {std::string("class=\"mark\""), std::string("class=\"lede\">"),
          std::string(words().takenOffThePage()), std::string("<div class=\"note\">")})
        EXPECT_THAT(page, Not(HasSubstr(absent)));

    // Walls taken off still make a reading, and their section.
    page = overview(parsed(R"({"walls":{"items":[{"label":"div#cmp","reason":"overlay"}]}})"));
    EXPECT_THAT(
        page,
        HasSubstr("<p class=\"lede\">Nothing here followed you.</p>\n  <p class=\"sub\">1 thing taken off "
                  "the page. The score fluctuates slightly depending on how much of the page loads and "
                  "fires.</p>\n"));
    EXPECT_THAT(page, HasSubstr("<h2>Taken off the page</h2>"));
}

TEST_F(NimbReportPageTest, summaryJoinsTheScoreSentenceTheWallsAndBlocking) {
    const std::string_view payload =
        R"({"walls":{"items":[{"label":"a","reason":"known"},{"label":"b","reason":"adSlot"}]},)"
        R"("network":{"blocked":{"criteo.com":3},"other":["scorecardresearch.com"]}})";
    NimbReport on = parsed(payload);
    Dossier::Reach reach = reading(on);
    EXPECT_EQ(summary(on, reach),
              "  <p class=\"lede\">" + escape(dossierWords().headline(reach)) + "</p>\n  <p class=\"sub\">" +
                  dossierWords().whatTheScoreMeans(reach, true) +
                  " 2 things taken off the page. The score fluctuates slightly depending on "
                  "how much of the page loads and fires.</p>\n");

    NimbReport off = parsed(payload, "https://www.news.example/story", false);
    std::string sub = slice(summary(off, reading(off)), "<p class=\"sub\">", "</p>");
    EXPECT_TRUE(sub.starts_with("<p class=\"sub\">Blocking was off, so all 2 got your IP address")) << sub;
    EXPECT_THAT(sub,
                HasSubstr(" 2 things taken off the page. <b>Blocking is off</b> &mdash; everything below was "
                          "allowed through. The score fluctuates"))
        << sub;
}

TEST_F(NimbReportPageTest, partiesNameEachCompanyOnceAGroup) {
    NimbReport report = parsed(R"({"network":{"blocked":{"criteo.com":5},"other":["static.criteo.net"]}})");
    EXPECT_EQ(
        parties(report, std::nullopt),
        "  <h2>Bought and sold your visit</h2>\n  <ul>\n"
        "    <li><span class=\"n\">5 requests blocked</span><span class=\"who\"><span class=\"lede\">"
        "<a class=\"name\" href=\"nimb://report?v=dossier&amp;q=Criteo\">Criteo</a></span> &mdash; bid on "
        "your visit, knows you on other sites<span class=\"quote\"><code>criteo.com</code></span></span>"
        "</li>\n"
        "    <li><span class=\"n\">allowed</span><span class=\"who\"><code>static.criteo.net</code></span>"
        "</li>\n  </ul>\n");

    // On a kept report the company link opens that report's dossier.
    EXPECT_THAT(parties(report, kept(report)),
                HasSubstr("href=\"nimb://report?v=dossier&amp;q=Criteo&amp;s=K1\""));
}

TEST_F(NimbReportPageTest, partiesAreFiledByGroupInRankedOrder) {
    NimbReport report = parsed(
        R"({"network":{"blocked":{"moatads.com":1,"ads.news.example":2,"tapad.com":1,"stats.doubleclick.net":1},)"
        R"("other":["fonts.gstatic.com","fonts.googleapis.com","s.yimg.com","newscdn.net","unknown-tracker.io"],)"
        R"("house":["ads.doubleclick.net"]}})",
        "https://www.news.example/");
    std::string page = overview(report);
    test::expectInOrder(page, {"<h2>Work out who you are</h2>", "<h2>Serve and check the ads</h2>",
                               "<h2>This site, under another name</h2>", "<h2>Dead tags, still firing</h2>",
                               "<h2>Unidentified</h2>", "<h2>Ordinary</h2>"});

    std::string own = slice(page, "<h2>This site, under another name</h2>", "</ul>");
    // A house host is the site's own whatever the catalogue says; so is a host the site's name is in,
    // and one of the site's own domain that nobody names.
    for (std::string_view host : {"ads.doubleclick.net", "newscdn.net", "ads.news.example"})
        EXPECT_THAT(own, HasSubstr("<code>" + std::string(host) + "</code>")) << own;
    EXPECT_EQ(slice(page, "<h2>Unidentified</h2>", "</ul>"),
              "<h2>Unidentified</h2>\n  <ul>\n    <li><span class=\"n\">allowed</span><span class=\"who\">"
              "<code>unknown-tracker.io</code></span></li>\n  </ul>");
    EXPECT_THAT(
        slice(page, "<h2>Dead tags, still firing</h2>", "</ul>"),
        HasSubstr(">Moat (Oracle)</a> <span class=\"flag\">dead</span></span> &mdash; measured how far "
                  "you scrolled<span class=\"quote\"><code>moatads.com</code>"));
    EXPECT_THAT(
        page,
        HasSubstr("  <h2>Ordinary</h2>\n  <p class=\"hosts\">3 hosts sent bytes this page asked for and "
                  "nothing else. They score nothing: <span class=\"names\">fonts.googleapis.com &middot; "
                  "fonts.gstatic.com &middot; s.yimg.com</span></p>\n"));
    // Who the names belong to is sourced, and the page says so last.
    EXPECT_TRUE(page.ends_with("  <div class=\"note\">" + escape(dossierWords().whereTheNamesCameFrom()) +
                               "</div>\n\n</div>\n</body></html>"));
}

TEST_F(NimbReportPageTest, triedNamesWhoIsBehindEachFinding) {
    NimbReport report = parsed(
        R"({"network":{"blocked":{"prebid.adnxs.com":2},"storage":{"local":{"count":2,"bytes":400,"items":[)"
        R"({"key":"visitor","bytes":200,"preview":"id=0F8C2A5E-1B3D-4C6E-9A7B-123456789ABC"},)"
        R"({"key":"mprtcl-v4","bytes":200,"preview":"{\"das\":\"0f8c2a5e-1b3d-4c6e-9a7b-123456789abd\"}"}]}}}})",
        "https://www.news.example/");
    EXPECT_EQ(
        tried(report, now),
        "  <ul class=\"tried\">\n"
        "    <li><span class=\"who\">mParticle&#39;s code ran here, whether or not its own servers were "
        "ever reached.<span class=\"quote\"><code>mprtcl-v4</code></span></span></li>\n"
        "    <li><span class=\"who\">Assigned a tracking number.<span class=\"quote\"><b>news.example</b> "
        "<code>visitor</code></span></span></li>\n"
        "    <li><span class=\"who\">Assigned a tracking number.<span class=\"quote\"><b>mParticle</b> "
        "<code>mprtcl-v4</code></span></span></li>\n"
        "    <li><span class=\"who\">An auction ran, server to server, unseeable.<span class=\"quote\">"
        "<b>Xandr</b> <code>prebid.adnxs.com</code></span></span></li>\n"
        "  </ul>\n\n");

    // On a site its owner runs under another name, what nobody else is named for is the owner's.
    NimbReport fox =
        parsed(R"({"network":{"storage":{"local":{"count":1,"bytes":9,"items":[{"key":"uid","bytes":9,)"
               R"("preview":"0F8C2A5E-1B3D-4C6E-9A7B-123456789ABC"}]}}}})",
               "https://www.foxnews.com/");
    EXPECT_THAT(tried(fox, now), HasSubstr("<b>Fox Corporation</b> <code>uid</code>"));
    EXPECT_EQ(tried(parsed("{}"), now), "");
}

TEST_F(NimbReportPageTest, takenListsEachWallWithItsReason) {
    NimbReport report =
        parsed(R"({"walls":{"items":[{"label":"div#consent.cmp","reason":"known",)"
               R"("text":"We value your privacy"},{"label":"ins.adsbygoogle","reason":"adSlot"}]}})");
    EXPECT_EQ(
        taken(report),
        "  <h2>Taken off the page</h2>\n  <p class=\"why\">Walls and empty ad slots, hidden after they "
        "arrived with the markup.</p>\n  <ul>\n"
        "    <li><span class=\"who\"><code>div#consent.cmp</code><span class=\"quote\">&ldquo;We value your "
        "privacy&rdquo;</span></span><span class=\"n\">known consent wall</span></li>\n"
        "    <li><span class=\"who\"><code>ins.adsbygoogle</code></span><span class=\"n\">empty ad slot"
        "</span></li>\n  </ul>\n");
    EXPECT_EQ(taken(parsed("{}")), "");
}

TEST_F(NimbReportPageTest, storedListsTheLocalJarAndNamesTheRest) {
    NimbReport report = parsed(
        R"({"network":{"cookies":2,"storage":{"local":{"count":3,"bytes":1536,"items":[)"
        R"({"key":"k","bytes":20480,"preview":"v"}]},"session":{"count":2,"bytes":4,"items":[{"key":"s","bytes":4}]},)"
        R"("databases":["db1","db<2>"]}}})");
    EXPECT_EQ(stored(report),
              "  <h2>What it kept for itself</h2>\n  <p class=\"why\">" + words().storedLine(2, 3, "1.5 KB") +
                  " " + escape(words().storageWasKept()) +
                  "</p>\n  <ul>\n"
                  "    <li><span class=\"who\"><code>k</code><span class=\"quote\">v</span></span>"
                  "<span class=\"n\">20 KB</span></li>\n"
                  "    <li><span class=\"who\">and 2 keys more</span></li>\n  </ul>\n"
                  "  <p class=\"why after\">" +
                  escape(words().sessionKeys(2)) + "</p>\n  <p class=\"why after\">" +
                  words().databases("<code>db1</code> &middot; <code>db&lt;2&gt;</code>") + "</p>\n\n");

    // Storage that went with the page says so; the session's items are never listed.
    std::string lent = stored(parsed(R"({"network":{"storage":{"local":{"count":1},"forgotten":true,)"
                                     R"("session":{"count":1,"items":[{"key":"secret","bytes":2}]}}}})"));
    EXPECT_THAT(lent, HasSubstr(escape(words().storageWasLent())));
    EXPECT_THAT(lent, Not(HasSubstr("secret")));
    EXPECT_EQ(stored(parsed(R"({"network":{"storage":{"local":{"count":0,"bytes":50}}}})")), "");
}

TEST_F(NimbReportPageTest, panelFormIsTheReadingAndALinkToTheDetails) {
    NimbReport report = parsed(R"({"network":{"blocked":{"criteo.com":3}}})");
    Dossier::Reach reach = reading(report);
    for (View view : allCases<View>) {
        EXPECT_EQ(
            html(report, std::nullopt, true, view, "criteo", kept(report), now, utc),
            document(panelStyle(), head(report, reach, "") + summary(report, reach) +
                                       "  <a class=\"more\" href=\"nimb://report?v=overview\">View Details"
                                       "</a>\n"));
    }
}

// The words a reader sees on a page: the text between the tags (save the style sheet) and the prompts
// of the fields, each run of letters lower-cased. A letter is an ASCII one or a character from U+00C0 on,
// save the signs of multiplication and division and the general punctuation and symbols from U+2000 to
// U+2BFF (dashes, curly quotes, the narrow no-break space), so that accented words stay whole; an entity
// is a mark, never a letter. Words of one or two letters are left out: too many of them are shared by
// chance ("a", "on", "me").
std::set<std::string> wordsOf(std::string_view page) {
    std::set<std::string> found;
    std::string word;
    std::size_t letters = 0;
    auto flush = [&] {
        if (letters > 2) found.insert(word);
        word.clear();
        letters = 0;
    };
    auto read = [&](std::string_view text) {
        for (std::size_t at = 0, length = 1; at < text.size(); at += length) {
            const auto byte = static_cast<unsigned char>(text[at]);
            length = byte < 0x80 ? 1 : byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : 2;
            char32_t code = length == 1 ? byte : byte & (0x7F >> length);
            for (std::size_t i = 1; i < length && at + i < text.size(); ++i)
                code = (code << 6) | (static_cast<unsigned char>(text[at + i]) & 0x3F);
            if (length == 1
                    ? !std::isalpha(byte)
                    : code < 0xC0 || code == 0xD7 || code == 0xF7 || (code >= 0x2000 && code <= 0x2BFF)) {
                flush();
                continue;
            }
            word += length == 1 ? std::string(1, static_cast<char>(std::tolower(byte)))
                                : std::string(text.substr(at, length));
            ++letters;
        }
        flush();
    };
    for (std::size_t at = 0; at < page.size();) {
        const std::size_t mark = std::min(page.find_first_of("<&", at), page.size());
        read(page.substr(at, mark - at));
        if (mark == page.size()) break;
        if (page.substr(mark, 7) == "<style>") {
            at = std::min(page.find("</style>", mark), page.size());
            continue;
        }
        const std::size_t end = std::min(page.find(page[mark] == '<' ? '>' : ';', mark), page.size());
        const std::string_view tag = page.substr(mark, end - mark);
        if (std::size_t prompt = tag.find("placeholder=\""); prompt != std::string_view::npos)
            read(tag.substr(prompt + 13, tag.find('"', prompt + 13) - prompt - 13));
        at = end + 1;
    }
    return found;
}

// The words of the catalogue's facts and of the reports' own data, which stay as they are in every
// language: company names, owners and their former names, hosts, sources, file names, the companies'
// own quoted words, registrants, and whatever the page itself held (addresses, titles, keys, values).
std::set<std::string> factWords(const std::vector<NimbReport>& reports) {
    std::set<std::string> facts;
    // Facts are plain text, never markup: read as one.
    auto add = [&facts](std::string_view text) { facts.merge(wordsOf(escape(text))); };
    auto addEach = [&add](const auto& texts) {
        for (const auto& text : texts)
            add(text);
    };
    // The product's name, what the searches below asked for, and the names the catalogue's notes
    // mention besides its own companies.
    add("Nimb NIMB adobe zzzz SpotX Roku Episerver SVG Dublin Core Open Graph Unified ID Bootstrap.js "
        "Digital Content Next Adobe Analytics Adobe Target Snapchat Facebook Instagram Akamai Oracle");
    for (const Dossier::Entry& entry : Dossier::entries()) {
        // Company names that are our own description of a company are said in each language.
        if (!test::describedCompanies.contains(entry.company.name)) add(entry.company.name);
        add(entry.company.owner.value_or("") + " " + entry.company.sourced + " " +
            entry.theirWords.value_or(""));
        addEach(entry.hosts);
        addEach(entry.siblings);
        addEach(entry.files);
        for (const auto& tie : entry.ties)
            add(tie.company);
    }
    for (const Dossier::BrandTLD& brand : Dossier::brandTLDs())
        add(brand.tld + " " + brand.holder);
    for (const NimbReport& report : reports) {
        add(report.address + " " + report.title);
        for (const auto& blocked : report.blocked)
            add(blocked.host);
        addEach(report.otherHosts);
        addEach(report.houseHosts);
        addEach(report.databases);
        for (const auto& hidden : report.hidden)
            add(hidden.label + " " + hidden.text);
        for (const NimbReport::Jar* jar : {&report.local, &report.session}) {
            for (const auto& item : jar->items)
                add(item.key + " " + item.preview);
        }
    }
    return facts;
}

// Every page of the report in the current language: the overview of a full report, read with blocking
// on and off, of a quiet one and of a kept one; the panel; the dossier whole, searched and finding
// nobody; and the list of kept reports.
std::vector<std::string> reportPages() {
    const NimbReport full = samples::fullReport();
    const std::vector<SavedReport> keptReports = samples::savedReports();
    const SavedReport& keptFull = keptReports.front();
    std::vector<std::string> pages = {
        overview(full),
        overview(samples::unblockedReport()),
        overview(samples::quietReport()),
        overview(KeptReports::report(keptFull), keptFull),
        html(full, std::nullopt, true, View::overview, "", std::nullopt, now, utc),
        html(full, std::nullopt, false, View::dossier, "", std::nullopt, now, utc),
        html(full, std::nullopt, false, View::dossier, "adobe", keptFull, now, utc),
        html(full, std::nullopt, false, View::dossier, "zzzz", std::nullopt, now, utc),
        SavedReportsPage::html(keptReports, samples::now, utc),
    };
    for (Unavailable why : everyReason)
        pages.push_back(html(full, why, false, View::overview, "", std::nullopt, now, utc));
    // With what the browser's own count leaves out.
    for (NimbReport::Witness witness : {NimbReport::Witness::counted, NimbReport::Witness::absent}) {
        NimbReport noted = full;
        noted.witness = witness;
        noted.scriptsRead = false;
        pages.push_back(overview(noted));
    }
    return pages;
}

// Words of ours that are rightly the same in a language as in English: the language's own words that
// English shares, each read and judged in its place on the page.
const std::map<Language, std::set<std::string>> sharedWords = {
    // "comment" (how), "font" (they do), "long" (tout au long), "note" (notes down), "part" (share),
    // "question", "service", "messages", "notifications", "tests", "local", "page", "site", "score",
    // "code", "dossier", "style" are French words; "cookie", "script", "push", "web", "workers" and
    // JavaScript are what French calls them; WebSocket is a name.
    {Language::french, {"code",  "comment", "cookie",   "cookies", "dossier",       "font",      "javascript",
                        "local", "long",    "messages", "note",    "notifications", "page",      "pages",
                        "part",  "push",    "question", "score",   "script",        "scripts",   "service",
                        "site",  "sites",   "style",    "tests",   "web",           "websocket", "workers"}},
    // "all" (all'asta), "per" (for), "serve" (is needed) are Italian words; "account", "cookie", "file",
    // "host", "log", "markup", "push", "script", "social", "web", "dossier" and JavaScript are what
    // Italian calls them; WebSocket is a name; "feb" is the month as ICU abbreviates it.
    {Language::italian,
     {"account", "all", "cookie", "dossier", "feb", "file", "host", "javascript", "log", "markup", "per",
      "push", "script", "serve", "social", "web", "websocket"}},
    // "local" is a Spanish word; "bytes", "cookie", "push", "script", "web", "workers" and JavaScript are
    // what Spanish calls them; WebSocket is a name; "feb" is the month as ICU abbreviates it.
    {Language::spanish,
     {"bytes", "cookie", "cookies", "feb", "javascript", "local", "push", "script", "scripts", "web",
      "websocket", "workers"}},
};

TEST_F(NimbReportPageTest, theReportSpeaksEachLanguageSaveTheCataloguesFacts) {
    std::vector<NimbReport> reports = {samples::fullReport(), samples::unblockedReport(),
                                       samples::quietReport()};
    for (const SavedReport& saved : samples::savedReports())
        reports.push_back(KeptReports::report(saved));
    const std::set<std::string> facts = factWords(reports);

    // Our English words: whatever the English pages say that is not a fact.
    std::set<std::string> english;
    for (const std::string& page : reportPages()) {
        for (const std::string& word : wordsOf(page)) {
            if (!facts.contains(word)) english.insert(word);
        }
    }
    ASSERT_GT(english.size(), 400u) << "the pages say too little to judge by";

    for (Language language : {Language::french, Language::italian, Language::spanish}) {
        setCurrentLanguage(language);
        const std::set<std::string>& shared = sharedWords.at(language);
        std::set<std::string> left;
        for (const std::string& page : reportPages()) {
            for (const std::string& word : wordsOf(page)) {
                if (english.contains(word) && !shared.contains(word)) left.insert(word);
            }
        }
        std::string list;
        for (const std::string& word : left)
            list += " " + word;
        EXPECT_TRUE(left.empty()) << rawValue(language) << " pages still say in English:" << list;
    }
}

TEST_F(NimbReportPageTest, rowsSayWhetherRequestsWereBlockedOrGotThrough) {
    struct Case {
        Language language;
        std::string_view oneBlocked, fiveBlocked, oneThrough, fiveThrough, allowed;
    };
    const Case cases[] = {
        {Language::english, "1 request blocked", "5 requests blocked", "1 request got through",
         "5 requests got through", "allowed"},
        {Language::french, "1 requ\u00eate bloqu\u00e9e", "5 requ\u00eates bloqu\u00e9es",
         "1 requ\u00eate est pass\u00e9e", "5 requ\u00eates sont pass\u00e9es", "autoris\u00e9"},
        {Language::italian, "1 richiesta bloccata", "5 richieste bloccate", "1 richiesta \u00e8 passata",
         "5 richieste sono passate", "consentito"},
        {Language::spanish, "1 solicitud bloqueada", "5 solicitudes bloqueadas", "1 solicitud pas\u00f3",
         "5 solicitudes pasaron", "permitido"},
    };
    const std::string_view payload =
        R"({"network":{"blocked":{"criteo.com":5,"tapad.com":1},"other":["static.criteo.net"]}})";
    for (const Case& c : cases) {
        setCurrentLanguage(c.language);
        SCOPED_TRACE(rawValue(c.language));
        for (bool blocking : {true, false}) {
            NimbReport report = parsed(payload, "https://www.news.example/story", blocking);
            const std::string rows = parties(report, std::nullopt), page = overview(report);
            for (std::string_view said : {blocking ? c.fiveBlocked : c.fiveThrough,
                                          blocking ? c.oneBlocked : c.oneThrough, c.allowed})
                EXPECT_THAT(rows, HasSubstr("<span class=\"n\">" + std::string(said) + "</span>")) << rows;
            // With blocking off nothing on the page is called blocked.
            for (std::string_view blocked : {c.fiveBlocked, c.oneBlocked})
                EXPECT_EQ(page.find(blocked) != std::string::npos, blocking) << blocked;
        }
    }
}

TEST_F(NimbReportPageTest, theCountsSayWhatTheyLeaveOutInEveryLanguage) {
    using Witness = NimbReport::Witness;
    struct Case {
        Witness witness;
        bool scriptsRead;
        bool notCounted, absent, withoutScripts;
    };
    const Case cases[] = {
        {Witness::unknown, true, false, false, false}, {Witness::counted, true, true, false, false},
        {Witness::absent, true, false, true, false},   {Witness::counted, false, true, false, true},
        {Witness::unknown, false, false, false, true},
    };
    // A report with a reading, and one that kept to itself: each has its own summary.
    const std::string_view payloads[] = {
        R"({"network":{"blocked":{"doubleclick.net":2},"other":["cdn.unknown-tracker.io"]}})", "{}"};
    std::set<std::string> sentences;
    for (Language language : allCases<Language>) {
        setCurrentLanguage(language);
        SCOPED_TRACE(rawValue(language));
        const std::string notCounted = escape(words().notCounted());
        const std::string absent = escape(words().witnessAbsent());
        const std::string withoutScripts = escape(words().countedWithoutScripts());
        sentences.insert({notCounted, absent, withoutScripts});
        for (std::string_view payload : payloads) {
            for (const Case& c : cases) {
                NimbReport report = parsed(payload);
                report.witness = c.witness;
                report.scriptsRead = c.scriptsRead;
                SCOPED_TRACE(std::string(payload) + " witness " +
                             std::to_string(static_cast<int>(c.witness)) +
                             (c.scriptsRead ? "" : ", scripts not read"));
                const std::string pages[] = {
                    overview(report),
                    html(report, std::nullopt, true, View::overview, "", std::nullopt, now, utc),
                };
                for (const std::string& page : pages) {
                    // Each said once where it applies, in the note under the reading, and nowhere else.
                    std::string note = slice(page, "<p class=\"sub counts\">", "</p>");
                    EXPECT_EQ(note.empty(), !c.notCounted && !c.absent && !c.withoutScripts);
                    for (const auto& [sentence, said] : {std::pair{&notCounted, c.notCounted},
                                                         {&absent, c.absent},
                                                         {&withoutScripts, c.withoutScripts}}) {
                        EXPECT_EQ(test::occurrences(page, *sentence), said ? 1u : 0u) << *sentence;
                        EXPECT_EQ(note.find(*sentence) != std::string::npos, said) << note;
                    }
                    test::expectNoActiveMarkup(page, test::Links::internalOnly);
                }
            }
        }
    }
    // Three sentences in each of the four languages, no two alike.
    EXPECT_EQ(sentences.size(), 3 * allCases<Language>.size());
}

TEST_F(NimbReportPageTest, nothingAReportHoldsComesThroughAsMarkup) {
    NimbReport report = samples::hostileReport();
    // An address with no host, so that the popover's site line shows it whole.
    report.address = test::hostileScriptAddress;
    SavedReport saved = samples::hostileSavedReports().front();
    ASSERT_TRUE(report.recorded);
    ASSERT_FALSE(report.hidden.empty());
    ASSERT_FALSE(report.local.items.empty());
    const std::string pages[] = {
        overview(report),
        overview(KeptReports::report(saved), saved),
        html(report, std::nullopt, false, View::dossier, test::hostileText, saved, now, utc),
        html(report, std::nullopt, true, View::overview, "", std::nullopt, now, utc),
        html(report, Unavailable::notRecorded, false, View::overview, "", saved, now, utc),
    };
    for (const std::string& page : pages) {
        SCOPED_TRACE(page);
        test::expectNoActiveMarkup(page, test::Links::internalOnly);
        EXPECT_THAT(page, HasSubstr("&lt;"));
    }
    // Everything hostile was shown, as text: hosts blocked and allowed, and the key whose finding it is.
    for (const std::string& piece : {std::string("<code>&lt;script&gt;.doubleclick.net</code>"),
                                     "<code>" + escape(test::hostileText) + "</code>",
                                     "<code>" + escape(test::hostileScriptAddress) + "</code>",
                                     std::string("<code>mprtcl-&lt;u&gt;</code>")})
        EXPECT_THAT(pages[0], HasSubstr(piece)) << piece;
}

} // namespace
} // namespace nimb
