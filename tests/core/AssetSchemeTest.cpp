#include "pages/AssetScheme.h"

#include "TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <fstream>

namespace nimb {
namespace {

TEST(AssetScheme, onlyTheLastPathPieceCountsAndOnlyTheTwoFacesAreServed) {
    const std::pair<std::string_view, std::optional<std::string_view>> cases[] = {
        {"nimb-asset:/FiraSans-Medium.ttf", "FiraSans-Medium.ttf"},
        {"nimb-asset:FiraSans-Regular.ttf", "FiraSans-Regular.ttf"},
        {"nimb-asset:/Fonts/extra/FiraSans-Regular.ttf", "FiraSans-Regular.ttf"},
        {"nimb-asset://host/FiraSans-Medium.ttf//?v=2", "FiraSans-Medium.ttf"},
        {"nimb-asset:/FiraSans-Regular.ttf/other.ttf", std::nullopt},
        {"nimb-asset:/FiraSans-Bold.ttf", std::nullopt},
        {"nimb-asset:/firasans-regular.ttf", std::nullopt},
        {"nimb-asset:/../../etc/passwd", std::nullopt},
        {"nimb-asset://host", std::nullopt},
        {"", std::nullopt},
    };
    for (auto [url, name] : cases) {
        auto asset = AssetScheme::assetFor(url);
        EXPECT_EQ(asset.has_value(), name.has_value()) << url;
        if (!asset || !name) continue;
        EXPECT_EQ(asset->name, *name);
        EXPECT_EQ(asset->mimeType, "font/ttf");
    }
}

TEST(AssetScheme, servesTheFileBytesAndFailsWhenItIsMissing) {
    test::TemporaryDirectory fonts;
    const std::string bytes("\0\1\0\0 a face\r\n\xff", 14);
    std::ofstream(fonts.file("FiraSans-Medium.ttf"), std::ios::binary) << bytes;
    std::ofstream(fonts.file("FiraSans-Bold.ttf"), std::ios::binary) << "not served";
    std::filesystem::create_directory(fonts.path() / "FiraSans-Regular.ttf");

    EXPECT_EQ(AssetScheme::serve("nimb-asset:/FiraSans-Medium.ttf", fonts.path()),
              (AssetScheme::Answer{"font/ttf", bytes}));
    // A name outside the table though on disk; a directory in place of the file; no directory at all.
    EXPECT_EQ(AssetScheme::serve("nimb-asset:/FiraSans-Bold.ttf", fonts.path()), std::nullopt);
    EXPECT_EQ(AssetScheme::serve("nimb-asset:/FiraSans-Regular.ttf", fonts.path()), std::nullopt);
    EXPECT_EQ(AssetScheme::serve("nimb-asset:/FiraSans-Medium.ttf", fonts.path() / "missing"), std::nullopt);
}

} // namespace
} // namespace nimb
