#pragma once

// The chrome's look for the toolkit: the dark variant of the theme, and the style sheet that leaves the
// window's ground, its menus and its own buttons to GTK while the chrome draws itself.

namespace nimb::ChromeStyle {

// Gives the toolkit the look once per run. The first window calls it after its first page has begun
// to load and before the window is shown: the theme takes the toolkit some milliseconds to load, and
// the page's web process starts up meanwhile.
void install();
// The look of the text fields the chrome draws its wells around (the location field, the find field),
// once per run: with the first such field, without waiting for the rest of the look.
void installFields();

} // namespace nimb::ChromeStyle
