#pragma once

#include "base/Url.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nimb {

// A filed page: its name, its address, whether the personal toolbar shows it, and what the user
// wrote about it.
struct Bookmark {
    std::string name;
    std::string address;
    bool onToolbar = true;
    std::string summary;

    // What the browser files for a new user: nothing.
    [[nodiscard]] static std::vector<Bookmark> defaults() { return {}; }
    // The address parsed, or none when it does not parse.
    [[nodiscard]] std::optional<Url> url() const;
    // The name cut to at most `max` characters, its last one then being "…".
    [[nodiscard]] std::string label(std::int64_t max) const;
    [[nodiscard]] Bookmark withOnToolbar(bool flag) const;
    // A copy with a new name and summary, both trimmed; a blank name keeps the old one, a blank
    // summary clears it.
    [[nodiscard]] Bookmark edited(std::string_view newName, std::string_view newSummary) const;

    bool operator==(const Bookmark&) const = default;
};

} // namespace nimb
