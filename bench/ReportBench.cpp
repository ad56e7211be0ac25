// The site report pipeline on the largest report a page can produce: 60 + 60 storage items, 200 blocked
// hosts, 300 other hosts and 100 hidden elements, parsed, scored and read for evidence. Target: 0.5 ms.

#include "ContentBlocker.h"
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

// Storage values of the kinds pages write: identifiers, remembered addresses, event queues, device
// descriptions, expiry stamps and plain settings, cut to the 90 characters the page sends.
std::string preview(int i) {
    std::string value;
    switch (i % 6) {
    case 0:
        value = "{\"id\":\"" + std::to_string(10000000 + i) +
                "-7425-40de-944b-e07fc1f90ae7\",\"n\":" + std::to_string(i);
        break;
    case 1:
        value = "https://www.example.com/section/" + std::to_string(i) + "/watch?v=abcdefghijk&t=120|last";
        break;
    case 2:
        value =
            "[{\"event\":\"scroll\",\"timestamp\":1767225600" + std::to_string(i) + ",\"session\":\"s1\"}]";
        break;
    case 3:
        value = "{\"browser\":\"Safari\",\"os_version\":\"14\",\"screen\":\"1440x900\",\"timezone\":\"UTC\"}";
        break;
    case 4:
        value = "{\"value\":\"granted\",\"expires\":1939291200000,\"path\":\"/\"}";
        break;
    default:
        value = "settings: theme dark, font size " + std::to_string(i) + ", consent given, layout wide";
        break;
    }
    return value.substr(0, 90);
}

std::string maximalPayload() {
    using json = nlohmann::json;
    json hidden = json::array();
    for (int i = 0; i < 100; ++i)
        hidden.push_back(
            {{"label", "div#slot-" + std::to_string(i) + ".ad-container"},
             {"reason", i % 3 == 0 ? "known" : (i % 3 == 1 ? "overlay" : "adSlot")},
             {"text", "Advertisement. We and our 1,482 partners value your privacy and would like to "
                      "store cookies on your device."}});

    // Blocked hosts: subdomains of listed hosts, the most common case.
    json blocked = json::object();
    const auto& listed = ContentBlocker::blockedHosts();
    for (int i = 0; i < 200; ++i)
        blocked["s" + std::to_string(i) + "." + listed[static_cast<std::size_t>(i) % listed.size()]] =
            1 + i % 9;

    // Other hosts: catalogue companies' hosts and unknown ones, sorted as the page sends them.
    std::vector<std::string> other;
    const auto& entries = Dossier::entries();
    for (int i = 0; i < 300; ++i) {
        const Dossier::Entry& entry = entries[static_cast<std::size_t>(i) % entries.size()];
        if (i % 2 == 0 && !entry.hosts.empty())
            other.push_back("cdn" + std::to_string(i) + "." + entry.hosts.front());
        else
            other.push_back("static" + std::to_string(i) + ".unlisted-" + std::to_string(i % 40) + ".net");
    }
    std::sort(other.begin(), other.end());

    auto jar = [](const std::string& prefix) {
        json items = json::array();
        for (int i = 0; i < 60; ++i) {
            std::string value = preview(i);
            std::string key = (i % 10 == 0 ? "_dd_s" : prefix) + std::to_string(i);
            items.push_back({{"key", key}, {"bytes", 4000 - i * 50}, {"preview", value}});
        }
        return json{{"count", 400}, {"bytes", 180000}, {"items", items}};
    };

    json payload = {
        {"walls", {{"count", 100}, {"items", hidden}}},
        {"network",
         {{"count", 1000},
          {"blocked", blocked},
          {"other", other},
          {"house", json::array({"static.example.com", "img.example.com"})},
          {"cookies", 42},
          {"storage",
           {{"local", jar("local_")},
            {"session", jar("session_")},
            {"databases", json::array({"firebaseLocalStorageDb", "keyval-store"})},
            {"forgotten", false}}}}},
    };
    return payload.dump();
}

const std::string& payload() {
    static const std::string text = maximalPayload();
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
