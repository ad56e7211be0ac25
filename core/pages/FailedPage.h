#pragma once

// The page a tab shows in place of a blank one: its load failed with no page of its own to keep
// showing, or the process that showed its page ended. It names the address and what failed, and offers
// to load the address again.

#include <string>
#include <string_view>

namespace nimb::FailedPage {

enum class Why {
    loadFailed,   // "Try again"
    processEnded, // "Reload"
};

// The whole document; its title is the address, so that the tab is named after it. `detail` is what
// failed, in the engine's or the browser's words.
[[nodiscard]] std::string html(Why why, std::string_view address, std::string_view detail);

} // namespace nimb::FailedPage
