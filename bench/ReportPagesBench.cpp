// The report pages at their largest. Targets: the overview of the largest report a page can produce
// (60 + 60 storage items, 200 blocked hosts, 300 other hosts, 100 hidden elements) in at most 1 ms; the
// kept-reports page for 200 such reports, each parsed from its snapshot and scored again, in at most
// 40 ms. Each also prints its time as a multiple of a baseline measured in the same run.

#include "ContentBlocker.h"
#include "SampleRecords.h"
#include "report/Dossier.h"
#include "report/Evidence.h"
#include "report/NimbReport.h"
#include "report/NimbReportPage.h"
#include "report/SavedReportsPage.h"

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <chrono>

namespace nimb {
namespace {

constexpr Date now{1767268800};
constexpr std::string_view zone = "UTC";

// Storage values of the kinds pages write, so that every evidence rule has work to do.
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
        value = "settings: theme dark, font size " + std::to_string(i) + ", consent <given> & \"kept\"";
        break;
    }
    return value.substr(0, 90);
}

NimbReport largest() {
    using json = nlohmann::json;
    json hidden = json::array();
    for (int i = 0; i < 100; ++i)
        hidden.push_back({{"label", "div#slot-" + std::to_string(i) + ".ad-container"},
                          {"reason", i % 3 == 0 ? "known" : (i % 3 == 1 ? "overlay" : "adSlot")},
                          {"text", "Advertisement. We and our 1,482 partners value your privacy & would like "
                                   "to store <cookies> on your device."}});
    // Blocked: subdomains of listed hosts. Other: hosts of catalogue companies and unknown ones.
    json blocked = json::object();
    const auto& listed = ContentBlocker::blockedHosts();
    for (int i = 0; i < 200; ++i)
        blocked["s" + std::to_string(i) + "." + listed[static_cast<std::size_t>(i) % listed.size()]] =
            1 + i % 9;
    json other = json::array();
    const auto& entries = Dossier::entries();
    for (int i = 0; i < 300; ++i) {
        const Dossier::Entry& entry = entries[static_cast<std::size_t>(i) % entries.size()];
        if (i % 2 == 0 && !entry.hosts.empty())
            other.push_back("cdn" + std::to_string(i) + "." + entry.hosts.front());
        else
            other.push_back("static" + std::to_string(i) + ".unlisted-" + std::to_string(i % 40) + ".net");
    }
    auto jar = [](const std::string& prefix) {
        json items = json::array();
        for (int i = 0; i < 60; ++i) {
            std::string key = (i % 10 == 0 ? "_dd_s" : prefix) + std::to_string(i);
            items.push_back({{"key", key}, {"bytes", 4000 - i * 50}, {"preview", preview(i)}});
        }
        return json{{"count", 400}, {"bytes", 180000}, {"items", items}};
    };
    json payload = {
        {"walls", {{"items", hidden}}},
        {"network",
         {{"blocked", blocked},
          {"other", other},
          {"house", json::array({"static.example.com", "img.example.com"})},
          {"cookies", 42},
          {"storage",
           {{"local", jar("local_")},
            {"session", jar("session_")},
            {"databases", json::array({"firebaseLocalStorageDb", "keyval-store"})},
            {"forgotten", false}}}}},
    };
    NimbReport report = NimbReport::parse(payload.dump(), "https://www.example.com/story", "A story");
    return report;
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
