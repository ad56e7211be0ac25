#pragma once

// Where the files that come with the browser are: installed under the executable's prefix
// (<prefix>/share/nimb), or, for a program run from its build tree, in the source tree's resources.

#include <filesystem>

namespace nimb::Resources {

// The directory holding the two Fira Sans faces.
[[nodiscard]] std::filesystem::path fontsDirectory();

// The directory holding the browser's own icon (net.nimb2000.Nimb.svg): the installed theme's
// scalable applications, or the source tree's resources for a program run from its build tree.
[[nodiscard]] std::filesystem::path iconDirectory();
// The name the icon goes by.
inline constexpr const char* iconName = "net.nimb2000.Nimb";

// The directory holding the request witness the web engine loads into its web processes: installed
// under the executable's prefix (<prefix>/lib/nimb/web-process-extensions), or the build tree's.
[[nodiscard]] std::filesystem::path witnessDirectory();

// The installed data directory for an executable at `executable`: <prefix>/share/nimb.
[[nodiscard]] std::filesystem::path installedDataDirectory(const std::filesystem::path& executable);

} // namespace nimb::Resources
