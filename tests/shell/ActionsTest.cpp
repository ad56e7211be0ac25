// What the browser's own pages ask for through their links and forms, and the questions asked first:
// the report from Ctrl+I to kept and forgotten, the records changed from the menus; the language switch.

#include "ShellTest.h"

#include "library/Bookmarks.h"
#include "library/History.h"
#include "library/Marginalia.h"
#include "report/Dossier.h"
#include "report/ReportAction.h"

namespace nimb::test {
namespace {

const std::string fixture = "http://browse.example/";
const std::string kept = "http://kept.example/";

class ActionsTest : public ShellTest {
protected:
    // Follows the link of the generated page in the tab whose address is `href`, as a click does.
    bool follow(Tab& in, const std::string& href) {
        auto clicked =
            evaluate(in, "(function (h) { var a = Array.prototype.find.call(document.links, "
                         "function (l) { return l.getAttribute('href') === h; }); if (!a) return false; "
                         "a.click(); return true; })(" +
                             nlohmann::json(href).dump() + ")");
        return clicked == true;
    }

    bool show(const char* action, std::string_view page) {
        app().actions().activate(action);
        return waitForOwnPage(tab(), page);
    }

    // The titles the window's menu bar shows: the labels of its items, as drawn.
    static std::vector<std::string> shownMenuTitles(GtkWidget* widget) {
        if (GTK_IS_POPOVER_MENU_BAR(widget)) {
            std::vector<std::string> titles;
            for (GtkWidget* item = gtk_widget_get_first_child(widget); item;
                 item = gtk_widget_get_next_sibling(item))
                for (GtkWidget* child = gtk_widget_get_first_child(item); child;
                     child = gtk_widget_get_next_sibling(child))
                    if (GTK_IS_LABEL(child)) titles.emplace_back(gtk_label_get_text(GTK_LABEL(child)));
            return titles;
        }
        for (GtkWidget* child = gtk_widget_get_first_child(widget); child;
             child = gtk_widget_get_next_sibling(child))
            if (auto titles = shownMenuTitles(child); !titles.empty()) return titles;
        return {};
    }

    std::string html(Tab& in) {
        auto text = evaluate(in, "document.body.innerHTML");
        return text && text->is_string() ? text->get<std::string>() : "";
    }
};

TEST_F(ActionsTest, theHistoryPageForgetsOneVisitOrAllAfterAsking) {
    ASSERT_TRUE(visit(fixture));
    ASSERT_TRUE(
        waitUntil([&] { return prefs().history().size() == 1 && prefs().history().front().title != ""; }));
    ASSERT_TRUE(visit("http://browse.example/second.html"));
    ASSERT_TRUE(waitUntil([&] { return prefs().history().size() == 2; }));
    ASSERT_TRUE(show("showHistory", LocationBar::aboutHistory));

    ASSERT_TRUE(follow(tab(), HistoryAction::forget(fixture).href()));
    ASSERT_TRUE(waitUntil([&] { return prefs().history().size() == 1; }));
    EXPECT_TRUE(waitForStatus("Forgotten: Browse fixture")) << status();
    // Drawn again without it. (A title written a moment later may draw it once more, so the test
    // waits for the drawing rather than counting loads.)
    EXPECT_TRUE(waitUntil([&] {
        return !webkit_web_view_is_loading(tab().view()) &&
               html(tab()).find("browse.example/\"") == std::string::npos;
    })) << "the page was drawn again";

    ASSERT_TRUE(follow(tab(), HistoryAction::forgetAll().href()));
    EXPECT_EQ(answerQuestion(false),
              (std::pair<std::string, std::string>{"Clear History?",
                                                   "1 pages will be forgotten, and the Location: bar "
                                                   "will have nothing left to finish your typing with."}));
    EXPECT_EQ(prefs().history().size(), 1u);

    ASSERT_TRUE(follow(tab(), HistoryAction::forgetAll().href()));
    answerQuestion(true);
    ASSERT_TRUE(waitUntil([&] { return prefs().history().empty(); }));
    EXPECT_TRUE(waitForStatus("Cleared history: 1 forgotten.")) << status();
}

TEST_F(ActionsTest, aBookmarkIsEditedMovedOnAndOffTheToolbarAndRemovedAskingOnlyWhenNotesGoWithIt) {
    Bookmarks::add(prefs(), Bookmark{"Plain", "http://plain.example/", true, {}});
    Bookmarks::add(prefs(), Bookmark{"Kept", kept, false, {}});
    ASSERT_TRUE(Marginalia::addNote(prefs(), "Something worth keeping", kept, "Kept", Date{1}));
    ASSERT_TRUE(Marginalia::addNote(prefs(), "And another", kept, "Kept", Date{2}));
    ASSERT_TRUE(show("showBookmarks", LocationBar::aboutBookmarks));

    ASSERT_TRUE(follow(tab(), BookmarkAction::remove("http://plain.example/").href()));
    ASSERT_TRUE(waitUntil([&] { return prefs().bookmarks().size() == 1; }));
    EXPECT_EQ(dialog(), nullptr);
    EXPECT_TRUE(waitForStatus("Removed bookmark: Plain")) << status();
    ASSERT_TRUE(waitForLoad(tab()));

    ASSERT_TRUE(evaluate(tab(),
                         "var f = document.forms[0]; f.elements.n.value = 'Renamed';"
                         "f.elements.s.value = 'Why it matters'; f.querySelector('.save').click(); true"));
    ASSERT_TRUE(waitUntil([&] { return prefs().bookmarks().front().name == "Renamed"; }));
    EXPECT_EQ(prefs().bookmarks().front().summary, "Why it matters");
    EXPECT_TRUE(waitForStatus("Saved: Renamed")) << status();
    // The page already shows what was stored: it is not drawn again.
    EXPECT_FALSE(webkit_web_view_is_loading(tab().view()));

    ASSERT_TRUE(follow(tab(), BookmarkAction::addToToolbar(kept).href()));
    ASSERT_TRUE(waitUntil([&] { return prefs().bookmarks().front().onToolbar; }));
    EXPECT_TRUE(waitForStatus("Added to the Personal Toolbar: Renamed")) << status();
    ASSERT_TRUE(waitForLoad(tab()));
    ASSERT_TRUE(follow(tab(), BookmarkAction::removeFromToolbar(kept).href()));
    ASSERT_TRUE(waitUntil([&] { return !prefs().bookmarks().front().onToolbar; }));
    EXPECT_TRUE(waitForStatus("Off the Personal Toolbar, still bookmarked: Renamed")) << status();

    // An address no bookmark has changes nothing.
    ASSERT_TRUE(waitForLoad(tab()));
    ASSERT_TRUE(evaluate(
        tab(), "location.href = " +
                   nlohmann::json(BookmarkAction::edit("http://none.example/", "x", "y").href()).dump() +
                   "; true"));
    ASSERT_TRUE(waitUntil([&] { return status() == "Nothing to change."; }));

    // Its notes would go with it: asked first.
    ASSERT_TRUE(follow(tab(), BookmarkAction::remove(kept).href()));
    EXPECT_EQ(answerQuestion(false),
              (std::pair<std::string, std::string>{"Remove Renamed?",
                                                   "The 2 notes you kept in its margin go with it."}));
    EXPECT_EQ(prefs().bookmarks().size(), 1u);
    EXPECT_EQ(prefs().notes().size(), 2u);

    ASSERT_TRUE(follow(tab(), BookmarkAction::remove(kept).href()));
    answerQuestion(true);
    ASSERT_TRUE(waitUntil([&] { return prefs().bookmarks().empty(); }));
    EXPECT_TRUE(prefs().notes().empty());
    EXPECT_TRUE(waitForStatus("Removed bookmark: Renamed \u2014 and the 2 notes in its margin.")) << status();
}

// (The menu items are off on the home page: TabsTest.menuStatesFollowTheWindow.)
TEST_F(ActionsTest, nothingToClearOrAnnotateAndSelectedTextGoesIntoTheMargin) {
    window().context().records().clearHistory(); // as the history page's button asks
    EXPECT_EQ(status(), "Nothing to clear.");
    EXPECT_EQ(dialog(), nullptr);
    window().context().records().addToMarginalia(); // as the page's context menu asks
    EXPECT_EQ(status(), "Nothing here to bookmark.") << "the home page has no margin";

    ASSERT_TRUE(visit(fixture));
    app().actions().activate("addToMarginalia");
    ASSERT_TRUE(waitUntil([&] { return status() == "Select something on the page first."; }));
    EXPECT_TRUE(prefs().notes().empty());

    ASSERT_TRUE(evaluate(
        tab(), "var r = document.createRange(); r.selectNodeContents(document.getElementById('words'));"
               "getSelection().removeAllRanges(); getSelection().addRange(r); true"));
    app().actions().activate("addToMarginalia");
    ASSERT_TRUE(waitUntil([&] { return prefs().notes().size() == 1; }));
    EXPECT_EQ(prefs().notes().front().text, "Words worth keeping in the margin.");
    EXPECT_TRUE(waitForStatus("Kept in the margin: Words worth keeping in the margin.")) << status();
    // The note needed a home: the page was bookmarked for it.
    ASSERT_EQ(prefs().bookmarks().size(), 1u);
    EXPECT_EQ(prefs().bookmarks().front().address, fixture);
    EXPECT_TRUE(window().context().margin().isOpen());

    // A note struck out from one of the browser's own pages.
    ASSERT_TRUE(show("showBookmarks", LocationBar::aboutBookmarks));
    std::string id = prefs().notes().front().id;
    ASSERT_TRUE(evaluate(
        tab(), "location.href = " + nlohmann::json(BookmarkAction::forgetNote(fixture, id).href()).dump() +
                   "; true"));
    ASSERT_TRUE(waitUntil([&] { return prefs().notes().empty(); }));
    EXPECT_TRUE(waitForStatus("Struck out of the margin.")) << status();
}

TEST_F(ActionsTest, ctrlIShowsTheReportWithItsCompaniesAndScoreKeptShownAndForgottenFromItsPages) {
    ASSERT_TRUE(visit(fixture));
    ASSERT_TRUE(waitForStatus("Document: Done  \u2014  2 blocked"));
    Tab& page = tab();
    gtk_widget_grab_focus(GTK_WIDGET(page.view()));
    ASSERT_TRUE(xdotool(window(), {"key", "ctrl+i"}));
    ASSERT_TRUE(waitUntil([&] { return page.localPage == std::string(LocationBar::aboutReport); }));
    ASSERT_TRUE(waitForLoad(page));
    ASSERT_TRUE(page.reported);
    EXPECT_FALSE(page.reported->reason);
    EXPECT_EQ(page.reported->report.requestsBlocked(), 2);
    EXPECT_EQ(window().context().chrome().fullAddress(), LocationBar::aboutReport);
    EXPECT_STREQ(gtk_editable_get_text(GTK_EDITABLE(window().context().chrome().view().locationField())),
                 "about:report");
    std::string text = pageText(page);
    for (const auto& host : {var("namedAd"), var("namedTrack")}) {
        const auto* entry = Dossier::entryForHost(host);
        ASSERT_TRUE(entry) << host;
        EXPECT_NE(text.find(entry->company.name), std::string::npos) << entry->company.name;
    }
    auto expected = Dossier::reach({var("namedAd"), var("namedTrack")}, {}, fixture).score();
    EXPECT_EQ(evaluate(page, "document.querySelector('.score .num').textContent"), std::to_string(expected));

    // Asking again while the report shows changes nothing: no new load starts.
    auto drawn = loadsFinished(page);
    app().actions().activate("nimbReport");
    drain();
    EXPECT_EQ(page.localPage, std::string(LocationBar::aboutReport));
    EXPECT_FALSE(webkit_web_view_is_loading(page.view()));
    EXPECT_EQ(loadsFinished(page), drawn);

    // The overview offers to keep it; so does the dossier view of the same report, from its tab on the
    // page, and keeping stays in the view it was in.
    EXPECT_EQ(evaluate(page, "document.querySelector('a[href=\"nimb://report-keep\"]') !== null"), true);
    ASSERT_TRUE(follow(page, ReportAction::show(NimbReportPage::View::dossier, "", std::nullopt).href()));
    ASSERT_TRUE(
        waitUntil([&] { return page.reportPage && page.reportPage->view == NimbReportPage::View::dossier; }));
    ASSERT_TRUE(waitForLoad(page));

    ASSERT_TRUE(evaluate(page, "location.href = 'nimb://report-keep'; true"));
    ASSERT_TRUE(waitUntil([&] { return prefs().savedReports().size() == 1; }));
    EXPECT_EQ(prefs().savedReports().front().address, fixture);
    EXPECT_TRUE(waitForStatus("Kept the report for browse.example.")) << status();
    EXPECT_EQ(page.reportPage->view, NimbReportPage::View::dossier) << "keeping stays in the view it was in";
    std::string id = prefs().savedReports().front().id;

    // Listed on its page, shown from there, and forgotten.
    ASSERT_TRUE(show("savedReports", LocationBar::aboutReports));
    EXPECT_NE(pageText(page).find("browse.example"), std::string::npos);
    ASSERT_TRUE(follow(page, ReportAction::show(NimbReportPage::View::overview, "", id).href()));
    ASSERT_TRUE(waitUntil([&] { return page.localPage == std::string(LocationBar::aboutReport); }));
    ASSERT_TRUE(waitForLoad(page));
    EXPECT_EQ(page.reportPage->saved, id);
    ASSERT_TRUE(follow(page, ReportAction::forget(id).href()));
    ASSERT_TRUE(waitUntil([&] { return prefs().savedReports().empty(); }));
    EXPECT_TRUE(waitForStatus("Forgotten: the report for browse.example.")) << status();
    EXPECT_TRUE(waitUntil([&] { return page.localPage == std::string(LocationBar::aboutReports); }));
}

TEST_F(ActionsTest, rememberHistoryFlipsOnceForEveryWindow) {
    app().actions().activate("newWindow");
    ASSERT_EQ(app().windows().size(), 2u);
    ASSERT_TRUE(prefs().rememberHistory());
    app().actions().activate("toggleRememberHistory");
    EXPECT_FALSE(prefs().rememberHistory());
    EXPECT_EQ(window(0).context().status().status(), "No longer writing history down.");
    EXPECT_EQ(window(1).context().status().status(), "No longer writing history down.");

    // The visit's load has finished, and with it the moment a visit is recorded.
    ASSERT_TRUE(visit(fixture, &window(1)));
    EXPECT_TRUE(prefs().history().empty());
}

TEST_F(ActionsTest, switchingTheLanguageRewordsEverythingOpen) {
    ASSERT_TRUE(show("showHistory", LocationBar::aboutHistory));
    app().actions().activate("newTab"); // the home page
    ASSERT_TRUE(waitForLoad(tab()));
    const Vocabulary& french = words(Language::french);

    app().actions().activate("chooseLanguage", "fr");
    EXPECT_EQ(currentLanguage(), Language::french);
    EXPECT_EQ(prefs().language(), Language::french);
    EXPECT_EQ(status(), french.nowSpeaking());
    ASSERT_TRUE(waitForLoad(*tabs().all().at(0)));
    ASSERT_TRUE(waitForLoad(tab()));
    EXPECT_TRUE(waitUntil([&] { return pageText(tab()).find(french.recent()) != std::string::npos; }));
    EXPECT_TRUE(waitUntil(
        [&] { return pageText(*tabs().all().at(0)).find(french.nothingRecorded()) != std::string::npos; }));
    // The menu bar is the French one, as drawn in the window that was open before the switch (the
    // model it is drawn from: MenusTest).
    auto shown = shownMenuTitles(GTK_WIDGET(window().window()));
    ASSERT_GE(shown.size(), 2u);
    EXPECT_EQ(shown[1], french.fileMenu());
    GMenuModel* bar = gtk_application_get_menubar(app().gtk());
    // The status line stays with what the switch said, though the pages were drawn again since.
    EXPECT_EQ(status(), french.nowSpeaking());

    // Choosing the language already spoken changes nothing.
    window().context().status().setStatus("unchanged");
    app().actions().activate("chooseLanguage", "fr");
    EXPECT_EQ(status(), "unchanged");
    EXPECT_EQ(gtk_application_get_menubar(app().gtk()), bar);
}

class PreferredLanguageTest : public ShellTest {
protected:
    void configure() override {
        m_options.preferredLanguages = std::vector<std::string>{"de_DE.UTF-8", "de", "it_IT", "C"};
    }
};

TEST_F(PreferredLanguageTest, startsInTheFirstSystemLanguageItSpeaks) {
    EXPECT_EQ(currentLanguage(), Language::italian);
    EXPECT_EQ(prefs().language(), std::nullopt) << "the system's choice is not written back";
}

} // namespace
} // namespace nimb::test
