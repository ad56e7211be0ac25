// The wall and ad-slot hiding inside the real engine: walls known by selector, unknown walls in each
// of the four languages, bands, curtains, ad slots empty and filled, frozen scrolling and invisible
// bodies, and what reaches the report.

#include "WebTest.h"

namespace nimb::test {
namespace {

using Hidden = NimbReport::Hidden;
using Reason = NimbReport::Reason;

class DeclutterTest : public WebTest {
protected:
    static bool hidden(WebPage& page, const std::string& id) {
        auto value = page.evaluate("(function(){var e=document.getElementById('" + id +
                                   "');return !!e && getComputedStyle(e).display === 'none';})()");
        return value && *value == true;
    }

    static bool hiddenByScript(WebPage& page, const std::string& id) {
        return page.evaluate("document.getElementById('" + id + "').getAttribute('data-nimb-hidden')") == "1";
    }

    // Opens a walls.example page and waits until the element is hidden.
    std::unique_ptr<WebPage> openUntilHidden(const std::string& name, const std::string& id,
                                             WebPage::Options options = {}) {
        auto p = open("http://walls.example/" + name, std::move(options));
        EXPECT_TRUE(waitUntil([&] { return hidden(*p, id); }, 3s)) << name << " " << id;
        return p;
    }

    // Opens a walls.example page and waits until the load sweep has told the wall count.
    std::unique_ptr<WebPage> openSwept(const std::string& name, WebPage::Options options = {}) {
        auto p = open("http://walls.example/" + name, std::move(options));
        EXPECT_TRUE(waitUntil([&] { return !blockedWith(*p, "walls").empty(); }, 5s)) << name;
        return p;
    }
};

// A page whose window is hidden, as a tab in the background is, draws no frames; its sweeps run
// all the same.
TEST_F(DeclutterTest, hidesAnUnknownBandAndLogsItInAPageDrawnOrNot) {
    for (bool drawn : {true, false}) {
        auto p = page();
        if (!drawn) p->hide();
        ASSERT_TRUE(p->load("http://walls.example/band.html"));
        EXPECT_EQ(p->evaluate("document.visibilityState"), drawn ? "visible" : "hidden");
        ASSERT_TRUE(waitUntil([&] { return hidden(*p, "bar"); }, 3s)) << drawn;
        EXPECT_TRUE(hiddenByScript(*p, "bar"));
        EXPECT_EQ(report(*p).hidden,
                  (std::vector<Hidden>{{"DIV#bar.notice", Reason::overlay,
                                        "We use cookies to improve your experience. Accept all"}}));
        EXPECT_EQ(blockedWith(*p, "walls").back(), nlohmann::json({{"walls", 1}}));
    }
}

TEST_F(DeclutterTest, leavesAloneWhatIsNotAWall) {
    auto p = openSwept("unwalls.html");
    ASSERT_EQ(p->evaluate("[innerWidth, innerHeight]"), nlohmann::json({1000, 800}))
        << "what the rules assume";
    ASSERT_TRUE(p->passTimers(400ms)); // the 400 ms sweep as well
    for (const char* id : {"learn", "mute", "menu", "long", "inline"})
        EXPECT_FALSE(hidden(*p, id)) << id;
    EXPECT_EQ(p->evaluate("document.querySelectorAll('[data-nimb-hidden]').length"), 0);
    EXPECT_TRUE(report(*p).hidden.empty());
}

TEST_F(DeclutterTest, recognisesWallsInEachLanguage) {
    auto p = page();
    const std::pair<const char*, const char*> cases[] = {
        {"wall-en.html", "Get the best stories every morning: subscribe to our newsletter. No thanks"},
        {"wall-es.html", "Valoramos tu privacidad: tratamos datos personales para mostrarte publicidad. "
                         "Aceptar y continuar"},
        {"wall-it.html", "Rispettiamo la tua riservatezza e trattiamo dati personali. Accetto"},
        {"wall-fr.html", "Nous respectons votre vie priv\xC3\xA9"
                         "e et vos donn\xC3\xA9"
                         "es personnelles. Tout accepter"},
    };
    for (const auto& [name, text] : cases) {
        ASSERT_TRUE(p->load(std::string("http://walls.example/") + name)) << name;
        EXPECT_TRUE(waitUntil([&] { return hidden(*p, "wall"); }, 3s)) << name;
        EXPECT_EQ(report(*p).hidden, (std::vector<Hidden>{{"DIV#wall.dialog", Reason::overlay, text}}))
            << name;
    }
}

TEST_F(DeclutterTest, reportsKnownWallsItNeverHid) {
    // With the compiled rule list, and without it: the script's own style stands in.
    for (bool ruleList : {true, false}) {
        WebPage::Options options;
        options.ruleList = ruleList;
        auto p = openSwept("known.html", options);
        EXPECT_TRUE(hidden(*p, "onetrust-consent-sdk")) << ruleList;
        EXPECT_FALSE(hiddenByScript(*p, "onetrust-consent-sdk"));
        EXPECT_EQ(report(*p).hidden, (std::vector<Hidden>{{"DIV#onetrust-consent-sdk", Reason::known,
                                                           "We value your privacy. Accept all"}}));
        EXPECT_EQ(blockedWith(*p, "walls").front(), nlohmann::json({{"walls", 1}}));
    }
}

TEST_F(DeclutterTest, takesEmptyAdSlotsOnlyOff) {
    auto p = openUntilHidden("slots.html", "labelled");
    for (const char* id : {"filled", "word", "tiny", "talkative"})
        EXPECT_FALSE(hidden(*p, id)) << id;
    // The unit's advertisement was blocked.
    EXPECT_EQ(report(*p).hidden,
              (std::vector<Hidden>{{"DIV#labelled.ad-slot", Reason::adSlot, "Advertisement"},
                                   {"ASIDE#sponsored-1.box", Reason::adSlot, ""},
                                   {"INS#unit.ad-unit", Reason::adSlot, ""}}));
}

TEST_F(DeclutterTest, hidesAWallAgainAndGivesScrollingBack) {
    auto p = openUntilHidden("frozen.html", "wall");
    EXPECT_TRUE(p->waitFor("getComputedStyle(document.documentElement).overflowY === 'visible' && "
                           "getComputedStyle(document.body).overflowY === 'visible' && "
                           "getComputedStyle(document.body).position === 'static'",
                           1s));
    EXPECT_EQ(p->evaluate("scrollTo(0, 1000); scrollY"), 1000);
    // The page shows its wall again; the next sweep takes it off again.
    ASSERT_TRUE(p->waitFor("window.reshown", 3s));
    EXPECT_TRUE(waitUntil([&] { return hidden(*p, "wall"); }, 2s));
    EXPECT_EQ(report(*p).hidden.size(), 1u);
}

TEST_F(DeclutterTest, showsAnInvisibleBodyAfterTwoSeconds) {
    auto p = openSwept("invisible.html");
    // The load sweep comes too early to judge.
    EXPECT_EQ(p->evaluate("getComputedStyle(document.body).visibility"), "hidden");
    EXPECT_TRUE(p->waitFor("getComputedStyle(document.body).visibility === 'visible' && "
                           "getComputedStyle(document.body).opacity === '1'",
                           4s));
}

TEST_F(DeclutterTest, liftsACurtainOnlyWhileThePageLoads) {
    auto p = openUntilHidden("curtain.html", "early");
    EXPECT_EQ(report(*p).hidden, (std::vector<Hidden>{{"DIV#early.modal-backdrop", Reason::overlay, ""}}));
    // Drawn again after eight seconds, the same curtain stays through the sweep of its batch and the
    // 9 s sweep: the page meant it.
    ASSERT_TRUE(p->waitFor("window.lateAdded", 12s));
    ASSERT_TRUE(p->passTimers(9000ms, 300ms));
    EXPECT_FALSE(hidden(*p, "late"));
    EXPECT_EQ(report(*p).hidden.size(), 1u);
}

TEST_F(DeclutterTest, tellsTheWallCountOnceAndThenOnlyOfChanges) {
    auto p = openSwept("plain.html");
    ASSERT_TRUE(p->passTimers(1200ms)); // the 400 ms and 1.2 s sweeps
    EXPECT_EQ(blockedWith(*p, "walls"), std::vector<nlohmann::json>{nlohmann::json({{"walls", 0}})});
    // A wall arriving later is told.
    ASSERT_TRUE(p->evaluate("var w = document.createElement('div'); w.id = 'late';"
                            "w.style.cssText = 'position:fixed;left:0;right:0;top:0;height:120px';"
                            "w.innerHTML = 'Allow notifications? <button>Allow</button>';"
                            "document.body.appendChild(w); true"));
    ASSERT_TRUE(waitUntil([&] { return blockedWith(*p, "walls").size() == 2; }, 2s));
    EXPECT_EQ(blockedWith(*p, "walls")[1], nlohmann::json({{"walls", 1}}));
    EXPECT_TRUE(hidden(*p, "late"));
}

} // namespace
} // namespace nimb::test
