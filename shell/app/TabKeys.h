#pragma once

// The keys the menus do not carry, seen before anything in the window: Ctrl with a digit selects a
// tab by number, Ctrl+Tab and Ctrl+Page Down move to the next tab, Ctrl+Shift+Tab and Ctrl+Page Up to
// the previous one, and Escape closes the find bar. What a key press means is decided here without the
// window, so it can be tested alone.

#include <gdk/gdk.h>

#include <optional>

namespace nimb::TabKeys {

struct Command {
    enum class Kind {
        selectNumber, // select the tab with this number (1 to 9)
        nextTab,
        previousTab,
        dismissFind, // swallowed only when the find bar was open to close
    };

    Kind kind;
    int number = 0;

    bool operator==(const Command&) const = default;
};

// The command a key press carries; none passes it on. `state` is the event's modifier state.
[[nodiscard]] std::optional<Command> decide(guint keyval, GdkModifierType state);

// The tab to select for Ctrl with digit `number` in a window of `count` tabs with `current` selected;
// none when nothing changes hands (fewer than two tabs). 9 always means the last tab.
[[nodiscard]] std::optional<long> tabForNumber(int number, long count);
// The tab after or before `current`, wrapping; none with fewer than two tabs.
[[nodiscard]] std::optional<long> nextTab(long current, long count);
[[nodiscard]] std::optional<long> previousTab(long current, long count);

} // namespace nimb::TabKeys
