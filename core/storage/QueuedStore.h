#pragma once

#include "storage/InMemoryStore.h"
#include "storage/SqliteStore.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

namespace nimb {

// The store the browser runs on. Everything stored is read once, when it opens, and kept at hand, so
// that a read never waits for the disk. A write changes what is read at once and is handed to a
// thread of its own that writes to the database in the order asked; the thread that uses the store
// never waits for the disk or for another program holding the file.
//
// While another program holds the database, writes wait in order and are tried again until it lets
// go; writes that pile up meanwhile are merged into one (still one transaction, so nothing related
// comes apart). Any other failure is final for that write: what is read keeps the change for this
// run, and whoever waits for the write learns why it was not kept.
class QueuedStore final : public KeyValueStore {
public:
    struct Options {
        // Runs a call on the thread that uses the store; called from the writing thread.
        std::function<void(std::function<void()>)> post;
        // How long a try waits for another program, and how long between tries.
        std::chrono::milliseconds busyWait{100};
        std::chrono::milliseconds retry{250};
    };

    QueuedStore(std::unique_ptr<SqliteStore> store, Options options);
    // Stops the writing thread; writes not yet made are dropped (`finish` first to keep them).
    ~QueuedStore() override;
    QueuedStore(const QueuedStore&) = delete;
    QueuedStore& operator=(const QueuedStore&) = delete;

    std::optional<std::string> string(std::string_view key) override;
    std::optional<bool> boolean(std::string_view key) override;
    std::optional<Pairs> pairs(std::string_view key) override;

    void afterWrites(std::function<void(const WriteOutcome&)> then) override;

    // How many writes have been asked for since the store opened.
    [[nodiscard]] std::uint64_t asked() const { return m_ui->lastAsked; }
    // How many writes asked for have not landed or failed yet.
    [[nodiscard]] std::size_t waiting() const { return m_ui->waiting; }
    // Waits up to `limit` for every write to land or fail; how many writes asked for are left unwritten.
    // Those that were written are settled (their waiters called) on the next turn of the using thread.
    std::size_t finish(std::chrono::milliseconds limit);
    // Called on the using thread when writes start waiting for another program, and when they go on.
    void setBlockedListener(std::function<void(bool blocked)> listener) {
        m_ui->blocked = std::move(listener);
    }
    // Called on the using thread with every write that failed for good, whether or not anyone waits.
    void setFailureListener(std::function<void(const WriteOutcome&)> listener) {
        m_ui->failed = std::move(listener);
    }

    [[nodiscard]] const SqliteStore& database() const { return *m_store; }

protected:
    WriteOutcome commit(const Changes& changes) override;

private:
    struct Job {
        std::uint64_t id = 0;
        std::size_t writes = 0;
        Changes changes;
    };
    // What the using thread keeps; the writing thread reaches it only through `post`, weakly.
    struct Ui {
        InMemoryStore values; // what is read: the stored values with every write asked for
        std::map<std::uint64_t, std::vector<std::function<void(const WriteOutcome&)>>> waiters;
        std::uint64_t lastAsked = 0;
        std::uint64_t lastSettled = 0;
        WriteOutcome lastOutcome;
        std::size_t waiting = 0;
        std::function<void(bool)> blocked;
        std::function<void(const WriteOutcome&)> failed;
    };

    static void settle(Ui& ui, std::uint64_t id, std::size_t writes, const WriteOutcome& outcome);
    void run();

    std::unique_ptr<SqliteStore> m_store;
    Options m_options;
    std::shared_ptr<Ui> m_ui;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_settled;
    std::deque<Job> m_jobs; // the front one is being written while `m_writing`
    bool m_writing = false;
    bool m_stopping = false;
    std::thread m_thread;
};

} // namespace nimb
