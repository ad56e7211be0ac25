// Where the browser finds the files that come with it.

#include "app/Resources.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace nimb {
namespace {

TEST(ResourcesTest, anInstalledProgramLooksUnderItsPrefix) {
    EXPECT_EQ(Resources::installedDataDirectory("/usr/local/bin/nimb"), "/usr/local/share/nimb");
    EXPECT_EQ(Resources::installedDataDirectory("/opt/nimb/bin/nimb"), "/opt/nimb/share/nimb");
}

TEST(ResourcesTest, aProgramInItsBuildTreeUsesTheSourceTreesFonts) {
    auto fonts = Resources::fontsDirectory();
    EXPECT_EQ(fonts, std::filesystem::path(NIMB_SOURCE_DIR) / "resources" / "Fonts");
    EXPECT_TRUE(std::filesystem::exists(fonts / "FiraSans-Regular.ttf"));
    EXPECT_TRUE(std::filesystem::exists(fonts / "FiraSans-Medium.ttf"));
}

} // namespace
} // namespace nimb
