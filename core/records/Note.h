#pragma once

#include "base/Date.h"

#include <cstdint>
#include <optional>
#include <string>

namespace nimb {

// A note in the margin: text the user selected on a page (`source`), filed under the address of a
// bookmark (`address`, the note's home).
struct Note {
    std::string id;
    std::string address;
    std::string source;
    std::string text;
    Date made;

    // A note whose source, when none is given, is its home.
    [[nodiscard]] static Note make(std::string id, std::string address, std::optional<std::string> source,
                                   std::string text, Date made);
    // The first line of the text, cut to at most `max` characters, its last one then being "…".
    [[nodiscard]] std::string line(std::int64_t max) const;

    bool operator==(const Note&) const = default;
};

} // namespace nimb
