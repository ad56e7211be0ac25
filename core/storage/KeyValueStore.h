#pragma once

#include "storage/WriteOutcome.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace nimb {

// A list of lists of strings: every stored record list has this shape.
using Pairs = std::vector<std::vector<std::string>>;

// One value as stored, and a group of values written together.
using StoredValue = std::variant<std::string, bool, Pairs>;
struct Change {
    std::string key;
    StoredValue value;
};
using Changes = std::vector<Change>;

// Where settings and records live. A getter gives none when the key holds nothing readable as the
// asked type. A write replaces whatever its keys held, all of them or none: related records written
// together never come apart. Every write says what became of it.
class KeyValueStore {
public:
    virtual ~KeyValueStore() = default;

    [[nodiscard]] virtual std::optional<std::string> string(std::string_view key) = 0;
    [[nodiscard]] virtual std::optional<bool> boolean(std::string_view key) = 0;
    [[nodiscard]] virtual std::optional<Pairs> pairs(std::string_view key) = 0;

    WriteOutcome write(const Changes& changes) {
        m_last = commit(changes);
        return m_last;
    }
    WriteOutcome set(std::string_view key, std::string_view value) {
        return write({{std::string(key), std::string(value)}});
    }
    WriteOutcome set(std::string_view key, bool value) { return write({{std::string(key), value}}); }
    WriteOutcome set(std::string_view key, const Pairs& value) { return write({{std::string(key), value}}); }
    // Keeps a string literal from picking the bool overload.
    WriteOutcome set(std::string_view key, const char* value) { return set(key, std::string_view(value)); }

    // Calls `then` once every write asked for so far has landed or failed, with the outcome of the
    // last of them. A store that writes as it is asked calls at once.
    virtual void afterWrites(std::function<void(const WriteOutcome&)> then) { then(m_last); }

protected:
    // Writes every change in one go; a store that queues its writes answers `queued`.
    virtual WriteOutcome commit(const Changes& changes) = 0;

private:
    WriteOutcome m_last;
};

} // namespace nimb
