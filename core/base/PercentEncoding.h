#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace nimb {

// Percent-encodes UTF-8 text leaving only letters, marks and digits of any script unencoded (Unicode
// general categories L*, M* and N*). Everything else, and every byte of ill-formed UTF-8, becomes
// upper-case %XX of its UTF-8 bytes.
[[nodiscard]] std::string percentEncodeAlphanumerics(std::string_view text);

// Turns every "%XX" into its byte. None when a "%" is not followed by two hex digits.
[[nodiscard]] std::optional<std::string> percentDecoded(std::string_view text);
// The same, leaving a "%" that is not followed by two hex digits as written.
[[nodiscard]] std::string percentDecodedLeniently(std::string_view text);

} // namespace nimb
