// The report pages at their largest. Targets: the overview of the largest report a page can produce
// (60 + 60 storage items, 200 blocked hosts, 300 other hosts, 100 hidden elements) in at most 1 ms; the
// kept-reports page for 200 such reports, each parsed from its snapshot and scored again, in at most
// 40 ms. Each also prints its time as a multiple of a baseline measured in the same run.

#include "MaximalReport.h"
#include "SampleRecords.h"
#include "report/Dossier.h"
#include "report/Evidence.h"
#include "report/NimbReport.h"
#include "report/NimbReportPage.h"
#include "report/SavedReportsPage.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

namespace nimb {
namespace {

constexpr Date now{1767268800};
constexpr std::string_view zone = "UTC";

NimbReport largest() {
    return NimbReport::parse(bench::maximalPayload(), "https://www.example.com/story", "A story");
}

const NimbReport& report() {
    static const NimbReport built = largest();
    return built;
}

std::vector<SavedReport> kept(std::size_t count) {
    std::vector<SavedReport> out;
    const std::string snapshot = report().snapshot();
    for (std::size_t i = 0; i < count; ++i)
        out.push_back({"ID-" + std::to_string(i), Date{now.seconds - 3600.0 * static_cast<double>(i)},
                       report().address, report().title, i % 5 != 0, snapshot});
    return out;
}

// Times `work` per call over `rounds` calls.
template <class Work>
double secondsEach(int rounds, Work work) {
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i)
        work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / rounds;
}

// The least a report page must do: read the report for its evidence and its reach.
void readingBaseline(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(NimbReportPage::reading(report()));
        benchmark::DoNotOptimize(Evidence::read(report(), now));
    }
}
BENCHMARK(readingBaseline)->Unit(benchmark::kMicrosecond);

void reportPageOverview(benchmark::State& state) {
    const double baseline = secondsEach(200, [] {
        benchmark::DoNotOptimize(NimbReportPage::reading(report()));
        benchmark::DoNotOptimize(Evidence::read(report(), now));
    });
    std::size_t bytes = 0;
    auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        std::string page = NimbReportPage::html(report(), std::nullopt, false, NimbReportPage::View::overview,
                                                "", std::nullopt, now, zone);
        bytes = page.size();
        benchmark::DoNotOptimize(page);
    }
    const double each = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() /
                        static_cast<double>(state.iterations());
    state.counters["pageBytes"] = static_cast<double>(bytes);
    state.counters["xReading"] = each / baseline;
}
BENCHMARK(reportPageOverview)->Unit(benchmark::kMicrosecond);

void reportPagePanel(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(NimbReportPage::html(
            report(), std::nullopt, true, NimbReportPage::View::overview, "", std::nullopt, now, zone));
}
BENCHMARK(reportPagePanel)->Unit(benchmark::kMicrosecond);

void reportPageDossier(benchmark::State& state) {
    const char* queries[] = {"", "adobe counted"};
    const char* query = queries[state.range(0)];
    for (auto _ : state)
        benchmark::DoNotOptimize(NimbReportPage::html(
            report(), std::nullopt, false, NimbReportPage::View::dossier, query, std::nullopt, now, zone));
}
BENCHMARK(reportPageDossier)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// 200 kept reports: of the largest report (argument 0), or of an ordinary news article (argument 1).
void savedReportsPage(benchmark::State& state) {
    const std::vector<SavedReport> reports = state.range(0) == 0 ? kept(200) : samples::manySavedReports(200);
    // The baseline: parsing the 200 snapshots, which the page cannot avoid.
    const double baseline = secondsEach(3, [&] {
        for (const SavedReport& saved : reports)
            benchmark::DoNotOptimize(NimbReport::parse(saved.snapshot, saved.address, saved.title));
    });
    auto start = std::chrono::steady_clock::now();
    for (auto _ : state)
        benchmark::DoNotOptimize(SavedReportsPage::html(reports, now, zone));
    const double each = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() /
                        static_cast<double>(state.iterations());
    state.counters["snapshotBytes"] = static_cast<double>(reports.front().snapshot.size());
    state.counters["xParseOnly"] = each / baseline;
}
BENCHMARK(savedReportsPage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace nimb
