// The window lays its chrome out again every time GTK allocates it: on every resize step while the
// user drags a window edge, and whenever a band appears or goes. Shown for a usual window (8 tabs, a
// few toolbar bookmarks), a busy one (40 tabs, 30 bookmarks, the margin open) and stealth, beside the
// tab strip's own layout, which the window's layout includes, as the baseline.

#include "layout/WindowLayout.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace nimb {
namespace {

WindowLayout::Window window(std::int64_t tabs, std::int64_t bookmarks, bool stealth) {
    WindowLayout::Window w;
    w.width = 1280;
    w.height = 900;
    w.stealth = stealth;
    w.endControls = WindowLayout::Size{34, 29};
    w.tabs = tabs;
    w.current = tabs / 2;
    for (std::int64_t k = 0; k < bookmarks; ++k)
        w.bookmarkTitles.push_back(40.0 + static_cast<double>(k % 7) * 11.5);
    w.marginOpen = bookmarks > 10;
    w.findSlide = 0.5;
    return w;
}

// The baseline: the strip's part alone (where the current tab stands, as stealth needs it).
void tabStripFrame(benchmark::State& state) {
    WindowLayout::Layout layout = WindowLayout::layout(window(state.range(0), 0, state.range(1) != 0));
    TabStrip::Layout strip = layout.tabStrip;
    for (auto _ : state) {
        strip.width = strip.width > 1600 ? 480 : strip.width + 1;
        benchmark::DoNotOptimize(strip.frame(strip.current));
    }
}
BENCHMARK(tabStripFrame)->Args({8, 0})->Args({40, 0})->Args({8, 1})->Args({40, 1});

// The whole window, one resize step at a time.
void windowLayout(benchmark::State& state) {
    WindowLayout::Window w = window(state.range(0), state.range(1), state.range(2) != 0);
    for (auto _ : state) {
        w.width = w.width > 1600 ? 480 : w.width + 1;
        benchmark::DoNotOptimize(WindowLayout::layout(w));
    }
}
BENCHMARK(windowLayout)->Args({8, 5, 0})->Args({40, 30, 0})->Args({8, 5, 1})->Args({40, 30, 1});

} // namespace
} // namespace nimb
