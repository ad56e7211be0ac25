// The two bubbles of the window in the real application: the report popover under the shield, whose
// links the window follows, and the list of hidden tabs under the strip's caret, with every way each
// closes.

#include "ChromeTest.h"

#include "chrome/ReportPopover.h"
#include "chrome/TabOverflow.h"
#include "window/TabOverflowController.h"

namespace nimb::test {
namespace {

class BubbleTest : public ChromeTest {
protected:
    ReportRequests& reports() { return window().context().reports(); }
    TabOverflowController& overflow() { return window().context().overflow(); }
    TabStripView& strip() { return controller().strip(); }

    // The shield pressed and released, as the user does.
    bool clickShield() {
        GtkWidget* shield = chrome().shieldWidget();
        return click(shield, gtk_widget_get_width(shield) / 2.0, gtk_widget_get_height(shield) / 2.0);
    }
    // Shown, with its page painted (the report's white heading on the screen).
    bool popoverShown() {
        return waitUntil([&] { return reports().popoverVisible(); }, 10s) &&
               waitUntil(
                   [&] {
                       return drawsSomethingBright(
                           gtk_popover_get_child(GTK_POPOVER(reports().popover()->bubble().popover())));
                   },
                   10s);
    }
    // After input that should have closed the bubble: closed, and still closed a few frames on (a
    // bubble closed on the press and opened again on the release would show by then).
    bool staysClosed(const std::function<bool()>& visible) {
        if (!waitUntil([&] { return !visible(); }, 5s)) return false;
        for (int k = 0; k < 3; ++k)
            if (!nextFrame() || visible()) return false;
        return true;
    }

    // The widget's surface has drawn a frame since this call.
    bool painted(GtkWidget* widget) {
        GdkFrameClock* clock = gtk_widget_get_frame_clock(widget);
        if (!clock) return false;
        bool done = false;
        auto after =
            glib::connect<void(GdkFrameClock*)>(clock, "after-paint", [&](GdkFrameClock*) { done = true; });
        gtk_widget_queue_draw(widget);
        gdk_frame_clock_request_phase(clock, GDK_FRAME_CLOCK_PHASE_PAINT);
        return waitUntil([&] { return done; }, 5s);
    }

    bool clickCaret() {
        auto caret = strip().layout().caretFrame();
        if (!caret) return false;
        return click(strip().widget(), caret->midX(), caret->midY());
    }
    // Enough tabs for `hidden` of them to find no room in a narrow window.
    void hideTabs(std::size_t hidden) {
        ASSERT_TRUE(resize(480));
        for (int k = 0; k < 80 && strip().layout().hiddenTabs().size() < hidden; ++k)
            tabs().add(true);
        ASSERT_EQ(strip().layout().hiddenTabs().size(), hidden);
        ASSERT_TRUE(nextFrame());
    }
};

TEST_F(BubbleTest, theOverflowListsTwentyHiddenTabsAndPicksOneByPointerOrKeys) {
    hideTabs(20);
    auto hidden = strip().layout().hiddenTabs();
    GtkWidget* focused = gtk_root_get_focus(GTK_ROOT(window().window()));

    ASSERT_TRUE(clickCaret());
    ASSERT_TRUE(waitUntil([&] { return overflow().isVisible(); }, 5s));
    TabOverflow& list = *overflow().view();
    ASSERT_EQ(list.items().size(), 20u);
    EXPECT_EQ(list.items().front().index, hidden.front());
    EXPECT_EQ(list.wanted().height, 20 * 36 + 16);
    EXPECT_EQ(list.bubble().placement().content.height, 460);
    ASSERT_TRUE(nextFrame());
    EXPECT_EQ(gtk_widget_get_height(
                  gtk_widget_get_first_child(gtk_popover_get_child(GTK_POPOVER(list.bubble().popover())))),
              460);

    // The keys: the list has the keyboard; Down and Return pick the second row, and the keyboard goes
    // back where it was.
    ASSERT_TRUE(press("Down"));
    ASSERT_TRUE(press("Return"));
    ASSERT_TRUE(waitUntil([&] { return tabs().current() == hidden[1]; }, 5s));
    EXPECT_FALSE(overflow().isVisible());

    // The caret closes the list it opened, and does not open it again on the release.
    hidden = strip().layout().hiddenTabs();
    ASSERT_TRUE(clickCaret());
    ASSERT_TRUE(waitUntil([&] { return overflow().isVisible(); }, 5s));
    ASSERT_TRUE(clickCaret());
    EXPECT_TRUE(staysClosed([&] { return overflow().isVisible(); }));

    // Escape closes it and gives the keyboard back.
    focused = gtk_root_get_focus(GTK_ROOT(window().window()));
    ASSERT_TRUE(clickCaret());
    ASSERT_TRUE(waitUntil([&] { return overflow().isVisible(); }, 5s));
    ASSERT_TRUE(press("Escape"));
    EXPECT_TRUE(staysClosed([&] { return overflow().isVisible(); }));
    EXPECT_EQ(gtk_root_get_focus(GTK_ROOT(window().window())), focused);

    // A row pressed and released with the pointer, once the bubble's own surface is on the screen.
    ASSERT_TRUE(clickCaret());
    ASSERT_TRUE(waitUntil([&] { return overflow().isVisible(); }, 5s));
    GtkWidget* bubble = overflow().view()->bubble().popover();
    ASSERT_TRUE(waitUntil(
        [&] {
            GdkSurface* surface = gtk_native_get_surface(GTK_NATIVE(bubble));
            return surface && gdk_surface_get_mapped(surface);
        },
        5s));
    ASSERT_TRUE(painted(bubble));
    std::int64_t third = overflow().view()->items()[2].index;
    GtkListBoxRow* row = gtk_list_box_get_row_at_index(overflow().view()->list(), 2);
    ASSERT_TRUE(clickOnArrival(GTK_WIDGET(row), 40, 18));
    ASSERT_TRUE(waitUntil([&] { return tabs().current() == third; }, 5s));
    EXPECT_FALSE(overflow().isVisible());
}

TEST_F(BubbleTest, thePopoverShowsThePanelReportHandsItsLinksToTheWindowAndEveryDismissalClosesIt) {
    ASSERT_TRUE(visit(fixture));
    ASSERT_TRUE(waitForStatus("Document: Done  \u2014  2 blocked"));

    ASSERT_TRUE(clickShield());
    ASSERT_TRUE(popoverShown());
    ReportPopover& popover = *reports().popover();
    EXPECT_EQ(popover.bubble().placement().content, (Rect{0, 13, 380, 470}));
    EXPECT_EQ(gtk_widget_get_width(GTK_WIDGET(popover.web())), 380);
    EXPECT_EQ(gtk_widget_get_height(GTK_WIDGET(popover.web())), 470);
    EXPECT_EQ(webkit_web_view_get_uri(popover.web()), std::string("about:blank"));
    // The arrow points at the shield's centre.
    graphene_rect_t shield;
    ASSERT_TRUE(gtk_widget_compute_bounds(chrome().shieldWidget(), chrome().root(), &shield));
    auto arrow = popover.bubble().placement();
    EXPECT_NEAR(arrow.frame.x + arrow.arrowX, shield.origin.x + shield.size.width / 2, 1.0);

    // The shield closes what it opened, and the release does not open it again.
    ASSERT_TRUE(clickShield());
    EXPECT_TRUE(staysClosed([&] { return reports().popoverVisible(); }));

    auto follow = [&](const std::string& href) {
        std::string script = "var a = document.createElement('a'); a.href = " + nlohmann::json(href).dump() +
                             "; document.body.append(a); a.click(); true";
        webkit_web_view_evaluate_javascript(reports().popover()->web(), script.c_str(), -1, nullptr, nullptr,
                                            nullptr, nullptr, nullptr);
    };

    // Links in the popover are handed to the window. A report action acts in the current tab: the full
    // report.
    ASSERT_TRUE(clickShield());
    ASSERT_TRUE(popoverShown());
    follow(ReportAction::details().href());
    ASSERT_TRUE(waitUntil([&] { return tab().localPage == std::string(LocationBar::aboutReport); }, 10s));
    EXPECT_FALSE(reports().popoverVisible());
    EXPECT_EQ(tabs().size(), 1u);

    // A web address opens in a new tab in front; another internal address is not the panel's to ask
    // for and opens nothing.
    ASSERT_TRUE(visit(fixture));
    ASSERT_TRUE(clickShield());
    ASSERT_TRUE(popoverShown());
    follow("nimb://bookmark?remove=http%3A%2F%2Fbrowse.example%2F");
    ASSERT_TRUE(staysClosed([&] { return reports().popoverVisible(); }));
    EXPECT_EQ(tabs().size(), 1u);
    ASSERT_TRUE(clickShield());
    ASSERT_TRUE(popoverShown());
    follow(second);
    ASSERT_TRUE(waitUntil([&] { return tabs().size() == 2u && tabs().current() == 1; }, 5s));
    ASSERT_TRUE(waitForLoad(tab()));
    EXPECT_EQ(tab().viewAddress(), second);

    // The tab closed while its page is still answering: no popover comes of the answer.
    reports().togglePopover();
    tabs().close(tabs().current());
    EXPECT_TRUE(staysClosed([&] { return reports().popoverVisible(); }));

    // A press elsewhere in the window; Escape; the window resizing.
    const std::pair<const char*, std::function<bool()>> dismissals[] = {
        {"press elsewhere", [&] { return click(GTK_WIDGET(tab().view()), 200, 200); }},
        {"Escape", [&] { return press("Escape"); }},
        {"resize", [&] { return resize(900); }},
    };
    for (const auto& [how, dismiss] : dismissals) {
        ASSERT_TRUE(clickShield()) << how;
        ASSERT_TRUE(popoverShown()) << how;
        ASSERT_TRUE(dismiss()) << how;
        EXPECT_TRUE(staysClosed([&] { return reports().popoverVisible(); })) << how;
    }

    // The window losing the focus to another one; and a window closed with its popover open.
    ASSERT_TRUE(clickShield());
    ASSERT_TRUE(popoverShown());
    app().actions().activate("newWindow");
    ASSERT_TRUE(waitUntil([&] { return app().windows().size() == 2; }, 5s));
    EXPECT_TRUE(waitUntil([&] { return !window(0).context().reports().popoverVisible(); }, 5s));
    auto& other = window(1);
    ASSERT_TRUE(visit(fixture, &other));
    other.context().reports().togglePopover();
    ASSERT_TRUE(waitUntil([&] { return other.context().reports().popoverVisible(); }, 10s));
    other.performClose();
    ASSERT_TRUE(waitUntil([&] { return app().windows().size() == 1; }, 5s));
}

} // namespace
} // namespace nimb::test
