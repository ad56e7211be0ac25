#pragma once

// What the location well shows around its field, as the window sets it: the site's icon, the pill's
// corners in stealth, and the tool tip over the well. A change redraws the well, or looks again at
// its tool tip. (The shield is a widget of its own, ShieldView.)

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
    // The pill in stealth: its corner radius.
    void setPill(bool pill, double radius);
    [[nodiscard]] bool pill() const { return m_pill; }
    [[nodiscard]] double radius() const { return m_radius; }
    // The tool tip over the well; empty for none.
    void setHelp(std::string_view help);
    [[nodiscard]] const std::string& help() const { return m_help; }
    [[nodiscard]] std::optional<std::string> tooltip() const;

    // Lets go of the icon, which comes from outside.
    void release() { m_icon.reset(); }

private:
    GtkWidget* m_well;
    glib::GRefPtr<GdkTexture> m_icon;
    std::string m_help;
    bool m_pill = false;
    double m_radius = 0;
};

} // namespace nimb
