#pragma once

// The shield (`NimbShieldView`, a custom-drawn GTK widget with a C++ object behind it, a child of the
// location well at the well's right end): whether blocking is on, whether the page had anything
// blocked (a tick), how far the page reached (its colour, from the normal ink through yellow to
// red), and a pulse each time the count goes up. It is a button that opens the page's report: it
// acts on release with the pointer still on it, follows hover and press, and never takes the
// keyboard focus. In the pill of stealth it is drawn without its square, and only the circle
// centred in it answers the pointer; a press beside the circle is the well's.

#include "chrome/Glyphs.h"
#include "chrome/ShieldPulse.h"
#include "glib/Hook.h"
#include "glib/Source.h"
#include "layout/TabStrip.h"

#include <gtk/gtk.h>

#include <string>

G_BEGIN_DECLS
#define NIMB_TYPE_SHIELD_VIEW (nimb_shield_view_get_type())
G_DECLARE_FINAL_TYPE(NimbShieldView, nimb_shield_view, NIMB, SHIELD_VIEW, GtkWidget)
G_END_DECLS

namespace nimb {

class ShieldView {
public:
    using Point = TabStrip::Point;

    // A new shield widget (a floating reference) with its object.
    [[nodiscard]] static GtkWidget* create();
    [[nodiscard]] static ShieldView& of(GtkWidget* widget);
    [[nodiscard]] GtkWidget* widget() const { return m_widget; }

    ShieldView(const ShieldView&) = delete;
    ShieldView& operator=(const ShieldView&) = delete;

    // What the shield shows. A count that went up pulses; one that went down stops the pulse.
    void setLook(const Glyphs::ShieldLook& look);
    [[nodiscard]] const Glyphs::ShieldLook& look() const { return m_look; }
    void setInPill(bool inPill);
    [[nodiscard]] bool inPill() const { return m_inPill; }
    // The tool tip, which is also the name it goes by for assistive technologies.
    void setHelp(const std::string& help);

    // The pulse: at full strength (its timer started unless one runs), and stopped.
    void pulse();
    void stop();
    [[nodiscard]] double flash() const { return m_pulse.flash(); }
    [[nodiscard]] bool pulsing() const { return m_timer.pending(); }

    // Called on release with the pointer still on the shield.
    glib::Hook<void()> onClick;

    [[nodiscard]] bool hovered() const { return m_hovered; }
    [[nodiscard]] bool pressed() const { return m_pressed; }
    // Whether a point (in the shield's coordinates) is the shield's: anywhere in its bounds, or in the
    // pill only inside the circle as wide as the shield is high.
    [[nodiscard]] bool answers(Point point) const;
    // Pointer events, in the shield's coordinates, as its controllers deliver them.
    void mouseDown(Point point);
    void mouseUp(Point point);
    void mouseEntered();
    void mouseExited();

    void snapshot(GtkSnapshot* snapshot) const;

private:
    friend struct ShieldViewGlue;
    explicit ShieldView(GtkWidget* widget) : m_widget(widget) {}

    void tick();
    void redraw() const;

    GtkWidget* m_widget;
    Glyphs::ShieldLook m_look;
    bool m_inPill = false;
    std::string m_help;
    bool m_hovered = false;
    bool m_pressed = false;
    ShieldPulse m_pulse;
    glib::Source m_timer; // the pulse's next frame
};

} // namespace nimb
