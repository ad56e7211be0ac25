#include "app/Menus.h"

#include "app/Commands.h"

#include "location/SearchEngine.h"
#include "vocabulary/Language.h"

namespace nimb::Menus {

namespace {

// An item of a command of the table, with the command's accelerator.
Entry item(std::string title, std::string action) {
    const Commands::Command* command = Commands::find(action);
    std::string accelerator = command ? std::string(command->accelerators.shown()) : std::string();
    return {Entry::Kind::item, std::move(title), std::move(action), std::nullopt, std::move(accelerator), {}};
}

Entry chooser(std::string title, std::string action, std::string_view target) {
    return {Entry::Kind::item, std::move(title), std::move(action), std::string(target), {}, {}};
}

Entry separator() {
    return {Entry::Kind::separator, {}, {}, std::nullopt, {}, {}};
}

Entry submenu(std::string title, std::vector<Entry> children) {
    return {Entry::Kind::submenu, std::move(title), {}, std::nullopt, {}, std::move(children)};
}

GMenu* build(const std::vector<Entry>& entries) {
    GMenu* menu = g_menu_new();
    GMenu* section = g_menu_new();
    auto closeSection = [&] {
        if (g_menu_model_get_n_items(G_MENU_MODEL(section)) > 0)
            g_menu_append_section(menu, nullptr, G_MENU_MODEL(section));
        g_object_unref(section);
        section = g_menu_new();
    };
    for (const auto& entry : entries) {
        switch (entry.kind) {
        case Entry::Kind::separator:
            closeSection();
            break;
        case Entry::Kind::submenu: {
            GMenu* child = build(entry.children);
            g_menu_append_submenu(section, entry.title.c_str(), G_MENU_MODEL(child));
            g_object_unref(child);
            break;
        }
        case Entry::Kind::item: {
            std::string detailed = "app." + entry.action;
            GMenuItem* menuItem = g_menu_item_new(entry.title.c_str(), nullptr);
            if (entry.target)
                g_menu_item_set_action_and_target_value(menuItem, detailed.c_str(),
                                                        g_variant_new_string(entry.target->c_str()));
            else
                g_menu_item_set_detailed_action(menuItem, detailed.c_str());
            if (!entry.accelerator.empty())
                g_menu_item_set_attribute(menuItem, "accel", "s", entry.accelerator.c_str());
            g_menu_append_item(section, menuItem);
            g_object_unref(menuItem);
            break;
        }
        }
    }
    closeSection();
    g_object_unref(section);
    return menu;
}

} // namespace

std::vector<Entry> bar() {
    const Vocabulary& w = words();

    std::vector<Entry> engines;
    for (SearchEngine engine : allCases<SearchEngine>)
        engines.push_back(chooser(displayName(engine), "chooseEngine", rawValue(engine)));
    std::vector<Entry> languages;
    for (Language language : allCases<Language>)
        languages.push_back(chooser(std::string(endonym(language)), "chooseLanguage", rawValue(language)));

    // "Hide" has no meaning outside the Mac's application menu, so it is not here.
    Entry application = submenu(applicationName, {
                                                     item(w.about(applicationName), "about"),
                                                     separator(),
                                                     submenu(w.searchEngineMenu(), std::move(engines)),
                                                     submenu(w.languageMenu(), std::move(languages)),
                                                     separator(),
                                                     item(w.quit(applicationName), "quit"),
                                                 });

    Entry file = submenu(w.fileMenu(), {
                                           item(w.newTab(), "newTab"),
                                           item(w.newWindow(), "newWindow"),
                                           item(w.openLocation(), "openLocation"),
                                           separator(),
                                           submenu(w.settings(),
                                                   {
                                                       item(w.history(), "showHistory"),
                                                       separator(),
                                                       item(w.rememberHistory(), "toggleRememberHistory"),
                                                       item(w.clearHistoryMenu(), "clearHistory"),
                                                       item(w.clearSiteDataMenu(), "clearSiteData"),
                                                   }),
                                           separator(),
                                           item(w.printPage(), "printPage"),
                                           separator(),
                                           item(w.closeTab(), "closeTab"),
                                           item(w.closeWindow(), "closeWindow"),
                                           item(w.reopenClosedTab(), "reopenClosedTab"),
                                       });

    Entry edit = submenu(w.editMenu(), {
                                           item(w.cut(), "cut"),
                                           item(w.copy(), "copy"),
                                           item(w.paste(), "paste"),
                                           item(w.selectAll(), "selectAll"),
                                           separator(),
                                           item(w.findInPage(), "findInPage"),
                                           item(w.findNext(), "findNext"),
                                           item(w.findPrevious(), "findPrevious"),
                                       });

    Entry view = submenu(w.viewMenu(), {
                                           item(w.stealth(), "toggleStealth"),
                                           separator(),
                                           item(w.zoomIn(), "zoomIn"),
                                           item(w.zoomOut(), "zoomOut"),
                                           item(w.actualSize(), "actualSize"),
                                           separator(),
                                           item(w.javaScript(), "toggleJS"),
                                           item(w.blockAds(), "toggleBlocking"),
                                           item(w.forgetLocalStorage(), "toggleForgetStorage"),
                                           item(w.linksOnly(), "toggleLinksOnlySearch"),
                                           separator(),
                                           item(w.nimbReport(), "nimbReport"),
                                           item(w.savedReports(), "savedReports"),
                                           item(w.recordReports(), "toggleNimbReport"),
                                           separator(),
                                           item(w.addBookmark(), "addBookmark"),
                                           item(w.bookmarks(), "showBookmarks"),
                                           item(w.addToMarginalia(), "addToMarginalia"),
                                           item(w.marginalia(), "showMarginalia"),
                                       });

    Entry go = submenu(w.goMenu(), {
                                       item(w.back(), "goBack"),
                                       item(w.forward(), "goForward"),
                                       item(w.reload(), "reloadPage"),
                                       item(w.stop(), "stopLoading"),
                                       separator(),
                                       item(w.home(), "goHome"),
                                       separator(),
                                       item(w.nextTab(), "nextTab"),
                                       item(w.previousTab(), "previousTab"),
                                   });

    return {std::move(application), std::move(file), std::move(edit), std::move(view), std::move(go)};
}

GMenuModel* model(const std::vector<Entry>& menus) {
    GMenu* menubar = g_menu_new();
    for (const auto& menu : menus) {
        GMenu* child = build(menu.children);
        g_menu_append_submenu(menubar, menu.title.c_str(), G_MENU_MODEL(child));
        g_object_unref(child);
    }
    return G_MENU_MODEL(menubar);
}

} // namespace nimb::Menus
