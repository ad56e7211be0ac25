// The store the browser runs on: reads never wait, writes land in order on a thread of their own,
// and whoever waits for a write learns what became of it.

#include "storage/QueuedStore.h"
#include "PostedCalls.h"
#include "TemporaryDirectory.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace nimb {
namespace {

using namespace std::chrono_literals;

class QueuedStoreTest : public ::testing::Test {
protected:
    std::unique_ptr<SqliteStore> database(int busyTimeoutMilliseconds = 5000) {
        SqliteStore::Options options;
        options.log = [](const std::string&) {};
        options.busyTimeoutMilliseconds = busyTimeoutMilliseconds;
        std::string error;
        auto database = SqliteStore::open(path, options, &error);
        EXPECT_TRUE(database) << error;
        return database;
    }
    std::unique_ptr<QueuedStore> open() {
        auto sqlite = database();
        if (!sqlite) return nullptr;
        return std::make_unique<QueuedStore>(std::move(sqlite),
                                             QueuedStore::Options{posted.post(), 20ms, 20ms});
    }
    // What a fresh reader finds on disk.
    std::optional<Pairs> onDisk(const std::string& key) {
        auto store = database(1000);
        return store ? store->pairs(key) : std::nullopt;
    }
    // The outcome of the writes asked for so far, once it is posted; none when it does not come.
    std::optional<WriteOutcome> settled(QueuedStore& store) {
        std::optional<WriteOutcome> outcome;
        store.afterWrites([&](const WriteOutcome& last) { outcome = last; });
        posted.runUntil([&] { return outcome.has_value(); });
        return outcome;
    }

    test::TemporaryDirectory directory;
    const std::string path = directory.file("preferences.sqlite");
    test::PostedCalls posted;
};

TEST_F(QueuedStoreTest, readsSeeAWriteAtOnceAndItsOutcomeComesOnceItLands) {
    ASSERT_TRUE(database()->write({{"list", Pairs{{"stored"}}}, {"name", std::string("old")}}).landed());
    auto store = open();
    ASSERT_TRUE(store);
    EXPECT_EQ(store->pairs("list"), (Pairs{{"stored"}}));
    EXPECT_EQ(store->boolean("list"), std::nullopt); // typed readings as on disk

    EXPECT_EQ(store->set("list", Pairs{{"new"}}).kind, WriteOutcome::Kind::queued);
    EXPECT_EQ(store->pairs("list"), (Pairs{{"new"}}));
    auto outcome = settled(*store);
    ASSERT_TRUE(outcome);
    EXPECT_TRUE(outcome->landed());
    EXPECT_EQ(store->waiting(), 0u);
    EXPECT_EQ(onDisk("list"), (Pairs{{"new"}}));

    // With nothing waiting, the last outcome comes at once.
    bool atOnce = false;
    store->afterWrites([&](const WriteOutcome& last) { atOnce = last.landed(); });
    EXPECT_TRUE(atOnce);
}

TEST_F(QueuedStoreTest, writesHeldUpByAnotherProgramWaitInOrderAndLandWhenItLetsGo) {
    auto store = open();
    ASSERT_TRUE(store);
    std::vector<bool> blocked;
    store->setBlockedListener([&](bool now) { blocked.push_back(now); });

    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);

    std::vector<std::string> outcomes;
    for (int i = 0; i < 5; ++i) {
        const Pairs list{{std::to_string(i)}};
        ASSERT_EQ(store->write({{"bookmarks", list}, {"notes", list}}).kind, WriteOutcome::Kind::queued);
        store->afterWrites([&outcomes, i](const WriteOutcome& last) {
            outcomes.push_back(std::to_string(i) + (last.landed() ? " landed" : " failed"));
        });
    }
    EXPECT_EQ(store->pairs("bookmarks"), (Pairs{{"4"}}));
    ASSERT_TRUE(posted.runUntil([&] { return !blocked.empty(); }));
    EXPECT_EQ(blocked, std::vector<bool>{true});
    EXPECT_TRUE(outcomes.empty());
    EXPECT_EQ(store->waiting(), 5u);
    EXPECT_EQ(store->finish(30ms), 5u) << "nothing lands while the other program holds the file";

    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    ASSERT_TRUE(posted.runUntil([&] { return store->waiting() == 0 && blocked.size() == 2; }));
    EXPECT_EQ(blocked, (std::vector<bool>{true, false}));
    // Every waiter hears, in order, and what landed last is the newest of each list.
    EXPECT_EQ(outcomes,
              (std::vector<std::string>{"0 landed", "1 landed", "2 landed", "3 landed", "4 landed"}));
    EXPECT_EQ(onDisk("bookmarks"), (Pairs{{"4"}}));
    EXPECT_EQ(onDisk("notes"), (Pairs{{"4"}}));
    EXPECT_EQ(store->finish(1s), 0u);
}

TEST_F(QueuedStoreTest, aReadOnlyStoreKeepsChangesForTheRunAndSaysWhyTheyWereNotKept) {
    ASSERT_TRUE(database()->set("list", Pairs{{"stored"}}).landed());
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    auto store = open();
    ASSERT_TRUE(store);
    ASSERT_TRUE(store->database().readOnly());
    std::vector<WriteOutcome> failures;
    store->setFailureListener([&](const WriteOutcome& outcome) { failures.push_back(outcome); });

    (void)store->set("list", Pairs{{"changed"}});
    auto outcome = settled(*store);
    ASSERT_TRUE(outcome);
    EXPECT_EQ(outcome->kind, WriteOutcome::Kind::readOnly);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(store->pairs("list"), (Pairs{{"changed"}}));
    store.reset();
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
    EXPECT_EQ(onDisk("list"), (Pairs{{"stored"}}));
}

TEST_F(QueuedStoreTest, aStoreGoneBeforeItsOutcomesArriveIsNotCalled) {
    auto store = open();
    ASSERT_TRUE(store);
    bool called = false;
    (void)store->set("k", "v");
    store->afterWrites([&](const WriteOutcome&) { called = true; });
    EXPECT_EQ(store->finish(10s), 0u);
    store.reset(); // its writing thread has posted everything by the time it is gone
    posted.runAll();
    EXPECT_FALSE(called);
    EXPECT_EQ(SqliteStore::open(path)->string("k"), "v");
}

} // namespace
} // namespace nimb
