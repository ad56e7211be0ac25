#include "app/TabKeys.h"

#include <algorithm>

namespace nimb::TabKeys {

namespace {

// The modifiers a key combination is told apart by; lock keys and mouse buttons are not among them.
constexpr guint significant =
    GDK_SHIFT_MASK | GDK_CONTROL_MASK | GDK_ALT_MASK | GDK_SUPER_MASK | GDK_HYPER_MASK | GDK_META_MASK;

std::optional<int> digit(guint keyval) {
    if (keyval >= GDK_KEY_0 && keyval <= GDK_KEY_9) return static_cast<int>(keyval - GDK_KEY_0);
    if (keyval >= GDK_KEY_KP_0 && keyval <= GDK_KEY_KP_9) return static_cast<int>(keyval - GDK_KEY_KP_0);
    return std::nullopt;
}

} // namespace

std::optional<Command> decide(guint keyval, GdkModifierType state) {
    const guint flags = state & significant;
    if (flags == GDK_CONTROL_MASK) {
        if (auto n = digit(keyval); n && *n >= 1 && *n <= 9) return Command{Command::Kind::selectNumber, *n};
    }
    if (flags == 0 && keyval == GDK_KEY_Escape) return Command{Command::Kind::dismissFind};
    if (flags == GDK_CONTROL_MASK) {
        if (keyval == GDK_KEY_Page_Down || keyval == GDK_KEY_KP_Page_Down)
            return Command{Command::Kind::nextTab};
        if (keyval == GDK_KEY_Page_Up || keyval == GDK_KEY_KP_Page_Up)
            return Command{Command::Kind::previousTab};
    }
    const bool tab = keyval == GDK_KEY_Tab || keyval == GDK_KEY_ISO_Left_Tab || keyval == GDK_KEY_KP_Tab;
    if (tab && (flags & GDK_CONTROL_MASK) && !(flags & GDK_SUPER_MASK)) {
        const bool shift = (flags & GDK_SHIFT_MASK) || keyval == GDK_KEY_ISO_Left_Tab;
        return Command{shift ? Command::Kind::previousTab : Command::Kind::nextTab};
    }
    return std::nullopt;
}

std::optional<long> tabForNumber(int number, long count) {
    if (count < 2 || number < 1) return std::nullopt;
    if (number >= 9) return count - 1;
    return std::min<long>(number - 1, count - 1);
}

std::optional<long> nextTab(long current, long count) {
    if (count < 2) return std::nullopt;
    return (current + 1) % count;
}

std::optional<long> previousTab(long current, long count) {
    if (count < 2) return std::nullopt;
    return (current + count - 1) % count;
}

} // namespace nimb::TabKeys
