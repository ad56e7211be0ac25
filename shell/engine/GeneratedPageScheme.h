#pragma once

// The "nimb-page" scheme in the web engine: a tab showing one of the browser's own pages loads it from
// its address in this scheme, so that the page has a place of its own in the tab's back and forward
// list, and the engine asks for it again, drawn afresh, when the user returns to it. The scheme is
// local to the engine: a web page can neither load it, nor link to it, nor frame it.

#include "page/GeneratedPage.h"

#include <webkit/webkit.h>

#include <functional>
#include <optional>
#include <string>

namespace nimb::GeneratedPageScheme {

// The HTML of a page for the view that asks for it; none when the view is not a tab that may show it.
using Draw =
    std::function<std::optional<std::string>(WebKitWebView* view, const GeneratedPage::Entry& entry)>;

// Registers the scheme on a web context, answering through `draw`. A context takes it once: a later
// call for the same context changes nothing and answers false.
bool install(WebKitWebContext* context, Draw draw);

} // namespace nimb::GeneratedPageScheme
