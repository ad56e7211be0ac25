// Typed text and internal addresses, whatever they hold: the location bar's resolution and labels,
// the internal actions' parsers, and the blocklist's classifier of addresses. Checks that an action
// read from an address survives being written back as an address and read again.

#include "base/Domain.h"
#include "blocker/ContentBlocker.h"
#include "library/Bookmarks.h"
#include "library/History.h"
#include "location/LocationBar.h"

#include <cstdlib>
#include <string_view>

using namespace nimb;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);

    auto engine =
        size > 0 ? allCases<SearchEngine>[data[0] % allCases<SearchEngine>.size()] : SearchEngine::none;
    (void)LocationBar::resolve(text, engine);
    (void)LocationBar::restingLabel(text);
    (void)LocationBar::canonical(text);
    (void)ContentBlocker::categoryForUrl(text);
    (void)Domain::hostOf(text);

    auto url = Url::parse(text);
    if (!url) return 0;

    if (auto action = HistoryAction::fromUrl(*url)) {
        auto again = Url::parse(action->href());
        if (!again || HistoryAction::fromUrl(*again) != action) std::abort();
    }
    // A form's line breaks arrive as CR LF and are read as LF, one pair per pass, so text that holds
    // a carriage return of its own changes on the way round by design.
    auto carriageReturn = [](const BookmarkAction& a) {
        return a.name.find('\r') != std::string::npos || a.summary.find('\r') != std::string::npos;
    };
    if (auto action = BookmarkAction::fromUrl(*url); action && !carriageReturn(*action)) {
        auto again = Url::parse(action->href());
        if (!again || BookmarkAction::fromUrl(*again) != action) std::abort();
    }
    return 0;
}
