// The favicon store against the loopback server: what it downloads, what it refuses to decode, what
// it remembers, and whom it calls back.

#include "engine/FaviconStore.h"
#include "MainLoop.h"
#include "WebTest.h"
#include "engine/FaviconDownload.h"
#include "engine/FaviconImage.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <algorithm>
#include <cstdint>
#include <tuple>

namespace nimb::test {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::string_literals;

// A solid image encoded as `format` ("png" or "ico"), or with `noise` a PNG of noise, which does not
// compress: about 4 bytes for each pixel.
std::string image(int width, int height, guint32 rgba, const char* format = "png", bool noise = false) {
    auto pixbuf = glib::adoptGRef(gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, width, height));
    gdk_pixbuf_fill(pixbuf.get(), rgba);
    std::uint32_t seed = 12345;
    std::size_t length = static_cast<std::size_t>(gdk_pixbuf_get_rowstride(pixbuf.get())) * height;
    for (std::size_t i = 0; noise && i < length; ++i) {
        seed = seed * 1664525u + 1013904223u;
        gdk_pixbuf_get_pixels(pixbuf.get())[i] = static_cast<guchar>(seed >> 24);
    }
    gchar* buffer = nullptr;
    gsize size = 0;
    gdk_pixbuf_save_to_buffer(pixbuf.get(), &buffer, &size, format, nullptr, nullptr);
    glib::GUniquePtr<gchar> owned(buffer);
    return buffer ? std::string(buffer, size) : std::string();
}

constexpr guint32 red = 0xff0000ff;
constexpr guint32 blue = 0x0000ffff;

// The smallest GIF: one red pixel.
const std::string gifPixel("GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\x00\x00\xff\xff\xff\x21\xf9\x04\x00\x00"
                           "\x00\x00\x00\x2c\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00\x3b",
                           43);

const std::string redSvg = "<?xml version=\"1.0\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"32\" "
                           "height=\"32\"><rect width=\"32\" height=\"32\" fill=\"red\"/></svg>";
const std::string zeroSvg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"0\" height=\"0\"></svg>";
const std::string errorPage = "<!doctype html><html><head><title>Not found</title></head><body>"
                              "<svg width=\"10\" height=\"10\"></svg>Nothing here.</body></html>";

// Every pixel of a texture as 0xRRGGBBAA, premultiplied, as GDK hands them out (0xAARRGGBB).
std::vector<std::uint32_t> pixels(GdkTexture* texture) {
    int width = gdk_texture_get_width(texture);
    std::vector<std::uint32_t> words(static_cast<std::size_t>(width) * gdk_texture_get_height(texture));
    gdk_texture_download(texture, reinterpret_cast<guchar*>(words.data()), static_cast<gsize>(width) * 4);
    for (auto& word : words)
        word = word << 8 | word >> 24;
    return words;
}

// Whether the texture's first pixel is this colour (0xRRGGBBAA; the ones used here are opaque).
bool is(GdkTexture* texture, guint32 rgba) {
    return texture && pixels(texture).at(0) == rgba;
}

// What a callback was given, in order. Held by the callbacks too, so an answer after a failed
// wait lands somewhere.
struct Answers {
    std::shared_ptr<std::vector<GdkTexture*>> list = std::make_shared<std::vector<GdkTexture*>>();
    FaviconStore::Callback record() const {
        return [list = list](GdkTexture* texture) { list->push_back(texture); };
    }
    const std::vector<GdkTexture*>& got() const { return *list; }
    bool wait(std::size_t count = 1) const {
        return waitUntil([&] { return list->size() >= count; }, 5s);
    }
};

Url url(std::string_view text) {
    return Url::parse(text).value();
}

HttpResponse png(guint32 colour, std::chrono::milliseconds delay = 0ms) {
    return HttpResponse{200, "image/png", {}, image(16, 16, colour), delay};
}

// Decoding and greying, without the network.
TEST(FaviconStoreDecode, decodesIconsAndRefusesEverythingElse) {
    const std::string icon = image(16, 16, red);
    struct Case {
        const char* what;
        std::string contentType, body;
        int width, height; // 0: no icon
    };
    const Case cases[] = {
        {"png", "image/png", icon, 16, 16},
        {"ico", "image/x-icon", image(16, 16, red, "ico"), 16, 16},
        {"gif", "image/gif", gifPixel, 1, 1},
        {"png labelled as bytes", "application/octet-stream", icon, 16, 16},
        {"svg", "image/svg+xml", redSvg, 32, 32},
        {"large image, scaled down", "image/png", image(300, 150, red), 128, 64},
        {"too large to hold", "image/png", image(FaviconImage::largestImage + 1, 2, red), 0, 0},
        {"zero-size svg", "image/svg+xml", zeroSvg, 0, 0},
        // The signature and the header, and not one row of pixels.
        {"png without pixels", "image/png", icon.substr(0, 33), 0, 0},
        {"empty", "image/png", "", 0, 0},
        {"an HTML page labelled as an image", "image/png", errorPage, 0, 0},
        {"an image labelled as an HTML page", "text/html; charset=utf-8", icon, 0, 0},
        {"an image labelled as XHTML", "Application/XHTML+XML", icon, 0, 0},
    };
    for (const auto& c : cases) {
        auto texture = FaviconImage::decode(c.contentType, c.body);
        ASSERT_EQ(bool(texture), c.width > 0) << c.what;
        if (!texture) continue;
        EXPECT_EQ(std::pair(gdk_texture_get_width(texture.get()), gdk_texture_get_height(texture.get())),
                  std::pair(c.width, c.height))
            << c.what;
        EXPECT_TRUE(is(texture.get(), red)) << c.what;
    }
}

TEST(FaviconStoreDecode, tellsImagesByWhatTheyStartWith) {
    const std::pair<std::string, std::optional<std::string_view>> cases[] = {
        {"\x89PNG\r\n\x1a\n"s, "png"},
        {"\xFF\xD8\xFF\xE0", "jpeg"},
        {"\0\0\1\0\1\0"s, "ico"},
        {"\0\0\2\0\1\0"s, "ico"},
        {"BM\x36\x04", "bmp"},
        {"RIFF\x10\0\0\0WEBPVP8 "s, "webp"},
        {"\xEF\xBB\xBF  <svg xmlns='http://www.w3.org/2000/svg'/>", "svg"},
        {"<!-- made by hand -->\n<svg/>", "svg"},
        {"<?xml version='1.0'?><html><svg/></html>", std::nullopt},
        {"<!DOCTYPE html><svg/>", std::nullopt},
        {"<p>plain</p>", std::nullopt},
        {"RIFF\x10\0\0\0WAVE"s, std::nullopt},
    };
    for (const auto& [body, type] : cases)
        EXPECT_EQ(FaviconImage::imageType("", body), type) << body;
}

TEST(FaviconStoreDecode, greysTheColourOutAndKeepsTheCopy) {
    // Opaque red, half-transparent green, transparent.
    const guchar rgba[] = {255, 0, 0, 255, 0, 255, 0, 128, 0, 0, 0, 0};
    auto bytes = glib::adoptGRef(g_bytes_new(rgba, sizeof rgba));
    auto colour = glib::adoptGRef(gdk_memory_texture_new(3, 1, GDK_MEMORY_R8G8B8A8, bytes.get(), 12));

    GdkTexture* grey = FaviconStore::grey(colour.get());
    ASSERT_NE(grey, nullptr);
    EXPECT_NE(grey, colour.get());
    EXPECT_EQ(FaviconStore::grey(colour.get()), grey) << "made once";
    ASSERT_EQ(gdk_texture_get_width(grey), 3);
    // Each pixel keeps its alpha and its luminance: red is dark, green is light, premultiplied.
    auto greyed = pixels(grey);
    const std::uint32_t level[] = {54, 92, 0}, alpha[] = {255, 128, 0};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_NEAR(greyed[i] >> 24, level[i], 1) << i;
        EXPECT_EQ(greyed[i] >> 8, (greyed[i] >> 24) * 0x10101) << i << ": not grey";
        EXPECT_EQ(greyed[i] & 0xff, alpha[i]) << i;
    }
    EXPECT_EQ(FaviconStore::grey(nullptr), nullptr);
}

// Against the loopback server.
class FaviconStoreTest : public WebTest {
protected:
    FaviconStore::Options options(std::chrono::milliseconds timeout = 5s) {
        return {m_proxy.address(), timeout};
    }

    // The requests the store made: it sends no user agent, the web engine always does.
    std::vector<HttpRequest> storeRequests() const {
        std::vector<HttpRequest> found;
        for (auto& request : m_proxy.requests())
            if (!request.headers.contains("user-agent")) found.push_back(request);
        return found;
    }

    std::size_t storeCount(std::string_view address) const {
        auto sent = storeRequests();
        return std::count_if(sent.begin(), sent.end(), [&](auto& request) { return request.url == address; });
    }

    // Asks for a page's icon and waits for the answer: the icon, or nullptr for none.
    static GdkTexture* ask(FaviconStore& store, std::string_view page,
                           std::optional<std::string> declared = std::nullopt) {
        Answers answers;
        store.icon(url(page), declared, answers.record());
        if (answers.wait()) return answers.got()[0];
        ADD_FAILURE() << "no answer for " << page;
        return nullptr;
    }

    // Answers requests for this host and path with the same response every time.
    void serve(std::string_view host, std::string_view path, HttpResponse response) {
        m_proxy.route(host, path, [response = std::move(response)](const HttpRequest&) { return response; });
    }

    // A download the store finishes after anything it started earlier from a server answering
    // sooner than `after`: what it must not have done by then, it has not.
    void sentinel(FaviconStore& store, std::chrono::milliseconds after = 0ms) {
        serve("sentinel.example", "/favicon.ico", png(red, after));
        EXPECT_NE(ask(store, "http://sentinel.example/"), nullptr);
    }
};

TEST_F(FaviconStoreTest, twoTabsOfOneSiteCauseOneDownload) {
    FaviconStore store(options());
    HttpResponse withCookie = png(red, 150ms);
    withCookie.headers.emplace_back("Set-Cookie", "visitor=1; Path=/");
    serve("site.example", "/favicon.ico", withCookie);
    Answers first, second, later;
    store.icon(url("http://site.example/one"), std::nullopt, first.record());
    store.icon(url("https://site.example/two?x=1"), "", second.record());
    EXPECT_TRUE(store.isFetching("site.example"));
    ASSERT_TRUE(first.wait() && second.wait());
    GdkTexture* icon = first.got()[0];
    EXPECT_EQ(first.got(), std::vector<GdkTexture*>{icon});
    EXPECT_EQ(second.got(), std::vector<GdkTexture*>{icon});
    EXPECT_EQ(store.cached("site.example"), icon);
    EXPECT_FALSE(store.isFetching("site.example"));
    // Its grey copy is made from it, and the icon itself keeps its colour.
    EXPECT_EQ(store.cached("site.example", true), FaviconStore::grey(icon));
    EXPECT_TRUE(is(icon, red));
    EXPECT_EQ(store.cached("nothing.example", true), nullptr);

    // At hand: answered before the call returns, with nothing sent.
    store.icon(url("http://site.example/three"), std::nullopt, later.record());
    EXPECT_EQ(later.got(), std::vector<GdkTexture*>{icon});
    auto sent = storeRequests();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].url, "http://site.example/favicon.ico");
    EXPECT_EQ(sent[0].headers["accept"], "image/*");

    // Another port is another site, but the cookie the first answer set is not sent to its host.
    EXPECT_NE(ask(store, "http://site.example:8080/"), nullptr);
    sent = storeRequests();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[1].url, "http://site.example:8080/favicon.ico");
    EXPECT_FALSE(sent[1].headers.contains("cookie"));
}

TEST_F(FaviconStoreTest, aDeclaredIconThatIsNoneFallsBackToTheSiteIcon) {
    FaviconStore store(options());
    serve("fallback.example", "/missing.png",
          HttpResponse{404, "text/html; charset=utf-8", {}, errorPage, {}});
    serve("fallback.example", "/favicon.ico", png(red));
    EXPECT_TRUE(is(ask(store, "http://fallback.example/page", "http://fallback.example/missing.png"), red));
    EXPECT_EQ(storeCount("http://fallback.example/missing.png"), 1u);
    EXPECT_EQ(storeCount("http://fallback.example/favicon.ico"), 1u);
    EXPECT_EQ(storeRequests().size(), 2u);
}

TEST_F(FaviconStoreTest, judgesEachAnswerAndDoesNotAskASiteWithoutIconAgain) {
    FaviconStore store(options());
    std::string tooLong = image(600, 600, red, "png", true);
    ASSERT_GT(tooLong.size(), FaviconDownload::largestBody);
    ASSERT_TRUE(FaviconImage::decode("image/png", tooLong)) << "the body alone would decode";
    const std::tuple<const char*, HttpResponse, bool> cases[] = {
        {"ok.example", png(red), true},
        {"notfound.example", HttpResponse{404, "image/png", {}, image(16, 16, red), {}}, false},
        {"nocontent.example", HttpResponse{204, "image/png", {}, "", {}}, false},
        {"moved.example",
         HttpResponse{301, "text/html", {{"Location", "http://ok.example/real.png"}}, "", {}}, true},
        {"toolong.example", HttpResponse{200, "image/png", {}, tooLong, {}}, false},
        {"page.example", HttpResponse{200, "image/png", {}, errorPage, {}}, false},
        // An image in the body does not make an answer labelled as a page an icon.
        {"labelled.example", HttpResponse{200, "text/html", {}, image(16, 16, red), {}}, false},
    };
    serve("ok.example", "/real.png", png(red));
    for (const auto& [host, response, icon] : cases) {
        serve(host, "/icon", response);
        Answers answers;
        store.fetch(host, {url(std::string("http://") + host + "/icon")}, answers.record());
        ASSERT_TRUE(answers.wait()) << host;
        EXPECT_EQ(answers.got()[0] != nullptr, icon) << host;
        EXPECT_EQ(store.isMiss(host), !icon) << host;
        EXPECT_EQ(store.cached(host) != nullptr, icon) << host;
    }
    EXPECT_TRUE(m_proxy.received("http://ok.example/real.png")) << "the redirect was followed";

    // A site without an icon is not asked again: not even for an icon its page declares later, nor for
    // another page of the site.
    const auto sent = storeRequests().size();
    Answers again;
    for (const auto& [host, response, icon] : cases) {
        if (icon) continue;
        const std::string site = std::string("http://") + host;
        store.icon(url(site + "/"), site + "/later.png", again.record());
        store.icon(url(std::string("https://") + host + "/other"), std::nullopt, again.record());
        store.fetch(host, {url(site + "/x.png")}, again.record());
        EXPECT_FALSE(store.isFetching(host)) << host;
    }
    sentinel(store);
    EXPECT_TRUE(again.got().empty());
    EXPECT_EQ(storeRequests().size(), sent + 1) << "only the sentinel's";
}

TEST_F(FaviconStoreTest, anIconSwappedByThePageReplacesTheOneAtHand) {
    FaviconStore store(options());
    serve("iconstore.example", "/red.png", png(red));
    serve("iconstore.example", "/blue.png", png(blue));
    const std::string address = "http://iconstore.example/swap.html";
    auto p = open(address);
    const auto& told = p->messages().favicon;
    ASSERT_TRUE(waitUntil([&] { return told.size() == 1; }, 3s));
    GdkTexture* first = ask(store, address, told[0]);
    EXPECT_TRUE(is(first, red));

    p->evaluate("var l = document.createElement('link'); l.rel = 'icon'; l.href = '/blue.png';"
                "document.getElementById('icon').replaceWith(l); true");
    ASSERT_TRUE(waitUntil([&] { return told.size() == 2; }, 3s));
    EXPECT_EQ(told[1], "http://iconstore.example/blue.png");
    GdkTexture* second = ask(store, address, told[1]);
    EXPECT_TRUE(is(second, blue));
    EXPECT_EQ(store.cached("iconstore.example"), second);

    // A tab of the site that has not heard of a declared icon yet gets the one at hand; swapping
    // back costs nothing, and no address was downloaded twice.
    EXPECT_EQ(ask(store, address), second);
    p->evaluate("document.querySelector('link[rel=icon]').href = '/red.png'; true");
    ASSERT_TRUE(waitUntil([&] { return told.size() == 3; }, 3s));
    EXPECT_EQ(ask(store, address, told[2]), first);
    EXPECT_EQ(storeCount("http://iconstore.example/red.png"), 1u);
    EXPECT_EQ(storeCount("http://iconstore.example/blue.png"), 1u);
    EXPECT_EQ(storeCount("http://iconstore.example/favicon.ico"), 0u);

    // A declared icon that cannot be had leaves the one at hand in place, and is not asked for again.
    EXPECT_EQ(ask(store, address, "http://iconstore.example/gone.html"), first);
    EXPECT_EQ(ask(store, address, "http://iconstore.example/gone.html"), first);
    EXPECT_EQ(storeCount("http://iconstore.example/gone.html"), 1u);
}

TEST_F(FaviconStoreTest, aFloodOfDeclaredIconsFetchesOneAndTheNewest) {
    // A page declaring icon after icon, as fast as it can: one download runs for the site, one request
    // waits behind it and the newest takes its place; the tab is told once the newest is in.
    FaviconStore store(options());
    constexpr guint32 green = 0x00ff00ff;
    constexpr int flood = 200;
    auto tab = glib::adoptGRef(g_cancellable_new());
    auto declared = [](const std::string& host, int i) {
        return "http://" + host + "/i" + std::to_string(i) + ".png";
    };
    // Serves the flood of icons, the newest green, after the delay; declares them all; waits.
    auto declareAll = [&](const std::string& host, std::chrono::milliseconds delay, Answers& told) {
        for (int i = 0; i < flood; ++i)
            serve(host, "/i" + std::to_string(i) + ".png", png(i == flood - 1 ? green : blue, delay));
        for (int i = 0; i < flood; ++i)
            store.icon(url("http://" + host + "/"), declared(host, i), told.record(), tab.get());
        EXPECT_TRUE(waitUntil([&] { return !store.isFetching(host); }, 5s)) << storeRequests().size();
        EXPECT_TRUE(is(store.cached(host), green));
        ASSERT_FALSE(told.got().empty());
        EXPECT_LE(told.got().size(), 2u);
        EXPECT_EQ(told.got().back(), store.cached(host));
    };
    serve("flood.example", "/favicon.ico", png(red));
    ASSERT_TRUE(is(ask(store, "http://flood.example/"), red));
    Answers told;
    declareAll("flood.example", 300ms, told);
    EXPECT_EQ(storeCount(declared("flood.example", 0)), 1u);
    EXPECT_EQ(storeCount(declared("flood.example", flood - 1)), 1u);
    EXPECT_EQ(storeRequests().size(), 3u) << "the site's icon, the first declared and the newest";

    // The same while the site's own icon is still coming: the site is not bare until the newest
    // declared icon has failed too, and nothing in between is tried.
    serve("early.example", "/favicon.ico", HttpResponse{404, "text/plain", {}, "no", 300ms});
    Answers early;
    store.icon(url("http://early.example/"), std::nullopt, early.record(), tab.get());
    declareAll("early.example", 0ms, early);
    EXPECT_FALSE(store.isMiss("early.example"));
    EXPECT_EQ(storeRequests().size(), 3u + 2u) << "its own icon and the newest declared";
}

TEST_F(FaviconStoreTest, aRequestGivenUpIsNotFetchedAndFewIconsAreKept) {
    // A tab that navigates away or closes gives up the icon it was waiting for: it is not fetched.
    FaviconStore::Options few = options();
    few.keptIcons = 3;
    FaviconStore store(few);
    serve("left.example", "/favicon.ico", png(red));
    serve("left.example", "/slow.png", png(blue, 300ms));
    serve("left.example", "/next.png", png(blue));
    ASSERT_NE(ask(store, "http://left.example/"), nullptr);
    auto page = glib::adoptGRef(g_cancellable_new());
    Answers left;
    store.icon(url("http://left.example/"), "http://left.example/slow.png", left.record(), page.get());
    store.icon(url("http://left.example/"), "http://left.example/next.png", left.record(), page.get());
    g_cancellable_cancel(page.get());
    ASSERT_TRUE(waitUntil([&] { return !store.isFetching("left.example"); }, 5s));
    sentinel(store);
    EXPECT_TRUE(left.got().empty());
    EXPECT_EQ(storeCount("http://left.example/next.png"), 0u);

    // Decoded icons are kept for a few addresses, the most recently used: an address that fell out
    // is downloaded again, one still kept is not.
    auto kept = [](int i) { return "http://kept.example/" + std::to_string(i) + ".png"; };
    for (int i = 0; i < 5; ++i) {
        serve("kept.example", "/" + std::to_string(i) + ".png", png(blue));
        ASSERT_TRUE(is(ask(store, "http://kept" + std::to_string(i) + ".example/", kept(i)), blue));
    }
    // Another site declaring the same addresses: the last three are at hand, the first two are not.
    for (int i : {4, 3, 2, 0, 1})
        ASSERT_TRUE(is(ask(store, "http://again" + std::to_string(i) + ".example/", kept(i)), blue));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(storeCount(kept(i)), i < 2 ? 2u : 1u) << i;
}

TEST_F(FaviconStoreTest, givesUpWhenTheServerNeverAnswers) {
    // A server that takes the request and says nothing for longer than the store waits.
    serve("silent.example", "/favicon.ico", png(red, 4s));
    FaviconStore store(options(700ms));
    auto started = Clock::now();
    EXPECT_EQ(ask(store, "http://silent.example/"), nullptr);
    auto took = Clock::now() - started;
    EXPECT_GE(took, 650ms);
    EXPECT_LT(took, 3s);
    EXPECT_TRUE(store.isMiss("silent.example"));

    // A slow answer within the time is taken.
    FaviconStore patient(options(1500ms));
    serve("slow.example", "/favicon.ico", png(red, 400ms));
    EXPECT_TRUE(is(ask(patient, "http://slow.example/"), red));
}

TEST_F(FaviconStoreTest, aClosedTabOrAGoneStoreIsNeverCalledBack) {
    FaviconStore store(options());
    serve("tabs.example", "/favicon.ico", png(red, 200ms));
    auto closing = glib::adoptGRef(g_cancellable_new());
    auto staying = glib::adoptGRef(g_cancellable_new());
    Answers closed, open;
    store.icon(url("http://tabs.example/a"), std::nullopt, closed.record(), closing.get());
    store.icon(url("http://tabs.example/b"), std::nullopt, open.record(), staying.get());
    g_cancellable_cancel(closing.get());
    ASSERT_TRUE(open.wait());
    sentinel(store);
    EXPECT_TRUE(closed.got().empty());
    EXPECT_EQ(store.cached("tabs.example"), open.got()[0]) << "the icon is kept for later tabs";

    // Not even when the answer is at hand.
    store.icon(url("http://tabs.example/a"), std::nullopt, closed.record(), closing.get());
    store.fetch("tabs.example", {url("http://tabs.example/favicon.ico")}, closed.record(), closing.get());
    EXPECT_TRUE(closed.got().empty());

    // A store that goes calls nobody: another store's download, asked later of a slower server, ends
    // after the one that went would have.
    serve("gone.example", "/favicon.ico", png(red, 200ms));
    auto going = std::make_unique<FaviconStore>(options());
    going->icon(url("http://gone.example/"), std::nullopt, closed.record());
    going.reset();
    FaviconStore other(options());
    sentinel(other, 400ms);
    EXPECT_TRUE(closed.got().empty());
}

TEST_F(FaviconStoreTest, goesThroughTheProxyItIsGiven) {
    serve("proxied.example", "/favicon.ico", png(red));
    serve("later.example", "/favicon.ico", png(red));

    // The browser hands the store the proxy it gives the web engine, through the environment.
    ::setenv("NIMB_HTTP_PROXY", m_proxy.address().c_str(), 1);
    auto fromEnvironment = FaviconStore::Options::fromEnvironment();
    ::unsetenv("NIMB_HTTP_PROXY");
    EXPECT_EQ(fromEnvironment.proxy, m_proxy.address());
    EXPECT_EQ(FaviconStore::Options::fromEnvironment().proxy, std::nullopt);
    FaviconStore store(fromEnvironment);
    EXPECT_TRUE(is(ask(store, "http://proxied.example/"), red));

    // Or told later.
    FaviconStore told(FaviconStore::Options{std::nullopt, 2s});
    told.setProxy(m_proxy.address());
    EXPECT_TRUE(is(ask(told, "http://later.example/"), red));
    EXPECT_EQ(storeCount("http://later.example/favicon.ico"), 1u);
}

} // namespace
} // namespace nimb::test
