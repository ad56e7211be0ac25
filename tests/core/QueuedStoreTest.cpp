// The store the browser runs on: reads never wait, writes land in order on a thread of their own,
// and whoever waits for a write learns what became of it.

#include "storage/QueuedStore.h"
#include "TemporaryDirectory.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <condition_variable>
#include <deque>
#include <mutex>

namespace nimb {
namespace {

using namespace std::chrono_literals;

// The using thread's side: calls posted by the writing thread wait here until the test runs them.
class Posted {
public:
    std::function<void(std::function<void()>)> post() {
        return [this](std::function<void()> call) {
            {
                std::lock_guard lock(m_mutex);
                m_calls.push_back(std::move(call));
            }
            m_arrived.notify_all();
        };
    }
    // Runs posted calls until `done` holds; false when the deadline passes first.
    bool runUntil(const std::function<bool()>& done, std::chrono::milliseconds deadline = 10s) {
        auto until = std::chrono::steady_clock::now() + deadline;
        while (!done()) {
            std::unique_lock lock(m_mutex);
            if (!m_arrived.wait_until(lock, until, [this] { return !m_calls.empty(); })) return false;
            auto call = std::move(m_calls.front());
            m_calls.pop_front();
            lock.unlock();
            call();
        }
        return true;
    }

    // Runs every call posted so far.
    void runAll() {
        std::deque<std::function<void()>> calls;
        {
            std::lock_guard lock(m_mutex);
            calls.swap(m_calls);
        }
        for (auto& call : calls)
            call();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_arrived;
    std::deque<std::function<void()>> m_calls;
};

class QueuedStoreTest : public ::testing::Test {
protected:
    std::unique_ptr<QueuedStore> open() {
        SqliteStore::Options options;
        options.log = [](const std::string&) {};
        std::string error;
        auto database = SqliteStore::open(path, options, &error);
        EXPECT_TRUE(database) << error;
        if (!database) return nullptr;
        return std::make_unique<QueuedStore>(std::move(database),
                                             QueuedStore::Options{posted.post(), 20ms, 20ms});
    }
    // What a fresh reader finds on disk.
    std::optional<Pairs> onDisk(const std::string& key) {
        SqliteStore::Options options;
        options.log = [](const std::string&) {};
        options.busyTimeoutMilliseconds = 1000;
        auto store = SqliteStore::open(path, options);
        return store ? store->pairs(key) : std::nullopt;
    }

    test::TemporaryDirectory directory;
    const std::string path = directory.file("preferences.sqlite");
    Posted posted;
};

TEST_F(QueuedStoreTest, readsSeeAWriteAtOnceAndItsOutcomeComesOnceItLands) {
    {
        auto seed = SqliteStore::open(path);
        ASSERT_TRUE(seed->write({{"list", Pairs{{"stored"}}}, {"name", std::string("old")}}).landed());
    }
    auto store = open();
    ASSERT_TRUE(store);
    EXPECT_EQ(store->pairs("list"), (Pairs{{"stored"}}));
    EXPECT_EQ(store->boolean("list"), std::nullopt); // typed readings as on disk

    EXPECT_EQ(store->set("list", Pairs{{"new"}}).kind, WriteOutcome::Kind::queued);
    EXPECT_EQ(store->pairs("list"), (Pairs{{"new"}}));
    std::optional<WriteOutcome> outcome;
    store->afterWrites([&](const WriteOutcome& last) { outcome = last; });
    ASSERT_TRUE(posted.runUntil([&] { return outcome.has_value(); }));
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
        ASSERT_EQ(
            store->write({{"bookmarks", Pairs{{std::to_string(i)}}}, {"notes", Pairs{{std::to_string(i)}}}})
                .kind,
            WriteOutcome::Kind::queued);
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
    ASSERT_EQ(outcomes.size(), 5u);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(outcomes[static_cast<std::size_t>(i)], std::to_string(i) + " landed");
    EXPECT_EQ(onDisk("bookmarks"), (Pairs{{"4"}}));
    EXPECT_EQ(onDisk("notes"), (Pairs{{"4"}}));
    EXPECT_EQ(store->finish(1s), 0u);
}

TEST_F(QueuedStoreTest, aReadOnlyStoreKeepsChangesForTheRunAndSaysWhyTheyWereNotKept) {
    {
        auto seed = SqliteStore::open(path);
        ASSERT_TRUE(seed->set("list", Pairs{{"stored"}}).landed());
    }
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    auto store = open();
    ASSERT_TRUE(store);
    ASSERT_TRUE(store->database().readOnly());
    std::vector<WriteOutcome> failures;
    store->setFailureListener([&](const WriteOutcome& outcome) { failures.push_back(outcome); });

    (void)store->set("list", Pairs{{"changed"}});
    std::optional<WriteOutcome> outcome;
    store->afterWrites([&](const WriteOutcome& last) { outcome = last; });
    ASSERT_TRUE(posted.runUntil([&] { return outcome.has_value(); }));
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
