#include "chrome/ChromeStyle.h"

#include "chrome/Drawing.h"
#include "glib/GRefPtr.h"
#include "pages/PageFrame.h"

#include <gtk/gtk.h>

#include <string>

namespace nimb::ChromeStyle {

namespace {

std::string styleSheet() {
    std::string face(Palette::background);
    std::string ink(Palette::text);
    std::string line(Palette::separator);
    std::string raised(Palette::raised);
    // The chrome draws itself; GTK keeps only the window's ground, the menus and the window's own
    // buttons. Without a compositor GTK frames a window with a border of its own, which would take
    // room from the strip and the bands: the window's edges are its content's.
    return "window.nimb { background-color: " + face + "; color: " + ink +
           "; }\n"
           "window.nimb.solid-csd { padding: 0; margin: 0; border: none; border-radius: 0; box-shadow: none; "
           "}\n"
           "window.nimb.csd { border-radius: 0; }\n"
           ".nimb-window-controls button { min-width: 24px; min-height: 24px; padding: 0; margin: 0 2px; "
           "border: none; box-shadow: none; background: none; color: " +
           ink +
           "; }\n"
           ".nimb-window-controls button:hover { background-color: " +
           raised +
           "; }\n"
           ".nimb-window-controls button:active { background-color: " +
           line +
           "; }\n"
           // The bubbles: the report popover and the list of hidden tabs.
           "popover.nimb-bubble > contents { padding: 0; background-color: " +
           face + "; color: " + ink + "; border: 1px solid " + line +
           "; border-radius: 10px; }\n"
           "popover.nimb-bubble > arrow { background-color: " +
           face + "; border: 1px solid " + line +
           "; }\n"
           "popover.nimb-bubble.nimb-opaque > contents { box-shadow: none; border-radius: 0; margin: 0; }\n"
           "popover.nimb-bubble scrolledwindow, .nimb-overflow { background: none; }\n"
           ".nimb-overflow > row { min-height: 36px; padding: 0; margin: 0 6px; border-radius: 6px; }\n"
           ".nimb-overflow > row:hover { background-color: " +
           raised +
           "; }\n"
           ".nimb-overflow > row:selected, .nimb-overflow > row:focus-visible { background-color: " +
           line +
           "; outline: none; }\n"
           "box.nimb-notice { background-color: " +
           raised + "; color: " + ink + "; padding: 8px 12px; border-bottom: 1px solid " + line +
           "; font-family: \"" + Drawing::family() +
           "\"; font-size: 13px; }\n"
           "box.nimb-notice > label selection { background-color: rgba(122, 162, 255, 0.42); }\n";
}

// The text fields the chrome draws its own well around: the location field and the find field, in
// the chrome's typeface and ink; the find field dims when nothing matched.
std::string fieldSheet() {
    std::string ink(Palette::text);
    std::string dim(Palette::secondary);
    std::string family = "font-family: \"" + Drawing::family() + "\"; ";
    return "text.nimb-location, text.nimb-find { " + family +
           "font-size: 13px; font-weight: normal; color: " + ink + "; caret-color: " + ink +
           "; background: none; min-height: 0; padding: 0; margin: 0; border: none; box-shadow: none; }\n"
           "text.nimb-location selection, text.nimb-find selection { background-color: rgba(122, 162, 255, "
           "0.42); color: #ffffff; }\n"
           "text.nimb-find.no-match { color: " +
           dim +
           "; }\n"
           "text.nimb-find > placeholder { color: " +
           std::string(Palette::placeholder) +
           "; }\n"
           "label.nimb-find-tally { " +
           family + "font-size: 12px; color: " + dim + "; padding: 0; margin: 0; min-height: 0; }\n";
}

void addSheet(GdkDisplay* display, const std::string& css, guint priority) {
    auto provider = glib::adoptGRef(gtk_css_provider_new());
    gtk_css_provider_load_from_data(provider.get(), css.c_str(), static_cast<gssize>(css.size()));
    gtk_style_context_add_provider_for_display(display, GTK_STYLE_PROVIDER(provider.get()), priority);
}

} // namespace

void install() {
    static bool installed = false;
    GdkDisplay* display = gdk_display_get_default();
    if (installed || !display) return;
    installed = true;
    g_object_set(gtk_settings_get_for_display(display), "gtk-application-prefer-dark-theme", TRUE, nullptr);
    addSheet(display, styleSheet(), GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
}

void installFields() {
    static bool installed = false;
    GdkDisplay* display = gdk_display_get_default();
    if (installed || !display) return;
    installed = true;
    addSheet(display, fieldSheet(), GTK_STYLE_PROVIDER_PRIORITY_APPLICATION + 1);
}

} // namespace nimb::ChromeStyle
