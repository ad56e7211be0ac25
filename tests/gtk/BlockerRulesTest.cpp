// When the compiled rule list is looked up, compiled, handed out and cleared away: first against a
// store whose answers the test gives by hand, then against the engine's own store.

#include "engine/BlockerRules.h"
#include "MainLoop.h"
#include "TemporaryDirectory.h"
#include "WebPage.h"
#include "blocker/ContentBlocker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

namespace nimb {
namespace {

using namespace std::chrono_literals;

// Makes one call of a store and waits for what it calls back with.
template <typename Result, typename Call>
Result await(Call call) {
    std::optional<Result> result;
    call([&](auto... got) { result.emplace(std::move(got)...); });
    EXPECT_TRUE(test::waitUntil([&] { return result.has_value(); }, 10s));
    return result ? std::move(*result) : Result{};
}

using Compiled = std::pair<BlockerRules::List, std::string>;

Compiled compileIn(BlockerRules::Store& store, const std::string& identifier, const std::string& rules) {
    return await<Compiled>([&](auto done) { store.compile(identifier, rules, done); });
}

// Compiles a small list in the engine once, to have a real compiled list to hand out.
glib::GRefPtr<WebKitUserContentFilter> someList() {
    static test::TemporaryDirectory directory;
    static glib::GRefPtr<WebKitUserContentFilter> list =
        compileIn(*BlockerRules::webKitStore(directory.path().string()), "some-list",
                  R"([{"trigger":{"url-filter":"nothing\\.example"},"action":{"type":"block"}}])")
            .first;
    return list;
}

// A store that remembers what it was asked, and answers when the test says so, or at once through an
// inner store (the engine's).
class HandStore final : public BlockerRules::Store {
public:
    explicit HandStore(std::shared_ptr<BlockerRules::Store> inner = {}) : m_inner(std::move(inner)) {}

    void lookUp(const std::string& identifier, std::function<void(BlockerRules::List)> done) override {
        lookedUp.push_back(identifier);
        if (m_inner) return m_inner->lookUp(identifier, std::move(done));
        pendingLookUp = std::move(done);
    }
    void compile(const std::string& identifier, const std::string& ruleList,
                 std::function<void(BlockerRules::List, std::string)> done) override {
        compiled.push_back(identifier);
        compiledText = ruleList;
        if (m_inner) return m_inner->compile(identifier, ruleList, std::move(done));
        pendingCompile = std::move(done);
    }
    void identifiers(std::function<void(std::optional<std::vector<std::string>>)> done) override {
        ++listed;
        if (m_inner) return m_inner->identifiers(std::move(done));
        done(held);
    }
    void remove(const std::string& identifier) override {
        removed.push_back(identifier);
        if (m_inner) m_inner->remove(identifier);
    }

    void answerLookUp(BlockerRules::List list) { std::exchange(pendingLookUp, {})(std::move(list)); }
    void answerCompile(BlockerRules::List list, std::string error = {}) {
        std::exchange(pendingCompile, {})(std::move(list), std::move(error));
    }

    std::vector<std::string> lookedUp, compiled, removed;
    std::string compiledText;
    int listed = 0;
    std::optional<std::vector<std::string>> held;
    std::function<void(BlockerRules::List)> pendingLookUp;
    std::function<void(BlockerRules::List, std::string)> pendingCompile;

private:
    std::shared_ptr<BlockerRules::Store> m_inner;
};

class BlockerRulesTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!test::engineAvailable()) GTEST_SKIP() << "no display: run under tools/run-headless";
        list = someList();
        ASSERT_TRUE(list);
    }

    std::unique_ptr<BlockerRules> rules() {
        return std::make_unique<BlockerRules>([this] { return available ? store : nullptr; },
                                              [this](const std::string& line) { log.push_back(line); });
    }

    std::shared_ptr<HandStore> store = std::make_shared<HandStore>();
    bool available = true;
    std::vector<std::string> log;
    glib::GRefPtr<WebKitUserContentFilter> list;
};

TEST_F(BlockerRulesTest, callersShareOneLookUpInTurnAndWithoutAStoreWaitForALaterAttempt) {
    available = false;
    auto r = rules();
    std::vector<std::pair<char, WebKitUserContentFilter*>> calls;
    auto caller = [&](char name) {
        return [&calls, name](WebKitUserContentFilter* l) { calls.push_back({name, l}); };
    };
    r->load(caller('a'));
    EXPECT_FALSE(r->working());
    EXPECT_TRUE(store->lookedUp.empty());
    available = true;
    r->load(caller('b'));
    r->load(caller('c'));
    EXPECT_TRUE(r->working());
    EXPECT_EQ(store->lookedUp, std::vector<std::string>{ContentBlocker::identifier()});
    EXPECT_TRUE(calls.empty());
    store->answerLookUp(list);
    EXPECT_EQ(calls, (std::vector<std::pair<char, WebKitUserContentFilter*>>{
                         {'a', list.get()}, {'b', list.get()}, {'c', list.get()}}));
    // Found in the store: nothing compiled, nothing cleared away.
    EXPECT_TRUE(store->compiled.empty());
    EXPECT_EQ(store->listed, 0);
    EXPECT_FALSE(r->working());

    // Once there, the list is handed over at once, without asking the store.
    available = false;
    WebKitUserContentFilter* later = nullptr;
    r->load([&](WebKitUserContentFilter* l) { later = l; });
    EXPECT_EQ(later, list.get());
    EXPECT_EQ(store->lookedUp.size(), 1u);
}

TEST_F(BlockerRulesTest, compilesWhenMissingAndClearsAwayOnlyOlderBlocklists) {
    auto r = rules();
    WebKitUserContentFilter* got = nullptr;
    r->load([&](WebKitUserContentFilter* l) { got = l; });
    std::string id = ContentBlocker::identifier();
    store->held = std::vector<std::string>{"nimb-block-0ld", "someone-elses-list", id, "nimb-block-older"};
    store->answerLookUp(nullptr);
    EXPECT_EQ(store->compiled, std::vector<std::string>{id});
    EXPECT_EQ(store->compiledText, ContentBlocker::ruleListJSON());
    EXPECT_EQ(store->listed, 0); // not before the compile has answered
    store->answerCompile(list);
    EXPECT_EQ(got, list.get());
    EXPECT_EQ(r->list(), list.get());
    EXPECT_EQ(store->removed, (std::vector<std::string>{"nimb-block-0ld", "nimb-block-older"}));
    EXPECT_TRUE(log.empty());
}

TEST_F(BlockerRulesTest, aFailedCompileIsLoggedAndTriedAgainNextTime) {
    auto r = rules();
    std::vector<WebKitUserContentFilter*> got;
    r->load([&](WebKitUserContentFilter* l) { got.push_back(l); });
    store->answerLookUp(nullptr);
    store->answerCompile(nullptr, "Invalid or unsupported regular expression.");
    EXPECT_EQ(got, std::vector<WebKitUserContentFilter*>{nullptr});
    EXPECT_EQ(log, std::vector<std::string>{
                       "NIMB: blocklist did not compile: Invalid or unsupported regular expression."});
    EXPECT_EQ(store->listed, 1); // cleared away after a failed compile too
    EXPECT_FALSE(r->working());
    EXPECT_EQ(r->list(), nullptr);

    r->load([&](WebKitUserContentFilter* l) { got.push_back(l); });
    EXPECT_EQ(store->lookedUp.size(), 2u);
    store->answerLookUp(list);
    EXPECT_EQ(got, (std::vector<WebKitUserContentFilter*>{nullptr, list.get()}));
}

TEST_F(BlockerRulesTest, anAnswerAfterTheOwnerIsGoneIsDropped) {
    auto r = rules();
    bool called = false;
    r->load([&](WebKitUserContentFilter*) { called = true; });
    r.reset();
    store->answerLookUp(nullptr);
    EXPECT_FALSE(called);
    EXPECT_TRUE(store->compiled.empty());
}

// Against the engine's own store, which also has to report what it refuses and what it lacks: the
// tests above would pass vacuously if those went unnoticed.
TEST_F(BlockerRulesTest, theEngineStoreCompilesOnceAndKeepsTheList) {
    test::TemporaryDirectory directory;
    auto engine = BlockerRules::webKitStore(directory.path().string());
    auto identifiers = [&] {
        auto ids = await<std::optional<std::vector<std::string>>>([&](auto done) {
                       engine->identifiers(done);
                   }).value_or(std::vector<std::string>{});
        std::sort(ids.begin(), ids.end());
        return ids;
    };
    EXPECT_FALSE(
        await<BlockerRules::List>([&](auto done) { engine->lookUp(ContentBlocker::identifier(), done); }));
    auto [broken, error] =
        compileIn(*engine, "nimb-block-broken",
                  R"json([{"action":{"type":"block"},"trigger":{"url-filter":"(a|b)"}}])json");
    EXPECT_FALSE(broken);
    EXPECT_FALSE(error.empty());
    // A list an earlier blocklist left behind, and one that is not ours.
    for (const char* id : {"nimb-block-0ld", "unrelated"})
        ASSERT_TRUE(
            compileIn(*engine, id, R"([{"trigger":{"url-filter":"x"},"action":{"type":"block"}}])").first);

    {
        auto counting = std::make_shared<HandStore>(engine);
        BlockerRules compiling([&] { return counting; });
        auto first = await<WebKitUserContentFilter*>([&](auto done) { compiling.load(done); });
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(webkit_user_content_filter_get_identifier(first), ContentBlocker::identifier());
        EXPECT_EQ(counting->compiled.size(), 1u);
        // The removal of the older list runs after the compile has answered.
        test::waitUntil([&] { return identifiers().size() == 2; }, 5s);
    }
    std::vector<std::string> expected{ContentBlocker::identifier(), "unrelated"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(identifiers(), expected);

    // The next run, over a store opened afresh, finds it without compiling.
    auto counting = std::make_shared<HandStore>(BlockerRules::webKitStore(directory.path().string()));
    BlockerRules later([&] { return counting; });
    EXPECT_TRUE(await<WebKitUserContentFilter*>([&](auto done) { later.load(done); }));
    EXPECT_TRUE(counting->compiled.empty());
}

} // namespace
} // namespace nimb
