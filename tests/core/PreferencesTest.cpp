// One scenario suite, run against the in-memory store and the SQLite store alike.

#include "EitherStore.h"

#include <gtest/gtest.h>

namespace nimb {
namespace {

using PreferencesTest = test::EitherStore;

TEST_P(PreferencesTest, freshStoreReadsDefaults) {
    EXPECT_EQ(prefs().searchEngine(), SearchEngine::ddgLite);
    EXPECT_EQ(prefs().language(), std::nullopt);
    EXPECT_EQ(prefs().homePage(), "https://lite.duckduckgo.com/lite/");
    EXPECT_TRUE(prefs().history().empty() && prefs().bookmarks().empty() && prefs().notes().empty() &&
                prefs().savedReports().empty());
}

TEST_P(PreferencesTest, switchesStartOnAndSettingsRoundTripUnderTheirKeys) {
    prefs().setSearchEngine(SearchEngine::marginalia);
    EXPECT_EQ(prefs().searchEngine(), SearchEngine::marginalia);
    EXPECT_EQ(store().string("searchEngine"), "marginalia");

    prefs().setLanguage(Language::italian);
    EXPECT_EQ(prefs().language(), Language::italian);
    EXPECT_EQ(store().string("language"), "it");

    struct Switch {
        std::string_view key;
        bool (Preferences::*get)() const;
        WriteOutcome (Preferences::*set)(bool);
    };
    for (auto [key, get, set] : {
             Switch{"javaScriptEnabled", &Preferences::javaScriptEnabled, &Preferences::setJavaScriptEnabled},
             Switch{"contentBlocking", &Preferences::contentBlockingEnabled,
                    &Preferences::setContentBlockingEnabled},
             Switch{"recordSiteReports", &Preferences::nimbReportEnabled, &Preferences::setNimbReportEnabled},
             Switch{"forgetLocalStorage", &Preferences::forgetStorageEnabled,
                    &Preferences::setForgetStorageEnabled},
             Switch{"rememberHistory", &Preferences::rememberHistory, &Preferences::setRememberHistory},
             Switch{"googleWebResultsOnly", &Preferences::linksOnlySearch, &Preferences::setLinksOnlySearch},
         }) {
        EXPECT_TRUE((prefs().*get)()) << key << " starts on";
        (prefs().*set)(false);
        EXPECT_FALSE((prefs().*get)()) << key;
        EXPECT_EQ(store().boolean(key), false) << key;
        (prefs().*set)(true);
        EXPECT_TRUE((prefs().*get)()) << key;
        // A value of another type under the key reads as nothing, and nothing means on.
        store().set(key, "0");
        EXPECT_TRUE((prefs().*get)()) << key;
    }
}

TEST_P(PreferencesTest, noLanguageAndUnknownValuesReadAsDefaults) {
    prefs().setLanguage(Language::french);
    prefs().setLanguage(std::nullopt);
    EXPECT_EQ(store().string("language"), "");
    EXPECT_EQ(prefs().language(), std::nullopt);
    for (const char* code : {"de", "FR"}) {
        store().set("language", code);
        EXPECT_EQ(prefs().language(), std::nullopt) << code;
    }
    store().set("searchEngine", "altavista");
    EXPECT_EQ(prefs().searchEngine(), SearchEngine::ddgLite);
    store().set("searchEngine", true);
    EXPECT_EQ(prefs().searchEngine(), SearchEngine::ddgLite);
}

TEST_P(PreferencesTest, theWindowSizeRoundTripsAndOnlyASizeAWindowCouldHaveIsRead) {
    EXPECT_EQ(prefs().windowSize(), std::nullopt);
    prefs().setWindowSize({840, 610, true});
    EXPECT_EQ(prefs().windowSize(), (WindowSize{840, 610, true}));
    EXPECT_EQ(store().string("windowWidth"), "840");
    EXPECT_EQ(store().string("windowHeight"), "610");
    EXPECT_EQ(store().boolean("windowMaximized"), true);

    for (const char* width : {"0", "-840", "16385", "840px", "", "99999999999999999999"}) {
        store().set("windowWidth", width);
        EXPECT_EQ(prefs().windowSize(), std::nullopt) << width;
    }
    store().set("windowWidth", "16384");
    store().set("windowMaximized", "1"); // not a flag: not maximised
    EXPECT_EQ(prefs().windowSize(), (WindowSize{16384, 610, false}));
    store().set("windowHeight", true);
    EXPECT_EQ(prefs().windowSize(), std::nullopt);
}

TEST_P(PreferencesTest, homePageFallsBackThroughTheEngine) {
    prefs().setSearchEngine(SearchEngine::wiby);
    EXPECT_EQ(prefs().homePage(), "https://wiby.me/");
    prefs().setSearchEngine(SearchEngine::none);
    EXPECT_EQ(prefs().homePage(), "about:home");
    prefs().setHomePage("https://example.org/start");
    EXPECT_EQ(prefs().homePage(), "https://example.org/start");
    prefs().setHomePage("");
    EXPECT_EQ(prefs().homePage(), "about:home");
}

TEST_P(PreferencesTest, historyIsCappedAtFiveHundredNewestFirst) {
    std::vector<Visit> visits;
    for (int i = 0; i < 501; ++i)
        visits.push_back({"https://example.org/" + std::to_string(i), "Page " + std::to_string(i),
                          Date{1.7e9 + i + 0.75}, i + 1});
    prefs().setHistory(visits);
    auto read = prefs().history();
    ASSERT_EQ(read.size(), 500u);
    EXPECT_EQ(read.front().address, "https://example.org/0");
    EXPECT_EQ(read.back().address, "https://example.org/499");
    // Dates keep whole seconds only.
    EXPECT_EQ(read.front().last, Date{1.7e9});
    EXPECT_EQ(store().pairs("history")->front(),
              (std::vector<std::string>{"https://example.org/0", "Page 0", "1700000000", "1"}));
}

TEST_P(PreferencesTest, historyReadingIsTolerant) {
    store().set("history", Pairs{
                               {"https://a.example/", "A", "100", "0"},       // count raised to 1
                               {"https://b.example/", "B", "100", "-7"},      // likewise
                               {"https://c.example/", "C", "100", ""},        // skipped
                               {"https://d.example/", "D", "100", "3x"},      // skipped
                               {"https://e.example/", "E", " 100", "2"},      // skipped: leading space
                               {"https://f.example/", "F", "1e3", "+4", "x"}, // extra strings ignored
                               {"https://g.example/", "G", "100"},            // too short
                               {"https://h.example/", "H", "abc", "1"},       // date does not parse
                               {"https://i.example/", "I", "100", "99999999999999999999"}, // beyond 64 bits
                           });
    auto read = prefs().history();
    ASSERT_EQ(read.size(), 3u);
    EXPECT_EQ(read[0], (Visit{"https://a.example/", "A", Date{100}, 1}));
    EXPECT_EQ(read[1], (Visit{"https://b.example/", "B", Date{100}, 1}));
    EXPECT_EQ(read[2], (Visit{"https://f.example/", "F", Date{1000}, 4}));
}

TEST_P(PreferencesTest, bookmarksWriteTwoKeysAndReadOldForms) {
    prefs().setBookmarks({{"Kept", "https://kept.example/", true, "Worth it"},
                          {"Plain", "https://plain.example/", false, ""}});
    EXPECT_EQ(store().pairs("bookmarks"),
              (Pairs{{"Kept", "https://kept.example/", "1"}, {"Plain", "https://plain.example/", "0"}}));
    EXPECT_EQ(store().pairs("bookmarkSummaries"), (Pairs{{"https://kept.example/", "Worth it"}}));
    EXPECT_EQ(prefs().bookmarks()[0].summary, "Worth it");

    store().set("bookmarks", Pairs{{"Two", "https://two.example/"},
                                   {"Four", "https://four.example/", "0", "Inline summary"},
                                   {"Mapped", "https://mapped.example/", "x", "inline"},
                                   {"One"}});
    store().set(
        "bookmarkSummaries",
        Pairs{{"https://mapped.example/", "first"}, {"https://mapped.example/", "second"}, {"lonely"}});
    auto read = prefs().bookmarks();
    ASSERT_EQ(read.size(), 3u);
    EXPECT_EQ(read[0], (Bookmark{"Two", "https://two.example/", true, ""}));
    EXPECT_EQ(read[1], (Bookmark{"Four", "https://four.example/", false, "Inline summary"}));
    EXPECT_EQ(read[2], (Bookmark{"Mapped", "https://mapped.example/", true, "second"}));
}

TEST_P(PreferencesTest, notesRoundTripAndReadFourStringForm) {
    Note note{"ID-1", "https://page.example/", "https://page.example/article", "A line", Date{1234}};
    prefs().setNotes({note});
    EXPECT_EQ(store().pairs("marginalia"),
              (Pairs{{"https://page.example/", "ID-1", "A line", "1234", "https://page.example/article"}}));
    EXPECT_EQ(prefs().notes(), std::vector<Note>{note});

    store().set("marginalia", Pairs{{"https://four.example/", "ID-2", "Old note", "99"},
                                    {"https://bad.example/", "ID-3", "Bad date", "soon", "x"},
                                    {"https://short.example/", "ID-4", "Short"}});
    auto read = prefs().notes();
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].source, "https://four.example/");
}

TEST_P(PreferencesTest, savedReportsCapAndTolerance) {
    std::vector<SavedReport> reports;
    for (int i = 0; i < 201; ++i)
        reports.push_back(
            {"R" + std::to_string(i), Date{double(i)}, "https://r.example/", "R", i % 2 == 0, "{}"});
    prefs().setSavedReports(reports);
    EXPECT_EQ(prefs().savedReports().size(), 200u);
    EXPECT_FALSE(prefs().savedReports()[1].blockingOn);

    store().set("savedReports", Pairs{{"", "1", "a", "t", "1", "{}"},
                                      {"X", "one", "a", "t", "1", "{}"},
                                      {"Y", "2", "a", "t", "yes", "{}"},
                                      {"Z", "3", "a", "t", "1"}});
    auto read = prefs().savedReports();
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].id, "Y");
    EXPECT_TRUE(read[0].blockingOn);
}

TEST_P(PreferencesTest, wrongTypesReadAsNothing) {
    store().set("k", "text");
    EXPECT_EQ(store().boolean("k"), std::nullopt);
    EXPECT_EQ(store().pairs("k"), std::nullopt);
    store().set("k", true);
    EXPECT_EQ(store().string("k"), std::nullopt);
    EXPECT_EQ(store().boolean("k"), true);
    store().set("k", Pairs{{"a", "b"}});
    EXPECT_EQ(store().string("k"), std::nullopt);
    EXPECT_EQ(store().pairs("k"), (Pairs{{"a", "b"}}));
    EXPECT_EQ(store().string("missing"), std::nullopt);
    // Strings keep every byte, including ones a JSON writer would escape.
    std::string odd = "quote\" slash/ back\\ tab\t nul";
    odd += '\0';
    store().set("odd", std::string_view(odd));
    EXPECT_EQ(store().string("odd"), odd);
    store().set("list", Pairs{{odd, "\x01\x1f", ""}, {}});
    EXPECT_EQ(store().pairs("list"), (Pairs{{odd, "\x01\x1f", ""}, {}}));
}

INSTANTIATE_TEST_SUITE_P(Stores, PreferencesTest, ::testing::Bool(), test::storeName);

} // namespace
} // namespace nimb
