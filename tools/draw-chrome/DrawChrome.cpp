// The browser window in its states drawn to PNG for a person to look at (tools/screenshots): five
// tabs with one hovered, the location field at rest and completing, the personal toolbar with more
// bookmarks than fit and its menus, stealth on and off, three widths, English and French, a page on its
// way. It drives the real application the way the chrome's tests do. Run it through tools/screenshots,
// which sets NIMB_SCREENSHOTS to the directory to write into.

#include "Screenshots.h"

namespace nimb::test {
namespace {

TEST_F(ChromeScreenshots, draw) {
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
