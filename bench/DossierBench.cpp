// Host look-ups in the dossier, once its index is built: the report resolves every host a page
// contacted, and the shield does it again for a live page.

#include "report/Dossier.h"

#include <benchmark/benchmark.h>

#include <string>

namespace nimb {
namespace {

void lookUp(benchmark::State& state, const std::string& host) {
    benchmark::DoNotOptimize(Dossier::entryForHost("warm.the.index"));
    for (auto _ : state) {
        const Dossier::Entry* entry = Dossier::entryForHost(host);
        benchmark::DoNotOptimize(entry);
    }
}

void entryForListedHost(benchmark::State& state) {
    lookUp(state, "doubleclick.net");
}
BENCHMARK(entryForListedHost);

void entryForDeepSubdomain(benchmark::State& state) {
    lookUp(state, "cdn-1.eu-west.static.securepubads.g.doubleclick.net");
}
BENCHMARK(entryForDeepSubdomain);

void entryForUnknownHost(benchmark::State& state) {
    lookUp(state, "images.assets.example-news-site.co.uk");
}
BENCHMARK(entryForUnknownHost);

void entryForUpperCaseHost(benchmark::State& state) {
    lookUp(state, "SecurePubAds.G.DoubleClick.NET.");
}
BENCHMARK(entryForUpperCaseHost);

} // namespace
} // namespace nimb
