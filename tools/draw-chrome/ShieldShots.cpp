// The shield in its states, for a person to look at: blocking off, on with nothing blocked, a count
// at no heat, some heat and full heat, hovered, held down, pulsing, and in the pill of stealth.

#include "Screenshots.h"

#include "chrome/ShieldView.h"

namespace nimb::test {
namespace {

TEST_F(ChromeScreenshots, shield) {
    ASSERT_TRUE(resize(1000));
    openSites(1);
    ShieldView& shield = chrome().shield();
    GtkWidget* widget = shield.widget();
    auto show = [&](bool isOn, std::int64_t count, double heat) {
        chrome().setShield({isOn, count, heat});
        shield.stop();
    };

    hover(controller().strip().widget(), {500, 400});
    show(false, 0, 0);
    shot("shield-off");
    show(true, 0, 0);
    shot("shield-on");
    show(true, 3, 0);
    shot("shield-count-heat-0");
    show(true, 3, 0.4);
    shot("shield-count-heat-0.4");
    show(true, 3, 1);
    shot("shield-count-heat-1");

    hover(widget, {16, 16});
    EXPECT_TRUE(waitUntil([&] { return tooltipShown(); }, 5s));
    shot("shield-hovered");
    ASSERT_TRUE(pointer(widget, {16, 16}, "mousedown"));
    shot("shield-pressed");
    hover(controller().strip().widget(), {500, 400}); // let go away from the shield: nothing opens
    ASSERT_TRUE(keys({"mouseup", "1"}));

    // A pulse caught early and late on its way out (the exact moment is the screen's).
    for (double flash : {0.8, 0.45}) {
        show(true, 3, 0.4);
        chrome().setShield({true, 4, 0.4});
        waitUntil([&] { return shield.flash() < flash; }, 2s);
        shot(flash > 0.5 ? "shield-pulse-early" : "shield-pulse-late", false);
    }

    app().actions().activate("toggleStealth");
    show(true, 3, 1);
    shot("shield-pill");
    hover(widget, {15, 15});
    shot("shield-pill-hovered");
    show(false, 0, 0);
    hover(controller().strip().widget(), {500, 400});
    shot("shield-pill-off");
    app().actions().activate("toggleStealth");
}

} // namespace
} // namespace nimb::test
