#pragma once

// Small text helpers shared across core. Text is UTF-8; "characters" are user-perceived characters
// (extended grapheme clusters), counted with ICU.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace nimb::text {

// Strips Unicode white space and line breaks from both ends.
[[nodiscard]] std::string_view trimmed(std::string_view text);

// Full Unicode lower-casing (root locale); ASCII text takes a fast path.
[[nodiscard]] std::string lowercased(std::string_view text);
[[nodiscard]] std::string asciiLowercased(std::string_view text);
// The text in lower case without allocating when it has nothing to lower (the common case for
// hosts): the text itself, else a lowered copy kept in `buffer`.
[[nodiscard]] std::string_view lowered(std::string_view text, std::string& buffer);
[[nodiscard]] bool isAscii(std::string_view text);

// Number of grapheme clusters.
[[nodiscard]] std::size_t characterCount(std::string_view text);
// The first `count` grapheme clusters (all of the text when it has fewer).
[[nodiscard]] std::string_view prefix(std::string_view text, std::size_t count);
// The text after its first `count` grapheme clusters (empty when it has no more).
[[nodiscard]] std::string_view dropPrefix(std::string_view text, std::size_t count);

// The text with every ill-formed UTF-8 sequence replaced by U+FFFD.
[[nodiscard]] std::string validUtf8(std::string_view text);
[[nodiscard]] bool isValidUtf8(std::string_view text);
// The length in bytes of the well-formed UTF-8 sequence (one code point) that `text` starts with, or 0
// when it starts with none: the one check of UTF-8 in core.
[[nodiscard]] std::size_t utf8SequenceLength(std::string_view text);
// Appends the UTF-8 form of the Unicode scalar value `c` (a code point other than a surrogate).
void appendUtf8(std::string& out, char32_t c);

// Splits at every occurrence of `separator`; empty pieces are kept unless `keepEmpty` is false.
[[nodiscard]] std::vector<std::string_view> split(std::string_view text, char separator,
                                                  bool keepEmpty = true);

[[nodiscard]] inline bool startsWith(std::string_view text, std::string_view start) {
    return text.substr(0, start.size()) == start;
}

} // namespace nimb::text
