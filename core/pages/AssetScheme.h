#pragma once

// What the "nimb-asset" scheme serves to generated pages: the two Fira Sans faces from the
// application's "Fonts" resources, and nothing else. The shell registers the scheme with the web
// engine and answers each request with `serve`; a request it does not answer fails as a missing file.

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace nimb::AssetScheme {

inline constexpr std::string_view scheme = "nimb-asset";
// The resources directory the files come from.
inline constexpr std::string_view directory = "Fonts";

struct Asset {
    std::string_view name; // the file name, and the last piece of the request's path
    std::string_view mimeType;

    bool operator==(const Asset&) const = default;
};

inline constexpr std::array<Asset, 2> assets{
    Asset{"FiraSans-Regular.ttf", "font/ttf"},
    Asset{"FiraSans-Medium.ttf", "font/ttf"},
};

// The asset a request's address names: the last non-empty piece of its (decoded) path must be one of
// `assets`. None for an address that does not parse, has no pieces, or names anything else.
[[nodiscard]] std::optional<Asset> assetFor(std::string_view url);

// The answer to a request: the MIME type and the file's bytes (their length is the expected length).
struct Answer {
    std::string mimeType;
    std::string bytes;

    bool operator==(const Answer&) const = default;
};

// Answers a request from the files in `fonts` (the resources' "Fonts" directory). None — to be
// reported as a missing file — when the address names no asset, or its file is missing or unreadable.
[[nodiscard]] std::optional<Answer> serve(std::string_view url, const std::filesystem::path& fonts);

} // namespace nimb::AssetScheme
