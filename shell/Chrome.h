#pragma once

// The controls a browser window keeps around its pages, below the tab strip: the band with the
// navigation buttons and the location field, and the status line with the progress indicator over
// the foot of the page area. The window talks to them only through this interface, so that the
// simple chrome can give way to the custom-drawn one without the window changing.

#include <gtk/gtk.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace nimb {

class Chrome {
public:
    // What the chrome asks of the window.
    struct Callbacks {
        std::function<void()> back;
        std::function<void()> forward;
        std::function<void()> reload; // the reload button: stop while loading, else reload
        // Return in the location field, with the field's text.
        std::function<void(const std::string&)> locationEntered;
        // The location field started (true) or stopped (false) being edited.
        std::function<void(bool)> editing;
    };

    // What the shield shows; the shield widget arrives with the custom chrome.
    struct Shield {
        bool isOn = true;
        std::int64_t count = 0;
        double heat = 0;

        bool operator==(const Shield&) const = default;
    };

    virtual ~Chrome() = default;

    // The band under the tab strip, and what lies over the foot of the page area.
    [[nodiscard]] virtual GtkWidget* bar() const = 0;
    [[nodiscard]] virtual GtkWidget* foot() const = 0;

    virtual void setStatus(std::string_view text) = 0;
    [[nodiscard]] virtual std::string status() const = 0;
    // 0 to 1; 0.001 or less shows nothing.
    virtual void setProgress(double value) = 0;
    virtual void setNavigation(bool canGoBack, bool canGoForward, bool loading) = 0;
    // Tool tips and titles in the current language.
    virtual void retitle() = 0;

    // The location field: what it shows while edited (`full`) and at rest (`resting`).
    virtual void setAddress(std::string_view full, std::string_view resting) = 0;
    [[nodiscard]] virtual bool editing() const = 0;
    virtual void focusLocation() = 0;
    [[nodiscard]] virtual GtkWidget* locationField() const = 0;

    virtual void setShield(const Shield& shield) = 0;
    virtual void setStealth(bool stealth) = 0;
};

// The chrome in its simplest working form: stock buttons, an entry and a label.
[[nodiscard]] std::unique_ptr<Chrome> makeSimpleChrome(Chrome::Callbacks callbacks);

} // namespace nimb
