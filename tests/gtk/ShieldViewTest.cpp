// The shield in the location well on a real (virtual) screen: its pulse, what the pointer does to it,
// and in the pill, which presses are the shield's and which the well's; and the colour of heat.

#include "chrome/ShieldView.h"
#include "MainLoop.h"
#include "chrome/Drawing.h"
#include "chrome/LocationWell.h"
#include "glib/Connection.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <array>
#include <chrono>
#include <cmath>

namespace nimb {
namespace {

using namespace std::chrono_literals;
using test::waitUntil;
using Point = ShieldView::Point;

TEST(ShieldPulseTest, fadesInThirtyFramesAndARiseRestartsItWithoutASecondTimer) {
    ShieldPulse pulse;
    EXPECT_TRUE(pulse.rise()); // the caller starts its timer
    for (int k = 0; k < 10; ++k)
        ASSERT_TRUE(pulse.advance());
    EXPECT_NEAR(pulse.growth(), 1 - (4.0 / 9), 1e-9); // 1 - flash², at two thirds strength

    // A rise during the pulse: full strength again, on the timer it has.
    EXPECT_FALSE(pulse.rise());
    EXPECT_EQ(pulse.flash(), 1);
    int frames = 1;
    while (pulse.advance())
        ++frames;
    EXPECT_EQ(frames, 30); // half a second at sixty frames a second
    EXPECT_EQ(pulse.flash(), 0);
}

TEST(ShieldPulseTest, heatRunsFromTheNormalInkThroughYellowToRed) {
    auto rgb = [](const GdkRGBA& c) { return std::array{c.red, c.green, c.blue, c.alpha}; };
    for (double cold : {0.0, 0.001, -3.0, std::nan("")})
        EXPECT_EQ(rgb(Glyphs::heatColour(cold)), rgb(Drawing::Colours::ink)) << cold;
    for (double hot : {1.0, 7.0})
        EXPECT_EQ(rgb(Glyphs::heatColour(hot)), (std::array{1.0f, 0.0f, 0.0f, 1.0f})) << hot;
    // The first trace of heat is a yellow (full red, most of the green), an orange by 0.4.
    GdkRGBA trace = Glyphs::heatColour(0.0011);
    GdkRGBA warm = Glyphs::heatColour(0.4);
    EXPECT_NEAR(trace.green, 0.912, 1e-3);
    EXPECT_LT(warm.green, trace.green);
    EXPECT_GT(warm.green, warm.blue);
}

// A location well 400 by 32 in a window of its own, its shield at the right end.
class ShieldViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!gtk_init_check()) GTEST_SKIP() << "no display: run under tools/run-headless";
        m_window = GTK_WINDOW(gtk_window_new());
        gtk_window_set_decorated(m_window, FALSE);
        gtk_window_set_default_size(m_window, 400, 32);
        m_well = LocationWell::create();
        gtk_window_set_child(m_window, m_well);
        gtk_window_present(m_window);
        ASSERT_TRUE(waitUntil([&] { return gtk_widget_get_width(shield().widget()) == 32; }, 5s));
        m_clicks = shield().onClick.connect([this] { ++m_clicked; });
    }

    void TearDown() override {
        if (m_window) gtk_window_destroy(m_window);
    }

    ShieldView& shield() { return LocationWell::of(m_well).shield(); }
    void look(std::int64_t count) { shield().setLook({true, count, 0.5}); }
    // The widget the pointer would land on at a point of the shield.
    GtkWidget* pickedAt(Point point) {
        graphene_point_t in = GRAPHENE_POINT_INIT(static_cast<float>(point.x), static_cast<float>(point.y));
        graphene_point_t out;
        EXPECT_TRUE(gtk_widget_compute_point(shield().widget(), m_well, &in, &out));
        return gtk_widget_pick(m_well, out.x, out.y, GTK_PICK_DEFAULT);
    }

    GtkWindow* m_window = nullptr;
    GtkWidget* m_well = nullptr;
    glib::Connection m_clicks;
    int m_clicked = 0;
};

TEST_F(ShieldViewTest, aRisingCountPulsesAndAFallingOneStopsThePulse) {
    look(1);
    EXPECT_EQ(shield().flash(), 1);
    ASSERT_TRUE(waitUntil([&] { return shield().flash() < 0.9; }, 2s));
    // A second rise restarts it at full strength; it runs out by itself.
    look(3);
    EXPECT_EQ(shield().flash(), 1);
    ASSERT_TRUE(waitUntil([&] { return !shield().pulsing(); }, 3s));
    EXPECT_EQ(shield().flash(), 0);
    // Heat alone does not pulse; a fall stops a pulse at once.
    shield().setLook({true, 3, 0.9});
    EXPECT_FALSE(shield().pulsing());
    look(4);
    look(0);
    EXPECT_FALSE(shield().pulsing());
    EXPECT_EQ(shield().flash(), 0);
}

TEST_F(ShieldViewTest, isAButtonThatActsOnReleaseWithThePointerStillOnIt) {
    EXPECT_EQ(gtk_accessible_get_accessible_role(GTK_ACCESSIBLE(shield().widget())),
              GTK_ACCESSIBLE_ROLE_BUTTON);
    shield().mouseDown({16, 16});
    EXPECT_EQ(m_clicked, 0);
    shield().mouseUp({20, 10});
    EXPECT_EQ(m_clicked, 1);
    shield().mouseDown({16, 16});
    shield().mouseUp({40, 16}); // dragged off before letting go
    shield().mouseUp({16, 16}); // a release with no press before it
    EXPECT_EQ(m_clicked, 1);
    EXPECT_FALSE(shield().pressed());
}

TEST_F(ShieldViewTest, inThePillOnlyTheCircleIsTheShields) {
    Point corner{2, 2};
    EXPECT_EQ(pickedAt(corner), shield().widget());
    shield().setInPill(true);
    EXPECT_EQ(pickedAt({16, 1}), shield().widget());
    // Beside the circle the press is the well's.
    EXPECT_EQ(pickedAt(corner), m_well);
    EXPECT_EQ(pickedAt({30, 30}), m_well);
}

} // namespace
} // namespace nimb
