#include "chrome/PersonalToolbar.h"

#include "chrome/Drawing.h"
#include "chrome/Panel.h"
#include "chrome/ToolButton.h"
#include "layout/WindowLayout.h"
#include "vocabulary/Language.h"

#include <utility>

namespace nimb {

namespace {

constexpr const char* actionPrefix = "personal";

// Calls a callback through a copy: what it does may rebuild the toolbar under it.
template <class Function, class... Arguments>
void notify(const Function& function, Arguments&&... arguments) {
    if (!function) return;
    Function call = function;
    call(std::forward<Arguments>(arguments)...);
}

GMenuItem* item(const std::string& title, const char* action, const std::optional<std::string>& address) {
    std::string detailed = std::string(actionPrefix) + "." + action;
    GMenuItem* menuItem = g_menu_item_new(title.c_str(), nullptr);
    if (address)
        g_menu_item_set_action_and_target_value(menuItem, detailed.c_str(),
                                                g_variant_new_string(address->c_str()));
    else
        g_menu_item_set_action_and_target_value(menuItem, detailed.c_str(), nullptr);
    return menuItem;
}

void append(GMenu* menu, GMenuItem* menuItem) {
    g_menu_append_item(menu, menuItem);
    g_object_unref(menuItem);
}

} // namespace

PersonalToolbar::PersonalToolbar() : m_widget(Panel::create("nimb-personal")) {
    Panel::Hooks hooks;
    hooks.drawBelow = [this](GtkSnapshot* snapshot, double width, double height) {
        draw(snapshot, width, height);
    };
    hooks.allocate = [this](int width, int height) { allocate(width, height); };
    Panel::setHooks(m_widget.get(), std::move(hooks));

    // The menus' commands, each with the bookmark's address where it needs one.
    m_actions = glib::adoptGRef(g_simple_action_group_new());
    struct Command {
        const char* name;
        bool takesAddress;
    };
    for (const auto& command :
         {Command{"remove-from-toolbar", true}, Command{"remove-entirely", true}, Command{"bookmarks", false},
          Command{"add-bookmark", false}, Command{"nimb-report", false}}) {
        GSimpleAction* action =
            g_simple_action_new(command.name, command.takesAddress ? G_VARIANT_TYPE_STRING : nullptr);
        g_signal_connect(action, "activate",
                         G_CALLBACK(+[](GSimpleAction* a, GVariant* parameter, gpointer data) {
                             auto* self = static_cast<PersonalToolbar*>(data);
                             std::optional<std::string> address;
                             if (parameter && g_variant_is_of_type(parameter, G_VARIANT_TYPE_STRING))
                                 address = g_variant_get_string(parameter, nullptr);
                             self->activate(g_action_get_name(G_ACTION(a)), address);
                         }),
                         this);
        g_action_map_add_action(G_ACTION_MAP(m_actions.get()), G_ACTION(action));
        g_object_unref(action);
    }
    gtk_widget_insert_action_group(m_widget.get(), actionPrefix, G_ACTION_GROUP(m_actions.get()));

    // Secondary clicks, on the buttons and on the bar between them.
    GtkGesture* secondary = gtk_gesture_click_new();
    gtk_gesture_single_set_button(GTK_GESTURE_SINGLE(secondary), GDK_BUTTON_SECONDARY);
    g_signal_connect(secondary, "pressed",
                     G_CALLBACK(+[](GtkGestureClick* gesture, int, double x, double y, gpointer data) {
                         gtk_gesture_set_state(GTK_GESTURE(gesture), GTK_EVENT_SEQUENCE_CLAIMED);
                         static_cast<PersonalToolbar*>(data)->showMenu({x, y});
                     }),
                     this);
    gtk_widget_add_controller(m_widget.get(), GTK_EVENT_CONTROLLER(secondary));
}

PersonalToolbar::~PersonalToolbar() {
    closeMenu();
    Panel::clearHooks(m_widget.get());
    GListModel* controllers = gtk_widget_observe_controllers(m_widget.get());
    for (guint k = 0; k < g_list_model_get_n_items(controllers); ++k) {
        auto* controller = static_cast<GObject*>(g_list_model_get_item(controllers, k));
        g_signal_handlers_disconnect_by_data(controller, this);
        g_object_unref(controller);
    }
    g_object_unref(controllers);
    gchar** names = g_action_group_list_actions(G_ACTION_GROUP(m_actions.get()));
    for (gchar** name = names; name && *name; ++name) {
        GAction* action = g_action_map_lookup_action(G_ACTION_MAP(m_actions.get()), *name);
        if (action) g_signal_handlers_disconnect_by_data(action, this);
    }
    g_strfreev(names);
    removeButtons();
}

std::vector<GtkWidget*> PersonalToolbar::buttons() const {
    std::vector<GtkWidget*> widgets;
    for (const auto& button : m_buttons)
        widgets.push_back(button.get());
    return widgets;
}

void PersonalToolbar::removeButtons() {
    for (const auto& button : m_buttons) {
        ToolButton::of(button.get()).onClick = nullptr;
        if (gtk_widget_get_parent(button.get()) == m_widget.get()) gtk_widget_unparent(button.get());
    }
    m_buttons.clear();
}

void PersonalToolbar::setBookmarks(std::vector<Bookmark> bookmarks) {
    closeMenu();
    removeButtons();
    m_titleWidths.clear();
    m_bookmarks = std::move(bookmarks);
    for (const auto& bookmark : m_bookmarks) {
        GtkWidget* widget = ToolButton::create(ToolButton::Look::compact);
        auto& button = ToolButton::of(widget);
        button.setTitle(bookmark.label(titleLimit));
        std::string address = bookmark.address;
        button.onClick = [this, address] { notify(onOpen, address); };
        m_buttons.emplace_back(widget);
        Panel::add(m_widget.get(), widget);
        m_titleWidths.push_back(button.titleWidth());
    }
    gtk_widget_queue_allocate(m_widget.get());
    gtk_widget_queue_draw(m_widget.get());
}

void PersonalToolbar::setBottomLine(bool bottomLine) {
    if (bottomLine == m_bottomLine) return;
    m_bottomLine = bottomLine;
    gtk_widget_queue_draw(m_widget.get());
}

void PersonalToolbar::allocate(int width, int) {
    auto frames = WindowLayout::bookmarkButtons(m_titleWidths, width);
    for (std::size_t k = 0; k < m_buttons.size() && k < frames.size(); ++k)
        Panel::place(m_buttons[k].get(), frames[k]);
    if (m_popover) gtk_popover_present(GTK_POPOVER(m_popover.get()));
}

void PersonalToolbar::draw(GtkSnapshot* snapshot, double width, double height) const {
    Drawing::fill(snapshot, Drawing::rect(0, 0, width, height), Drawing::Colours::face);
    if (m_bottomLine) Drawing::fill(snapshot, Drawing::rect(0, height - 1, width, 1), Drawing::Colours::line);
}

std::optional<std::size_t> PersonalToolbar::buttonAt(Point point) const {
    for (std::size_t k = 0; k < m_buttons.size(); ++k) {
        GtkWidget* button = m_buttons[k].get();
        if (!gtk_widget_get_child_visible(button)) continue;
        graphene_rect_t bounds;
        if (!gtk_widget_compute_bounds(button, m_widget.get(), &bounds)) continue;
        graphene_point_t p = GRAPHENE_POINT_INIT(static_cast<float>(point.x), static_cast<float>(point.y));
        if (graphene_rect_contains_point(&bounds, &p)) return k;
    }
    return std::nullopt;
}

glib::GRefPtr<GMenuModel> PersonalToolbar::bookmarkMenu(std::size_t index) const {
    GMenu* menu = g_menu_new();
    if (index < m_bookmarks.size()) {
        const std::string& address = m_bookmarks[index].address;
        GMenu* changes = g_menu_new();
        append(changes, item(words().removeFromToolbar(), "remove-from-toolbar", address));
        append(changes, item(words().removeEntirely(), "remove-entirely", address));
        g_menu_append_section(menu, nullptr, G_MENU_MODEL(changes));
        g_object_unref(changes);
        GMenu* elsewhere = g_menu_new();
        append(elsewhere, item(words().bookmarks(), "bookmarks", std::nullopt));
        g_menu_append_section(menu, nullptr, G_MENU_MODEL(elsewhere));
        g_object_unref(elsewhere);
    }
    return glib::adoptGRef(G_MENU_MODEL(menu));
}

glib::GRefPtr<GMenuModel> PersonalToolbar::barMenu() const {
    GMenu* menu = g_menu_new();
    append(menu, item(words().addBookmark(), "add-bookmark", std::nullopt));
    append(menu, item(words().bookmarks(), "bookmarks", std::nullopt));
    append(menu, item(words().nimbReport(), "nimb-report", std::nullopt));
    return glib::adoptGRef(G_MENU_MODEL(menu));
}

void PersonalToolbar::showMenu(Point point) {
    closeMenu();
    auto index = buttonAt(point);
    auto model = index ? bookmarkMenu(*index) : barMenu();
    m_popover = glib::GRefPtr<GtkWidget>(gtk_popover_menu_new_from_model(model.get()));
    GtkPopover* popover = GTK_POPOVER(m_popover.get());
    gtk_widget_set_parent(m_popover.get(), m_widget.get());
    gtk_popover_set_has_arrow(popover, FALSE);
    // Near the right end the menu opens to the left of the pointer, so that it stays over the window.
    bool rightHalf = point.x > gtk_widget_get_width(m_widget.get()) / 2.0;
    gtk_widget_set_halign(m_popover.get(), rightHalf ? GTK_ALIGN_END : GTK_ALIGN_START);
    GdkRectangle at{static_cast<int>(point.x), static_cast<int>(point.y), 1, 1};
    gtk_popover_set_pointing_to(popover, &at);
    gtk_popover_set_position(popover, GTK_POS_BOTTOM);
    g_signal_connect(popover, "closed", G_CALLBACK(+[](GtkPopover* closed, gpointer data) {
                         auto* self = static_cast<PersonalToolbar*>(data);
                         if (self->m_popover.get() != GTK_WIDGET(closed)) return;
                         g_signal_handlers_disconnect_by_data(closed, self);
                         // Taken down once the item it closed for has been carried out.
                         g_idle_add_full(
                             G_PRIORITY_DEFAULT,
                             +[](gpointer widget) -> gboolean {
                                 GtkWidget* menu = GTK_WIDGET(widget);
                                 if (gtk_widget_get_parent(menu) && !gtk_widget_get_visible(menu))
                                     gtk_widget_unparent(menu);
                                 return G_SOURCE_REMOVE;
                             },
                             g_object_ref(closed), g_object_unref);
                         self->m_popover.reset();
                     }),
                     this);
    gtk_popover_popup(popover);
}

void PersonalToolbar::closeMenu() {
    auto popover = std::exchange(m_popover, {});
    if (!popover) return;
    g_signal_handlers_disconnect_by_data(popover.get(), this);
    if (gtk_widget_get_parent(popover.get()) == m_widget.get()) {
        gtk_popover_popdown(GTK_POPOVER(popover.get()));
        gtk_widget_unparent(popover.get());
    }
}

void PersonalToolbar::activate(const std::string& action, const std::optional<std::string>& address) {
    if (action == "remove-from-toolbar") {
        if (address) notify(onRemoveFromToolbar, *address);
    } else if (action == "remove-entirely") {
        if (address) notify(onRemove, *address);
    } else if (action == "bookmarks") {
        notify(onShowBookmarks);
    } else if (action == "add-bookmark") {
        notify(onAddBookmark);
    } else if (action == "nimb-report") {
        notify(onNimbReport);
    }
}

} // namespace nimb
