#pragma once

// The location well: the panel around the location field (`NimbLocationWell`, a custom-drawn GTK
// widget with a C++ object behind it). It holds the site's icon at the left, the field in the middle
// and the shield's place at the right; in stealth it is the pill in the current tab's place and
// carries a close box that takes the icon's place while the pointer is over it.
//
// The field is a GtkText (LocationField): while it has the focus it is being edited and shows the full
// address, and typing completes inline from history; at rest it shows the resting label. What the
// well shows around the field is its WellLook, and the pointer over it a WellPointer.

#include "chrome/LocationField.h"
#include "chrome/ShieldView.h"
#include "chrome/WellLook.h"
#include "chrome/WellPointer.h"
#include "glib/GRefPtr.h"
#include "glib/Hook.h"
#include "layout/TabStrip.h"
#include "layout/WindowLayout.h"

#include <gtk/gtk.h>

#include <optional>
#include <string>

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
    // The field's address, editing and completion, and its hooks.
    [[nodiscard]] LocationField& location() { return m_field; }
    // The label at rest, whole (the field shows it cut with an ellipsis when it is too long to fit).
    [[nodiscard]] const std::string& restingLabel() const { return m_field.restingLabel(); }

    LocationWell(const LocationWell&) = delete;
    LocationWell& operator=(const LocationWell&) = delete;

    // The shield at the well's right end.
    [[nodiscard]] ShieldView& shield() const { return ShieldView::of(m_shield.get()); }

    // The icon, pill and tool tip around the field.
    [[nodiscard]] WellLook& look() { return m_look; }
    [[nodiscard]] GdkTexture* icon() const { return m_look.icon(); }
    [[nodiscard]] bool pill() const { return m_look.pill(); }
    [[nodiscard]] const std::string& help() const { return m_look.help(); }
    // The tool tip over the well (the shield has its own), if any.
    [[nodiscard]] std::optional<std::string> tooltip() const { return m_look.tooltip(); }

    // Called when the close box is pressed and released; while something is connected to it the well
    // shows the box.
    glib::Hook<void()> onClose;

    // The close box: shown in the icon's place while the pointer is over the well, and held down.
    [[nodiscard]] bool showsKill() const { return onClose && m_pointer.hovered() && !m_field.editing(); }
    [[nodiscard]] bool pressedKill() const { return m_pointer.pressedKill(); }
    // The inside of the well at its present size, in its own coordinates.
    [[nodiscard]] Rect closeHitArea() const { return interior().closeHit; }
    [[nodiscard]] Rect fieldFrame() const { return interior().field; }

    // The pointer over the well outside its field.
    [[nodiscard]] WellPointer& pointer() { return m_pointer; }

    void snapshot(GtkSnapshot* snapshot) const;
    void allocate(int width, int height);

private:
    friend struct LocationWellGlue;
    explicit LocationWell(GtkWidget* widget);
    void release();
    [[nodiscard]] WindowLayout::WellInterior interior() const;

    GtkWidget* m_widget;
    LocationField m_field;
    glib::GRefPtr<GtkWidget> m_shield; // a child of the well until it is released
    WellLook m_look;
    WellPointer m_pointer;
};

} // namespace nimb
