// The page of a failed load names the address and what failed as text, and offers again only an
// address a page may link to.

#include "pages/FailedPage.h"
#include "vocabulary/Language.h"

#include <gtest/gtest.h>

namespace nimb {
namespace {

TEST(FailedPageTest, namesTheAddressAndWhatFailedAsTextAndOffersOnlyWebAddressesAgain) {
    setCurrentLanguage(Language::french);
    std::string page = FailedPage::html(FailedPage::Why::loadFailed,
                                        "http://x.example/?a=\"><script>alert(1)</script>", "<b>refused</b>");
    EXPECT_NE(page.find("<title>http://x.example/?a=&quot;&gt;&lt;script&gt;"), std::string::npos) << page;
    EXPECT_EQ(page.find("<script>"), std::string::npos);
    EXPECT_NE(page.find("&lt;b&gt;refused&lt;/b&gt;"), std::string::npos);
    EXPECT_NE(page.find(words().couldNotOpen()), std::string::npos);
    EXPECT_NE(page.find(">" + words().tryAgain() + "</a>"), std::string::npos);

    std::string ended = FailedPage::html(FailedPage::Why::processEnded, "https://y.example/", "");
    EXPECT_NE(ended.find(words().stoppedWorking()), std::string::npos);
    EXPECT_NE(ended.find("href=\"https://y.example/\">" + words().reload() + "</a>"), std::string::npos);
    EXPECT_EQ(ended.find("class=\"why\""), std::string::npos) << "nothing said when nothing is known";

    for (const char* address : {"javascript:alert(1)", "nimb://report-keep", "data:text/html,x"})
        EXPECT_EQ(FailedPage::html(FailedPage::Why::loadFailed, address, "x").find("href="),
                  std::string::npos)
            << address;
    setCurrentLanguage(Language::english);
}

} // namespace
} // namespace nimb
