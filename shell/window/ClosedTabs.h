#pragma once

// The tabs of a window closed lately, to bring back newest first (Reopen Closed Tab): for each, its
// place in the strip, its address and its back and forward list as the engine serialises it. Only
// the last ten are kept, and never a view: a tab comes back in a new view, and a closed view and its
// web process go at once. A generated page comes back drawn afresh from the stores.

#include "glib/GRefPtr.h"
#include "window/Tab.h"

#include <webkit/webkit.h>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>

namespace nimb {

class WindowContext;

class ClosedTabs {
public:
    // The most tabs kept.
    static constexpr std::size_t limit = 10;
    // The largest back and forward list kept, serialised; a page can fill its entries' state, and a
    // larger list comes back as its address alone.
    static constexpr std::size_t stateLimit = 512 * 1024;

    explicit ClosedTabs(WindowContext& context) : m_context(context) {}

    // Keeps what a tab about to be closed at `index` needs to come back; a tab that never showed
    // anything is not kept.
    void remember(const Tab& tab, std::int64_t index);
    // Brings the most recently closed tab back, in front, where it stood; false with none kept.
    bool reopen();
    [[nodiscard]] std::size_t size() const { return m_closed.size(); }
    [[nodiscard]] bool empty() const { return m_closed.empty(); }

private:
    struct Closed {
        std::int64_t index = 0;
        std::string address;
        // The browser's own page the tab showed, if any.
        std::optional<std::string> localPage;
        glib::GRefPtr<GBytes> state;
        // What the report pages in its list were drawn from, and the number of its newest generated
        // page, so that they come back as they were.
        std::map<std::uint64_t, Tab::ReportDrawing> reports;
        std::uint64_t generatedEntries = 0;
    };

    WindowContext& m_context;
    std::deque<Closed> m_closed; // newest first
};

} // namespace nimb
