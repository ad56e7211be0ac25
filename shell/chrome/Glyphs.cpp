#include "chrome/Glyphs.h"

#include "chrome/Drawing.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace nimb::Glyphs {

namespace {

constexpr double strokeRatio = 0.11; // stroke width per point of glyph size, at least 1.4

// A cairo context over a square `reach` points from (x, y) each way, with round ends and joins.
class Pen {
public:
    Pen(GtkSnapshot* snapshot, double x, double y, double reach, const GdkRGBA& colour, double width) {
        auto bounds = Drawing::rect(x - reach, y - reach, 2 * reach, 2 * reach);
        m_cr = gtk_snapshot_append_cairo(snapshot, &bounds);
        gdk_cairo_set_source_rgba(m_cr, &colour);
        cairo_set_line_width(m_cr, width);
        cairo_set_line_cap(m_cr, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_join(m_cr, CAIRO_LINE_JOIN_ROUND);
    }
    Pen(const Pen&) = delete;
    Pen& operator=(const Pen&) = delete;
    ~Pen() { cairo_destroy(m_cr); }

    cairo_t* operator*() const { return m_cr; }

private:
    cairo_t* m_cr;
};

void chevron(cairo_t* cr, double x, double y, double half, double dx, double dy) {
    // Points along (dx, dy); the arms sweep back from the tip.
    double tipX = x + dx * half / 2;
    double tipY = y + dy * half / 2;
    cairo_move_to(cr, tipX - dx * half - dy * half, tipY - dy * half - dx * half);
    cairo_line_to(cr, tipX, tipY);
    cairo_line_to(cr, tipX - dx * half + dy * half, tipY - dy * half + dx * half);
}

// A domino mask: a band across the eyes with two eye holes.
void mask(cairo_t* cr, double x, double y, double half) {
    double w = half;
    double h = half * 0.62;
    cairo_new_sub_path(cr);
    cairo_move_to(cr, x - w, y - h * 0.55);
    cairo_curve_to(cr, x - w * 0.55, y - h * 1.05, x + w * 0.55, y - h * 1.05, x + w, y - h * 0.55);
    cairo_curve_to(cr, x + w * 1.05, y + h * 0.35, x + w * 0.7, y + h * 1.05, x + w * 0.32, y + h * 0.95);
    cairo_curve_to(cr, x + w * 0.12, y + h * 0.9, x + w * 0.08, y + h * 0.45, x, y + h * 0.45);
    cairo_curve_to(cr, x - w * 0.08, y + h * 0.45, x - w * 0.12, y + h * 0.9, x - w * 0.32, y + h * 0.95);
    cairo_curve_to(cr, x - w * 0.7, y + h * 1.05, x - w * 1.05, y + h * 0.35, x - w, y - h * 0.55);
    cairo_close_path(cr);
}

void eyes(cairo_t* cr, double x, double y, double half) {
    double h = half * 0.62;
    for (double side : {-1.0, 1.0}) {
        cairo_new_sub_path(cr);
        cairo_save(cr);
        cairo_translate(cr, x + side * half * 0.46, y + h * 0.05);
        cairo_scale(cr, 1.0, 0.62);
        cairo_arc(cr, 0, 0, half * 0.25, 0, 2 * std::numbers::pi);
        cairo_restore(cr);
    }
}

// The shield's outline: a flat top with rounded shoulders narrowing to a point.
void shieldPath(cairo_t* cr, double x, double y, double size) {
    double half = size / 2;
    double w = half * 0.8;
    double top = y - half;
    double bottom = y + half;
    cairo_move_to(cr, x, top);
    cairo_curve_to(cr, x + w * 0.45, top + half * 0.22, x + w * 0.8, top + half * 0.22, x + w,
                   top + half * 0.2);
    cairo_curve_to(cr, x + w, y + half * 0.15, x + w * 0.65, y + half * 0.65, x, bottom);
    cairo_curve_to(cr, x - w * 0.65, y + half * 0.65, x - w, y + half * 0.15, x - w, top + half * 0.2);
    cairo_curve_to(cr, x - w * 0.8, top + half * 0.22, x - w * 0.45, top + half * 0.22, x, top);
    cairo_close_path(cr);
}

GdkRGBA fromHsb(double hue, double saturation, double brightness) {
    double h = std::fmod(std::max(0.0, hue), 1.0) * 6;
    int sector = static_cast<int>(std::floor(h));
    double f = h - sector;
    double p = brightness * (1 - saturation);
    double q = brightness * (1 - saturation * f);
    double t = brightness * (1 - saturation * (1 - f));
    double r = brightness, g = t, b = p;
    switch (sector) {
    case 0:
        r = brightness, g = t, b = p;
        break;
    case 1:
        r = q, g = brightness, b = p;
        break;
    case 2:
        r = p, g = brightness, b = t;
        break;
    case 3:
        r = p, g = q, b = brightness;
        break;
    case 4:
        r = t, g = p, b = brightness;
        break;
    default:
        r = brightness, g = p, b = q;
        break;
    }
    return {static_cast<float>(r), static_cast<float>(g), static_cast<float>(b), 1};
}

} // namespace

void draw(GtkSnapshot* snapshot, Glyph glyph, double x, double y, double size, const GdkRGBA& colour) {
    double width = std::max(1.4, size * strokeRatio);
    double half = size / 2;
    Pen pen(snapshot, x, y, half + width, colour, width);
    cairo_t* cr = *pen;
    switch (glyph) {
    case Glyph::back:
        chevron(cr, x, y, half * 0.62, -1, 0);
        break;
    case Glyph::forward:
        chevron(cr, x, y, half * 0.62, 1, 0);
        break;
    case Glyph::up:
        chevron(cr, x, y, half * 0.55, 0, -1);
        break;
    case Glyph::down:
        chevron(cr, x, y, half * 0.55, 0, 1);
        break;
    case Glyph::reload: {
        // Most of a circle, with the arrowhead at its open end pointing on round.
        double radius = half * 0.72;
        // Clockwise from the upper right, round through the bottom, to the top.
        double start = -std::numbers::pi / 2 + 0.95;
        double end = 3 * std::numbers::pi / 2;
        cairo_arc(cr, x, y, radius, start, end);
        cairo_stroke(cr);
        double headX = x + radius * std::cos(end);
        double headY = y + radius * std::sin(end);
        double arm = half * 0.42;
        // Two arms sweeping back from the tip against the direction of travel.
        double travel = end + std::numbers::pi / 2;
        for (double spread : {-0.6, 0.6}) {
            double angle = travel + std::numbers::pi + spread;
            cairo_move_to(cr, headX, headY);
            cairo_line_to(cr, headX + arm * std::cos(angle), headY + arm * std::sin(angle));
        }
        break;
    }
    case Glyph::stop:
        cairo_move_to(cr, x - half * 0.55, y - half * 0.55);
        cairo_line_to(cr, x + half * 0.55, y + half * 0.55);
        cairo_move_to(cr, x + half * 0.55, y - half * 0.55);
        cairo_line_to(cr, x - half * 0.55, y + half * 0.55);
        break;
    case Glyph::dismiss:
        cairo_move_to(cr, x - half * 0.42, y - half * 0.42);
        cairo_line_to(cr, x + half * 0.42, y + half * 0.42);
        cairo_move_to(cr, x + half * 0.42, y - half * 0.42);
        cairo_line_to(cr, x - half * 0.42, y + half * 0.42);
        break;
    case Glyph::stealth:
        // The mask, drawn in outline: stealth is off and this puts it on.
        mask(cr, x, y, half);
        cairo_stroke(cr);
        cairo_set_line_width(cr, width * 0.8);
        eyes(cr, x, y, half);
        break;
    case Glyph::unstealth:
        // The mask worn: filled, its eyes cut out.
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
        mask(cr, x, y, half);
        eyes(cr, x, y, half);
        cairo_fill(cr);
        return;
    }
    cairo_stroke(cr);
}

GdkRGBA heatColour(double heat) {
    double h = std::isfinite(heat) ? std::clamp(heat, 0.0, 1.0) : 0.0;
    if (h <= 0.001) return Drawing::Colours::ink;
    double u = (h - 0.001) / 0.999;
    return fromHsb(0.14 - u * 0.14, 0.55 + u * 0.45, 1);
}

void shield(GtkSnapshot* snapshot, const ShieldLook& look, double x, double y, double size) {
    double width = std::max(1.3, size * 0.085);
    GdkRGBA colour = look.isOn ? heatColour(look.heat) : Drawing::Colours::dimInk;
    Pen pen(snapshot, x, y, size / 2 + width, colour, width);
    cairo_t* cr = *pen;
    shieldPath(cr, x, y, size);
    cairo_stroke(cr);
    double half = size / 2;
    if (!look.isOn) {
        // A stroke right through it, the outline cut away on either side of the stroke.
        cairo_move_to(cr, x - half * 0.82, y - half * 0.82);
        cairo_line_to(cr, x + half * 0.82, y + half * 0.82);
        cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
        cairo_set_line_width(cr, width * 2.6);
        cairo_stroke_preserve(cr);
        cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
        cairo_set_line_width(cr, width);
        cairo_stroke(cr);
        return;
    }
    if (look.count >= 1) {
        cairo_move_to(cr, x - half * 0.3, y - half * 0.02);
        cairo_line_to(cr, x - half * 0.06, y + half * 0.24);
        cairo_line_to(cr, x + half * 0.32, y - half * 0.24);
        cairo_stroke(cr);
    }
}

void shieldOutline(GtkSnapshot* snapshot, double x, double y, double size, double width,
                   const GdkRGBA& colour) {
    Pen pen(snapshot, x, y, size / 2 + width, colour, width);
    shieldPath(*pen, x, y, size);
    cairo_stroke(*pen);
}

} // namespace nimb::Glyphs
