// The location field's work per keystroke and per Return: completion over a full history of 500
// visits, with reading the stored list shown on its own, and resolving typical typed texts.

#include "library/History.h"
#include "location/LocationBar.h"
#include "preferences/Preferences.h"
#include "storage/InMemoryStore.h"

#include <benchmark/benchmark.h>

namespace nimb {
namespace {

std::vector<Visit> fullHistory() {
    const std::string hosts[] = {"www.example", "news.ycombinator", "en.wikipedia",      "github",
                                 "www.bbc.co",  "docs.python",      "developer.mozilla", "stackoverflow",
                                 "www.nytimes"};
    std::vector<Visit> visits;
    for (int i = 0; i < 500; ++i) {
        visits.push_back({"https://" + hosts[i % 9] + std::to_string(i % 37) + ".org/articles/2026/" +
                              std::to_string(i) + "/a-reasonably-long-slug-for-a-page",
                          "A page about something, number " + std::to_string(i) + " — with a dash",
                          Date{1.78e9 - i * 3600.0}, 1 + i % 9});
    }
    return visits;
}

// What the user has typed so far: one letter that nearly every address begins with, a longer
// beginning, a scheme, one that matches nothing, and one with letters beyond ASCII.
const char* const typedTexts[] = {"e", "stackov", "https://www.b", "zzz", "wikipédia"};

void preferencesHistoryRead(benchmark::State& state) {
    Preferences prefs(std::make_unique<InMemoryStore>());
    prefs.setHistory(fullHistory());
    for (auto _ : state) {
        auto visits = prefs.history();
        benchmark::DoNotOptimize(visits);
    }
}
BENCHMARK(preferencesHistoryRead)->Unit(benchmark::kMicrosecond);

// Only the store's copy of the stored rows, which every keystroke pays before completing.
void storeHistoryRows(benchmark::State& state) {
    InMemoryStore store;
    store.set(Preferences::Keys::history, StoredRecords::encode(fullHistory()));
    for (auto _ : state) {
        auto rows = store.pairs(Preferences::Keys::history);
        benchmark::DoNotOptimize(rows);
    }
}
BENCHMARK(storeHistoryRows)->Unit(benchmark::kMicrosecond);

// The completion itself, over visits already read.
void historyCompletion(benchmark::State& state) {
    auto visits = fullHistory();
    const char* typed = typedTexts[state.range(0)];
    state.SetLabel(typed);
    for (auto _ : state) {
        auto completed = History::completion(typed, visits);
        benchmark::DoNotOptimize(completed);
    }
}
BENCHMARK(historyCompletion)->DenseRange(0, 4)->Unit(benchmark::kMicrosecond);

// One keystroke as the shell asks it: the setting, the stored rows, and the completion (which reads
// only the rows whose address meets the typed text).
void preferencesCompletion(benchmark::State& state) {
    Preferences prefs(std::make_unique<InMemoryStore>());
    prefs.setHistory(fullHistory());
    const char* typed = typedTexts[state.range(0)];
    state.SetLabel(typed);
    for (auto _ : state) {
        auto completed = History::completion(prefs, typed);
        benchmark::DoNotOptimize(completed);
    }
}
BENCHMARK(preferencesCompletion)->DenseRange(0, 4)->Unit(benchmark::kMicrosecond);

void historyRanked(benchmark::State& state) {
    auto visits = fullHistory();
    for (auto _ : state) {
        auto ranked = History::ranked(visits);
        benchmark::DoNotOptimize(ranked);
    }
}
BENCHMARK(historyRanked)->Unit(benchmark::kMicrosecond);

const char* const resolvedTexts[] = {"example.org", "https://www.example.org/path/to/page?query=1#top",
                                     "cheap flights to lisbon in may", "localhost:8080/app"};

void locationResolve(benchmark::State& state) {
    const char* text = resolvedTexts[state.range(0)];
    state.SetLabel(text);
    for (auto _ : state) {
        auto destination = LocationBar::resolve(text, SearchEngine::ddgLite);
        benchmark::DoNotOptimize(destination);
    }
}
BENCHMARK(locationResolve)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace nimb
