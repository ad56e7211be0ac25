// A web page that asks for the browser's internal actions, every way a page can: nothing it asks
// for may change what the browser keeps. The same addresses work from the browser's own pages
// (ActionsTest), so what stops them here is where they come from.

#include "ShellTest.h"

#include "engine/FaviconStore.h"
#include "library/Bookmarks.h"
#include "library/History.h"
#include "library/Marginalia.h"
#include "page/GeneratedPage.h"
#include "page/OpenAllowance.h"
#include "report/KeptReports.h"
#include "report/NimbReport.h"
#include "report/ReportAction.h"

#include <cstring>
#include <set>

namespace nimb::test {
namespace {

const std::string kept = "http://kept.example/";

class HostileTest : public ShellTest {
protected:
    void configure() override {
        seed([](Preferences& stored) {
            Bookmarks::add(stored, Bookmark{"Kept", kept, true, "Why it is kept"});
            Marginalia::addNote(stored, "A note in its margin", kept, "Kept", Date{1000});
            History::recordVisit(stored, kept, "Kept", Date{2000});
            KeptReports::keep(stored, NimbReport::parse("{}", kept, "Kept"), Date{3000});
        });
    }

    struct Kept {
        std::vector<Bookmark> bookmarks;
        std::vector<Note> notes;
        std::vector<SavedReport> reports;
        std::optional<Visit> visit;
        bool operator==(const Kept&) const = default;
    };

    int m_attacks = 0;

    Kept what() {
        Kept now{prefs().bookmarks(), prefs().notes(), prefs().savedReports(), std::nullopt};
        for (const auto& each : prefs().history()) {
            if (each.address == kept) now.visit = each;
        }
        return now;
    }

    // Every internal action that would change what is kept.
    std::vector<std::string> targets() {
        std::string note = prefs().notes().at(0).id;
        std::string report = prefs().savedReports().at(0).id;
        return {
            BookmarkAction::remove(kept).href(),
            BookmarkAction::edit(kept, "Taken over", "by a web page").href(),
            BookmarkAction::removeFromToolbar(kept).href(),
            BookmarkAction::forgetNote(kept, note).href(),
            HistoryAction::forget(kept).href(),
            HistoryAction::forgetAll().href(),
            ReportAction::keep().href(),
            ReportAction::forget(report).href(),
        };
    }

    static std::string encoded(const std::string& text) {
        char* escaped = g_uri_escape_string(text.c_str(), nullptr, FALSE);
        std::string out = escaped;
        g_free(escaped);
        return out;
    }

    // Loads the attack page for a way and a target and has it attack, as if the user clicked.
    void attack(const std::string& way, const std::string& target) {
        // A new query each time: a new fragment alone would not load the page again.
        std::string address = "http://evil.example/attack.html?" + std::to_string(++m_attacks) + "#" + way +
                              "|" + encoded(target);
        ASSERT_TRUE(visit(address, &window(0)));
        Tab& page = *window(0).context().tabs().currentTab();
        if (way == "blank" || way == "open") {
            ASSERT_TRUE(evaluate(page, "attack(), true"));
        }
        ASSERT_TRUE(waitUntil([&] { return evaluate(page, "window.attacked") == way; }));
        // An offered link waits for the test's own click, which settles after it.
        if (way != "offer") settle();
    }

    // Whatever the attack set off has been decided: in every window (the attacked one, and any the
    // page opened) a later navigation of the current tab has finished, since the engine asks about a
    // view's navigations in order; and whatever an action would have been put off to has run.
    void settle() {
        auto windows = app().windows();
        for (const auto& each : windows)
            ASSERT_TRUE(
                visit("http://evil.example/attack.html?after-" + std::to_string(m_attacks), each.get()));
        drain();
    }

    // Counts the page scripts' messages a view receives, after the window has handled each.
    struct MessageCount {
        MessageCount(Tab& tab) : manager(webkit_web_view_get_user_content_manager(tab.view())) {
            id = g_signal_connect(manager, "script-message-received",
                                  G_CALLBACK(+[](WebKitUserContentManager*, JSCValue*, int* n) { ++*n; }),
                                  &count);
        }
        ~MessageCount() { g_signal_handler_disconnect(manager, id); }
        WebKitUserContentManager* manager;
        gulong id = 0;
        int count = 0;
    };
};

TEST_F(HostileTest, aWebPageCannotCarryOutInternalActionsNorShowTheBrowsersOwnPages) {
    const Kept before = what();
    ASSERT_EQ(before.bookmarks.size(), 1u);
    ASSERT_EQ(before.notes.size(), 1u);
    ASSERT_EQ(before.reports.size(), 1u);
    ASSERT_TRUE(before.visit);
    // What the browser's own pages show (the history, the bookmarks, a report) is the user's, not the
    // page's.
    const std::vector<std::string> pages = {
        GeneratedPage::address(LocationBar::aboutHistory, 1),
        GeneratedPage::address(LocationBar::aboutReport, 1),
        "nimb-page:bookmarks",
    };

    // "offer" is a link the page offers and the user clicks: a click the engine counts as the user's own.
    for (const std::string way : {"link", "form", "assign", "blank", "open", "offer"}) {
        for (const auto& target : targets()) {
            SCOPED_TRACE(way + " " + target);
            attack(way, target);
            if (way == "offer") {
                ASSERT_TRUE(evaluate(*window(0).context().tabs().currentTab(),
                                     "document.getElementById('attack').click(), true"));
                settle();
            }
            EXPECT_EQ(what(), before);
            EXPECT_EQ(dialog(), nullptr) << "not even a question is asked";
            if (GtkWidget* shown = dialog()) answer(shown, false);
        }
        for (const auto& target : way == "offer" ? std::vector<std::string>{} : pages) {
            SCOPED_TRACE(way + " " + target);
            attack(way, target);
            for (const auto& each : app().windows()) {
                for (const auto& shown : each->context().tabs().all()) {
                    EXPECT_FALSE(shown->documentIsGenerated && !shown->localPage);
                    auto address = shown->viewAddress().value_or("");
                    EXPECT_FALSE(GeneratedPage::parse(address)) << address;
                }
            }
        }
    }
    // The ways that open tabs and windows did open them, so the navigation was really asked for.
    EXPECT_GT(window(0).context().tabs().all().size(), 1u);
    EXPECT_GT(app().windows().size(), 1u);
    // Nor in a frame: the engine asks the browser for one of its pages only for a tab's own document
    // on its way there, never for a web page's frame.
    Tab& page = *window(0).context().tabs().currentTab();
    for (const auto& target : pages)
        EXPECT_FALSE(window(0).context().navigator().draw(page, *GeneratedPage::parse(target))) << target;
}

TEST_F(HostileTest, aPageBeingReplacedByTheBrowsersOwnCannotActInBetween) {
    const Kept before = what();
    for (const auto& target : targets()) {
        SCOPED_TRACE(target);
        attack("offer", target);
        // The page asks just as the user brings up the bookmarks page in its tab: the window already
        // calls the tab the bookmarks page, while the page in the view is still the web page.
        std::string script = "location.href = " + nlohmann::json(target).dump();
        webkit_web_view_evaluate_javascript(tab().view(), script.c_str(), -1, nullptr, nullptr, nullptr,
                                            nullptr, nullptr);
        app().actions().activate("showBookmarks");
        // The page in its place has come; what the old one asked for before it went has been decided.
        ASSERT_TRUE(waitUntil(
            [&] { return tab().documentIsGenerated && !webkit_web_view_is_loading(tab().view()); }));
        drain();
        EXPECT_EQ(what(), before);
        EXPECT_EQ(dialog(), nullptr);
        if (GtkWidget* shown = dialog()) answer(shown, false);
    }

    // The page the browser put in its place does act, once it is no longer drawn again for the last
    // title of the page it replaced (written up to a second after it came).
    ASSERT_TRUE(waitUntil([&] {
        return !tab().titles.waiting() && tab().documentIsGenerated &&
               !webkit_web_view_is_loading(tab().view());
    }));
    ASSERT_TRUE(evaluate(
        tab(), "location.href = " + nlohmann::json(BookmarkAction::removeFromToolbar(kept).href()).dump() +
                   "; true"));
    EXPECT_TRUE(waitUntil([&] { return !prefs().bookmarks().front().onToolbar; }));
}

TEST_F(HostileTest, aWebPageStillComingInAsTheBrowsersOwnIsAskedForCannotPassForIt) {
    const Kept before = what();
    const auto attacks = targets();
    // As soon as it is there, the web page asks for an action; the engine's questions about such
    // actions are counted once the window has answered them.
    WebKitWebView* view = tab().view();
    struct Attack {
        WebKitWebView* view;
        int asked = 0;
    } attack{view, 0};
    // (Counted as the engine asks: the window's answer comes within the same asking.)
    guint decidePolicy = g_signal_lookup("decide-policy", WEBKIT_TYPE_WEB_VIEW);
    gulong decided = g_signal_add_emission_hook(
        decidePolicy, 0,
        +[](GSignalInvocationHint*, guint, const GValue* values, gpointer data) -> gboolean {
            auto* asking = WEBKIT_WEB_VIEW(g_value_get_object(&values[0]));
            auto* made = static_cast<Attack*>(data);
            if (asking != made->view ||
                g_value_get_enum(&values[2]) != WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION)
                return TRUE;
            auto* action = webkit_navigation_policy_decision_get_navigation_action(
                WEBKIT_NAVIGATION_POLICY_DECISION(g_value_get_object(&values[1])));
            const char* uri = webkit_uri_request_get_uri(webkit_navigation_action_get_request(action));
            if (uri && g_str_has_prefix(uri, "nimb://")) ++made->asked;
            return TRUE;
        },
        &attack, nullptr);
    // The bookmarks page is asked for as the web page comes in, before the window hears that it did.
    AtNextCommit asking(view);
    for (std::size_t i = 0; i < attacks.size(); ++i) {
        const std::string& target = attacks[i];
        std::string path = "/coming-" + std::to_string(i) + ".html";
        m_proxy.answer("evil.example", path,
                       "<!doctype html><script>location.href = " + nlohmann::json(target).dump() +
                           ";</script>");
        int asked = attack.asked;
        asking.arm([&] { app().actions().activate("showBookmarks"); });
        type("http://evil.example" + path, &window(0));
        // The bookmarks page came, or the page asked before it went (and so may have kept the tab).
        ASSERT_TRUE(waitUntil([&] {
            return asking.done() &&
                   (attack.asked > asked || (tab().documentIsGenerated &&
                                             tab().localPage == std::string(LocationBar::aboutBookmarks) &&
                                             !webkit_web_view_is_loading(view)));
        })) << target;
        drain();
        EXPECT_EQ(what(), before) << target;
        EXPECT_EQ(dialog(), nullptr) << target;
        if (GtkWidget* shown = dialog()) answer(shown, false);
    }
    g_signal_remove_emission_hook(decidePolicy, decided);
}

TEST_F(HostileTest, aFrameNavigatingAsTheBrowsersOwnPageComesDoesNotRevokeItsActions) {
    // A page whose frame navigates without pause, so that its navigations are asked about while the
    // bookmarks page replaces it.
    m_proxy.answer("busy.example", "/frame", "<!doctype html><p>frame");
    m_proxy.answer("busy.example", "/",
                   "<!doctype html><title>Busy</title><iframe id=f></iframe><script>var n = 0;"
                   "setInterval(function () { document.getElementById('f').src = '/frame?' + (++n); }, 1);"
                   "</script>");
    for (int round = 0; round < 5; ++round) {
        SCOPED_TRACE(round);
        ASSERT_TRUE(visit("http://busy.example/"));
        ASSERT_TRUE(waitUntil([&] { return evaluate(tab(), "n > 20") == true; }));
        app().actions().activate("showBookmarks");
        ASSERT_TRUE(waitUntil([&] {
            return tab().viewAddress() != "http://busy.example/" && !webkit_web_view_is_loading(tab().view());
        }));
        EXPECT_EQ(tab().localPage, std::string(LocationBar::aboutBookmarks));
        EXPECT_TRUE(tab().documentIsGenerated) << "its own links would be refused";
    }
    ASSERT_TRUE(evaluate(
        tab(), "location.href = " + nlohmann::json(BookmarkAction::removeFromToolbar(kept).href()).dump() +
                   "; true"));
    EXPECT_TRUE(waitUntil([&] { return !prefs().bookmarks().front().onToolbar; }));
}

TEST_F(HostileTest, aFrameCannotTakeTheTabToRewrittenSearchResults) {
    ASSERT_TRUE(prefs().linksOnlySearch());
    m_proxy.route("www.google.com", "/search", [](const HttpRequest&) {
        HttpResponse response;
        response.body =
            "<!doctype html><title>Results</title><script>parent.postMessage('framed', '*')</script>";
        return response;
    });
    m_proxy.answer("frames.example", "/",
                   "<!doctype html><title>Embedding</title><script>addEventListener('message', function (e) {"
                   " if (e.data === 'framed') document.title = 'Framed'; });</script>"
                   "<iframe src='http://www.google.com/search?q=x'></iframe>");
    type("http://frames.example/");
    ASSERT_TRUE(waitUntil(
        [&] { return tab().pageTitle() == "Framed" || tab().viewAddress() != "http://frames.example/"; }));
    EXPECT_EQ(tab().viewAddress(), "http://frames.example/");
    EXPECT_EQ(tab().pageTitle(), "Framed") << "the frame loads what it asked for";
    for (const auto& request : m_proxy.requests())
        EXPECT_EQ(request.query.find("udm=14"), std::string::npos) << request.url;
}

TEST_F(HostileTest, hostileMessageBodiesChangeNothingButWhatTheyMayName) {
    ASSERT_TRUE(visit("http://browse.example/"));
    ASSERT_TRUE(waitForStatus("Document: Done  \u2014  2 blocked"));
    Tab& page = tab();
    // The page's recorder has said its counts (the witness said them first).
    ASSERT_TRUE(waitUntil([&] { return page.network == 2; }));
    MessageCount received(page);
    // Bodies of every wrong type, and sizes no page needs.
    ASSERT_TRUE(evaluate(page, "var h = window.webkit.messageHandlers;"
                               "h.blocked.postMessage('walls');"
                               "h.blocked.postMessage([1, 2, 3]);"
                               "h.blocked.postMessage(null);"
                               "h.blocked.postMessage({walls: 'many', network: {n: 1}, hosts: 'x'});"
                               "h.blocked.postMessage({walls: -5});"
                               "h.favicon.postMessage({href: 'x'});"
                               "true"));
    ASSERT_TRUE(waitUntil([&] { return received.count >= 6; }));
    EXPECT_EQ(page.walls, 0);
    EXPECT_EQ(page.network, 2);
    EXPECT_EQ(status(), "Document: Done  \u2014  2 blocked");
    EXPECT_FALSE(page.declaredIcon);

    ASSERT_TRUE(evaluate(page,
                         "var big = []; for (var i = 0; i < 200000; i++) big.push('h' + i + '.example');"
                         "window.webkit.messageHandlers.blocked.postMessage({hosts: big, walls: 1e300});"
                         "window.webkit.messageHandlers.status.postMessage('x'.repeat(5000000)); true"));
    ASSERT_TRUE(waitUntil([&] { return page.hosts.size() == 1000; }));
    EXPECT_EQ(page.walls, 1'000'000'000);
    ASSERT_TRUE(waitUntil([&] { return page.status && page.status->size() == 1000; }));
    EXPECT_EQ(status().size(), 1000u);
}

TEST_F(HostileTest, aFloodOfReportsIsReadAtMostOnceAFrameAndTheNewestWins) {
    ASSERT_TRUE(visit("http://browse.example/"));
    ASSERT_TRUE(waitForStatus("Document: Done  \u2014  2 blocked"));
    Tab& page = tab();
    // The page's recorder has said its counts (the witness said them first).
    ASSERT_TRUE(waitUntil([&] { return page.network == 2; }));
    MessageCount received(page);
    auto readingsBefore = page.blockedReadings;
    auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(evaluate(
        page, "var hosts = []; for (var i = 0; i < 200; i++) hosts.push('h' + i + '.example');"
              "for (var k = 1; k <= 3000; k++)"
              " window.webkit.messageHandlers.blocked.postMessage({walls: k, network: 2, hosts: hosts});"
              "true"));
    ASSERT_TRUE(waitUntil([&] { return received.count >= 3000 && page.walls == 3000; }, 60s));
    auto frames =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start) /
        std::chrono::milliseconds(16);
    EXPECT_EQ(page.hosts.size(), 200u);
    EXPECT_LE(page.blockedReadings - readingsBefore, frames + 2)
        << "3000 reports in " << frames << " frames were read " << page.blockedReadings - readingsBefore
        << " times";
    EXPECT_TRUE(waitForStatus("Document: Done  \u2014  3002 blocked"));
}

TEST_F(HostileTest, aFloodOfIconsFetchesAFewAndNavigatingAwayDropsTheRest) {
    // The site has an icon of its own; the first icon the page declares is slow to come, and every
    // other one is missing.
    m_proxy.route("browse.example", "/favicon.ico", [](const HttpRequest&) {
        static const std::string pixel(
            "GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\x00\x00\xff\xff\xff\x21\xf9\x04"
            "\x00\x00\x00\x00\x00\x2c\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02"
            "\x44\x01\x00\x3b",
            43);
        return HttpResponse{200, "image/gif", {}, pixel, {}};
    });
    m_proxy.route("browse.example", "/flood/0.png", [](const HttpRequest&) {
        return HttpResponse{404, "text/plain", {}, "no", 3s};
    });
    ASSERT_TRUE(visit("http://browse.example/"));
    ASSERT_TRUE(waitUntil([&] { return FaviconStore::shared().cached("browse.example") != nullptr; }));
    Tab& page = tab();
    MessageCount received(page);
    auto flooded = [&] {
        std::size_t count = 0;
        for (const auto& request : m_proxy.requests())
            if (request.url.starts_with("http://browse.example/flood/")) ++count;
        return count;
    };
    ASSERT_TRUE(evaluate(page, "for (var i = 0; i < 3000; i++)"
                               " window.webkit.messageHandlers.favicon.postMessage("
                               "  'http://browse.example/flood/' + i + '.png');"
                               "true"));
    ASSERT_TRUE(waitUntil([&] { return received.count >= 3000; }, 30s));
    // The tab leaves while the first is still coming: the newest, waiting behind it, is not fetched.
    ASSERT_TRUE(visit("http://elsewhere.example/selected.html"));
    ASSERT_TRUE(waitUntil([&] { return !FaviconStore::shared().isFetching("browse.example"); }, 10s));
    drain();
    EXPECT_EQ(flooded(), 1u);
}

TEST_F(HostileTest, addressChangesInALoopAreFollowedAtMostOnceAFrame) {
    ASSERT_TRUE(visit("http://browse.example/"));
    Tab& page = tab();
    int changes = 0;
    auto counted = glib::connect<void(GObject*, GParamSpec*)>(G_OBJECT(page.view()), "notify::uri",
                                                              [&](GObject*, GParamSpec*) { ++changes; });
    auto followedBefore = page.addressFollowings;
    auto start = std::chrono::steady_clock::now();
    // The engine refuses pushState after a hundred calls in a short time; fragments it does not.
    ASSERT_TRUE(evaluate(page, "for (var i = 0; i < 3000; i++) {"
                               " try { history.pushState(null, '', '?p' + i); } catch (e) {}"
                               " location.hash = 'h' + i; }"
                               "true"));
    ASSERT_TRUE(waitUntil([&] { return page.viewAddress().value_or("").ends_with("#h2999"); }, 30s));
    auto frames =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start) /
        std::chrono::milliseconds(16);
    // The last change is followed too.
    ASSERT_TRUE(waitUntil([&] { return !page.addressChanges.waiting(); }));
    EXPECT_GE(changes, 3000);
    EXPECT_GE(page.addressFollowings - followedBefore, 1);
    EXPECT_LE(page.addressFollowings - followedBefore, frames + 2)
        << changes << " address changes in " << frames << " frames were followed "
        << page.addressFollowings - followedBefore << " times";
}

TEST_F(HostileTest, aPagePrintingInALoopGetsOneDialogAndNoneStacked) {
    ASSERT_TRUE(visit("http://browse.example/"));
    BrowserWindowController& front = window();
    // The print dialogs on the screen, watched while the page asks: each is cancelled once the user has
    // also asked to print from the menu while it was up.
    std::set<GtkWidget*> seen;
    std::size_t mostAtOnce = 0;
    bool menuAsked = false;
    std::optional<std::chrono::steady_clock::time_point> firstSeen;
    glib::Source menu;
    auto printDialogs = [] {
        std::vector<GtkWidget*> found;
        GListModel* toplevels = gtk_window_get_toplevels();
        for (guint i = 0; i < g_list_model_get_n_items(toplevels); ++i) {
            auto* widget = static_cast<GtkWidget*>(g_list_model_get_item(toplevels, i));
            g_object_unref(widget);
            if (std::strcmp(G_OBJECT_TYPE_NAME(widget), "GtkPrintUnixDialog") == 0 &&
                gtk_widget_get_visible(widget))
                found.push_back(widget);
        }
        return found;
    };
    std::function<void()> look = [&] {
        auto open = printDialogs();
        mostAtOnce = std::max(mostAtOnce, open.size());
        seen.insert(open.begin(), open.end());
        if (open.empty()) return;
        if (!firstSeen) firstSeen = std::chrono::steady_clock::now();
        if (!menuAsked) {
            menuAsked = true;
            menu = glib::Source::idle([&] { app().actions().activate("printPage"); });
        }
        if (std::chrono::steady_clock::now() - *firstSeen > 300ms)
            for (GtkWidget* dialog : open)
                gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_CANCEL);
    };
    // A source of its own: it keeps turning inside the dialogs' own loops.
    guint watch = g_timeout_add(
        20,
        +[](gpointer data) -> gboolean {
            (*static_cast<std::function<void()>*>(data))();
            return G_SOURCE_CONTINUE;
        },
        &look);
    auto printed = evaluate(tab(), "for (var i = 0; i < 20; i++) print(); true");
    g_source_remove(watch);
    ASSERT_TRUE(printed);
    EXPECT_TRUE(menuAsked);
    EXPECT_EQ(mostAtOnce, 1u) << "print dialogs stacked";
    EXPECT_EQ(seen.size(), 1u) << "a page printing in a loop";
    EXPECT_EQ(front.context().status().status(), words().refusedPrint());
}

TEST_F(HostileTest, aPageShowingDialogsInALoopCannotKeepTheTab) {
    // The engine draws a page's dialogs inside its view and holds the page until each is answered:
    // a loop of them never covers the window, and the user can still take the tab elsewhere, even
    // to another page of the same site.
    ASSERT_TRUE(visit("http://browse.example/"));
    Tab& page = tab();
    int dialogs = 0;
    auto counted = glib::connect<gboolean(WebKitWebView*, WebKitScriptDialog*)>(
        page.view(), "script-dialog", [&](WebKitWebView*, WebKitScriptDialog*) {
            ++dialogs;
            return FALSE;
        });
    ASSERT_TRUE(evaluate(page, "setTimeout(function () { for (;;) alert('again'); }, 0); true"));
    ASSERT_TRUE(waitUntil([&] { return dialogs >= 1; }));
    EXPECT_EQ(dialog(), nullptr) << "no window of its own";
    ASSERT_TRUE(visit("http://browse.example/second.html"));
    EXPECT_EQ(page.viewAddress(), "http://browse.example/second.html");
    EXPECT_EQ(dialogs, 1);
}

TEST_F(HostileTest, aPageOpeningWindowsInALoopOpensAFewAndTheUserIsTold) {
    ASSERT_TRUE(visit("http://browse.example/"));
    Tab& page = tab();
    BrowserWindowController& opener = window();
    MessageCount received(page);
    std::size_t before = app().windows().size();
    // Each window is asked for while the page waits, so the message after the loop comes after them.
    auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(evaluate(page,
                         "for (var i = 0; i < 20; i++) window.open('http://browse.example/second.html?' + i);"
                         "window.webkit.messageHandlers.favicon.postMessage('after'); true"));
    ASSERT_TRUE(waitUntil([&] { return received.count >= 1; }));
    drain();
    // A few a second: as many as the allowance gives in the seconds the twenty asks took (making a
    // window takes long on a busy machine), never all of them.
    auto seconds =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - started);
    std::size_t opened = app().windows().size() - before;
    EXPECT_GE(opened, OpenAllowance::defaultPerSecond);
    EXPECT_LE(opened, OpenAllowance::defaultPerSecond * static_cast<std::size_t>(1 + seconds.count()));
    EXPECT_LT(opened, 20u);
    EXPECT_EQ(opener.context().status().status(), words().refusedWindows());
}

TEST_F(HostileTest, scriptAddressesFromALaunchAreRefused) {
    // What a desktop or a command line hands over: a script address opens nothing and runs nothing,
    // in any case of its scheme; a web address beside it still opens.
    m_proxy.answer("ran.example", "/", "ran");
    std::size_t before = tabs().size();
    app().open({"javascript:fetch('http://ran.example/')", "JavaScript:fetch('http://ran.example/')",
                "http://browse.example/second.html"});
    ASSERT_TRUE(waitUntil([&] { return m_proxy.received("http://browse.example/second.html"); }));
    ASSERT_TRUE(waitForLoad(tab()));
    EXPECT_EQ(tabs().size(), before + 1);
    EXPECT_FALSE(m_proxy.receivedHost("ran.example"));
}

} // namespace
} // namespace nimb::test
