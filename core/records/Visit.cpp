#include "records/Visit.h"

#include <algorithm>

namespace nimb {

Visit Visit::make(std::string address, std::string title, Date last, std::int64_t visits) {
    return {std::move(address), std::move(title), last, std::max<std::int64_t>(visits, 1)};
}

std::optional<Url> Visit::url() const {
    return Url::parse(address);
}

const std::string& Visit::name() const {
    return title.empty() ? address : title;
}

} // namespace nimb
