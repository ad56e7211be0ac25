#pragma once

// The two readers behind NimbReport::parse, each on its own, so that tests can hold them to one
// record, and the bounds of the quick readings of payloads and snapshots. Everything else reads
// payloads with NimbReport::parse.

#include "base/JsonReader.h"
#include "report/NimbReport.h"

#include <optional>
#include <string_view>

namespace nimb::NimbReportReaders {

// What the page scripts send and the snapshot writer writes is at most six containers deep.
inline constexpr JsonReader::Limits quickLimits{NimbReport::payloadLimit, 64};

// The quick reader of plainly well-formed payloads: none when it leaves the payload to the other.
[[nodiscard]] std::optional<NimbReport> strict(std::string_view payload);
// nlohmann's reader: none when the payload is not a JSON object.
[[nodiscard]] std::optional<NimbReport> tolerant(std::string_view payload);

} // namespace nimb::NimbReportReaders
