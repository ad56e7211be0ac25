#pragma once

// Enumerations with raw string values are plain `enum class`es. Each one provides, next to its
// declaration and findable by argument-dependent lookup:
//
//   std::string_view rawValue(E);
//   template <> inline constexpr auto allCases<E> = std::array{...};   // in documented order
//
// and gets `fromRaw<E>(text)` from here for free.

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

namespace nimb {

template <class E>
inline constexpr auto allCases = std::array<E, 0>{};

template <class E>
[[nodiscard]] std::optional<E> fromRaw(std::string_view raw) {
    for (E value : allCases<E>) {
        if (rawValue(value) == raw) return value;
    }
    return std::nullopt;
}

} // namespace nimb
