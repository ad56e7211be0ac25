#pragma once

// Every command of the menus and their keys, in one table: its action name, its kind, its accelerator,
// what it does and when it is enabled or checked. The menu bar names its items' commands from here,
// and the application registers one action and one accelerator per row, so the three cannot drift.
// A command acts on the front window (the active one, else the last opened) or, for the settings, on
// every window through the application.

#include <optional>
#include <span>
#include <string>
#include <string_view>

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

    const char* name;
    Kind kind = Kind::plain;
    // In GTK's accelerator syntax ("<Control>t"); empty for none.
    std::string_view accelerator;
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
