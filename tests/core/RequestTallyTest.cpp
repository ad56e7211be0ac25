#include "page/RequestTally.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace nimb {
namespace {

using Policy = RequestTally::Policy;
using Bin = std::map<std::string, std::int64_t>;

constexpr std::string_view page = "https://www.news.example/story";
constexpr Policy both{};

TEST(RequestTallyTest, eachRequestIsJudgedAsTheRuleListWouldAndCountedInOneBin) {
    enum class In {
        blocked,
        other,
        house,
        none
    };
    struct Case {
        std::string_view request;
        std::string_view page;
        bool stopped;
        In bin;
        std::string_view host;
        std::string_view sentOnFrom = "";
    };
    const std::string_view listedSite = "https://www.doubleclick.net/";
    const std::string_view listedPage = "https://ad.doubleclick.net/landing";
    const Case cases[] = {
        // The main document, and where it is sent on, are neither stopped nor counted, even where the
        // page itself is on a listed host: the user asked for it.
        {page, page, false, In::none, ""},
        {listedPage, page, false, In::none, "", page},
        {listedPage, listedPage, false, In::none, ""},
        // A request some other answer sent on is judged like any other.
        {listedPage, page, true, In::blocked, "ad.doubleclick.net", "https://cdn.other.example/go"},
        {"https://ad.doubleclick.net/pixel?x=1", page, true, In::blocked, "ad.doubleclick.net"},
        {"HTTPS://Static.CRITEO.com:443/js", page, true, In::blocked, "static.criteo.com"},
        {"http://www.facebook.com/tr?id=1", page, true, In::blocked, "www.facebook.com"},
        // A path entry's host elsewhere is only another site.
        {"https://www.facebook.com/plugins/like.php", page, false, In::other, "www.facebook.com"},
        {"https://cdn.other.example/lib.js", page, false, In::other, "cdn.other.example"},
        {"https://img.news.example/a.png", page, false, In::house, "img.news.example"},
        {"https://news.example/", page, false, In::house, "news.example"},
        {"https://WWW.News.Example:8443/style.css", page, false, In::none, ""},
        // A listed host on its own site is not a third party's: not stopped, the site's own.
        {"https://ad.doubleclick.net/x", listedSite, false, In::house, "ad.doubleclick.net"},
        {"https://img.shop.example.co.uk/a", "https://shop.example.co.uk/", false, In::house,
         "img.shop.example.co.uk"},
        {"https://other.co.uk/a", "https://shop.example.co.uk/", false, In::other, "other.co.uk"},
        // Not http(s): the rule list's own (WebSocket), or never sent over the network.
        {"ws://ad.doubleclick.net/socket", page, false, In::none, ""},
        {"wss://ad.doubleclick.net/socket", page, false, In::none, ""},
        {"data:text/html,https://ad.doubleclick.net/", page, false, In::none, ""},
        {"blob:https://ad.doubleclick.net/5d1e", page, false, In::none, ""},
        {"about:blank", page, false, In::none, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.request) + " on " + std::string(c.page) + " from " +
                     std::string(c.sentOnFrom));
        RequestTally tally;
        EXPECT_EQ(tally.note(c.request, c.page, c.sentOnFrom, both), c.stopped);
        const WitnessCounts& counts = tally.counts();
        EXPECT_EQ(counts.unlisted, 0);
        Bin expected = c.bin == In::none ? Bin{} : Bin{{std::string(c.host), 1}};
        EXPECT_EQ(counts.blocked, c.bin == In::blocked ? expected : Bin{});
        EXPECT_EQ(counts.other, c.bin == In::other ? expected : Bin{});
        EXPECT_EQ(counts.house, c.bin == In::house ? expected : Bin{});
        EXPECT_EQ(tally.takeChanged(), c.bin != In::none);
    }
}

TEST(RequestTallyTest, blockingAndCountingAreSeparate) {
    const std::string_view listed = "https://ad.doubleclick.net/pixel";
    RequestTally tally;
    EXPECT_FALSE(tally.note(listed, page, "", {.blocking = false, .counting = true}));
    EXPECT_FALSE(tally.note(listed, page, "", {.blocking = false, .counting = true}));
    EXPECT_EQ(tally.counts().blocked, (Bin{{"ad.doubleclick.net", 2}}));
    EXPECT_TRUE(tally.takeChanged());

    EXPECT_TRUE(tally.note(listed, page, "", {.blocking = true, .counting = false}));
    EXPECT_FALSE(tally.note("https://cdn.other.example/", page, "", {.blocking = true, .counting = false}));
    EXPECT_EQ(tally.counts().blocked, (Bin{{"ad.doubleclick.net", 2}}));
    EXPECT_TRUE(tally.counts().other.empty());
    EXPECT_FALSE(tally.takeChanged());
}

TEST(RequestTallyTest, binsKeepTheirFirstHostsThenCountOnlyAndHostsAreCut) {
    RequestTally tally;
    for (std::size_t i = 0; i < RequestTally::hostsPerBin; ++i)
        (void)tally.note("https://h" + std::to_string(i) + ".example/", page, "", both);
    ASSERT_EQ(tally.counts().other.size(), RequestTally::hostsPerBin);
    EXPECT_EQ(tally.counts().unlisted, 0);
    (void)tally.note("https://late.example/", page, "", both);
    (void)tally.note("https://later.example/", page, "", both);
    (void)tally.note("https://h0.example/again", page, "", both);
    EXPECT_EQ(tally.counts().other.size(), RequestTally::hostsPerBin);
    EXPECT_FALSE(tally.counts().other.contains("late.example"));
    EXPECT_EQ(tally.counts().other.at("h0.example"), 2);
    EXPECT_EQ(tally.counts().unlisted, 2);
    // Each bin has its own room; a listed request past the other bin's room is still stopped.
    EXPECT_TRUE(tally.note("https://ad.doubleclick.net/", page, "", both));
    EXPECT_EQ(tally.counts().blocked.size(), 1u);
    EXPECT_EQ(tally.counts().unlisted, 2);

    // Hosts longer than the bound are cut; two that cut to the same text are one host.
    RequestTally longHosts;
    const std::string label(200, 'a');
    (void)longHosts.note("https://" + label + ".one.example/", page, "", both);
    (void)longHosts.note("https://" + label + ".two.example/", page, "", both);
    EXPECT_EQ(longHosts.counts().other, (Bin{{std::string(RequestTally::hostLength, 'a'), 2}}));
}

TEST(RequestTallyTest, resetStartsANewDocumentAndTakeChangedTellsOnce) {
    RequestTally tally;
    EXPECT_FALSE(tally.takeChanged());
    (void)tally.note("https://cdn.other.example/", page, "", both);
    (void)tally.note("https://ad.doubleclick.net/", page, "", both);
    EXPECT_TRUE(tally.takeChanged());
    EXPECT_FALSE(tally.takeChanged());
    (void)tally.note("https://cdn.other.example/", page, "", both);
    EXPECT_TRUE(tally.takeChanged());

    // Emptied counts are news to the window; emptying empty ones is not.
    tally.reset();
    EXPECT_TRUE(tally.counts().empty());
    EXPECT_TRUE(tally.takeChanged());
    tally.reset();
    EXPECT_FALSE(tally.takeChanged());
}

TEST(RequestTallyTest, thirdParty) {
    EXPECT_FALSE(RequestTally::thirdParty("ad.doubleclick.net", "www.doubleclick.net"));
    EXPECT_FALSE(RequestTally::thirdParty("a.example.co.uk", "b.example.co.uk"));
    EXPECT_FALSE(RequestTally::thirdParty("x.example.com.", "example.com"));
    EXPECT_TRUE(RequestTally::thirdParty("example.co.uk", "other.co.uk"));
    EXPECT_TRUE(RequestTally::thirdParty("doubleclick.net", "news.example"));
    EXPECT_FALSE(RequestTally::thirdParty("doubleclick.net", ""));
}

} // namespace
} // namespace nimb
