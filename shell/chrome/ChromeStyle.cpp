#include "chrome/ChromeStyle.h"

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
           line + "; outline: none; }\n";
}

} // namespace

void install() {
    static bool installed = false;
    GdkDisplay* display = gdk_display_get_default();
    if (installed || !display) return;
    installed = true;
    g_object_set(gtk_settings_get_for_display(display), "gtk-application-prefer-dark-theme", TRUE, nullptr);
    auto provider = glib::adoptGRef(gtk_css_provider_new());
    std::string css = styleSheet();
    gtk_css_provider_load_from_data(provider.get(), css.c_str(), static_cast<gssize>(css.size()));
    gtk_style_context_add_provider_for_display(display, GTK_STYLE_PROVIDER(provider.get()),
                                               GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
}

} // namespace nimb::ChromeStyle
