#pragma once

#include "base/Enumeration.h"

#include <string>
#include <string_view>

namespace nimb::NimbReportPage {

// The two views of the report page, in the order of its tabs.
enum class View {
    overview,
    dossier,
};

[[nodiscard]] constexpr std::string_view rawValue(View view) {
    switch (view) {
    case View::overview:
        return "overview";
    case View::dossier:
        return "dossier";
    }
    return {};
}

// The current language's name for the view, as its tab shows it.
[[nodiscard]] std::string name(View view);

} // namespace nimb::NimbReportPage

namespace nimb {
template <>
inline constexpr auto allCases<NimbReportPage::View> =
    std::array{NimbReportPage::View::overview, NimbReportPage::View::dossier};
} // namespace nimb
