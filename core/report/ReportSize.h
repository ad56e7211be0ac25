#pragma once

#include "vocabulary/Language.h"

#include <cstdint>
#include <string>

namespace nimb::NimbReportPage {

// A size in bytes as the report writes it: "1 byte" and "n bytes" below 1024, then kilobytes (one
// decimal below 10, whole from 10) and megabytes with one decimal, the decimal separator following
// the language.
[[nodiscard]] std::string size(std::int64_t bytes, Language language = currentLanguage());

} // namespace nimb::NimbReportPage
