#include "blocker/ContentBlocker.h"
#include "page/RequestTally.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cctype>

namespace nimb {
namespace {

using namespace ContentBlocker;

constexpr std::string_view listedSubdomain = "securepubads.g.doubleclick.net";
constexpr std::string_view unlistedHost = "static.news.example.co.uk";

void categoryForListedSubdomain(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(categoryForHost(listedSubdomain));
}
BENCHMARK(categoryForListedSubdomain);

void categoryForUnlistedHost(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(categoryForHost(unlistedHost));
}
BENCHMARK(categoryForUnlistedHost);

// Baseline: the same walk as a plain scan of every list at every label level, without the index.
std::optional<Category> scanned(std::string_view host) {
    std::string name(host);
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
    if (name.ends_with('.')) name.pop_back();
    std::string_view rest = name;
    while (rest.find('.') != std::string_view::npos) {
        for (const auto& entry : catalogue()) {
            if (std::find(entry.hosts.begin(), entry.hosts.end(), rest) != entry.hosts.end())
                return entry.category;
        }
        rest.remove_prefix(rest.find('.') + 1);
    }
    return std::nullopt;
}

void baselineScanListedSubdomain(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(scanned(listedSubdomain));
}
BENCHMARK(baselineScanListedSubdomain);

void baselineScanUnlistedHost(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(scanned(unlistedHost));
}
BENCHMARK(baselineScanUnlistedHost);

// A hostile name: a megabyte of one-letter labels ending in a listed host.
void categoryForMegabyteName(benchmark::State& state) {
    std::string name;
    while (name.size() < (1u << 20))
        name += "a.";
    name += "doubleclick.net";
    for (auto _ : state)
        benchmark::DoNotOptimize(categoryForHost(name));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * name.size()));
}
BENCHMARK(categoryForMegabyteName)->Unit(benchmark::kMillisecond);

void categoryForAddress(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(categoryForUrl("https://www.facebook.com/tr?id=123&ev=PageView"));
}
BENCHMARK(categoryForAddress);

// What the first use of ruleListJSON costs (later uses return the cached text).
void buildRuleList(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(buildRuleListJSON());
}
BENCHMARK(buildRuleList)->Unit(benchmark::kMicrosecond);

void buildLookupTable(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(buildLookupTableJSON());
}
BENCHMARK(buildLookupTable)->Unit(benchmark::kMicrosecond);

void ruleListIdentifier(benchmark::State& state) {
    (void)ruleListJSON();
    for (auto _ : state)
        benchmark::DoNotOptimize(identifier());
}
BENCHMARK(ruleListIdentifier)->Unit(benchmark::kMicrosecond);

// What the request witness spends on one request in the web process, beside the engine's own work:
// its judgement and count, for a listed request (stopped), one to another site and one to the site's
// own host. The engine's signal around it measured about 33 us a request with an empty handler.
void witnessJudgesARequest(benchmark::State& state) {
    constexpr std::string_view pageAddress = "https://www.news.example.co.uk/world/2026/story.html";
    const std::string_view requests[] = {
        "https://securepubads.g.doubleclick.net/gampad/ads?iu=/123/news&sz=300x250",
        "https://cdn.elsewhere.example/lib/widget.js?v=3",
        "https://static.news.example.co.uk/img/lead.jpg",
    };
    RequestTally tally;
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(tally.note(requests[i++ % 3], pageAddress, "", RequestTally::Policy{}));
        if (i % 3000 == 0) tally.reset();
    }
}
BENCHMARK(witnessJudgesARequest);

} // namespace
} // namespace nimb
