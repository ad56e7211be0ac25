#include "app/MenuActions.h"

#include "app/Application.h"
#include "app/Commands.h"
#include "app/Menus.h"

#include <gtk/gtk.h>

namespace nimb {

void MenuActions::install() {
    m_stopped = false;
    GtkApplication* gtk = m_application.gtk();
    for (const Commands::Command& command : Commands::all()) {
        glib::GRefPtr<GSimpleAction> action;
        switch (command.kind) {
        case Commands::Command::Kind::plain:
            action = glib::adoptGRef(g_simple_action_new(command.name, nullptr));
            break;
        case Commands::Command::Kind::toggle:
            action = glib::adoptGRef(
                g_simple_action_new_stateful(command.name, nullptr, g_variant_new_boolean(FALSE)));
            break;
        case Commands::Command::Kind::chooser:
            action = glib::adoptGRef(
                g_simple_action_new_stateful(command.name, G_VARIANT_TYPE_STRING, g_variant_new_string("")));
            break;
        }
        m_connections.push_back(glib::connect<void(GSimpleAction*, GVariant*)>(
            action.get(), "activate", [this](GSimpleAction* a, GVariant* parameter) {
                run(g_action_get_name(G_ACTION(a)), parameter);
            }));
        g_action_map_add_action(G_ACTION_MAP(gtk), G_ACTION(action.get()));
        if (!command.accelerators.empty()) {
            std::string detailed = std::string("app.") + command.name;
            auto keys = command.accelerators.all();
            std::vector<const char*> accelerators;
            for (const auto& key : keys)
                accelerators.push_back(key.c_str());
            accelerators.push_back(nullptr);
            gtk_application_set_accels_for_action(gtk, detailed.c_str(), accelerators.data());
        }
    }
    validate();
    buildMenu();
}

void MenuActions::buildMenu() {
    auto model = glib::adoptGRef(Menus::model(Menus::bar()));
    if (!m_menubar) {
        m_menubar = glib::adoptGRef(g_menu_new());
        gtk_application_set_menubar(m_application.gtk(), G_MENU_MODEL(m_menubar.get()));
    }
    g_menu_remove_all(m_menubar.get());
    for (int index = 0; index < g_menu_model_get_n_items(model.get()); ++index) {
        auto item = glib::adoptGRef(g_menu_item_new_from_model(model.get(), index));
        g_menu_append_item(m_menubar.get(), item.get());
    }
}

void MenuActions::activate(const std::string& action, const std::optional<std::string>& target) {
    GVariant* parameter = target ? g_variant_new_string(target->c_str()) : nullptr;
    g_action_group_activate_action(G_ACTION_GROUP(m_application.gtk()), action.c_str(), parameter);
}

void MenuActions::run(const std::string& name, GVariant* parameter) {
    std::optional<std::string> value;
    if (parameter && g_variant_is_of_type(parameter, G_VARIANT_TYPE_STRING))
        value = g_variant_get_string(parameter, nullptr);
    if (const Commands::Command* command = Commands::find(name))
        command->run(m_application, m_application.windows().active(), value);
    scheduleValidate();
}

void MenuActions::scheduleValidate() {
    if (m_stopped || m_validate.pending()) return;
    m_validate = glib::Source::idle([this] { validate(); });
}

void MenuActions::stop() {
    m_stopped = true;
    m_validate.cancel();
}

void MenuActions::validate() {
    auto* group = G_ACTION_MAP(m_application.gtk());
    BrowserWindowController* window = m_application.windows().active();
    for (const Commands::Command& command : Commands::all()) {
        auto* action = G_SIMPLE_ACTION(g_action_map_lookup_action(group, command.name));
        if (!action) continue;
        if (command.checked)
            g_simple_action_set_state(action, g_variant_new_boolean(command.checked(m_application, window)));
        if (command.chosen)
            g_simple_action_set_state(action, g_variant_new_string(command.chosen(m_application).c_str()));
        if (command.enabled) g_simple_action_set_enabled(action, command.enabled(m_application, window));
    }
}

} // namespace nimb
