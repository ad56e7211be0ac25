#pragma once

// Find in page: the find bar (made the first time it opens), its slide in and out over the foot of the
// page, and the searches it runs in the current page with the find script. The script answers with the
// count of matches and the current one; an answer that comes back for a tab that is no longer current,
// after the bar has closed or after the window has gone is dropped. Hiding the bar clears the marks in
// every tab; the text stays in the field for the next time, selected.

#include "glib/Connection.h"
#include "glib/Source.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace nimb {

class FindBarView;
class Tab;
class WindowContext;

class FindController {
public:
    explicit FindController(WindowContext& context);
    ~FindController();
    FindController(const FindController&) = delete;
    FindController& operator=(const FindController&) = delete;

    [[nodiscard]] bool isOpen() const { return m_open; }
    // Open with something to find in the field: what Find Next and Find Previous need.
    [[nodiscard]] bool canFindAgain() const;
    // Opens the bar (sliding it in when it was closed), selects the field's text and searches.
    void open();
    // Steps to the next (1) or previous (-1) match, or searches again where the page now stands (0).
    void run(int step);
    // Searches again after the page, the tab or the language changed, while the bar is open.
    void rerun();
    // Clears the marks in every tab, gives the page the focus and slides the bar out.
    void hide();
    // Escape: hides the bar when it is open and the location field is not being edited; false, and
    // nothing done, otherwise.
    bool dismissIfShowing();
    // The bar's words in the current language.
    void retitle();

    // The bar, once it has been opened; null before.
    [[nodiscard]] FindBarView* view() const { return m_view.get(); }
    // How far the bar has slid in: 0 hidden, 1 shown.
    [[nodiscard]] double slide() const { return m_slide; }

private:
    void build();
    void find(Tab& tab, const std::string& query, int step);
    void clear(Tab& tab);
    void showTally(std::string tally, bool hasMatches, bool canStep);
    // Slides the bar to `target`, then runs `then`.
    void animate(double target, std::function<void()> then);
    void tick();

    WindowContext& m_context;
    std::unique_ptr<FindBarView> m_view;
    bool m_open = false;
    double m_slide = 0;
    // The running slide.
    double m_from = 0;
    double m_to = 0;
    std::int64_t m_started = 0; // monotonic microseconds
    std::function<void()> m_then;
    glib::Source m_timer;
    std::vector<glib::Connection> m_connections; // to the bar's hooks
};

} // namespace nimb
