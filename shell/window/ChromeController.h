#pragma once

// The window's chrome kept in step with its tabs: the tab strip's labels, icons and tips, the window's
// title, the location field (what it shows at rest and while edited), the navigation buttons, the
// progress well, the personal toolbar's bookmarks, and stealth. It owns the chrome's widgets and turns
// what the user does to them into calls on the window's other controllers.

#include "chrome/Chrome.h"
#include "chrome/TabStripView.h"
#include "glib/Connection.h"
#include "glib/GRefPtr.h"

#include <gtk/gtk.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace nimb {

class Tab;
class WindowContext;

class ChromeController {
public:
    // Builds the chrome around `pages`, the page area that holds the tabs' views.
    ChromeController(WindowContext& context, GtkWidget* pages);
    ~ChromeController();
    ChromeController(const ChromeController&) = delete;
    ChromeController& operator=(const ChromeController&) = delete;

    [[nodiscard]] Chrome& view() const { return *m_chrome; }
    [[nodiscard]] TabStripView& strip() const;
    // The window's content: strip, bands and page area.
    [[nodiscard]] GtkWidget* root() const { return m_chrome->root(); }

    // Everything that shows the current tab, after a change of tab.
    void showCurrentTab();
    void syncTitle();
    void syncStrip();
    void syncNavigation();
    // The current tab's progress in the well (nothing while it is not loading).
    void syncProgress();
    // The personal toolbar's buttons, from the stored bookmarks.
    void rebuildBookmarks();
    void retitle();

    // The location field: the full address it offers for editing, and the label it shows at rest.
    [[nodiscard]] const std::string& fullAddress() const { return m_fullAddress; }
    // Shows `address` as the current page's unless the user is editing the field.
    void showAddress(std::string address);
    void redrawAddress();
    [[nodiscard]] std::string restingLabel() const;
    [[nodiscard]] bool editing() const { return m_editing; }
    void focusLocation();
    // What was typed into the field and not sent, and taking it up again (see Chrome).
    [[nodiscard]] std::optional<std::string> typedText() const { return m_chrome->typedText(); }
    void resumeTyping(const std::string& text) { m_chrome->resumeTyping(text); }

    [[nodiscard]] bool stealth() const { return m_stealth; }
    void setStealth(bool on);

private:
    Chrome::Callbacks callbacks();

    WindowContext& m_context;
    glib::GRefPtr<GtkWidget> m_strip; // held, so that the strip outlives the window's teardown
    std::unique_ptr<Chrome> m_chrome;
    std::string m_fullAddress;
    bool m_editing = false;
    bool m_stealth = false;
    std::vector<glib::Connection> m_connections; // to the strip's hooks; declared last, so they go first
};

} // namespace nimb
