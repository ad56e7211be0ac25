#pragma once

// The small pictures of the chrome's tool buttons and of the shield, drawn as strokes rather than
// taken from an icon theme, so that they keep the chrome's weight and colours on every desktop.

#include <gtk/gtk.h>

#include <array>
#include <cstdint>
#include <string_view>

namespace nimb {

enum class Glyph {
    back,
    forward,
    reload,
    stop,
    up,
    down,
    dismiss,
    stealth,
    unstealth,
};

namespace Glyphs {

inline constexpr std::array allGlyphs = {Glyph::back,    Glyph::forward, Glyph::reload,
                                         Glyph::stop,    Glyph::up,      Glyph::down,
                                         Glyph::dismiss, Glyph::stealth, Glyph::unstealth};

// Draws a glyph `size` points across, centred on (x, y).
void draw(GtkSnapshot* snapshot, Glyph glyph, double x, double y, double size, const GdkRGBA& colour);

// What the shield shows for the current page.
struct ShieldLook {
    bool isOn = true;
    std::int64_t count = 0;
    double heat = 0;

    bool operator==(const ShieldLook&) const = default;
};

// The shield's colour for a heat: the normal ink up to the first trace of heat, then from yellow to
// red as the heat rises to 1.
[[nodiscard]] GdkRGBA heatColour(double heat);

// The shield, `size` points tall, centred on (x, y): its outline, a tick when anything was blocked,
// a stroke through it when blocking is off.
void shield(GtkSnapshot* snapshot, const ShieldLook& look, double x, double y, double size);
// The shield's outline alone, `size` points tall, centred on (x, y), in a stroke `width` points wide
// (the pulse's outline around the shield).
void shieldOutline(GtkSnapshot* snapshot, double x, double y, double size, double width,
                   const GdkRGBA& colour);

} // namespace Glyphs

} // namespace nimb
