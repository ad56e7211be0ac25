#include "base/Date.h"

#include <cctype>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <locale.h>

namespace nimb {

namespace {

locale_t posixLocale() {
    static locale_t locale = newlocale(LC_NUMERIC_MASK, "C", nullptr);
    return locale;
}

} // namespace

std::string storedDate(Date date) {
    double whole = std::trunc(date.seconds);
    if (!std::isfinite(whole)) return "0";
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.0f", whole);
    std::string text = buffer;
    return text == "-0" ? "0" : text;
}

std::optional<Date> readStoredDate(std::string_view text) {
    if (text.empty()) return std::nullopt;
    std::string copy(text); // strtod needs a terminated string
    if (copy.size() != std::char_traits<char>::length(copy.c_str()))
        return std::nullopt; // an embedded NUL would end the number early
    char* end = nullptr;
    double value = strtod_l(copy.c_str(), &end, posixLocale());
    // strtod skips leading white space; a stored date never has any.
    if (std::isspace(static_cast<unsigned char>(copy.front())) || end == copy.c_str() || *end != '\0' ||
        !std::isfinite(value))
        return std::nullopt;
    return Date{value};
}

} // namespace nimb
