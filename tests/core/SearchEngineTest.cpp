#include "location/SearchEngine.h"
#include "location/SearchRewrite.h"
#include "location/UserAgent.h"
#include "vocabulary/Language.h"

#include <gtest/gtest.h>

namespace nimb {
namespace {

std::string address(SearchEngine engine, std::string_view query) {
    auto found = url(engine, query);
    return found ? found->string() : "(none)";
}

TEST(SearchEngine, queryAddresses) {
    EXPECT_EQ(address(SearchEngine::ddgLite, "cats & dogs"),
              "https://lite.duckduckgo.com/lite/?q=cats%20%26%20dogs");
    EXPECT_EQ(address(SearchEngine::nimb, "x"), "https://nimb2000.net/find?q=x");
    EXPECT_EQ(address(SearchEngine::google, "a+b"), "https://www.google.com/search?q=a%2Bb");
    EXPECT_EQ(address(SearchEngine::marginalia, "small web"),
              "https://search.marginalia.nu/search?query=small%20web");
    EXPECT_EQ(address(SearchEngine::wiby, "x"), "https://wiby.me/?q=x");
    EXPECT_EQ(address(SearchEngine::none, "x"), "(none)");
    // Letters of any script are left for the address parser, which encodes them as UTF-8.
    EXPECT_EQ(address(SearchEngine::ddgLite, "кот"),
              "https://lite.duckduckgo.com/lite/?q=%D0%BA%D0%BE%D1%82");
    EXPECT_EQ(address(SearchEngine::ddgLite, ""), "https://lite.duckduckgo.com/lite/?q=");

    EXPECT_EQ(home(SearchEngine::ddgLite)->string(), "https://lite.duckduckgo.com/lite/");
    EXPECT_FALSE(home(SearchEngine::none));
}

TEST(SearchEngine, namesAndTheirLanguage) {
    setCurrentLanguage(Language::english);
    EXPECT_EQ(displayName(SearchEngine::nimb), "The NIMB 2000");
    EXPECT_EQ(displayName(SearchEngine::none), "None — URLs only");
    EXPECT_EQ(searchEngineNamed("Wiby"), SearchEngine::wiby);
    EXPECT_EQ(searchEngineNamed("wiby"), std::nullopt);
    EXPECT_EQ(searchEngineNamed("None — URLs only"), SearchEngine::none);

    setCurrentLanguage(Language::spanish);
    std::string spanish = words().urlsOnly();
    EXPECT_NE(spanish, "None — URLs only");
    EXPECT_EQ(searchEngineNamed(spanish), SearchEngine::none);
    EXPECT_EQ(searchEngineNamed("None — URLs only"), std::nullopt);
    EXPECT_EQ(searchEngineNamed("Google"), SearchEngine::google);
    setCurrentLanguage(Language::english);
}

TEST(SearchRewrite, asksGoogleForLinksOnly) {
    auto rewrite = [](std::string_view text) {
        auto result = SearchRewrite::webResults(*Url::parse(text));
        return result ? result->string() : "(none)";
    };
    EXPECT_EQ(rewrite("https://www.google.com/search?q=cats"), "https://www.google.com/search?q=cats&udm=14");
    EXPECT_EQ(rewrite("HTTP://Google.CO.UK/search?hl=en&q=a%20b#top"),
              "HTTP://Google.CO.UK/search?hl=en&q=a%20b&udm=14#top");
    EXPECT_EQ(rewrite("https://www.google.com/search?q"), "https://www.google.com/search?q&udm=14");
    EXPECT_EQ(rewrite("https://www.google.com/search?q=a&q=b"),
              "https://www.google.com/search?q=a&q=b&udm=14");
    EXPECT_EQ(rewrite("https://www.google.com/search?%71=cats"),
              "https://www.google.com/search?%71=cats&udm=14");
    // Another kind of results, another host or page, no query; an empty query before a fragment is no
    // results address either (and must not hang the reader).
    for (const char* other :
         {"https://www.google.com/search?q=cats&udm=2", "https://images.google.com/search?q=cats",
          "https://www.google.com/search/?q=cats", "https://www.google.com/search?hl=en",
          "https://www.google.com/webhp?q=cats", "/search?q=cats", "https://www.google.com/search?#q=cats",
          "https://www.google.com/search?#"})
        EXPECT_EQ(rewrite(other), "(none)") << other;
}

TEST(SearchRewrite, searchHosts) {
    for (const char* host : {"google.com", "www.google.com.", "google.co.uk", "WWW.GOOGLE.DE", "google.com."})
        EXPECT_TRUE(SearchRewrite::isSearchHost(host)) << host;
    for (const char* host :
         {"google.co.uk.evil", "google.123", "mail.google.com", "notgoogle.com", "google.", "google",
          "google..com", "google.co-uk", "www.www.google.com", "", "google.com.."})
        EXPECT_FALSE(SearchRewrite::isSearchHost(host)) << host;
}

TEST(UserAgent, claimsTheAssumedSafariWhenTold) {
    EXPECT_EQ(UserAgent::applicationName(), "Version/18.6 Safari/605.1.15");
    EXPECT_EQ(UserAgent::applicationName(""), "Version/18.6 Safari/605.1.15");
    EXPECT_EQ(UserAgent::applicationName("17.4.1"), "Version/17.4.1 Safari/605.1.15");

    // One Safari claim: the engine's own goes, its platform token stays.
    const std::string engine =
        "Mozilla/5.0 (X11; Ubuntu; Linux x86_64) AppleWebKit/605.1.15 (KHTML, like Gecko) "
        "Version/60.5 Safari/605.1.15";
    EXPECT_EQ(UserAgent::compose(engine, UserAgent::applicationName()),
              "Mozilla/5.0 (X11; Ubuntu; Linux x86_64) AppleWebKit/605.1.15 (KHTML, like Gecko) Version/18.6 "
              "Safari/605.1.15");
    EXPECT_EQ(UserAgent::compose("Odd/1.0 ", "Version/18.6 Safari/605.1.15"),
              "Odd/1.0 Version/18.6 Safari/605.1.15");
}

} // namespace
} // namespace nimb
