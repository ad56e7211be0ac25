#include "library/Zoom.h"

#include "preferences/Preferences.h"

namespace nimb::Zoom {

std::int64_t larger(std::int64_t percent) {
    return percent;
}

std::int64_t smaller(std::int64_t percent) {
    return percent;
}

std::optional<std::string> site(std::string_view) {
    return std::nullopt;
}

std::int64_t level(const Preferences&, std::string_view) {
    return actualSize;
}

bool remember(Preferences&, std::string_view, std::int64_t) {
    return false;
}

} // namespace nimb::Zoom
