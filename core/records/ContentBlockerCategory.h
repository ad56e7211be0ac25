#pragma once

#include "base/Enumeration.h"

#include <string>
#include <string_view>

namespace nimb::ContentBlocker {

// What a blocked host is for. Raw values are the English display names.
enum class Category {
    consent,
    advertising,
    measurement,
    interruption,
};

[[nodiscard]] constexpr std::string_view rawValue(Category category) {
    switch (category) {
    case Category::consent:
        return "Consent walls";
    case Category::advertising:
        return "Advertising";
    case Category::measurement:
        return "Measurement";
    case Category::interruption:
        return "Interruptions";
    }
    return {};
}

// The current language's words for the category.
[[nodiscard]] std::string displayName(Category category);
[[nodiscard]] std::string explanation(Category category);

} // namespace nimb::ContentBlocker

namespace nimb {
template <>
inline constexpr auto allCases<ContentBlocker::Category> =
    std::array{ContentBlocker::Category::consent, ContentBlocker::Category::advertising,
               ContentBlocker::Category::measurement, ContentBlocker::Category::interruption};
} // namespace nimb
