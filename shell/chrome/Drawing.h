#pragma once

// What the custom-drawn chrome draws with: its colours (the pages' palette, so that chrome and pages
// meet without a seam), its typeface, and a few shapes on a GtkSnapshot. Sizes are in points, which
// GTK calls pixels.

#include "pages/PageFrame.h"

#include <gtk/gtk.h>

#include <memory>
#include <string>
#include <string_view>

namespace nimb::Drawing {

// "#rrggbb" as a colour; anything else is opaque black.
[[nodiscard]] constexpr GdkRGBA colour(std::string_view hex, float alpha = 1) {
    auto digit = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };
    if (hex.size() != 7 || hex[0] != '#') return {0, 0, 0, alpha};
    float parts[3] = {0, 0, 0};
    for (int k = 0; k < 3; ++k) {
        int high = digit(hex[static_cast<std::size_t>(1 + 2 * k)]);
        int low = digit(hex[static_cast<std::size_t>(2 + 2 * k)]);
        if (high < 0 || low < 0) return {0, 0, 0, alpha};
        parts[k] = static_cast<float>(high * 16 + low) / 255.0f;
    }
    return {parts[0], parts[1], parts[2], alpha};
}

// The chrome's colours.
namespace Colours {
inline constexpr GdkRGBA face = colour(Palette::background);     // the window's ground and the strip's
inline constexpr GdkRGBA ink = colour(Palette::text);            // text and glyphs in front
inline constexpr GdkRGBA dimInk = colour(Palette::secondary);    // text and glyphs behind
inline constexpr GdkRGBA line = colour(Palette::separator);      // rules, borders, pressed grounds
inline constexpr GdkRGBA raised = colour(Palette::raised);       // the current tab, hovered buttons
inline constexpr GdkRGBA sunken = colour(Palette::sunken);       // hovered tabs, the field in stealth
inline constexpr GdkRGBA pressed = colour(Palette::placeholder); // a button held down
} // namespace Colours

// Fonts

// The directory holding the two Fira Sans faces that come with the browser.
[[nodiscard]] std::string defaultFontsDirectory();
// Makes the Fira Sans faces in `directory` (the files the asset scheme serves to pages) usable by this
// process's text, whether or not they are installed on the system. False when neither could be added (the
// chrome then draws in the first other candidate, or the system's sans).
bool registerFonts(const std::string& directory);
// Registers the default directory's faces once per process; later calls do nothing.
void ensureFonts();
// The chrome's family: the first of the candidate families that the fonts know, else "Sans".
[[nodiscard]] const std::string& family();

struct FontDescriptionDeleter {
    void operator()(PangoFontDescription* description) const { pango_font_description_free(description); }
};
using Font = std::unique_ptr<PangoFontDescription, FontDescriptionDeleter>;
// The chrome's face at `points`, regular or medium.
[[nodiscard]] Font font(double points, bool medium = false);

// Shapes

[[nodiscard]] inline graphene_rect_t rect(double x, double y, double width, double height) {
    return GRAPHENE_RECT_INIT(static_cast<float>(x), static_cast<float>(y), static_cast<float>(width),
                              static_cast<float>(height));
}

void fill(GtkSnapshot* snapshot, const graphene_rect_t& bounds, const GdkRGBA& colour);
void fillRounded(GtkSnapshot* snapshot, const graphene_rect_t& bounds, float radius, const GdkRGBA& colour);
// The radius of each corner, for a shape that is square where it meets an edge of the window.
struct Corners {
    float topLeft = 0;
    float topRight = 0;
    float bottomRight = 0;
    float bottomLeft = 0;
};
void fillRounded(GtkSnapshot* snapshot, const graphene_rect_t& bounds, Corners corners,
                 const GdkRGBA& colour);
void outlineRounded(GtkSnapshot* snapshot, const graphene_rect_t& bounds, float radius, float width,
                    const GdkRGBA& colour);
void texture(GtkSnapshot* snapshot, GdkTexture* texture, const graphene_rect_t& bounds);

enum class Align {
    start,
    centre,
};
// One line of text in `font`, centred vertically in `box` and cut short with an ellipsis when it
// does not fit. Nothing is drawn in a box too narrow for one character's worth of ellipsis.
void text(GtkSnapshot* snapshot, GtkWidget* widget, std::string_view text, const graphene_rect_t& box,
          const PangoFontDescription* font, const GdkRGBA& colour, Align align = Align::start);
// The width `text` takes in `font`, in points.
[[nodiscard]] double textWidth(GtkWidget* widget, std::string_view text, const PangoFontDescription* font);

// Glyphs, stroked with round ends, `size` points across, centred on (x, y).
void cross(GtkSnapshot* snapshot, double x, double y, double size, double width, const GdkRGBA& colour);
void plus(GtkSnapshot* snapshot, double x, double y, double size, double width, const GdkRGBA& colour);
void chevronDown(GtkSnapshot* snapshot, double x, double y, double size, double width, const GdkRGBA& colour);
void circle(GtkSnapshot* snapshot, double x, double y, double diameter, const GdkRGBA& colour);

} // namespace nimb::Drawing
