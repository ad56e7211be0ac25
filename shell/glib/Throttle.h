#pragma once

// Runs the newest of the calls it is given at most once every interval: the first after a quiet
// interval runs at once, later ones wait until the interval is up and only the newest of them runs.
// The newest always runs, on `flush` at the latest, unless it is cancelled. Owned by what its calls
// touch: a Throttle that goes takes its waiting call with it.

#include "glib/Source.h"

#include <chrono>
#include <functional>

namespace nimb::glib {

class Throttle {
public:
    explicit Throttle(std::chrono::milliseconds interval) : m_interval(interval) {}
    Throttle(const Throttle&) = delete;
    Throttle& operator=(const Throttle&) = delete;

    void setInterval(std::chrono::milliseconds interval) { m_interval = interval; }

    void run(std::function<void()> call) {
        m_waiting = std::move(call);
        if (m_timer.pending()) return;
        auto since = std::chrono::steady_clock::now() - m_last;
        if (since >= m_interval) {
            flush();
            return;
        }
        auto wait = std::chrono::ceil<std::chrono::milliseconds>(m_interval - since);
        m_timer = Source::timeout(wait, [this] { flush(); });
    }
    // Runs the waiting call now.
    void flush() {
        m_timer.cancel();
        if (!m_waiting) return;
        auto due = std::move(m_waiting);
        m_waiting = nullptr;
        m_last = std::chrono::steady_clock::now();
        due();
    }
    // Drops the waiting call.
    void cancel() {
        m_timer.cancel();
        m_waiting = nullptr;
    }
    [[nodiscard]] bool waiting() const { return static_cast<bool>(m_waiting); }

private:
    std::chrono::milliseconds m_interval;
    std::function<void()> m_waiting;
    std::chrono::steady_clock::time_point m_last{};
    Source m_timer;
};

} // namespace nimb::glib
