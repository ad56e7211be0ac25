#pragma once

#include "base/Enumeration.h"
#include "base/Url.h"

#include <optional>
#include <string>
#include <string_view>

namespace nimb {

// Where typed text that is not an address is sent, in the order of the Search Engine menu and the
// home page's list. `none` sends nothing anywhere.
enum class SearchEngine {
    ddgLite,
    nimb,
    google,
    marginalia,
    wiby,
    none,
};

[[nodiscard]] constexpr std::string_view rawValue(SearchEngine engine) {
    switch (engine) {
    case SearchEngine::ddgLite:
        return "ddgLite";
    case SearchEngine::nimb:
        return "nimb";
    case SearchEngine::google:
        return "google";
    case SearchEngine::marginalia:
        return "marginalia";
    case SearchEngine::wiby:
        return "wiby";
    case SearchEngine::none:
        return "none";
    }
    return {};
}

template <>
inline constexpr auto allCases<SearchEngine> =
    std::array{SearchEngine::ddgLite,    SearchEngine::nimb, SearchEngine::google,
               SearchEngine::marginalia, SearchEngine::wiby, SearchEngine::none};

// The engine's name; only `none` is translated.
[[nodiscard]] std::string displayName(SearchEngine engine);
// The first engine, in menu order, whose display name in the current language is exactly `name`.
[[nodiscard]] std::optional<SearchEngine> searchEngineNamed(std::string_view name);
// The engine's start page; none for `none`.
[[nodiscard]] std::optional<Url> home(SearchEngine engine);
// The engine's results address for `query`; none for `none`.
[[nodiscard]] std::optional<Url> url(SearchEngine engine, std::string_view query);

} // namespace nimb
