#pragma once

#include "Date.h"

#include <string>

namespace nimb {

// A note in the margin: text the user selected on a page, filed under an address.
struct Note {
    std::string id;
    std::string address;
    std::string source;
    std::string text;
    Date made;

    bool operator==(const Note&) const = default;
};

} // namespace nimb
