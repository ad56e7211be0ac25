#pragma once

// The fixture of the pictures of the window (tools/draw-chrome): the real application driven the way
// the chrome's tests drive it, with five fixture sites that have icons, and shots of the window as it
// stands on the screen. Run through tools/screenshots, which sets NIMB_SCREENSHOTS to the directory to
// write into.

#include "ChromeTest.h"

#include "engine/FaviconStore.h"
#include "library/Bookmarks.h"
#include "library/History.h"

#include <gdk/x11/gdkx.h>

#include <cstdlib>
#include <filesystem>

namespace nimb::test {

// A site's icon: a rounded square of its colour with its initial.
inline std::string letterIcon(char letter, double r, double g, double b) {
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

// Sites with their titles and the colours of their icons.
struct Site {
    const char* host;
    const char* title;
    char letter;
    double r, g, b;
};

inline const Site sites[] = {
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
            m_proxy.answer(site.host, "/favicon.ico", letterIcon(site.letter, site.r, site.g, site.b), {},
                           "image/png");
            std::string page = std::string("<!doctype html><meta charset=utf-8><title>") + site.title +
                               "</title><body style='font: 16px sans-serif; margin: 40px'><h1>" + site.title +
                               "</h1><p>A page of the fixture web.</p>";
            m_proxy.answer(site.host, "/", page);
        }
    }

    // The window as it is on the screen, popups and tool tips included.
    // `around` points more on every side are taken too, for what hangs outside the window (a bubble).
    void shot(const std::string& name, bool pageSettled = true, int around = 0) {
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
                             ") && a=" + std::to_string(around) +
                             " && import -window root -crop "
                             "$((WIDTH+2*a))x$((HEIGHT+2*a))+$((X>a?X-a:0))+$((Y>a?Y-a:0)) +repage " +
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

} // namespace nimb::test
