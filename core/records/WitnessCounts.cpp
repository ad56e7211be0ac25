#include "records/WitnessCounts.h"

namespace nimb {

std::int64_t WitnessCounts::blockedTotal() const {
    std::int64_t sum = 0;
    for (const auto& [host, count] : blocked)
        sum += count;
    return sum;
}

} // namespace nimb
