#pragma once

#include <string>
#include <string_view>

namespace nimb {

// Percent-encodes UTF-8 text leaving only letters, marks and digits of any script unencoded (Unicode
// general categories L*, M* and N*). Everything else, and every byte of ill-formed UTF-8, becomes
// upper-case %XX of its UTF-8 bytes.
[[nodiscard]] std::string percentEncodeAlphanumerics(std::string_view text);

} // namespace nimb
