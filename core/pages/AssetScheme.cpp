#include "pages/AssetScheme.h"

#include "base/Url.h"

#include <fstream>
#include <iterator>
#include <system_error>

namespace nimb::AssetScheme {

std::optional<Asset> assetFor(std::string_view url) {
    auto parsed = Url::parse(url);
    if (!parsed) return std::nullopt;
    std::string last;
    for (const std::string& piece : parsed->view().segments()) {
        if (!piece.empty()) last = piece;
    }
    if (last.empty()) return std::nullopt;
    for (const Asset& asset : assets) {
        if (asset.name == last) return asset;
    }
    return std::nullopt;
}

std::optional<Answer> serve(std::string_view url, const std::filesystem::path& fonts) {
    auto asset = assetFor(url);
    if (!asset) return std::nullopt;
    std::filesystem::path file = fonts / std::string(asset->name);
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error) || error) return std::nullopt;
    std::ifstream stream(file, std::ios::binary);
    if (!stream) return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
    if (stream.bad()) return std::nullopt;
    return Answer{std::string(asset->mimeType), std::move(bytes)};
}

} // namespace nimb::AssetScheme
