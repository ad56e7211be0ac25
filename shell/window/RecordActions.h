#pragma once

// What the user does to the stored records from a window: bookmarking the page, keeping selected text
// as a note, clearing history, and the actions the history and bookmarks pages ask for. Every change
// is reported on the status line, and every window then shows the records as they are.

#include "library/Bookmarks.h"
#include "library/History.h"

namespace nimb {

class Tab;
class WindowContext;

class RecordActions {
public:
    explicit RecordActions(WindowContext& context) : m_context(context) {}

    void apply(const HistoryAction& action);
    // `from` is the tab whose page asked, when one did.
    void apply(const BookmarkAction& action, Tab* from);
    void addBookmark();
    // Keeps the current page's selected text as a note.
    void addToMarginalia();
    // Whether the current page is one a note can be taken on.
    [[nodiscard]] bool canAnnotate() const;
    // Asks, then forgets every visit.
    void clearHistory();

private:
    void removeBookmark(const std::string& address);

    WindowContext& m_context;
};

} // namespace nimb
