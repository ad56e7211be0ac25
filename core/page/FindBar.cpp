#include "page/FindBar.h"

#include "base/Text.h"
#include "vocabulary/Language.h"

namespace nimb::FindBar {

std::optional<std::string> query(std::string_view text) {
    std::string_view trimmed = text::trimmed(text);
    if (trimmed.empty()) return std::nullopt;
    return std::string(trimmed);
}

std::int64_t step(std::int64_t index, std::int64_t by, std::int64_t count) {
    if (count < 1) return 0;
    // Each term is reduced on its own first, so that no index or step overflows the sum.
    auto reduced = [count](std::int64_t value) {
        std::int64_t r = value % count;
        return r < 0 ? r + count : r;
    };
    std::int64_t position = reduced(index) - 1;
    if (position < 0) position += count;
    std::int64_t forward = reduced(by);
    // position + forward, modulo count, without leaving the range of the type.
    std::int64_t sum = position >= count - forward ? position - (count - forward) : position + forward;
    return sum + 1;
}

std::string tally(std::int64_t index, std::int64_t count, bool searching) {
    if (!searching) return {};
    if (count < 1) return words().noMatches();
    return words().matchTally(index, count);
}

} // namespace nimb::FindBar
