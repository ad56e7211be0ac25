#pragma once

// Every script the browser puts into web pages, as text. The scripts themselves are JavaScript files
// in core/scripts/, embedded at build time; this assembles the texts handed to the web engine.
//
// Scripts that publish something for one another or for the collector do it on one page object,
// window.__nimb: `network()` (the recorder), `walls()` (the wall hiding) and `forgot` (the local
// storage shim).

#include <string>
#include <string_view>
#include <vector>

namespace nimb::PageScripts {

// The page recorder, with the blocklist's lookup table (ContentBlocker::lookupTableJSON()) embedded
// as TABLE. Installed at document start in the main frame.
[[nodiscard]] std::string recorder(std::string_view table);

// The collector: evaluates to the report payload text, or to null when the page has no recorder
// and no wall hiding.
[[nodiscard]] std::string_view snapshot();

// The wall and ad-slot hiding, with the consent-wall selectors embedded as HIDE. Installed at
// document start in the main frame.
[[nodiscard]] std::string declutter(const std::vector<std::string>& hiding);

// The in-memory local storage. Installed at document start in every frame.
[[nodiscard]] std::string_view forgetStorage();

// Posts the address of the link under the pointer to "status". Installed at document end in every
// frame.
[[nodiscard]] std::string_view linkHover();

// Posts the page's chosen icon address to "favicon". Installed at document end in the main frame.
[[nodiscard]] std::string_view favicon();

// The body of an asynchronous function without arguments that returns the selected text.
[[nodiscard]] std::string_view selection();

// The body of an asynchronous function of `q`, `step` and `foot` that finds in the page and
// returns {count, index}.
[[nodiscard]] std::string_view find();

} // namespace nimb::PageScripts
