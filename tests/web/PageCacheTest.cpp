// A page that Back brings out of the engine's page cache runs none of its scripts again, and the
// shell has let go of its counts: the recorder and the wall hiding tell them once more, once per
// return, and only when the engine itself shows the page again.

#include "WebTest.h"

namespace nimb::test {
namespace {

class PageCacheTest : public WebTest {};

TEST_F(PageCacheTest, aPageBackFromTheCacheTellsItsCountsOnceMore) {
    m_proxy.answer("cache.example", "/",
                   "<!doctype html><meta charset=utf-8><title>Kept</title>"
                   "<script src='http://" +
                       var("ad") +
                       "/tag.js'></script><p>Article text.</p>"
                       "<div style='position:fixed;left:0;right:0;bottom:0;height:100px'>"
                       "We use cookies. <button>Accept all</button></div>");
    m_proxy.answer("cache.example", "/next", "<!doctype html><title>Next</title><p>Nothing here.");
    auto p = open("http://cache.example/");
    auto told = [&](const std::string& key, int count) {
        auto sent = blockedWith(*p, key);
        return std::count_if(sent.begin(), sent.end(), [&](const auto& m) { return m[key] == count; });
    };
    ASSERT_TRUE(waitUntil([&] { return told("walls", 1) && told("network", 1); }, 5s));

    // However many pageshow events the page makes itself, they tell nothing.
    p->clearMessages();
    ASSERT_TRUE(p->evaluate("for (var i = 0; i < 500; i++)"
                            "  dispatchEvent(new PageTransitionEvent('pageshow', {persisted: true}));"
                            "window.kept = true"));
    EXPECT_TRUE(p->messages().blocked.empty());

    ASSERT_TRUE(p->load("http://cache.example/next"));
    ASSERT_TRUE(waitUntil([&] { return told("walls", 0) && told("network", 0); }, 5s));
    p->clearMessages();
    webkit_web_view_go_back(p->view());
    ASSERT_TRUE(waitUntil([&] { return p->evaluate("window.kept === true") == true; }, 5s));
    ASSERT_TRUE(waitUntil([&] { return told("walls", 1) && told("network", 1); }, 5s));
    ASSERT_TRUE(p->passTimers(0ms, 600ms));
    ASSERT_EQ(p->messages().blocked.size(), 2u) << nlohmann::json(p->messages().blocked).dump();
    auto network = blockedWith(*p, "network").at(0);
    EXPECT_EQ(network["hosts"], nlohmann::json::array({var("ad")}));
}

} // namespace
} // namespace nimb::test
