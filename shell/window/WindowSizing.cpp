#include "window/WindowSizing.h"

#include <algorithm>

namespace nimb::WindowSizing {

void apply(GtkWindow* window, const Preferences& preferences) {
    WindowSize size = preferences.windowSize().value_or(
        WindowSize{WindowSize::defaultWidth, WindowSize::defaultHeight, false});
    gtk_window_set_default_size(window, size.width, size.height);
    if (size.maximized) gtk_window_maximize(window);
}

void remember(GtkWindow* window, Preferences& preferences) {
    // The default size follows the user's resizing, but not maximising: it is the size to come back to.
    int width = 0;
    int height = 0;
    gtk_window_get_default_size(window, &width, &height);
    if (width <= 0 || height <= 0) return; // never shown at a size of its own
    WindowSize size{std::min(width, WindowSize::largest), std::min(height, WindowSize::largest),
                    gtk_window_is_maximized(window) != FALSE};
    if (preferences.windowSize() == size) return;
    (void)preferences.setWindowSize(size); // a size not kept costs nothing but the next window's size
}

} // namespace nimb::WindowSizing
