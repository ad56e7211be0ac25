#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nimb {

// A list of lists of strings: every stored record list has this shape.
using Pairs = std::vector<std::vector<std::string>>;

// Where settings and records live. A getter gives none when the key holds nothing readable as the
// asked type; a setter replaces whatever the key held.
class KeyValueStore {
public:
    virtual ~KeyValueStore() = default;

    [[nodiscard]] virtual std::optional<std::string> string(std::string_view key) = 0;
    [[nodiscard]] virtual std::optional<bool> boolean(std::string_view key) = 0;
    [[nodiscard]] virtual std::optional<Pairs> pairs(std::string_view key) = 0;

    virtual void set(std::string_view key, std::string_view value) = 0;
    virtual void set(std::string_view key, bool value) = 0;
    virtual void set(std::string_view key, const Pairs& value) = 0;

    // Keeps a string literal from picking the bool overload.
    void set(std::string_view key, const char* value) { set(key, std::string_view(value)); }
};

} // namespace nimb
