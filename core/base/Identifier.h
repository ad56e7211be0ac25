#pragma once

#include <string>

namespace nimb {

// A new random UUID in canonical upper-case text ("0F8C...-...").
[[nodiscard]] std::string makeIdentifier();

} // namespace nimb
