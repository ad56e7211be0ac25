// The strip works its layout out again on every draw and every pointer event instead of keeping it,
// so what that costs matters: a motion event asks for the tab under the pointer and its close box,
// a draw for every frame. Shown for a usual window (8 tabs), a busy one (40) and an extreme one
// (500), in both layouts, beside the labels the window makes on every sync.

#include "layout/TabStrip.h"
#include "vocabulary/Language.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace nimb {
namespace {

TabStrip::Layout strip(std::int64_t count, bool stealth) {
    return {.width = 1280,
            .count = count,
            .current = count / 2,
            .stealth = stealth,
            .gapAfterCurrent = stealth ? 36.0 : 0.0,
            .leftInset = stealth ? 176.0 : 78.0,
            .rightInset = 8};
}

// What a motion event costs: the tab under the pointer, its frame and whether its close box is hit.
void tabStripHover(benchmark::State& state) {
    TabStrip::Layout layout = strip(state.range(0), state.range(1) != 0);
    double x = 0;
    for (auto _ : state) {
        TabStrip::Point point{180 + x, 20};
        x = x > 1000 ? 0 : x + 7;
        bool onNew = layout.newFrame().contains(point);
        auto index = layout.tabIndex(point);
        bool onClose = false;
        if (index) {
            auto frame = layout.frame(*index);
            onClose = frame && layout.hasCloseBox(*index, *frame, index) &&
                      layout.closeHitArea(*frame).contains(point);
        }
        benchmark::DoNotOptimize(onNew);
        benchmark::DoNotOptimize(onClose);
    }
}
BENCHMARK(tabStripHover)->ArgsProduct({{8, 40, 500}, {0, 1}})->Unit(benchmark::kNanosecond);

// What a draw asks of the layout before it paints anything.
void tabStripFramesForADraw(benchmark::State& state) {
    TabStrip::Layout layout = strip(state.range(0), state.range(1) != 0);
    for (auto _ : state) {
        auto range = layout.shown();
        auto frames = layout.tabFrames();
        auto caret = layout.caretFrame();
        auto box = layout.newFrame();
        benchmark::DoNotOptimize(range);
        benchmark::DoNotOptimize(frames);
        benchmark::DoNotOptimize(caret);
        benchmark::DoNotOptimize(box);
    }
}
BENCHMARK(tabStripFramesForADraw)->ArgsProduct({{8, 40, 500}, {0, 1}})->Unit(benchmark::kNanosecond);

// The labels of a window's tabs, as the window makes them on every sync.
void tabStripLabels(benchmark::State& state) {
    setCurrentLanguage(Language::english);
    struct Tab {
        std::string title;
        std::string address;
    };
    std::vector<Tab> tabs;
    for (std::int64_t k = 0; k < state.range(0); ++k) {
        switch (k % 4) {
        case 0:
            tabs.push_back({"A page about something, number " + std::to_string(k),
                            "https://example.org/" + std::to_string(k)});
            break;
        case 1:
            tabs.push_back({"   ", "https://www.news" + std::to_string(k) +
                                       ".example.com/articles/2026/a-long-slug?q=1"});
            break;
        case 2:
            tabs.push_back({"", "about:history"});
            break;
        default:
            tabs.push_back({"", "file:///home/me/Documents/notes-" + std::to_string(k) + ".txt"});
        }
    }
    for (auto _ : state) {
        for (const Tab& tab : tabs) {
            auto label = TabStrip::label(tab.title, tab.address);
            benchmark::DoNotOptimize(label);
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(tabStripLabels)->Arg(8)->Arg(40)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace nimb
