#include "report/KeptReports.h"

#include "SampleRecords.h"
#include "WatchedPreferences.h"
#include "report/DossierVocabulary.h"
#include "report/NimbReportPage.h"

#include <gtest/gtest.h>

#include <random>

namespace nimb {
namespace {

constexpr std::string_view payload =
    R"({"walls":{"items":[{"label":"div#consent","reason":"known","text":"We value your privacy"}]},)"
    R"("network":{"blocked":{"criteo.com":3,"doubleclick.net":5},"other":["scorecardresearch.com"],)"
    R"("house":["img.news.example"],"cookies":4,"storage":{"local":{"count":2,"bytes":300,)"
    R"("items":[{"key":"uid","bytes":200,"preview":"abc"}]},"session":{"count":0,"bytes":0,"items":[]},)"
    R"("databases":[],"forgotten":false}}})";

NimbReport report(bool blockingOn = true) {
    NimbReport r = NimbReport::parse(payload, "https://www.news.example/story?id=1", "A story");
    r.blockingOn = blockingOn;
    return r;
}

class SavedReportTest : public test::WatchedPreferences {
protected:
    SavedReportTest() {
        setCurrentLanguage(Language::english);
        prefs().setIdentifierSource([this] { return "ID-" + std::to_string(++m_made); });
    }

private:
    int m_made = 0;
};

TEST_F(SavedReportTest, keepingStoresTheSnapshotFirstAndReturnsWhatReadsBack) {
    // The store keeps whole seconds.
    SavedReport kept = KeptReports::keep(prefs(), report(false), Date{1767268800.75});
    EXPECT_EQ(kept, (SavedReport{"ID-1", Date{1767268800}, "https://www.news.example/story?id=1", "A story",
                                 false, report().snapshot()}));

    SavedReport second = KeptReports::keep(prefs(), report(), Date{1767268900});
    auto stored = prefs().savedReports();
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[0], second); // newest first
    EXPECT_EQ(stored[1], kept);   // exactly as returned
    EXPECT_EQ(KeptReports::find(prefs(), "ID-1"), kept);
    EXPECT_EQ(KeptReports::find(prefs(), "ID-2"), second);
    EXPECT_EQ(KeptReports::find(prefs(), "id-1"), std::nullopt);
    EXPECT_EQ(KeptReports::find(prefs(), ""), std::nullopt);
}

TEST_F(SavedReportTest, theTwoHundredAndFirstPushesOutTheOldest) {
    for (int i = 0; i < 201; ++i)
        KeptReports::keep(prefs(), report(), Date{1000.0 + i});
    auto stored = prefs().savedReports();
    ASSERT_EQ(stored.size(), SavedReport::limit);
    EXPECT_EQ(stored.front().id, "ID-201");
    EXPECT_EQ(stored.back().id, "ID-2");
}

TEST_F(SavedReportTest, forgettingTakesOnlyTheFirstMatchAndWritesOnlyAChange) {
    prefs().setSavedReports({{"same", Date{1}, "a", "first", true, "{}"},
                             {"other", Date{2}, "b", "other", true, "{}"},
                             {"same", Date{3}, "c", "second", true, "{}"}});
    EXPECT_EQ(KeptReports::forget(prefs(), "same")->title, "first");
    auto left = prefs().savedReports();
    ASSERT_EQ(left.size(), 2u);
    EXPECT_EQ(left[1].title, "second");
    store().written.clear();
    EXPECT_FALSE(KeptReports::forget(prefs(), "missing"));
    EXPECT_TRUE(store().written.empty());
}

TEST_F(SavedReportTest, derivedValuesAreWorkedOutFromTheSnapshot) {
    SavedReport kept = KeptReports::keep(prefs(), report(false), Date{1});
    NimbReport rebuilt = KeptReports::report(kept);
    NimbReport original = report(false);
    EXPECT_EQ(rebuilt, original);
    EXPECT_EQ(KeptReports::reach(kept),
              Dossier::reach(std::vector<std::string>{},
                             {"doubleclick.net", "criteo.com", "scorecardresearch.com"}, original.address));
    EXPECT_EQ(KeptReports::site(kept), "news.example");
    EXPECT_TRUE(dossierWords()
                    .whatTheScoreMeans(KeptReports::reach(kept), rebuilt.blockingOn)
                    .starts_with("Blocking was off, so all "));
}

// The list scores kept reports by reading only their hosts; whatever the snapshot holds, that must
// come to what reading the whole report gives. (What the quick JSON reader declines for both is
// JsonReaderTest's.)
TEST_F(SavedReportTest, reachFromTheHostsAloneEqualsTheWholeReading) {
    std::vector<std::string> snapshots = {
        std::string(payload),
        report().snapshot(),
        samples::fullReport().snapshot(),
        samples::largestReport().snapshot(),
        samples::hostileReport().snapshot(),
        R"( {"network" : {"blocked" : {"criteo.com" : 2 , "tapad.com":-4}, "other" : [ "b.io","a.io","b.io" ]}} )",
        R"({"network":{"blocked":{"criteo.com":2,"criteo.com":7}}})", // the later member stands
        R"({"network":{"blocked":{"criteo.com":2}},"network":{"other":["tapad.com"]}})",
        R"({"network":{"blocked":{"criteo.com":2.9,"tapad.com":true,"x.io":"3","y.io":1e2}}})",
        R"({"network":{"blocked":{"crit\u0065o.com":2},"other":["t\u0061pad.com"]}})",
        R"({"network":{"blocked":{"criteo.com":2},"other":["tapad.com",3]}})",
        R"({"network":{"blocked":[],"other":{"a":"tapad.com"}}})",
        R"({"network":null,"walls":{"items":[]}})",
        R"({"walls":{"items":[{"text":"caf\u00e9 \" \/"}]},"network":{"other":["tapad.com"]}})",
        // A tab where the hosts reader skips: declined all the same.
        "{\"network\":{\"other\":[\"t\u00e4pad.com\",\"tapad.com\"]},\"walls\":\"tab\there\"}",
        R"({"network":{"other":[")" + std::string(121, 'a') + R"(.tapad.com"]}})",
        "null",
        "[]",
        "{}",
    };
    // Three thousand single-byte changes of a real snapshot, in a fixed sequence.
    const std::string base = report().snapshot();
    std::mt19937 random(7);
    for (int i = 0; i < 3000; ++i) {
        std::string mutated = base;
        std::size_t at = random() % mutated.size();
        const char bytes[] = {'"', '{', '}', '[', ']', ',', ':',    '\\',
                              '1', '-', 'e', '.', ' ', 'a', '\x80', 'u'};
        switch (random() % 3) {
        case 0:
            mutated.erase(at, 1);
            break;
        case 1:
            mutated.insert(at, 1, bytes[random() % sizeof bytes]);
            break;
        default:
            mutated[at] = bytes[random() % sizeof bytes];
        }
        snapshots.push_back(std::move(mutated));
    }

    int read = 0;
    for (const std::string& snapshot : snapshots) {
        for (bool blockingOn : {true, false}) {
            SavedReport kept{"X", Date{}, "https://www.news.example/a", "", blockingOn, snapshot};
            Dossier::Reach quick = KeptReports::reach(kept);
            ASSERT_EQ(quick, NimbReportPage::reading(KeptReports::report(kept))) << snapshot;
            read += quick.companies > 0;
        }
    }
    EXPECT_GT(read, 1000); // the changes left most snapshots readable enough to score
}

} // namespace
} // namespace nimb
