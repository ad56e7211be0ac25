// The browser's own pages at the sizes a long-used profile reaches: the whole history (500 visits),
// and 200 bookmarks with 500 notes in the margin. Each is rebuilt after every change to its records,
// so it should stay well within a frame.

#include "SampleRecords.h"
#include "pages/BookmarksPage.h"
#include "pages/HistoryPage.h"
#include "pages/HomePage.h"
#include "pages/MarginaliaPage.h"

#include <benchmark/benchmark.h>

namespace nimb {
namespace {

void historyPage(benchmark::State& state) {
    const auto visits = samples::manyVisits(static_cast<std::size_t>(state.range(0)));
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::string page = HistoryPage::html(visits, samples::now, "UTC");
        bytes = page.size();
        benchmark::DoNotOptimize(page);
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(historyPage)->Arg(500)->Unit(benchmark::kMillisecond);

void homePage(benchmark::State& state) {
    const auto visits = samples::manyVisits(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        std::string page = HomePage::html(visits);
        benchmark::DoNotOptimize(page);
    }
}
BENCHMARK(homePage)->Arg(500)->Unit(benchmark::kMillisecond);

void bookmarksPage(benchmark::State& state) {
    const auto bookmarks = samples::manyBookmarks(static_cast<std::size_t>(state.range(0)));
    const auto notes = samples::manyNotes(bookmarks, static_cast<std::size_t>(state.range(1)));
    const auto visits = samples::manyVisits(500);
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::string page = BookmarksPage::html(bookmarks, visits, notes, samples::now, "UTC");
        bytes = page.size();
        benchmark::DoNotOptimize(page);
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(bookmarksPage)->Args({200, 500})->Unit(benchmark::kMillisecond);

// The margin with nothing pinned: every shelf, all 500 notes.
void marginPage(benchmark::State& state) {
    const auto bookmarks = samples::manyBookmarks(200);
    const auto notes = samples::manyNotes(bookmarks, static_cast<std::size_t>(state.range(0)));
    const auto shelves = Marginalia::shelves(notes, bookmarks, std::nullopt);
    for (auto _ : state) {
        std::string page = MarginaliaPage::html(shelves, std::nullopt, samples::now, "UTC");
        benchmark::DoNotOptimize(page);
    }
}
BENCHMARK(marginPage)->Arg(500)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace nimb
