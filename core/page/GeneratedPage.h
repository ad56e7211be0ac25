#pragma once

// Where a tab's generated page stands in its back and forward list. Each page the browser draws in a
// tab is loaded from an address of its own scheme, "nimb-page:<name>/<entry>": the name is the page's
// internal address without "about:" (history, bookmarks, report, ...), the entry tells the tab which
// of its drawings it was (a report is drawn from what the page answered at the time). The engine asks
// the browser for the page again when the user returns to it, so every return draws it afresh.
//
// The scheme is the browser's own: no web page may load it, link to it or frame it.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace nimb::GeneratedPage {

inline constexpr std::string_view scheme = "nimb-page";

struct Entry {
    std::string internalAddress; // "about:history"
    std::uint64_t number = 0;    // 0 when the address names none
    bool operator==(const Entry&) const = default;
};

// The address of a drawing of one of the browser's pages; `internalAddress` is one of LocationBar's
// "about:" addresses.
[[nodiscard]] std::string address(std::string_view internalAddress, std::uint64_t entry);

// The page and entry an address of the scheme names; none for any other address, and for a name that
// is none of the browser's pages.
[[nodiscard]] std::optional<Entry> parse(std::string_view address);

} // namespace nimb::GeneratedPage
