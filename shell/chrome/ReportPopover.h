#pragma once

// The report popover: the report page drawn for a panel, in a bubble below the shield. Its web view
// runs no script of the page's, and never leaves the page it was given: a link followed in it closes
// the bubble and is handed to the window (`onOpen`), which decides what it means.

#include "chrome/Bubble.h"
#include "engine/PanelPage.h"
#include "glib/Connection.h"
#include "glib/GRefPtr.h"
#include "glib/Hook.h"

#include <webkit/webkit.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace nimb {

class ReportPopover {
public:
    static constexpr double width = 380;
    static constexpr double height = 470;

    // In `window`, hung from its content `host`, showing its pages in `web` (a new web view for the
    // browser's own pages, taken over).
    ReportPopover(GtkWindow* window, GtkWidget* host, GtkWidget* web);
    ~ReportPopover();
    ReportPopover(const ReportPopover&) = delete;
    ReportPopover& operator=(const ReportPopover&) = delete;

    // Draws the panel's page, the bubble shown below the whole of `anchor` if it is not showing.
    void present(std::string_view html, GtkWidget* anchor);
    void close() { m_bubble->close(); }
    [[nodiscard]] bool isVisible() const { return m_bubble->isVisible(); }
    void setName(std::string_view name) { m_bubble->setName(name); }

    // A followed link's address.
    glib::Hook<void(const std::string&)> onOpen;

    [[nodiscard]] WebKitWebView* web() const { return m_page.view(); }
    [[nodiscard]] Bubble& bubble() const { return *m_bubble; }

private:
    void loaded();

    PanelPage m_page;
    glib::GRefPtr<GCancellable> m_painting; // waiting for the page given last to be painted
    std::unique_ptr<Bubble> m_bubble;
    std::vector<glib::Connection> m_connections;
};

} // namespace nimb
