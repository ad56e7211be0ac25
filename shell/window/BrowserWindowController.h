#pragma once

// One browser window: the toolkit's window and the controllers that fill it (WindowContext). It
// builds them, shows the window on its first page, asks before closing a window of several tabs, and
// lets everything go when the window is destroyed. The application keeps every open window in its
// list; everything asynchronous holds the window weakly and does nothing once it has closed.

#include "base/Url.h"
#include "glib/Connection.h"

#include <gtk/gtk.h>

#include <memory>
#include <optional>
#include <vector>

namespace nimb {

class Application;
class WindowContext;

class BrowserWindowController : public std::enable_shared_from_this<BrowserWindowController> {
    struct Passkey {};

public:
    // The controller of a window, if it is one of ours.
    [[nodiscard]] static BrowserWindowController* of(GtkWindow* window);
    // Makes a window with one tab showing the address, or the home page without one, hands it to the
    // application's list of windows and shows it.
    static BrowserWindowController& make(Application& application, const std::optional<Url>& address);

    BrowserWindowController(Passkey, Application& application);
    ~BrowserWindowController();
    BrowserWindowController(const BrowserWindowController&) = delete;
    BrowserWindowController& operator=(const BrowserWindowController&) = delete;

    [[nodiscard]] GtkWindow* window() const { return m_window; }
    [[nodiscard]] Application& application() const { return m_application; }
    [[nodiscard]] WindowContext& context() const { return *m_context; }

    // Closes the window as its close button does: with two or more tabs, after asking.
    void performClose();
    // Whether the window asks whether to close, just now.
    [[nodiscard]] bool asking() const { return m_asking; }
    // Everything a language change touches: the chrome's words, and the generated pages drawn again.
    void languageChanged();

private:
    void build();
    // The keys the menus do not carry (TabKeys); true when the key was used.
    bool tabKey(guint keyval, GdkModifierType state);
    bool shouldClose();
    void willClose();

    Application& m_application;
    GtkWindow* m_window = nullptr; // held by GTK's list of windows until it is destroyed
    std::shared_ptr<WindowContext> m_context;
    std::vector<glib::Connection> m_connections;
    bool m_closing = false;
    bool m_asking = false;
    bool m_tabsAgreed = false;
};

} // namespace nimb
