#include "storage/QueuedStore.h"

#include <algorithm>

namespace nimb {

QueuedStore::QueuedStore(std::unique_ptr<SqliteStore> store, Options options)
    : m_store(std::move(store)), m_options(std::move(options)), m_ui(std::make_shared<Ui>()) {
    (void)m_ui->values.write(m_store->everything());
    m_store->setBusyTimeout(m_options.busyWait);
    m_thread = std::thread([this] { run(); });
}

QueuedStore::~QueuedStore() {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

std::optional<std::string> QueuedStore::string(std::string_view key) {
    return m_ui->values.string(key);
}
std::optional<bool> QueuedStore::boolean(std::string_view key) {
    return m_ui->values.boolean(key);
}
std::optional<Pairs> QueuedStore::pairs(std::string_view key) {
    return m_ui->values.pairs(key);
}

WriteOutcome QueuedStore::commit(const Changes& changes) {
    Ui& ui = *m_ui;
    (void)ui.values.write(changes);
    std::uint64_t id = ++ui.lastAsked;
    ++ui.waiting;
    {
        std::lock_guard lock(m_mutex);
        // A write not yet begun takes in the newer one: the two land together or not at all.
        bool tailIsIdle = !m_jobs.empty() && !(m_writing && m_jobs.size() == 1);
        if (tailIsIdle) {
            Job& tail = m_jobs.back();
            for (const Change& change : changes) {
                auto same = std::find_if(tail.changes.begin(), tail.changes.end(),
                                         [&](const Change& c) { return c.key == change.key; });
                if (same != tail.changes.end())
                    same->value = change.value;
                else
                    tail.changes.push_back(change);
            }
            if (auto waiting = ui.waiters.extract(tail.id)) {
                waiting.key() = id;
                ui.waiters.insert(std::move(waiting));
            }
            tail.id = id;
            ++tail.writes;
        } else {
            m_jobs.push_back({id, 1, changes});
        }
    }
    m_wake.notify_one();
    return WriteOutcome::queued();
}

void QueuedStore::afterWrites(std::function<void(const WriteOutcome&)> then) {
    Ui& ui = *m_ui;
    if (ui.lastSettled == ui.lastAsked) {
        then(ui.lastOutcome);
        return;
    }
    ui.waiters[ui.lastAsked].push_back(std::move(then));
}

void QueuedStore::settle(Ui& ui, std::uint64_t id, std::size_t writes, const WriteOutcome& outcome) {
    if (id <= ui.lastSettled) return;
    ui.lastSettled = id;
    ui.lastOutcome = outcome;
    ui.waiting -= std::min(ui.waiting, writes);
    auto waiting = ui.waiters.extract(id);
    if (!outcome.good() && ui.failed) ui.failed(outcome);
    if (waiting) {
        for (auto& then : waiting.mapped())
            then(outcome);
    }
}

std::size_t QueuedStore::finish(std::chrono::milliseconds limit) {
    std::unique_lock lock(m_mutex);
    m_settled.wait_for(lock, limit, [this] { return m_jobs.empty(); });
    std::size_t left = 0;
    for (const Job& job : m_jobs)
        left += job.writes;
    return left;
}

void QueuedStore::run() {
    std::weak_ptr<Ui> weakUi = m_ui;
    auto post = [this, weakUi](std::function<void(Ui&)> call) {
        m_options.post([weakUi, call = std::move(call)] {
            if (auto ui = weakUi.lock()) call(*ui);
        });
    };
    bool blocked = false;
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stopping || !m_jobs.empty(); });
        if (m_stopping) return;
        m_writing = true;
        const Changes& changes = m_jobs.front().changes; // the front job is left alone while writing
        lock.unlock();
        WriteOutcome outcome = m_store->write(changes);
        lock.lock();
        m_writing = false;

        if (outcome.kind == WriteOutcome::Kind::locked) {
            if (!blocked) {
                blocked = true;
                post([](Ui& ui) {
                    if (ui.blocked) ui.blocked(true);
                });
            }
            m_wake.wait_for(lock, m_options.retry, [this] { return m_stopping; });
            continue;
        }
        if (blocked) {
            blocked = false;
            post([](Ui& ui) {
                if (ui.blocked) ui.blocked(false);
            });
        }
        Job done = std::move(m_jobs.front());
        m_jobs.pop_front();
        m_settled.notify_all();
        post([id = done.id, writes = done.writes, outcome](Ui& ui) { settle(ui, id, writes, outcome); });
    }
}

} // namespace nimb
