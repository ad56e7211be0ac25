// Reading and rewriting the history list on the persistent store, at its full 500 visits.

#include "TemporaryDirectory.h"
#include "library/History.h"
#include "preferences/Preferences.h"
#include "storage/SqliteStore.h"

#include <benchmark/benchmark.h>

namespace nimb {
namespace {

std::vector<Visit> fullHistory() {
    std::vector<Visit> visits;
    for (int i = 0; i < 500; ++i) {
        visits.push_back({"https://www.example" + std::to_string(i % 37) + ".org/articles/2026/" +
                              std::to_string(i) + "/a-reasonably-long-slug-for-a-page",
                          "A page about something, number " + std::to_string(i) + " — with a dash",
                          Date{1.78e9 - i * 3600.0}, 1 + i % 9});
    }
    return visits;
}

struct Profile {
    test::TemporaryDirectory directory;
    Preferences preferences{SqliteStore::open(directory.file("preferences.sqlite"))};
    Profile() { preferences.setHistory(fullHistory()); }
};

void historyRead(benchmark::State& state) {
    Profile profile;
    for (auto _ : state) {
        auto visits = profile.preferences.history();
        benchmark::DoNotOptimize(visits);
    }
}
BENCHMARK(historyRead)->Unit(benchmark::kMicrosecond);

// What recording one visit costs: read the whole list, move one visit to the front, write it back.
void recordVisit(benchmark::State& state) {
    Profile profile;
    auto visits = fullHistory();
    double now = 1.79e9;
    std::size_t next = 0;
    for (auto _ : state) {
        // The oldest visit each time, so that every recording moves one from the back to the front.
        const Visit& visit = visits[visits.size() - 1 - next++ % visits.size()];
        bool recorded = History::recordVisit(profile.preferences, visit.address, visit.title, Date{now += 1});
        benchmark::DoNotOptimize(recorded);
    }
}
BENCHMARK(recordVisit)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace nimb
