#pragma once

// The menu bar: its menus, their items in order with their titles in the current language, the
// command each item sends (Commands) and that command's accelerator. Built as plain data first, so that what
// the menus say can be read and checked without a display, then turned into the GMenuModel the application
// shows.

#include <gio/gio.h>

#include <optional>
#include <string>
#include <vector>

namespace nimb::Menus {

// The name the application menu and the window title carry.
inline constexpr const char* applicationName = "The NIMB 2000";

struct Entry {
    enum class Kind {
        item,
        separator,
        submenu,
    };

    Kind kind = Kind::item;
    std::string title;
    // The action's name in the application's action group ("newTab"); empty for separators and
    // submenus.
    std::string action;
    // The value a chooser item sends (a search engine's or a language's raw value).
    std::optional<std::string> target;
    // In GTK's accelerator syntax ("<Control>t"); empty for none.
    std::string accelerator;
    std::vector<Entry> children;

    bool operator==(const Entry&) const = default;
};

// The menus of the bar, in order, in the current language.
[[nodiscard]] std::vector<Entry> bar();

// The bar as a menu model for the application; separators become sections. A new full reference.
[[nodiscard]] GMenuModel* model(const std::vector<Entry>& menus);

} // namespace nimb::Menus
