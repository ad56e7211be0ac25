// Tabs and windows: new tabs from links, scripts and the page's menu, closing and what is asked first,
// and the menus' states.

#include "ShellTest.h"

#include <algorithm>
#include <map>

namespace nimb::test {
namespace {

class TabsTest : public ShellTest {
protected:
    const std::string fixture = "http://browse.example/";
    const std::string second = "http://browse.example/second.html";

    // Clicks an element of the page as a script would (the engine counts it as the user's click).
    void click(Tab& in, const std::string& id) {
        ASSERT_TRUE(evaluate(in, "document.getElementById('" + id + "').click(), true"));
    }

    // Clicks an element of the page with the real pointer, holding the keys given ("ctrl", "shift").
    bool press(Tab& in, const std::string& id, const std::vector<std::string>& keys, int button = 1) {
        auto box = evaluate(
            in, "(function () { var r = document.getElementById('" + id +
                    "').getBoundingClientRect(); return [r.left + r.width / 2, r.top + r.height / 2]; })()");
        if (!box || !box->is_array()) return false;
        auto command = pointAt(GTK_WIDGET(in.view()), box->at(0).get<double>(), box->at(1).get<double>());
        for (const auto& key : keys)
            command.insert(command.end(), {"keydown", key});
        command.insert(command.end(), {"click", std::to_string(button)});
        for (const auto& key : keys)
            command.insert(command.end(), {"keyup", key});
        return xdotool(window(), command);
    }

    bool loaded(Tab& in, const std::string& address) {
        return waitUntil(
            [&] { return in.viewAddress() == address && !webkit_web_view_is_loading(in.view()); });
    }
};

TEST_F(TabsTest, linksOpenTabsRightAfterTheCurrentOneAndAScriptAWindowOfItsOwn) {
    ASSERT_TRUE(visit(fixture));
    Tab& first = tab();

    // Ctrl: a background tab.
    ASSERT_TRUE(press(first, "plain", {"ctrl"}));
    ASSERT_TRUE(waitUntil([&] { return tabs().all().size() == 2; }));
    EXPECT_EQ(tabs().currentTab(), &first);
    EXPECT_TRUE(loaded(*tabs().all().at(1), second));
    EXPECT_EQ(first.viewAddress(), fixture) << "the page itself did not move";

    // With Shift as well the new tab comes to the front, again right after the current tab.
    ASSERT_TRUE(press(first, "plain", {"ctrl", "shift"}));
    ASSERT_TRUE(waitUntil([&] { return tabs().all().size() == 3; }));
    EXPECT_EQ(tabs().current(), 1);
    EXPECT_TRUE(loaded(tab(), second));
    EXPECT_EQ(tabs().all().at(0).get(), &first);

    // The middle button opens in the background too.
    tabs().select(0);
    ASSERT_TRUE(press(first, "plain", {}, 2));
    ASSERT_TRUE(waitUntil([&] { return tabs().all().size() == 4; }));
    EXPECT_EQ(tabs().current(), 0);
    EXPECT_EQ(first.viewAddress(), fixture);

    // A link to a new window opens a tab in front, in this window.
    click(first, "blank");
    ASSERT_TRUE(waitUntil([&] { return tabs().all().size() == 5; }));
    EXPECT_EQ(app().windows().size(), 1u);
    EXPECT_EQ(tabs().current(), 1);
    EXPECT_TRUE(loaded(tab(), second));

    // A script's window.open, a window of its own.
    click(first, "open");
    ASSERT_TRUE(waitUntil([&] { return app().windows().size() == 2; }));
    auto& opened = window(1);
    EXPECT_EQ(opened.context().tabs().all().size(), 1u);
    EXPECT_EQ(window(0).context().tabs().all().size(), 5u);
    EXPECT_TRUE(loaded(*opened.context().tabs().currentTab(), second));
}

TEST_F(TabsTest, aWindowWithTwoTabsAsksBeforeItCloses) {
    app().actions().activate("newTab");
    ASSERT_EQ(tabs().all().size(), 2u);
    EXPECT_EQ(tabs().current(), 1);
    EXPECT_EQ(tabs().currentTab()->localPage, std::string(LocationBar::aboutHome));

    app().actions().activate("closeWindow");
    EXPECT_EQ(answerQuestion(false),
              (std::pair<std::string, std::string>{"Close this window?", "2 tabs are open in it."}));
    ASSERT_EQ(app().windows().size(), 1u);
    EXPECT_EQ(tabs().all().size(), 2u);

    // Closed through its question without a complaint from the toolkit.
    int complaints = 0;
    guint watch = g_log_set_handler(
        "GLib-GObject", static_cast<GLogLevelFlags>(G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING),
        +[](const gchar*, GLogLevelFlags, const gchar* message, gpointer count) {
            ++*static_cast<int*>(count);
            g_printerr("%s\n", message);
        },
        &complaints);
    app().actions().activate("closeWindow");
    answerQuestion(true);
    EXPECT_TRUE(waitUntil([&] { return app().windows().empty(); }));
    drain();
    g_log_remove_handler("GLib-GObject", watch);
    EXPECT_EQ(complaints, 0);
}

TEST_F(TabsTest, theBrowsersIconIsAtHandForTheAboutDialogAndTheWindows) {
    // Run from its build tree, with nothing installed: the icon comes from the source tree.
    GtkIconTheme* theme = gtk_icon_theme_get_for_display(gdk_display_get_default());
    auto icon = glib::adoptGRef(gtk_icon_theme_lookup_icon(theme, "net.nimb2000.Nimb", nullptr, 64, 1,
                                                           GTK_TEXT_DIR_LTR, GtkIconLookupFlags{}));
    ASSERT_TRUE(icon);
    auto file = glib::adoptGRef(gtk_icon_paintable_get_file(icon.get()));
    ASSERT_TRUE(file) << "the missing-icon placeholder";
    EXPECT_EQ(glib::GUniquePtr<char>(g_file_get_basename(file.get())).get(),
              std::string("net.nimb2000.Nimb.svg"));
    EXPECT_STREQ(gtk_window_get_default_icon_name(), "net.nimb2000.Nimb");
}

TEST_F(TabsTest, closingATabSelectsItsNeighbour) {
    app().actions().activate("newTab");
    app().actions().activate("newTab");
    app().actions().activate("newTab");
    ASSERT_EQ(tabs().all().size(), 4u);
    ASSERT_EQ(tabs().current(), 3);
    Tab* shown = tabs().currentTab();

    tabs().close(1); // left of the current tab: the same page stays selected
    EXPECT_EQ(tabs().current(), 2);
    EXPECT_EQ(tabs().currentTab(), shown);

    tabs().close(2); // the current, last tab: the new last tab
    EXPECT_EQ(tabs().current(), 1);
    EXPECT_EQ(tabs().all().size(), 2u);

    tabs().select(0);
    Tab* left = tabs().currentTab();
    tabs().close(1); // right of the current tab: the index stays
    EXPECT_EQ(tabs().current(), 0);
    EXPECT_EQ(tabs().currentTab(), left);

    tabs().close(7); // no such tab
    EXPECT_EQ(tabs().all().size(), 1u);
    EXPECT_EQ(app().windows().size(), 1u);

    // Closing the only tab closes the window, without a question.
    app().actions().activate("closeTab");
    EXPECT_TRUE(waitUntil([&] { return app().windows().empty(); }));
    EXPECT_EQ(dialog(), nullptr);
}

TEST_F(TabsTest, aDownloadIsNotSavedAndThePagesMenusOfferTheBrowsersCommandsInstead) {
    m_proxy.route("browse.example", "/file.bin", [](const HttpRequest&) {
        return HttpResponse{200,
                            "application/octet-stream",
                            {{"Content-Disposition", "attachment; filename=\"file.bin\""}},
                            "bytes",
                            {}};
    });
    app().actions().activate("newTab");
    tabs().select(0);
    ASSERT_TRUE(visit(fixture));
    Tab& first = tab();
    window().context().navigator().load(*Url::parse("http://browse.example/file.bin"), first);
    ASSERT_TRUE(waitForStatus(words().downloadNotSaved(), 5s));
    ASSERT_TRUE(waitUntil([&] { return !first.loading(); }));
    EXPECT_EQ(evaluate(first, "location.href"), fixture) << "the page stays";
    EXPECT_EQ(status(), words().downloadNotSaved());

    // What the page's menu held when it last came up, after the window added its items (the menu
    // itself is not shown): "-" for a separator, the browser's items by their action, the engine's by
    // the number of their stock action.
    struct Seen {
        std::vector<std::string> items;
        std::map<std::string, GAction*> actions;
        bool has(const std::string& item) const { return std::ranges::find(items, item) != items.end(); }
    } seen;
    g_signal_connect_after(
        first.view(), "context-menu",
        G_CALLBACK(+[](WebKitWebView*, WebKitContextMenu* menu, WebKitHitTestResult*, Seen* out) -> gboolean {
            out->items.clear();
            for (GList* i = webkit_context_menu_get_items(menu); i; i = i->next) {
                auto* item = WEBKIT_CONTEXT_MENU_ITEM(i->data);
                auto stock = webkit_context_menu_item_get_stock_action(item);
                GAction* action = webkit_context_menu_item_get_gaction(item);
                if (webkit_context_menu_item_is_separator(item)) {
                    out->items.push_back("-");
                } else if (stock == WEBKIT_CONTEXT_MENU_ACTION_CUSTOM && action) {
                    out->items.push_back(g_action_get_name(action));
                    out->actions[out->items.back()] = action;
                } else {
                    out->items.push_back(std::to_string(static_cast<int>(stock)));
                }
            }
            return TRUE;
        }),
        &seen);
    auto stock = [](WebKitContextMenuAction action) { return std::to_string(static_cast<int>(action)); };

    // On selected text the engine's menu starts with Copy, Add to Marginalia follows it, and the
    // browser's commands end it; nothing opens a link.
    ASSERT_TRUE(evaluate(
        first, "var r = document.createRange(); r.selectNodeContents(document.getElementById('words'));"
               "getSelection().removeAllRanges(); getSelection().addRange(r); true"));
    ASSERT_TRUE(press(first, "words", {}, 3));
    ASSERT_TRUE(waitUntil([&] { return !seen.items.empty(); }, 5s));
    ASSERT_GE(seen.items.size(), 7u);
    EXPECT_NE(seen.items.at(0), "-");
    EXPECT_EQ(seen.items.at(1), "addToMarginalia");
    std::vector<std::string> tail(seen.items.end() - 5, seen.items.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"-", "addBookmark", "showBookmarks", "showMarginalia",
                                              "nimbReport"}));
    EXPECT_FALSE(seen.has("openLinkInNewTab"));

    // On a link: nothing that would save it, and the browser's own item right before the engine's
    // "Open Link in New Window".
    seen.items.clear();
    ASSERT_TRUE(press(first, "plain", {}, 3));
    ASSERT_TRUE(waitUntil([&] { return !seen.items.empty(); }, 5s));
    EXPECT_TRUE(seen.has(stock(WEBKIT_CONTEXT_MENU_ACTION_COPY_LINK_TO_CLIPBOARD)));
    for (auto refused :
         {WEBKIT_CONTEXT_MENU_ACTION_DOWNLOAD_LINK_TO_DISK, WEBKIT_CONTEXT_MENU_ACTION_DOWNLOAD_IMAGE_TO_DISK,
          WEBKIT_CONTEXT_MENU_ACTION_DOWNLOAD_VIDEO_TO_DISK,
          WEBKIT_CONTEXT_MENU_ACTION_DOWNLOAD_AUDIO_TO_DISK})
        EXPECT_FALSE(seen.has(stock(refused))) << refused;
    auto at = std::ranges::find(seen.items, "openLinkInNewTab");
    ASSERT_NE(at, seen.items.end());
    ASSERT_NE(at + 1, seen.items.end());
    EXPECT_EQ(*(at + 1), stock(WEBKIT_CONTEXT_MENU_ACTION_OPEN_LINK_IN_NEW_WINDOW));
    // It opens the link as a middle click does: in a new tab right after the current one, behind it.
    g_action_activate(seen.actions.at("openLinkInNewTab"), nullptr);
    ASSERT_TRUE(waitUntil([&] { return tabs().size() == 3; }, 5s));
    EXPECT_EQ(tabs().currentTab(), &first);
    EXPECT_TRUE(loaded(*tabs().all().at(1), second));
    EXPECT_EQ(first.viewAddress(), fixture);

    // The report item does what it says, for the current tab.
    g_action_activate(seen.actions.at("nimbReport"), nullptr);
    EXPECT_TRUE(waitUntil([&] { return first.localPage == std::string(LocationBar::aboutReport); }));
    g_signal_handlers_disconnect_by_data(first.view(), &seen);
}

TEST_F(TabsTest, menuStatesFollowTheWindow) {
    auto enabled = [&](const char* action) {
        return g_action_group_get_action_enabled(G_ACTION_GROUP(app().gtk()), action) != FALSE;
    };
    auto checked = [&](const char* action) {
        GVariant* state = g_action_group_get_action_state(G_ACTION_GROUP(app().gtk()), action);
        bool on = state && g_variant_get_boolean(state);
        if (state) g_variant_unref(state);
        return on;
    };
    app().actions().validate();
    EXPECT_FALSE(enabled("nextTab"));
    EXPECT_FALSE(enabled("clearHistory"));
    EXPECT_FALSE(enabled("addToMarginalia")) << "nothing to annotate on the home page";
    EXPECT_TRUE(checked("toggleJS"));
    EXPECT_TRUE(checked("toggleBlocking"));
    EXPECT_FALSE(checked("toggleStealth"));

    ASSERT_TRUE(visit(fixture));
    app().actions().activate("newTab");
    app().actions().activate("toggleStealth");
    app().actions().validate();
    EXPECT_TRUE(enabled("nextTab"));
    EXPECT_TRUE(enabled("clearHistory"));
    EXPECT_TRUE(checked("toggleStealth"));
    EXPECT_TRUE(window().context().chrome().stealth());
    tabs().select(0);
    app().actions().validate();
    EXPECT_TRUE(enabled("addToMarginalia"));

    app().actions().activate("toggleJS");
    app().actions().validate();
    EXPECT_FALSE(checked("toggleJS"));
    EXPECT_FALSE(prefs().javaScriptEnabled());
    EXPECT_FALSE(webkit_settings_get_enable_javascript_markup(webkit_web_view_get_settings(tab().view())));
}

} // namespace
} // namespace nimb::test
