// Tabs and windows: new tabs from links and scripts, closing and what is asked first, and the keys.

#include "ShellTest.h"

#include <algorithm>

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

TEST_F(TabsTest, ctrlClickOpensABackgroundTabRightAfterTheCurrentOne) {
    ASSERT_TRUE(visit(fixture));
    Tab& first = tab();

    ASSERT_TRUE(press(first, "plain", {"ctrl"}));
    ASSERT_TRUE(waitUntil([&] { return tabs().all().size() == 2; }));
    EXPECT_EQ(tabs().current(), 0);
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
}

TEST_F(TabsTest, aLinkToANewWindowOpensAForegroundTabAndAScriptAWindowOfItsOwn) {
    ASSERT_TRUE(visit(fixture));
    Tab& first = tab();
    click(first, "blank");
    ASSERT_TRUE(waitUntil([&] { return tabs().all().size() == 2; }));
    EXPECT_EQ(app().windows().size(), 1u);
    EXPECT_EQ(tabs().current(), 1);
    EXPECT_TRUE(loaded(tab(), second));

    click(first, "open");
    ASSERT_TRUE(waitUntil([&] { return app().windows().size() == 2; }));
    auto& opened = window(1);
    EXPECT_EQ(opened.context().tabs().all().size(), 1u);
    EXPECT_EQ(window(0).context().tabs().all().size(), 2u);
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

TEST_F(TabsTest, theTabKeysFromTheKeyboard) {
    app().actions().activate("newTab");
    app().actions().activate("newTab");
    ASSERT_EQ(tabs().all().size(), 3u);
    gtk_widget_grab_focus(GTK_WIDGET(tab().view()));

    ASSERT_TRUE(xdotool(window(), {"key", "ctrl+1"}));
    EXPECT_TRUE(waitUntil([&] { return tabs().current() == 0; }, 5s));
    ASSERT_TRUE(xdotool(window(), {"key", "ctrl+9"}));
    EXPECT_TRUE(waitUntil([&] { return tabs().current() == 2; }, 5s));
    ASSERT_TRUE(xdotool(window(), {"key", "ctrl+Tab"}));
    EXPECT_TRUE(waitUntil([&] { return tabs().current() == 0; }, 5s)) << "Ctrl+Tab wraps to the first";
    ASSERT_TRUE(xdotool(window(), {"key", "ctrl+shift+Tab"}));
    EXPECT_TRUE(waitUntil([&] { return tabs().current() == 2; }, 5s)) << "and back to the last";
    ASSERT_TRUE(xdotool(window(), {"key", "ctrl+alt+2"})); // handled by the time xdotool returns
    EXPECT_EQ(tabs().current(), 2) << "another modifier passes the key on";
}

TEST_F(TabsTest, ctrlIShowsTheReportOfThePage) {
    ASSERT_TRUE(visit(fixture));
    ASSERT_TRUE(waitForStatus("Document: Done  \u2014  2 blocked"));
    gtk_widget_grab_focus(GTK_WIDGET(tab().view()));
    ASSERT_TRUE(xdotool(window(), {"key", "ctrl+i"}));
    ASSERT_TRUE(waitUntil([&] { return tab().localPage == std::string(LocationBar::aboutReport); }));
    ASSERT_TRUE(waitForLoad(tab()));
    ASSERT_TRUE(tab().reported);
    EXPECT_FALSE(tab().reported->reason);
    EXPECT_EQ(tab().reported->report.requestsBlocked(), 2);
    EXPECT_EQ(window().context().chrome().fullAddress(), LocationBar::aboutReport);
    EXPECT_STREQ(gtk_editable_get_text(GTK_EDITABLE(window().context().chrome().view().locationField())),
                 "about:report");
}

TEST_F(TabsTest, aDownloadIsNotSavedAndTheUserIsToldSo) {
    m_proxy.route("browse.example", "/file.bin", [](const HttpRequest&) {
        return HttpResponse{200,
                            "application/octet-stream",
                            {{"Content-Disposition", "attachment; filename=\"file.bin\""}},
                            "bytes",
                            {}};
    });
    ASSERT_TRUE(visit("http://browse.example/"));
    window().context().navigator().load(*Url::parse("http://browse.example/file.bin"), tab());
    ASSERT_TRUE(waitForStatus(words().downloadNotSaved(), 5s));
    ASSERT_TRUE(waitUntil([&] { return !tab().loading(); }));
    EXPECT_EQ(evaluate(tab(), "location.href"), "http://browse.example/") << "the page stays";
    EXPECT_EQ(status(), words().downloadNotSaved());

    // The menu of a link offers nothing that would save it.
    std::vector<int> offered;
    g_signal_connect_after(tab().view(), "context-menu",
                           G_CALLBACK(+[](WebKitWebView*, WebKitContextMenu* menu, WebKitHitTestResult*,
                                          std::vector<int>* out) -> gboolean {
                               for (GList* i = webkit_context_menu_get_items(menu); i; i = i->next)
                                   out->push_back(static_cast<int>(webkit_context_menu_item_get_stock_action(
                                       WEBKIT_CONTEXT_MENU_ITEM(i->data))));
                               return TRUE;
                           }),
                           &offered);
    ASSERT_TRUE(press(tab(), "plain", {}, 3));
    ASSERT_TRUE(waitUntil([&] { return !offered.empty(); }, 5s));
    EXPECT_NE(std::find(offered.begin(), offered.end(), WEBKIT_CONTEXT_MENU_ACTION_COPY_LINK_TO_CLIPBOARD),
              offered.end());
    for (auto refused :
         {WEBKIT_CONTEXT_MENU_ACTION_DOWNLOAD_LINK_TO_DISK, WEBKIT_CONTEXT_MENU_ACTION_DOWNLOAD_IMAGE_TO_DISK,
          WEBKIT_CONTEXT_MENU_ACTION_DOWNLOAD_VIDEO_TO_DISK,
          WEBKIT_CONTEXT_MENU_ACTION_DOWNLOAD_AUDIO_TO_DISK})
        EXPECT_EQ(std::find(offered.begin(), offered.end(), static_cast<int>(refused)), offered.end())
            << refused;
}

TEST_F(TabsTest, thePagesContextMenuOffersTheBrowsersCommands) {
    ASSERT_TRUE(visit(fixture));
    ASSERT_TRUE(evaluate(
        tab(), "var r = document.createRange(); r.selectNodeContents(document.getElementById('words'));"
               "getSelection().removeAllRanges(); getSelection().addRange(r); true"));
    struct Seen {
        std::vector<std::string> labels;
        GAction* report = nullptr;
    } seen;
    // Runs after the window has added its items; the menu itself is not shown.
    g_signal_connect_after(
        tab().view(), "context-menu",
        G_CALLBACK(+[](WebKitWebView*, WebKitContextMenu* menu, WebKitHitTestResult*, Seen* out) -> gboolean {
            out->labels.clear();
            for (GList* i = webkit_context_menu_get_items(menu); i; i = i->next) {
                auto* item = WEBKIT_CONTEXT_MENU_ITEM(i->data);
                if (webkit_context_menu_item_is_separator(item)) {
                    out->labels.push_back("-");
                } else if (GAction* action = webkit_context_menu_item_get_gaction(item)) {
                    out->labels.push_back(g_action_get_name(action));
                    if (out->labels.back() == "nimbReport") out->report = action;
                } else {
                    out->labels.push_back(
                        std::to_string(static_cast<int>(webkit_context_menu_item_get_stock_action(item))));
                }
            }
            return TRUE;
        }),
        &seen);
    ASSERT_TRUE(press(tab(), "words", {}, 3));
    ASSERT_TRUE(waitUntil([&] { return !seen.labels.empty(); }, 5s));
    // With text selected the engine's menu starts with Copy, and Add to Marginalia follows it.
    ASSERT_GE(seen.labels.size(), 7u);
    EXPECT_NE(seen.labels.at(0), "-");
    EXPECT_EQ(seen.labels.at(1), "addToMarginalia");
    std::vector<std::string> tail(seen.labels.end() - 5, seen.labels.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"-", "addBookmark", "showBookmarks", "showMarginalia",
                                              "nimbReport"}));

    // The item does what it says, for the current tab.
    ASSERT_TRUE(seen.report);
    g_action_activate(seen.report, nullptr);
    EXPECT_TRUE(waitUntil([&] { return tab().localPage == std::string(LocationBar::aboutReport); }));
    g_signal_handlers_disconnect_by_data(tabs().all().at(0)->view(), &seen);
}

TEST_F(TabsTest, theLinkMenuOpensTheLinkInABackgroundTabNextToTheCurrentOne) {
    app().actions().activate("newTab");
    tabs().select(0);
    ASSERT_TRUE(visit(fixture));
    Tab& first = tab();
    struct Seen {
        std::vector<std::string> items;
        GAction* open = nullptr;
    } seen;
    // Runs after the window has added its items; the menu itself is not shown.
    g_signal_connect_after(
        first.view(), "context-menu",
        G_CALLBACK(+[](WebKitWebView*, WebKitContextMenu* menu, WebKitHitTestResult*, Seen* out) -> gboolean {
            out->items.clear();
            out->open = nullptr;
            for (GList* i = webkit_context_menu_get_items(menu); i; i = i->next) {
                auto* item = WEBKIT_CONTEXT_MENU_ITEM(i->data);
                auto stock = webkit_context_menu_item_get_stock_action(item);
                GAction* action = webkit_context_menu_item_get_gaction(item);
                if (stock == WEBKIT_CONTEXT_MENU_ACTION_CUSTOM && action) {
                    out->items.push_back(g_action_get_name(action));
                    if (out->items.back() == "openLinkInNewTab") out->open = action;
                } else {
                    out->items.push_back(std::to_string(static_cast<int>(stock)));
                }
            }
            return TRUE;
        }),
        &seen);

    // On a link: right before the engine's "Open Link in New Window".
    ASSERT_TRUE(press(first, "plain", {}, 3));
    ASSERT_TRUE(waitUntil([&] { return !seen.items.empty(); }, 5s));
    auto at = std::find(seen.items.begin(), seen.items.end(), "openLinkInNewTab");
    ASSERT_NE(at, seen.items.end());
    ASSERT_NE(at + 1, seen.items.end());
    EXPECT_EQ(*(at + 1),
              std::to_string(static_cast<int>(WEBKIT_CONTEXT_MENU_ACTION_OPEN_LINK_IN_NEW_WINDOW)));

    // It opens the link as a middle click does: in a new tab right after the current one, behind it.
    ASSERT_TRUE(seen.open);
    g_action_activate(seen.open, nullptr);
    ASSERT_TRUE(waitUntil([&] { return tabs().size() == 3; }, 5s));
    EXPECT_EQ(tabs().currentTab(), &first);
    EXPECT_TRUE(loaded(*tabs().all().at(1), second));
    EXPECT_EQ(first.viewAddress(), fixture);

    // Not on plain text.
    seen.items.clear();
    ASSERT_TRUE(press(first, "words", {}, 3));
    ASSERT_TRUE(waitUntil([&] { return !seen.items.empty(); }, 5s));
    EXPECT_EQ(std::find(seen.items.begin(), seen.items.end(), "openLinkInNewTab"), seen.items.end());
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
