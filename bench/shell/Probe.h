#pragma once

// The line protocol between the shell benchmark's driver and the two programs it measures (the real
// browser and a bare web view). A measured program writes "@bench <event> <value>" lines to its
// standard output and takes one command a line from its standard input:
//   load <address>   navigate the window's view; answered by "loaded <microseconds>" when the load
//                    finished (navigation start to load finished), or "failed <microseconds>"
//   quit             end the program
// Without a command it reports, as they happen, each with the system's monotonic clock in
// microseconds (which the driver compares with the moment it started the program):
//   main      main() begins
//   gtk       the toolkit is initialised (and the application registered on the session bus)
//   startup   the program's own start-up work is done (the same moment as gtk for the bare view)
//   activate  the first window is about to be made
//   window    the first window is mapped
//   ready     the first page has finished loading

#include <glib.h>
#include <unistd.h>
#include <webkit/webkit.h>

#include <cstdint>
#include <functional>
#include <string>

namespace nimb::bench::probe {

inline std::int64_t now() {
    return g_get_monotonic_time();
}

inline void report(const std::string& event, std::int64_t value) {
    std::string line = "@bench " + event + " " + std::to_string(value) + "\n";
    std::size_t written = 0;
    while (written < line.size()) {
        ssize_t sent = ::write(STDOUT_FILENO, line.data() + written, line.size() - written);
        if (sent <= 0) return;
        written += static_cast<std::size_t>(sent);
    }
}

// Calls `command` with each line arriving on standard input; `closed` when the input ends.
inline void listen(std::function<void(const std::string&)> command, std::function<void()> closed) {
    struct Listener {
        std::function<void(const std::string&)> command;
        std::function<void()> closed;
    };
    GIOChannel* input = g_io_channel_unix_new(STDIN_FILENO);
    g_io_add_watch_full(
        input, G_PRIORITY_DEFAULT, static_cast<GIOCondition>(G_IO_IN | G_IO_HUP | G_IO_ERR),
        +[](GIOChannel* channel, GIOCondition, gpointer data) -> gboolean {
            auto* listener = static_cast<Listener*>(data);
            gchar* line = nullptr;
            gsize length = 0;
            GIOStatus status = g_io_channel_read_line(channel, &line, &length, nullptr, nullptr);
            if (status == G_IO_STATUS_NORMAL && line) {
                std::string text(line, length);
                g_free(line);
                while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
                    text.pop_back();
                listener->command(text);
                return G_SOURCE_CONTINUE;
            }
            g_free(line);
            if (status == G_IO_STATUS_AGAIN) return G_SOURCE_CONTINUE;
            listener->closed();
            return G_SOURCE_REMOVE;
        },
        new Listener{std::move(command), std::move(closed)},
        +[](gpointer data) { delete static_cast<Listener*>(data); });
    g_io_channel_unref(input);
}

// Times the loads of one view: the first load to finish is "ready"; after that, each load started
// with begin() is answered with "loaded" or "failed".
class LoadTimer {
public:
    void finished(WebKitLoadEvent event) {
        if (event != WEBKIT_LOAD_FINISHED) return;
        if (!m_ready) {
            m_ready = true;
            report("ready", now());
            return;
        }
        if (m_started == 0) return;
        report(m_failed ? "failed" : "loaded", now() - m_started);
        m_started = 0;
        m_failed = false;
    }
    void failed() {
        if (m_started != 0) m_failed = true;
    }
    void begin() {
        m_started = now();
        m_failed = false;
    }

private:
    bool m_ready = false;
    bool m_failed = false;
    std::int64_t m_started = 0;
};

} // namespace nimb::bench::probe
