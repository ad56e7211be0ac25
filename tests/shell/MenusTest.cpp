// What the menu bar says and sends, and what the tab keys mean.

#include "app/Menus.h"
#include "app/Commands.h"
#include "app/TabKeys.h"
#include "location/SearchEngine.h"
#include "vocabulary/Language.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <algorithm>

namespace nimb {
namespace {

std::vector<std::string> titles(const std::vector<Menus::Entry>& entries) {
    std::vector<std::string> out;
    for (const auto& entry : entries)
        out.push_back(entry.kind == Menus::Entry::Kind::separator ? "-" : entry.title);
    return out;
}

TEST(MenusTest, theBarHoldsItsMenusAndItemsInOrderAndTheChoosersTheirValues) {
    setCurrentLanguage(Language::english);
    auto bar = Menus::bar();
    EXPECT_EQ(titles(bar), (std::vector<std::string>{"The NIMB 2000", "File", "Edit", "View", "Go"}));
    EXPECT_EQ(titles(bar.at(0).children),
              (std::vector<std::string>{"About The NIMB 2000", "-", "Search Engine", "Language", "-",
                                        "Quit The NIMB 2000"}));
    EXPECT_EQ(titles(bar.at(1).children),
              (std::vector<std::string>{"New Tab", "New Window", "Open Location...", "-", "Settings", "-",
                                        "Print...", "-", "Close Tab", "Close Window", "Reopen Closed Tab"}));
    EXPECT_EQ(titles(bar.at(1).children.at(4).children),
              (std::vector<std::string>{"History", "-", "Remember History", "Clear History...",
                                        "Clear Cookies and Site Data..."}));
    EXPECT_EQ(titles(bar.at(2).children),
              (std::vector<std::string>{"Cut", "Copy", "Paste", "Select All", "-", "Find in Page...",
                                        "Find Next", "Find Previous"}));
    EXPECT_EQ(titles(bar.at(3).children),
              (std::vector<std::string>{"Stealth", "-", "Zoom In", "Zoom Out", "Actual Size", "-",
                                        "JavaScript", "Block Ads and Consent Walls", "Forget Local Storage",
                                        "Ask Google for Links Only", "-", "NIMB Report", "Saved Reports",
                                        "Record NIMB Reports", "-", "Add Bookmark", "Bookmarks",
                                        "Add to Marginalia", "Marginalia"}));
    EXPECT_EQ(titles(bar.at(4).children),
              (std::vector<std::string>{"Back", "Forward", "Reload", "Stop", "-", "Home", "-", "Next Tab",
                                        "Previous Tab"}));

    // The choosers carry their values.
    const auto& engines = bar.at(0).children.at(2).children;
    ASSERT_EQ(engines.size(), allCases<SearchEngine>.size());
    for (std::size_t i = 0; i < engines.size(); ++i) {
        EXPECT_EQ(engines[i].action, "chooseEngine");
        EXPECT_EQ(engines[i].target, std::string(rawValue(allCases<SearchEngine>[i])));
        EXPECT_EQ(engines[i].title, displayName(allCases<SearchEngine>[i]));
    }
    EXPECT_EQ(engines.back().title, "None \u2014 URLs only");
    const auto& languages = bar.at(0).children.at(3).children;
    EXPECT_EQ(titles(languages),
              (std::vector<std::string>{"English", "Espa\u00F1ol", "Italiano", "Fran\u00E7ais"}));
    EXPECT_EQ(languages.at(3).target, "fr");
}

void collect(const std::vector<Menus::Entry>& entries, std::vector<const Menus::Entry*>& items) {
    for (const auto& entry : entries) {
        if (entry.kind == Menus::Entry::Kind::item) items.push_back(&entry);
        collect(entry.children, items);
    }
}

TEST(MenusTest, everyItemSendsACommandOfTheTableWithItsKey) {
    setCurrentLanguage(Language::english);
    auto bar = Menus::bar();
    std::vector<const Menus::Entry*> items;
    collect(bar, items);
    for (const auto* item : items) {
        const auto* command = Commands::find(item->action);
        ASSERT_TRUE(command) << item->title << " sends " << item->action << ", which no command answers";
        EXPECT_EQ(item->accelerator, command->accelerators.shown()) << item->action;
        EXPECT_EQ(item->target.has_value(), command->kind == Commands::Command::Kind::chooser)
            << item->action;
    }
    // Every command is reachable from the menus, and every toggle shows its state.
    for (const auto& command : Commands::all()) {
        EXPECT_TRUE(std::any_of(items.begin(), items.end(),
                                [&](const auto* item) { return item->action == command.name; }))
            << command.name << " has no menu item";
        EXPECT_EQ(command.kind == Commands::Command::Kind::toggle, command.checked != nullptr)
            << command.name;
        EXPECT_EQ(command.kind == Commands::Command::Kind::chooser, command.chosen != nullptr)
            << command.name;
    }
}

TEST(MenusTest, acceleratorsParseTheShownOnesUseControlAndNoTwoCommandsShareOne) {
    struct Seen {
        guint keyval;
        GdkModifierType modifiers;
        std::string command;
    };
    std::vector<Seen> seen;
    for (const auto& command : Commands::all()) {
        auto keys = command.accelerators.all();
        for (std::size_t k = 0; k < keys.size(); ++k) {
            guint keyval = 0;
            GdkModifierType modifiers{};
            EXPECT_TRUE(gtk_accelerator_parse(keys[k].c_str(), &keyval, &modifiers)) << keys[k];
            // The menu shows Control combinations; the others may be what hands know from elsewhere:
            // Alt with an arrow, a function key.
            if (k == 0)
                EXPECT_TRUE(modifiers & GDK_CONTROL_MASK) << command.name;
            else
                EXPECT_TRUE((modifiers & (GDK_CONTROL_MASK | GDK_ALT_MASK)) ||
                            (keyval >= GDK_KEY_F1 && keyval <= GDK_KEY_F12))
                    << keys[k];
            // Not two commands, and not a tab key either: the window sees those first.
            for (const auto& other : seen)
                EXPECT_FALSE(other.keyval == keyval && other.modifiers == modifiers)
                    << keys[k] << " of " << command.name << " is " << other.command << "'s already";
            EXPECT_EQ(TabKeys::decide(keyval, modifiers), std::nullopt) << keys[k] << " is a tab key";
            seen.push_back({keyval, modifiers, command.name});
        }
    }
    EXPECT_EQ(Commands::find("newTab")->accelerators.shown(), "<Control>t");
    EXPECT_EQ(Commands::find("quit")->accelerators.shown(), "<Control>q");
    EXPECT_TRUE(Commands::find("toggleForgetStorage")->accelerators.empty());
}

TEST(MenusTest, theBarIsWordedInTheCurrentLanguage) {
    setCurrentLanguage(Language::french);
    auto bar = Menus::bar();
    const Vocabulary& french = words(Language::french);
    EXPECT_EQ(titles(bar), (std::vector<std::string>{"The NIMB 2000", french.fileMenu(), french.editMenu(),
                                                     french.viewMenu(), french.goMenu()}));
    EXPECT_EQ(bar.at(3).children.at(11).title, french.nimbReport());
    EXPECT_EQ(bar.at(3).children.at(2).title, french.zoomIn());
    EXPECT_EQ(bar.at(1).children.back().title, french.reopenClosedTab());

    // The model the application shows carries the same titles, sections for separators, and the
    // app actions with their targets.
    auto* model = Menus::model(bar);
    ASSERT_EQ(g_menu_model_get_n_items(model), 5);
    char* label = nullptr;
    g_menu_model_get_item_attribute(model, 1, G_MENU_ATTRIBUTE_LABEL, "s", &label);
    EXPECT_EQ(std::string(label ? label : ""), french.fileMenu());
    g_free(label);
    GMenuModel* file = g_menu_model_get_item_link(model, 1, G_MENU_LINK_SUBMENU);
    ASSERT_TRUE(file);
    EXPECT_EQ(g_menu_model_get_n_items(file), 4); // four sections
    GMenuModel* first = g_menu_model_get_item_link(file, 0, G_MENU_LINK_SECTION);
    char* action = nullptr;
    g_menu_model_get_item_attribute(first, 0, G_MENU_ATTRIBUTE_ACTION, "s", &action);
    EXPECT_EQ(std::string(action ? action : ""), "app.newTab");
    g_free(action);
    g_object_unref(first);
    g_object_unref(file);
    g_object_unref(model);
    setCurrentLanguage(Language::english);
}

TEST(TabKeysTest, keyPressesAndWhatTheyMean) {
    using Kind = TabKeys::Command::Kind;
    using C = TabKeys::Command;
    struct Case {
        const char* name;
        guint keyval;
        guint state;
        std::optional<C> expected;
    };
    const Case cases[] = {
        {"Ctrl+1", GDK_KEY_1, GDK_CONTROL_MASK, C{Kind::selectNumber, 1}},
        {"Ctrl+9", GDK_KEY_9, GDK_CONTROL_MASK, C{Kind::selectNumber, 9}},
        {"Ctrl+keypad 5", GDK_KEY_KP_5, GDK_CONTROL_MASK, C{Kind::selectNumber, 5}},
        {"Ctrl+0 is no tab", GDK_KEY_0, GDK_CONTROL_MASK, std::nullopt},
        {"Ctrl+Alt+2 passes", GDK_KEY_2, GDK_CONTROL_MASK | GDK_ALT_MASK, std::nullopt},
        {"Ctrl+Shift+2 passes", GDK_KEY_at, GDK_CONTROL_MASK | GDK_SHIFT_MASK, std::nullopt},
        {"2 alone passes", GDK_KEY_2, 0, std::nullopt},
        {"Ctrl+2 with Caps Lock", GDK_KEY_2, GDK_CONTROL_MASK | GDK_LOCK_MASK, C{Kind::selectNumber, 2}},
        {"Escape", GDK_KEY_Escape, 0, C{Kind::dismissFind}},
        {"Shift+Escape passes", GDK_KEY_Escape, GDK_SHIFT_MASK, std::nullopt},
        {"Ctrl+Tab", GDK_KEY_Tab, GDK_CONTROL_MASK, C{Kind::nextTab}},
        {"Ctrl+Shift+Tab", GDK_KEY_ISO_Left_Tab, GDK_CONTROL_MASK | GDK_SHIFT_MASK, C{Kind::previousTab}},
        {"Ctrl+Alt+Tab", GDK_KEY_Tab, GDK_CONTROL_MASK | GDK_ALT_MASK, C{Kind::nextTab}},
        {"Ctrl+Super+Tab passes", GDK_KEY_Tab, GDK_CONTROL_MASK | GDK_SUPER_MASK, std::nullopt},
        {"Tab alone passes", GDK_KEY_Tab, 0, std::nullopt},
        {"Shift+Tab passes", GDK_KEY_ISO_Left_Tab, GDK_SHIFT_MASK, std::nullopt},
        {"Ctrl+Page Down", GDK_KEY_Page_Down, GDK_CONTROL_MASK, C{Kind::nextTab}},
        {"Ctrl+Page Up", GDK_KEY_Page_Up, GDK_CONTROL_MASK, C{Kind::previousTab}},
        {"Ctrl+keypad Page Down", GDK_KEY_KP_Page_Down, GDK_CONTROL_MASK, C{Kind::nextTab}},
        {"Ctrl+keypad Page Up", GDK_KEY_KP_Page_Up, GDK_CONTROL_MASK, C{Kind::previousTab}},
        {"Ctrl+Page Up with Caps Lock", GDK_KEY_Page_Up, GDK_CONTROL_MASK | GDK_LOCK_MASK,
         C{Kind::previousTab}},
        {"Page Down alone passes", GDK_KEY_Page_Down, 0, std::nullopt},
        {"Ctrl+Shift+Page Down passes", GDK_KEY_Page_Down, GDK_CONTROL_MASK | GDK_SHIFT_MASK, std::nullopt},
        {"Ctrl+Alt+Page Up passes", GDK_KEY_Page_Up, GDK_CONTROL_MASK | GDK_ALT_MASK, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TabKeys::decide(c.keyval, static_cast<GdkModifierType>(c.state)), c.expected) << c.name;
}

TEST(TabKeysTest, numbersNextAndPrevious) {
    EXPECT_EQ(TabKeys::tabForNumber(1, 3), 0);
    EXPECT_EQ(TabKeys::tabForNumber(5, 3), 2);
    EXPECT_EQ(TabKeys::tabForNumber(9, 3), 2);
    EXPECT_EQ(TabKeys::tabForNumber(9, 20), 19);
    EXPECT_EQ(TabKeys::tabForNumber(8, 20), 7);
    EXPECT_EQ(TabKeys::tabForNumber(1, 1), std::nullopt);
    EXPECT_EQ(TabKeys::tabForNumber(9, 1), std::nullopt);
    EXPECT_EQ(TabKeys::nextTab(2, 3), 0);
    EXPECT_EQ(TabKeys::nextTab(0, 1), std::nullopt);
    EXPECT_EQ(TabKeys::previousTab(0, 3), 2);
    EXPECT_EQ(TabKeys::previousTab(2, 3), 1);
    EXPECT_EQ(TabKeys::previousTab(0, 1), std::nullopt);
}

} // namespace
} // namespace nimb
