#pragma once

#include "base/Enumeration.h"

#include <string>
#include <string_view>

namespace nimb {

// Why an element was taken off the page. Declared on its own so the vocabulary can name it without
// the whole report record; the record calls it NimbReport::Reason.
enum class NimbReportReason {
    known,
    overlay,
    adSlot,
};

[[nodiscard]] constexpr std::string_view rawValue(NimbReportReason reason) {
    switch (reason) {
    case NimbReportReason::known:
        return "known";
    case NimbReportReason::overlay:
        return "overlay";
    case NimbReportReason::adSlot:
        return "adSlot";
    }
    return {};
}

// The current language's words for the reason.
[[nodiscard]] std::string label(NimbReportReason reason);

template <>
inline constexpr auto allCases<NimbReportReason> =
    std::array{NimbReportReason::known, NimbReportReason::overlay, NimbReportReason::adSlot};

} // namespace nimb
