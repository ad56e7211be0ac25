#include "window/PageContextMenu.h"

#include "base/Url.h"
#include "vocabulary/Language.h"
#include "window/MarginController.h"
#include "window/Navigator.h"
#include "window/RecordActions.h"
#include "window/ReportRequests.h"
#include "window/TabList.h"
#include "window/WindowContext.h"

#include <functional>
#include <string>

namespace nimb {

PageContextMenu::PageContextMenu(WindowContext& context, GtkWindow* window)
    : m_context(context), m_actions(glib::adoptGRef(g_simple_action_group_new())) {
    struct PageAction {
        const char* name;
        std::function<void(WindowContext&)> run;
    };
    const PageAction actions[] = {
        {"openLinkInNewTab",
         [this](WindowContext& c) {
             auto url = m_link ? Url::parse(*m_link) : std::nullopt;
             if (url) c.navigator().load(*url, c.tabs().add(true));
         }},
        {"addBookmark", [](WindowContext& c) { c.records().addBookmark(); }},
        {"showBookmarks", [](WindowContext& c) { c.navigator().showBookmarks(); }},
        {"showMarginalia", [](WindowContext& c) { c.margin().toggle(); }},
        {"addToMarginalia", [](WindowContext& c) { c.records().addToMarginalia(); }},
        {"nimbReport",
         [](WindowContext& c) {
             if (Tab* tab = c.tabs().currentTab()) c.reports().show(*tab);
         }},
    };
    for (const auto& each : actions) {
        auto action = glib::adoptGRef(g_simple_action_new(each.name, nullptr));
        m_connections.push_back(glib::connect<void(GSimpleAction*, GVariant*)>(
            action.get(), "activate", [this, run = each.run](GSimpleAction*, GVariant*) { run(m_context); }));
        g_action_map_add_action(G_ACTION_MAP(m_actions.get()), G_ACTION(action.get()));
    }
    gtk_widget_insert_action_group(GTK_WIDGET(window), "page", G_ACTION_GROUP(m_actions.get()));
}

PageContextMenu::~PageContextMenu() = default;

void PageContextMenu::extend(WebKitContextMenu* menu, WebKitHitTestResult* hit) {
    // Nothing a page serves is saved: the engine's items that would save a link or a medium go.
    for (GList* item = webkit_context_menu_get_items(menu); item;) {
        auto* menuItem = WEBKIT_CONTEXT_MENU_ITEM(item->data);
        item = item->next;
        switch (webkit_context_menu_item_get_stock_action(menuItem)) {
        case WEBKIT_CONTEXT_MENU_ACTION_DOWNLOAD_LINK_TO_DISK:
        case WEBKIT_CONTEXT_MENU_ACTION_DOWNLOAD_IMAGE_TO_DISK:
        case WEBKIT_CONTEXT_MENU_ACTION_DOWNLOAD_VIDEO_TO_DISK:
        case WEBKIT_CONTEXT_MENU_ACTION_DOWNLOAD_AUDIO_TO_DISK:
            webkit_context_menu_remove(menu, menuItem);
            break;
        default:
            break;
        }
    }
    GAction* addBookmarkAction = g_action_map_lookup_action(G_ACTION_MAP(m_actions.get()), "addBookmark");
    GList* items = webkit_context_menu_get_items(menu);
    for (GList* item = items; item; item = item->next) {
        if (webkit_context_menu_item_get_gaction(WEBKIT_CONTEXT_MENU_ITEM(item->data)) == addBookmarkAction)
            return;
    }
    auto entry = [this](const char* name, const std::string& title) {
        GAction* action = g_action_map_lookup_action(G_ACTION_MAP(m_actions.get()), name);
        return webkit_context_menu_item_new_from_gaction(action, title.c_str(), nullptr);
    };
    const char* link = hit && webkit_hit_test_result_context_is_link(hit)
                           ? webkit_hit_test_result_get_link_uri(hit)
                           : nullptr;
    m_link = link && *link ? std::optional<std::string>(link) : std::nullopt;
    if (m_link) {
        // Before the engine's "Open Link in New Window", else after its "Open Link", else first.
        gint at = 0;
        gint position = 0;
        for (GList* item = items; item; item = item->next, ++position) {
            auto action = webkit_context_menu_item_get_stock_action(WEBKIT_CONTEXT_MENU_ITEM(item->data));
            if (action == WEBKIT_CONTEXT_MENU_ACTION_OPEN_LINK_IN_NEW_WINDOW) {
                at = position;
                break;
            }
            if (action == WEBKIT_CONTEXT_MENU_ACTION_OPEN_LINK) at = position + 1;
        }
        webkit_context_menu_insert(menu, entry("openLinkInNewTab", words().openLinkInNewTab()), at);
        items = webkit_context_menu_get_items(menu);
    }
    gint position = 0;
    for (GList* item = items; item; item = item->next, ++position) {
        auto* menuItem = WEBKIT_CONTEXT_MENU_ITEM(item->data);
        if (webkit_context_menu_item_get_stock_action(menuItem) == WEBKIT_CONTEXT_MENU_ACTION_COPY) {
            webkit_context_menu_insert(menu, entry("addToMarginalia", words().addToMarginalia()),
                                       position + 1);
            break;
        }
    }
    guint count = webkit_context_menu_get_n_items(menu);
    WebKitContextMenuItem* last =
        count > 0 ? webkit_context_menu_get_item_at_position(menu, count - 1) : nullptr;
    if (!last || !webkit_context_menu_item_is_separator(last))
        webkit_context_menu_append(menu, webkit_context_menu_item_new_separator());
    webkit_context_menu_append(menu, entry("addBookmark", words().addBookmark()));
    webkit_context_menu_append(menu, entry("showBookmarks", words().bookmarks()));
    webkit_context_menu_append(menu, entry("showMarginalia", words().marginalia()));
    webkit_context_menu_append(menu, entry("nimbReport", words().nimbReport()));
}

} // namespace nimb
