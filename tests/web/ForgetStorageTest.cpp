// The in-memory local storage inside the real engine: it behaves as the real object does for the
// page, it reaches every frame, nothing written to it outlives the page, and the report knows.

#include "WebTest.h"

namespace nimb::test {
namespace {

class ForgetStorageTest : public WebTest {};

TEST_F(ForgetStorageTest, behavesLikeStorageForThePage) {
    auto p = page();
    ASSERT_TRUE(p->load("http://store.example/forget.html"));
    ASSERT_TRUE(p->waitFor("window.result", 3s));
    auto r = p->evaluate("window.result").value_or(nullptr);
    EXPECT_EQ(r["number"], "1");
    EXPECT_EQ(r["property"], "1");
    EXPECT_EQ(r["lengthAfterOne"], 1);
    EXPECT_EQ(r["absent"], nullptr);
    EXPECT_EQ(r["keyFive"], nullptr);
    EXPECT_EQ(r["keyZeroText"], "n");
    EXPECT_EQ(r["keyFraction"], "n");
    EXPECT_EQ(r["assigned"], "as text");
    EXPECT_EQ(r["keysAfterAssign"], nlohmann::json({"n", "page"}));
    EXPECT_EQ(r["afterDelete"], nullptr);
    EXPECT_EQ(r["keepsPlace"], nlohmann::json({"n", "a", "b"}));
    EXPECT_EQ(r["movesToEnd"], nlohmann::json({"a", "b", "n"}));
    EXPECT_EQ(r["shadowed"], "shadow");
    EXPECT_EQ(r["isStorage"], true);
    EXPECT_EQ(r["hasLength"], true);
    EXPECT_EQ(r["lengthWrite"], 3);
    EXPECT_EQ(r["forgot"], true);
}

TEST_F(ForgetStorageTest, everyFrameHasItsOwn) {
    auto p = page();
    ASSERT_TRUE(p->load("http://store.example/forget.html"));
    ASSERT_TRUE(p->waitFor("window.result && frames[0].frameResult", 3s));
    EXPECT_EQ(p->evaluate("frames[0].frameResult"),
              nlohmann::json({{"forgot", true}, {"ownItems", nlohmann::json({"frame"})}}));
    EXPECT_EQ(p->evaluate("localStorage.getItem('frame')"), nullptr);
}

TEST_F(ForgetStorageTest, nothingOutlivesThePage) {
    // Forgotten: a second visit in the same session, without the shim, finds nothing.
    auto forgetting = page();
    ASSERT_TRUE(forgetting->load("http://store.example/persist.html"));
    WebPage::Options real;
    real.policy.forgetStorage = false;
    real.session = forgetting->session();
    auto later = page(real);
    ASSERT_TRUE(later->load("http://store.example/persist.html"));
    EXPECT_EQ(later->evaluate("window.before"), nullptr);
    // Remembered: the real storage of that second visit is there for a third.
    auto third = page(real);
    ASSERT_TRUE(third->load("http://store.example/persist.html"));
    EXPECT_EQ(third->evaluate("window.before"), "remembered");
}

TEST_F(ForgetStorageTest, theReportSeesTheItemsAndSaysTheyAreForgotten) {
    auto p = page();
    ASSERT_TRUE(p->load("http://store.example/forget.html"));
    ASSERT_TRUE(p->waitFor("window.result", 3s));
    NimbReport r = report(*p);
    EXPECT_TRUE(r.storageForgotten);
    EXPECT_EQ(r.local.count, 4);
    std::vector<std::string> keys;
    for (const auto& item : r.local.items)
        keys.push_back(item.key);
    std::sort(keys.begin(), keys.end());
    EXPECT_EQ(keys, (std::vector<std::string>{"a", "b", "kept", "n"}));
}

TEST_F(ForgetStorageTest, otherSchemesKeepTheRealStorage) {
    auto p = page();
    auto file = "file://" + (ProxyServer::defaultSites() / "store.example" / "persist.html").string();
    ASSERT_TRUE(p->load(file));
    EXPECT_EQ(p->evaluate("typeof window.__nimb"), "undefined");
    // The real object is no plain value on the window.
    EXPECT_EQ(p->evaluate("(function(){var d = Object.getOwnPropertyDescriptor(window, 'localStorage');"
                          "return !!d && 'value' in d;})()"),
              false);
    ASSERT_TRUE(p->loadHtml("<p>generated</p>"));
    EXPECT_EQ(p->evaluate("typeof window.__nimb"), "undefined");
}

} // namespace
} // namespace nimb::test
