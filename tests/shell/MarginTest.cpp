// The margin panel in the real window: what it shows on the browser's own pages, on a web page and
// pinned to a home; drawn again after notes and bookmarks change; clicks in it handed over; its width.

#include "ChromeTest.h"

#include "chrome/MarginaliaView.h"
#include "library/Bookmarks.h"
#include "library/Marginalia.h"

namespace nimb::test {
namespace {

const std::string kept = "http://kept.example/";
const std::string other = "http://other.example/";

class MarginTest : public ChromeTest {
protected:
    void configure() override {
        seed([](Preferences& stored) {
            Bookmarks::add(stored, Bookmark{"Kept", kept, false, {}});
            Bookmarks::add(stored, Bookmark{"Other", other, false, {}});
            Marginalia::addNote(stored, "An older note", other, "Other", Date{1'000});
            Marginalia::addNote(stored, "A newer note", kept, "Kept", Date{2'000});
        });
    }

    MarginController& margin() { return window().context().margin(); }
    MarginaliaView& panel() { return *margin().view(); }

    // The margin's page as it reads.
    std::string marginText() {
        auto text = evaluateIn(panel().web(), "document.body ? document.body.innerText : ''");
        return text && text->is_string() ? text->get<std::string>() : "";
    }
    // Waits until the margin's page says what the condition wants; says what it read when it never does.
    bool marginReads(const std::function<bool(const std::string&)>& wanted) {
        bool read = waitUntil([&] { return margin().view() && wanted(marginText()); }, 10s);
        if (!read) ADD_FAILURE() << "the margin reads \"" << (margin().view() ? marginText() : "") << "\"";
        return read;
    }
    bool marginHas(const std::string& text) {
        return marginReads([&](const std::string& read) { return read.find(text) != std::string::npos; });
    }

    // Where a link of the margin's page stands in its web view, found by a selector; none without it.
    std::optional<Point> linkCentre(const std::string& selector) {
        auto box =
            evaluateIn(panel().web(), "(function () { var a = document.querySelector(" +
                                          nlohmann::json(selector).dump() +
                                          "); if (!a) return null; var r = a.getBoundingClientRect();"
                                          " return [r.left + r.width / 2, r.top + r.height / 2]; })()");
        if (!box || !box->is_array()) return std::nullopt;
        return Point{(*box)[0].get<double>(), (*box)[1].get<double>()};
    }
};

TEST_F(MarginTest, togglesOpenWithEveryShelfOnTheHomePageAtTheLayoutsWidth) {
    EXPECT_EQ(margin().view(), nullptr) << "the panel is built when the margin first opens";
    EXPECT_EQ(chrome().margin(), nullptr);

    app().actions().activate("showMarginalia");
    ASSERT_TRUE(margin().isOpen());
    ASSERT_NE(margin().view(), nullptr);
    EXPECT_EQ(margin().here(), std::nullopt) << "the home page has no margin of its own";
    // Every shelf, newest first.
    ASSERT_TRUE(marginReads([](const std::string& read) {
        auto newer = read.find("A newer note");
        auto older = read.find("An older note");
        return newer != std::string::npos && older != std::string::npos && newer < older;
    }));
    EXPECT_FALSE(webkit_settings_get_enable_javascript_markup(webkit_web_view_get_settings(panel().web())))
        << "the margin's page runs no script";
    EXPECT_EQ(panel().title(), "Marginalia");
    EXPECT_EQ(panel().closeButton().help(), "Hide the margin");

    // At the layout's width, beside a page area that much narrower; the close box in the header.
    for (auto [width, panelWidth] : {std::pair{1000, 320}, std::pair{580, 320}, std::pair{500, 240}}) {
        ASSERT_TRUE(resize(width));
        ASSERT_TRUE(nextFrame());
        ASSERT_TRUE(chrome().layout().margin);
        Rect shown = frame(panel().widget());
        EXPECT_EQ(shown, *chrome().layout().margin) << width;
        EXPECT_EQ(shown.width, panelWidth) << width;
        EXPECT_EQ(shown.x, width - panelWidth) << width;
        EXPECT_EQ(frame(GTK_WIDGET(tab().view())).width, width - panelWidth) << width;
        EXPECT_EQ(frame(panel().closeButton().widget()), (Rect{width - 4.0 - 24, shown.y + 3, 24, 24}))
            << width;
    }
    // (Below 460 points the panel would be narrower than 200 and is not shown: WindowLayoutTest. The
    // window is never that narrow.)

    // Reworded with the language, the page too.
    app().actions().activate("chooseLanguage", "fr");
    EXPECT_EQ(panel().title(), "Notes en marge");
    EXPECT_EQ(panel().closeButton().help(), "Masquer la marge");
    EXPECT_TRUE(waitUntil([&] {
        const char* title = webkit_web_view_get_title(panel().web());
        return title && std::string(title) == "Notes en marge";
    }));
    app().actions().activate("chooseLanguage", "en");

    // The close box closes it; the page has the whole width again.
    ASSERT_TRUE(click(panel().closeButton().widget(), 12, 12));
    EXPECT_FALSE(margin().isOpen());
    ASSERT_TRUE(nextFrame());
    EXPECT_FALSE(chrome().layout().margin);
    EXPECT_FALSE(gtk_widget_get_child_visible(panel().widget()));
    EXPECT_EQ(frame(GTK_WIDGET(tab().view())).width, 500);
}

TEST_F(MarginTest, theMarginActionPinsItUntilTheTabChanges) {
    m_proxy.answer("other.example", "/", "<title>Other</title><p>Another site.");
    ASSERT_TRUE(visit(other));
    // The bookmarks page, in a tab of its own, offers each bookmark's margin.
    app().actions().activate("newTab");
    ASSERT_TRUE(waitForLoad(tab()));
    app().actions().activate("showBookmarks");
    ASSERT_TRUE(waitUntil([&] { return tab().localPage == std::string(LocationBar::aboutBookmarks); }));
    ASSERT_TRUE(waitForLoad(tab()));
    auto clicked =
        evaluate(tab(), "(function (h) { var a = Array.prototype.find.call(document.links, "
                        "function (l) { return l.getAttribute('href') === h; }); if (!a) return false; "
                        "a.click(); return true; })(" +
                            nlohmann::json(BookmarkAction::marginalia(kept).href()).dump() + ")");
    ASSERT_EQ(clicked, true);
    ASSERT_TRUE(waitUntil([&] { return margin().isOpen(); }));
    EXPECT_EQ(margin().pinned(), kept);
    ASSERT_TRUE(marginReads([](const std::string& read) {
        return read.find("A newer note") != std::string::npos &&
               read.find("An older note") == std::string::npos;
    }));

    // Another tab: selecting it lets go of the pinned address, and the margin follows its page.
    tabs().select(0);
    EXPECT_EQ(margin().pinned(), std::nullopt);
    EXPECT_EQ(margin().here(), other);
    ASSERT_TRUE(marginReads([](const std::string& read) {
        return read.find("An older note") != std::string::npos &&
               read.find("A newer note") == std::string::npos;
    }));
    EXPECT_TRUE(margin().isOpen());
}

TEST_F(MarginTest, notesComeAndGoAtOnceAndItsLinksAreHandedOver) {
    const std::string page = fixture; // browse.example: no bookmark of its site yet
    ASSERT_TRUE(visit(page));
    ASSERT_TRUE(evaluate(
        tab(), "var r = document.createRange(); r.selectNodeContents(document.getElementById('words'));"
               "getSelection().removeAllRanges(); getSelection().addRange(r); true"));
    app().actions().activate("addToMarginalia");
    ASSERT_TRUE(waitUntil([&] { return prefs().notes().size() == 3; }));
    EXPECT_TRUE(margin().isOpen()) << "keeping a note opens the margin";
    EXPECT_EQ(margin().here(), page);
    ASSERT_TRUE(marginHas("Words worth keeping in the margin."));
    EXPECT_EQ(marginText().find("A newer note"), std::string::npos) << "other sites stay out";
    ASSERT_TRUE(nextFrame());

    // The page never goes anywhere of its own accord.
    ASSERT_TRUE(evaluateIn(panel().web(), "location.href = 'http://browse.example/second.html'; true"));
    ASSERT_TRUE(nextFrame());
    EXPECT_TRUE(panel().showsGenerated());
    EXPECT_EQ(tabs().size(), 1u);

    // A real click on the note's cross strikes it out, and the margin shows the shelf empty.
    auto cross = linkCentre("a.x");
    ASSERT_TRUE(cross);
    GtkWidget* web = GTK_WIDGET(panel().web());
    ASSERT_TRUE(pointer(web, *cross));
    ASSERT_TRUE(click(web, cross->x, cross->y));
    ASSERT_TRUE(waitUntil([&] { return prefs().notes().size() == 2; }));
    ASSERT_TRUE(marginHas(words().marginaliaHow()));
    EXPECT_EQ(marginText().find("Words worth keeping"), std::string::npos);
    EXPECT_EQ(tabs().size(), 1u);

    // Any other link opens in a new tab in front; the margin stays as it was.
    ASSERT_EQ(evaluateIn(panel().web(), "document.querySelector('h2 a').click(); true"), true);
    ASSERT_TRUE(waitUntil([&] { return tabs().size() == 2; }));
    EXPECT_EQ(tabs().current(), 1);
    ASSERT_TRUE(waitForLoad(tab()));
    EXPECT_EQ(tab().viewAddress(), page);
    EXPECT_TRUE(panel().showsGenerated());

    // Notes kept and struck out elsewhere come and go here too.
    ASSERT_TRUE(Marginalia::addNote(prefs(), "Kept from a test", page, "Browse", Date{3'000}));
    window().context().application().windows().bookmarksChanged(nullptr);
    ASSERT_TRUE(marginHas("Kept from a test"));
    window().context().records().apply(BookmarkAction::forgetNote(page, prefs().notes().back().id), nullptr);
    ASSERT_TRUE(marginReads(
        [](const std::string& read) { return read.find("Kept from a test") == std::string::npos; }));
}

} // namespace
} // namespace nimb::test
