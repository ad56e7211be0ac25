// The blocklist's rule list in the real engine: it compiles, it comes back from the store under its
// identifier, and a page under it loses its third-party trackers and its consent wall while a listed
// host's own pages still load.

#include "ContentBlocker.h"
#include "TemporaryDirectory.h"
#include "glib/GRefPtr.h"

#include <gio/gio.h>
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <webkit/webkit.h>

#include <algorithm>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace nimb {
namespace {

struct FilterUnref {
    void operator()(WebKitUserContentFilter* filter) const { webkit_user_content_filter_unref(filter); }
};
using FilterPtr = std::unique_ptr<WebKitUserContentFilter, FilterUnref>;

// Runs the default main loop until an asynchronous call reports back, or gives up after a while so
// that a silent engine fails the test instead of hanging it.
class Wait {
public:
    Wait() : m_loop(glib::adoptGRef(g_main_loop_new(nullptr, FALSE))) {}

    void done() {
        m_done = true;
        g_main_loop_quit(m_loop.get());
    }

    // True when the call reported back in time.
    bool run(guint seconds = 30) {
        if (m_done) return true;
        guint timeout = g_timeout_add_seconds(
            seconds,
            +[](gpointer loop) {
                g_main_loop_quit(static_cast<GMainLoop*>(loop));
                return G_SOURCE_REMOVE;
            },
            m_loop.get());
        g_main_loop_run(m_loop.get());
        if (m_done) g_source_remove(timeout);
        return m_done;
    }

private:
    glib::GRefPtr<GMainLoop> m_loop;
    bool m_done = false;
};

struct FilterResult {
    FilterPtr filter;
    std::string error;
};

void take(FilterResult& result, WebKitUserContentFilter* filter, GError* error) {
    result.filter.reset(filter);
    if (error) {
        result.error = error->message;
        g_error_free(error);
    }
}

FilterResult save(WebKitUserContentFilterStore* store, const std::string& identifier,
                  std::string_view rules) {
    struct Pending {
        Wait wait;
        FilterResult result;
    } pending;
    auto bytes = glib::adoptGRef(g_bytes_new(rules.data(), rules.size()));
    webkit_user_content_filter_store_save(
        store, identifier.c_str(), bytes.get(), nullptr,
        +[](GObject* source, GAsyncResult* async, gpointer data) {
            auto* p = static_cast<Pending*>(data);
            GError* error = nullptr;
            auto* filter = webkit_user_content_filter_store_save_finish(
                WEBKIT_USER_CONTENT_FILTER_STORE(source), async, &error);
            take(p->result, filter, error);
            p->wait.done();
        },
        &pending);
    if (!pending.wait.run()) pending.result.error = "the filter store did not answer";
    return std::move(pending.result);
}

FilterResult load(WebKitUserContentFilterStore* store, const std::string& identifier) {
    struct Pending {
        Wait wait;
        FilterResult result;
    } pending;
    webkit_user_content_filter_store_load(
        store, identifier.c_str(), nullptr,
        +[](GObject* source, GAsyncResult* async, gpointer data) {
            auto* p = static_cast<Pending*>(data);
            GError* error = nullptr;
            auto* filter = webkit_user_content_filter_store_load_finish(
                WEBKIT_USER_CONTENT_FILTER_STORE(source), async, &error);
            take(p->result, filter, error);
            p->wait.done();
        },
        &pending);
    if (!pending.wait.run()) pending.result.error = "the filter store did not answer";
    return std::move(pending.result);
}

std::vector<std::string> storedIdentifiers(WebKitUserContentFilterStore* store) {
    struct Pending {
        Wait wait;
        std::vector<std::string> identifiers;
    } pending;
    webkit_user_content_filter_store_fetch_identifiers(
        store, nullptr,
        +[](GObject* source, GAsyncResult* async, gpointer data) {
            auto* p = static_cast<Pending*>(data);
            gchar** identifiers = webkit_user_content_filter_store_fetch_identifiers_finish(
                WEBKIT_USER_CONTENT_FILTER_STORE(source), async);
            for (gchar** each = identifiers; each && *each; ++each)
                p->identifiers.emplace_back(*each);
            g_strfreev(identifiers);
            p->wait.done();
        },
        &pending);
    EXPECT_TRUE(pending.wait.run());
    return pending.identifiers;
}

TEST(RuleList, compilesInTheEngineAndLoadsBackByIdentifier) {
    test::TemporaryDirectory directory;
    auto store = glib::adoptGRef(webkit_user_content_filter_store_new(directory.file("filters").c_str()));
    const std::string identifier = ContentBlocker::identifier();

    auto saved = save(store.get(), identifier, ContentBlocker::ruleListJSON());
    ASSERT_TRUE(saved.filter) << "WebKit rejected the rule list: " << saved.error;
    EXPECT_STREQ(webkit_user_content_filter_get_identifier(saved.filter.get()), identifier.c_str());

    auto loaded = load(store.get(), identifier);
    ASSERT_TRUE(loaded.filter) << loaded.error;
    EXPECT_STREQ(webkit_user_content_filter_get_identifier(loaded.filter.get()), identifier.c_str());
    EXPECT_EQ(storedIdentifiers(store.get()), std::vector<std::string>{identifier});

    // A store opened afresh over the same directory (the next launch) finds it too.
    auto reopened = glib::adoptGRef(webkit_user_content_filter_store_new(directory.file("filters").c_str()));
    auto again = load(reopened.get(), identifier);
    EXPECT_TRUE(again.filter) << again.error;
}

// The two tests above and below would pass vacuously if a rejected list went unnoticed.
TEST(RuleList, engineRejectionsAreReported) {
    test::TemporaryDirectory directory;
    auto store = glib::adoptGRef(webkit_user_content_filter_store_new(directory.file("filters").c_str()));

    auto rejected = save(store.get(), "nimb-block-broken",
                         R"json([{"action":{"type":"block"},"trigger":{"url-filter":"(a|b)"}}])json");
    EXPECT_FALSE(rejected.filter);
    EXPECT_FALSE(rejected.error.empty());

    auto missing = load(store.get(), ContentBlocker::identifier());
    EXPECT_FALSE(missing.filter);
    EXPECT_FALSE(missing.error.empty());
}

// A loopback HTTP proxy: every host name reaches it, it answers each request with the page registered
// for the address (or an empty body) and remembers every address asked for. A blocked load never
// arrives here.
class LoopbackProxy {
public:
    LoopbackProxy() : m_service(glib::adoptGRef(g_threaded_socket_service_new(8))) {
        auto address = glib::adoptGRef(g_inet_socket_address_new_from_string("127.0.0.1", 0));
        GSocketAddress* bound = nullptr;
        GError* error = nullptr;
        if (!g_socket_listener_add_address(G_SOCKET_LISTENER(m_service.get()), address.get(),
                                           G_SOCKET_TYPE_STREAM, G_SOCKET_PROTOCOL_TCP, nullptr, &bound,
                                           &error)) {
            ADD_FAILURE() << "cannot listen on the loopback interface: " << error->message;
            g_error_free(error);
            return;
        }
        m_port = g_inet_socket_address_get_port(G_INET_SOCKET_ADDRESS(bound));
        g_object_unref(bound);
        g_signal_connect(m_service.get(), "run",
                         G_CALLBACK(+[](GThreadedSocketService*, GSocketConnection* connection, GObject*,
                                        LoopbackProxy* self) -> gboolean {
                             self->serve(connection);
                             return TRUE;
                         }),
                         this);
        g_socket_service_start(G_SOCKET_SERVICE(m_service.get()));
    }

    ~LoopbackProxy() {
        g_socket_service_stop(G_SOCKET_SERVICE(m_service.get()));
        g_socket_listener_close(G_SOCKET_LISTENER(m_service.get()));
    }

    LoopbackProxy(const LoopbackProxy&) = delete;
    LoopbackProxy& operator=(const LoopbackProxy&) = delete;

    std::string uri() const { return "http://127.0.0.1:" + std::to_string(m_port); }

    // Register pages before the first request.
    void page(const std::string& address, std::string html) { m_pages[address] = std::move(html); }

    bool received(const std::string& address) const {
        std::lock_guard lock(m_mutex);
        return std::find(m_requests.begin(), m_requests.end(), address) != m_requests.end();
    }

private:
    // Runs on one of the service's threads.
    void serve(GSocketConnection* connection) {
        auto input =
            glib::adoptGRef(g_data_input_stream_new(g_io_stream_get_input_stream(G_IO_STREAM(connection))));
        g_data_input_stream_set_newline_type(input.get(), G_DATA_STREAM_NEWLINE_TYPE_CR_LF);
        std::string target;
        for (bool first = true;; first = false) {
            gsize length = 0;
            char* line = g_data_input_stream_read_line(input.get(), &length, nullptr, nullptr);
            if (!line) return;
            std::string text(line, length);
            g_free(line);
            if (text.empty()) break;
            if (first) {
                // "GET http://host/path HTTP/1.1": the proxy sees the absolute address.
                auto start = text.find(' ');
                auto end = text.rfind(' ');
                if (start != std::string::npos && end > start)
                    target = text.substr(start + 1, end - start - 1);
            }
        }
        {
            std::lock_guard lock(m_mutex);
            m_requests.push_back(target);
        }
        auto found = m_pages.find(target);
        std::string body = found == m_pages.end() ? std::string() : found->second;
        std::string response = "HTTP/1.1 200 OK\r\nContent-Type: ";
        response += found == m_pages.end() ? "application/octet-stream" : "text/html; charset=utf-8";
        response += "\r\nCache-Control: no-store\r\nConnection: close\r\nContent-Length: " +
                    std::to_string(body.size()) + "\r\n\r\n" + body;
        GOutputStream* output = g_io_stream_get_output_stream(G_IO_STREAM(connection));
        g_output_stream_write_all(output, response.data(), response.size(), nullptr, nullptr, nullptr);
        g_io_stream_close(G_IO_STREAM(connection), nullptr, nullptr);
    }

    glib::GRefPtr<GSocketService> m_service;
    guint16 m_port = 0;
    std::map<std::string, std::string> m_pages;
    mutable std::mutex m_mutex;
    std::vector<std::string> m_requests;
};

// A web view whose every load goes through `proxy`, under the compiled rule list.
class BlockedView {
public:
    BlockedView(const test::TemporaryDirectory& directory, const LoopbackProxy& proxy,
                WebKitUserContentFilter* filter) {
        m_session = glib::adoptGRef(
            webkit_network_session_new(directory.file("data").c_str(), directory.file("cache").c_str()));
        WebKitNetworkProxySettings* settings =
            webkit_network_proxy_settings_new(proxy.uri().c_str(), nullptr);
        webkit_network_session_set_proxy_settings(m_session.get(), WEBKIT_NETWORK_PROXY_MODE_CUSTOM,
                                                  settings);
        webkit_network_proxy_settings_free(settings);
        m_content = glib::adoptGRef(webkit_user_content_manager_new());
        webkit_user_content_manager_add_filter(m_content.get(), filter);
        m_view = glib::GRefPtr<GtkWidget>(
            GTK_WIDGET(g_object_new(WEBKIT_TYPE_WEB_VIEW, "network-session", m_session.get(),
                                    "user-content-manager", m_content.get(), nullptr)));
    }

    WebKitWebView* view() const { return WEBKIT_WEB_VIEW(m_view.get()); }

    bool load(const std::string& address) {
        Wait wait;
        gulong handler = g_signal_connect(view(), "load-changed",
                                          G_CALLBACK(+[](WebKitWebView*, WebKitLoadEvent event, Wait* w) {
                                              if (event == WEBKIT_LOAD_FINISHED) w->done();
                                          }),
                                          &wait);
        webkit_web_view_load_uri(view(), address.c_str());
        bool finished = wait.run();
        g_signal_handler_disconnect(view(), handler);
        return finished;
    }

    std::string evaluate(const char* script) {
        struct Pending {
            Wait wait;
            std::string text;
        } pending;
        webkit_web_view_evaluate_javascript(
            view(), script, -1, nullptr, nullptr, nullptr,
            +[](GObject* source, GAsyncResult* async, gpointer data) {
                auto* p = static_cast<Pending*>(data);
                GError* error = nullptr;
                if (JSCValue* value =
                        webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(source), async, &error)) {
                    char* text = jsc_value_to_string(value);
                    p->text = text;
                    g_free(text);
                    g_object_unref(value);
                } else {
                    p->text = std::string("error: ") + error->message;
                    g_error_free(error);
                }
                p->wait.done();
            },
            &pending);
        pending.wait.run();
        return pending.text;
    }

private:
    glib::GRefPtr<WebKitNetworkSession> m_session;
    glib::GRefPtr<WebKitUserContentManager> m_content;
    glib::GRefPtr<GtkWidget> m_view;
};

constexpr const char* displays = "Array.from(document.querySelectorAll('[data-probe]'))"
                                 ".map(e => e.id + '=' + getComputedStyle(e).display).join(' ')";

TEST(RuleList, blocksThirdPartyTrackersAndHidesConsentWalls) {
    ASSERT_TRUE(gtk_init_check()) << "no display: run under tools/run-headless";
    test::TemporaryDirectory directory;
    auto store = glib::adoptGRef(webkit_user_content_filter_store_new(directory.file("filters").c_str()));
    auto compiled = save(store.get(), ContentBlocker::identifier(), ContentBlocker::ruleListJSON());
    ASSERT_TRUE(compiled.filter) << "WebKit rejected the rule list: " << compiled.error;

    LoopbackProxy proxy;
    proxy.page("http://news.test/", R"(<!doctype html><title>news</title>
<div id="onetrust-consent-sdk" data-probe>wall</div>
<div id="sp_message_container_123" data-probe>wall</div>
<div id="story" data-probe>story</div>
<script src="http://doubleclick.net/tag.js"></script>
<script src="http://securepubads.g.doubleclick.net/tag.js"></script>
<img src="http://cdn.cookielaw.org/banner.png">
<img src="http://px.ads.linkedin.com/collect?pid=1">
<img src="http://cdn.onesignal.com/sdk.png">
<img src="http://www.facebook.com/tr?id=1&ev=PageView">
<img src="http://www.facebook.com/images/logo.png">
<img src="http://accounts.google.com/gsi/button">
<img src="http://news.test/photo.png">
<img src="http://notdoubleclick.net/photo.png">)");
    proxy.page("http://www.doubleclick.net/", R"(<!doctype html><title>own</title>
<div id="CybotCookiebotDialog" data-probe>wall</div>
<div id="about" data-probe>about</div>
<img src="http://doubleclick.net/logo.png">
<img src="http://static.doubleclick.net/logo.png">
<img src="http://criteo.com/pixel.png">)");

    BlockedView view(directory, proxy, compiled.filter.get());
    ASSERT_TRUE(view.load("http://news.test/"));
    EXPECT_EQ(view.evaluate(displays), "onetrust-consent-sdk=none sp_message_container_123=none story=block");
    for (const char* blocked :
         {"http://doubleclick.net/tag.js", "http://securepubads.g.doubleclick.net/tag.js",
          "http://cdn.cookielaw.org/banner.png", "http://px.ads.linkedin.com/collect?pid=1",
          "http://cdn.onesignal.com/sdk.png", "http://www.facebook.com/tr?id=1&ev=PageView",
          "http://accounts.google.com/gsi/button"})
        EXPECT_FALSE(proxy.received(blocked)) << blocked;
    for (const char* allowed :
         {"http://news.test/", "http://news.test/photo.png", "http://www.facebook.com/images/logo.png",
          "http://notdoubleclick.net/photo.png"})
        EXPECT_TRUE(proxy.received(allowed)) << allowed;

    // A listed host's own pages load, with their own resources; walls are hidden there too.
    ASSERT_TRUE(view.load("http://www.doubleclick.net/"));
    EXPECT_EQ(view.evaluate(displays), "CybotCookiebotDialog=none about=block");
    EXPECT_TRUE(proxy.received("http://www.doubleclick.net/"));
    EXPECT_TRUE(proxy.received("http://doubleclick.net/logo.png"));
    EXPECT_TRUE(proxy.received("http://static.doubleclick.net/logo.png"));
    EXPECT_FALSE(proxy.received("http://criteo.com/pixel.png"));
}

} // namespace
} // namespace nimb
