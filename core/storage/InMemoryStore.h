#pragma once

#include "storage/KeyValueStore.h"

#include <map>
#include <variant>

namespace nimb {

// Keeps values in memory, with the same typed readings as the persistent store.
class InMemoryStore final : public KeyValueStore {
public:
    using Value = StoredValue;

    std::optional<std::string> string(std::string_view key) override;
    std::optional<bool> boolean(std::string_view key) override;
    std::optional<Pairs> pairs(std::string_view key) override;

    std::map<std::string, Value, std::less<>> v;

protected:
    WriteOutcome commit(const Changes& changes) override;

private:
    template <class T>
    std::optional<T> read(std::string_view key) const;
};

} // namespace nimb
