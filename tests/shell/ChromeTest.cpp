// The window's chrome in the real application: where everything stands, the location field as the user types
// and clicks in it, the tool buttons, the personal toolbar in every window, stealth, and the site icons of
// the tabs and the location well.

#include "ChromeTest.h"

#include "engine/FaviconStore.h"
#include "library/Bookmarks.h"
#include "library/History.h"
#include "vocabulary/Languages.h"

namespace nimb::test {
namespace {

// ------------------------------------------------------------------------------------------------
// Where things stand

TEST_F(ChromeTest, theWindowStandsWhereTheLayoutSaysInTheDarkThemeAndHidesButtonsPastTheEdge) {
    // The look is given once the first page has begun to load, before the window is shown.
    gboolean dark = FALSE;
    g_object_get(gtk_widget_get_settings(GTK_WIDGET(window().window())), "gtk-application-prefer-dark-theme",
                 &dark, nullptr);
    EXPECT_TRUE(dark);
    EXPECT_TRUE(gtk_widget_get_mapped(GTK_WIDGET(window().window())));

    ASSERT_TRUE(resize(1000));
    EXPECT_EQ(frame(well().widget()), (Rect{120, 46, 760, 32}));
    EXPECT_EQ(frame(GTK_WIDGET(tab().view())).y, 86) << "the page starts under the band";
    EXPECT_FALSE(chrome().layout().personal) << "no toolbar bookmarks";
    expectLaidOut();
    // The status line and the progress well stand over the foot of the page, taking nothing from it.
    Rect page = frame(GTK_WIDGET(tab().view()));
    Rect status = frame(chrome().statusLine().widget());
    EXPECT_EQ(status.maxY(), page.maxY());
    EXPECT_GE(status.y, page.y);

    // Wider, the well keeps its greatest width and stands centred (the virtual screen is 1280 wide);
    // narrower, it takes what is left.
    ASSERT_TRUE(resize(1200));
    EXPECT_EQ(frame(well().widget()).x, 220);
    expectLaidOut();
    ASSERT_TRUE(resize(480));
    EXPECT_EQ(frame(well().widget()).width, 318);
    expectLaidOut();

    // More toolbar buttons than there is room for: the shown ones are the first ones, inside the
    // window, and the rest are hidden.
    for (int k = 0; k < 12; ++k)
        Bookmarks::add(prefs(), Bookmark{"A rather long bookmark name " + std::to_string(k),
                                         "http://b" + std::to_string(k) + ".example/", true, ""});
    app().windows().bookmarksChanged(nullptr);
    ASSERT_TRUE(resize(700));
    expectLaidOut();
    auto buttons = chrome().personal().buttons();
    ASSERT_EQ(buttons.size(), 12u);
    EXPECT_EQ(ToolButton::of(buttons[0]).title(), "A rather long bookmark …") << "cut to 24 characters";
    std::size_t shown = 0;
    while (shown < buttons.size() && gtk_widget_get_child_visible(buttons[shown]))
        EXPECT_LE(frame(buttons[shown++]).maxX(), 700 - 6);
    EXPECT_GT(shown, 0u);
    for (std::size_t k = shown; k < buttons.size(); ++k)
        EXPECT_FALSE(gtk_widget_get_child_visible(buttons[k])) << k;
}

// ------------------------------------------------------------------------------------------------
// The location field

class LocationFieldTest : public ChromeTest {
protected:
    void configure() override {
        seed([](Preferences& stored) {
            History::recordVisit(stored, "https://www.example.org/page", "Example", Date{1'700'000'000});
        });
    }
};

TEST_F(LocationFieldTest, whatWasTypedAndNotSentStaysWithItsTabUntilEscape) {
    ASSERT_TRUE(visit(fixture));
    app().actions().activate("newTab");
    ASSERT_TRUE(visit(second));
    ASSERT_TRUE(startEditing());
    ASSERT_TRUE(typeKeys("half typed"));
    ASSERT_TRUE(fieldShows("half typed"));

    // Away to the first tab: its own address, at rest.
    ASSERT_TRUE(press("ctrl+1"));
    ASSERT_TRUE(fieldShows("http://browse.example"));
    EXPECT_FALSE(editing());
    ASSERT_TRUE(startEditing());
    ASSERT_TRUE(typeKeys("other words"));

    // Back: what was typed there, being edited, the caret at its end.
    ASSERT_TRUE(press("ctrl+2"));
    ASSERT_TRUE(fieldShows("half typed"));
    EXPECT_TRUE(editing());
    EXPECT_EQ(selection(), (std::pair{10, 10}));
    // Escape puts back the page's address, ready to be typed over, still edited.
    ASSERT_TRUE(press("Escape"));
    ASSERT_TRUE(fieldShows(second));
    EXPECT_EQ(selection(), (std::pair{0, static_cast<int>(second.size())}));
    EXPECT_TRUE(editing());

    // Each tab keeps its own.
    ASSERT_TRUE(press("ctrl+1"));
    ASSERT_TRUE(fieldShows("other words"));
    EXPECT_TRUE(editing());
    ASSERT_TRUE(press("Escape"));
    ASSERT_TRUE(fieldShows(fixture));
    // Given up with Escape, nothing is kept: the other tab comes back at rest.
    ASSERT_TRUE(press("ctrl+2"));
    ASSERT_TRUE(fieldShows("http://browse.example"));
    EXPECT_FALSE(editing());
}

TEST_F(LocationFieldTest, typingCompletesInlineOnlyAtTheEndOfWhatWasTyped) {
    ASSERT_TRUE(startEditing());
    ASSERT_TRUE(typeKeys("exa"));
    ASSERT_TRUE(fieldShows("example.org/page"));
    EXPECT_EQ(selection(), (std::pair{3, 16})) << "the added tail is selected";

    // Typing on overwrites the suggestion and completes again.
    ASSERT_TRUE(typeKeys("m"));
    ASSERT_TRUE(fieldShows("example.org/page"));
    EXPECT_EQ(selection(), (std::pair{4, 16}));

    // A deletion takes the suggestion away and is not completed again...
    ASSERT_TRUE(press("BackSpace"));
    EXPECT_EQ(fieldText(), "exam");
    ASSERT_TRUE(press("BackSpace"));
    EXPECT_EQ(fieldText(), "exa");
    EXPECT_EQ(selection(), (std::pair{3, 3}));
    // ... until another character is typed.
    ASSERT_TRUE(typeKeys("m"));
    ASSERT_TRUE(fieldShows("example.org/page"));

    // Capitals stay as typed.
    gtk_editable_select_region(field(), 0, -1);
    ASSERT_TRUE(keys({"key", "--delay", "40", "shift+e", "shift+x", "shift+a"}));
    ASSERT_TRUE(fieldShows("EXAmple.org/page"));

    // Nothing is completed with the caret in the middle (each key is seen through before the next
    // goes: the keys are the user's, one after another)...
    gtk_editable_select_region(field(), 0, -1);
    ASSERT_TRUE(typeKeys("exa"));
    ASSERT_TRUE(fieldShows("example.org/page"));
    ASSERT_TRUE(press("BackSpace"));
    ASSERT_TRUE(fieldShows("exa"));
    ASSERT_TRUE(press("Left"));
    ASSERT_TRUE(waitUntil([&] { return selection() == std::pair{2, 2}; }, 5s));
    ASSERT_TRUE(typeKeys("x"));
    EXPECT_EQ(fieldText(), "exxa");
    EXPECT_EQ(selection(), (std::pair{3, 3}));
    // ... nor while part of the text is selected by hand...
    ASSERT_TRUE(press("End"));
    ASSERT_TRUE(press("shift+Left"));
    ASSERT_TRUE(typeKeys("m"));
    EXPECT_EQ(fieldText(), "exxm");
    // ... nor with history not remembered, when there is nothing to complete from.
    prefs().setRememberHistory(false);
    gtk_editable_set_text(field(), "");
    ASSERT_TRUE(typeKeys("exa"));
    EXPECT_EQ(fieldText(), "exa");
}

TEST_F(LocationFieldTest, restingLabelAtRestFullAddressWhileEditingReturnGoesAndTheFirstClickSelectsAll) {
    ASSERT_TRUE(visit(fixture));
    ASSERT_TRUE(fieldShows("http://browse.example"));
    EXPECT_EQ(gtk_editable_get_alignment(field()), 0.5f) << "centred at rest";

    ASSERT_TRUE(startEditing());
    EXPECT_EQ(fieldText(), fixture);
    EXPECT_EQ(gtk_editable_get_alignment(field()), 0.0f) << "left-aligned while edited";
    EXPECT_EQ(selection(), (std::pair{0, static_cast<int>(fixture.size())})) << "all of it selected";

    // Editing ends when the page takes the focus; the resting label comes back.
    gtk_widget_grab_focus(GTK_WIDGET(tab().view()));
    ASSERT_TRUE(fieldShows("http://browse.example"));
    EXPECT_FALSE(editing());

    // Return resolves what the field holds and goes there. The address is put in whole (the keyboard
    // of the virtual screen may lose the shift of ":" under load), and is no beginning of a visited one
    // that would complete it; the Return key is the real one.
    ASSERT_TRUE(startEditing());
    gtk_editable_set_text(field(), second.c_str());
    gtk_editable_set_position(field(), -1);
    ASSERT_EQ(fieldText(), second);
    ASSERT_TRUE(press("Return"));
    ASSERT_TRUE(waitUntil([&] { return tab().viewAddress() == second; })) << tab().viewAddress().value_or("");
    ASSERT_TRUE(waitForLoad(tab()));
    EXPECT_FALSE(editing()) << "the page has the focus";
    EXPECT_TRUE(gtk_widget_has_focus(GTK_WIDGET(tab().view())));

    // At rest, the first click selects everything and later clicks place the caret.
    GtkWidget* text = well().field();
    const double middle = gtk_widget_get_height(text) / 2.0;
    const auto all = std::pair{0, static_cast<int>(second.size())};
    auto caretPlaced = [&] { return selection().first == selection().second; };

    ASSERT_TRUE(click(text, gtk_widget_get_width(text) / 2.0, middle));
    ASSERT_TRUE(waitUntil([&] { return editing(); }, 5s));
    ASSERT_TRUE(waitUntil([&] { return selection() == all; }, 5s))
        << selection().first << ".." << selection().second;
    // Each click lands well apart from the one before, so that no two make a double click.
    ASSERT_TRUE(click(text, 20, middle));
    EXPECT_TRUE(caretPlaced()) << "the second click places the caret";

    // Open Location selects everything again, and the next click keeps it so...
    app().actions().activate("openLocation");
    ASSERT_TRUE(waitUntil([&] { return selection() == all; }, 5s));
    ASSERT_TRUE(click(text, 50, middle));
    EXPECT_EQ(selection(), all);
    // ... and the one after places the caret.
    ASSERT_TRUE(click(text, 80, middle));
    EXPECT_TRUE(caretPlaced());

    // A click on the well beside the field, while editing, selects everything too.
    ASSERT_TRUE(click(well().widget(), well().fieldFrame().x - 3, 16));
    EXPECT_EQ(selection(), all);
}

// ------------------------------------------------------------------------------------------------
// The tool buttons

TEST_F(ChromeTest, toolButtonsActOnReleaseOverThemStopALoadAndSpeakTheLanguage) {
    ASSERT_TRUE(visit(fixture));
    ASSERT_TRUE(visit(second));
    auto& back = chrome().backButton();
    ASSERT_TRUE(waitUntil([&] { return back.enabled(); }, 5s));
    EXPECT_FALSE(chrome().forwardButton().enabled());
    EXPECT_EQ(back.help(), "Show previous page");
    EXPECT_EQ(chrome().forwardButton().help(), "Show next page");
    EXPECT_EQ(chrome().reloadButton().help(), "Refresh page");
    EXPECT_EQ(chrome().reloadButton().glyph(), Glyph::reload);
    EXPECT_EQ(chrome().stealthButton().help(), "Stealth");

    // Pressed, dragged off and let go elsewhere: nothing.
    GtkWidget* button = back.widget();
    ASSERT_TRUE(pointer(button, {16, 16}, "mousedown"));
    EXPECT_TRUE(back.pressed());
    ASSERT_TRUE(pointer(button, {16, 200}, "mouseup"));
    EXPECT_FALSE(back.pressed());
    // Had the release gone back, the page would be loading (or gone) by the time it answers a script
    // sent after: the engine handles a view's requests in order.
    ASSERT_TRUE(evaluate(tab(), "true"));
    EXPECT_FALSE(webkit_web_view_is_loading(tab().view()));
    EXPECT_EQ(tab().viewAddress(), second);

    // Pressed and released on it: back.
    ASSERT_TRUE(click(button, 16, 16));
    ASSERT_TRUE(waitUntil([&] { return tab().viewAddress() == fixture && !tab().loading(); }));
    EXPECT_TRUE(waitUntil([&] { return chrome().forwardButton().enabled(); }, 5s));
    EXPECT_FALSE(gtk_widget_has_focus(button)) << "a tool button never takes the focus";

    // While a page loads the reload button stops it, and the progress well shows.
    m_proxy.answer("slow.example", "/", "<title>Slow</title><p>at last</p>", 1500ms);
    type("http://slow.example/");
    ASSERT_TRUE(waitUntil([&] { return chrome().reloadButton().glyph() == Glyph::stop; }, 5s));
    EXPECT_EQ(chrome().reloadButton().help(), "Stop loading this page");
    EXPECT_TRUE(waitUntil([&] { return chrome().progressWell().showsBar(); }, 5s));
    EXPECT_TRUE(waitUntil([&] { return chrome().statusLine().text() == "Contacting host..."; }, 5s))
        << chrome().statusLine().text();
    ASSERT_TRUE(waitForLoad(tab()));
    EXPECT_TRUE(waitUntil([&] { return chrome().reloadButton().glyph() == Glyph::reload; }, 5s));
    EXPECT_FALSE(chrome().progressWell().showsBar());
    EXPECT_EQ(chrome().statusLine().text(), status());

    app().actions().activate("chooseLanguage", "fr");
    EXPECT_EQ(back.help(), frenchWords().backHelp());
    EXPECT_EQ(chrome().stealthButton().help(), frenchWords().stealth());
    EXPECT_EQ(chrome().reloadButton().help(), frenchWords().reloadHelp());
}

// ------------------------------------------------------------------------------------------------
// The personal toolbar

class ToolbarTest : public ChromeTest {
protected:
    void configure() override {
        seed([](Preferences& stored) {
            Bookmarks::add(stored, Bookmark{"Browse fixture", fixture, true, ""});
            Bookmarks::add(stored, Bookmark{"Not an address", "definitely not an address", true, ""});
            Bookmarks::add(stored, Bookmark{"Kept off", "http://off.example/", false, ""});
        });
    }

    std::vector<std::string> titles(BrowserWindowController& in) {
        std::vector<std::string> out;
        for (GtkWidget* button : chrome(&in).personal().buttons())
            out.push_back(ToolButton::of(button).title());
        return out;
    }
};

TEST_F(ToolbarTest, oneButtonPerToolbarBookmarkInEveryWindow) {
    EXPECT_EQ(titles(window()), (std::vector<std::string>{"Browse fixture", "Not an address"}));
    ASSERT_TRUE(gtk_widget_get_child_visible(chrome().personal().widget()));
    expectLaidOut();

    app().actions().activate("newWindow");
    ASSERT_EQ(app().windows().size(), 2u);
    BrowserWindowController& first = window(0);
    BrowserWindowController& other = window(1);
    ASSERT_TRUE(waitForLoad(*other.context().tabs().currentTab()));
    EXPECT_EQ(titles(other), titles(first));

    // Put on the toolbar in one window, it appears in both.
    first.context().records().apply(BookmarkAction::addToToolbar("http://off.example/"), nullptr);
    EXPECT_EQ(titles(first), (std::vector<std::string>{"Browse fixture", "Not an address", "Kept off"}));
    EXPECT_EQ(titles(other), titles(first));
    EXPECT_TRUE(waitUntil(
        [&] { return first.context().status().status() == "Added to the Personal Toolbar: Kept off"; }));

    // Taken off from the other window's button menu, it goes from both.
    chrome(&other).personal().activate("remove-from-toolbar", fixture);
    EXPECT_EQ(titles(first), (std::vector<std::string>{"Not an address", "Kept off"}));
    EXPECT_EQ(titles(other), titles(first));
    EXPECT_TRUE(waitUntil([&] {
        return other.context().status().status() ==
               "Off the Personal Toolbar, still bookmarked: Browse fixture";
    }));
    EXPECT_EQ(prefs().bookmarks().size(), 3u) << "still bookmarked";

    // Removed entirely: gone from the bookmarks too.
    chrome(&first).personal().activate("remove-entirely", "http://off.example/");
    EXPECT_EQ(titles(other), (std::vector<std::string>{"Not an address"}));
    EXPECT_EQ(prefs().bookmarks().size(), 2u);

    // With no toolbar bookmark left the bar goes and the page moves up.
    chrome(&first).personal().activate("remove-from-toolbar", "definitely not an address");
    ASSERT_TRUE(nextFrame(&first));
    EXPECT_TRUE(titles(first).empty());
    EXPECT_FALSE(chrome(&first).layout().personal);
    EXPECT_FALSE(gtk_widget_get_child_visible(chrome(&other).personal().widget()));
}

TEST_F(ToolbarTest, aButtonLoadsItsBookmarkAMiddleClickInABackgroundTabUnlessTheAddressDoesNotParse) {
    ASSERT_TRUE(nextFrame());
    auto buttons = chrome().personal().buttons();
    ASSERT_EQ(buttons.size(), 2u);
    Tab& first = tab();
    std::string before = first.address().value_or("");
    // A bookmark whose address does not parse opens nothing, in no tab, with either button. Had a
    // click loaded anything, the page would be loading by the time it answers a script.
    for (int button : {1, 2}) {
        ASSERT_TRUE(click(buttons[1], 10, 10, button));
        ASSERT_TRUE(evaluate(first, "true"));
        EXPECT_EQ(first.address().value_or(""), before) << button;
        EXPECT_FALSE(webkit_web_view_is_loading(first.view())) << button;
        EXPECT_EQ(tabs().size(), 1u) << button;
    }

    ASSERT_TRUE(click(buttons[0], 10, 10, 2));
    ASSERT_TRUE(waitUntil([&] { return tabs().size() == 2; }, 5s));
    EXPECT_EQ(tabs().currentTab(), &first) << "the new tab stays behind";
    Tab& opened = *tabs().all().at(1);
    EXPECT_TRUE(waitUntil([&] { return opened.viewAddress() == fixture && !opened.loading(); }));
    EXPECT_EQ(first.address().value_or(""), before) << "the page itself did not move";

    ASSERT_TRUE(click(buttons[0], 10, 10));
    ASSERT_TRUE(waitUntil([&] { return first.viewAddress() == fixture && !first.loading(); }));
}

TEST_F(ToolbarTest, theMenusOfTheButtonsAndOfTheBar) {
    auto& personal = chrome().personal();
    auto labels = [](GMenuModel* model) {
        std::vector<std::string> out;
        std::function<void(GMenuModel*)> walk = [&](GMenuModel* menu) {
            for (int k = 0; k < g_menu_model_get_n_items(menu); ++k) {
                if (GMenuModel* section = g_menu_model_get_item_link(menu, k, G_MENU_LINK_SECTION)) {
                    if (!out.empty()) out.push_back("-");
                    walk(section);
                    g_object_unref(section);
                    continue;
                }
                char* label = nullptr;
                g_menu_model_get_item_attribute(menu, k, G_MENU_ATTRIBUTE_LABEL, "s", &label);
                out.push_back(label ? label : "");
                g_free(label);
            }
        };
        walk(model);
        return out;
    };
    EXPECT_EQ(labels(personal.bookmarkMenu(0).get()),
              (std::vector<std::string>{"Remove from Toolbar", "Remove Entirely", "-", "Bookmarks"}));
    EXPECT_EQ(labels(personal.barMenu().get()),
              (std::vector<std::string>{"Add Bookmark", "Bookmarks", "NIMB Report"}));

    app().actions().activate("chooseLanguage", "fr");
    EXPECT_EQ(labels(personal.barMenu().get()),
              (std::vector<std::string>{frenchWords().addBookmark(), frenchWords().bookmarks(),
                                        frenchWords().nimbReport()}));
    app().actions().activate("chooseLanguage", "en");

    // A secondary click opens the button's menu; its Bookmarks item shows the bookmarks page.
    ASSERT_TRUE(nextFrame());
    ASSERT_TRUE(click(personal.buttons()[0], 10, 10, 3));
    ASSERT_TRUE(waitUntil([&] { return personal.openMenu() != nullptr; }, 5s));
    personal.activate("bookmarks");
    ASSERT_TRUE(waitUntil([&] { return tab().localPage == std::string(LocationBar::aboutBookmarks); }));

    // The bar's own Add Bookmark adds the page shown.
    ASSERT_TRUE(visit(second));
    personal.activate("add-bookmark");
    EXPECT_EQ(prefs().bookmarks().size(), 4u);
    personal.activate("nimb-report");
    ASSERT_TRUE(waitUntil([&] { return tab().localPage == std::string(LocationBar::aboutReport); }));
    ASSERT_TRUE(waitForLoad(tab()));

    // The bar's own menu opens beside the buttons while the field is edited, and stays open: a menu
    // that the field's losing the focus would close is gone by the frames that show it.
    ASSERT_TRUE(startEditing());
    ASSERT_TRUE(click(personal.widget(), gtk_widget_get_width(personal.widget()) - 8.0, 12, 3));
    ASSERT_TRUE(waitUntil([&] { return personal.openMenu() != nullptr; }, 5s));
    ASSERT_TRUE(nextFrame());
    ASSERT_TRUE(nextFrame());
    ASSERT_NE(personal.openMenu(), nullptr) << "the menu stays open";
    EXPECT_TRUE(gtk_widget_get_visible(personal.openMenu()));
}

// ------------------------------------------------------------------------------------------------
// Stealth

TEST_F(ChromeTest, stealthFoldsTheBandIntoTheStripAndBackAndThePillClosesItsTab) {
    Bookmarks::add(prefs(), Bookmark{"Browse fixture", fixture, true, ""});
    app().windows().bookmarksChanged(nullptr);
    ASSERT_TRUE(visit(fixture));
    app().actions().activate("newTab");
    ASSERT_TRUE(visit(second));
    ASSERT_TRUE(resize(1000));
    ASSERT_TRUE(startEditing());

    app().actions().activate("toggleStealth");
    ASSERT_TRUE(controller().stealth());
    ASSERT_TRUE(nextFrame());
    EXPECT_FALSE(editing()) << "stealth ends the editing";
    auto& parts = chrome();
    auto& strip = controller().strip();
    EXPECT_FALSE(parts.layout().bar);
    EXPECT_FALSE(parts.layout().personal) << "hidden even with a toolbar bookmark";
    expectLaidOut();
    EXPECT_EQ(frame(GTK_WIDGET(tab().view())).y, 38);
    EXPECT_EQ(parts.stealthButton().glyph(), Glyph::unstealth);
    EXPECT_TRUE(strip.stealth());
    EXPECT_EQ(strip.gapAfterCurrent(), 36);
    EXPECT_TRUE(strip.bottomLine());

    // The well is the pill in the current tab's place in the strip, and follows another tab chosen.
    // Its tool tip is the full address, and its text the tab's label.
    for (auto [index, address] : {std::pair{1, second}, std::pair{0, fixture}}) {
        tabs().select(index);
        ASSERT_TRUE(nextFrame());
        auto place = strip.frame(index);
        ASSERT_TRUE(place);
        EXPECT_EQ(frame(well().widget()), (Rect{place->x, 4, place->width, 30}));
        EXPECT_EQ(well().help(), address);
    }
    EXPECT_TRUE(well().pill());
    EXPECT_TRUE(well().onClose);
    EXPECT_EQ(fieldText(), "Browse fixture");

    app().actions().activate("toggleStealth");
    ASSERT_FALSE(controller().stealth());
    ASSERT_TRUE(nextFrame());
    EXPECT_TRUE(parts.layout().bar);
    EXPECT_TRUE(parts.layout().personal);
    expectLaidOut();
    EXPECT_EQ(frame(well().widget()), (Rect{120, 46, 760, 32}));
    EXPECT_EQ(parts.stealthButton().glyph(), Glyph::stealth);
    EXPECT_FALSE(well().onClose);
    EXPECT_FALSE(well().showsKill());
    EXPECT_EQ(well().help(), "");
    EXPECT_EQ(fieldText(), "http://browse.example");

    // The stealth button does the same, from the band and then from its place in the strip.
    ASSERT_TRUE(click(parts.stealthButton().widget(), 13, 13));
    ASSERT_TRUE(waitUntil([&] { return controller().stealth(); }, 5s));
    ASSERT_TRUE(nextFrame());
    EXPECT_EQ(frame(parts.stealthButton().widget()), parts.layout().stealthButton);
    ASSERT_TRUE(click(parts.stealthButton().widget(), 13, 13));
    ASSERT_TRUE(waitUntil([&] { return !controller().stealth(); }, 5s));

    // The pill's close box shows while the pointer is over the well; pressed and dragged away, nothing
    // closes; clicked, it closes the current tab.
    app().actions().activate("toggleStealth");
    ASSERT_TRUE(nextFrame());
    Tab* closing = tabs().currentTab();
    auto box = well().closeHitArea();
    Point centre{box.midX(), box.midY()};
    ASSERT_TRUE(pointer(well().widget(), centre));
    ASSERT_TRUE(waitUntil([&] { return well().showsKill(); }, 5s));
    ASSERT_TRUE(pointer(well().widget(), centre, "mousedown"));
    EXPECT_TRUE(well().pressedKill());
    ASSERT_TRUE(pointer(well().widget(), {centre.x + 60, centre.y}, "mouseup"));
    EXPECT_FALSE(well().pressedKill());
    EXPECT_EQ(tabs().all().size(), 2u);
    ASSERT_TRUE(click(well().widget(), centre.x, centre.y));
    ASSERT_TRUE(waitUntil([&] { return tabs().all().size() == 1; }, 5s));
    EXPECT_NE(tabs().currentTab(), closing);
}

TEST_F(ChromeTest, aRestingLabelTooLongForTheFieldIsCutWithAnEllipsis) {
    const std::string title = "A page whose title goes on and on, far past the end of the pill it stands in";
    m_proxy.answer("long.example", "/", "<title>" + title + "</title><p>long</p>");
    // Stealth comes on before the page has told its title: the pill's label follows the title.
    app().actions().activate("toggleStealth");
    ASSERT_TRUE(visit("http://long.example/"));
    ASSERT_TRUE(waitUntil([&] { return well().restingLabel() == title; }, 5s)) << well().restingLabel();
    ASSERT_TRUE(waitUntil([&] { return fieldText() != title && !fieldText().empty(); }, 5s));
    const std::string ellipsis = "\u2026";
    std::string shown = fieldText();
    ASSERT_TRUE(shown.ends_with(ellipsis)) << shown;
    EXPECT_TRUE(title.starts_with(shown.substr(0, shown.size() - ellipsis.size()))) << shown;

    // Edited, the field holds the whole address; at rest again, the cut label.
    controller().focusLocation();
    ASSERT_TRUE(fieldShows("http://long.example/"));
    gtk_widget_grab_focus(GTK_WIDGET(tab().view()));
    ASSERT_TRUE(fieldShows(shown));

    // Out of stealth the resting label is the address's, whole.
    app().actions().activate("toggleStealth");
    EXPECT_TRUE(waitUntil([&] { return fieldText() == well().restingLabel(); }, 5s)) << fieldText();
    EXPECT_EQ(fieldText().find(ellipsis), std::string::npos);
}

// ------------------------------------------------------------------------------------------------
// Site icons

TEST_F(ChromeTest, tabsAndTheWellShowTheSitesIconsAndAClosedTabsIconIsLeftAlone) {
    m_proxy.answer("browse.example", "/favicon.ico", solidPng(220, 40, 40), {}, "image/png");
    ASSERT_TRUE(visit(fixture));
    ASSERT_TRUE(waitUntil([&] { return FaviconStore::shared().cached("browse.example") != nullptr; }));
    GdkTexture* icon = FaviconStore::shared().cached("browse.example");
    EXPECT_TRUE(waitUntil([&] { return well().icon() == icon; }, 5s)) << "the current tab's icon in the well";
    EXPECT_EQ(tab().icon(), icon);

    // A second tab on the home page has none; the first keeps its own, greyed behind the current one.
    Tab& first = tab();
    app().actions().activate("newTab");
    ASSERT_TRUE(waitForLoad(tab()));
    EXPECT_EQ(tab().icon(), nullptr) << "an internal page has no icon";
    EXPECT_EQ(well().icon(), nullptr);
    EXPECT_EQ(first.icon(), icon);

    // And back: the well shows it again.
    tabs().select(0);
    EXPECT_EQ(well().icon(), icon);

    // An icon arriving for a tab closed before it came is left alone.
    m_proxy.answer("late.example", "/favicon.ico", solidPng(40, 200, 40), 800ms, "image/png");
    m_proxy.answer("late.example", "/", "<title>Late</title><p>late</p>");
    tabs().select(1);
    app().actions().activate("newTab");
    ASSERT_TRUE(visit("http://late.example/"));
    tabs().closeCurrent();
    ASSERT_EQ(tabs().all().size(), 2u);
    ASSERT_TRUE(waitUntil([] { return FaviconStore::shared().cached("late.example") != nullptr; }));
    drain();
    EXPECT_EQ(well().icon(), nullptr) << "the home page's well stays without an icon";
}

// Whether the icon's first pixel is this opaque colour.
bool iconIs(GdkTexture* icon, guint8 r, guint8 g, guint8 b) {
    if (!icon) return false;
    int width = gdk_texture_get_width(icon);
    int height = gdk_texture_get_height(icon);
    std::vector<guchar> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    gdk_texture_download(icon, pixels.data(), static_cast<gsize>(width) * 4);
    // GDK_MEMORY_DEFAULT: B, G, R, A in memory on a little-endian machine.
    return pixels[2] == r && pixels[1] == g && pixels[0] == b && pixels[3] == 255;
}

TEST_F(ChromeTest, anIconOnAListedHostOrALoopbackAddressIsNotFetchedAndTheSitesOwnIsShown) {
    ASSERT_TRUE(prefs().contentBlockingEnabled());
    FaviconStore& store = FaviconStore::shared();
    auto ownIconCame = [&](const char* host) {
        return waitUntil([&] { return !store.isFetching(host) && store.cached(host); });
    };

    // A listed host's icon, declared once the page has loaded: counted as blocked.
    const std::string tracker = "http://doubleclick.net/favicon.ico";
    m_proxy.answer("doubleclick.net", "/favicon.ico", solidPng(220, 40, 40), {}, "image/png");
    m_proxy.answer("own-icon.example", "/favicon.ico", solidPng(40, 40, 220), {}, "image/png");
    m_proxy.answer("own-icon.example", "/",
                   "<!doctype html><title>Own icon</title><p>icon</p><script>"
                   "addEventListener('load', function () {"
                   "  var link = document.createElement('link');"
                   "  link.rel = 'icon';"
                   "  link.href = '" +
                       tracker +
                       "';"
                       "  document.head.appendChild(link);"
                       "});</script>");
    ASSERT_TRUE(visit("http://own-icon.example/"));
    ASSERT_TRUE(waitUntil([&] { return tab().declaredIcon == tracker; }))
        << "the page declares the tracker's icon";
    ASSERT_TRUE(ownIconCame("own-icon.example"));
    EXPECT_TRUE(waitForStatus("Document: Done  \u2014  1 blocked")) << status();
    EXPECT_EQ(window().context().status().shield().count, 1);
    EXPECT_FALSE(m_proxy.receivedHost("doubleclick.net")) << "no request reached the listed host";
    EXPECT_TRUE(iconIs(tab().icon(), 40, 40, 220)) << "the tab shows the site's own icon";
    EXPECT_TRUE(iconIs(well().icon(), 40, 40, 220));

    // A public page's icon on a loopback address: refused, and not counted as blocked.
    const std::string loopback = "http://127.0.0.1:" + std::to_string(m_proxy.port()) + "/x.ico";
    m_proxy.answer("127.0.0.1", "/x.ico", solidPng(220, 40, 40), {}, "image/png");
    m_proxy.answer("public-icon.example", "/favicon.ico", solidPng(200, 200, 40), {}, "image/png");
    m_proxy.answer("public-icon.example", "/",
                   "<!doctype html><title>Public</title><link rel=\"icon\" href=\"" + loopback +
                       "\"><p>public</p>");
    ASSERT_TRUE(visit("http://public-icon.example/"));
    ASSERT_TRUE(waitUntil([&] { return tab().declaredIcon == loopback; }));
    ASSERT_TRUE(ownIconCame("public-icon.example"));
    drain();
    for (const auto& request : m_proxy.requests())
        EXPECT_NE(request.path, "/x.ico") << request.url;
    EXPECT_TRUE(iconIs(tab().icon(), 200, 200, 40)) << "the tab shows the site's own icon";
    EXPECT_TRUE(waitForStatus("Document: Done")) << status();
}

} // namespace
} // namespace nimb::test
