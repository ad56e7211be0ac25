#pragma once

// The controls a browser window keeps around its pages: the tab strip's place at the top with the window's
// own buttons, the band with the navigation buttons, the location field and the stealth button, the personal
// toolbar of bookmarks, the page area with the tabs' views, and the status line with the progress well over
// the foot of the page. The window talks to them only through this interface; the chrome lays everything out
// itself, and tells the window what the user did through its callbacks.

#include "library/Bookmarks.h"

#include <gtk/gtk.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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
        // What typed text completes to, or none.
        std::function<std::optional<std::string>(std::string_view)> completion;
        // The stealth button.
        std::function<void()> toggleStealth;
        // The close box of the location pill in stealth: close the current tab.
        std::function<void()> closeCurrent;
        // The personal toolbar: load a bookmark's address in the current tab, take it off the toolbar, remove
        // it; and the toolbar's own menu.
        std::function<void(const std::string&)> openBookmark;
        // A bookmark's address in a new tab behind the current one.
        std::function<void(const std::string&)> openBookmarkInBackground;
        std::function<void(const std::string&)> removeFromToolbar;
        std::function<void(const std::string&)> removeBookmark;
        std::function<void()> showBookmarks;
        std::function<void()> addBookmark;
        std::function<void()> showNimbReport;
        // The shield: open the page's report popover, or close it when it is open.
        std::function<void()> toggleReportPopover;
    };

    // What the shield shows.
    struct Shield {
        bool isOn = true;
        std::int64_t count = 0;
        double heat = 0;
        // When nothing was blocked for the page (blocking off, or started after the page did): the
        // requests the blocklist names, which got through.
        std::optional<std::int64_t> through = std::nullopt;

        bool operator==(const Shield&) const = default;
    };

    virtual ~Chrome() = default;

    // The window's content: the strip, the bands and the page area, each in its place.
    [[nodiscard]] virtual GtkWidget* root() const = 0;

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
    // What the user typed into the field and has not sent: none unless the field is being edited and
    // holds something other than the page's address.
    [[nodiscard]] virtual std::optional<std::string> typedText() const = 0;
    // Takes typing up again: the field is edited and holds `text`, the caret at its end.
    virtual void resumeTyping(const std::string& text) = 0;
    [[nodiscard]] virtual GtkWidget* locationField() const = 0;

    virtual void setShield(const Shield& shield) = 0;
    // The shield, for the report popover to hang from.
    [[nodiscard]] virtual GtkWidget* shieldWidget() const = 0;
    virtual void setStealth(bool stealth) = 0;
    // The current page's site icon for the location well; none for no icon.
    virtual void setIcon(GdkTexture* icon) = 0;
    // The personal toolbar's bookmarks, in order.
    virtual void setBookmarks(std::vector<Bookmark> bookmarks) = 0;
    // Lays everything out again (the strip's tabs changed, and with them the pill's place).
    virtual void relayout() = 0;

    // The find bar, given once (it is made when first opened): it floats over the foot of the page area,
    // below the status line, `slide` of the way in (0 wholly below the window, 1 resting on its bottom
    // edge); none hides it.
    virtual void setFindBar(GtkWidget* bar) = 0;
    virtual void setFindSlide(std::optional<double> slide) = 0;
    // The margin panel at the right of the page area: its widget, once it has been built (none before),
    // and whether it is open. While open it stands where the layout puts it, and the page area is that
    // much narrower; too narrow a window hides it.
    virtual void setMargin(GtkWidget* panel, bool open) = 0;
    // The notice band under the toolbars, as high as its text needs; none takes it away.
    virtual void setNotice(GtkWidget* bar) = 0;
};

// The custom-drawn chrome around a window's tab strip and its page area (whose children are the tabs' views).
[[nodiscard]] std::unique_ptr<Chrome> makeChrome(Chrome::Callbacks callbacks, GtkWidget* strip,
                                                 GtkWidget* pages);

} // namespace nimb
