#pragma once

// The location well: the panel around the location field (`NimbLocationWell`, a custom-drawn GTK
// widget with a C++ object behind it). It holds the site's icon at the left, the field in the middle
// and the shield's place at the right; in stealth it is the pill in the current tab's place and
// carries a close box that takes the icon's place while the pointer is over it.
//
// The field is a GtkText (LocationField): while it has the focus it is being edited and shows the full
// address, and typing completes inline from history; at rest it shows the resting label.

#include "chrome/Glyphs.h"
#include "chrome/LocationField.h"
#include "glib/Connection.h"
#include "glib/GRefPtr.h"
#include "glib/Hook.h"
#include "layout/TabStrip.h"
#include "layout/WindowLayout.h"

#include <gtk/gtk.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

G_BEGIN_DECLS
#define NIMB_TYPE_LOCATION_WELL (nimb_location_well_get_type())
G_DECLARE_FINAL_TYPE(NimbLocationWell, nimb_location_well, NIMB, LOCATION_WELL, GtkWidget)
G_END_DECLS

namespace nimb {

class LocationWell {
public:
    using Point = TabStrip::Point;
    using Rect = TabStrip::Rect;

    // A new well widget (a floating reference) with its object and its field.
    [[nodiscard]] static GtkWidget* create();
    [[nodiscard]] static LocationWell& of(GtkWidget* widget);
    [[nodiscard]] GtkWidget* widget() const { return m_widget; }
    // The text field (a GtkText, which is a GtkEditable).
    [[nodiscard]] GtkWidget* field() const { return m_field.widget(); }

    LocationWell(const LocationWell&) = delete;
    LocationWell& operator=(const LocationWell&) = delete;

    // What the field shows: `full` while it is edited, `resting` otherwise. The text is replaced only
    // when it differs from what is shown.
    void setAddress(std::string_view full, std::string_view resting) { m_field.setAddress(full, resting); }
    // The label at rest, whole (the field shows it cut with an ellipsis when it is too long to fit).
    [[nodiscard]] const std::string& restingLabel() const { return m_field.restingLabel(); }
    [[nodiscard]] bool editing() const { return m_field.editing(); }
    // Gives the field the focus from the keyboard: the whole address is selected, and the next click
    // selects it again rather than placing the caret.
    void focus() { m_field.focus(); }

    // The site's icon (none shows an empty frame); the well keeps its own reference.
    void setIcon(GdkTexture* icon);
    [[nodiscard]] GdkTexture* icon() const { return m_icon.get(); }
    void setShield(const Glyphs::ShieldLook& shield);
    // The pill in stealth: a corner radius, and the shield drawn without its own square.
    void setPill(bool pill, double radius);
    [[nodiscard]] bool pill() const { return m_pill; }
    // The tool tip over the well; empty for none. Over the shield, the shield's own.
    void setHelp(std::string_view help);
    void setShieldHelp(std::string_view help);
    [[nodiscard]] const std::string& help() const { return m_help; }
    // The tool tip at a point of the well, if any.
    [[nodiscard]] std::optional<std::string> tooltip(Point point) const;

    // Return in the field, with its text.
    glib::Hook<void(const std::string&)> onEnter;
    // Editing began (true, just as the field takes the focus) or ended (false).
    glib::Hook<void(bool)> onEditing;
    // The completion of typed text, or none.
    glib::Hook<std::optional<std::string>(std::string_view)> completion;
    // Called when the close box is pressed and released; while something is connected to it the well
    // shows the box.
    glib::Hook<void()> onClose;

    // The close box: shown in the icon's place while the pointer is over the well, and held down.
    [[nodiscard]] bool showsKill() const { return onClose && m_hovered && !editing(); }
    [[nodiscard]] bool pressedKill() const { return m_pressedKill; }
    // The inside of the well at its present size, in its own coordinates.
    [[nodiscard]] Rect closeHitArea() const { return interior().closeHit; }
    [[nodiscard]] Rect fieldFrame() const { return interior().field; }

    // Pointer events on the well outside its field, in the well's coordinates.
    void mouseDown(Point point);
    void mouseUp(Point point);
    void mouseMoved(Point point);
    void mouseExited();

    void snapshot(GtkSnapshot* snapshot) const;
    void allocate(int width, int height);

private:
    friend struct LocationWellGlue;
    explicit LocationWell(GtkWidget* widget);
    void release();
    [[nodiscard]] WindowLayout::WellInterior interior() const;
    void redraw() const;

    GtkWidget* m_widget;
    LocationField m_field;
    std::vector<glib::Connection> m_fieldHooks; // the well's own connections to its field

    glib::GRefPtr<GdkTexture> m_icon;
    Glyphs::ShieldLook m_shield;
    std::string m_help;
    std::string m_shieldHelp;
    bool m_pill = false;
    double m_radius = 0;
    bool m_hovered = false;
    bool m_pressedKill = false;
};

} // namespace nimb
