#pragma once

// A tool button of the chrome: a custom-drawn GTK widget (`NimbToolButton`) with a C++ object behind
// it. It shows a glyph (the navigation and stealth buttons, in the `nav` look) or a title (the
// personal toolbar's bookmarks, in the `compact` look), acts on release with the pointer still on
// it, follows hover and press, and never takes the keyboard focus, so that pressing it leaves the
// page or the location field as it was.

#include "chrome/Glyphs.h"
#include "glib/Hook.h"
#include "layout/TabStrip.h"

#include <gtk/gtk.h>

#include <optional>
#include <string>

G_BEGIN_DECLS
#define NIMB_TYPE_TOOL_BUTTON (nimb_tool_button_get_type())
G_DECLARE_FINAL_TYPE(NimbToolButton, nimb_tool_button, NIMB, TOOL_BUTTON, GtkWidget)
G_END_DECLS

namespace nimb {

class ToolButton {
public:
    using Point = TabStrip::Point;

    enum class Look {
        nav,     // a glyph on a square
        compact, // a short title, 22 points high
    };

    // A new button widget (a floating reference) with its object.
    [[nodiscard]] static GtkWidget* create(Look look);
    [[nodiscard]] static ToolButton& of(GtkWidget* widget);
    // Whether a widget is a tool button.
    [[nodiscard]] static bool is(GtkWidget* widget);
    [[nodiscard]] GtkWidget* widget() const { return m_widget; }

    ToolButton(const ToolButton&) = delete;
    ToolButton& operator=(const ToolButton&) = delete;

    void setTitle(std::string title);
    void setGlyph(std::optional<Glyph> glyph);
    // A disabled button draws dimmed and ignores the pointer.
    void setEnabled(bool enabled);
    // The tool tip; empty for none.
    void setHelp(std::string help);

    [[nodiscard]] Look look() const { return m_look; }
    [[nodiscard]] const std::string& title() const { return m_title; }
    [[nodiscard]] std::optional<Glyph> glyph() const { return m_glyph; }
    [[nodiscard]] bool enabled() const { return m_enabled; }
    [[nodiscard]] const std::string& help() const { return m_help; }
    [[nodiscard]] bool pressed() const { return m_pressed; }
    [[nodiscard]] bool hovered() const { return m_hovered; }

    // The title's width in the chrome typeface at 10 points (what the personal toolbar sizes the
    // button by).
    [[nodiscard]] double titleWidth() const;

    // Called on release with the pointer still on the button.
    glib::Hook<void()> onClick;

    // Pointer events, in the button's coordinates, as its controllers deliver them.
    void mouseDown(Point point);
    void mouseDragged(Point point);
    void mouseUp(Point point);
    void mouseEntered();
    void mouseExited();

    void snapshot(GtkSnapshot* snapshot) const;

private:
    friend struct ToolButtonGlue;
    ToolButton(GtkWidget* widget, Look look) : m_widget(widget), m_look(look) {}

    [[nodiscard]] bool inside(Point point) const;
    void redraw() const;

    GtkWidget* m_widget;
    Look m_look;
    std::string m_title;
    std::optional<Glyph> m_glyph;
    bool m_enabled = true;
    std::string m_help;
    bool m_pressed = false;
    bool m_tracking = false; // a press began on the button and has not been released
    bool m_hovered = false;
};

} // namespace nimb
