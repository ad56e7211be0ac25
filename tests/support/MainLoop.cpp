#include "MainLoop.h"

#include <glib.h>

#include <memory>
#include <optional>

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

int spawn(const std::vector<std::string>& command) {
    std::vector<char*> argv;
    for (const auto& part : command)
        argv.push_back(const_cast<char*>(part.c_str()));
    argv.push_back(nullptr);
    GPid pid = 0;
    bool started = g_spawn_async(nullptr, argv.data(), nullptr,
                                 static_cast<GSpawnFlags>(G_SPAWN_SEARCH_PATH | G_SPAWN_DO_NOT_REAP_CHILD),
                                 nullptr, nullptr, &pid, nullptr);
    return started ? pid : 0;
}

std::optional<int> waitForExit(int pid, std::chrono::milliseconds deadline) {
    if (pid <= 0) return std::nullopt;
    // The watch may outlive a wait that gave up: it holds its own share of the answer.
    using Status = std::shared_ptr<std::optional<int>>;
    auto status = std::make_shared<std::optional<int>>();
    g_child_watch_add_full(
        G_PRIORITY_DEFAULT, pid,
        +[](GPid child, int code, gpointer data) {
            **static_cast<Status*>(data) = code;
            g_spawn_close_pid(child);
        },
        new Status(status), +[](gpointer data) { delete static_cast<Status*>(data); });
    waitUntil([&] { return status->has_value(); }, deadline);
    return *status;
}

} // namespace nimb::test
