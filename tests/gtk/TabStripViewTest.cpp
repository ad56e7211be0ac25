// The tab strip widget on a real (virtual) screen: that it feeds and draws the layout, and what
// pointer events turn into for the window. Where things stand is the layout's own tests' business.

#include "chrome/TabStripView.h"
#include "MainLoop.h"
#include "chrome/Drawing.h"
#include "glib/GRefPtr.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <array>
#include <chrono>
#include <string>
#include <vector>

namespace nimb {
namespace {

using Rect = TabStrip::Rect;
using Point = TabStrip::Point;
using Events = std::vector<std::string>;

using namespace std::chrono_literals;
using test::waitUntil;

constexpr int stripWidth = 1000;

// A texture of one colour, standing in for a site's icon.
glib::GRefPtr<GdkTexture> solidIcon(std::array<guint8, 4> rgba, int size = 32) {
    std::vector<guint8> pixels;
    for (int k = 0; k < size * size; ++k)
        pixels.insert(pixels.end(), rgba.begin(), rgba.end());
    auto bytes = glib::adoptGRef(g_bytes_new(pixels.data(), pixels.size()));
    return glib::adoptGRef(
        gdk_memory_texture_new(size, size, GDK_MEMORY_R8G8B8A8, bytes.get(), static_cast<gsize>(size) * 4));
}

// A rendering of the strip, read back pixel by pixel.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<guint8> bgra; // premultiplied, as GDK hands textures out
    glib::GRefPtr<GdkTexture> texture;

    std::array<int, 3> at(double x, double y) const {
        auto offset =
            (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 4;
        return {bgra[offset + 2], bgra[offset + 1], bgra[offset]};
    }
    // Pixels in a rectangle brighter than `level` in every channel.
    int brightIn(const Rect& area, int level) const {
        int count = 0;
        for (int y = static_cast<int>(area.minY()); y < static_cast<int>(area.maxY()); ++y)
            for (int x = static_cast<int>(area.minX()); x < static_cast<int>(area.maxX()); ++x) {
                auto [r, g, b] = at(x, y);
                if (r > level && g > level && b > level) ++count;
            }
        return count;
    }
};

std::array<int, 3> rgb(const GdkRGBA& colour) {
    auto channel = [](float value) { return static_cast<int>(std::lround(value * 255)); };
    return {channel(colour.red), channel(colour.green), channel(colour.blue)};
}

class TabStripViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!gtk_init_check()) GTEST_SKIP() << "no display: run under tools/run-headless";
        m_window = GTK_WINDOW(gtk_window_new());
        gtk_window_set_decorated(m_window, FALSE);
        gtk_window_set_default_size(m_window, stripWidth, static_cast<int>(TabStrip::height));
        m_strip = TabStripView::create();
        gtk_window_set_child(m_window, m_strip);
        gtk_window_present(m_window);
        ASSERT_TRUE(waitUntil(
            [&] { return gtk_widget_get_width(m_strip) == stripWidth && gtk_widget_get_mapped(m_strip); },
            5s));

        view().setInsets(78, 8);
        view().setLabels(
            {"Example Domain", "A much longer title that has to be cut short somewhere", "Home"});
        view().setCurrent(1);
        m_hooks.push_back(input().onSelect.connect(
            [this](std::int64_t index) { m_events.push_back("select " + std::to_string(index)); }));
        m_hooks.push_back(input().onClose.connect(
            [this](std::int64_t index) { m_events.push_back("close " + std::to_string(index)); }));
        m_hooks.push_back(input().onNew.connect([this] { m_events.push_back("new"); }));
        m_hooks.push_back(input().performWindowDrag.connect([this] { m_events.push_back("drag"); }));
    }

    void TearDown() override {
        if (m_window) gtk_window_destroy(m_window);
    }

    TabStripView& view() { return TabStripView::of(m_strip); }
    TabStripInput& input() { return view().input(); }

    static Point centreOf(const Rect& rect) { return {rect.midX(), rect.midY()}; }

    // As many tabs as asked, the current one given; or in stealth, beside the window's buttons.
    void tabs(int count, std::int64_t current) {
        std::vector<std::string> labels;
        for (int k = 0; k < count; ++k)
            labels.push_back("Tab " + std::to_string(k));
        view().setLabels(labels);
        view().setCurrent(current);
    }
    void stealth() {
        view().setInsets(78 + 90 + 8, 8);
        view().setGapAfterCurrent(36);
        view().setStealth(true);
    }

    // Moves the pointer over a point, then presses and releases the primary button there.
    void click(Point point, int count = 1) {
        input().hover(point);
        input().mouseDown(point, count);
        input().mouseUp(point);
    }

    Events takeEvents() { return std::exchange(m_events, {}); }

    // The strip as it now stands, drawn in a frame and read back.
    Picture render() {
        gtk_widget_queue_draw(m_strip);
        bool painted = false;
        GdkFrameClock* clock = gtk_widget_get_frame_clock(m_strip);
        gulong handler = g_signal_connect_swapped(clock, "after-paint",
                                                  G_CALLBACK(+[](bool* flag) { *flag = true; }), &painted);
        EXPECT_TRUE(waitUntil([&] { return painted; }, 5s));
        g_signal_handler_disconnect(clock, handler);
        Picture picture;
        auto paintable = glib::adoptGRef(gtk_widget_paintable_new(m_strip));
        GtkSnapshot* snapshot = gtk_snapshot_new();
        gdk_paintable_snapshot(paintable.get(), snapshot, stripWidth, TabStrip::height);
        GskRenderNode* node = gtk_snapshot_free_to_node(snapshot);
        if (!node) return picture;
        GskRenderer* renderer = gtk_native_get_renderer(GTK_NATIVE(m_window));
        graphene_rect_t viewport = GRAPHENE_RECT_INIT(0, 0, stripWidth, static_cast<float>(TabStrip::height));
        picture.texture = glib::adoptGRef(gsk_renderer_render_texture(renderer, node, &viewport));
        gsk_render_node_unref(node);
        picture.width = gdk_texture_get_width(picture.texture.get());
        picture.height = gdk_texture_get_height(picture.texture.get());
        picture.bgra.resize(static_cast<std::size_t>(picture.width * picture.height * 4));
        gdk_texture_download(picture.texture.get(), picture.bgra.data(),
                             static_cast<gsize>(picture.width) * 4);
        return picture;
    }

    GtkWindow* m_window = nullptr;
    GtkWidget* m_strip = nullptr;
    std::vector<std::string> m_events;
    std::vector<glib::Connection> m_hooks;
};

// The one check of the widget's geometry: the rest of the layout is the layout's own tests'.
TEST_F(TabStripViewTest, isAsTallAsTheStripAndFeedsItsWidthToTheLayout) {
    int minimum = -1, natural = -1;
    gtk_widget_measure(m_strip, GTK_ORIENTATION_VERTICAL, -1, &minimum, &natural, nullptr, nullptr);
    EXPECT_EQ(std::pair(minimum, natural), std::pair(38, 38));
    // It never holds the window wider than the window wants to be.
    gtk_widget_measure(m_strip, GTK_ORIENTATION_HORIZONTAL, -1, &minimum, &natural, nullptr, nullptr);
    EXPECT_EQ(minimum, 0);
    EXPECT_EQ(view().layout().width, stripWidth);
    EXPECT_EQ(view().layout().frame(0), (Rect{78, 0, 220, 38}));
}

TEST_F(TabStripViewTest, chromeTypefaceIsFiraSans) {
    std::string regular = Drawing::defaultFontsDirectory() + "/FiraSans-Regular.ttf";
    if (!g_file_test(regular.c_str(), G_FILE_TEST_EXISTS)) GTEST_SKIP() << "the fonts were not fetched";
    EXPECT_EQ(Drawing::family(), "Fira Sans");

    PangoContext* context = gtk_widget_get_pango_context(m_strip);
    for (bool medium : {false, true}) {
        auto description = Drawing::font(12, medium);
        auto loaded = glib::adoptGRef(pango_context_load_font(context, description.get()));
        ASSERT_TRUE(loaded);
        PangoFontDescription* got = pango_font_describe(loaded.get());
        EXPECT_STREQ(pango_font_description_get_family(got), "Fira Sans");
        EXPECT_EQ(pango_font_description_get_weight(got), medium ? PANGO_WEIGHT_MEDIUM : PANGO_WEIGHT_NORMAL);
        pango_font_description_free(got);
    }
    // Twelve points are twelve pixels: a line of it is about 15 high, not the 20 of 12pt at 96 dpi.
    auto layout = glib::adoptGRef(gtk_widget_create_pango_layout(m_strip, "Example"));
    pango_layout_set_font_description(layout.get(), Drawing::font(12).get());
    int height = 0;
    pango_layout_get_pixel_size(layout.get(), nullptr, &height);
    EXPECT_TRUE(height >= 13 && height <= 17) << height;
}

TEST_F(TabStripViewTest, pressesOnTabsSelectAndTheirCloseBoxesClose) {
    Rect first = *view().layout().frame(0);
    Point onSecond{view().layout().frame(1)->x + 150, 20};

    // A press anywhere on a tab but its close box selects it at once.
    input().hover(onSecond);
    input().mouseDown(onSecond, 1);
    EXPECT_EQ(takeEvents(), (Events{"select 1"}));
    input().mouseUp(onSecond);
    EXPECT_TRUE(takeEvents().empty());

    // A press on the hovered tab's close box waits for the release.
    Point onBox = centreOf(view().layout().closeHitArea(first));
    EXPECT_TRUE(input().hover(onBox));
    input().mouseDown(onBox, 1);
    EXPECT_TRUE(takeEvents().empty());
    input().mouseUp({onBox.x + 3, onBox.y - 3});
    EXPECT_EQ(takeEvents(), (Events{"close 0"}));

    // Pressed on the box but released elsewhere: nothing, and the press is forgotten.
    input().hover(onBox);
    input().mouseDown(onBox, 1);
    input().mouseUp({first.midX(), 20});
    EXPECT_TRUE(takeEvents().empty());
    EXPECT_EQ(input().pointer().pressedClose(), std::nullopt);

    // A press on the box with no motion before it (the first event in a window) still finds it.
    input().mouseExited();
    input().mouseDown(onBox, 1);
    input().mouseUp(onBox);
    EXPECT_EQ(takeEvents(), (Events{"close 0"}));

    // The middle button closes the tab under the pointer.
    input().otherMouseUp(centreOf(*view().layout().frame(2)), 2);
    EXPECT_EQ(takeEvents(), (Events{"close 2"}));
    // Another button, or the empty strip, closes nothing.
    input().otherMouseUp(centreOf(*view().layout().frame(2)), 3);
    input().otherMouseUp({900, 20}, 2);
    EXPECT_TRUE(takeEvents().empty());
}

TEST_F(TabStripViewTest, emptyStripAndNewTabBox) {
    // The new-tab box opens a tab with one click.
    click(centreOf(view().layout().newFrame()));
    EXPECT_EQ(takeEvents(), (Events{"new"}));

    // On the empty strip a single click does nothing by itself, a double click opens a tab...
    Point empty{900, 20};
    click(empty, 1);
    EXPECT_TRUE(takeEvents().empty());
    click(empty, 2);
    EXPECT_EQ(takeEvents(), (Events{"new"}));
    // ... and so does the window's own inset, which is empty strip too.
    click({30, 20}, 2);
    EXPECT_EQ(takeEvents(), (Events{"new"}));

    // A press dragged past the threshold moves the window, once.
    input().mouseDown(empty, 1);
    input().mouseDragged(empty, {empty.x + 1, empty.y});
    EXPECT_TRUE(takeEvents().empty());
    input().mouseDragged(empty, {empty.x + 40, empty.y + 5});
    input().mouseDragged(empty, {empty.x + 80, empty.y + 5});
    input().mouseUp({empty.x + 80, empty.y + 5});
    EXPECT_EQ(takeEvents(), (Events{"drag"}));
    // Dragging from a tab never moves the window.
    input().mouseDown(centreOf(*view().layout().frame(0)), 1);
    input().mouseDragged(centreOf(*view().layout().frame(0)), {700, 30});
    EXPECT_EQ(takeEvents(), (Events{"select 0"}));
}

TEST_F(TabStripViewTest, caretShowsTheHiddenTabs) {
    tabs(40, 39);
    auto caret = view().layout().caretFrame();
    ASSERT_TRUE(caret);

    // The caret selects nothing itself: it asks the window for the list of hidden tabs.
    input().mouseDown(centreOf(*caret), 1);
    EXPECT_TRUE(takeEvents().empty());

    std::optional<Rect> anchor;
    auto overflow = input().onOverflow.connect([&](const Rect& rect) { anchor = rect; });
    input().mouseExited();
    EXPECT_TRUE(input().hover(centreOf(*caret)));
    EXPECT_TRUE(input().pointer().hoveredCaret());
    input().mouseDown(centreOf(*caret), 1);
    EXPECT_EQ(anchor, caret);
    EXPECT_TRUE(takeEvents().empty());
}

TEST_F(TabStripViewTest, hoverChangesOnlyWhenSomethingElseIsUnderThePointer) {
    Rect first = *view().layout().frame(0);
    EXPECT_TRUE(input().hover({first.x + 100, 20}));
    EXPECT_FALSE(input().hover({first.x + 101, 21}));
    EXPECT_EQ(input().pointer().hovered(), 0);
    EXPECT_FALSE(input().pointer().hoveredClose());
    EXPECT_TRUE(input().hover(centreOf(view().layout().newFrame())));
    EXPECT_EQ(input().pointer().hovered(), std::nullopt);
    EXPECT_TRUE(input().pointer().hoveredNew());
    input().mouseExited();
    EXPECT_FALSE(input().pointer().hoveredNew());
    EXPECT_EQ(input().pointer().hovered(), std::nullopt);
}

TEST_F(TabStripViewTest, closingUnderThePointerLeavesTheNextCloseBoxReady) {
    // The window closes the tab and feeds the strip again from inside the callback.
    std::vector<std::string> labels = view().content().labels;
    auto closing = input().onClose.connect([&](std::int64_t index) {
        labels.erase(labels.begin() + index);
        view().setLabels(labels);
    });
    Point onBox = centreOf(view().layout().closeHitArea(*view().layout().frame(0)));
    input().hover(onBox);
    input().mouseDown(onBox, 1);
    input().mouseUp(onBox);
    ASSERT_EQ(view().content().labels.size(), 2u);
    // The tab that slid under the pointer shows its close box at once.
    EXPECT_EQ(input().pointer().hovered(), 0);
    EXPECT_TRUE(input().pointer().hoveredClose());
    input().mouseDown(onBox, 1);
    input().mouseUp(onBox);
    EXPECT_EQ(view().content().labels, (Events{"Home"}));
}

TEST_F(TabStripViewTest, stealthShowsIconsWithTheirTipsAndTheCurrentTabAsAField) {
    stealth();
    view().setTips({"Example Domain\nexample.org", "Long\nnews.example"});

    auto frames = view().layout().tabFrames();
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[1].width, 420) << "the current tab as a field";

    // Tips for the icons only: the tip given, else the label.
    auto tip = view().tooltip(centreOf(frames[0]));
    ASSERT_TRUE(tip);
    EXPECT_EQ(tip->text, "Example Domain\nexample.org");
    EXPECT_EQ(tip->area, frames[0]);
    EXPECT_EQ(view().tooltip(centreOf(frames[2]))->text, "Home");
    EXPECT_EQ(view().tooltip(centreOf(frames[1])), std::nullopt);
    EXPECT_EQ(view().tooltip({frames[1].maxX() + 20, 20}), std::nullopt);

    // The field is no tab to the pointer: a press there selects nothing.
    input().mouseDown(centreOf(frames[1]), 1);
    EXPECT_TRUE(takeEvents().empty());
    input().mouseUp(centreOf(frames[1]));

    // An icon's close badge closes it; the icon elsewhere selects it.
    Point onBadge = centreOf(view().layout().closeHitArea(frames[2]));
    input().hover(onBadge);
    EXPECT_TRUE(input().pointer().hoveredClose());
    input().mouseDown(onBadge, 1);
    input().mouseUp(onBadge);
    click({frames[0].maxX() - 3, 5});
    EXPECT_EQ(takeEvents(), (Events{"close 2", "select 0"}));

    // Out of stealth, the labels are drawn and there are no tips.
    view().setStealth(false);
    EXPECT_EQ(view().tooltip(centreOf(*view().layout().frame(0))), std::nullopt);
}

TEST_F(TabStripViewTest, drawsTheStrip) {
    view().setIcons({solidIcon({220, 40, 40, 255}), {}, solidIcon({40, 200, 90, 255})});
    view().setBottomLine(true);
    Rect first = *view().layout().frame(0);
    Rect second = *view().layout().frame(1);
    Rect third = *view().layout().frame(2);
    input().hover({third.x + 150, 20});

    Picture picture = render();
    ASSERT_EQ(picture.width, stripWidth);
    ASSERT_EQ(picture.height, 38);

    EXPECT_EQ(picture.at(30, 10), rgb(Drawing::Colours::face));
    EXPECT_EQ(picture.at(900, 37), rgb(Drawing::Colours::line));
    // The current tab stands on its raised ground, with its label drawn in front.
    EXPECT_EQ(picture.at(second.maxX() - 6, 19), rgb(Drawing::Colours::raised));
    EXPECT_GT(picture.brightIn({second.x + 36, 8, 150, 22}, 200), 20);
    // The others' labels are drawn dimmer; the hovered one in full ink.
    EXPECT_EQ(picture.brightIn({first.x + 36, 8, 150, 22}, 200), 0);
    EXPECT_GT(picture.brightIn({first.x + 36, 8, 150, 22}, 100), 20);
    EXPECT_GT(picture.brightIn({third.x + 36, 8, 150, 22}, 200), 20);
    // The icon where there is one; the hovered tab shows its close box in the icon's place.
    auto red = picture.at(first.x + 20, 19);
    EXPECT_GT(red[0], 200);
    EXPECT_LT(red[1], 60);
    auto closeArea = view().layout().closeBox(third);
    EXPECT_LT(picture.at(closeArea.midX(), closeArea.midY())[1], 150);
    // A plus in the new-tab box.
    Rect box = view().layout().newFrame();
    EXPECT_GT(picture.brightIn({box.midX() - 1, box.midY() - 6, 2, 12}, 100), 4);

    // Hovering the close box gives it its own ground.
    input().hover(centreOf(view().layout().closeHitArea(third)));
    Picture hovered = render();
    EXPECT_EQ(hovered.at(closeArea.x + 1, closeArea.midY()), rgb(Drawing::Colours::line));
}

TEST_F(TabStripViewTest, drawsTheStealthStrip) {
    std::vector<glib::GRefPtr<GdkTexture>> icons;
    for (int k = 0; k < 30; ++k)
        icons.push_back(
            solidIcon({static_cast<guint8>(40 + k * 7), 120, static_cast<guint8>(250 - k * 7), 255}));
    tabs(30, 20);
    view().setIcons(std::move(icons));
    stealth();
    view().setBottomLine(true);
    ASSERT_TRUE(view().layout().band().overflowing);
    Rect field = *view().layout().frame(20);
    Rect neighbour = *view().layout().frame(19);
    input().hover(centreOf(neighbour));

    Picture picture = render();
    EXPECT_EQ(picture.at(field.midX(), 8), rgb(Drawing::Colours::sunken));
    EXPECT_GT(picture.brightIn({field.x + 37, 8, field.width - 50, 22}, 200), 10);
    // The hovered icon carries its close badge.
    Rect badge = view().layout().closeBox(neighbour);
    EXPECT_EQ(picture.at(badge.x + 3, badge.midY()), rgb(Drawing::Colours::line));

    // A hook draws the field's contents instead of the label.
    int drawn = 0;
    auto drawing = view().drawField.connect([&](GtkSnapshot*, const Rect& rect) {
        EXPECT_EQ(rect, field);
        ++drawn;
    });
    Picture hooked = render();
    EXPECT_EQ(drawn, 1);
    EXPECT_EQ(hooked.brightIn({field.x + 37, 8, field.width - 50, 22}, 200), 0);
}

// The widget's own event controllers, fed by real pointer events from the X server.
TEST_F(TabStripViewTest, realPointerEventsReachTheObject) {
    if (std::string_view(G_OBJECT_TYPE_NAME(gdk_display_get_default())) != "GdkX11Display")
        GTEST_SKIP() << "not an X11 display";
    glib::GUniquePtr<char> xdotool(g_find_program_in_path("xdotool"));
    if (!xdotool) GTEST_SKIP() << "xdotool is not installed";
    auto run = [&](const std::string& what) {
        std::string command = std::string(xdotool.get()) + " " + what;
        char* out = nullptr;
        EXPECT_TRUE(g_spawn_command_line_sync(command.c_str(), &out, nullptr, nullptr, nullptr)) << command;
        glib::GUniquePtr<char> text(out);
        return std::string(out ? out : "");
    };
    // The search runs while this loop waits for it, so the title must reach the X server first.
    gtk_window_set_title(m_window, "nimb-tab-strip-under-test");
    std::string window;
    ASSERT_TRUE(waitUntil(
        [&] {
            window = run("search --name '^nimb-tab-strip-under-test$'");
            window = window.substr(0, window.find('\n'));
            return !window.empty();
        },
        5s));
    auto at = [&](Point point) {
        return "mousemove --window " + window + " " + std::to_string(static_cast<int>(point.x)) + " " +
               std::to_string(static_cast<int>(point.y));
    };
    // Does what is asked, then moves the pointer over the new-tab box: once the strip knows it is
    // there, it has had every event before, and what they did is all they did.
    auto events = [&](const std::string& what) {
        input().mouseExited();
        run(what + " " + at(centreOf(view().layout().newFrame())));
        EXPECT_TRUE(waitUntil([&] { return input().pointer().hoveredNew(); }, 3s)) << what;
        return takeEvents();
    };

    Point onTab = centreOf(*view().layout().frame(2));
    EXPECT_EQ(events(at(onTab) + " click 1"), (Events{"select 2"}));
    EXPECT_EQ(events(at(onTab) + " click 2"), (Events{"close 2"}));
    Point onBox = centreOf(view().layout().closeHitArea(*view().layout().frame(0)));
    EXPECT_EQ(events(at(onBox) + " click 1"), (Events{"close 0"}));
    Point empty{900, 20};
    EXPECT_EQ(events(at(empty) + " click --repeat 2 --delay 40 1"), (Events{"new"}));
    EXPECT_EQ(events(at(empty) + " mousedown 1 mousemove_relative 40 4 mousemove_relative 40 4 mouseup 1"),
              (Events{"drag"}));
}

} // namespace
} // namespace nimb
