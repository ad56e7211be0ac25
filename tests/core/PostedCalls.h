#pragma once

// The using thread's side of a store's writing thread: the calls it posts wait here, as they wait for
// the browser's main loop, until the test (or the test's child process) runs them.

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace nimb::test {

class PostedCalls {
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
    bool runUntil(const std::function<bool()>& done, std::chrono::steady_clock::time_point deadline) {
        while (!done()) {
            std::unique_lock lock(m_mutex);
            if (!m_arrived.wait_until(lock, deadline, [this] { return !m_calls.empty(); })) return false;
            auto call = std::move(m_calls.front());
            m_calls.pop_front();
            lock.unlock();
            call();
        }
        return true;
    }
    bool runUntil(const std::function<bool()>& done,
                  std::chrono::milliseconds within = std::chrono::seconds(10)) {
        return runUntil(done, std::chrono::steady_clock::now() + within);
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

} // namespace nimb::test
