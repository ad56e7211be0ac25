#pragma once

// The two readers behind NimbReport::parse, each on its own, so that tests and the fuzzer can hold
// them to one record. Everything else reads payloads with NimbReport::parse.

#include "report/NimbReport.h"

#include <optional>
#include <string_view>

namespace nimb::NimbReportReaders {

// The quick reader of plainly well-formed payloads: none when it leaves the payload to the other.
[[nodiscard]] std::optional<NimbReport> strict(std::string_view payload);
// nlohmann's reader: none when the payload is not a JSON object.
[[nodiscard]] std::optional<NimbReport> tolerant(std::string_view payload);

} // namespace nimb::NimbReportReaders
