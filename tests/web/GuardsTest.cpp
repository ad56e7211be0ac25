// A page that breaks storage, deletes window.webkit, freezes the built-in prototypes and throws
// from getters: with every page script installed it behaves exactly as it does without them, the
// scripts raise nothing into it, and the report still comes back readable.

#include "WebTest.h"

namespace nimb::test {
namespace {

// Installed before the page scripts: catches anything thrown and not caught, from any script.
constexpr const char* sentinel =
    "window.__uncaught = [];"
    "window.addEventListener('error', function (e) { window.__uncaught.push(String(e.message)); });"
    "window.addEventListener('unhandledrejection', function (e) {"
    "  window.__uncaught.push('rejected: ' + String(e.reason)); });";

class GuardsTest : public WebTest {
protected:
    nlohmann::json visit(WebPage& p) {
        EXPECT_TRUE(p.load("http://hostile.example/"));
        EXPECT_TRUE(p.waitFor("window.pageResult.timer && window.pageResult.loaded && "
                              "'xhr' in window.pageResult && 'fetch' in window.pageResult && "
                              "'blockedFetch' in window.pageResult",
                              5s));
        // The recorder's first round and its scan, and the wall hiding's first sweeps.
        EXPECT_TRUE(p.passTimers(1700ms));
        return p.evaluate("window.pageResult").value_or(nullptr);
    }
};

TEST_F(GuardsTest, aHostilePageRunsAsItWouldWithoutUs) {
    WebPage::Options bare;
    bare.policy = {false, false, false};
    bare.ruleList = false;
    bare.firstScript = sentinel;
    auto plain = page(bare);
    nlohmann::json expected = visit(*plain);
    ASSERT_TRUE(expected.is_object());
    EXPECT_EQ(expected["xhr"], 200);
    EXPECT_EQ(expected["fetch"], 200);
    EXPECT_EQ(expected["webkit"], "undefined");
    EXPECT_EQ(expected["storage"], "localStorage denied");
    EXPECT_EQ(expected["shadowed"], "[object Object]"); // a frozen prototype's member cannot be shadowed

    WebPage::Options everything;
    everything.firstScript = sentinel;
    auto p = page(everything);
    nlohmann::json result = visit(*p);
    EXPECT_EQ(result, expected);
    EXPECT_EQ(p->evaluate("window.__uncaught"), nlohmann::json::array());
    EXPECT_EQ(plain->evaluate("window.__uncaught"), nlohmann::json::array());

    // The report still reads: the blocked fetch, the other site's image, storage denied.
    NimbReport r = report(*p);
    EXPECT_TRUE(r.recorded);
    ASSERT_EQ(r.blocked.size(), 1u);
    EXPECT_EQ(r.blocked[0].host, var("ad"));
    EXPECT_EQ(r.otherHosts, std::vector<std::string>{"images.elsewhere.example"});
    EXPECT_EQ(r.cookies, 0);
    EXPECT_EQ(r.local.count, 0);
    EXPECT_EQ(r.session.count, 0);
    // And the shell was told, window.webkit or not.
    auto told = blockedWith(*p, "network");
    EXPECT_TRUE(std::any_of(told.begin(), told.end(), [](const auto& m) { return m["network"] == 1; }));
}

} // namespace
} // namespace nimb::test
