// The page scripts at work in the real engine (run under tools/run-headless):
// - find in page on a page of 5,000 matches: the script's own time per call, measured inside the
//   page, for a new query and for a step;
// - loading a heavy page (2,000 elements, 300 requests to 40 hosts) in a bare view and in a view with
//   every page script installed and the rule list off, side by side: the ratio of the two.

#include "ProxyServer.h"
#include "WebPage.h"
#include "engine/PageSetup.h"
#include "page/PageScripts.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace nimb {
namespace {

using namespace std::chrono_literals;

test::ProxyServer& proxy() {
    static test::ProxyServer* server = [] {
        auto* s = new test::ProxyServer();
        if (!s->start()) std::abort();
        // A heavy page: 2,000 elements and 300 images from 40 other sites.
        s->route("heavy.example", "/", [](const test::HttpRequest&) {
            std::string html =
                "<!doctype html><html><head><meta charset=utf-8><title>Heavy</title></head><body>";
            // 850 rows of two elements and 300 images: 2,000 elements in the body.
            for (int i = 0; i < 850; ++i) {
                html += "<div class=\"row r" + std::to_string(i % 7) + "\"><span>Row " + std::to_string(i) +
                        "</span></div>";
            }
            for (int i = 0; i < 300; ++i) {
                html += "<img width=4 height=4 src=\"http://img.site" + std::to_string(i % 40) + ".example/" +
                        std::to_string(i) + ".gif\">";
            }
            html += "</body></html>";
            return test::HttpResponse{200, "text/html; charset=utf-8", {}, html, {}};
        });
        return s;
    }();
    return *server;
}

// Calls the find script and answers the time it took inside the page, in milliseconds.
double timedFind(test::WebPage& page, std::string_view query, int step) {
    std::string body = "var started = performance.now();\n"
                       "var answer = await (async function (q, step, foot) {\n" +
                       std::string(PageScripts::find()) +
                       "\n})(q, step, foot);\n"
                       "return {ms: performance.now() - started, count: answer.count};";
    auto result = page.callAsync(body, PageSetup::findArguments(query, step, 64), PageSetup::clientWorld);
    if (!result || !result->contains("ms")) return -1;
    return (*result)["ms"].get<double>();
}

test::WebPage& findPage() {
    static std::unique_ptr<test::WebPage> page = [] {
        auto p = std::make_unique<test::WebPage>(proxy());
        if (!p->load("http://find.example/many.html")) std::abort();
        return p;
    }();
    return *page;
}

void FindNewQuery(benchmark::State& state) {
    if (!test::engineAvailable()) {
        state.SkipWithError("no display: run under tools/run-headless");
        return;
    }
    auto& page = findPage();
    // Two queries with thousands of matches each, so that every call is a new search.
    const char* queries[] = {"needle", "number"};
    int turn = 0;
    for (auto _ : state) {
        double ms = timedFind(page, queries[turn++ % 2], 0);
        state.SetIterationTime(ms / 1000.0);
    }
    timedFind(page, "", 0);
}
BENCHMARK(FindNewQuery)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

void FindStep(benchmark::State& state) {
    if (!test::engineAvailable()) {
        state.SkipWithError("no display: run under tools/run-headless");
        return;
    }
    auto& page = findPage();
    timedFind(page, "needle", 0);
    for (auto _ : state) {
        double ms = timedFind(page, "needle", 1);
        state.SetIterationTime(ms / 1000.0);
    }
    timedFind(page, "", 0);
}
BENCHMARK(FindStep)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(100);

double timedLoad(test::WebPage& page) {
    auto start = std::chrono::steady_clock::now();
    if (!page.load("http://heavy.example/")) return -1;
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void HeavyPageLoad(benchmark::State& state) {
    if (!test::engineAvailable()) {
        state.SkipWithError("no display: run under tools/run-headless");
        return;
    }
    test::WebPage::Options bareOptions;
    bareOptions.policy = {false, false, false};
    bareOptions.ruleList = false;
    test::WebPage bare(proxy(), bareOptions);
    // Link hover and favicon are installed whatever the policy; everything else is on here.
    test::WebPage::Options scriptedOptions;
    scriptedOptions.ruleList = false;
    test::WebPage scripted(proxy(), scriptedOptions);
    // One load each to warm the engine and the connections.
    timedLoad(bare);
    timedLoad(scripted);

    std::vector<double> bareTimes;
    std::vector<double> scriptedTimes;
    for (auto _ : state) {
        // Alternate which goes first, so that neither always meets a warmer engine.
        double b = 0;
        double s = 0;
        if (bareTimes.size() % 2 == 0) {
            b = timedLoad(bare);
            s = timedLoad(scripted);
        } else {
            s = timedLoad(scripted);
            b = timedLoad(bare);
        }
        bareTimes.push_back(b);
        scriptedTimes.push_back(s);
        state.SetIterationTime(s / 1000.0);
    }
    // Medians, so that a moment when the machine was busy elsewhere does not decide.
    state.counters["bare_ms"] = median(bareTimes);
    state.counters["scripted_ms"] = median(scriptedTimes);
    state.counters["ratio"] = median(scriptedTimes) / median(bareTimes);
}
BENCHMARK(HeavyPageLoad)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(40);

} // namespace
} // namespace nimb
