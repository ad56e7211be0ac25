#include "PercentEncoding.h"

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

} // namespace nimb
