#pragma once

// The list of the tabs the strip has no room for, in a bubble below the strip's caret: one row per
// hidden tab with its icon and label. A row picked with the pointer, or with the arrow keys and
// Return, closes the bubble and is handed to the window (`onPick`), which selects that tab.

#include "chrome/Bubble.h"
#include "glib/Connection.h"
#include "glib/GRefPtr.h"
#include "glib/Hook.h"
#include "layout/OverflowList.h"

#include <gtk/gtk.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace nimb {

class TabOverflow {
public:
    using Rect = Bubble::Rect;

    struct Item {
        std::int64_t index = 0; // the tab's
        std::string label;
        glib::GRefPtr<GdkTexture> icon; // none for no icon
    };

    // In `window`, hung from its content `host`.
    TabOverflow(GtkWindow* window, GtkWidget* host);
    TabOverflow(const TabOverflow&) = delete;
    TabOverflow& operator=(const TabOverflow&) = delete;

    // Lists the items below `rect` of `anchor`; with no items nothing shows.
    void show(std::vector<Item> items, GtkWidget* anchor, const Rect& rect);
    void close() { m_bubble->close(); }
    [[nodiscard]] bool isVisible() const { return m_bubble->isVisible(); }
    void setName(std::string_view name) { m_bubble->setName(name); }

    // The tab of the picked row.
    glib::Hook<void(std::int64_t)> onPick;

    [[nodiscard]] const std::vector<Item>& items() const { return m_items; }
    // What the list would like to be for its items; it is shown at most 460 high and scrolls.
    [[nodiscard]] OverflowList::Size wanted() const { return m_wanted; }
    [[nodiscard]] GtkListBox* list() const { return GTK_LIST_BOX(m_list); }
    [[nodiscard]] Bubble& bubble() const { return *m_bubble; }

private:
    void pick(int row);

    GtkWidget* m_list; // held by the scrolled window the bubble holds
    std::unique_ptr<Bubble> m_bubble;
    std::vector<Item> m_items;
    OverflowList::Size m_wanted;
    int m_pressedRow = -1; // the row the pointer went down on
    std::vector<glib::Connection> m_connections;
};

} // namespace nimb
