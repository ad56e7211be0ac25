// The road of a page visit, end to end in the real application: typing an address, the page loading
// under the rule list, the status line, history, bookmarks, and the site report.

#include "ShellTest.h"

#include "chrome/CustomChrome.h"
#include "location/SearchEngine.h"
#include "location/UserAgent.h"
#include "page/GeneratedPage.h"

#include <cerrno>

namespace nimb::test {
namespace {

class BrowseTest : public ShellTest {};

const std::string fixture = "http://browse.example/";

TEST_F(BrowseTest, startsOnTheHomePageAndATypedAddressLoadsUnderTheRuleListIsBookmarkedAndListed) {
    EXPECT_EQ(app().windows().size(), 1u);
    EXPECT_EQ(tabs().all().size(), 1u);
    EXPECT_EQ(tab().localPage, std::string(LocationBar::aboutHome));
    auto shown = GeneratedPage::parse(tab().viewAddress().value_or(""));
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->internalAddress, LocationBar::aboutHome);
    EXPECT_EQ(window().context().chrome().fullAddress(), LocationBar::aboutHome);
    EXPECT_STREQ(gtk_window_get_title(window().window()), "The NIMB 2000");
    EXPECT_NE(pageText(tab()).find(words().recent()), std::string::npos);

    // The page loads, and the status line counts what was blocked. (The field's short form at rest:
    // ChromeTest's LocationFieldTest.)
    ASSERT_TRUE(visit(fixture));
    EXPECT_FALSE(tab().localPage);
    EXPECT_EQ(window().context().chrome().fullAddress(), fixture);
    EXPECT_TRUE(waitForStatus("Document: Done  \u2014  2 blocked")) << status();
    EXPECT_FALSE(m_proxy.receivedHost(var("namedAd")));
    EXPECT_FALSE(m_proxy.receivedHost(var("namedTrack")));
    // The page's own recorder says so too.
    EXPECT_TRUE(waitUntil([&] { return tab().network == 2; })) << tab().network;
    EXPECT_TRUE(waitUntil([&] {
        return std::string_view(gtk_window_get_title(window().window())) == "Browse fixture - The NIMB 2000";
    })) << gtk_window_get_title(window().window());

    // The site received the engine's agent: its platform and engine tokens, then the browser's one
    // Safari claim.
    std::optional<std::string> agent;
    for (const auto& request : m_proxy.requests())
        if (request.host == "browse.example" && request.headers.count("user-agent"))
            agent = request.headers.at("user-agent");
    ASSERT_TRUE(agent);
    const std::string gecko = "(KHTML, like Gecko) ";
    auto cut = agent->find(gecko);
    ASSERT_NE(cut, std::string::npos) << *agent;
    EXPECT_EQ(agent->substr(cut + gecko.size()), UserAgent::applicationName()) << *agent;
    EXPECT_EQ(agent->rfind("Mozilla/5.0 (", 0), 0u) << *agent;
    EXPECT_EQ(agent->find("Safari/"), agent->rfind("Safari/")) << *agent;

    // Bookmarked from the menu, once; the bookmarks page lists it.
    ASSERT_TRUE(waitUntil([&] { return tab().pageTitle() == "Browse fixture"; }));
    app().actions().activate("addBookmark");
    ASSERT_EQ(prefs().bookmarks().size(), 1u);
    EXPECT_EQ(prefs().bookmarks().front().name, "Browse fixture");
    EXPECT_FALSE(prefs().bookmarks().front().onToolbar);
    EXPECT_TRUE(waitForStatus("Added bookmark: Browse fixture")) << status();

    app().actions().activate("addBookmark");
    EXPECT_EQ(status(), "Already bookmarked: Browse fixture");
    EXPECT_EQ(prefs().bookmarks().size(), 1u);

    app().actions().activate("showBookmarks");
    ASSERT_TRUE(waitForLoad(tab()));
    EXPECT_EQ(tab().localPage, std::string(LocationBar::aboutBookmarks));
    auto html = evaluate(tab(), "document.body.innerHTML");
    ASSERT_TRUE(html && html->is_string());
    EXPECT_NE(html->get<std::string>().find("Browse fixture"), std::string::npos);
    // The command's message outlasts the page it brought up.
    EXPECT_EQ(status(), "Already bookmarked: Browse fixture");

    // The visit is recorded, and the home page lists it.
    ASSERT_TRUE(waitUntil([&] { return !prefs().history().empty(); }));
    EXPECT_EQ(prefs().history().front().address, fixture);
    EXPECT_TRUE(waitUntil([&] { return prefs().history().front().title == "Browse fixture"; }));
    type("about:home");
    ASSERT_TRUE(waitForLoad(tab()));
    EXPECT_EQ(tab().localPage, std::string(LocationBar::aboutHome));
    EXPECT_NE(pageText(tab()).find("browse.example"), std::string::npos);
}

// (The report of a web page, from Ctrl+I to kept and forgotten: ActionsTest.)
TEST_F(BrowseTest, reportsThatCannotBeMadeSayWhy) {
    // On one of the browser's own pages.
    app().actions().activate("nimbReport");
    ASSERT_TRUE(waitUntil([&] { return tab().localPage == std::string(LocationBar::aboutReport); }));
    ASSERT_TRUE(tab().reported);
    EXPECT_EQ(tab().reported->reason, NimbReportPage::Unavailable::localPage);
    ASSERT_TRUE(waitForLoad(tab()));
    EXPECT_NE(pageText(tab()).find(words().unavailableLine(NimbReportPage::Unavailable::localPage)),
              std::string::npos);

    // With recording off, no script is asked.
    app().actions().activate("toggleNimbReport");
    ASSERT_FALSE(prefs().nimbReportEnabled());
    ASSERT_TRUE(visit(fixture));
    app().actions().activate("nimbReport");
    ASSERT_TRUE(waitUntil([&] { return tab().localPage == std::string(LocationBar::aboutReport); }));
    EXPECT_EQ(tab().reported->reason, NimbReportPage::Unavailable::recordingOff);

    // Keeping a report with a reason keeps nothing.
    ASSERT_TRUE(waitForLoad(tab()));
    window().context().reports().keep(tab());
    EXPECT_EQ(status(), "There is no report here to keep.");
    EXPECT_TRUE(prefs().savedReports().empty());
}

TEST_F(BrowseTest, turningBlockingOffReloadsAndNothingIsBlocked) {
    ASSERT_TRUE(visit(fixture));
    ASSERT_TRUE(waitForStatus("Document: Done  \u2014  2 blocked"));
    m_proxy.clearLog();
    app().actions().activate("toggleBlocking");
    EXPECT_FALSE(prefs().contentBlockingEnabled());
    ASSERT_TRUE(waitUntil([&] { return m_proxy.receivedHost(var("namedAd")); }))
        << "the page was not reloaded";
    ASSERT_TRUE(waitForLoad(tab()));
    // The recorder still counts the requests the blocklist names, once the page is quiet; none of
    // them is called blocked: they got through.
    ASSERT_TRUE(waitUntil([&] { return tab().network == 2; }));
    EXPECT_TRUE(waitForStatus("Document: Done  \u2014  2 requests on the blocklist got through")) << status();
    EXPECT_EQ(window().context().status().blockedCount(tab()), 0);
    EXPECT_FALSE(window().context().status().shield().isOn);
}

TEST_F(BrowseTest, linksOnlySearchRewritesGoogleResultsTypedOrFollowed) {
    ASSERT_TRUE(prefs().linksOnlySearch()) << "on unless the user turns it off";
    m_proxy.route("www.google.com", "/search", [](const HttpRequest&) {
        HttpResponse response;
        response.body = "<!doctype html><title>Results</title><p>Results";
        return response;
    });
    auto askedWithWebResults = [&] {
        for (const auto& request : m_proxy.requests()) {
            if (request.host == "www.google.com" && request.query.find("udm=14") != std::string::npos)
                return true;
        }
        return false;
    };
    type("http://www.google.com/search?q=typed");
    ASSERT_TRUE(waitUntil(askedWithWebResults));
    EXPECT_EQ(window().context().chrome().fullAddress(), "http://www.google.com/search?q=typed&udm=14");

    m_proxy.clearLog();
    ASSERT_TRUE(visit(fixture));
    ASSERT_TRUE(evaluate(tab(), "document.getElementById('search').click(), true"));
    ASSERT_TRUE(waitUntil(askedWithWebResults));
    EXPECT_TRUE(
        waitUntil([&] { return tab().viewAddress() == "http://www.google.com/search?q=nimb&udm=14"; }));
    // The results have loaded before the setting changes, so that the reload below is its own load.
    ASSERT_TRUE(waitForLoad(tab()));

    // Turned off, the address is left as it is.
    app().actions().activate("toggleLinksOnlySearch");
    EXPECT_FALSE(prefs().linksOnlySearch());
    ASSERT_TRUE(waitForLoad(tab())); // every tab was reloaded
    m_proxy.clearLog();
    ASSERT_TRUE(visit("http://www.google.com/search?q=plain"));
    EXPECT_EQ(tab().viewAddress(), "http://www.google.com/search?q=plain");
    EXPECT_FALSE(askedWithWebResults());

    // The engine chosen from the menu is the one typed searches go to; nothing reloads.
    app().actions().activate("chooseEngine", "wiby");
    EXPECT_EQ(prefs().searchEngine(), SearchEngine::wiby);
    app().actions().activate("chooseEngine", "no such engine");
    EXPECT_EQ(prefs().searchEngine(), SearchEngine::wiby);
}

TEST_F(BrowseTest, forgettingStorageEmptiesTheJarsThenReloads) {
    ASSERT_TRUE(prefs().forgetStorageEnabled());
    ASSERT_TRUE(visit(fixture));
    // Off: every tab reloads at once.
    m_proxy.clearLog();
    app().actions().activate("toggleForgetStorage");
    EXPECT_FALSE(prefs().forgetStorageEnabled());
    ASSERT_TRUE(waitUntil([&] { return m_proxy.received(fixture); }));
    ASSERT_TRUE(waitForLoad(tab()));
    ASSERT_TRUE(evaluate(tab(), "localStorage.setItem('kept', 'yes'), true"));

    // On: the jars are emptied first, and the tabs reload when that is done.
    m_proxy.clearLog();
    app().actions().activate("toggleForgetStorage");
    EXPECT_TRUE(prefs().forgetStorageEnabled());
    ASSERT_TRUE(waitUntil([&] { return m_proxy.received(fixture); }));
    ASSERT_TRUE(waitForLoad(tab()));
    app().actions().activate("toggleForgetStorage"); // off again, to read the real jar
    ASSERT_TRUE(waitForLoad(tab()));
    EXPECT_EQ(evaluate(tab(), "localStorage.getItem('kept')"), nlohmann::json()) << "the jar was emptied";
}

class TimeoutTest : public ShellTest {
protected:
    void configure() override { m_options.requestTimeout = 1s; }
};

TEST_F(TimeoutTest, anAddressThatDoesNotAnswerIsStoppedAndSaysSo) {
    m_proxy.answer("slow.example", "/", "<title>Too late</title>", 5s);
    type("http://slow.example/");
    ASSERT_TRUE(waitUntil([&] { return status() == "Contacting host..."; }));
    ASSERT_TRUE(waitUntil([&] { return status() == g_strerror(ETIMEDOUT); }, 4s)) << status();
    EXPECT_FALSE(webkit_web_view_is_loading(tab().view()));
    EXPECT_TRUE(prefs().history().empty());
}

TEST_F(BrowseTest, aFailedLoadLeavesItsErrorInTheStatusLine) {
    // A nimb address that asks for nothing is an ordinary address, which no one can load.
    window().context().navigator().load(*Url::parse("nimb://nothing-at-all"), tab());
    ASSERT_TRUE(waitUntil([&] { return tab().status.has_value(); }));
    EXPECT_EQ(status(), *tab().status);
    EXPECT_NE(status(), "Contacting host...");
    ASSERT_TRUE(waitForLoad(tab()));
    EXPECT_EQ(status(), *tab().status);
}

TEST_F(BrowseTest, aTitleChangingInALoopIsWrittenAtMostOnceASecondAndItsLastTitleLands) {
    // A history page in a tab of its own, drawn again whenever history changes.
    type("about:history");
    ASSERT_TRUE(waitForLoad(tab()));
    Tab& history = tab();
    app().actions().activate("newTab");
    Tab& page = tab();
    ASSERT_NE(&page, &history);
    auto start = std::chrono::steady_clock::now();
    std::size_t drawnBefore = loadsFinished(history);
    ASSERT_TRUE(visit("http://browse.example/titles.html"));
    ASSERT_TRUE(waitUntil([&] { return page.pageTitle() == "Final title"; }));
    ASSERT_TRUE(waitUntil(
        [&] { return !prefs().history().empty() && prefs().history().front().title == "Final title"; }));
    auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    // 400 changes; a write (and a drawing of the history page) at most once a second, and one for the
    // visit itself.
    std::size_t drawn = loadsFinished(history) - drawnBefore;
    EXPECT_LE(static_cast<double>(drawn), seconds + 3) << drawn << " drawings in " << seconds << " s";
    EXPECT_EQ(prefs().history().size(), 1u);
}

// A page that is the answer to a form is not asked for again behind the user's back: reloading it
// would send the form again, so the browser asks first, and Cancel sends nothing.
class FormTest : public ShellTest {
protected:
    void configure() override {
        m_proxy.answer("form.example", "/",
                       "<!doctype html><title>Order</title><form method=post action=/sent>"
                       "<button id=send style='width:200px;height:80px'>Send</button>"
                       "<input name=item value=teapot></form>");
        m_proxy.route("form.example", "/sent", [](const HttpRequest& request) {
            return HttpResponse{200,
                                "text/html; charset=utf-8",
                                {},
                                "<!doctype html><title>Sent</title><p>" + request.method + " " + request.body,
                                {}};
        });
    }

    // The forms that arrived at the server.
    std::size_t sent() {
        std::size_t count = 0;
        for (const auto& request : m_proxy.requests())
            count += request.host == "form.example" && request.path == "/sent" && request.method == "POST";
        return count;
    }
    bool pressKeys(const std::string& key) { return xdotool(window(), {"key", key}); }
};

TEST_F(FormTest, reloadingTheAnswerToAFormAsksBeforeSendingItAgain) {
    const std::string answer = "http://form.example/sent";
    ASSERT_TRUE(visit("http://form.example/"));
    // Sent with a real click on its button.
    auto command = pointAt(GTK_WIDGET(tab().view()), 60, 30);
    command.insert(command.end(), {"click", "1"});
    ASSERT_TRUE(xdotool(window(), command));
    ASSERT_TRUE(waitUntil(
        [&] { return tab().viewAddress() == answer && !webkit_web_view_is_loading(tab().view()); }));
    ASSERT_EQ(sent(), 1u);
    EXPECT_NE(pageText(tab()).find("POST item=teapot"), std::string::npos);
    ASSERT_TRUE(evaluate(tab(), "window.stillHere = true"));

    // From the keyboard and from the button: asked, and Cancel leaves the page as it is.
    ASSERT_TRUE(pressKeys("ctrl+r"));
    auto [question, detail] = answerQuestion(false);
    EXPECT_EQ(question, "Send the form again?");
    EXPECT_FALSE(detail.empty());
    GtkWidget* reload =
        dynamic_cast<CustomChrome&>(window().context().chrome().view()).reloadButton().widget();
    ASSERT_TRUE(click(reload, gtk_widget_get_width(reload) / 2.0, gtk_widget_get_height(reload) / 2.0));
    EXPECT_EQ(answerQuestion(false).first, "Send the form again?");
    app().actions().activate("reloadPage");
    EXPECT_EQ(answerQuestion(false).first, "Send the form again?");
    // The page is the same document, and the server saw the form once.
    EXPECT_EQ(evaluate(tab(), "window.stillHere === true"), nlohmann::json(true));
    EXPECT_EQ(sent(), 1u);

    // Agreed to, it goes again.
    std::size_t before = loadsFinished(tab());
    ASSERT_TRUE(pressKeys("ctrl+r"));
    EXPECT_EQ(answerQuestion(true).first, "Send the form again?");
    ASSERT_TRUE(waitForLoadAfter(tab(), before));
    EXPECT_EQ(sent(), 2u);
    EXPECT_EQ(evaluate(tab(), "window.stillHere === undefined"), nlohmann::json(true));

    // An ordinary page reloads without a word.
    ASSERT_TRUE(visit("http://form.example/"));
    before = loadsFinished(tab());
    ASSERT_TRUE(pressKeys("ctrl+r"));
    ASSERT_TRUE(waitForLoadAfter(tab(), before));
    EXPECT_EQ(dialog(), nullptr);
    EXPECT_EQ(sent(), 2u);
}

} // namespace
} // namespace nimb::test
