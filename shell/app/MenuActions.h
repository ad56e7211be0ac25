#pragma once

// The command table made real: one application action per command (stateful for toggles and choosers)
// with its accelerator, the menu bar built from the menus' plain description, and the check marks and
// enabled states kept up to date — on demand, and on the next turn of the main loop after anything
// that may change them.

#include "glib/Connection.h"
#include "glib/GRefPtr.h"
#include "glib/Source.h"

#include <gio/gio.h>

#include <optional>
#include <string>
#include <vector>

namespace nimb {

class Application;

class MenuActions {
public:
    explicit MenuActions(Application& application) : m_application(application) {}

    // Registers the actions and their accelerators, and builds the menu bar.
    void install();
    // Fills the one menu bar model again, in the current language: windows keep the model they were
    // given and would not see a new one.
    void buildMenu();
    // Carries out a command by its action name, as the menu item or accelerator would.
    void activate(const std::string& action, const std::optional<std::string>& target = std::nullopt);
    void validate();
    void scheduleValidate();
    // Nothing is scheduled any more (the run is ending).
    void stop();

private:
    void run(const std::string& action, GVariant* parameter);

    Application& m_application;
    glib::GRefPtr<GMenu> m_menubar;
    std::vector<glib::Connection> m_connections;
    glib::Source m_validate;
    bool m_stopped = true; // until installed
};

} // namespace nimb
