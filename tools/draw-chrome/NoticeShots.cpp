// The notice about the profile drawn to PNG: a profile the user made read-only, in a window 1000
// points wide, in one 580 wide where its text wraps, and in French.

#include "Screenshots.h"

namespace nimb::test {
namespace {

class NoticeScreenshots : public ChromeScreenshots {
protected:
    void configure() override {
        ChromeScreenshots::configure();
        std::filesystem::permissions(m_directories.data,
                                     std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    }
    void TearDown() override {
        ChromeScreenshots::TearDown();
        std::filesystem::permissions(m_directories.data, std::filesystem::perms::owner_all);
    }
};

TEST_F(NoticeScreenshots, notice) {
    ASSERT_TRUE(resize(1000));
    openSites(2);
    shot("notice-read-only");
    ASSERT_TRUE(resize(580));
    shot("notice-read-only-narrow");
    app().actions().activate("chooseLanguage", "fr");
    ASSERT_TRUE(resize(1000));
    shot("notice-read-only-french", false);
}

} // namespace
} // namespace nimb::test
