#pragma once

// The page zoom of a window's tabs: Zoom In, Zoom Out and Actual Size on the current tab's page,
// kept for its site (Zoom) and carried to every tab of every window showing that site; and the kept
// level given to each new document of a site as it commits. The browser's own pages come at actual
// size; they can be zoomed, but keep nothing.

#include <cstdint>

namespace nimb {

class Tab;
class WindowContext;

class ZoomController {
public:
    explicit ZoomController(WindowContext& context) : m_context(context) {}

    void zoomIn();
    void zoomOut();
    void actualSize();
    // A new document committed in the tab.
    void pageCommitted(Tab& tab);

private:
    void set(std::int64_t percent);

    WindowContext& m_context;
};

} // namespace nimb
