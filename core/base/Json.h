#pragma once

// The one writer for JSON the browser produces for itself. Output is compact; strings escape
// quotes, backslashes, control characters and "/" (as "\/"), and ill-formed UTF-8 is replaced by
// U+FFFD so that every reader can take back what was written.

#include <cstdint>
#include <string>
#include <string_view>

namespace nimb::json {

// Appends `text` as a quoted JSON string.
void appendString(std::string& out, std::string_view text);
[[nodiscard]] std::string quoted(std::string_view text);

} // namespace nimb::json
