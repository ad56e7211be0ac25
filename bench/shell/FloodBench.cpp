// What a hostile page's message floods cost the browser, in the real application under a virtual
// display (make bench-shell runs it):
//   1. 3,000 reports of the hosts a page reached, 1,000 hosts each, posted as fast as the page can;
//   2. 3,000 icons declared one after the other, each a different address that answers with an
//      image of its own.
// For each: the CPU time of the browser's own process (the window's thread does the work), the
// highest memory it held while the flood lasted and what it still holds once it is over, and how
// long until the window had read the last message (the reports) or the icon store had nothing left
// to fetch (the icons). Not a test: it prints the figures.
//
// Before the bounds (this file built against the commit before them, on a 2-core machine):
//   reports: 6,350 ms CPU in 6.3 s, peak +101.6 MiB, +5.4 MiB after;
//   icons:   31,800 ms CPU in 32.6 s, peak and after +49.0 MiB, 3,000 icons downloaded.
// With them, on the same machine: reports 2,820 ms CPU in 2.6 s, peak +40 MiB, +6.6 MiB after (most
// of what is left is the engine handing over 3,000 messages); icons 220 ms CPU in 0.2 s, peak
// +1.8 MiB, +0.9 MiB after, 27 icons downloaded.

#include "ProcessTree.h"
#include "ShellTest.h"

#include "engine/FaviconStore.h"

#include <gdk-pixbuf/gdk-pixbuf.h>
#include <unistd.h>

#include <cstdio>

namespace nimb::test {
namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double ownMiB() {
    return static_cast<double>(ProcessTree::pssKiB(getpid()).value_or(0)) / 1024.0;
}

// The highest memory this process held while it was watched, sampled every 50 ms.
class PeakWatch {
public:
    PeakWatch() {
        m_peak = ownMiB();
        m_id = g_timeout_add(
            50,
            +[](gpointer data) -> gboolean {
                auto* self = static_cast<PeakWatch*>(data);
                self->m_peak = std::max(self->m_peak, ownMiB());
                return G_SOURCE_CONTINUE;
            },
            this);
    }
    ~PeakWatch() { g_source_remove(m_id); }
    [[nodiscard]] double peak() const { return std::max(m_peak, ownMiB()); }

private:
    double m_peak = 0;
    guint m_id = 0;
};

struct Cost {
    double cpu = 0;     // ms
    double seconds = 0; // until done, or until given up
    double before = 0;  // MiB
    double peak = 0;
    double after = 0;
    bool done = false;
};

void print(const char* what, const Cost& cost, const std::string& more) {
    std::printf("  %-8s %7.0f ms CPU in %5.1f s (%3.0f %% of a core)  memory %6.1f MiB, peak +%6.1f, "
                "after +%6.1f  %s%s\n",
                what, cost.cpu, cost.seconds, cost.cpu / (cost.seconds * 10), cost.before,
                cost.peak - cost.before, cost.after - cost.before, cost.done ? "" : "NOT DONE ",
                more.c_str());
}

std::string png(int i) {
    GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, 64, 64);
    gdk_pixbuf_fill(pixbuf, 0x000000ffu | (static_cast<guint32>(i * 2654435761u) & 0xffffff00u));
    gchar* buffer = nullptr;
    gsize size = 0;
    gdk_pixbuf_save_to_buffer(pixbuf, &buffer, &size, "png", nullptr, nullptr);
    g_object_unref(pixbuf);
    std::string bytes(buffer, size);
    g_free(buffer);
    return bytes;
}

// Counts the page scripts' messages a view receives, after the window has handled each.
struct MessageCount {
    explicit MessageCount(Tab& tab) : manager(webkit_web_view_get_user_content_manager(tab.view())) {
        id =
            g_signal_connect(manager, "script-message-received",
                             G_CALLBACK(+[](WebKitUserContentManager*, JSCValue*, int* n) { ++*n; }), &count);
    }
    ~MessageCount() { g_signal_handler_disconnect(manager, id); }
    MessageCount(const MessageCount&) = delete;
    MessageCount& operator=(const MessageCount&) = delete;
    WebKitUserContentManager* manager;
    gulong id = 0;
    int count = 0;
};

class FloodBench : public ShellTest {
protected:
    // Runs the page's flood and waits, at most `limit`, until `done`; then lets the engine and the
    // allocator settle for a moment before the memory left is read.
    Cost measure(const std::string& flood, const std::function<bool()>& done, std::chrono::seconds limit) {
        Cost cost;
        settle();
        cost.before = ownMiB();
        double cpu = ProcessTree::cpuMilliseconds(getpid());
        auto start = Clock::now();
        {
            PeakWatch watch;
            EXPECT_TRUE(evaluate(tab(), flood));
            cost.done = waitUntil(done, limit);
            cost.seconds = secondsSince(start);
            cost.cpu = ProcessTree::cpuMilliseconds(getpid()) - cpu;
            cost.peak = watch.peak();
        }
        settle();
        cost.after = ownMiB();
        return cost;
    }

    void settle() {
        auto until = Clock::now() + 2s;
        waitUntil([&] { return Clock::now() >= until; }, 5s);
    }
};

TEST_F(FloodBench, reportsOfTheHostsReached) {
    ASSERT_TRUE(visit("http://browse.example/"));
    ASSERT_TRUE(waitForStatus("Document: Done  \u2014  2 blocked"));
    Tab& page = tab();
    MessageCount received(page);
    auto cost = measure(
        "var hosts = []; for (var i = 0; i < 1000; i++) hosts.push('h' + i + '.example');"
        "for (var k = 1; k <= 3000; k++)"
        " window.webkit.messageHandlers.blocked.postMessage({walls: k, network: 2, hosts: hosts});"
        "true",
        [&] { return received.count >= 3000 && page.walls == 3000 && page.hosts.size() == 1000; }, 120s);
    std::printf("\nA page posting 3,000 reports of 1,000 hosts each (the browser's own process)\n");
    print("now:", cost, "");
}

TEST_F(FloodBench, iconsDeclaredOneAfterTheOther) {
    constexpr int count = 3000;
    for (int i = 0; i < count; ++i)
        m_proxy.route("icons-flood.example", "/" + std::to_string(i) + ".png",
                      [body = png(i)](const HttpRequest&) {
                          return HttpResponse{200, "image/png", {}, body, {}};
                      });
    m_proxy.answer("icons-flood.example", "/", "<!doctype html><title>Icons</title><p>Icons");
    ASSERT_TRUE(visit("http://icons-flood.example/"));
    MessageCount received(tab());
    auto fetched = [&] {
        std::size_t n = 0;
        for (const auto& request : m_proxy.requests())
            if (request.url.starts_with("http://icons-flood.example/") && request.url.ends_with(".png")) ++n;
        return n;
    };
    auto cost = measure(
        "for (var i = 0; i < " + std::to_string(count) +
            "; i++) window.webkit.messageHandlers.favicon.postMessage("
            "'http://icons-flood.example/' + i + '.png'); true",
        [&] { return received.count >= count && !FaviconStore::shared().isFetching("icons-flood.example"); },
        60s);
    std::printf("\nA page declaring 3,000 different icons one after the other (the browser's own process)\n");
    print("now:", cost, "(" + std::to_string(fetched()) + " icons downloaded)");
}

} // namespace
} // namespace nimb::test
