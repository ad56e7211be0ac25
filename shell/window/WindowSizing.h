#pragma once

// The size of browser windows across runs, as GNOME's applications keep theirs: the window the user
// closes last leaves its size (and whether it was maximised) in the preferences, and every new window
// opens at it.

#include "preferences/Preferences.h"

#include <gtk/gtk.h>

namespace nimb::WindowSizing {

// Gives a window that is not yet shown the kept size, or the built-in one when none was kept.
void apply(GtkWindow* window, const Preferences& preferences);
// Keeps the window's size: the size it has, or, maximised, the size it had before.
void remember(GtkWindow* window, Preferences& preferences);

} // namespace nimb::WindowSizing
