#pragma once

// What the page's context menu offers besides the engine's own items: "Add to Marginalia" after Copy,
// and at the end the bookmark, bookmarks, margin and report commands, in the current language.

#include "glib/Connection.h"
#include "glib/GRefPtr.h"

#include <gtk/gtk.h>
#include <webkit/webkit.h>

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

    // Adds the browser's items to a menu the engine is about to show.
    void extend(WebKitContextMenu* menu);

private:
    WindowContext& m_context;
    glib::GRefPtr<GSimpleActionGroup> m_actions;
    std::vector<glib::Connection> m_connections;
};

} // namespace nimb
