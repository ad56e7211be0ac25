#pragma once

namespace nimb {

// The size the user last gave a browser window, in GTK's logical pixels, and whether it was
// maximised; new windows open at it. A maximised window keeps the size it had before, to come back
// to when it is no longer maximised.
struct WindowSize {
    int width = 0;
    int height = 0;
    bool maximized = false;

    // The size new windows take when none was kept.
    static constexpr int defaultWidth = 1000;
    static constexpr int defaultHeight = 720;
    // No screen is larger: a stored size beyond it was not written by a window.
    static constexpr int largest = 16384;

    bool operator==(const WindowSize&) const = default;
};

} // namespace nimb
