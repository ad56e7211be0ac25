#pragma once

// Every command of the menus and their keys, in one table: its action name, its kind, its accelerator,
// what it does and when it is enabled or checked. The menu bar names its items' commands from here,
// and the application registers one action and one accelerator per row, so the three cannot drift.
// A command acts on the front window (the active one, else the last opened) or, for the settings, on
// every window through the application.

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace nimb {

class Application;
class BrowserWindowController;

namespace Commands {

struct Command {
    enum class Kind {
        plain,
        toggle,  // carries a check mark
        chooser, // carries the raw value of the chosen item (a search engine, a language)
    };

    // In GTK's accelerator syntax ("<Control>t"): the one the menu shows, then up to two more that
    // do the same (the keys other browsers have taught hands); empty for none.
    struct Accelerators {
        constexpr Accelerators() = default;
        constexpr Accelerators(const char* shown) : keys{shown} {}
        constexpr Accelerators(const char* shown, const char* also, const char* more = "")
            : keys{shown, also, more} {}

        [[nodiscard]] constexpr std::string_view shown() const { return keys[0]; }
        [[nodiscard]] constexpr bool empty() const { return keys[0].empty(); }
        // Every one given, the shown one first.
        [[nodiscard]] std::vector<std::string> all() const {
            std::vector<std::string> out;
            for (std::string_view key : keys) {
                if (!key.empty()) out.emplace_back(key);
            }
            return out;
        }

        std::array<std::string_view, 3> keys{};
    };

    const char* name;
    Kind kind = Kind::plain;
    Accelerators accelerators;
    // `front` is the front window, if any; `value` the chooser's raw value.
    void (*run)(Application& application, BrowserWindowController* front,
                const std::optional<std::string>& value);
    // When none, always enabled.
    bool (*enabled)(const Application& application, BrowserWindowController* front) = nullptr;
    // A toggle's check mark.
    bool (*checked)(const Application& application, BrowserWindowController* front) = nullptr;
    // A chooser's chosen raw value.
    std::string (*chosen)(const Application& application) = nullptr;
};

// Every command, in menu order.
[[nodiscard]] std::span<const Command> all();
// The command of an action name; none for a name that is not one.
[[nodiscard]] const Command* find(std::string_view name);

} // namespace Commands

} // namespace nimb
