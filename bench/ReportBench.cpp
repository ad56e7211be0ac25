// The site report pipeline on the largest report a page can produce: 60 + 60 storage items, 200 blocked
// hosts, 300 other hosts and 100 hidden elements, parsed, scored and read for evidence. Target: 0.5 ms.

#include "MaximalReport.h"
#include "report/Dossier.h"
#include "report/Evidence.h"
#include "report/NimbReport.h"

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <chrono>

namespace nimb {
namespace {

const Date now{1767225600};

const std::string& payload() {
    static const std::string text = bench::maximalPayload();
    return text;
}

// The baseline: the JSON reader passing over the payload and keeping nothing, the least any reading
// of it can cost.
struct Nothing : nlohmann::json_sax<nlohmann::json> {
    bool null() override { return true; }
    bool boolean(bool) override { return true; }
    bool number_integer(number_integer_t) override { return true; }
    bool number_unsigned(number_unsigned_t) override { return true; }
    bool number_float(number_float_t, const string_t&) override { return true; }
    bool string(string_t&) override { return true; }
    bool binary(binary_t&) override { return true; }
    bool start_object(std::size_t) override { return true; }
    bool key(string_t&) override { return true; }
    bool end_object() override { return true; }
    bool start_array(std::size_t) override { return true; }
    bool end_array() override { return true; }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override {
        return false;
    }
};

bool scanOnly() {
    Nothing nothing;
    return nlohmann::json::sax_parse(payload().begin(), payload().end(), &nothing);
}

void jsonScanBaseline(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(scanOnly());
}
BENCHMARK(jsonScanBaseline)->Unit(benchmark::kMicrosecond);

double secondsPerScan() {
    constexpr int rounds = 200;
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i)
        benchmark::DoNotOptimize(scanOnly());
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / rounds;
}

void reportPipeline(benchmark::State& state) {
    const double baseline = secondsPerScan();
    auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        NimbReport report = NimbReport::parse(payload(), "https://www.example.com/story", "A story");
        Dossier::Reach reach = NimbReportPage::reading(report);
        std::vector<Evidence::Finding> findings = Evidence::read(report, now);
        benchmark::DoNotOptimize(reach);
        benchmark::DoNotOptimize(findings);
    }
    const double each = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() /
                        static_cast<double>(state.iterations());
    state.counters["payloadBytes"] = static_cast<double>(payload().size());
    // The whole pipeline as a multiple of the bare JSON scan measured in this run.
    state.counters["xJsonScan"] = each / baseline;
}
BENCHMARK(reportPipeline)->Unit(benchmark::kMicrosecond);

void reportParse(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(NimbReport::parse(payload(), "https://www.example.com/story", "A story"));
}
BENCHMARK(reportParse)->Unit(benchmark::kMicrosecond);

void reportReading(benchmark::State& state) {
    NimbReport report = NimbReport::parse(payload(), "https://www.example.com/story", "A story");
    for (auto _ : state)
        benchmark::DoNotOptimize(NimbReportPage::reading(report));
}
BENCHMARK(reportReading)->Unit(benchmark::kMicrosecond);

void reportEvidence(benchmark::State& state) {
    NimbReport report = NimbReport::parse(payload(), "https://www.example.com/story", "A story");
    for (auto _ : state)
        benchmark::DoNotOptimize(Evidence::read(report, now));
}
BENCHMARK(reportEvidence)->Unit(benchmark::kMicrosecond);

void reportSnapshotRoundTrip(benchmark::State& state) {
    NimbReport report = NimbReport::parse(payload(), "https://www.example.com/story", "A story");
    for (auto _ : state)
        benchmark::DoNotOptimize(NimbReport::parse(report.snapshot(), report.address, report.title));
}
BENCHMARK(reportSnapshotRoundTrip)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace nimb
