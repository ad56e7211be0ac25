#pragma once

// The blocklist entries the fixture sites name, by the {{placeholder}} their text files use.

#include <map>
#include <string>

namespace nimb::test {

[[nodiscard]] std::map<std::string, std::string> blocklistVariables();

} // namespace nimb::test
