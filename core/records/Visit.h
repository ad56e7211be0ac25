#pragma once

#include "base/Date.h"
#include "base/Url.h"

#include <cstdint>
#include <optional>
#include <string>

namespace nimb {

// One remembered page: where, what it was called, when last, and how often.
struct Visit {
    std::string address;
    std::string title;
    Date last;
    std::int64_t visits = 1;

    // A visit whose count is at least 1, whatever count is given.
    [[nodiscard]] static Visit make(std::string address, std::string title, Date last, std::int64_t visits);
    // The address parsed; none when it does not parse.
    [[nodiscard]] std::optional<Url> url() const;
    // The title, or the address when the title is empty.
    [[nodiscard]] const std::string& name() const;

    bool operator==(const Visit&) const = default;
};

} // namespace nimb
