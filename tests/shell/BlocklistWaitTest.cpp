// The first pages of a new profile, while the blocklist is still being compiled: a web page waits
// for it (the browser's own pages do not), at most two seconds; a page that could not wait is told
// apart, in the status line and in its report, from a page the blocklist guarded.

#include "ShellTest.h"

#include "engine/BlockerRules.h"
#include "report/NimbReport.h"
#include "vocabulary/Language.h"
#include "window/ReportRequests.h"

namespace nimb::test {
namespace {

// The engine's store of compiled lists, whose answers wait until the test lets them through.
class HeldStore final : public BlockerRules::Store {
public:
    explicit HeldStore(std::shared_ptr<BlockerRules::Store> inner) : m_inner(std::move(inner)) {}

    void lookUp(const std::string& identifier, std::function<void(BlockerRules::List)> done) override {
        hold([this, identifier, done = std::move(done)] { m_inner->lookUp(identifier, done); });
    }
    void compile(const std::string& identifier, const std::string& ruleList,
                 std::function<void(BlockerRules::List, std::string)> done) override {
        hold([this, identifier, ruleList, done = std::move(done)] {
            m_inner->compile(identifier, ruleList, done);
        });
    }
    void identifiers(std::function<void(std::optional<std::vector<std::string>>)> done) override {
        m_inner->identifiers(std::move(done));
    }
    void remove(const std::string& identifier) override { m_inner->remove(identifier); }

    void letThrough() {
        m_open = true;
        auto waiting = std::move(m_waiting);
        m_waiting.clear();
        for (auto& each : waiting)
            each();
    }

private:
    void hold(std::function<void()> call) {
        if (m_open) return call();
        m_waiting.push_back(std::move(call));
    }

    std::shared_ptr<BlockerRules::Store> m_inner;
    std::vector<std::function<void()>> m_waiting;
    bool m_open = false;
};

class BlocklistWaitTest : public ShellTest {
protected:
    void configure() override {
        m_store = std::make_shared<HeldStore>(BlockerRules::webKitStore(m_directories.contentFilters()));
        m_rules = std::make_unique<BlockerRules>([store = m_store] { return store; });
        m_options.rules = m_rules.get();
        // The rule list alone: the request witness, at work, stops the listed requests without it.
        m_options.witness = std::filesystem::path();
    }

    // The page's report as the window builds it.
    std::optional<NimbReport> report() {
        std::optional<NimbReport> out;
        window().context().reports().askThePage(
            tab(),
            [&](NimbReport report, std::optional<NimbReportPage::Unavailable>) { out = std::move(report); });
        if (!waitUntil([&] { return out.has_value(); })) return std::nullopt;
        return out;
    }

    bool reached(const std::string& placeholder) { return m_proxy.receivedHost(var(placeholder)); }

    std::shared_ptr<HeldStore> m_store;
    std::unique_ptr<BlockerRules> m_rules;
};

TEST_F(BlocklistWaitTest, aWebPageWaitsForTheBlocklistAndTheBrowsersOwnDoNot) {
    // The first window's home page came without waiting.
    EXPECT_EQ(tab().localPage, LocationBar::aboutHome);
    EXPECT_FALSE(m_rules->list());

    // An address handed over at launch waits, and nothing of it reaches the network meanwhile.
    app().open({"http://browse.example/"});
    ASSERT_TRUE(waitUntil([&] { return tab().heldAddress.has_value(); }));
    ASSERT_TRUE(nextFrame());
    EXPECT_FALSE(m_proxy.receivedHost("browse.example"));

    // The list comes within the two seconds: the page loads behind it, and both listed requests stop.
    m_store->letThrough();
    ASSERT_TRUE(waitForStatus("Document: Done  \u2014  2 blocked"));
    EXPECT_FALSE(reached("namedAd"));
    EXPECT_FALSE(reached("namedTrack"));
    EXPECT_FALSE(tab().unfiltered);
    auto seen = report();
    ASSERT_TRUE(seen);
    EXPECT_TRUE(seen->blockingOn);
}

TEST_F(BlocklistWaitTest, aPageThatCannotWaitLoadsLateAndIsNeverCalledGuarded) {
    app().open({"http://browse.example/"});
    ASSERT_TRUE(waitUntil([&] { return tab().heldAddress.has_value(); }));
    auto held = std::chrono::steady_clock::now();

    // Two seconds on, without the list, the page goes on and the user is told.
    ASSERT_TRUE(waitUntil([&] { return m_proxy.receivedHost("browse.example"); }, 5s));
    EXPECT_GE(std::chrono::steady_clock::now() - held, 1900ms);
    ASSERT_TRUE(waitForLoad(tab()));
    EXPECT_TRUE(tab().unfiltered);
    EXPECT_TRUE(reached("namedAd"));
    EXPECT_EQ(status(), words().doneUnfiltered());
    auto seen = report();
    ASSERT_TRUE(seen);
    EXPECT_FALSE(seen->blockingOn) << "the report of a page the blocklist did not guard";

    // Once the list has come, the next load is guarded again.
    m_store->letThrough();
    ASSERT_TRUE(waitUntil([&] { return m_rules->list() != nullptr; }, 30s));
    m_proxy.clearLog();
    app().actions().activate("reloadPage");
    ASSERT_TRUE(waitForStatus("Document: Done  \u2014  2 blocked"));
    EXPECT_FALSE(tab().unfiltered);
    EXPECT_FALSE(reached("namedAd"));
    seen = report();
    ASSERT_TRUE(seen);
    EXPECT_TRUE(seen->blockingOn);
}

} // namespace
} // namespace nimb::test
