#include "report/ReportSize.h"

#include <unicode/dcfmtsym.h>

#include <array>
#include <charconv>
#include <cmath>

namespace nimb::NimbReportPage {

namespace {

// Unit symbols, the same in every language the browser speaks.
constexpr std::string_view kilobytes = " KB";
constexpr std::string_view megabytes = " MB";

const std::string& decimalSeparator(Language language) {
    static const auto separators = [] {
        std::array<std::string, allCases<Language>.size()> all;
        for (std::size_t i = 0; i < all.size(); ++i) {
            UErrorCode status = U_ZERO_ERROR;
            icu::DecimalFormatSymbols symbols(icu::Locale(locale(allCases<Language>[i]).c_str()), status);
            if (U_SUCCESS(status))
                symbols.getConstSymbol(icu::DecimalFormatSymbols::kDecimalSeparatorSymbol)
                    .toUTF8String(all[i]);
            if (all[i].empty()) all[i] = ".";
        }
        return all;
    }();
    return separators[static_cast<std::size_t>(language)];
}

// The value with one decimal, rounded as printf's "%.1f" rounds, whatever the process locale.
std::string oneDecimal(double value, Language language) {
    char buffer[32];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 1);
    if (error != std::errc()) return "0" + decimalSeparator(language) + "0";
    std::string text(buffer, end);
    if (auto point = text.find('.'); point != std::string::npos)
        text.replace(point, 1, decimalSeparator(language));
    return text;
}

} // namespace

std::string size(std::int64_t bytes, Language language) {
    if (bytes < 1024) return words(language).byteCount(bytes);
    double k = static_cast<double>(bytes) / 1024;
    if (k < 10) return oneDecimal(k, language).append(kilobytes);
    if (k < 1024) return std::to_string(static_cast<std::int64_t>(std::round(k))).append(kilobytes);
    return oneDecimal(k / 1024, language).append(megabytes);
}

} // namespace nimb::NimbReportPage
