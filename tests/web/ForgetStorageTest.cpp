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
    // Measured on the engine's own storage object: the same page, the same answers, with and
    // without the stand-in. Object.keys is left out: the real object lists every item there, even
    // one it does not own (no descriptor, hasOwnProperty false), which no stand-in can do without
    // also owning it.
    const auto expected = nlohmann::json::parse(R"({
        "length": 8,
        "byIndex": ["__proto__=stored __proto__", "constructor=stored constructor", "foo=stored foo",
                    "getItem=stored getItem", "hasOwnProperty=stored hasOwnProperty", "key=stored key",
                    "length=stored length", "toString=stored toString"],
        "members": ["function", "function", "function", "function", "function", true, true, "function"],
        "asText": ["[object Storage]", "[object Storage]", "[object Storage]"],
        "own": [false, false, true, false],
        "foo": "stored foo",
        "inherited": [true, true, true, false],
        "descriptors": [true, {"value": "stored foo", "writable": true, "enumerable": true, "configurable": true}],
        "ownNames": ["__proto__", "constructor", "foo", "getItem", "hasOwnProperty", "key", "length", "toString"],
        "forIn": ["clear", "foo", "getItem", "key", "length", "removeItem", "setItem"],
        "keysHoldFoo": true,
        "assigned": ["function", "assigned", "function", "assigned too", 9, "stored length", "5"],
        "defined": ["function", "defined", "defined too", false, null],
        "deleted": [true, "assigned", true, null, true, "function"],
        "later": ["inherited", "stored"]})");
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
        EXPECT_EQ(result, expected);
    }
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
