#pragma once

// The fixture of the chrome's tests in the real application, and of the pictures drawn of it
// (tools/draw-chrome): the chrome's parts, the location field, the pointer and keys through xdotool.

#include "ShellTest.h"

#include "chrome/CustomChrome.h"
#include "chrome/TabStripView.h"

#include <string>
#include <utility>
#include <vector>

namespace nimb::test {

using Rect = WindowLayout::Rect;
using Point = WindowLayout::Point;

inline const std::string fixture = "http://browse.example/";
inline const std::string second = "http://browse.example/second.html";

// A PNG of one colour, `size` pixels square, as a site's icon.
inline std::string solidPng(guint8 r, guint8 g, guint8 b, int size = 32) {
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

// Whether the widget, drawn as it stands, shows anything bright (white text on the chrome's dark
// ground): a web view, or a bubble, that has put its page on the screen.
inline bool drawsSomethingBright(GtkWidget* widget) {
    int width = gtk_widget_get_width(widget);
    int height = gtk_widget_get_height(widget);
    if (width <= 0 || height <= 0) return false;
    auto paintable = glib::adoptGRef(gtk_widget_paintable_new(widget));
    GtkSnapshot* snapshot = gtk_snapshot_new();
    gdk_paintable_snapshot(GDK_PAINTABLE(paintable.get()), snapshot, width, height);
    GskRenderNode* node = gtk_snapshot_free_to_node(snapshot);
    if (!node) return false;
    GskRenderer* renderer = gsk_cairo_renderer_new();
    gsk_renderer_realize(renderer, nullptr, nullptr);
    auto texture = glib::adoptGRef(gsk_renderer_render_texture(renderer, node, nullptr));
    gsk_renderer_unrealize(renderer);
    g_object_unref(renderer);
    gsk_render_node_unref(node);
    std::vector<guchar> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    gdk_texture_download(texture.get(), pixels.data(), static_cast<gsize>(width) * 4);
    for (std::size_t k = 0; k + 3 < pixels.size(); k += 4)
        if (pixels[k] > 200 && pixels[k + 1] > 200 && pixels[k + 2] > 200) return true;
    return false;
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

} // namespace nimb::test
