// Page zoom: the ladder the keys climb, and the level each site keeps.

#include "library/Zoom.h"

#include "EitherStore.h"
#include "WatchedPreferences.h"
#include "library/History.h"

#include <gtest/gtest.h>

namespace nimb {
namespace {

TEST(Zoom, theLadderClimbsAndDescendsInStepsAndStopsAtItsEnds) {
    auto walk = [](std::int64_t (*step)(std::int64_t)) {
        std::vector<std::int64_t> levels{Zoom::actualSize};
        while (levels.size() < 20 && step(levels.back()) != levels.back())
            levels.push_back(step(levels.back()));
        return levels;
    };
    EXPECT_EQ(walk(Zoom::larger), (std::vector<std::int64_t>{100, 110, 120, 133, 150, 170, 200, 240, 300}));
    EXPECT_EQ(walk(Zoom::smaller), (std::vector<std::int64_t>{100, 90, 80, 67, 50, 30}));

    // A level between steps (set elsewhere) goes to the next step in the asked direction; one outside
    // the ladder comes back onto it.
    for (auto [level, larger, smaller] :
         {std::array<std::int64_t, 3>{125, 133, 120}, {10, 30, 30}, {1000, 300, 300}}) {
        EXPECT_EQ(Zoom::larger(level), larger) << level;
        EXPECT_EQ(Zoom::smaller(level), smaller) << level;
    }
}

TEST(Zoom, aSiteIsTheHostHistoryFoldsBy) {
    EXPECT_EQ(Zoom::site("https://www.Example.org/a?b#c"), "example.org");
    EXPECT_EQ(Zoom::site("http://example.org/other"), "example.org");
    EXPECT_EQ(Zoom::site("http://example.org:8080/"), "example.org:8080");
    EXPECT_EQ(Zoom::site("https://example.org:443/"), "example.org");
    EXPECT_EQ(Zoom::site("http://sub.example.org/"), "sub.example.org");
    for (const char* none : {"about:blank", "about:home", "file:///tmp/a.html", "nimb://forget-all",
                             "data:,x", "", "not an address"})
        EXPECT_EQ(Zoom::site(none), std::nullopt) << none;
}

using ZoomStore = test::WatchedPreferences;

TEST_F(ZoomStore, aSiteKeepsItsLevelAndActualSizeForgetsIt) {
    EXPECT_EQ(Zoom::level(prefs(), "https://example.org/"), 100);
    EXPECT_TRUE(Zoom::remember(prefs(), "https://example.org/page", 150));
    EXPECT_EQ(Zoom::level(prefs(), "https://www.example.org/elsewhere"), 150) << "the same site";
    EXPECT_EQ(Zoom::level(prefs(), "https://other.org/"), 100);
    EXPECT_EQ(store().pairs("siteZoom"), (Pairs{{"example.org", "150"}}));

    EXPECT_TRUE(Zoom::remember(prefs(), "https://other.org/", 67));
    EXPECT_TRUE(Zoom::remember(prefs(), "https://example.org/", 170));
    EXPECT_EQ(prefs().siteZooms(), (std::vector<SiteZoom>{{"example.org", 170}, {"other.org", 67}}))
        << "the most recently set first";

    // Back to actual size: nothing to remember.
    EXPECT_TRUE(Zoom::remember(prefs(), "https://example.org/", Zoom::actualSize));
    EXPECT_EQ(prefs().siteZooms(), (std::vector<SiteZoom>{{"other.org", 67}}));

    // Pages without a site, and levels off the ladder, write nothing.
    auto writes = store().writes.size();
    EXPECT_FALSE(Zoom::remember(prefs(), "about:home", 150));
    EXPECT_FALSE(Zoom::remember(prefs(), "file:///tmp/a.html", 150));
    EXPECT_FALSE(Zoom::remember(prefs(), "https://third.org/", 5000));
    EXPECT_FALSE(Zoom::remember(prefs(), "https://third.org/", 0));
    EXPECT_EQ(store().writes.size(), writes);
}

TEST_F(ZoomStore, notWrittenWhileHistoryIsNotRememberedAndClearedWithHistory) {
    prefs().setRememberHistory(false);
    auto writes = store().writes.size();
    EXPECT_FALSE(Zoom::remember(prefs(), "https://example.org/", 150));
    EXPECT_EQ(store().writes.size(), writes);
    EXPECT_EQ(Zoom::level(prefs(), "https://example.org/"), 100);

    prefs().setRememberHistory(true);
    ASSERT_TRUE(History::recordVisit(prefs(), "https://example.org/", "E", Date{1}));
    ASSERT_TRUE(Zoom::remember(prefs(), "https://example.org/", 150));
    store().writes.clear();
    EXPECT_EQ(History::clear(prefs()), 1);
    EXPECT_EQ(Zoom::level(prefs(), "https://example.org/"), 100);
    EXPECT_TRUE(prefs().siteZooms().empty());
    ASSERT_EQ(store().writes.size(), 1u) << "history and levels go together";
    EXPECT_EQ(store().writes[0], (std::vector<std::string>{"history", "siteZoom"}));

    // The history page's "forget everything" is the same clearing.
    ASSERT_TRUE(Zoom::remember(prefs(), "https://example.org/", 150));
    History::apply(prefs(), HistoryAction::forgetAll());
    EXPECT_TRUE(prefs().siteZooms().empty());
}

// The list is bounded: the site least recently set goes first; and what is read back is what is stored,
// in either store, with malformed rows skipped.
using ZoomStores = test::EitherStore;

TEST_P(ZoomStores, boundedToFiveHundredSitesTheLeastRecentlySetGoing) {
    for (int k = 0; k < 501; ++k)
        ASSERT_TRUE(Zoom::remember(prefs(), "https://site" + std::to_string(k) + ".org/", 110));
    auto kept = prefs().siteZooms();
    ASSERT_EQ(kept.size(), Zoom::limit);
    EXPECT_EQ(kept.front().site, "site500.org");
    EXPECT_EQ(kept.back().site, "site1.org");
    EXPECT_EQ(Zoom::level(prefs(), "https://site0.org/"), 100) << "the oldest went";

    // Set again, a site moves to the front and so stays the longest.
    ASSERT_TRUE(Zoom::remember(prefs(), "https://site1.org/", 120));
    ASSERT_TRUE(Zoom::remember(prefs(), "https://site501.org/", 120));
    EXPECT_EQ(Zoom::level(prefs(), "https://site1.org/"), 120);
    EXPECT_EQ(Zoom::level(prefs(), "https://site2.org/"), 100);
    EXPECT_EQ(prefs().siteZooms().size(), Zoom::limit);
}

TEST_P(ZoomStores, malformedRowsAreSkipped) {
    store().set("siteZoom", Pairs{{"a.org", "150"},
                                  {"b.org"},
                                  {"c.org", "abc"},
                                  {"d.org", "4000"},
                                  {"e.org", "10"},
                                  {"a.org", "200"},
                                  {"", "120"},
                                  {"f.org", "67", "extra"}});
    EXPECT_EQ(prefs().siteZooms(), (std::vector<SiteZoom>{{"a.org", 150}, {"f.org", 67}}));
    EXPECT_EQ(Zoom::level(prefs(), "https://a.org/"), 150);
    EXPECT_EQ(Zoom::level(prefs(), "https://d.org/"), 100);
}

INSTANTIATE_TEST_SUITE_P(Stores, ZoomStores, ::testing::Bool(), test::storeName);

} // namespace
} // namespace nimb
