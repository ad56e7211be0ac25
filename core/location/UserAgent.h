#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace nimb::UserAgent {

inline constexpr std::string_view webKitBuild = "605.1.15";
// The Safari version claimed to sites; there is no installed Safari to ask on this platform.
inline constexpr std::string_view assumedSafariVersion = "18.6";

// What the browser names itself after the engine's tokens: "Version/<v> Safari/605.1.15".
[[nodiscard]] std::string applicationName(std::optional<std::string_view> safariVersion = std::nullopt);

// The agent sites receive, made from the engine's own: everything up to and including
// "(KHTML, like Gecko)" (so its platform token is kept), one space, then `application`. The engine's
// own string already ends with a Safari claim of its own, which would make two. An engine string
// without that mark is kept as it is, with `application` after one space.
[[nodiscard]] std::string compose(std::string_view engineAgent, std::string_view application);

} // namespace nimb::UserAgent
