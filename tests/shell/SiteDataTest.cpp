// What sites keep in the browser: a login's cookie outlives a restart, another site's cookie set from
// inside a page is refused, and Clear Cookies and Site Data forgets them after asking.

#include "ShellTest.h"

#include "vocabulary/Language.h"

namespace nimb::test {
namespace {

class SiteDataTest : public ShellTest {
protected:
    void configure() override {
        // A site that hands out a cookie for a year, and says what cookie it was sent.
        m_proxy.route("login.example", "/", [](const HttpRequest&) {
            return HttpResponse{200,
                                "text/html; charset=utf-8",
                                {{"Set-Cookie", "session=kept; Max-Age=31536000; Path=/"}},
                                "<!doctype html><title>Login</title><p>Signed in.",
                                {}};
        });
        // A page that shows an image from another site, which tries to set a cookie of its own.
        m_proxy.route("embedding.example", "/", [](const HttpRequest&) {
            return HttpResponse{
                200,
                "text/html; charset=utf-8",
                {},
                "<!doctype html><title>Embedding</title><img src=\"http://other.example/pixel\">",
                {}};
        });
        m_proxy.route("other.example", "/pixel", [](const HttpRequest&) {
            return HttpResponse{200,
                                "image/gif",
                                {{"Set-Cookie", "tracker=1; Max-Age=31536000; Path=/"}},
                                std::string("GIF89a\x01\x00\x01\x00\x00\x00\x00\x3b", 14),
                                {}};
        });
        m_proxy.route("other.example", "/", [](const HttpRequest&) {
            return HttpResponse{
                200, "text/html; charset=utf-8", {}, "<!doctype html><title>Other</title>", {}};
        });
    }

    // The cookie each request of the engine's to the host carried ("" for none), in order (the server
    // answers on a thread of its own and keeps the log; the icon store's requests, which never carry
    // one, go without an agent).
    std::vector<std::string> sentTo(const std::string& host) const {
        std::vector<std::string> sent;
        for (const auto& request : m_proxy.requests()) {
            if (request.host != host || !request.headers.contains("user-agent")) continue;
            auto found = request.headers.find("cookie");
            sent.push_back(found == request.headers.end() ? "" : found->second);
        }
        return sent;
    }

    // The application ends and starts again on the same profile, as a user quits and comes back.
    void restart() {
        m_app.reset();
        drain();
        m_options.id += ".again";
        start();
    }
};

TEST_F(SiteDataTest, aSitesCookieOutlivesARestart) {
    ASSERT_TRUE(visit("http://login.example/"));
    ASSERT_TRUE(visit("http://login.example/"));
    EXPECT_EQ(sentTo("login.example").back(), "session=kept");

    restart();
    ASSERT_TRUE(visit("http://login.example/"));
    EXPECT_EQ(sentTo("login.example").back(), "session=kept") << "the user is still signed in";
}

TEST_F(SiteDataTest, anotherSitesCookieFromInsideAPageIsRefused) {
    ASSERT_TRUE(visit("http://embedding.example/"));
    ASSERT_TRUE(waitUntil([&] { return !sentTo("other.example").empty(); }));
    ASSERT_TRUE(visit("http://other.example/"));
    ASSERT_EQ(sentTo("other.example").size(), 2u);
    EXPECT_EQ(sentTo("other.example").back(), "") << "the image's cookie was not kept";
}

TEST_F(SiteDataTest, clearCookiesAndSiteDataAsksThenForgets) {
    ASSERT_TRUE(visit("http://login.example/"));

    // Cancelled: nothing goes.
    app().actions().activate("clearSiteData");
    auto asked = answerQuestion(false);
    EXPECT_EQ(asked.first, words().clearSiteDataQuestion());
    EXPECT_EQ(asked.second, words().clearSiteDataDetail());
    ASSERT_TRUE(visit("http://login.example/"));
    EXPECT_EQ(sentTo("login.example").back(), "session=kept");

    app().actions().activate("clearSiteData");
    answerQuestion(true);
    ASSERT_TRUE(waitForStatus(words().clearedSiteData()));
    // Forgotten on disk too: after a restart the site is sent nothing.
    restart();
    ASSERT_TRUE(visit("http://login.example/"));
    EXPECT_EQ(sentTo("login.example").back(), "") << "the site no longer knows the user";
}

} // namespace
} // namespace nimb::test
