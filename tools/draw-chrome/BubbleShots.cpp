// The window's bubbles drawn to PNG: the report popover over a tracker-heavy page and over a quiet one,
// hung from the shield near the right of the window, from the pill near its left in stealth, and
// with the window against the screen's right edge; the list of twenty hidden tabs.

#include "Screenshots.h"

#include "chrome/ReportPopover.h"
#include "chrome/TabOverflow.h"
#include "window/TabOverflowController.h"

namespace nimb::test {
namespace {

TEST_F(ChromeScreenshots, bubbles) {
    ASSERT_TRUE(resize(1000));
    ReportRequests& reports = window().context().reports();
    auto popover = [&](const std::string& name) {
        reports.togglePopover();
        ASSERT_TRUE(waitUntil([&] { return reports.popoverVisible(); }, 10s));
        ASSERT_TRUE(waitUntil(
            [&] {
                return drawsSomethingBright(
                    gtk_popover_get_child(GTK_POPOVER(reports.popover()->bubble().popover())));
            },
            10s));
        shot(name, true, 120);
        reports.closePopover();
        ASSERT_TRUE(waitUntil([&] { return !reports.popoverVisible(); }, 5s));
    };

    ASSERT_TRUE(visit("http://news.example/recorder.html"));
    ASSERT_TRUE(waitUntil([&] { return tab().network > 0; }, 10s));
    popover("popover-trackers");
    ASSERT_TRUE(visit("http://news.example/quiet.html"));
    ASSERT_TRUE(waitUntil([&] { return status().rfind("Document: Done", 0) == 0; }, 10s));
    popover("popover-quiet");

    // Near the window's left edge: the pill of the first tab in stealth.
    ASSERT_TRUE(visit("http://news.example/recorder.html"));
    app().actions().activate("toggleStealth");
    ASSERT_TRUE(nextFrame());
    popover("popover-left-stealth");
    app().actions().activate("toggleStealth");

    // The window against the screen's right edge: the bubble keeps 8 points inside the screen.
    GdkSurface* surface = gtk_native_get_surface(GTK_NATIVE(window().window()));
    ASSERT_TRUE(
        xdotool(window(), {"windowmove", std::to_string(gdk_x11_surface_get_xid(surface)), "600", "0"}));
    ASSERT_TRUE(nextFrame());
    popover("popover-screen-edge");
    ASSERT_TRUE(
        xdotool(window(), {"windowmove", std::to_string(gdk_x11_surface_get_xid(surface)), "0", "0"}));

    // Twenty tabs the strip has no room for.
    ASSERT_TRUE(resize(480));
    openSites(5);
    auto& strip = window().context().chrome().strip();
    for (int k = 0; k < 80 && strip.layout().hiddenTabs().size() < 20; ++k)
        app().actions().activate("newTab");
    auto caret = strip.layout().caretFrame();
    ASSERT_TRUE(caret);
    ASSERT_TRUE(click(strip.widget(), caret->midX(), caret->midY()));
    ASSERT_TRUE(waitUntil([&] { return window().context().overflow().isVisible(); }, 5s));
    ASSERT_TRUE(press("Down"));
    shot("overflow-twenty", false, 460);
    ASSERT_TRUE(press("Escape"));
}

} // namespace
} // namespace nimb::test
