#pragma once

// What the location well shows around its field, as the window sets it: the site's icon, the shield,
// the pill's corners in stealth, and the tool tips over the well and over the shield. A change
// redraws the well, or looks again at its tool tip.

#include "chrome/Glyphs.h"
#include "glib/GRefPtr.h"

#include <gtk/gtk.h>

#include <optional>
#include <string>
#include <string_view>

namespace nimb {

class WellLook {
public:
    // The look of the well widget `well`.
    explicit WellLook(GtkWidget* well) : m_well(well) {}

    WellLook(const WellLook&) = delete;
    WellLook& operator=(const WellLook&) = delete;

    // The site's icon (none shows an empty frame); the well keeps its own reference.
    void setIcon(GdkTexture* icon);
    [[nodiscard]] GdkTexture* icon() const { return m_icon.get(); }
    void setShield(const Glyphs::ShieldLook& shield);
    [[nodiscard]] const Glyphs::ShieldLook& shield() const { return m_shield; }
    // The pill in stealth: a corner radius, and the shield drawn without its own square.
    void setPill(bool pill, double radius);
    [[nodiscard]] bool pill() const { return m_pill; }
    [[nodiscard]] double radius() const { return m_radius; }
    // The tool tip over the well; empty for none. Over the shield, the shield's own.
    void setHelp(std::string_view help);
    void setShieldHelp(std::string_view help);
    [[nodiscard]] const std::string& help() const { return m_help; }
    // The tool tip at a point of the well over the shield, or elsewhere, if any.
    [[nodiscard]] std::optional<std::string> tooltip(bool overShield) const;

    // Lets go of the icon, which comes from outside.
    void release() { m_icon.reset(); }

private:
    GtkWidget* m_well;
    glib::GRefPtr<GdkTexture> m_icon;
    Glyphs::ShieldLook m_shield;
    std::string m_help;
    std::string m_shieldHelp;
    bool m_pill = false;
    double m_radius = 0;
};

} // namespace nimb
