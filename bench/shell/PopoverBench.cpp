// How long the shield's report popover takes to open, in the real application under a virtual display
// (make bench-shell runs it after the shell benchmark). Three figures, each from the press of the
// shield (the command it sends) to the popover drawn on the screen with its page loaded:
//   1. the first opening, which makes the popover's web view and starts its web process;
//   2. later openings on a page with a small report, the page asked for its report each time;
//   3. later openings on the largest report a page can produce (bench/MaximalReport.h): the report
//      read, its panel page written, loaded and drawn. The page's own answer is left out here; (2)
//      shows what it costs.
// Not a test: it prints the samples and their medians against the target of 100 ms for (2) and (3).

#include "../MaximalReport.h"
#include "ChromeTest.h"

#include "chrome/ReportPopover.h"
#include "report/NimbReportPage.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace nimb::test {
namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

class PopoverBench : public ChromeTest {
protected:
    ReportRequests& reports() { return window().context().reports(); }

    // The popover's surface has painted a frame since this call.
    bool painted() {
        GdkFrameClock* clock = gtk_widget_get_frame_clock(reports().popover()->bubble().popover());
        if (!clock) return false;
        bool done = false;
        gulong id = g_signal_connect(
            clock, "after-paint",
            G_CALLBACK(+[](GdkFrameClock*, gpointer flag) { *static_cast<bool*>(flag) = true; }), &done);
        gdk_frame_clock_request_phase(clock, GDK_FRAME_CLOCK_PHASE_PAINT);
        bool ok = waitUntil([&] { return done; }, 5s);
        g_signal_handler_disconnect(clock, id);
        return ok;
    }
    // Shown, with its page on the screen (the report's white heading drawn).
    bool shown() {
        return waitUntil([&] { return reports().popoverVisible(); }, 10s) &&
               waitUntil(
                   [&] {
                       return drawsSomethingBright(
                           gtk_popover_get_child(GTK_POPOVER(reports().popover()->bubble().popover())));
                   },
                   10s) &&
               painted();
    }
    void closed() {
        reports().closePopover();
        ASSERT_TRUE(waitUntil([&] { return !reports().popoverVisible(); }, 5s));
        ASSERT_TRUE(nextFrame());
    }

    static void print(const char* what, const std::vector<double>& samples) {
        std::printf("%-40s", what);
        for (double sample : samples)
            std::printf(" %.1f", sample);
        std::printf("\n%-40s median %.1f ms\n", "", median(samples));
    }
};

TEST_F(PopoverBench, openingTheReportPopover) {
    constexpr int runs = 20;
    ASSERT_TRUE(visit(fixture));
    ASSERT_TRUE(waitForStatus("Document: Done  \u2014  2 blocked"));

    auto start = Clock::now();
    reports().togglePopover();
    ASSERT_TRUE(shown());
    double first = millisecondsSince(start);

    std::vector<double> small;
    for (int k = 0; k < runs; ++k) {
        closed();
        start = Clock::now();
        reports().togglePopover();
        ASSERT_TRUE(shown());
        small.push_back(millisecondsSince(start));
    }

    GtkWidget* shield = chrome().shieldWidget();
    std::vector<double> maximal;
    for (int k = 0; k < runs; ++k) {
        closed();
        start = Clock::now();
        NimbReport report =
            NimbReport::parse(bench::maximalPayload(), "https://www.example.com/story", "A story");
        std::string html = NimbReportPage::html(report, std::nullopt, true, NimbReportPage::View::overview,
                                                "", std::nullopt, Date{1'700'000'000});
        reports().popover()->present(html, shield);
        ASSERT_TRUE(shown());
        maximal.push_back(millisecondsSince(start));
    }

    std::printf("\nReport popover, press to drawn (ms)\n");
    std::printf("%-40s %.1f\n", "first opening (starts its web view)", first);
    print("later openings, small report", small);
    print("later openings, largest report", maximal);
    std::printf("target: later openings under 100 ms -> %s\n",
                median(small) < 100 && median(maximal) < 100 ? "met" : "NOT met");
}

} // namespace
} // namespace nimb::test
