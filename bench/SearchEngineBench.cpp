#include "base/Text.h"
#include "location/SearchEngine.h"

#include <benchmark/benchmark.h>

namespace nimb {
namespace {

// A query of 200 characters mixing scripts, punctuation, symbols and spaces.
std::string mixedQuery() {
    const std::string pieces[] = {"cats & dogs ", "日本語の本 ", "кот и пёс ",
                                  "café—crème? ", "٣ + 4 = 7 ",  "🙂 "};
    std::string query;
    for (int i = 0; text::characterCount(query) < 200; ++i)
        query += pieces[i % 6];
    return std::string(text::prefix(query, 200));
}

void searchAddress(benchmark::State& state) {
    std::string query = mixedQuery();
    for (auto _ : state) {
        auto address = url(SearchEngine::ddgLite, query);
        benchmark::DoNotOptimize(address);
    }
}
BENCHMARK(searchAddress)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace nimb
