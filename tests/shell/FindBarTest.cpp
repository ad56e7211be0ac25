// Find in page in the real application: the bar sliding in over the foot of the page, the tally as the
// user types and steps with the keys, the buttons and the menus, Escape hiding the bar and clearing every
// tab, the menus' enabled state, an answer that comes back for a tab no longer shown, and the tally
// worded anew in another language.

#include "ChromeTest.h"

#include "chrome/FindBarView.h"
#include "page/FindBar.h"

namespace nimb::test {
namespace {

class FindBarTest : public ChromeTest {
protected:
    void SetUp() override {
        ChromeTest::SetUp();
        std::string many;
        for (int k = 0; k < 5000; ++k)
            many += "apple ";
        m_proxy.answer("many.example", "/", "<!doctype html><title>Many</title><p>" + many + "</p>");
        m_proxy.answer("fruit.example", "/",
                       "<!doctype html><title>Fruit</title><body style='padding-bottom: 3px'>"
                       "<p>An apple.</p><p>A pear.</p><p>Another apple, and a third apple.</p>");
        m_proxy.answer("orchard.example", "/",
                       "<!doctype html><title>Orchard</title><p>Apple trees.</p><p>Apple blossom.</p>");
    }

    FindController& find() { return window().context().find(); }
    FindBarView& bar() { return *find().view(); }
    GtkEditable* findField() { return GTK_EDITABLE(bar().field()); }

    bool tallyShows(const std::string& wanted) {
        bool shown = waitUntil([&] { return bar().tally() == wanted; }, 10s);
        if (!shown) ADD_FAILURE() << "the tally shows \"" << bar().tally() << "\", not \"" << wanted << "\"";
        return shown;
    }
    static std::string of(std::int64_t index, std::int64_t count) {
        return FindBar::tally(index, count, true);
    }

    // Opens the bar and waits until it has slid all the way in.
    bool openBar() {
        app().actions().activate("findInPage");
        return find().view() && waitUntil([&] { return find().slide() == 1; }, 5s);
    }

    // The marks the find script left in a tab's page.
    std::int64_t marks(Tab& in) {
        auto count = evaluate(in, "document.querySelectorAll('nimb-found, [nimb-in]').length");
        return count && count->is_number() ? count->get<std::int64_t>() : -1;
    }
    // Which match carries the current mark, from 0; -1 for none.
    std::int64_t here(Tab& in) {
        auto index = evaluate(in, "Array.from(document.querySelectorAll('nimb-found'))"
                                  ".findIndex(function (m) { return m.hasAttribute('here'); })");
        return index && index->is_number() ? index->get<std::int64_t>() : -2;
    }

    // The menu command's enabled state, as the menus show it once validated.
    bool enabledBecomes(const char* action, bool wanted) {
        return waitUntil(
            [&] { return g_action_group_get_action_enabled(G_ACTION_GROUP(app().gtk()), action) == wanted; },
            5s);
    }
};

TEST_F(FindBarTest, theBarSlidesInCountsToTheLimitAndStepsBothWays) {
    ASSERT_TRUE(resize(1000));
    ASSERT_TRUE(visit("http://many.example/"));
    EXPECT_EQ(find().view(), nullptr) << "the bar is made when it first opens";
    EXPECT_EQ(chrome().findBar(), nullptr);

    ASSERT_TRUE(openBar());
    // It rests on the window's bottom edge over the page, which keeps its height; the status line rides on
    // it.
    ASSERT_TRUE(nextFrame());
    const auto& layout = chrome().layout();
    Rect page = frame(GTK_WIDGET(tab().view()));
    EXPECT_EQ(frame(bar().widget()), layout.findBar);
    EXPECT_EQ(layout.findBar.maxY(), page.maxY());
    EXPECT_EQ(layout.findBar.height, 64);
    EXPECT_EQ(frame(chrome().statusLine().widget()).maxY(), layout.findBar.y);
    EXPECT_TRUE(gtk_widget_has_focus(bar().field()));

    // 5,000 matches; the page script stops counting at 4,000.
    ASSERT_TRUE(typeKeys("apple"));
    ASSERT_TRUE(tallyShows(of(1, 4000)));
    EXPECT_EQ(marks(tab()), 4000);
    EXPECT_TRUE(bar().hasMatches());
    EXPECT_TRUE(bar().nextButton().enabled());

    // Return steps on, Shift-Return back, wrapping at the first match; the menus and the buttons step too.
    ASSERT_TRUE(press("Return"));
    ASSERT_TRUE(tallyShows(of(2, 4000)));
    ASSERT_TRUE(press("shift+Return"));
    ASSERT_TRUE(tallyShows(of(1, 4000)));
    ASSERT_TRUE(press("shift+Return"));
    ASSERT_TRUE(tallyShows(of(4000, 4000)));
    EXPECT_EQ(here(tab()), 3999);
    app().actions().activate("findNext");
    ASSERT_TRUE(tallyShows(of(1, 4000)));
    ASSERT_TRUE(click(bar().nextButton().widget(), 16, 16));
    ASSERT_TRUE(tallyShows(of(2, 4000)));
    ASSERT_TRUE(click(bar().previousButton().widget(), 16, 16));
    ASSERT_TRUE(tallyShows(of(1, 4000)));

    // Another language words the tally and the bar anew.
    std::string english = bar().tally();
    app().actions().activate("chooseLanguage", "fr");
    ASSERT_TRUE(tallyShows(of(1, 4000)));
    EXPECT_NE(bar().tally(), english);
    EXPECT_EQ(bar().nextButton().help(), words().findNext());
    app().actions().activate("chooseLanguage", "en");
    ASSERT_TRUE(tallyShows(of(1, 4000)));

    // Nothing found: the dim ink, no stepping.
    ASSERT_TRUE(keys({"key", "ctrl+a"}));
    ASSERT_TRUE(typeKeys("zebra"));
    ASSERT_TRUE(tallyShows(words().noMatches()));
    EXPECT_FALSE(bar().hasMatches());
    EXPECT_TRUE(gtk_widget_has_css_class(bar().field(), "no-match"));
    EXPECT_FALSE(bar().nextButton().enabled());
    EXPECT_FALSE(bar().canStep());
}

TEST_F(FindBarTest, escapeHidesTheBarClearsEveryTabTheTextComesBackSelectedAndALateAnswerIsDropped) {
    ASSERT_TRUE(resize(1000));
    ASSERT_TRUE(visit("http://fruit.example/"));
    EXPECT_TRUE(enabledBecomes("findNext", false)) << "closed";
    ASSERT_TRUE(openBar());
    EXPECT_TRUE(enabledBecomes("findNext", false)) << "open with nothing to find";
    ASSERT_TRUE(typeKeys("  "));
    EXPECT_TRUE(enabledBecomes("findPrevious", false)) << "white space is nothing to find";
    EXPECT_EQ(bar().tally(), "");
    ASSERT_TRUE(keys({"key", "BackSpace", "BackSpace"}));
    ASSERT_TRUE(typeKeys("apple"));
    ASSERT_TRUE(tallyShows(of(1, 3)));
    EXPECT_TRUE(enabledBecomes("findNext", true));
    EXPECT_TRUE(enabledBecomes("findPrevious", true));
    Tab& fruit = tab();
    EXPECT_EQ(marks(fruit), 3);

    // A page that finishes loading in a new tab is searched as it comes.
    app().actions().activate("newTab");
    ASSERT_TRUE(visit("http://orchard.example/"));
    ASSERT_TRUE(tallyShows(of(1, 2)));
    Tab& orchard = tab();
    EXPECT_EQ(marks(orchard), 2);

    // Escape while the location field is edited is the field's; in the page it hides the bar.
    ASSERT_TRUE(startEditing());
    ASSERT_TRUE(press("Escape"));
    EXPECT_TRUE(find().isOpen());
    gtk_widget_grab_focus(GTK_WIDGET(tab().view()));
    ASSERT_TRUE(press("Escape"));
    EXPECT_FALSE(find().isOpen());
    EXPECT_TRUE(enabledBecomes("findNext", false));
    EXPECT_TRUE(waitUntil([&] { return marks(fruit) == 0 && marks(orchard) == 0; }, 5s))
        << "every tab cleared";
    EXPECT_EQ(evaluate(fruit, "document.body.style.paddingBottom"), nlohmann::json("3px"));
    EXPECT_TRUE(waitUntil([&] { return !gtk_widget_get_child_visible(bar().widget()); }, 5s));
    EXPECT_EQ(find().slide(), 0);
    EXPECT_TRUE(gtk_widget_has_focus(GTK_WIDGET(tab().view())));

    // Open again: the text is kept and selected, and searched in the page now shown.
    ASSERT_TRUE(openBar());
    EXPECT_EQ(gtk_editable_get_text(findField()), std::string("apple"));
    int start = 0;
    int end = 0;
    EXPECT_TRUE(gtk_editable_get_selection_bounds(findField(), &start, &end));
    EXPECT_EQ(std::pair(start, end), std::pair(0, 5));
    ASSERT_TRUE(tallyShows(of(1, 2)));

    // A press on the bar away from its controls gives the field the focus back, its text selected.
    gtk_widget_grab_focus(GTK_WIDGET(tab().view()));
    ASSERT_TRUE(click(bar().widget(), gtk_widget_get_width(bar().widget()) - 200.0, 32));
    EXPECT_TRUE(waitUntil([&] { return gtk_widget_has_focus(bar().field()); }, 5s));
    EXPECT_TRUE(gtk_editable_get_selection_bounds(findField(), &start, &end));
    EXPECT_EQ(std::pair(start, end), std::pair(0, 5));

    // The bar's close button hides it too.
    ASSERT_TRUE(click(bar().closeButton().widget(), 16, 16));
    EXPECT_FALSE(find().isOpen());
    EXPECT_TRUE(waitUntil([&] { return marks(orchard) == 0; }, 5s));

    // An answer for a tab no longer shown is dropped. The fruit page is kept busy, so that its answer to
    // the next step comes back only after the other tab, shown meanwhile, has answered.
    tabs().select(0);
    ASSERT_TRUE(openBar());
    ASSERT_TRUE(tallyShows(of(1, 3)));
    ASSERT_TRUE(evaluate(fruit, "setTimeout(function () { var end = Date.now() + 1500;"
                                " while (Date.now() < end) {} }, 0); true"));
    app().actions().activate("findNext");
    tabs().select(1);
    ASSERT_TRUE(tallyShows(of(1, 2)));
    // Once the fruit page has stepped (its answer is back before this one), the tally still speaks of
    // the tab shown.
    EXPECT_EQ(here(fruit), 1);
    drain();
    EXPECT_EQ(bar().tally(), of(1, 2));
}

} // namespace
} // namespace nimb::test
