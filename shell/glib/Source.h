#pragma once

// A main-loop source (an idle call or a timer) owned by C++: it runs its callable on the main loop
// and is removed when the Source goes, so nothing it would touch can be gone when it fires. The
// callable is called once; a Source that has fired is empty.

#include <glib.h>

#include <chrono>
#include <functional>
#include <memory>
#include <utility>

namespace nimb::glib {

class Source {
public:
    Source() = default;
    Source(Source&& other) noexcept : m_state(std::move(other.m_state)) {}
    Source& operator=(Source&& other) noexcept {
        if (this != &other) {
            cancel();
            m_state = std::move(other.m_state);
        }
        return *this;
    }
    Source(const Source&) = delete;
    Source& operator=(const Source&) = delete;
    ~Source() { cancel(); }

    // Runs `callable` on the next turn of the main loop (at `priority`).
    [[nodiscard]] static Source idle(std::function<void()> callable, int priority = G_PRIORITY_DEFAULT_IDLE) {
        return Source(std::move(callable), [priority](GSourceFunc run, gpointer data, GDestroyNotify done) {
            return g_idle_add_full(priority, run, data, done);
        });
    }
    // Runs `callable` once after `delay`.
    [[nodiscard]] static Source timeout(std::chrono::milliseconds delay, std::function<void()> callable) {
        return Source(std::move(callable), [delay](GSourceFunc run, gpointer data, GDestroyNotify done) {
            return g_timeout_add_full(G_PRIORITY_DEFAULT, static_cast<guint>(delay.count()), run, data, done);
        });
    }

    // Whether it is waiting to fire.
    [[nodiscard]] bool pending() const { return m_state && m_state->id != 0; }
    void cancel() {
        if (!m_state) return;
        if (m_state->id != 0) g_source_remove(m_state->id);
        m_state.reset();
    }

private:
    struct State {
        std::function<void()> callable;
        guint id = 0;
    };

    template <class Add>
    Source(std::function<void()> callable, Add add) : m_state(std::make_shared<State>()) {
        m_state->callable = std::move(callable);
        // The main loop holds a reference of its own until the source is removed.
        auto* held = new std::shared_ptr<State>(m_state);
        m_state->id = add(
            +[](gpointer data) -> gboolean {
                auto state = *static_cast<std::shared_ptr<State>*>(data);
                state->id = 0;
                auto due = std::move(state->callable);
                if (due) due();
                return G_SOURCE_REMOVE;
            },
            held, +[](gpointer data) { delete static_cast<std::shared_ptr<State>*>(data); });
    }

    std::shared_ptr<State> m_state;
};

// Runs `callable` once on the main loop's next turn. Unlike a Source, nothing owns the call: it may
// be made from any thread, and what it touches must guard itself.
inline void post(std::function<void()> callable) {
    g_idle_add_full(
        G_PRIORITY_DEFAULT,
        +[](gpointer data) -> gboolean {
            (*static_cast<std::function<void()>*>(data))();
            return G_SOURCE_REMOVE;
        },
        new std::function<void()>(std::move(callable)),
        +[](gpointer data) { delete static_cast<std::function<void()>*>(data); });
}

} // namespace nimb::glib
