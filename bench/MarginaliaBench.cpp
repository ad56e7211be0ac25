// Hostile input to the two parsers a page can feed: an internal address and a selection. Both should
// grow linearly with the input (see the fitted complexity in the output).

#include "library/Bookmarks.h"
#include "library/Marginalia.h"

#include <benchmark/benchmark.h>

namespace nimb {
namespace {

// A form submission whose fields are made of everything that needs decoding.
std::string formAddress(std::size_t size) {
    std::string value;
    while (value.size() < size)
        value += "a+b%2B%0D%0A%E2%80%A6&n=";
    return "nimb://edit?a=https%3A%2F%2Fa.example%2F&s=" + value;
}

void parseAction(benchmark::State& state) {
    auto url = Url::parse(formAddress(static_cast<std::size_t>(state.range(0))));
    for (auto _ : state) {
        auto action = BookmarkAction::fromUrl(*url);
        benchmark::DoNotOptimize(action);
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(parseAction)->RangeMultiplier(8)->Range(1 << 10, 1 << 20)->Complexity(benchmark::oN);

void parseTypedAddress(benchmark::State& state) {
    std::string text(static_cast<std::size_t>(state.range(0)), '%');
    text.insert(0, "nimb://remove?a=");
    for (auto _ : state) {
        auto url = Url::parse(text);
        auto action = BookmarkAction::fromUrl(*url);
        benchmark::DoNotOptimize(action);
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(parseTypedAddress)->RangeMultiplier(8)->Range(1 << 10, 1 << 20)->Complexity(benchmark::oN);

void tidySelection(benchmark::State& state) {
    std::string selection;
    while (selection.size() < static_cast<std::size_t>(state.range(0)))
        selection += "  words\u00A0\t\r\n\r\n\n \xFF";
    for (auto _ : state) {
        auto tidied = Marginalia::tidy(selection);
        benchmark::DoNotOptimize(tidied);
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(tidySelection)->RangeMultiplier(8)->Range(1 << 10, 1 << 20)->Complexity(benchmark::oN);

// The margin of a heavy user: 2000 notes under 200 homes, shelved for one page and for all.
void shelveNotes(benchmark::State& state) {
    std::vector<Bookmark> bookmarks;
    std::vector<Note> notes;
    for (int i = 0; i < 200; ++i)
        bookmarks.push_back({"Page " + std::to_string(i),
                             "https://site" + std::to_string(i % 20) + ".example/" + std::to_string(i), true,
                             ""});
    for (int i = 0; i < 2000; ++i) {
        const std::string& home = bookmarks[static_cast<std::size_t>(i % 200)].address;
        notes.push_back({"ID" + std::to_string(i), home, home, "text", Date{1.7e9 + (i * 7919) % 1000}});
    }
    std::optional<std::string> here;
    if (state.range(0) != 0) here = bookmarks[3].address;
    for (auto _ : state) {
        auto shelves = Marginalia::shelves(notes, bookmarks, here);
        benchmark::DoNotOptimize(shelves);
    }
}
BENCHMARK(shelveNotes)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace nimb
