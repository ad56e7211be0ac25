// What the browser sees of the requests a page makes, in the real window: a page makes every usual
// kind of request, once to a listed host (<kind>.doubleclick.net) and once to another site's
// (<kind>.elsewhere.example); the loopback proxy shows what left the browser, the report what it
// counted.

#include "ShellTest.h"

#include "engine/WebEngine.h"
#include "window/PageViews.h"
#include "window/ReportRequests.h"
#include "window/StatusController.h"

#include <algorithm>
#include <cstdio>

namespace nimb::test {
namespace {

const std::string page = "http://kinds.test/";
constexpr const char* listed = "doubleclick.net";
constexpr const char* other = "elsewhere.example";

struct Kind {
    const char* name;
    bool toOtherSites = true; // the page also makes it to another site's host
};

// "service-worker": the page would register one if it could; the browser offers none.
const std::vector<Kind> kinds = {
    {"script"},         {"link"},        {"img"},         {"picture"},      {"object"},
    {"audio"},          {"video"},       {"iframe"},      {"import"},       {"font"},
    {"background"},     {"socket"},      {"events"},      {"fetch"},        {"xhr"},
    {"beacon"},         {"icon", false}, {"frame-fetch"}, {"nested-fetch"}, {"worker-fetch"},
    {"service-worker"}, {"csp-report"},  {"redirect"},
};

std::string host(const Kind& kind, const char* site) {
    return std::string(kind.name) + "." + site;
}

class WitnessTest : public ShellTest {
protected:
    // The page's report as the window builds it.
    std::optional<NimbReport> report() {
        std::optional<NimbReport> out;
        window().context().reports().askThePage(
            tab(),
            [&](NimbReport made, std::optional<NimbReportPage::Unavailable>) { out = std::move(made); });
        if (!waitUntil([&] { return out.has_value(); })) return std::nullopt;
        return out;
    }
    bool reached(const std::string& name) { return m_proxy.receivedHost(name); }
    std::string debug(const NimbReport& r) {
        std::string out = "\nreport:";
        for (auto& b : r.blocked)
            out += " " + b.host + "=" + std::to_string(b.requests);
        out += "\nrecorded:";
        for (auto& [h, n] : tab().recordedBlocked)
            out += " " + h + "=" + std::to_string(n);
        out += "\nwitness:";
        if (tab().witness)
            for (auto& [h, n] : tab().witness->blocked)
                out += " " + h + "=" + std::to_string(n);
        out += "\nicons:";
        for (auto& h : tab().blockedIcons)
            out += " " + h;
        out += " network=" + std::to_string(tab().network);
        return out;
    }
    static bool counted(const NimbReport& report, const std::string& name) {
        return std::any_of(report.blocked.begin(), report.blocked.end(),
                           [&](const NimbReport::Blocked& b) { return b.host == name; });
    }
    static bool listedAsOther(const NimbReport& report, const std::string& name) {
        return std::find(report.otherHosts.begin(), report.otherHosts.end(), name) != report.otherHosts.end();
    }
    // Visits the page and waits until every kind the engine sends to the other site has arrived, then
    // until the report counts what it will count of them.
    std::optional<NimbReport> settledReport(std::size_t wantedListed) {
        if (!visit(page)) return std::nullopt;
        waitUntil(
            [&] {
                return std::all_of(kinds.begin(), kinds.end(), [&](const Kind& kind) {
                    return !kind.toOtherSites || std::string(kind.name) == "service-worker" ||
                           reached(host(kind, other));
                });
            },
            20s);
        std::optional<NimbReport> last;
        waitUntil(
            [&] {
                last = report();
                if (!last) return false;
                auto found = std::count_if(kinds.begin(), kinds.end(), [&](const Kind& kind) {
                    return counted(*last, host(kind, listed));
                });
                // What reached another site is told by the witness a moment after it left.
                bool othersTold = std::all_of(kinds.begin(), kinds.end(), [&](const Kind& kind) {
                    std::string to = host(kind, other);
                    return std::string(kind.name) == "socket" || !reached(to) || listedAsOther(*last, to);
                });
                return static_cast<std::size_t>(found) >= wantedListed && othersTold;
            },
            10s);
        return last;
    }
};

TEST_F(WitnessTest, everyKindOfRequestToAListedHostIsBlockedAndNearlyEveryOneCounted) {
    ASSERT_TRUE(app().engine().witnessAtWork()) << "the home page's web process loaded no witness";
    auto made = settledReport(21);
    ASSERT_TRUE(made);
    std::size_t blocked = 0, countedListed = 0;
    std::printf("%-16s %-9s %-8s %-9s %-8s\n", "kind", "listed", "counted", "other", "counted");
    for (const Kind& kind : kinds) {
        bool listedReached = reached(host(kind, listed));
        bool listedCounted = counted(*made, host(kind, listed));
        bool otherReached = kind.toOtherSites && reached(host(kind, other));
        bool otherCounted = kind.toOtherSites && listedAsOther(*made, host(kind, other));
        std::printf("%-16s %-9s %-8s %-9s %-8s\n", kind.name, listedReached ? "REACHED" : "stopped",
                    listedCounted ? "yes" : "no",
                    kind.toOtherSites ? (otherReached ? "reached" : "-") : "n/a",
                    otherCounted ? "yes" : "no");
        EXPECT_FALSE(listedReached) << kind.name << " reached the listed host";
        blocked += listedReached ? 0 : 1;
        countedListed += listedCounted ? 1 : 0;
        // Whatever went to another site is in the report as that site's.
        if (otherReached && std::string(kind.name) != "socket") {
            EXPECT_TRUE(otherCounted) << kind.name << " reached " << host(kind, other) << " uncounted";
        }
    }
    EXPECT_EQ(blocked, kinds.size());
    // Of the 22 kinds the page can make here (no service workers), only a WebSocket opened outside the
    // page's main frame would go uncounted; this page opens its sockets in the main frame.
    EXPECT_GE(countedListed, 21u);

    // Counted once, not once by each that saw it: the recorder and the witness both saw these.
    for (const char* name : {"script", "fetch", "xhr", "beacon"}) {
        auto entry =
            std::find_if(made->blocked.begin(), made->blocked.end(), [&](const NimbReport::Blocked& b) {
                return b.host == std::string(name) + ".doubleclick.net";
            });
        ASSERT_NE(entry, made->blocked.end()) << name;
        EXPECT_EQ(entry->requests, 1) << name;
    }
    // The status line and the shield give the report's number.
    EXPECT_TRUE(waitUntil([&] {
        return window().context().status().shield().count == made->requestsBlocked();
    })) << window().context().status().shield().count
        << " vs " << made->requestsBlocked() << debug(*made);
    EXPECT_EQ(made->witness, NimbReport::Witness::counted);
}

TEST_F(WitnessTest, withBlockingOffEverythingGoesThroughAndIsStillCounted) {
    prefs().setContentBlockingEnabled(false);
    window().context().tabs().views().applyPolicyToEveryTab();
    auto made = settledReport(19);
    ASSERT_TRUE(made);
    for (const char* name : {"img", "picture", "import", "font", "frame-fetch", "worker-fetch", "redirect"}) {
        std::string to = std::string(name) + ".doubleclick.net";
        EXPECT_TRUE(reached(to)) << name;
        EXPECT_TRUE(counted(*made, to)) << name;
    }
    EXPECT_FALSE(made->blockingOn);
}

TEST_F(WitnessTest, aPageBroughtBackFromThePageCacheKeepsWhatTheWitnessCounted) {
    const std::string framed = "http://kinds.test/framed.html";
    ASSERT_TRUE(visit(framed));
    std::optional<NimbReport> made;
    ASSERT_TRUE(waitUntil([&] {
        made = report();
        return made && counted(*made, "frame-fetch.doubleclick.net");
    }));
    ASSERT_TRUE(evaluate(tab(), "window.keptInTheCache = true"));
    ASSERT_TRUE(visit("http://kinds.test/frame.html?other"));
    window().context().navigator().goBack();
    ASSERT_TRUE(waitForLoad(tab()));
    ASSERT_EQ(evaluate(tab(), "window.keptInTheCache === true"), true) << "not from the page cache";
    EXPECT_TRUE(waitUntil([&] {
        made = report();
        return made && counted(*made, "frame-fetch.doubleclick.net");
    })) << debug(*made);
    EXPECT_FALSE(reached("frame-fetch.doubleclick.net"));
}

TEST_F(WitnessTest, aUserNameBeforeAListedHostChangesNothing) {
    ASSERT_TRUE(visit("http://kinds.test/user-names.html"));
    ASSERT_TRUE(waitUntil([&] { return reached("user-names.elsewhere.example"); }));
    EXPECT_FALSE(reached("doubleclick.net"));
    EXPECT_FALSE(reached("www.facebook.com"));
    std::optional<NimbReport> made;
    EXPECT_TRUE(waitUntil([&] {
        made = report();
        return made && counted(*made, "doubleclick.net") && counted(*made, "www.facebook.com");
    })) << (made ? debug(*made) : "no report");
}

class WitnessWithoutScriptsTest : public WitnessTest {
protected:
    void configure() override {
        seed([](Preferences& p) { (void)p.setJavaScriptEnabled(false); });
    }
};

TEST_F(WitnessWithoutScriptsTest, theReportComesFromTheWitnessAndSaysWhatItCouldNotRead) {
    ASSERT_TRUE(visit(page));
    std::optional<NimbReport> made;
    ASSERT_TRUE(waitUntil(
        [&] {
            made = report();
            return made && counted(*made, "img.doubleclick.net") && counted(*made, "import.doubleclick.net");
        },
        15s));
    EXPECT_FALSE(made->scriptsRead);
    EXPECT_TRUE(made->recorded);
    EXPECT_FALSE(reached("img.doubleclick.net"));
    EXPECT_FALSE(reached("fetch.elsewhere.example")) << "the page's own scripts did not run";
}

TEST_F(WitnessWithoutScriptsTest, theNextPageOfTheSiteStartsItsOwnCount) {
    ASSERT_TRUE(visit(page));
    ASSERT_TRUE(waitUntil([&] {
        auto made = report();
        return made && counted(*made, "img.doubleclick.net");
    }));
    ASSERT_TRUE(visit("http://kinds.test/user-names.html"));
    std::optional<NimbReport> made;
    ASSERT_TRUE(waitUntil([&] {
        made = report();
        return made && counted(*made, "doubleclick.net");
    }));
    EXPECT_FALSE(counted(*made, "img.doubleclick.net")) << debug(*made);
}

class WitnessAbsentTest : public WitnessTest {
protected:
    void configure() override { m_options.witness = std::filesystem::path(); }
};

TEST_F(WitnessAbsentTest, withoutTheWitnessTheRuleListStillBlocksEveryKindAndTheReportSaysSo) {
    EXPECT_FALSE(app().engine().witnessAtWork());
    ASSERT_TRUE(visit(page));
    ASSERT_TRUE(waitUntil(
        [&] { return reached("img.elsewhere.example") && reached("worker-fetch.elsewhere.example"); }));
    auto made = report();
    ASSERT_TRUE(made);
    for (const Kind& kind : kinds)
        EXPECT_FALSE(reached(host(kind, listed))) << kind.name;
    EXPECT_EQ(made->witness, NimbReport::Witness::absent);
}

TEST_F(WitnessAbsentTest, theRuleListStopsAListedHostBehindAUserName) {
    ASSERT_TRUE(visit("http://kinds.test/user-names.html"));
    ASSERT_TRUE(waitUntil([&] { return reached("user-names.elsewhere.example"); }));
    EXPECT_FALSE(reached("doubleclick.net"));
    EXPECT_FALSE(reached("www.facebook.com"));
}

} // namespace
} // namespace nimb::test
