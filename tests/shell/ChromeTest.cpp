// The window's chrome in the real application: where everything stands, the location field as the user types
// and clicks in it, the tool buttons, the personal toolbar in every window, stealth, and the site icons of
// the tabs and the location well.

#include "ShellTest.h"

#include "base/Text.h"
#include "chrome/CustomChrome.h"
#include "chrome/TabStripView.h"
#include "engine/FaviconStore.h"
#include "library/Bookmarks.h"
#include "library/History.h"
#include "page/Favicon.h"
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
    CustomChrome& chrome(BrowserWindowController* in = nullptr) {
        return dynamic_cast<CustomChrome&>((in ? *in : window()).context().chrome().view());
    }
    LocationWell& well(BrowserWindowController* in = nullptr) { return chrome(in).well(); }
    GtkEditable* field(BrowserWindowController* in = nullptr) { return GTK_EDITABLE(well(in).field()); }
    std::string fieldText(BrowserWindowController* in = nullptr) { return gtk_editable_get_text(field(in)); }

    // The selected characters, as [start, end); empty when nothing is selected.
    std::pair<int, int> selection() {
        int start = 0;
        int end = 0;
        if (!gtk_editable_get_selection_bounds(field(), &start, &end)) {
            int caret = gtk_editable_get_position(field());
            return {caret, caret};
        }
        return {start, end};
    }

    // Where a widget stands in the chrome's root, the way the window laid it out.
    Rect frame(GtkWidget* widget) {
        graphene_rect_t bounds;
        if (!gtk_widget_compute_bounds(widget, chrome().root(), &bounds)) return {};
        return {bounds.origin.x, bounds.origin.y, bounds.size.width, bounds.size.height};
    }

    // Runs the window to a new size and waits until the chrome has been laid out for it.
    bool resize(int width, int height = 720) {
        gtk_window_set_default_size(window().window(), width, height);
        bool done = waitUntil([&] { return gtk_widget_get_width(chrome().root()) == width; }, 5s);
        if (!done) ADD_FAILURE() << "the window is " << gtk_widget_get_width(chrome().root()) << " wide";
        drain();
        return done;
    }

    // The real pointer and keyboard, through xdotool, at a point of a widget.
    std::vector<std::string> moveTo(GtkWidget* widget, Point point) {
        graphene_point_t in = GRAPHENE_POINT_INIT(static_cast<float>(point.x), static_cast<float>(point.y));
        graphene_point_t out;
        if (!gtk_widget_compute_point(widget, GTK_WIDGET(window().window()), &in, &out)) return {};
        double dx = 0;
        double dy = 0;
        gtk_native_get_surface_transform(GTK_NATIVE(window().window()), &dx, &dy);
        GdkSurface* surface = gtk_native_get_surface(GTK_NATIVE(window().window()));
        return {"mousemove", "--window", std::to_string(gdk_x11_surface_get_xid(surface)),
                std::to_string(static_cast<int>(out.x + dx)), std::to_string(static_cast<int>(out.y + dy))};
    }
    bool click(GtkWidget* widget, Point point, int button = 1) {
        auto command = moveTo(widget, point);
        command.insert(command.end(), {"click", std::to_string(button)});
        return xdotool(window(), command);
    }
    // xdotool returns once the window has handled every event it caused.
    bool keys(const std::vector<std::string>& arguments) { return xdotool(window(), arguments); }
    bool typeKeys(const std::string& text) { return keys({"type", "--delay", "40", text}); }
    bool press(const std::string& key) { return keys({"key", key}); }

    // Serves a coloured icon at an address of the loopback server.
    void serveIcon(std::string_view host, std::string_view path, guint8 r, guint8 g, guint8 b) {
        m_proxy.answer(host, path, solidPng(r, g, b), {}, "image/png");
    }
};

// ------------------------------------------------------------------------------------------------
// Where things stand

TEST_F(ChromeTest, theWindowStandsWhereTheLayoutSays) {
    ASSERT_TRUE(resize(1000));
    auto& parts = chrome();
    EXPECT_EQ(frame(well().widget()), (Rect{120, 46, 760, 32}));
    EXPECT_EQ(frame(parts.stealthButton().widget()), (Rect{886, 49, 26, 26}));
    EXPECT_EQ(frame(parts.backButton().widget()), (Rect{8, 46, 32, 32}));
    EXPECT_EQ(frame(parts.reloadButton().widget()), (Rect{76, 46, 32, 32}));
    EXPECT_EQ(frame(window().context().chrome().strip().widget()), (Rect{0, 0, 1000, 38}));
    EXPECT_EQ(frame(GTK_WIDGET(tab().view())).y, 86) << "the page starts under the band";
    EXPECT_FALSE(gtk_widget_get_child_visible(parts.personal().widget())) << "no toolbar bookmarks";
    // The status line and the progress well stand over the foot of the page, taking nothing from it.
    Rect page = frame(GTK_WIDGET(tab().view()));
    Rect status = frame(parts.statusLine().widget());
    EXPECT_EQ(status.maxY(), page.maxY());
    EXPECT_GE(status.y, page.y);

    // Wider, the well keeps its greatest width and stands centred (the virtual screen is 1280 wide).
    ASSERT_TRUE(resize(1200));
    EXPECT_EQ(frame(well().widget()), (Rect{220, 46, 760, 32}));
    ASSERT_TRUE(resize(480));
    EXPECT_EQ(frame(well().widget()), (Rect{120, 46, 318, 32}));
    EXPECT_EQ(frame(parts.stealthButton().widget()).x, 444);
}

TEST_F(ChromeTest, theWindowIsShownInTheDarkVariantOfTheTheme) {
    // The look is given once the first page has begun to load, before the window is shown.
    gboolean dark = FALSE;
    g_object_get(gtk_widget_get_settings(GTK_WIDGET(window().window())), "gtk-application-prefer-dark-theme",
                 &dark, nullptr);
    EXPECT_TRUE(dark);
    EXPECT_TRUE(gtk_widget_get_mapped(GTK_WIDGET(window().window())));
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

TEST_F(LocationFieldTest, typingCompletesInlineAndDeletingDoesNot) {
    window().context().chrome().focusLocation();
    ASSERT_TRUE(waitUntil([&] { return window().context().chrome().view().editing(); }, 5s));
    ASSERT_TRUE(typeKeys("exa"));
    ASSERT_TRUE(waitUntil([&] { return fieldText() == "example.org/page"; }, 5s)) << fieldText();
    EXPECT_EQ(selection(), (std::pair{3, 16})) << "the added tail is selected";

    // Typing on overwrites the suggestion and completes again.
    ASSERT_TRUE(typeKeys("m"));
    ASSERT_TRUE(waitUntil([&] { return fieldText() == "example.org/page"; }, 5s)) << fieldText();
    EXPECT_EQ(selection(), (std::pair{4, 16}));

    // A deletion takes the suggestion away and is not completed again...
    ASSERT_TRUE(press("BackSpace"));
    EXPECT_EQ(fieldText(), "exam");
    ASSERT_TRUE(press("BackSpace"));
    EXPECT_EQ(fieldText(), "exa");
    EXPECT_EQ(selection(), (std::pair{3, 3}));
    // ... until another character is typed.
    ASSERT_TRUE(typeKeys("m"));
    ASSERT_TRUE(waitUntil([&] { return fieldText() == "example.org/page"; }, 5s)) << fieldText();

    // Capitals stay as typed.
    gtk_editable_select_region(field(), 0, -1);
    ASSERT_TRUE(keys({"key", "--delay", "40", "shift+e", "shift+x", "shift+a"}));
    ASSERT_TRUE(waitUntil([&] { return fieldText() == "EXAmple.org/page"; }, 5s)) << fieldText();
}

TEST_F(LocationFieldTest, nothingIsCompletedWithTheCaretInTheMiddle) {
    window().context().chrome().focusLocation();
    ASSERT_TRUE(waitUntil([&] { return window().context().chrome().view().editing(); }, 5s));
    ASSERT_TRUE(typeKeys("exa"));
    ASSERT_TRUE(waitUntil([&] { return fieldText() == "example.org/page"; }, 5s)) << fieldText();
    // Each key is seen through before the next goes: the keys are the user's, one after another.
    ASSERT_TRUE(press("BackSpace"));
    ASSERT_TRUE(waitUntil([&] { return fieldText() == "exa"; }, 5s)) << fieldText();
    ASSERT_TRUE(press("Left"));
    ASSERT_TRUE(waitUntil([&] { return selection() == std::pair{2, 2}; }, 5s));
    ASSERT_TRUE(typeKeys("x"));
    EXPECT_EQ(fieldText(), "exxa");
    EXPECT_EQ(selection(), (std::pair{3, 3}));

    // And nothing while part of the text is selected by hand either.
    ASSERT_TRUE(press("End"));
    ASSERT_TRUE(press("shift+Left"));
    ASSERT_TRUE(typeKeys("m"));
    EXPECT_EQ(fieldText(), "exxm");

    // With history not remembered there is nothing to complete from.
    prefs().setRememberHistory(false);
    gtk_editable_set_text(field(), "");
    ASSERT_TRUE(typeKeys("exa"));
    EXPECT_EQ(fieldText(), "exa");
}

TEST_F(LocationFieldTest, returnResolvesAndGoes) {
    window().context().chrome().focusLocation();
    ASSERT_TRUE(waitUntil([&] { return window().context().chrome().view().editing(); }, 5s));
    // The address is put in whole (the keyboard of the virtual screen may lose the shift of ":" under
    // load); the Return key is the real one.
    gtk_editable_set_text(field(), second.c_str());
    gtk_editable_set_position(field(), -1);
    ASSERT_EQ(fieldText(), second);
    ASSERT_TRUE(press("Return"));
    ASSERT_TRUE(waitUntil([&] { return tab().viewAddress() == second; })) << tab().viewAddress().value_or("");
    ASSERT_TRUE(waitForLoad(tab()));
    EXPECT_FALSE(window().context().chrome().view().editing()) << "the page has the focus";
    EXPECT_TRUE(gtk_widget_has_focus(GTK_WIDGET(tab().view())));
}

TEST_F(LocationFieldTest, restingLabelAtRestFullAddressWhileEditing) {
    ASSERT_TRUE(visit(second));
    ASSERT_TRUE(waitUntil([&] { return fieldText() == "http://browse.example"; }, 5s)) << fieldText();
    EXPECT_EQ(gtk_editable_get_alignment(field()), 0.5f) << "centred at rest";

    window().context().chrome().focusLocation();
    ASSERT_TRUE(waitUntil([&] { return window().context().chrome().view().editing(); }, 5s));
    EXPECT_EQ(fieldText(), second);
    EXPECT_EQ(gtk_editable_get_alignment(field()), 0.0f) << "left-aligned while edited";
    EXPECT_EQ(selection(), (std::pair{0, static_cast<int>(second.size())})) << "all of it selected";

    // Editing ends when the page takes the focus; the resting label comes back.
    gtk_widget_grab_focus(GTK_WIDGET(tab().view()));
    ASSERT_TRUE(waitUntil([&] { return fieldText() == "http://browse.example"; }, 5s));
    EXPECT_FALSE(window().context().chrome().view().editing());
}

TEST_F(LocationFieldTest, theFirstClickSelectsAllAndLaterClicksPlaceTheCaret) {
    ASSERT_TRUE(visit(second));
    gtk_widget_grab_focus(GTK_WIDGET(tab().view()));
    ASSERT_TRUE(waitUntil([&] { return !window().context().chrome().view().editing(); }, 5s));
    GtkWidget* text = well().field();
    Point middle{gtk_widget_get_width(text) / 2.0, gtk_widget_get_height(text) / 2.0};
    const auto all = std::pair{0, static_cast<int>(second.size())};

    ASSERT_TRUE(click(text, middle));
    ASSERT_TRUE(waitUntil([&] { return window().context().chrome().view().editing(); }, 5s));
    ASSERT_TRUE(waitUntil([&] { return selection() == all; }, 5s))
        << selection().first << ".." << selection().second;

    ASSERT_TRUE(click(text, {20, middle.y}));
    EXPECT_EQ(selection().first, selection().second) << "the second click places the caret";

    // Open Location selects everything again, and the next click keeps it so...
    // (Each click lands apart from the one before: two at one place in quick succession are a double
    // click, which selects a word.)
    app().actions().activate("openLocation");
    ASSERT_TRUE(waitUntil([&] { return selection() == all; }, 5s));
    ASSERT_TRUE(click(text, {60, middle.y}));
    EXPECT_EQ(selection(), all);
    // ... and the one after places the caret.
    ASSERT_TRUE(click(text, {100, middle.y}));
    EXPECT_EQ(selection().first, selection().second);

    // A click on the well beside the field, while editing, selects everything too.
    ASSERT_TRUE(click(well().widget(), {well().fieldFrame().x - 3, 16}));
    EXPECT_EQ(selection(), all);
}

// ------------------------------------------------------------------------------------------------
// The tool buttons

TEST_F(ChromeTest, toolButtonsActOnReleaseOverThemAndSpeakTheLanguage) {
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
    auto command = moveTo(button, {16, 16});
    auto away = moveTo(button, {16, 200});
    command.insert(command.end(), {"mousedown", "1"});
    ASSERT_TRUE(keys(command));
    EXPECT_TRUE(back.pressed());
    away.insert(away.end(), {"mouseup", "1"});
    ASSERT_TRUE(keys(away));
    EXPECT_FALSE(back.pressed());
    // Had the release gone back, the page would be loading (or gone) by the time it answers a script
    // sent after: the engine handles a view's requests in order.
    ASSERT_TRUE(evaluate(tab(), "true"));
    EXPECT_FALSE(webkit_web_view_is_loading(tab().view()));
    EXPECT_EQ(tab().viewAddress(), second);

    // Pressed and released on it: back.
    ASSERT_TRUE(click(button, {16, 16}));
    ASSERT_TRUE(waitUntil([&] { return tab().viewAddress() == fixture && !tab().loading(); }));
    EXPECT_TRUE(waitUntil([&] { return chrome().forwardButton().enabled(); }, 5s));
    EXPECT_FALSE(gtk_widget_has_focus(button)) << "a tool button never takes the focus";

    app().actions().activate("chooseLanguage", "fr");
    EXPECT_EQ(back.help(), frenchWords().backHelp());
    EXPECT_EQ(chrome().stealthButton().help(), frenchWords().stealth());
    EXPECT_EQ(chrome().reloadButton().help(), frenchWords().reloadHelp());
}

TEST_F(ChromeTest, theReloadButtonStopsWhileLoadingAndTheProgressWellShows) {
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
    EXPECT_EQ(chrome().statusLine().text(), window().context().status().status());
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
    EXPECT_EQ(frame(chrome().personal().widget()), (Rect{0, 86, 1000, 26}));
    EXPECT_EQ(frame(GTK_WIDGET(tab().view())).y, 112);

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
    ASSERT_TRUE(click(buttons[1], {10, 10}));
    // Had the click loaded anything, the page would be loading by the time it answers a script.
    ASSERT_TRUE(evaluate(tab(), "true"));
    EXPECT_EQ(tab().address().value_or(""), before) << "nothing happens";
    EXPECT_FALSE(webkit_web_view_is_loading(tab().view()));

    ASSERT_TRUE(click(buttons[0], {10, 10}));
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
    ASSERT_TRUE(click(personal.buttons()[0], {10, 10}, 3));
    ASSERT_TRUE(waitUntil([&] { return personal.openMenu() != nullptr; }, 5s));
    personal.activate("bookmarks");
    ASSERT_TRUE(waitUntil([&] { return tab().localPage == std::string(LocationBar::aboutBookmarks); }));

    // The bar's own Add Bookmark adds the page shown.
    ASSERT_TRUE(visit(second));
    personal.activate("add-bookmark");
    EXPECT_EQ(prefs().bookmarks().size(), 4u);
    personal.activate("nimb-report");
    ASSERT_TRUE(waitUntil([&] { return tab().localPage == std::string(LocationBar::aboutReport); }));
}

TEST_F(ToolbarTest, theBarsOwnMenuOpensBesideTheButtonsWhileTheFieldIsEdited) {
    auto& personal = chrome().personal();
    window().context().chrome().focusLocation();
    ASSERT_TRUE(waitUntil([&] { return window().context().chrome().view().editing(); }, 5s));
    ASSERT_TRUE(click(personal.widget(), {gtk_widget_get_width(personal.widget()) - 8.0, 12}, 3));
    ASSERT_TRUE(waitUntil([&] { return personal.openMenu() != nullptr; }, 5s));
    // A menu that the field's losing the focus would close is gone by the frames that show it.
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
    int shown = 0;
    for (GtkWidget* button : buttons) {
        if (!gtk_widget_get_child_visible(button)) continue;
        ++shown;
        EXPECT_LE(frame(button).maxX(), 700 - 6);
    }
    EXPECT_GT(shown, 0);
    EXPECT_LT(shown, 12);
    // The shown ones are the first ones.
    for (int k = 0; k < shown; ++k)
        EXPECT_TRUE(gtk_widget_get_child_visible(buttons[static_cast<std::size_t>(k)]));
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
    window().context().chrome().focusLocation();
    ASSERT_TRUE(waitUntil([&] { return window().context().chrome().view().editing(); }, 5s));

    app().actions().activate("toggleStealth");
    ASSERT_TRUE(window().context().chrome().stealth());
    ASSERT_TRUE(nextFrame());
    EXPECT_FALSE(window().context().chrome().view().editing()) << "stealth ends the editing";
    auto& parts = chrome();
    EXPECT_FALSE(parts.layout().bar);
    EXPECT_FALSE(parts.layout().personal) << "hidden even with a toolbar bookmark";
    EXPECT_FALSE(gtk_widget_get_child_visible(parts.personal().widget()));
    EXPECT_EQ(frame(parts.backButton().widget()).y, 5);
    EXPECT_EQ(frame(parts.backButton().widget()).width, 28);
    EXPECT_EQ(frame(GTK_WIDGET(tab().view())).y, 38);
    EXPECT_EQ(parts.stealthButton().glyph(), Glyph::unstealth);
    EXPECT_TRUE(window().context().chrome().strip().stealth());
    EXPECT_EQ(window().context().chrome().strip().gapAfterCurrent(), 36);
    EXPECT_TRUE(window().context().chrome().strip().bottomLine());

    // The well is the pill in the current tab's place.
    auto place = window().context().chrome().strip().frame(window().context().tabs().current());
    ASSERT_TRUE(place);
    EXPECT_EQ(frame(well().widget()), (Rect{place->x, 4, place->width, 30}));
    EXPECT_TRUE(well().pill());
    EXPECT_TRUE(well().onClose);
    // Its tool tip is the full address, and its text the tab's label.
    EXPECT_EQ(well().help(), second);
    EXPECT_EQ(fieldText(), "Second page");

    // Another tab chosen, the pill follows it into its place.
    window().context().tabs().select(0);
    ASSERT_TRUE(nextFrame());
    auto first = window().context().chrome().strip().frame(0);
    ASSERT_TRUE(first);
    EXPECT_EQ(frame(well().widget()), (Rect{first->x, 4, first->width, 30}));
    EXPECT_EQ(well().help(), fixture);
    window().context().tabs().select(1);
    ASSERT_TRUE(nextFrame());

    app().actions().activate("toggleStealth");
    ASSERT_FALSE(window().context().chrome().stealth());
    ASSERT_TRUE(nextFrame());
    EXPECT_TRUE(parts.layout().bar);
    EXPECT_TRUE(gtk_widget_get_child_visible(parts.personal().widget()));
    EXPECT_EQ(frame(well().widget()), (Rect{120, 46, 760, 32}));
    EXPECT_EQ(parts.stealthButton().glyph(), Glyph::stealth);
    EXPECT_FALSE(well().onClose);
    EXPECT_FALSE(well().showsKill());
    EXPECT_EQ(well().help(), "");
    EXPECT_EQ(fieldText(), "http://browse.example");

    // The stealth button does the same, from the band and then from its place in the strip.
    ASSERT_TRUE(click(parts.stealthButton().widget(), {13, 13}));
    ASSERT_TRUE(waitUntil([&] { return window().context().chrome().stealth(); }, 5s));
    ASSERT_TRUE(nextFrame());
    EXPECT_EQ(frame(parts.stealthButton().widget()).y, 6);
    ASSERT_TRUE(click(parts.stealthButton().widget(), {13, 13}));
    EXPECT_TRUE(waitUntil([&] { return !window().context().chrome().stealth(); }, 5s));
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
    ASSERT_GT(shown.size(), ellipsis.size());
    EXPECT_EQ(shown.substr(shown.size() - ellipsis.size()), ellipsis) << shown;
    EXPECT_EQ(title.rfind(shown.substr(0, shown.size() - ellipsis.size()), 0), 0u) << shown;
    EXPECT_EQ(well().restingLabel(), title);

    // Edited, the field holds the whole address; at rest again, the cut label.
    window().context().chrome().focusLocation();
    ASSERT_TRUE(waitUntil([&] { return fieldText() == "http://long.example/"; }, 5s)) << fieldText();
    gtk_widget_grab_focus(GTK_WIDGET(tab().view()));
    ASSERT_TRUE(waitUntil([&] { return fieldText() == shown; }, 5s)) << fieldText();

    // Out of stealth the resting label is the address's, whole.
    app().actions().activate("toggleStealth");
    EXPECT_TRUE(waitUntil([&] { return fieldText() == well().restingLabel(); }, 5s)) << fieldText();
    EXPECT_EQ(fieldText().find(ellipsis), std::string::npos);
}

TEST_F(ChromeTest, thePillsCloseBoxClosesTheCurrentTab) {
    app().actions().activate("newTab");
    app().actions().activate("newTab");
    ASSERT_EQ(window().context().tabs().all().size(), 3u);
    Tab* closing = window().context().tabs().currentTab();
    app().actions().activate("toggleStealth");
    ASSERT_TRUE(nextFrame());
    auto box = well().closeHitArea();
    Point centre{box.midX(), box.midY()};

    // The box shows while the pointer is over the well; pressed and dragged away, nothing closes.
    auto command = moveTo(well().widget(), centre);
    ASSERT_TRUE(keys(command));
    ASSERT_TRUE(waitUntil([&] { return well().showsKill(); }, 5s));
    command.insert(command.end(), {"mousedown", "1"});
    ASSERT_TRUE(keys(command));
    EXPECT_TRUE(well().pressedKill());
    auto away = moveTo(well().widget(), {centre.x + 60, centre.y});
    away.insert(away.end(), {"mouseup", "1"});
    ASSERT_TRUE(keys(away));
    EXPECT_FALSE(well().pressedKill());
    EXPECT_EQ(window().context().tabs().all().size(), 3u);

    ASSERT_TRUE(click(well().widget(), centre));
    ASSERT_TRUE(waitUntil([&] { return window().context().tabs().all().size() == 2; }, 5s));
    for (const auto& left : window().context().tabs().all())
        EXPECT_NE(left.get(), closing);
}

// ------------------------------------------------------------------------------------------------
// Site icons

TEST_F(ChromeTest, tabsAndTheWellShowTheSitesIcons) {
    serveIcon("browse.example", "/favicon.ico", 220, 40, 40);
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
    window().context().tabs().select(0);
    EXPECT_EQ(well().icon(), icon);
}

TEST_F(ChromeTest, aTabClosedBeforeItsIconArrivesIsLeftAlone) {
    m_proxy.answer("late.example", "/favicon.ico", solidPng(40, 200, 40), 800ms, "image/png");
    m_proxy.answer("late.example", "/", "<title>Late</title><p>late</p>");
    app().actions().activate("newTab");
    ASSERT_TRUE(visit("http://late.example/"));
    window().context().tabs().closeCurrent();
    ASSERT_EQ(window().context().tabs().all().size(), 1u);
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

// A site's icon: a rounded square of its colour with its initial.
std::string letterIcon(char letter, double r, double g, double b) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 32, 32);
    cairo_t* cr = cairo_create(surface);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 25, 7, 7, -G_PI / 2, 0);
    cairo_arc(cr, 25, 25, 7, 0, G_PI / 2);
    cairo_arc(cr, 7, 25, 7, G_PI / 2, G_PI);
    cairo_arc(cr, 7, 7, 7, G_PI, 3 * G_PI / 2);
    cairo_close_path(cr);
    cairo_set_source_rgb(cr, r, g, b);
    cairo_fill(cr);
    cairo_select_font_face(cr, "Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, 20);
    char text[2] = {letter, 0};
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text, &extents);
    cairo_move_to(cr, 16 - extents.width / 2 - extents.x_bearing,
                  16 - extents.height / 2 - extents.y_bearing);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_show_text(cr, text);
    cairo_destroy(cr);
    std::string png;
    cairo_surface_write_to_png_stream(
        surface,
        +[](void* closure, const unsigned char* data, unsigned int length) {
            static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
            return CAIRO_STATUS_SUCCESS;
        },
        &png);
    cairo_surface_destroy(surface);
    return png;
}

struct Site {
    const char* host;
    const char* title;
    char letter;
    double r, g, b;
};

const Site sites[] = {
    {"arctic.example", "Arctic Notes", 'A', 0.16, 0.47, 0.86},
    {"bakery.example", "The Corner Bakery — Bread and Pastries", 'B', 0.85, 0.55, 0.16},
    {"cinema.example", "Cinema Listings", 'C', 0.78, 0.22, 0.28},
    {"dune.example", "Dune Ecology Society", 'D', 0.55, 0.45, 0.25},
    {"elm.example", "Elm Street Library", 'E', 0.2, 0.6, 0.35},
};

class ChromeScreenshots : public ChromeTest {
protected:
    void configure() override {
        seed([](Preferences& stored) {
            History::recordVisit(stored, "https://www.example.org/reading/list", "Reading list",
                                 Date{1'700'000'000});
            const char* names[] = {"Morning paper",
                                   "Weather",
                                   "Arctic Notes",
                                   "The Corner Bakery",
                                   "Library catalogue",
                                   "Timetables",
                                   "Recipes worth keeping",
                                   "Maps",
                                   "A very long bookmark name that goes on",
                                   "Letters",
                                   "Garden"};
            int k = 0;
            for (const char* name : names)
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
            m_proxy.answer(site.host, "/favicon.ico", letterIcon(site.letter, site.r, site.g, site.b), {},
                           "image/png");
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
        std::string id = std::to_string(gdk_x11_surface_get_xid(surface));
        char* geometry = nullptr;
        std::string command = "xdotool getwindowgeometry --shell " + id;
        ASSERT_TRUE(g_spawn_command_line_sync(command.c_str(), &geometry, nullptr, nullptr, nullptr));
        std::map<std::string, std::string> values;
        for (auto line : text::split(geometry ? geometry : "", '\n')) {
            auto equals = line.find('=');
            if (equals != std::string_view::npos)
                values[std::string(line.substr(0, equals))] = std::string(line.substr(equals + 1));
        }
        g_free(geometry);
        std::string crop = values["WIDTH"] + "x" + values["HEIGHT"] + "+" + values["X"] + "+" + values["Y"];
        std::string file = (m_out / (name + ".png")).string();
        std::string capture = "import -window root -crop " + crop + " +repage " + file;
        int status = 0;
        ASSERT_TRUE(g_spawn_command_line_sync(capture.c_str(), nullptr, nullptr, &status, nullptr));
        EXPECT_TRUE(g_spawn_check_wait_status(status, nullptr)) << capture;
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

    void hover(GtkWidget* widget, Point point) { ASSERT_TRUE(keys(moveTo(widget, point))); }

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
    window().context().tabs().select(2);
    auto second = window().context().chrome().strip().frame(1);
    ASSERT_TRUE(second);
    hover(window().context().chrome().strip().widget(), {second->x + 40, second->midY()});
    shot("tabs-five-hovered");

    // The location field at rest, and while a completion is offered.
    hover(window().context().chrome().strip().widget(), {500, 400});
    gtk_widget_grab_focus(GTK_WIDGET(tab().view()));
    shot("location-rest");
    window().context().chrome().focusLocation();
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
    ASSERT_TRUE(click(buttons[1], {10, 10}, 3));
    shot("personal-toolbar-button-menu");
    press("Escape");

    // Stealth on and off.
    app().actions().activate("toggleStealth");
    hover(window().context().chrome().strip().widget(), {500, 400});
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
    ASSERT_TRUE(click(personal.widget(), {gtk_widget_get_width(personal.widget()) - 60.0, 12}, 3));
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
