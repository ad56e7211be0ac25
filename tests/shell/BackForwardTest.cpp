// Back and Forward through the browser's own pages as through any other: each has its place in the
// tab's list, is drawn again when it is returned to, and drawing one again where it stands takes no
// new place. No web page can reach them.

#include "ShellTest.h"

#include "library/History.h"
#include "page/GeneratedPage.h"

#include <algorithm>

namespace nimb::test {
namespace {

const std::string fixture = "http://browse.example/";
const std::string second = "http://browse.example/second.html";

class BackForwardTest : public ShellTest {
protected:
    static std::size_t entries(Tab& tab) {
        WebKitBackForwardList* list = webkit_web_view_get_back_forward_list(tab.view());
        GList* back = webkit_back_forward_list_get_back_list(list);
        GList* forward = webkit_back_forward_list_get_forward_list(list);
        std::size_t count = g_list_length(back) + g_list_length(forward) +
                            (webkit_back_forward_list_get_current_item(list) ? 1 : 0);
        g_list_free(back);
        g_list_free(forward);
        return count;
    }

    // Runs a command of the window and waits until the page it brings has loaded.
    void step(const char* command, Tab& in) {
        auto before = loadsFinished(in);
        app().actions().activate(command);
        ASSERT_TRUE(waitForLoadAfter(in, before)) << command;
    }

    std::string shownAddress() { return window().context().chrome().fullAddress(); }

    bool enabled(const char* command) {
        app().actions().validate();
        return g_action_group_get_action_enabled(G_ACTION_GROUP(app().gtk()), command) != FALSE;
    }
};

TEST_F(BackForwardTest, backFromTheReportIsThePageItReportedAndForwardIsThatReportAgain) {
    ASSERT_TRUE(visit(fixture));
    ASSERT_TRUE(waitForStatus("Document: Done  \u2014  2 blocked"));
    Tab& page = tab();
    step("nimbReport", page);
    ASSERT_EQ(page.localPage, std::string(LocationBar::aboutReport));
    const std::string report = pageText(page);
    ASSERT_NE(report.find("browse.example"), std::string::npos);
    EXPECT_EQ(shownAddress(), LocationBar::aboutReport);

    step("goBack", page);
    EXPECT_FALSE(page.localPage);
    EXPECT_EQ(page.viewAddress(), fixture);
    EXPECT_EQ(shownAddress(), fixture);
    EXPECT_NE(pageText(page).find("Browse fixture"), std::string::npos) << pageText(page);

    step("goForward", page);
    EXPECT_EQ(page.localPage, std::string(LocationBar::aboutReport));
    EXPECT_EQ(shownAddress(), LocationBar::aboutReport);
    EXPECT_EQ(pageText(page), report);
    EXPECT_TRUE(page.documentIsGenerated);

    // Through the bookmarks and history pages, and back to the article, one step at a time.
    step("showBookmarks", page);
    step("showHistory", page);
    EXPECT_EQ(shownAddress(), LocationBar::aboutHistory);
    step("goBack", page);
    EXPECT_EQ(page.localPage, std::string(LocationBar::aboutBookmarks));
    EXPECT_EQ(shownAddress(), LocationBar::aboutBookmarks);
    step("goBack", page);
    EXPECT_EQ(page.localPage, std::string(LocationBar::aboutReport));
    EXPECT_EQ(pageText(page), report);
    step("goBack", page);
    EXPECT_EQ(page.viewAddress(), fixture);

    // None of the browser's own pages became a visit.
    for (const auto& visit : prefs().history()) {
        EXPECT_FALSE(GeneratedPage::parse(visit.address)) << visit.address;
        EXPECT_EQ(visit.address.rfind("http", 0), 0u) << visit.address;
    }
}

TEST_F(BackForwardTest, aTabOpenedFromALinkGoesBackFromTheBrowsersPageToItsArticle) {
    // As a middle-click opens it: a new tab in the background with the link's address.
    Tab& opened = tabs().add(false);
    window().context().navigator().load(*Url::parse(second), opened);
    ASSERT_TRUE(waitForLoad(opened));
    tabs().select(1);
    ASSERT_TRUE(tabs().isCurrent(opened));
    step("showHistory", opened);
    EXPECT_EQ(opened.localPage, std::string(LocationBar::aboutHistory));
    EXPECT_TRUE(webkit_web_view_can_go_back(opened.view()));
    EXPECT_TRUE(enabled("goBack"));

    step("goBack", opened);
    EXPECT_EQ(opened.viewAddress(), second);
    EXPECT_FALSE(opened.localPage);
    EXPECT_TRUE(enabled("goForward"));
    step("goForward", opened);
    EXPECT_EQ(opened.localPage, std::string(LocationBar::aboutHistory));
}

TEST_F(BackForwardTest, drawingAPageAgainWhereItStandsTakesNoNewPlace) {
    ASSERT_TRUE(visit(fixture));
    Tab& page = tab();
    step("showHistory", page);
    const std::size_t length = entries(page);

    // A record change draws the history page again, ten times; so do a language change and Reload.
    for (int i = 0; i < 10; ++i) {
        auto before = loadsFinished(page);
        app().windows().historyChanged();
        ASSERT_TRUE(waitForLoadAfter(page, before));
    }
    auto before = loadsFinished(page);
    app().settings().chooseLanguage(Language::french);
    ASSERT_TRUE(waitForLoadAfter(page, before));
    EXPECT_NE(pageText(page).find(words().history()), std::string::npos);
    step("reloadPage", page);
    EXPECT_EQ(entries(page), length);

    // Back still lands on the page before it, and Forward brings the history page back drawn in the
    // language the browser speaks now, with what was recorded since.
    step("goBack", page);
    EXPECT_EQ(page.viewAddress(), fixture);
    app().settings().chooseLanguage(Language::english);
    ASSERT_TRUE(History::recordVisit(prefs(), second, "Second page", Date{5000}));
    step("goForward", page);
    EXPECT_EQ(page.localPage, std::string(LocationBar::aboutHistory));
    EXPECT_TRUE(waitUntil([&] {
        std::string text = pageText(page);
        return text.find(words().history()) != std::string::npos &&
               text.find("Second page") != std::string::npos;
    })) << pageText(page);
}

TEST_F(BackForwardTest, aPageAskedForWhileTheLastIsStillComingIsTheOneShown) {
    Tab& page = tab();
    step("showHistory", page);
    const std::string history = words().history(), bookmarks = words().bookmarks();
    const std::string reports = words().savedReports();
    struct Ask {
        const char* command;
        std::string_view address;
        const std::string& heading;
    };
    const Ask asks[] = {{"showBookmarks", LocationBar::aboutBookmarks, bookmarks},
                        {"savedReports", LocationBar::aboutReports, reports},
                        {"showHistory", LocationBar::aboutHistory, history}};
    // The page is drawn again where it stands, and the next is asked for as its document comes in,
    // before the window hears that it did: the next is the one that comes, and the tab says so.
    AtNextCommit asking(page.view());
    for (const Ask& ask : asks) {
        asking.arm([&] { app().actions().activate(ask.command); });
        app().actions().activate("reloadPage");
        EXPECT_TRUE(waitUntil([&] {
            return asking.done() && page.localPage == std::string(ask.address) &&
                   !webkit_web_view_is_loading(page.view()) && pageText(page).starts_with(ask.heading);
        })) << ask.command
            << ": " << page.localPage.value_or("") << " " << pageText(page);
        EXPECT_EQ(window().context().chrome().fullAddress(), ask.address);
    }
}

TEST_F(BackForwardTest, theReportKeptWhereItStandsKeepsItsPlaceAndBackShowsItKept) {
    ASSERT_TRUE(visit(fixture));
    ASSERT_TRUE(waitForStatus("Document: Done  \u2014  2 blocked"));
    Tab& page = tab();
    step("nimbReport", page);
    const std::size_t length = entries(page);
    auto before = loadsFinished(page);
    window().context().reports().keep(page);
    ASSERT_TRUE(waitForLoadAfter(page, before));
    ASSERT_EQ(prefs().savedReports().size(), 1u);
    EXPECT_EQ(entries(page), length);

    step("goBack", page);
    step("goForward", page);
    // The kept report's page offers to forget it, not to keep it again.
    auto forget = evaluate(page, "!!document.querySelector('a[href^=\"nimb://report-forget\"]')");
    EXPECT_EQ(forget, true);
}

TEST_F(BackForwardTest, aWebPageComesBackFromThePageCacheAndTheBrowsersPageIsDrawnAfresh) {
    ASSERT_TRUE(visit(fixture));
    Tab& page = tab();
    ASSERT_EQ(evaluate(page, "window.leftHere = 'yes'"), "yes");
    step("showHistory", page);
    ASSERT_EQ(evaluate(page, "document.body.dataset.leftHere = 'yes'"), "yes");

    // The article comes back as it was left, not loaded again.
    step("goBack", page);
    EXPECT_EQ(page.viewAddress(), fixture);
    EXPECT_EQ(evaluate(page, "window.leftHere || 'no'"), "yes");
    // The history page is never kept: it comes from the stores each time.
    step("goForward", page);
    EXPECT_EQ(page.localPage, std::string(LocationBar::aboutHistory));
    EXPECT_EQ(evaluate(page, "document.body.dataset.leftHere || 'no'"), "no");
    // And again after a page typed from it, which the history page's process now shows.
    ASSERT_TRUE(visit(second));
    ASSERT_EQ(evaluate(page, "window.leftHere = 'second'"), "second");
    step("goBack", page);
    step("goForward", page);
    EXPECT_EQ(page.viewAddress(), second);
    EXPECT_EQ(evaluate(page, "window.leftHere || 'no'"), "second");
}

} // namespace
} // namespace nimb::test
