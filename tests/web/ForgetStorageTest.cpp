// The in-memory local storage inside the real engine: it behaves as the real object does for the
// page, it reaches every frame, nothing written to it outlives the page, and the report knows.

#include "WebTest.h"

namespace nimb::test {
namespace {

class ForgetStorageTest : public WebTest {};

TEST_F(ForgetStorageTest, behavesLikeStorageForThePageInEveryFrameAndTheReportKnows) {
    auto p = open("http://store.example/forget.html");
    ASSERT_TRUE(p->waitFor("window.result && frames[0].frameResult", 3s));
    EXPECT_EQ(p->evaluate("window.result"), nlohmann::json::parse(R"({
        "number": "1", "property": "1", "lengthAfterOne": 1, "absent": null, "keyFive": null,
        "keyZeroText": "n", "keyFraction": "n", "assigned": "as text", "keysAfterAssign": ["n", "page"],
        "afterDelete": null, "keepsPlace": ["n", "a", "b"], "movesToEnd": ["a", "b", "n"],
        "membersWin": "method", "isStorage": true, "hasLength": true, "lengthWrite": 3, "forgot": true})"));

    NimbReport r = report(*p);
    EXPECT_TRUE(r.storageForgotten);
    EXPECT_EQ(r.local.count, 4);
    std::vector<std::string> keys;
    for (const auto& item : r.local.items)
        keys.push_back(item.key);
    std::sort(keys.begin(), keys.end());
    EXPECT_EQ(keys, (std::vector<std::string>{"a", "b", "kept", "n"}));

    // Every frame has its own.
    EXPECT_EQ(p->evaluate("frames[0].frameResult"),
              nlohmann::json({{"forgot", true}, {"ownItems", nlohmann::json({"frame"})}}));
    EXPECT_EQ(p->evaluate("localStorage.getItem('frame')"), nullptr);
}

TEST_F(ForgetStorageTest, itemsNamedAsMembersLeaveTheMembersAloneAsOnTheRealObject) {
    // The same page, with and without the stand-in, must see the same answers: the engine's own
    // storage object is the oracle. Object.keys is left out: the real object lists every item there,
    // even one it does not own (no descriptor, hasOwnProperty false), which no stand-in can do without
    // also owning it.
    std::vector<nlohmann::json> seen;
    for (bool forgetting : {false, true}) {
        SCOPED_TRACE(forgetting ? "the stand-in" : "the real object");
        WebPage::Options options;
        options.policy.forgetStorage = forgetting;
        auto p = open("http://store.example/methods.html", options);
        ASSERT_TRUE(p->waitFor("window.result", 3s));
        auto result = p->evaluate("window.result").value_or(nullptr);
        ASSERT_TRUE(result.is_object());
        EXPECT_EQ(result["forgot"], forgetting);
        result.erase("forgot");
        // The page got as far as its last probe, with all eight items in place.
        EXPECT_EQ(result["length"], 8);
        EXPECT_EQ(result["later"], nlohmann::json({"inherited", "stored"}));
        seen.push_back(result);
    }
    EXPECT_EQ(seen[1], seen[0]);
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
