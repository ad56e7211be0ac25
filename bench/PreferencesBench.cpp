// Reading and rewriting the history list on the persistent store, at its full 500 visits.

#include "Preferences.h"
#include "TemporaryDirectory.h"
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
    double now = 1.79e9;
    for (auto _ : state) {
        auto visits = profile.preferences.history();
        Visit visit = visits.back();
        visits.pop_back();
        visit.last = Date{now += 1};
        visit.visits += 1;
        visits.insert(visits.begin(), visit);
        profile.preferences.setHistory(visits);
    }
}
BENCHMARK(recordVisit)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace nimb
