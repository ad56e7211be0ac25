#pragma once

#include <cmath>
#include <compare>
#include <optional>
#include <string>
#include <string_view>

namespace nimb {

// A moment, as seconds since 1970-01-01 00:00 UTC.
struct Date {
    double seconds = 0;

    auto operator<=>(const Date&) const = default;
};

// The stored form: whole seconds, the fraction dropped toward zero, as a decimal integer.
[[nodiscard]] std::string storedDate(Date date);
// Reads a stored date: the whole text must be a floating-point number as strtod reads it in the
// POSIX locale, whatever the process locale is. Empty text, leading white space, trailing garbage
// and values that are not finite do not read.
[[nodiscard]] std::optional<Date> readStoredDate(std::string_view text);

} // namespace nimb
