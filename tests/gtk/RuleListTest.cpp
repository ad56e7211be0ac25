// The blocklist's rule list alone in the real engine: a page under it loses its third-party trackers
// and its consent wall, while a listed host's own pages still load.

#include "WebTest.h"

namespace nimb::test {
namespace {

constexpr const char* displays = "Array.from(document.querySelectorAll('[data-probe]'))"
                                 ".map(e => e.id + '=' + getComputedStyle(e).display).join(' ')";

class RuleList : public WebTest {};

// The pages are tests/support/sites/news.test/ and www.doubleclick.net/.
TEST_F(RuleList, blocksThirdPartyTrackersAndHidesConsentWalls) {
    auto p = page();
    // Only the compiled list is left: what is hidden or kept from leaving is its doing.
    webkit_user_content_manager_remove_all_scripts(p->contentManager());
    ASSERT_TRUE(p->load("http://news.test/"));
    EXPECT_EQ(p->evaluate(displays), "onetrust-consent-sdk=none sp_message_container_123=none story=block");
    for (const char* blocked :
         {"http://doubleclick.net/tag.js", "http://securepubads.g.doubleclick.net/tag.js",
          "http://cdn.cookielaw.org/banner.png", "http://px.ads.linkedin.com/collect",
          "http://cdn.onesignal.com/sdk.png", "http://www.facebook.com/tr",
          "http://accounts.google.com/gsi/button"})
        EXPECT_FALSE(m_proxy.received(blocked)) << blocked;
    for (const char* allowed :
         {"http://news.test/", "http://news.test/photo.png", "http://www.facebook.com/images/logo.png",
          "http://notdoubleclick.net/photo.png"})
        EXPECT_TRUE(m_proxy.received(allowed)) << allowed;

    // A listed host's own pages load, with their own resources; walls are hidden there too.
    ASSERT_TRUE(p->load("http://www.doubleclick.net/"));
    EXPECT_EQ(p->evaluate(displays), "CybotCookiebotDialog=none about=block");
    EXPECT_TRUE(m_proxy.received("http://doubleclick.net/logo.png"));
    EXPECT_TRUE(m_proxy.received("http://static.doubleclick.net/logo.png"));
    EXPECT_FALSE(m_proxy.received("http://criteo.com/pixel.png"));
}

} // namespace
} // namespace nimb::test
