#include "MainLoop.h"

#include <glib.h>

namespace nimb::test {

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds deadline) {
    auto end = std::chrono::steady_clock::now() + deadline;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= end) return false;
        // Sleep in the loop until something happens, but wake at least every 10 ms to look again.
        bool fired = false;
        guint tick = g_timeout_add(
            10,
            +[](gpointer flag) -> gboolean {
                *static_cast<bool*>(flag) = true;
                return G_SOURCE_REMOVE;
            },
            &fired);
        g_main_context_iteration(nullptr, TRUE);
        if (!fired) g_source_remove(tick);
    }
    return true;
}

void drain() {
    // Bounded, in case something re-arms itself for ever (an animation's idle, say).
    for (int turns = 0; turns < 10000 && g_main_context_pending(nullptr); ++turns)
        g_main_context_iteration(nullptr, FALSE);
}

void pump(std::chrono::milliseconds duration) {
    auto end = std::chrono::steady_clock::now() + duration;
    waitUntil([&] { return std::chrono::steady_clock::now() >= end; }, duration + std::chrono::seconds(1));
}

} // namespace nimb::test
