// The window's chrome in the real application: where everything stands, the location field as the user types
// and clicks in it, the tool buttons, the personal toolbar in every window, stealth, and the site icons of
// the tabs and the location well.

#include "ShellTest.h"

#include "chrome/CustomChrome.h"
#include "chrome/TabStripView.h"
#include "engine/FaviconStore.h"
#include "library/Bookmarks.h"
#include "library/History.h"
#include "vocabulary/Languages.h"

#include <gdk/x11/gdkx.h>

#include <cstdlib>
#include <filesystem>

namespace nimb::test {
namespace {

using Rect = WindowLayout::Rect;
using Point = WindowLayout::Point;

const std::string fixture = "http://browse.example/";
const std::string second = "http://browse.example/second.html";

// A PNG of one colour, `size` pixels square, as a site's icon.
std::string solidPng(guint8 r, guint8 g, guint8 b, int size = 32) {
    std::vector<guint8> pixels;
    for (int k = 0; k < size * size; ++k)
        pixels.insert(pixels.end(), {r, g, b, 255});
    auto bytes = glib::adoptGRef(g_bytes_new(pixels.data(), pixels.size()));
    auto texture = glib::adoptGRef(
        gdk_memory_texture_new(size, size, GDK_MEMORY_R8G8B8A8, bytes.get(), static_cast<gsize>(size) * 4));
    auto png = glib::adoptGRef(gdk_texture_save_to_png_bytes(texture.get()));
    gsize length = 0;
    auto* data = static_cast<const char*>(g_bytes_get_data(png.get(), &length));
    return std::string(data, length);
}

class ChromeTest : public ShellTest {
protected:
    ChromeController& controller() { return window().context().chrome(); }
    CustomChrome& chrome(BrowserWindowController* in = nullptr) {
        return dynamic_cast<CustomChrome&>((in ? *in : window()).context().chrome().view());
    }
    LocationWell& well() { return chrome().well(); }
    GtkEditable* field() { return GTK_EDITABLE(well().field()); }
    std::string fieldText() { return gtk_editable_get_text(field()); }
    bool editing() { return controller().view().editing(); }
    // Waits until the field holds the text; says what it holds when it does not.
    bool fieldShows(const std::string& text) {
        bool shown = waitUntil([&] { return fieldText() == text; }, 5s);
        if (!shown) ADD_FAILURE() << "the field holds \"" << fieldText() << "\", not \"" << text << "\"";
        return shown;
    }
    bool startEditing() {
        controller().focusLocation();
        return waitUntil([&] { return editing(); }, 5s);
    }

    // The selected characters, as [start, end); empty when nothing is selected.
    std::pair<int, int> selection() {
        int start = 0;
        int end = 0;
        if (!gtk_editable_get_selection_bounds(field(), &start, &end))
            start = end = gtk_editable_get_position(field());
        return {start, end};
    }

    // Where a widget stands in the chrome's root, the way the window laid it out.
    Rect frame(GtkWidget* widget) {
        graphene_rect_t bounds;
        if (!gtk_widget_compute_bounds(widget, chrome().root(), &bounds)) return {};
        return {bounds.origin.x, bounds.origin.y, bounds.size.width, bounds.size.height};
    }

    // Every part stands where the window's layout (tests/core/WindowLayoutTest) puts it.
    void expectLaidOut() {
        auto& parts = chrome();
        const WindowLayout::Layout& layout = parts.layout();
        EXPECT_EQ(frame(well().widget()), layout.well);
        EXPECT_EQ(frame(parts.stealthButton().widget()), layout.stealthButton);
        ASSERT_EQ(layout.navButtons.size(), 3u);
        EXPECT_EQ(frame(parts.backButton().widget()), layout.navButtons[0]);
        EXPECT_EQ(frame(parts.reloadButton().widget()), layout.navButtons[2]);
        EXPECT_EQ(frame(controller().strip().widget()), layout.strip);
        EXPECT_EQ(frame(GTK_WIDGET(tab().view())).y, layout.pageArea.y);
        EXPECT_EQ(gtk_widget_get_child_visible(parts.personal().widget()), layout.personal.has_value());
        if (layout.personal) {
            EXPECT_EQ(frame(parts.personal().widget()), *layout.personal);
        }
    }

    // Runs the window to a new size and waits until the chrome has been laid out for it.
    bool resize(int width, int height = 720) {
        gtk_window_set_default_size(window().window(), width, height);
        bool done = waitUntil([&] { return gtk_widget_get_width(chrome().root()) == width; }, 5s);
        if (!done) ADD_FAILURE() << "the window is " << gtk_widget_get_width(chrome().root()) << " wide";
        drain();
        return done;
    }

    // The real pointer and keyboard, through xdotool; it returns once the window has handled every
    // event it caused.
    bool keys(const std::vector<std::string>& arguments) { return xdotool(window(), arguments); }
    bool typeKeys(const std::string& text) { return keys({"type", "--delay", "40", text}); }
    bool press(const std::string& key) { return keys({"key", key}); }
    // Moves the pointer to a point of a widget and, when one is given, presses or lets go of the first
    // button there ("mousedown", "mouseup").
    bool pointer(GtkWidget* widget, Point point, const char* button = nullptr) {
        auto command = pointAt(widget, point.x, point.y);
        if (button) command.insert(command.end(), {button, "1"});
        return keys(command);
    }
};

// ------------------------------------------------------------------------------------------------
// Where things stand

TEST_F(ChromeTest, theWindowStandsWhereTheLayoutSaysInTheDarkTheme) {
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

TEST_F(LocationFieldTest, restingLabelAtRestFullAddressWhileEditingAndReturnGoes) {
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
}

TEST_F(LocationFieldTest, theFirstClickSelectsAllAndLaterClicksPlaceTheCaret) {
    ASSERT_TRUE(visit(second));
    gtk_widget_grab_focus(GTK_WIDGET(tab().view()));
    ASSERT_TRUE(waitUntil([&] { return !editing(); }, 5s));
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
    EXPECT_EQ(first.context().status().status(), "Added to the Personal Toolbar: Kept off");

    // Taken off from the other window's button menu, it goes from both.
    chrome(&other).personal().activate("remove-from-toolbar", fixture);
    EXPECT_EQ(titles(first), (std::vector<std::string>{"Not an address", "Kept off"}));
    EXPECT_EQ(titles(other), titles(first));
    EXPECT_EQ(other.context().status().status(),
              "Off the Personal Toolbar, still bookmarked: Browse fixture");
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

TEST_F(ToolbarTest, clickingAButtonLoadsItsBookmarkUnlessTheAddressDoesNotParse) {
    ASSERT_TRUE(nextFrame());
    auto buttons = chrome().personal().buttons();
    ASSERT_EQ(buttons.size(), 2u);
    std::string before = tab().address().value_or("");
    ASSERT_TRUE(click(buttons[1], 10, 10));
    // Had the click loaded anything, the page would be loading by the time it answers a script.
    ASSERT_TRUE(evaluate(tab(), "true"));
    EXPECT_EQ(tab().address().value_or(""), before) << "nothing happens";
    EXPECT_FALSE(webkit_web_view_is_loading(tab().view()));

    ASSERT_TRUE(click(buttons[0], 10, 10));
    ASSERT_TRUE(waitUntil([&] { return tab().viewAddress() == fixture && !tab().loading(); }));
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

TEST_F(ChromeTest, buttonsPastTheRightEdgeAreHidden) {
    for (int k = 0; k < 12; ++k)
        Bookmarks::add(prefs(), Bookmark{"A rather long bookmark name " + std::to_string(k),
                                         "http://b" + std::to_string(k) + ".example/", true, ""});
    app().windows().bookmarksChanged(nullptr);
    ASSERT_TRUE(resize(700));
    auto buttons = chrome().personal().buttons();
    ASSERT_EQ(buttons.size(), 12u);
    EXPECT_EQ(ToolButton::of(buttons[0]).title(), "A rather long bookmark …") << "cut to 24 characters";
    // The shown ones are the first ones, inside the window.
    std::size_t shown = 0;
    while (shown < buttons.size() && gtk_widget_get_child_visible(buttons[shown]))
        EXPECT_LE(frame(buttons[shown++]).maxX(), 700 - 6);
    EXPECT_GT(shown, 0u);
    for (std::size_t k = shown; k < buttons.size(); ++k)
        EXPECT_FALSE(gtk_widget_get_child_visible(buttons[k])) << k;
}

// ------------------------------------------------------------------------------------------------
// Stealth

TEST_F(ChromeTest, stealthFoldsTheBandIntoTheStripAndBack) {
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
    EXPECT_TRUE(waitUntil([&] { return !controller().stealth(); }, 5s));
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

TEST_F(ChromeTest, thePillsCloseBoxClosesTheCurrentTab) {
    app().actions().activate("newTab");
    app().actions().activate("newTab");
    ASSERT_EQ(tabs().all().size(), 3u);
    Tab* closing = tabs().currentTab();
    app().actions().activate("toggleStealth");
    ASSERT_TRUE(nextFrame());
    auto box = well().closeHitArea();
    Point centre{box.midX(), box.midY()};

    // The box shows while the pointer is over the well; pressed and dragged away, nothing closes.
    ASSERT_TRUE(pointer(well().widget(), centre));
    ASSERT_TRUE(waitUntil([&] { return well().showsKill(); }, 5s));
    ASSERT_TRUE(pointer(well().widget(), centre, "mousedown"));
    EXPECT_TRUE(well().pressedKill());
    ASSERT_TRUE(pointer(well().widget(), {centre.x + 60, centre.y}, "mouseup"));
    EXPECT_FALSE(well().pressedKill());
    EXPECT_EQ(tabs().all().size(), 3u);

    ASSERT_TRUE(click(well().widget(), centre.x, centre.y));
    ASSERT_TRUE(waitUntil([&] { return tabs().all().size() == 2; }, 5s));
    for (const auto& left : tabs().all())
        EXPECT_NE(left.get(), closing);
}

// ------------------------------------------------------------------------------------------------
// Site icons

TEST_F(ChromeTest, tabsAndTheWellShowTheSitesIcons) {
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
}

TEST_F(ChromeTest, aTabClosedBeforeItsIconArrivesIsLeftAlone) {
    m_proxy.answer("late.example", "/favicon.ico", solidPng(40, 200, 40), 800ms, "image/png");
    m_proxy.answer("late.example", "/", "<title>Late</title><p>late</p>");
    app().actions().activate("newTab");
    ASSERT_TRUE(visit("http://late.example/"));
    tabs().closeCurrent();
    ASSERT_EQ(tabs().all().size(), 1u);
    // The icon arrives for a tab that is gone.
    ASSERT_TRUE(waitUntil([] { return FaviconStore::shared().cached("late.example") != nullptr; }));
    drain();
    EXPECT_EQ(well().icon(), nullptr) << "the home page's well stays without an icon";
}

} // namespace
} // namespace nimb::test

// ------------------------------------------------------------------------------------------------
// Pictures of the chrome (tools/screenshots): not tests, but the window in its states drawn to PNG for a
// person to look at. Run with
// --gtest_also_run_disabled_tests and NIMB_SCREENSHOTS set to the directory to write into.

namespace nimb::test {
namespace {

// Sites with their titles and the colours of their icons.
struct Site {
    const char* host;
    const char* title;
    guint8 r, g, b;
};

const Site sites[] = {
    {"arctic.example", "Arctic Notes", 41, 120, 219},
    {"bakery.example", "The Corner Bakery — Bread and Pastries", 217, 140, 41},
    {"cinema.example", "Cinema Listings", 199, 56, 71},
    {"dune.example", "Dune Ecology Society", 140, 115, 64},
    {"elm.example", "Elm Street Library", 51, 153, 89},
};

class ChromeScreenshots : public ChromeTest {
protected:
    void configure() override {
        seed([](Preferences& stored) {
            History::recordVisit(stored, "https://www.example.org/reading/list", "Reading list",
                                 Date{1'700'000'000});
            int k = 0;
            for (const char* name : {"Morning paper", "Weather", "Arctic Notes", "The Corner Bakery",
                                     "Library catalogue", "Timetables", "Recipes worth keeping", "Maps",
                                     "A very long bookmark name that goes on", "Letters", "Garden"})
                Bookmarks::add(
                    stored, Bookmark{name, "http://bookmark" + std::to_string(k++) + ".example/", true, ""});
        });
    }

    void SetUp() override {
        const char* out = std::getenv("NIMB_SCREENSHOTS");
        if (!out || !*out) GTEST_SKIP() << "set NIMB_SCREENSHOTS to the directory for the pictures";
        m_out = out;
        std::filesystem::create_directories(m_out);
        ChromeTest::SetUp();
        for (const auto& site : sites) {
            m_proxy.answer(site.host, "/favicon.ico", solidPng(site.r, site.g, site.b), {}, "image/png");
            std::string page = std::string("<!doctype html><meta charset=utf-8><title>") + site.title +
                               "</title><body style='font: 16px sans-serif; margin: 40px'><h1>" + site.title +
                               "</h1><p>A page of the fixture web.</p>";
            m_proxy.answer(site.host, "/", page);
        }
    }

    // The window as it is on the screen, popups and tool tips included.
    void shot(const std::string& name, bool pageSettled = true) {
        // The page draws in the web process: two of its animation frames after a change, it has
        // painted the change; then two of the window's frames put it on the screen. A document that
        // replaces the page meanwhile is asked again. A page still on its way is not waited for.
        const char* painted =
            "if (window.shotFrames === undefined) { window.shotFrames = 0;"
            " requestAnimationFrame(() => requestAnimationFrame(() => window.shotFrames = 2)); }"
            " window.shotFrames";
        if (pageSettled) {
            ASSERT_TRUE(evaluate(tab(), "delete window.shotFrames; true"));
            ASSERT_TRUE(waitUntil([&] { return evaluate(tab(), painted) == nlohmann::json(2); }, 5s));
        }
        ASSERT_TRUE(nextFrame());
        ASSERT_TRUE(nextFrame());
        GdkSurface* surface = gtk_native_get_surface(GTK_NATIVE(window().window()));
        std::string script = "eval $(xdotool getwindowgeometry --shell " +
                             std::to_string(gdk_x11_surface_get_xid(surface)) +
                             ") && import -window root -crop ${WIDTH}x${HEIGHT}+${X}+${Y} +repage " +
                             (m_out / (name + ".png")).string();
        const char* argv[] = {"sh", "-c", script.c_str(), nullptr};
        int status = 0;
        ASSERT_TRUE(g_spawn_sync(nullptr, const_cast<char**>(argv), nullptr, G_SPAWN_SEARCH_PATH, nullptr,
                                 nullptr, nullptr, nullptr, &status, nullptr));
        EXPECT_TRUE(g_spawn_check_wait_status(status, nullptr)) << script;
    }

    void openSites(std::size_t count) {
        for (std::size_t k = 0; k < count; ++k) {
            if (k > 0) app().actions().activate("newTab");
            ASSERT_TRUE(visit(std::string("http://") + sites[k].host + "/"));
        }
        for (std::size_t k = 0; k < count; ++k)
            waitUntil([&] { return FaviconStore::shared().cached(sites[k].host) != nullptr; }, 5s);
        ASSERT_TRUE(nextFrame());
    }

    void hover(GtkWidget* widget, Point point) { ASSERT_TRUE(pointer(widget, point)); }

    // A tool tip stands over the window: GTK shows it in a popup child of the window.
    bool tooltipShown() {
        for (GtkWidget* child = gtk_widget_get_first_child(GTK_WIDGET(window().window())); child;
             child = gtk_widget_get_next_sibling(child))
            if (std::string_view(G_OBJECT_TYPE_NAME(child)) == "GtkTooltipWindow" &&
                gtk_widget_get_mapped(child))
                return true;
        return false;
    }

    std::filesystem::path m_out;
};

TEST_F(ChromeScreenshots, DISABLED_draw) {
    ASSERT_TRUE(resize(1000));
    openSites(5);
    tabs().select(2);
    auto second = controller().strip().frame(1);
    ASSERT_TRUE(second);
    hover(controller().strip().widget(), {second->x + 40, second->midY()});
    shot("tabs-five-hovered");

    // The location field at rest, and while a completion is offered.
    hover(controller().strip().widget(), {500, 400});
    gtk_widget_grab_focus(GTK_WIDGET(tab().view()));
    shot("location-rest");
    controller().focusLocation();
    ASSERT_TRUE(typeKeys("exa"));
    waitUntil([&] { return fieldText() == "example.org/reading/list"; }, 5s);
    shot("location-editing-completion");
    gtk_widget_grab_focus(GTK_WIDGET(tab().view()));

    // The personal toolbar with more bookmarks than fit, and its menus.
    ASSERT_TRUE(resize(760));
    shot("personal-toolbar-760");
    ASSERT_TRUE(resize(1000));
    auto buttons = chrome().personal().buttons();
    ASSERT_FALSE(buttons.empty());
    ASSERT_TRUE(click(buttons[1], 10, 10, 3));
    shot("personal-toolbar-button-menu");
    press("Escape");

    // Stealth on and off.
    app().actions().activate("toggleStealth");
    hover(controller().strip().widget(), {500, 400});
    shot("stealth-on-1000");
    hover(well().widget(), {20, 15});
    EXPECT_TRUE(waitUntil([&] { return tooltipShown(); }, 5s));
    shot("stealth-on-pill-hovered");
    app().actions().activate("toggleStealth");
    shot("stealth-off-1000");

    // The three widths.
    for (int width : {480, 1000, 1400}) {
        ASSERT_TRUE(resize(width));
        shot("window-" + std::to_string(width));
        app().actions().activate("toggleStealth");
        shot("window-" + std::to_string(width) + "-stealth");
        app().actions().activate("toggleStealth");
    }

    // In French: the words of the chrome, the status line and a tool tip.
    ASSERT_TRUE(resize(1000));
    app().actions().activate("chooseLanguage", "fr");
    app().actions().activate("newTab");
    waitForLoad(tab());
    hover(chrome().backButton().widget(), {16, 16});
    EXPECT_TRUE(waitUntil([&] { return tooltipShown(); }, 5s));
    shot("french-tooltip");
    auto& personal = chrome().personal();
    ASSERT_TRUE(click(personal.widget(), gtk_widget_get_width(personal.widget()) - 60.0, 12, 3));
    waitUntil([&] { return personal.openMenu() != nullptr; }, 5s);
    shot("french-toolbar-menu");
    press("Escape");
    app().actions().activate("chooseLanguage", "en");
    shot("english");

    // A page on its way: the stop button, the status line and the progress well.
    m_proxy.answer("slow.example", "/", "<title>Slow</title><p>at last</p>", 3000ms);
    type("http://slow.example/");
    waitUntil([&] { return chrome().progressWell().showsBar(); }, 5s);
    shot("loading", false);
}

} // namespace
} // namespace nimb::test
