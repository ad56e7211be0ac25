#pragma once

// The browser's own pages ask it to do things (forget a visit, remove a bookmark, keep a report)
// through `nimb://` links and forms. Any web page can write the same addresses, so an action is only
// carried out when the navigation that carries it starts in a document the browser itself generated;
// from anywhere else the navigation is cancelled and nothing else happens.

#include "library/Bookmarks.h"
#include "library/History.h"
#include "report/ReportAction.h"

#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace nimb::InternalActions {

// What a panel's web view showing a document made from the browser's own HTML (loaded with no base
// address) reports as its address. A tab's generated pages have addresses of their own scheme
// (GeneratedPage).
inline constexpr std::string_view generatedAddress = "about:blank";

using Action = std::variant<BookmarkAction, HistoryAction, ReportAction>;

// The action a navigation's address carries, the parsers asked in the browser's order: bookmarks,
// history, reports. None for an address that carries none (it is then an ordinary address).
[[nodiscard]] std::optional<Action> parse(std::string_view address);

// Where a navigation starts: which web view, and what that view holds.
struct Source {
    enum class Kind {
        tab,   // a tab's web view
        panel, // a panel of the browser's own (the report popover, the margin), always generated
        other, // a view the window does not know
    };

    Kind kind = Kind::other;
    // The tab remembers showing one of the browser's pages (its internal address is set).
    bool showsGeneratedPage = false;
    // The document now committed in the view came from the browser's own HTML, not from the web: a
    // page still being replaced by a generated one does not count until the generated one commits.
    bool documentIsGenerated = false;
    // The web view's address as it reports it: a panel's generated page reports "about:blank", a
    // tab's an address of the generated pages' scheme.
    std::string viewAddress;

    bool operator==(const Source&) const = default;
};

// Whether a navigation from `source` may carry an internal action.
[[nodiscard]] bool permitted(const Source& source);

} // namespace nimb::InternalActions
