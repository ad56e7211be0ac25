// The keys and buttons hands already know, pressed for real: back and forward by Alt and the arrows
// and by the mouse's side buttons, reload by F5 and Ctrl+Shift+R, tabs by Ctrl with a number, Tab or
// Page Up and Down, page zoom kept per site, and the closed tabs brought back with Ctrl+Shift+T.

#include "ChromeTest.h"

#include "library/Zoom.h"
#include "window/ClosedTabs.h"

#include <cmath>

namespace nimb::test {
namespace {

class KeysTest : public ChromeTest {
protected:
    // Waits until the tab shows the address and has stopped loading.
    bool shows(Tab& in, const std::string& address) {
        bool done = waitUntil([&] { return in.viewAddress() == address && !in.loading(); }, 10s);
        if (!done) ADD_FAILURE() << "the tab shows " << in.viewAddress().value_or("nothing");
        return done;
    }
    // The page's zoom in percent.
    std::int64_t zoom(Tab& in) { return std::lround(webkit_web_view_get_zoom_level(in.view()) * 100); }
    bool zoomIs(Tab& in, std::int64_t percent) {
        bool done = waitUntil([&] { return zoom(in) == percent; }, 5s);
        if (!done) ADD_FAILURE() << "the page is at " << zoom(in) << "%, not " << percent << "%";
        return done;
    }
    void focusPage() {
        gtk_widget_grab_focus(GTK_WIDGET(tab().view()));
        settleInput();
    }
    bool enabled(const char* action) {
        app().actions().validate();
        return g_action_group_get_action_enabled(G_ACTION_GROUP(app().gtk()), action) != FALSE;
    }
    ClosedTabs& closed() { return window().context().closedTabs(); }
    // A command as its menu item carries it out, the menus' states brought up to date first (as they
    // are by the time a hand reaches them).
    void command(const char* action) {
        app().actions().validate();
        app().actions().activate(action);
    }
};

TEST_F(KeysTest, altArrowsAndTheMouseSideButtonsGoBackAndForwardAndF5AndCtrlRReload) {
    ASSERT_TRUE(visit(fixture));
    ASSERT_TRUE(visit(second));
    focusPage();

    ASSERT_TRUE(press("alt+Left"));
    ASSERT_TRUE(shows(tab(), fixture));
    ASSERT_TRUE(press("alt+Right"));
    ASSERT_TRUE(shows(tab(), second));

    // The side buttons, over the page.
    ASSERT_TRUE(click(GTK_WIDGET(tab().view()), 200, 200, 8));
    ASSERT_TRUE(shows(tab(), fixture));
    ASSERT_TRUE(click(GTK_WIDGET(tab().view()), 200, 200, 9));
    ASSERT_TRUE(shows(tab(), second));
    // And over the chrome: the whole window answers them, and each goes one step only.
    ASSERT_TRUE(click(controller().strip().widget(), 5, 5, 8));
    ASSERT_TRUE(shows(tab(), fixture));
    ASSERT_TRUE(evaluate(tab(), "true"));
    EXPECT_TRUE(webkit_web_view_can_go_forward(tab().view()));
    EXPECT_EQ(tab().viewAddress(), fixture);

    // While the location field is being edited, Alt+Left is still Back.
    ASSERT_TRUE(visit(second));
    ASSERT_TRUE(startEditing());
    ASSERT_TRUE(press("alt+Left"));
    ASSERT_TRUE(shows(tab(), fixture));

    focusPage();
    for (const char* key : {"F5", "ctrl+shift+r", "ctrl+r"}) {
        // A mark the page loses when it is loaded again.
        ASSERT_TRUE(evaluate(tab(), "window.marked = true"));
        auto before = loadsFinished(tab());
        ASSERT_TRUE(press(key)) << key;
        ASSERT_TRUE(waitForLoadAfter(tab(), before, 10s)) << key << " reloads";
        EXPECT_EQ(evaluate(tab(), "window.marked === undefined"), true) << key;
        EXPECT_EQ(tab().viewAddress(), fixture);
    }
}

TEST_F(KeysTest, theTabKeysFromThePageAndTheLocationField) {
    app().actions().activate("newTab");
    app().actions().activate("newTab");
    ASSERT_EQ(tabs().size(), 3u);
    ASSERT_EQ(tabs().current(), 2);
    focusPage();
    // Each key from the tab the one before left current; Tab and Page Down wrap to the first, Shift+Tab
    // and Page Up to the last; another modifier passes the key on (handled once xdotool returns).
    const std::pair<const char*, int> steps[] = {
        {"ctrl+1", 0},    {"ctrl+9", 2},     {"ctrl+Tab", 0},   {"ctrl+shift+Tab", 2}, {"ctrl+Next", 0},
        {"ctrl+Next", 1}, {"ctrl+Prior", 0}, {"ctrl+Prior", 2}, {"ctrl+alt+2", 2},
    };
    for (auto [key, wanted] : steps) {
        ASSERT_TRUE(press(key));
        EXPECT_TRUE(waitUntil([&] { return tabs().current() == wanted; }, 5s)) << key;
    }

    // From the location field too.
    ASSERT_TRUE(startEditing());
    ASSERT_TRUE(press("ctrl+Prior"));
    EXPECT_TRUE(waitUntil([&] { return tabs().current() == 1; }, 5s));
}

TEST_F(KeysTest, ctrlPlusMinusAndZeroZoomAndEachSiteKeepsItsLevelUntilHistoryIsCleared) {
    ASSERT_TRUE(visit(fixture));
    focusPage();
    ASSERT_TRUE(press("ctrl+plus"));
    ASSERT_TRUE(zoomIs(tab(), 110));
    ASSERT_TRUE(press("ctrl+equal")); // the same key without Shift
    ASSERT_TRUE(zoomIs(tab(), 120));
    ASSERT_TRUE(press("ctrl+KP_Add"));
    ASSERT_TRUE(zoomIs(tab(), 133));
    ASSERT_TRUE(press("ctrl+minus"));
    ASSERT_TRUE(zoomIs(tab(), 120));
    EXPECT_EQ(prefs().siteZooms(), (std::vector<SiteZoom>{{"browse.example", 120}}));

    // Another page of the site comes at the site's level; another site at actual size; the browser's
    // own pages always at actual size.
    ASSERT_TRUE(visit(second));
    EXPECT_TRUE(zoomIs(tab(), 120));
    ASSERT_TRUE(visit("http://elsewhere.example/"));
    EXPECT_TRUE(zoomIs(tab(), 100));
    type("about:history");
    ASSERT_TRUE(waitForLoad(tab()));
    EXPECT_TRUE(zoomIs(tab(), 100));
    ASSERT_TRUE(visit(fixture));
    EXPECT_TRUE(zoomIs(tab(), 120));

    // A tab of the same site follows a change made in another.
    app().actions().activate("newTab");
    ASSERT_TRUE(visit(second));
    Tab& other = tab();
    ASSERT_TRUE(zoomIs(other, 120));
    tabs().select(0);
    app().actions().activate("zoomIn");
    EXPECT_TRUE(zoomIs(tab(), 133));
    EXPECT_TRUE(zoomIs(other, 133));

    // Ctrl+0 goes back to actual size, and the site has nothing left to keep.
    focusPage();
    ASSERT_TRUE(press("ctrl+0"));
    EXPECT_TRUE(zoomIs(tab(), 100));
    EXPECT_TRUE(zoomIs(other, 100));
    EXPECT_TRUE(prefs().siteZooms().empty());

    // The ladder ends where it ends.
    for (int k = 0; k < 20; ++k)
        app().actions().activate("zoomOut");
    EXPECT_TRUE(zoomIs(tab(), 30));
    EXPECT_EQ(prefs().siteZooms(), (std::vector<SiteZoom>{{"browse.example", 30}}));

    // Clearing history forgets the levels of sites.
    command("clearHistory");
    answerQuestion(true);
    ASSERT_TRUE(waitUntil([&] { return prefs().history().empty(); }));
    EXPECT_TRUE(prefs().siteZooms().empty());
    ASSERT_TRUE(visit(second));
    EXPECT_TRUE(zoomIs(tab(), 100));
}

TEST_F(KeysTest, ctrlShiftTReopensTheLastClosedTabInANewViewWithItsBackListOrItsOwnPageDrawnAfresh) {
    EXPECT_FALSE(enabled("reopenClosedTab")) << "nothing closed yet";
    app().actions().activate("newTab");
    ASSERT_TRUE(visit(fixture));
    ASSERT_TRUE(visit(second));
    ASSERT_EQ(tabs().current(), 1);
    // Held here, so that a new view cannot come back at the same address.
    glib::GRefPtr<WebKitWebView> closedView(tab().view());
    app().actions().activate("closeTab");
    ASSERT_EQ(tabs().size(), 1u);
    EXPECT_TRUE(enabled("reopenClosedTab"));

    focusPage();
    ASSERT_TRUE(press("ctrl+shift+t"));
    ASSERT_TRUE(waitUntil([&] { return tabs().size() == 2; }, 5s));
    EXPECT_EQ(tabs().current(), 1) << "in its place, in front";
    Tab& reopened = tab();
    EXPECT_NE(reopened.view(), closedView.get()) << "a new view";
    ASSERT_TRUE(shows(reopened, second));
    EXPECT_FALSE(enabled("reopenClosedTab")) << "nothing more to reopen";

    // Its back list came with it.
    EXPECT_TRUE(webkit_web_view_can_go_back(reopened.view()));
    focusPage();
    ASSERT_TRUE(press("alt+Left"));
    ASSERT_TRUE(shows(reopened, fixture));
    EXPECT_EQ(window().context().chrome().fullAddress(), fixture);

    // Pressed again with nothing closed, nothing happens.
    ASSERT_TRUE(press("ctrl+shift+t"));
    EXPECT_EQ(tabs().size(), 2u);

    // A back list the page swelled comes back as its address alone: the state of each entry is the
    // page's to fill, here well past what a closed tab may keep.
    ASSERT_EQ(evaluate(reopened, "var s = 'x'.repeat(300000);"
                                 "for (var k = 0; k < 4; ++k) history.pushState(s + k, '', '?swollen' + k);"
                                 "history.length"),
              4 + 1);
    ASSERT_TRUE(waitUntil([&] { return reopened.viewAddress() == fixture + "?swollen3"; }));
    app().actions().activate("closeTab");
    command("reopenClosedTab");
    ASSERT_EQ(tabs().size(), 2u);
    ASSERT_TRUE(shows(tab(), fixture + "?swollen3"));
    EXPECT_FALSE(webkit_web_view_can_go_back(tab().view())) << "the list stayed behind";

    // A tab closed on the browser's own page comes back drawn afresh.
    type("about:history");
    ASSERT_TRUE(waitUntil([&] {
        return tab().localPage == std::string(LocationBar::aboutHistory) && tab().documentIsGenerated &&
               !tab().loading();
    }));
    app().actions().activate("closeTab");

    command("reopenClosedTab");
    ASSERT_EQ(tabs().size(), 2u);
    Tab& drawn = tab();
    ASSERT_TRUE(waitUntil([&] { return !drawn.loading() && drawn.documentIsGenerated; }, 10s));
    EXPECT_EQ(drawn.localPage, std::string(LocationBar::aboutHistory));
    EXPECT_NE(pageText(drawn).find("Browse fixture"), std::string::npos) << pageText(drawn);
    EXPECT_EQ(window().context().chrome().fullAddress(), LocationBar::aboutHistory);

    // A report comes back as it was drawn, and Back from it is the page it was made of.
    ASSERT_TRUE(visit(fixture));
    ASSERT_TRUE(waitForStatus("Document: Done  \u2014  2 blocked"));
    app().actions().activate("nimbReport");
    ASSERT_TRUE(waitUntil([&] { return tab().localPage == std::string(LocationBar::aboutReport); }));
    ASSERT_TRUE(waitForLoad(tab()));
    const std::string report = pageText(tab());
    ASSERT_NE(report.find("browse.example"), std::string::npos);
    app().actions().activate("closeTab");
    command("reopenClosedTab");
    Tab& again = tab();
    ASSERT_TRUE(waitUntil([&] { return !again.loading() && again.documentIsGenerated; }, 10s));
    EXPECT_EQ(again.localPage, std::string(LocationBar::aboutReport));
    EXPECT_EQ(pageText(again), report);
    command("goBack");
    EXPECT_TRUE(shows(again, fixture));
}

TEST_F(KeysTest, onlyTheLastTenClosedTabsComeBackNewestFirst) {
    for (int k = 0; k < 11; ++k) {
        Tab& added = tabs().add(false);
        window().context().navigator().load(*Url::parse(fixture + "?" + std::to_string(k)), added);
        ASSERT_TRUE(waitForLoad(added));
    }
    ASSERT_EQ(tabs().size(), 12u);
    for (int k = 0; k < 11; ++k)
        app().actions().activate("closeTab");
    ASSERT_EQ(tabs().size(), 1u);
    EXPECT_EQ(closed().size(), ClosedTabs::limit);

    std::vector<std::string> reopened;
    for (int k = 0; k < 11; ++k) {
        command("reopenClosedTab");
        if (tabs().size() == reopened.size() + 1) break;
        ASSERT_TRUE(waitUntil([&] { return tab().viewAddress() && !tab().loading(); }, 10s));
        reopened.push_back(tab().viewAddress().value_or(""));
    }
    // Closed from the last tab down (?10 first, ?0 last): the newest closed comes first, and the
    // oldest, ?10, was let go.
    std::vector<std::string> expected;
    for (int k = 0; k < 10; ++k)
        expected.push_back(fixture + "?" + std::to_string(k));
    EXPECT_EQ(reopened, expected);
    EXPECT_EQ(tabs().size(), 11u);
}

} // namespace
} // namespace nimb::test
