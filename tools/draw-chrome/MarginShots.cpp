// The margin panel drawn to PNG: open on a page with notes (one taken on a deeper page of the site),
// pinned to a bookmark from the bookmarks page, on the home page with every shelf, and in windows 580
// and 500 points wide.

#include "Screenshots.h"

#include "chrome/MarginaliaView.h"
#include "library/Marginalia.h"

namespace nimb::test {
namespace {

TEST_F(ChromeScreenshots, margin) {
    ASSERT_TRUE(resize(1000));
    double now = app().now().seconds;
    struct Kept {
        const char* page;
        const char* title;
        const char* text;
        double ago; // seconds
    };
    for (const auto& note : {
             Kept{"http://bakery.example/", "The Corner Bakery",
                  "Sourdough: feed the starter the night before.", 3 * 86'400},
             Kept{
                 "http://arctic.example/", "Arctic Notes",
                 "The ice shelf loses a little more of its edge every summer, and the loss is no longer made "
                 "good in the winter.",
                 26 * 3600},
             Kept{"http://arctic.example/expeditions/1911", "Expeditions",
                  "Three men, two sledges.\nNine weeks on the ice.", 2 * 3600},
             Kept{"http://cinema.example/", "Cinema Listings", "Late show on Thursdays only.", 600},
         })
        ASSERT_TRUE(Marginalia::addNote(prefs(), note.text, note.page, note.title, Date{now - note.ago}));
    app().windows().bookmarksChanged(nullptr);

    // A page with notes, one of them taken deeper in the site.
    openSites(1);
    app().actions().activate("showMarginalia");
    MarginaliaView& panel = *window().context().margin().view();
    // The margin's page loaded and painted (two of its animation frames after it came).
    auto settled = [&] {
        WebKitWebView* web = panel.web();
        if (!waitUntil([&] { return !webkit_web_view_is_loading(web); }, 5s)) return false;
        const char* painted =
            "if (window.shotFrames === undefined) { window.shotFrames = 0;"
            " requestAnimationFrame(() => requestAnimationFrame(() => window.shotFrames = 2)); }"
            " window.shotFrames";
        return waitUntil([&] { return evaluateIn(web, painted) == nlohmann::json(2); }, 5s);
    };
    ASSERT_TRUE(settled());
    shot("margin-page-with-notes");
    // The pointer over a note: its rule lights up and its cross shows.
    auto note =
        evaluateIn(panel.web(), "(function () { var r = document.querySelector('li').getBoundingClientRect();"
                                " return [r.left + 40, r.top + 10]; })()");
    ASSERT_TRUE(note && note->is_array());
    hover(GTK_WIDGET(panel.web()), {(*note)[0].get<double>(), (*note)[1].get<double>()});
    shot("margin-note-hovered");
    hover(panel.closeButton().widget(), {12, 12});
    shot("margin-close-hovered");
    hover(GTK_WIDGET(tab().view()), {300, 400});

    // Pinned to a bookmark, as the bookmarks page's link asks, over the home page.
    app().actions().activate("newTab");
    waitForLoad(tab());
    window().context().records().apply(BookmarkAction::marginalia("http://bakery.example/"), nullptr);
    ASSERT_TRUE(settled());
    shot("margin-pinned");

    // The home page: every shelf.
    window().context().margin().unpin();
    window().context().margin().refresh();
    ASSERT_TRUE(settled());
    shot("margin-home-every-shelf");

    for (int width : {580, 500}) {
        ASSERT_TRUE(resize(width));
        tabs().select(0);
        ASSERT_TRUE(settled());
        shot("margin-" + std::to_string(width));
    }
}

} // namespace
} // namespace nimb::test
