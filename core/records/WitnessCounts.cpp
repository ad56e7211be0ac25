#include "records/WitnessCounts.h"

#include <algorithm>

namespace nimb {

std::int64_t WitnessCounts::blockedTotal() const {
    std::int64_t sum = 0;
    for (const auto& [host, count] : blocked)
        sum += count;
    return sum;
}

std::int64_t WitnessCounts::blockedWith(const std::map<std::string, std::int64_t>& recorded) const {
    std::int64_t sum = 0;
    for (const auto& [host, count] : recorded) {
        auto seen = blocked.find(host);
        sum += seen == blocked.end() ? count : std::max(count, seen->second);
    }
    for (const auto& [host, count] : blocked) {
        if (!recorded.contains(host)) sum += count;
    }
    return sum;
}

} // namespace nimb
