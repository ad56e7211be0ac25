#include "library/History.h"

#include "WatchedPreferences.h"

#include <gtest/gtest.h>

#include <limits>

namespace nimb {
namespace {

using HistoryTest = test::WatchedPreferences;

TEST(Visit, countIsAtLeastOneAndNameFallsBackToAddress) {
    EXPECT_EQ(Visit::make("https://a.org/", "A", Date{1}, 0).visits, 1);
    EXPECT_EQ(Visit::make("https://a.org/", "A", Date{1}, -5).visits, 1);
    EXPECT_EQ(Visit::make("https://a.org/", "A", Date{1}, 1).name(), "A");
    EXPECT_EQ(Visit::make("https://a.org/", "", Date{1}, 1).name(), "https://a.org/");
    EXPECT_EQ(Visit::make("", "", Date{1}, 1).url(), std::nullopt);
}

TEST(History, worthKeepingOnlyRealPages) {
    for (const char* address : {"http://example.org", "HTTPS://Example.org/a?b", "FILE:///x"})
        EXPECT_TRUE(History::worthKeeping(address)) << address;
    for (const char* address :
         {"about:home", "http:///path", "https:?q", "data:text/html,hi", "javascript:alert(1)",
          "nimb://forget?a=x", "ftp://example.org/", "example.org", "", "https://exa mple.org:80x/"})
        EXPECT_FALSE(History::worthKeeping(address)) << address;
}

TEST_F(HistoryTest, recordingCountsKeepsTheTitleAndSkipsWhatIsNotKept) {
    // Pages not worth keeping, and anything while history is off, write nothing.
    EXPECT_FALSE(History::recordVisit(prefs(), "about:home", "T", Date{1}));
    prefs().setRememberHistory(false);
    EXPECT_FALSE(History::recordVisit(prefs(), "https://a.org/", "A", Date{2}));
    EXPECT_FALSE(store().pairs("history"));
    prefs().setRememberHistory(true);

    EXPECT_TRUE(History::recordVisit(prefs(), "https://a.org/", "A", Date{100}));
    EXPECT_TRUE(History::recordVisit(prefs(), "https://b.org/", "B", Date{200}));
    EXPECT_TRUE(History::recordVisit(prefs(), "https://a.org/", "", Date{300}));
    EXPECT_EQ(prefs().history(), (std::vector<Visit>{{"https://a.org/", "A", Date{300}, 2},
                                                     {"https://b.org/", "B", Date{200}, 1}}));
    EXPECT_TRUE(History::recordVisit(prefs(), "https://a.org/", "A again", Date{400.9}));
    EXPECT_EQ(prefs().history().front(), (Visit{"https://a.org/", "A again", Date{400}, 3}));
    // Recording an untitled page first leaves the title empty; local files are kept too.
    EXPECT_TRUE(History::recordVisit(prefs(), "file:///tmp/c.html", "", Date{500}));
    EXPECT_EQ(prefs().history().front(), (Visit{"file:///tmp/c.html", "", Date{500}, 1}));
    // A count at the limit stays there.
    constexpr auto most = std::numeric_limits<std::int64_t>::max();
    prefs().setHistory({{"https://a.org/", "", Date{1}, most}});
    EXPECT_TRUE(History::recordVisit(prefs(), "https://a.org/", "", Date{2}));
    EXPECT_EQ(prefs().history().front().visits, most);
    // Of duplicates, only the first moves.
    prefs().setHistory({{"https://b.org/", "", Date{3}, 1},
                        {"https://a.org/", "first", Date{2}, 4},
                        {"https://a.org/", "second", Date{1}, 7}});
    EXPECT_TRUE(History::recordVisit(prefs(), "https://a.org/", "", Date{10}));
    EXPECT_EQ(prefs().history(), (std::vector<Visit>{{"https://a.org/", "first", Date{10}, 5},
                                                     {"https://b.org/", "", Date{3}, 1},
                                                     {"https://a.org/", "second", Date{1}, 7}}));
}

TEST_F(HistoryTest, retitleChangesOnlyWhatIsThere) {
    prefs().setHistory({{"https://a.org/", "Old", Date{5}, 3},
                        {"https://b.org/", "B", Date{4}, 1},
                        {"https://a.org/", "Older", Date{3}, 2}});
    auto before = store().pairs("history");
    EXPECT_FALSE(History::retitle(prefs(), "https://a.org/", ""));
    EXPECT_FALSE(History::retitle(prefs(), "https://a.org/", "Old"));
    EXPECT_FALSE(History::retitle(prefs(), "https://c.org/", "C"));
    EXPECT_EQ(store().pairs("history"), before);

    EXPECT_TRUE(History::retitle(prefs(), "https://b.org/", "New B"));
    EXPECT_TRUE(History::retitle(prefs(), "https://a.org/", "New A"));
    EXPECT_EQ(prefs().history(), (std::vector<Visit>{{"https://a.org/", "New A", Date{5}, 3},
                                                     {"https://b.org/", "New B", Date{4}, 1},
                                                     {"https://a.org/", "Older", Date{3}, 2}}));
}

TEST_F(HistoryTest, forgettingAndClearing) {
    prefs().setHistory({{"https://a.org/", "", Date{2}, 1}, {"https://b.org/", "", Date{1}, 1}});
    EXPECT_EQ(History::apply(prefs(), HistoryAction::forget("https://c.org/")), 0);
    EXPECT_EQ(History::apply(prefs(), HistoryAction::forget("https://A.org/")), 0); // compared as written
    EXPECT_EQ(History::apply(prefs(), HistoryAction::forget("https://a.org/")), 1);
    EXPECT_EQ(prefs().history(), (std::vector<Visit>{{"https://b.org/", "", Date{1}, 1}}));
    EXPECT_EQ(History::apply(prefs(), HistoryAction::forgetAll()), 1);
    EXPECT_TRUE(prefs().history().empty());
    EXPECT_EQ(History::clear(prefs()), 0);

    prefs().setHistory({{"https://a.org/", "A", Date{2}, 1}, {"https://b.org/", "", Date{1}, 1}});
    EXPECT_EQ(History::forget(prefs(), "https://a.org/"), (Visit{"https://a.org/", "A", Date{2}, 1}));
    EXPECT_EQ(History::clear(prefs()), 1);
    EXPECT_TRUE(prefs().history().empty());
}

TEST(History, sitesFoldHostsSumCountsAndOrderNewestFirst) {
    std::vector<Visit> visits = {
        {"http://www.example.org/a", "A", Date{100}, 2},
        {"https://Example.org/b", "B", Date{300}, 3},
        {"https://example.org/c", "C", Date{200}, 1},
        {"https://other.org/", "Other", Date{250}, 4},
    };
    EXPECT_EQ(History::sites(visits),
              (std::vector<Site>{{"Example.org", "https://Example.org/", Date{300}, 6},
                                 {"other.org", "https://other.org/", Date{250}, 4}}));
    // The newest visit names the site and gives its address; "www." stays in the address.
    visits[0].last = Date{400};
    EXPECT_EQ(History::sites(visits).front(), (Site{"example.org", "http://www.example.org/", Date{400}, 6}));

    // Pages without a host stand alone, under their title or else their address.
    visits = {
        {"file:///tmp/b.html", "", Date{10}, 1},        {"file:///tmp/a.html", "Page A", Date{10}, 2},
        {"https://zeta.org/", "", Date{10}, 1},         {"https://beta.org/", "", Date{10}, 1},
        {"http://localhost:8080/app", "", Date{20}, 1}, {"https://b%C3%BCcher.de/x", "", Date{5}, 1},
    };
    EXPECT_EQ(History::sites(visits), (std::vector<Site>{
                                          {"localhost:8080", "http://localhost:8080/", Date{20}, 1},
                                          {"Page A", "file:///tmp/a.html", Date{10}, 2},
                                          {"beta.org", "https://beta.org/", Date{10}, 1},
                                          {"file:///tmp/b.html", "file:///tmp/b.html", Date{10}, 1},
                                          {"zeta.org", "https://zeta.org/", Date{10}, 1},
                                          {"bücher.de", "https://b%C3%BCcher.de/", Date{5}, 1},
                                      }));
    EXPECT_TRUE(History::sites({}).empty());

    // Another port is another server: kept apart, and named with its port; a scheme's own port,
    // written out or not, is the same server.
    visits = {
        {"http://example.com:8080/a", "", Date{30}, 1},
        {"http://example.com/b", "", Date{20}, 1},
        {"http://example.com:80/c", "", Date{10}, 1},
        {"https://example.com:443/d", "", Date{5}, 1},
    };
    EXPECT_EQ(History::sites(visits), (std::vector<Site>{
                                          {"example.com:8080", "http://example.com:8080/", Date{30}, 1},
                                          {"example.com", "http://example.com/", Date{20}, 3},
                                      }));

    // One site from visits of one host: the newest names it.
    EXPECT_EQ(History::siteFrom({}), std::nullopt);
    constexpr auto most = std::numeric_limits<std::int64_t>::max();
    // On equal dates the earlier visit wins; sums stop at the largest count.
    EXPECT_EQ(History::siteFrom({{"https://a.org/1", "", Date{7}, most},
                                 {"https://www.b.org/2", "", Date{7}, 2},
                                 {"https://c.org/3", "", Date{3}, 1}}),
              (Site{"a.org", "https://a.org/", Date{7}, most}));
    EXPECT_EQ(History::siteFrom({{"not an address", "", Date{1}, 1}}),
              (Site{"not an address", "not an address", Date{1}, 1}));
    EXPECT_EQ(History::siteFrom({{"https://www./", "", Date{1}, 1}}),
              (Site{"www.", "https://www./", Date{1}, 1}));
}

TEST(History, rankedOrder) {
    std::vector<Visit> visits = {
        {"https://a.org/long", "1", Date{1}, 1}, {"https://a.org/", "2", Date{1}, 1},
        {"https://b.org/", "3", Date{2}, 1},     {"https://c.org/", "4", Date{0}, 9},
        {"https://é.org/", "5", Date{1}, 1},     {"https://a.org/", "6", Date{1}, 1},
    };
    std::string order;
    for (const Visit& visit : History::ranked(visits))
        order += visit.title;
    // "https://é.org/" is as long as "https://a.org/" in characters, though not in bytes.
    EXPECT_EQ(order, "432561");
}

TEST(HistoryAction, hrefsAndParsing) {
    EXPECT_EQ(HistoryAction::forgetAll().href(), "nimb://forget-all");
    EXPECT_EQ(HistoryAction::forget("https://a.org/x?y=1").href(),
              "nimb://forget?a=https%3A%2F%2Fa%2Eorg%2Fx%3Fy%3D1");

    for (const auto& [text, action] :
         std::initializer_list<std::pair<const char*, std::optional<HistoryAction>>>{
             {"nimb://forget?a=https%3A%2F%2Fa.org%2F", HistoryAction::forget("https://a.org/")},
             {"NIMB://forget?a=x", HistoryAction::forget("x")},
             {"nimb://forget?b=1&a=x%20y&a=z", HistoryAction::forget("x y")},
             {"nimb://forget?a=a+b", HistoryAction::forget("a+b")},
             {"nimb://forget-all", HistoryAction::forgetAll()},
             {"nimb://forget-all?a=x#y", HistoryAction::forgetAll()},
             {"nimb://forget", std::nullopt},
             {"nimb://forget?a=", std::nullopt},
             {"nimb://forget?a=&a=x", std::nullopt},
             {"nimb:forget?a=x", std::nullopt},
             {"https://forget?a=x", std::nullopt},
         }) {
        auto url = Url::parse(text);
        ASSERT_TRUE(url) << text;
        EXPECT_EQ(HistoryAction::fromUrl(*url), action) << text;
    }
    // Every address survives the round trip through its own href.
    for (const std::string& address : std::initializer_list<std::string>{
             "https://a.org/a b?c=d&e=f#g", "https://例え.jp/パス", "100% + 50%", "https://a.org/%41%zz",
             "x=y&a=b", std::string("\xFF\x01 \x7F"), std::string(1 << 19, '\xFF')}) {
        auto action = HistoryAction::forget(address);
        auto url = Url::parse(action.href());
        ASSERT_TRUE(url) << address.substr(0, 40);
        EXPECT_EQ(HistoryAction::fromUrl(*url), action) << address.substr(0, 40);
    }
}

TEST(History, hostileAddresses) {
    std::vector<std::string> addresses = {
        std::string(1 << 20, 'a'),
        "https://" + std::string(1 << 20, 'w') + "/",
        "https://www." + std::string(1 << 20, '.') + "/",
        std::string(1 << 19, '\xFF'),
        "http://%FF%FE/",
        std::string("https://a\0b.org/", 16),
    };
    std::vector<Visit> visits;
    for (const auto& address : addresses) {
        (void)History::worthKeeping(address);
        (void)History::forms(address);
        visits.push_back({address, address, Date{1}, 1});
    }
    EXPECT_EQ(History::ranked(visits).size(), visits.size());
    EXPECT_FALSE(History::sites(visits).empty());
    // The shortest address that begins with "a" once its scheme is dropped.
    EXPECT_EQ(History::completion("a", visits), std::string("a\0b.org/", 8));
    visits.pop_back();
    EXPECT_EQ(History::completion("a", visits), "a" + std::string((1 << 20) - 1, 'a'));
}

} // namespace
} // namespace nimb
