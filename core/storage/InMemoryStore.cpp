#include "storage/InMemoryStore.h"

namespace nimb {

template <class T>
std::optional<T> InMemoryStore::read(std::string_view key) const {
    auto found = v.find(key);
    if (found == v.end()) return std::nullopt;
    if (const T* value = std::get_if<T>(&found->second)) return *value;
    return std::nullopt;
}

std::optional<std::string> InMemoryStore::string(std::string_view key) {
    return read<std::string>(key);
}
std::optional<bool> InMemoryStore::boolean(std::string_view key) {
    return read<bool>(key);
}
std::optional<Pairs> InMemoryStore::pairs(std::string_view key) {
    return read<Pairs>(key);
}

WriteOutcome InMemoryStore::commit(const Changes& changes) {
    for (const Change& change : changes)
        v.insert_or_assign(change.key, change.value);
    return WriteOutcome::written();
}

} // namespace nimb
