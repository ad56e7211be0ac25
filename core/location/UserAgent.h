#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace nimb::UserAgent {

inline constexpr std::string_view webKitBuild = "605.1.15";
// The Safari version claimed to sites; there is no installed Safari to ask on this platform.
inline constexpr std::string_view assumedSafariVersion = "18.6";

// What the web engine appends to its user agent: "Version/<v> Safari/605.1.15".
[[nodiscard]] std::string applicationName(std::optional<std::string_view> safariVersion = std::nullopt);

} // namespace nimb::UserAgent
