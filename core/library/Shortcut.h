#pragma once

#include "base/Enumeration.h"

#include <string>
#include <string_view>

namespace nimb {

// A key combination that a generated page may name and press through a `nimb://press` link, without
// knowing the menus.
enum class Shortcut {
    find,
    marginalia,
    bookmarks,
};

[[nodiscard]] constexpr std::string_view rawValue(Shortcut shortcut) {
    switch (shortcut) {
    case Shortcut::find:
        return "find";
    case Shortcut::marginalia:
        return "marginalia";
    case Shortcut::bookmarks:
        return "bookmarks";
    }
    return {};
}

template <>
inline constexpr auto allCases<Shortcut> =
    std::array{Shortcut::find, Shortcut::marginalia, Shortcut::bookmarks};

// The key combination as the user sees it; the menus' accelerators use Ctrl.
[[nodiscard]] constexpr std::string_view keys(Shortcut shortcut) {
    switch (shortcut) {
    case Shortcut::find:
        return "Ctrl+F";
    case Shortcut::marginalia:
        return "Ctrl+M";
    case Shortcut::bookmarks:
        return "Ctrl+B";
    }
    return {};
}

// The menu word of the command in the current language, without its ellipsis ("Find in Page").
[[nodiscard]] std::string name(Shortcut shortcut);

} // namespace nimb
