#include "base/PercentEncoding.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

namespace nimb {

std::string percentEncodeAlphanumerics(std::string_view text) {
    static constexpr char hex[] = "0123456789ABCDEF";
    constexpr uint32_t alphanumeric = U_GC_L_MASK | U_GC_M_MASK | U_GC_N_MASK;
    std::string out;
    out.reserve(text.size() * 3);
    auto length = static_cast<int32_t>(text.size());
    for (int32_t i = 0; i < length;) {
        int32_t start = i;
        UChar32 c;
        U8_NEXT(text.data(), i, length, c);
        if (c >= 0 && (U_GET_GC_MASK(c) & alphanumeric) != 0) {
            out.append(text.data() + start, static_cast<std::size_t>(i - start));
            continue;
        }
        for (int32_t j = start; j < i; ++j) {
            auto byte = static_cast<unsigned char>(text[static_cast<std::size_t>(j)]);
            out += '%';
            out += hex[byte >> 4];
            out += hex[byte & 0xF];
        }
    }
    return out;
}

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<std::string> decode(std::string_view text, bool lenient) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        bool escape =
            text[i] == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 && hexValue(text[i + 2]) >= 0;
        if (escape) {
            out += static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
            i += 2;
        } else if (text[i] == '%' && !lenient) {
            return std::nullopt;
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace

std::optional<std::string> percentDecoded(std::string_view text) {
    return decode(text, false);
}

std::string percentDecodedLeniently(std::string_view text) {
    return *decode(text, true);
}

} // namespace nimb
