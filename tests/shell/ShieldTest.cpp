// The shield in the real window: what it shows belongs to the page in front, a new document or one
// brought back by Back, and a click on it is the shield's alone.

#include "ChromeTest.h"

#include "chrome/ShieldView.h"

namespace nimb::test {
namespace {

class ShieldTest : public ChromeTest {
protected:
    const Chrome::Shield& shown() { return window().context().status().shield(); }
    ShieldView& shield() { return chrome().shield(); }
    // The fixture's two blocked requests have been told, and the hosts they went to with them.
    bool fixtureCounted() {
        return waitUntil([&] { return shown().count == 2 && shown().heat > 0; });
    }
};

TEST_F(ShieldTest, heatBelongsToTheDocumentThatMadeIt) {
    ASSERT_TRUE(visit(fixture));
    ASSERT_TRUE(fixtureCounted()) << shown().count << " " << shown().heat;
    double heat = shown().heat;
    EXPECT_EQ(shield().look(), (Glyphs::ShieldLook{true, 2, heat}));

    // A move within the document keeps it.
    ASSERT_TRUE(evaluate(tab(), "location.hash = 'further'; true"));
    ASSERT_TRUE(waitUntil([&] { return tab().viewAddress() == fixture + "#further"; }));
    drain();
    EXPECT_EQ(shown().heat, heat);

    // The home page is a new document, with nothing of the last one's.
    type("about:home");
    ASSERT_TRUE(waitForLoad(tab()));
    EXPECT_TRUE(tab().hosts.empty());
    EXPECT_EQ(shown(), (Chrome::Shield{true, 0, 0}));
    EXPECT_EQ(shield().look(), (Glyphs::ShieldLook{true, 0, 0}));
}

TEST_F(ShieldTest, backFromThePageCacheShowsThatPagesCountsAgain) {
    ASSERT_TRUE(visit(fixture));
    ASSERT_TRUE(fixtureCounted());
    ASSERT_TRUE(waitForStatus("Document: Done  \u2014  2 blocked"));
    double heat = shown().heat;
    ASSERT_TRUE(evaluate(tab(), "window.keptInTheCache = true"));

    ASSERT_TRUE(visit(second));
    ASSERT_TRUE(waitForStatus("Document: Done"));
    EXPECT_EQ(shown().count, 0);

    window().context().navigator().goBack();
    ASSERT_TRUE(waitForLoad(tab()));
    // The page came back as it was left, scripts and all, not loaded again.
    ASSERT_EQ(evaluate(tab(), "window.keptInTheCache === true"), true);
    EXPECT_TRUE(waitUntil([&] {
        return shown() == Chrome::Shield{true, 2, heat};
    })) << shown().count
        << " " << shown().heat;
    EXPECT_TRUE(waitForStatus("Document: Done  \u2014  2 blocked")) << status();
}

TEST_F(ShieldTest, aClickOnTheShieldOpensThePopoverAndLeavesTheFieldAlone) {
    ASSERT_TRUE(visit(fixture));
    ASSERT_TRUE(fixtureCounted());
    GtkWidget* widget = chrome().shieldWidget();
    ASSERT_EQ(widget, shield().widget());
    ASSERT_TRUE(click(widget, 3, 3));
    ASSERT_TRUE(waitUntil([&] { return window().context().reports().popoverVisible(); }, 10s));
    EXPECT_FALSE(editing());
    EXPECT_FALSE(tab().localPage);
}

TEST_F(ShieldTest, withBlockingOffItsTipAndTheStatusLineSayWhatGotThrough) {
    auto tip = [&] {
        const char* text = gtk_widget_get_tooltip_text(chrome().shieldWidget());
        return std::string(text ? text : "");
    };
    ASSERT_TRUE(visit(fixture));
    ASSERT_TRUE(fixtureCounted());
    ASSERT_TRUE(waitForStatus("Document: Done  \u2014  2 blocked"));
    EXPECT_EQ(tip(), "What this page tried to load: 2 blocked");

    // Nothing is refused once blocking is off: the two requests the blocklist names get through, and
    // both the line and the tip say so when the reloaded page has counted them.
    app().actions().activate("toggleBlocking");
    ASSERT_FALSE(prefs().contentBlockingEnabled());
    ASSERT_TRUE(waitUntil([&] { return tab().network == 2 && !tab().loading(); }));
    EXPECT_TRUE(waitForStatus("Document: Done  \u2014  2 requests on the blocklist got through")) << status();
    EXPECT_EQ(tip(), "Nothing was blocked: 2 requests on the blocklist got through");

    // In French too, the tip at once and the line when the page next speaks.
    app().actions().activate("chooseLanguage", "fr");
    EXPECT_EQ(tip(),
              "Rien n\u2019a \u00e9t\u00e9 bloqu\u00e9\u00a0: 2 requ\u00eates de la liste de blocage sont "
              "pass\u00e9es");
    EXPECT_EQ(
        window().context().status().idleStatus(),
        "Document\u00a0: termin\u00e9  \u2014  2 requ\u00eates de la liste de blocage sont pass\u00e9es");
    app().actions().activate("chooseLanguage", "en");
}

} // namespace
} // namespace nimb::test
