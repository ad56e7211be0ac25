#pragma once

// What the page's context menu offers besides the engine's own items: on a link, "Open Link in New
// Tab" (a tab behind the current one, as a middle click opens) before the engine's "Open Link in New
// Window"; "Add to Marginalia" after Copy; and at the end the bookmark, bookmarks, margin and report
// commands, in the current language.

#include "glib/Connection.h"
#include "glib/GRefPtr.h"

#include <gtk/gtk.h>
#include <webkit/webkit.h>

#include <optional>
#include <string>
#include <vector>

namespace nimb {

class WindowContext;

class PageContextMenu {
public:
    // Installs the menu's actions on the window as the "page" group.
    PageContextMenu(WindowContext& context, GtkWindow* window);
    ~PageContextMenu();
    PageContextMenu(const PageContextMenu&) = delete;
    PageContextMenu& operator=(const PageContextMenu&) = delete;

    // Adds the browser's items to a menu the engine is about to show for what `hit` names.
    void extend(WebKitContextMenu* menu, WebKitHitTestResult* hit);

private:
    WindowContext& m_context;
    glib::GRefPtr<GSimpleActionGroup> m_actions;
    // The link the last menu was opened on, for its "Open Link in New Tab".
    std::optional<std::string> m_link;
    std::vector<glib::Connection> m_connections;
};

} // namespace nimb
