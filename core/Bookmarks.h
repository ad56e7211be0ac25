#pragma once

#include <string>

namespace nimb {

// A filed page: its name, its address, whether the personal toolbar shows it, and what the user
// wrote about it.
struct Bookmark {
    std::string name;
    std::string address;
    bool onToolbar = true;
    std::string summary;

    bool operator==(const Bookmark&) const = default;
};

} // namespace nimb
