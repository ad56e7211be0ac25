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

void append(GMenu* menu, const std::string& title, const char* action,
            const std::optional<std::string>& address) {
    std::string detailed = std::string(actionPrefix) + "." + action;
    auto menuItem = glib::adoptGRef(g_menu_item_new(title.c_str(), nullptr));
    if (address)
        g_menu_item_set_action_and_target_value(menuItem.get(), detailed.c_str(),
                                                g_variant_new_string(address->c_str()));
    else
        g_menu_item_set_action_and_target_value(menuItem.get(), detailed.c_str(), nullptr);
    g_menu_append_item(menu, menuItem.get());
}

} // namespace

PersonalToolbar::PersonalToolbar() : m_widget(Panel::create("nimb-personal")) {
    auto& hooks = Panel::hooks(m_widget.get());
    m_connections.push_back(hooks.drawBelow.connect(
        [this](GtkSnapshot* snapshot, double width, double height) { draw(snapshot, width, height); }));
    m_connections.push_back(
        hooks.allocate.connect([this](int width, int height) { allocate(width, height); }));

    // The menus' commands, each with the bookmark's address where it needs one.
    m_actions = glib::adoptGRef(g_simple_action_group_new());
    struct Command {
        const char* name;
        bool takesAddress;
    };
    for (const auto& command :
         {Command{"remove-from-toolbar", true}, Command{"remove-entirely", true}, Command{"bookmarks", false},
          Command{"add-bookmark", false}, Command{"nimb-report", false}}) {
        auto action = glib::adoptGRef(
            g_simple_action_new(command.name, command.takesAddress ? G_VARIANT_TYPE_STRING : nullptr));
        m_connections.push_back(glib::connect<void(GSimpleAction*, GVariant*)>(
            action.get(), "activate", [this](GSimpleAction* a, GVariant* parameter) {
                std::optional<std::string> address;
                if (parameter && g_variant_is_of_type(parameter, G_VARIANT_TYPE_STRING))
                    address = g_variant_get_string(parameter, nullptr);
                activate(g_action_get_name(G_ACTION(a)), address);
            }));
        g_action_map_add_action(G_ACTION_MAP(m_actions.get()), G_ACTION(action.get()));
    }
    gtk_widget_insert_action_group(m_widget.get(), actionPrefix, G_ACTION_GROUP(m_actions.get()));

    // Secondary clicks, on the buttons and on the bar between them.
    GtkGesture* secondary = gtk_gesture_click_new();
    gtk_gesture_single_set_button(GTK_GESTURE_SINGLE(secondary), GDK_BUTTON_SECONDARY);
    m_connections.push_back(glib::connect<void(GtkGestureClick*, int, double, double)>(
        secondary, "pressed", [this](GtkGestureClick* gesture, int, double x, double y) {
            gtk_gesture_set_state(GTK_GESTURE(gesture), GTK_EVENT_SEQUENCE_CLAIMED);
            showMenu({x, y});
        }));
    gtk_widget_add_controller(m_widget.get(), GTK_EVENT_CONTROLLER(secondary));

    // Middle clicks on the buttons, as a middle click on a link: a new tab, behind the current one.
    GtkGesture* middle = gtk_gesture_click_new();
    gtk_gesture_single_set_button(GTK_GESTURE_SINGLE(middle), GDK_BUTTON_MIDDLE);
    m_connections.push_back(glib::connect<void(GtkGestureClick*, int, double, double)>(
        middle, "released", [this](GtkGestureClick* gesture, int, double x, double y) {
            auto index = buttonAt({x, y});
            if (!index || *index >= m_bookmarks.size()) return;
            gtk_gesture_set_state(GTK_GESTURE(gesture), GTK_EVENT_SEQUENCE_CLAIMED);
            onOpenInBackground(m_bookmarks[*index].address);
        }));
    gtk_widget_add_controller(m_widget.get(), GTK_EVENT_CONTROLLER(middle));
}

PersonalToolbar::~PersonalToolbar() {
    // The toolbar's widget may outlive it: what it put there goes with it.
    closeMenu();
    removeButtons();
}

std::vector<GtkWidget*> PersonalToolbar::buttons() const {
    std::vector<GtkWidget*> widgets;
    for (const auto& button : m_buttons)
        widgets.push_back(button.widget.get());
    return widgets;
}

void PersonalToolbar::removeButtons() {
    for (const auto& button : m_buttons) {
        if (gtk_widget_get_parent(button.widget.get()) == m_widget.get())
            gtk_widget_unparent(button.widget.get());
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
        m_buttons.push_back(
            {glib::GRefPtr<GtkWidget>(widget), button.onClick.connect([this, address] { onOpen(address); })});
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
        Panel::place(m_buttons[k].widget.get(), frames[k]);
    if (m_popover) gtk_popover_present(GTK_POPOVER(m_popover.get()));
}

void PersonalToolbar::draw(GtkSnapshot* snapshot, double width, double height) const {
    Drawing::fill(snapshot, Drawing::rect(0, 0, width, height), Drawing::Colours::face);
    if (m_bottomLine) Drawing::fill(snapshot, Drawing::rect(0, height - 1, width, 1), Drawing::Colours::line);
}

std::optional<std::size_t> PersonalToolbar::buttonAt(Point point) const {
    for (std::size_t k = 0; k < m_buttons.size(); ++k) {
        GtkWidget* button = m_buttons[k].widget.get();
        if (!gtk_widget_get_child_visible(button)) continue;
        graphene_rect_t bounds;
        if (!gtk_widget_compute_bounds(button, m_widget.get(), &bounds)) continue;
        graphene_point_t p = GRAPHENE_POINT_INIT(static_cast<float>(point.x), static_cast<float>(point.y));
        if (graphene_rect_contains_point(&bounds, &p)) return k;
    }
    return std::nullopt;
}

glib::GRefPtr<GMenuModel> PersonalToolbar::bookmarkMenu(std::size_t index) const {
    auto menu = glib::adoptGRef(g_menu_new());
    if (index < m_bookmarks.size()) {
        const std::string& address = m_bookmarks[index].address;
        auto changes = glib::adoptGRef(g_menu_new());
        append(changes.get(), words().removeFromToolbar(), "remove-from-toolbar", address);
        append(changes.get(), words().removeEntirely(), "remove-entirely", address);
        g_menu_append_section(menu.get(), nullptr, G_MENU_MODEL(changes.get()));
        auto elsewhere = glib::adoptGRef(g_menu_new());
        append(elsewhere.get(), words().bookmarks(), "bookmarks", std::nullopt);
        g_menu_append_section(menu.get(), nullptr, G_MENU_MODEL(elsewhere.get()));
    }
    return glib::GRefPtr<GMenuModel>(G_MENU_MODEL(menu.get()));
}

glib::GRefPtr<GMenuModel> PersonalToolbar::barMenu() const {
    auto menu = glib::adoptGRef(g_menu_new());
    append(menu.get(), words().addBookmark(), "add-bookmark", std::nullopt);
    append(menu.get(), words().bookmarks(), "bookmarks", std::nullopt);
    append(menu.get(), words().nimbReport(), "nimb-report", std::nullopt);
    return glib::GRefPtr<GMenuModel>(G_MENU_MODEL(menu.get()));
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
    m_menuClosed = glib::connect<void(GtkPopover*)>(popover, "closed", [this](GtkPopover* closed) {
        if (m_popover.get() != GTK_WIDGET(closed)) return;
        m_menuClosed.disconnect();
        // Taken down once the item it closed for has been carried out, whether or not the toolbar is
        // still there: the idle call holds the menu itself.
        g_idle_add_full(
            G_PRIORITY_DEFAULT,
            +[](gpointer widget) -> gboolean {
                GtkWidget* menu = GTK_WIDGET(widget);
                if (gtk_widget_get_parent(menu) && !gtk_widget_get_visible(menu)) gtk_widget_unparent(menu);
                return G_SOURCE_REMOVE;
            },
            g_object_ref(closed), g_object_unref);
        m_popover.reset();
    });
    gtk_popover_popup(popover);
}

void PersonalToolbar::closeMenu() {
    auto popover = std::exchange(m_popover, {});
    if (!popover) return;
    m_menuClosed.disconnect();
    if (gtk_widget_get_parent(popover.get()) == m_widget.get()) {
        gtk_popover_popdown(GTK_POPOVER(popover.get()));
        gtk_widget_unparent(popover.get());
    }
}

void PersonalToolbar::activate(const std::string& action, const std::optional<std::string>& address) {
    if (action == "remove-from-toolbar") {
        if (address) onRemoveFromToolbar(*address);
    } else if (action == "remove-entirely") {
        if (address) onRemove(*address);
    } else if (action == "bookmarks") {
        onShowBookmarks();
    } else if (action == "add-bookmark") {
        onAddBookmark();
    } else if (action == "nimb-report") {
        onNimbReport();
    }
}

} // namespace nimb
