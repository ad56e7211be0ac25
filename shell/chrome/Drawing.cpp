#include "chrome/Drawing.h"

#include "glib/GRefPtr.h"
#include "pages/AssetScheme.h"

#include <dlfcn.h>
#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>
#include <pango/pangofc-fontmap.h>

#include <cmath>
#include <optional>

namespace nimb::Drawing {

namespace {

std::optional<std::string>& chosenFamily() {
    static std::optional<std::string> family;
    return family;
}

// The process's own fontconfig, reached through the libraries GTK has already loaded: GTK's text
// goes through Pango's fontconfig font map, so libfontconfig and Pango's fontconfig layer are always
// in the process, but the shell does not link them itself. Looked up by name once.
struct FontConfig {
    decltype(&FcConfigGetCurrent) getCurrent = nullptr;
    decltype(&FcConfigAppFontAddFile) addFile = nullptr;
    decltype(&pango_fc_font_map_config_changed) configChanged = nullptr;

    static const FontConfig& get() {
        static const FontConfig functions = [] {
            FontConfig f;
            f.getCurrent =
                reinterpret_cast<decltype(&FcConfigGetCurrent)>(dlsym(RTLD_DEFAULT, "FcConfigGetCurrent"));
            f.addFile = reinterpret_cast<decltype(&FcConfigAppFontAddFile)>(
                dlsym(RTLD_DEFAULT, "FcConfigAppFontAddFile"));
            f.configChanged = reinterpret_cast<decltype(&pango_fc_font_map_config_changed)>(
                dlsym(RTLD_DEFAULT, "pango_fc_font_map_config_changed"));
            return f;
        }();
        return functions;
    }
};

bool knowsFamily(PangoFontMap* map, std::string_view name) {
    PangoFontFamily** families = nullptr;
    int count = 0;
    pango_font_map_list_families(map, &families, &count);
    bool found = false;
    for (int k = 0; k < count && !found; ++k) {
        const char* known = pango_font_family_get_name(families[k]);
        found =
            known && g_ascii_strncasecmp(known, name.data(), name.size()) == 0 && known[name.size()] == '\0';
    }
    g_free(families);
    return found;
}

void stroke(GtkSnapshot* snapshot, double x, double y, double size, double width, const GdkRGBA& colour,
            void (*path)(cairo_t*, double x, double y, double half)) {
    double reach = size / 2 + width;
    auto bounds = rect(x - reach, y - reach, 2 * reach, 2 * reach);
    cairo_t* cr = gtk_snapshot_append_cairo(snapshot, &bounds);
    gdk_cairo_set_source_rgba(cr, &colour);
    cairo_set_line_width(cr, width);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    path(cr, x, y, size / 2);
    cairo_stroke(cr);
    cairo_destroy(cr);
}

} // namespace

std::string defaultFontsDirectory() {
    return std::string(NIMB_RESOURCES_DIR) + "/" + std::string(AssetScheme::directory);
}

bool registerFonts(const std::string& directory) {
    const FontConfig& fc = FontConfig::get();
    if (!fc.getCurrent || !fc.addFile) return false;
    FcConfig* config = fc.getCurrent();
    bool added = false;
    for (const auto& asset : AssetScheme::assets) {
        std::string path = directory + "/" + std::string(asset.name);
        if (g_file_test(path.c_str(), G_FILE_TEST_IS_REGULAR) &&
            fc.addFile(config, reinterpret_cast<const FcChar8*>(path.c_str())))
            added = true;
    }
    if (!added) return false;

    // Pango keeps what it has already read of fontconfig; tell it to look again.
    PangoFontMap* map = pango_cairo_font_map_get_default();
    GType fcType = g_type_from_name("PangoFcFontMap");
    if (fc.configChanged && fcType && g_type_is_a(G_OBJECT_TYPE(map), fcType))
        fc.configChanged(reinterpret_cast<PangoFcFontMap*>(map));
    chosenFamily().reset();
    return true;
}

void ensureFonts() {
    static bool done = false;
    if (done) return;
    done = true;
    registerFonts(defaultFontsDirectory());
}

const std::string& family() {
    auto& chosen = chosenFamily();
    if (!chosen) {
        PangoFontMap* map = pango_cairo_font_map_get_default();
        for (std::string_view candidate : Typeface::candidates) {
            if (knowsFamily(map, candidate)) {
                chosen = std::string(candidate);
                break;
            }
        }
        if (!chosen) chosen = "Sans";
    }
    return *chosen;
}

Font font(double points, bool medium) {
    Font description(pango_font_description_new());
    pango_font_description_set_family(description.get(), family().c_str());
    pango_font_description_set_weight(description.get(), medium ? PANGO_WEIGHT_MEDIUM : PANGO_WEIGHT_NORMAL);
    // Absolute: a point of the chrome is a pixel of GTK, whatever the screen's resolution says.
    pango_font_description_set_absolute_size(description.get(), points * PANGO_SCALE);
    return description;
}

void fill(GtkSnapshot* snapshot, const graphene_rect_t& bounds, const GdkRGBA& colour) {
    gtk_snapshot_append_color(snapshot, &colour, &bounds);
}

void fillRounded(GtkSnapshot* snapshot, const graphene_rect_t& bounds, float radius, const GdkRGBA& colour) {
    GskRoundedRect rounded;
    gsk_rounded_rect_init_from_rect(&rounded, &bounds, radius);
    gtk_snapshot_push_rounded_clip(snapshot, &rounded);
    gtk_snapshot_append_color(snapshot, &colour, &bounds);
    gtk_snapshot_pop(snapshot);
}

void fillRounded(GtkSnapshot* snapshot, const graphene_rect_t& bounds, Corners corners,
                 const GdkRGBA& colour) {
    auto size = [](float radius) { return GRAPHENE_SIZE_INIT(radius, radius); };
    graphene_size_t topLeft = size(corners.topLeft);
    graphene_size_t topRight = size(corners.topRight);
    graphene_size_t bottomRight = size(corners.bottomRight);
    graphene_size_t bottomLeft = size(corners.bottomLeft);
    GskRoundedRect rounded;
    gsk_rounded_rect_init(&rounded, &bounds, &topLeft, &topRight, &bottomRight, &bottomLeft);
    gtk_snapshot_push_rounded_clip(snapshot, &rounded);
    gtk_snapshot_append_color(snapshot, &colour, &bounds);
    gtk_snapshot_pop(snapshot);
}

void outlineRounded(GtkSnapshot* snapshot, const graphene_rect_t& bounds, float radius, float width,
                    const GdkRGBA& colour) {
    GskRoundedRect rounded;
    gsk_rounded_rect_init_from_rect(&rounded, &bounds, radius);
    const float widths[4] = {width, width, width, width};
    const GdkRGBA colours[4] = {colour, colour, colour, colour};
    gtk_snapshot_append_border(snapshot, &rounded, widths, colours);
}

void texture(GtkSnapshot* snapshot, GdkTexture* texture, const graphene_rect_t& bounds) {
    if (texture) gtk_snapshot_append_texture(snapshot, texture, &bounds);
}

void text(GtkSnapshot* snapshot, GtkWidget* widget, std::string_view text, const graphene_rect_t& box,
          const PangoFontDescription* font, const GdkRGBA& colour, Align align) {
    if (text.empty() || box.size.width < 8) return;
    auto owned = glib::adoptGRef(gtk_widget_create_pango_layout(widget, nullptr));
    PangoLayout* layout = owned.get();
    pango_layout_set_text(layout, text.data(), static_cast<int>(text.size()));
    pango_layout_set_font_description(layout, font);
    pango_layout_set_single_paragraph_mode(layout, TRUE);
    pango_layout_set_width(layout, static_cast<int>(box.size.width * PANGO_SCALE));
    pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
    int width = 0;
    int height = 0;
    pango_layout_get_pixel_size(layout, &width, &height);
    float x = box.origin.x;
    if (align == Align::centre) x += std::max(0.0f, (box.size.width - static_cast<float>(width)) / 2);
    float y = std::round(box.origin.y + (box.size.height - static_cast<float>(height)) / 2);
    gtk_snapshot_save(snapshot);
    graphene_point_t origin = GRAPHENE_POINT_INIT(std::round(x), y);
    gtk_snapshot_translate(snapshot, &origin);
    gtk_snapshot_append_layout(snapshot, layout, &colour);
    gtk_snapshot_restore(snapshot);
}

double textWidth(GtkWidget* widget, std::string_view text, const PangoFontDescription* font) {
    auto owned = glib::adoptGRef(gtk_widget_create_pango_layout(widget, nullptr));
    PangoLayout* layout = owned.get();
    pango_layout_set_text(layout, text.data(), static_cast<int>(text.size()));
    pango_layout_set_font_description(layout, font);
    PangoRectangle logical;
    pango_layout_get_extents(layout, nullptr, &logical);
    return static_cast<double>(logical.width) / PANGO_SCALE;
}

void cross(GtkSnapshot* snapshot, double x, double y, double size, double width, const GdkRGBA& colour) {
    stroke(snapshot, x, y, size, width, colour, [](cairo_t* cr, double cx, double cy, double half) {
        cairo_move_to(cr, cx - half, cy - half);
        cairo_line_to(cr, cx + half, cy + half);
        cairo_move_to(cr, cx + half, cy - half);
        cairo_line_to(cr, cx - half, cy + half);
    });
}

void plus(GtkSnapshot* snapshot, double x, double y, double size, double width, const GdkRGBA& colour) {
    stroke(snapshot, x, y, size, width, colour, [](cairo_t* cr, double cx, double cy, double half) {
        cairo_move_to(cr, cx - half, cy);
        cairo_line_to(cr, cx + half, cy);
        cairo_move_to(cr, cx, cy - half);
        cairo_line_to(cr, cx, cy + half);
    });
}

void chevronDown(GtkSnapshot* snapshot, double x, double y, double size, double width,
                 const GdkRGBA& colour) {
    stroke(snapshot, x, y, size, width, colour, [](cairo_t* cr, double cx, double cy, double half) {
        cairo_move_to(cr, cx - half, cy - half / 2);
        cairo_line_to(cr, cx, cy + half / 2);
        cairo_line_to(cr, cx + half, cy - half / 2);
    });
}

void circle(GtkSnapshot* snapshot, double x, double y, double diameter, const GdkRGBA& colour) {
    fillRounded(snapshot, rect(x - diameter / 2, y - diameter / 2, diameter, diameter),
                static_cast<float>(diameter / 2), colour);
}

} // namespace nimb::Drawing
