#pragma once

// Where the files that come with the browser are: installed under the executable's prefix
// (<prefix>/share/nimb), or, for a program run from its build tree, in the source tree's resources.

#include <filesystem>

namespace nimb::Resources {

// The directory holding the two Fira Sans faces.
[[nodiscard]] std::filesystem::path fontsDirectory();

// The installed data directory for an executable at `executable`: <prefix>/share/nimb.
[[nodiscard]] std::filesystem::path installedDataDirectory(const std::filesystem::path& executable);

} // namespace nimb::Resources
