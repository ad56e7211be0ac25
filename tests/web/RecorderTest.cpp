// The page recorder inside the real engine: what a page requested, by host and bin, measured against
// what the proxy saw arrive, and read back through the report parser as the browser reads it.

#include "WebTest.h"

#include <set>

namespace nimb::test {
namespace {

class RecorderTest : public WebTest {
protected:
    static std::int64_t blockedCount(const NimbReport& r, const std::string& host) {
        for (const auto& b : r.blocked) {
            if (b.host == host) return b.requests;
        }
        return 0;
    }

    // Opens a page and waits until its own script says it is ready.
    std::unique_ptr<WebPage> openReady(const std::string& url, WebPage::Options options = {}) {
        auto p = open(url, std::move(options));
        EXPECT_TRUE(p->waitFor("window.ready", 5s)) << url;
        return p;
    }
};

TEST_F(RecorderTest, countsRequestsByHostAndBin) {
    auto p = open("http://news.example/recorder.html");
    ASSERT_TRUE(p->waitFor("window.done.fetches === 5 && window.done.xhr && window.done.swapped", 10s));
    // The late image and the swapped address reach the recorder through its observer.
    ASSERT_TRUE(waitUntil(
        [&] {
            auto r = report(*p);
            return contains(r.otherHosts, "swap.images.example") && blockedCount(r, "late." + var("ad")) == 1;
        },
        10s));

    NimbReport r = report(*p, "http://news.example/recorder.html");
    EXPECT_TRUE(r.recorded);
    std::map<std::string, std::int64_t> blocked;
    for (const auto& b : r.blocked)
        blocked[b.host] = b.requests;
    // Counted under the full host, not the listed suffix; the three fetches of one address three times.
    std::map<std::string, std::int64_t> expected = {
        {var("ad"), 1},        {"late." + var("ad"), 1}, {"pixel." + var("track"), 1}, {var("path1host"), 1},
        {var("path2host"), 1}, {"api." + var("ad2"), 3}, {var("track2"), 1},           {var("track"), 1},
    };
    EXPECT_EQ(blocked, expected);
    // The first path entry's host is another site; only its blocked path counts as blocked.
    // A request made from a URL object counts too.
    std::vector<std::string> other = {
        "api.data.example",    "api.urls.example",     "beacon.metrics.example", "fonts.typefaces.example",
        "swap.images.example", "video.player.example", var("path1host")};
    std::sort(other.begin(), other.end());
    EXPECT_EQ(r.otherHosts, other);
    // The page's own host counts nowhere; canonical, icon and alternate links are not requests.
    EXPECT_EQ(r.houseHosts, (std::vector<std::string>{"cdn.news.example", "static.news.example"}));
    EXPECT_EQ(r.cookies, 2);

    // Everything counted as blocked never left the engine; everything counted as contacted did.
    for (const auto& [host, count] : blocked)
        EXPECT_TRUE(host == var("path1host") || !m_proxy.receivedHost(host)) << host;
    EXPECT_FALSE(m_proxy.received("http://" + var("path1")));
    EXPECT_TRUE(m_proxy.received("http://" + var("path1host") + "/images/like.png"));
    for (const auto* hosts : {&r.otherHosts, &r.houseHosts})
        for (const auto& host : *hosts)
            EXPECT_TRUE(m_proxy.receivedHost(host)) << host;
    EXPECT_FALSE(m_proxy.receivedHost("canonical.elsewhere.example"));

    // The shell heard the running total, and last of all the whole of it with the hosts.
    ASSERT_TRUE(waitUntil(
        [&] {
            auto sent = blockedWith(*p, "network");
            return !sent.empty() && sent.back()["network"] == r.requestsBlocked();
        },
        5s));
    auto last = blockedWith(*p, "network").back();
    std::set<std::string> hosts(last["hosts"].begin(), last["hosts"].end());
    std::set<std::string> wanted(other.begin(), other.end());
    for (const auto& [host, count] : blocked)
        wanted.insert(host);
    EXPECT_EQ(hosts, wanted);
    for (const auto& host : r.houseHosts)
        EXPECT_EQ(hosts.count(host), 0u) << host;
}

TEST_F(RecorderTest, addressesFromMarkupCountOnceAndCallsEveryTime) {
    auto p = open("http://news.example/dedupe.html");
    ASSERT_TRUE(p->waitFor("window.added", 5s));
    ASSERT_TRUE(p->passTimers(0ms, 500ms)); // the scan the added element asked for
    for (int i = 0; i < 3; i++) {
        NimbReport r = report(*p);
        EXPECT_EQ(blockedCount(r, var("ad")), 1);
        EXPECT_EQ(blockedCount(r, var("ad2")), 1);
        EXPECT_EQ(r.otherHosts, std::vector<std::string>{"images.elsewhere.example"});
    }
}

// What the observer alone sees: blocked pictures inside trees that leave the page before any scan,
// whether the parser added them element by element or a script attached them whole.
TEST_F(RecorderTest, seesInsideTreesThatComeAndGo) {
    auto p = open("http://news.example/fleeting.html");
    ASSERT_TRUE(p->waitFor("window.gone", 5s));
    ASSERT_TRUE(p->passTimers(0ms, 500ms));
    NimbReport r = report(*p);
    for (const char* part : {"parsed.", "built.", "mixed."})
        EXPECT_EQ(blockedCount(r, part + var("ad")), 1) << part;
    EXPECT_EQ(r.requestsBlocked(), 3);
}

TEST_F(RecorderTest, tellsTheShellOnceAndThenOnlyOfChanges) {
    // The first report goes out even with nothing blocked; the 1.2 s and 3 s rounds add nothing, and
    // the blocked request the page makes after them is told.
    auto p = open("http://news.example/quiet.html#later");
    ASSERT_TRUE(waitUntil([&] { return blockedWith(*p, "network").size() >= 2; }, 8s));
    auto sent = blockedWith(*p, "network");
    ASSERT_EQ(sent.size(), 2u) << nlohmann::json(sent).dump();
    EXPECT_EQ(sent[0]["network"], 0);
    std::set<std::string> hosts(sent[0]["hosts"].begin(), sent[0]["hosts"].end());
    EXPECT_EQ(hosts, std::set<std::string>{"images.elsewhere.example"});
    EXPECT_EQ(sent[1]["network"], 1);
}

TEST_F(RecorderTest, onlyWebPagesAreRecorded) {
    auto p = page();
    ASSERT_TRUE(p->loadHtml("<title>generated</title><p>a generated page</p>"));
    auto file = "file://" + (ProxyServer::defaultSites() / "news.example" / "quiet.html").string();
    for (bool generated : {true, false}) {
        ASSERT_TRUE(generated || p->load(file));
        auto collected = p->evaluateText(PageScripts::snapshot());
        EXPECT_TRUE(collected.ran);
        EXPECT_FALSE(collected.text.has_value());
    }
    ASSERT_TRUE(p->passTimers(0ms, 500ms)); // what a recorder would have sent after the load
    EXPECT_TRUE(blockedWith(*p, "network").empty());
}

TEST_F(RecorderTest, sameRegistrablePartIsTheHouse) {
    NimbReport r = report(*open("http://www.shop.co.uk/"));
    EXPECT_EQ(r.houseHosts, (std::vector<std::string>{"shop.co.uk", "static.shop.co.uk"}));
    EXPECT_EQ(r.otherHosts, (std::vector<std::string>{"cdn.shop.com", "img.rival.co.uk"}));
}

TEST_F(RecorderTest, readsStorageCookiesAndDatabases) {
    WebPage::Options options;
    options.policy.forgetStorage = false;
    auto p = openReady("http://store.example/storage.html", options);
    // The database list is read in the background and answered by the next collection.
    ASSERT_TRUE(waitUntil([&] { return report(*p).databases.size() == 2; }, 5s));

    NimbReport r = report(*p);
    EXPECT_EQ(r.databases, (std::vector<std::string>{"alpha", "beta"}));
    EXPECT_EQ(r.cookies, 2);
    EXPECT_FALSE(r.storageForgotten);
    EXPECT_EQ(r.local.count, 400);
    ASSERT_EQ(r.local.items.size(), 60u);
    for (std::size_t i = 1; i < r.local.items.size(); ++i)
        EXPECT_GE(r.local.items[i - 1].bytes, r.local.items[i].bytes);
    EXPECT_EQ(r.session.count, 2);
    ASSERT_EQ(r.session.items.size(), 2u);
    EXPECT_EQ(r.session.items[0], (NimbReport::Item{"cart", (4 + 7) * 2, "3 items"}));
    EXPECT_EQ(r.session.items[1], (NimbReport::Item{"tab", (3 + 1) * 2, "x"}));

    // The jar's byte total covers every item read, not only the 60 kept.
    auto raw = payload(*p);
    std::int64_t shown = 0;
    for (const auto& item : raw["network"]["storage"]["local"]["items"])
        shown += item["bytes"].get<std::int64_t>();
    EXPECT_GT(r.local.bytes, shown);
}

TEST_F(RecorderTest, readsTheInMemoryStorageInInsertionOrderAndCutsKeysAndPreviews) {
    auto p = openReady("http://store.example/storage.html"); // forgotten: items in the order set
    NimbReport r = report(*p);
    EXPECT_TRUE(r.storageForgotten);
    // 501 items; the first 400 set are read, and the 60 largest of those kept: k399 down to k340.
    // Item n is "k<n>" holding n + 1 characters, two bytes each.
    auto bytes = [](int n) { return static_cast<std::int64_t>(std::to_string(n).size() + 1 + n + 1) * 2; };
    EXPECT_EQ(r.local.count, 400);
    ASSERT_EQ(r.local.items.size(), 60u);
    std::int64_t total = 0;
    for (int n = 0; n < 400; ++n)
        total += bytes(n);
    EXPECT_EQ(r.local.bytes, total);
    for (int n = 399; n >= 340; --n) {
        const auto& item = r.local.items[static_cast<std::size_t>(399 - n)];
        EXPECT_EQ(std::pair(item.key, item.bytes), std::pair("k" + std::to_string(n), bytes(n)));
    }

    // The long key is the 501st item set: ask the page to read it first.
    ASSERT_TRUE(p->evaluate("localStorage.clear(); localStorage.setItem(new Array(201).join('K'), "
                            "'a  \\n\\t b' + new Array(3001).join('w')); true"));
    r = report(*p);
    EXPECT_EQ(r.local.items, (std::vector<NimbReport::Item>{{std::string(120, 'K'), (200 + 7 + 3000) * 2,
                                                             "a b" + std::string(87, 'w')}}));

    // Halves of a UTF-16 pair, cut or left alone by the page, never make the payload unreadable.
    NimbReport s = report(*openReady("http://store.example/surrogates.html"));
    EXPECT_TRUE(s.recorded);
    ASSERT_EQ(s.local.items.size(), 2u);
    std::set<std::string> keys{s.local.items[0].key, s.local.items[1].key};
    EXPECT_EQ(keys, (std::set<std::string>{std::string(119, 'k'), "lonely"}));
    for (const auto& item : s.local.items)
        EXPECT_TRUE(item.key != "lonely" || item.preview == "before \xEF\xBF\xBD after") << item.preview;
    ASSERT_EQ(s.session.items.size(), 1u);
    EXPECT_EQ(s.session.items[0].key, "\xEF\xBF\xBDodd");
}

TEST_F(RecorderTest, readsEveryItemWhenItemsAreNamedAsTheStorageMethods) {
    // Items named key and getItem beside a tracking identifier: the recorder still calls the
    // methods, with the page's storage remembered and forgotten alike.
    for (bool forgetting : {false, true}) {
        SCOPED_TRACE(forgetting ? "forgotten" : "remembered");
        WebPage::Options options;
        options.policy.forgetStorage = forgetting;
        auto p = openReady("http://store.example/tracker.html", options);
        NimbReport r = report(*p);
        EXPECT_EQ(r.storageForgotten, forgetting);
        EXPECT_EQ(r.local.count, 3);
        std::set<std::string> items; // key, bytes, preview
        for (const auto& item : r.local.items)
            items.insert(item.key + " " + std::to_string(item.bytes) + " " + item.preview);
        EXPECT_EQ(items, (std::set<std::string>{"_visitor 38 id-7f3a9c21", "getItem 16 g", "key 8 k"}));
    }
}

TEST_F(RecorderTest, seesEveryResourceBeyondTheTimelineBuffer) {
    auto p = open("http://many.example/timeline.html");
    ASSERT_TRUE(p->waitFor("window.loaded === 400", 20s));
    // The engine's own timeline stops short of the page's 400 requests...
    auto buffered = p->evaluate("performance.getEntriesByType('resource').length");
    ASSERT_TRUE(buffered && buffered->is_number());
    EXPECT_LT(buffered->get<int>(), 400);
    // ... but every one of the forty sites is counted.
    ASSERT_TRUE(waitUntil([&] { return report(*p).otherHosts.size() == 40; }, 5s))
        << report(*p).otherHosts.size();
    NimbReport r = report(*p);
    EXPECT_TRUE(contains(r.otherHosts, "img.site0.example"));
    EXPECT_TRUE(contains(r.otherHosts, "img.site39.example"));
}

} // namespace
} // namespace nimb::test
