// The wall and ad-slot hiding inside the real engine: walls known by selector, unknown walls in each
// of the four languages, bands, curtains, ad slots empty and filled, frozen scrolling and invisible
// bodies, and what reaches the report.

#include "WebTest.h"

namespace nimb::test {
namespace {

class DeclutterTest : public WebTest {
protected:
    static std::vector<nlohmann::json> wallMessages(const WebPage& page) {
        std::vector<nlohmann::json> found;
        for (const auto& m : page.messages().blocked) {
            if (m.is_object() && m.contains("walls")) found.push_back(m);
        }
        return found;
    }

    static bool hidden(WebPage& page, const std::string& id) {
        auto value = page.evaluate("(function(){var e=document.getElementById('" + id +
                                   "');return !!e && getComputedStyle(e).display === 'none';})()");
        return value && *value == true;
    }

    static bool hiddenByScript(WebPage& page, const std::string& id) {
        auto value = page.evaluate("document.getElementById('" + id + "').getAttribute('data-nimb-hidden')");
        return value && *value == "1";
    }

    // Waits until the load sweep has run, which is what every page below needs.
    static void settle(WebPage& page) {
        ASSERT_TRUE(page.waitUntil([&] { return !wallMessages(page).empty(); }, 5s));
    }
};

TEST_F(DeclutterTest, theTestViewportIsTheSizeTheRulesAssume) {
    auto p = page();
    ASSERT_TRUE(p->load("http://walls.example/plain.html"));
    EXPECT_EQ(p->evaluate("[innerWidth, innerHeight]"), nlohmann::json({1000, 800}));
}

TEST_F(DeclutterTest, hidesAnUnknownBandAndLogsIt) {
    auto p = page();
    ASSERT_TRUE(p->load("http://walls.example/band.html"));
    ASSERT_TRUE(p->waitUntil([&] { return hidden(*p, "bar"); }, 3s));
    EXPECT_TRUE(hiddenByScript(*p, "bar"));
    NimbReport r = report(*p);
    ASSERT_EQ(r.hidden.size(), 1u);
    EXPECT_EQ(r.hidden[0], (NimbReport::Hidden{"DIV#bar.notice", NimbReport::Reason::overlay,
                                               "We use cookies to improve your experience. Accept all"}));
    EXPECT_EQ(wallMessages(*p).back(), nlohmann::json({{"walls", 1}}));
}

// A page whose window is hidden, as a tab in the background is, draws no frames; its sweeps run
// all the same.
TEST_F(DeclutterTest, sweepsAPageThatDrawsNoFrames) {
    auto p = page();
    p->hide();
    ASSERT_TRUE(p->load("http://walls.example/band.html"));
    ASSERT_EQ(p->evaluate("document.visibilityState"), "hidden");
    ASSERT_TRUE(p->waitUntil([&] { return hidden(*p, "bar"); }, 3s));
    EXPECT_EQ(report(*p).hidden.size(), 1u);
    EXPECT_EQ(wallMessages(*p).back(), nlohmann::json({{"walls", 1}}));
}

TEST_F(DeclutterTest, leavesAloneWhatIsNotAWall) {
    auto p = page();
    ASSERT_TRUE(p->load("http://walls.example/unwalls.html"));
    settle(*p);
    p->pump(500ms); // the 400 ms sweep as well
    for (const char* id : {"learn", "mute", "menu", "long", "inline"}) {
        EXPECT_FALSE(hidden(*p, id)) << id;
    }
    EXPECT_EQ(p->evaluate("document.querySelectorAll('[data-nimb-hidden]').length"), 0);
    EXPECT_TRUE(report(*p).hidden.empty());
}

TEST_F(DeclutterTest, recognisesWallsInEachLanguage) {
    auto p = page();
    struct Case {
        const char* page;
        const char* text;
    };
    const Case cases[] = {
        {"wall-en.html", "Get the best stories every morning: subscribe to our newsletter. No thanks"},
        {"wall-es.html", "Valoramos tu privacidad: tratamos datos personales para mostrarte publicidad. "
                         "Aceptar y continuar"},
        {"wall-it.html", "Rispettiamo la tua riservatezza e trattiamo dati personali. Accetto"},
        {"wall-fr.html", "Nous respectons votre vie priv\xC3\xA9"
                         "e et vos donn\xC3\xA9"
                         "es personnelles. "
                         "Tout accepter"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(p->load(std::string("http://walls.example/") + c.page)) << c.page;
        EXPECT_TRUE(p->waitUntil([&] { return hidden(*p, "wall"); }, 3s)) << c.page;
        NimbReport r = report(*p);
        ASSERT_EQ(r.hidden.size(), 1u) << c.page;
        EXPECT_EQ(r.hidden[0], (NimbReport::Hidden{"DIV#wall.dialog", NimbReport::Reason::overlay, c.text}))
            << c.page;
    }
}

TEST_F(DeclutterTest, reportsKnownWallsItNeverHid) {
    // With the compiled rule list, and without it: the script's own style stands in.
    for (bool ruleList : {true, false}) {
        WebPage::Options options;
        options.ruleList = ruleList;
        auto p = page(options);
        ASSERT_TRUE(p->load("http://walls.example/known.html"));
        settle(*p);
        EXPECT_TRUE(hidden(*p, "onetrust-consent-sdk")) << ruleList;
        EXPECT_FALSE(hiddenByScript(*p, "onetrust-consent-sdk"));
        NimbReport r = report(*p);
        ASSERT_EQ(r.hidden.size(), 1u);
        EXPECT_EQ(r.hidden[0], (NimbReport::Hidden{"DIV#onetrust-consent-sdk", NimbReport::Reason::known,
                                                   "We value your privacy. Accept all"}));
        EXPECT_EQ(wallMessages(*p).front(), nlohmann::json({{"walls", 1}}));
    }
}

TEST_F(DeclutterTest, takesEmptyAdSlotsOnlyOff) {
    auto p = page();
    ASSERT_TRUE(p->load("http://walls.example/slots.html"));
    ASSERT_TRUE(p->waitUntil([&] { return hidden(*p, "labelled"); }, 3s));
    EXPECT_TRUE(hidden(*p, "sponsored-1"));
    EXPECT_TRUE(hidden(*p, "unit")); // its advertisement was blocked
    for (const char* id : {"filled", "word", "tiny", "talkative"})
        EXPECT_FALSE(hidden(*p, id)) << id;
    NimbReport r = report(*p);
    std::vector<NimbReport::Hidden> expected = {
        {"DIV#labelled.ad-slot", NimbReport::Reason::adSlot, "Advertisement"},
        {"ASIDE#sponsored-1.box", NimbReport::Reason::adSlot, ""},
        {"INS#unit.ad-unit", NimbReport::Reason::adSlot, ""},
    };
    EXPECT_EQ(r.hidden, expected);
}

TEST_F(DeclutterTest, hidesAWallAgainAndGivesScrollingBack) {
    auto p = page();
    ASSERT_TRUE(p->load("http://walls.example/frozen.html"));
    ASSERT_TRUE(p->waitUntil([&] { return hidden(*p, "wall"); }, 3s));
    auto unlocked = "getComputedStyle(document.documentElement).overflowY === 'visible' && "
                    "getComputedStyle(document.body).overflowY === 'visible' && "
                    "getComputedStyle(document.body).position === 'static'";
    EXPECT_TRUE(p->waitFor(unlocked, 1s));
    EXPECT_EQ(p->evaluate("scrollTo(0, 1000); scrollY"), 1000);
    // The page shows its wall again; the next sweep takes it off again.
    ASSERT_TRUE(p->waitFor("window.reshown", 3s));
    EXPECT_TRUE(p->waitUntil([&] { return hidden(*p, "wall"); }, 2s));
    EXPECT_EQ(report(*p).hidden.size(), 1u);
}

TEST_F(DeclutterTest, showsAnInvisibleBodyAfterTwoSeconds) {
    auto p = page();
    ASSERT_TRUE(p->load("http://walls.example/invisible.html"));
    settle(*p);
    // The load sweep comes too early to judge.
    EXPECT_EQ(p->evaluate("getComputedStyle(document.body).visibility"), "hidden");
    EXPECT_TRUE(p->waitFor("getComputedStyle(document.body).visibility === 'visible' && "
                           "getComputedStyle(document.body).opacity === '1'",
                           4s));
}

TEST_F(DeclutterTest, liftsACurtainOnlyWhileThePageLoads) {
    auto p = page();
    ASSERT_TRUE(p->load("http://walls.example/curtain.html"));
    ASSERT_TRUE(p->waitUntil([&] { return hidden(*p, "early"); }, 3s));
    NimbReport r = report(*p);
    ASSERT_EQ(r.hidden.size(), 1u);
    EXPECT_EQ(r.hidden[0], (NimbReport::Hidden{"DIV#early.modal-backdrop", NimbReport::Reason::overlay, ""}));
    // Drawn again after eight seconds, the same curtain stays: the page meant it.
    ASSERT_TRUE(p->waitFor("window.lateAdded", 12s));
    p->pump(1000ms); // the batch sweep and the 9 s sweep
    EXPECT_FALSE(hidden(*p, "late"));
    EXPECT_EQ(report(*p).hidden.size(), 1u);
}

TEST_F(DeclutterTest, tellsTheWallCountOnceAndThenOnlyOfChanges) {
    auto p = page();
    ASSERT_TRUE(p->load("http://walls.example/plain.html"));
    settle(*p);
    p->pump(1400ms); // the 400 ms and 1.2 s sweeps
    EXPECT_EQ(wallMessages(*p), std::vector<nlohmann::json>{nlohmann::json({{"walls", 0}})});
    // A wall arriving later is told.
    ASSERT_TRUE(p->evaluate("var w = document.createElement('div'); w.id = 'late';"
                            "w.style.cssText = 'position:fixed;left:0;right:0;top:0;height:120px';"
                            "w.innerHTML = 'Allow notifications? <button>Allow</button>';"
                            "document.body.appendChild(w); true"));
    ASSERT_TRUE(p->waitUntil([&] { return wallMessages(*p).size() == 2; }, 2s));
    EXPECT_EQ(wallMessages(*p)[1], nlohmann::json({{"walls", 1}}));
    EXPECT_TRUE(hidden(*p, "late"));
}

} // namespace
} // namespace nimb::test
