#pragma once

// A loopback HTTP proxy for the real-engine tests. The web engine is pointed at it as its proxy, so
// it sends every request here in absolute form ("GET http://news.example/a.js HTTP/1.1") whatever
// the host, and the server answers from fixture directories keyed by host: tests/support/sites/
// <host>/<path>. Every request that arrives is logged, so a test can tell what the page really
// fetched and what the rule list kept from leaving.
//
// Fixture files:
// - "/" and paths ending in "/" serve index.html;
// - a file may have a sidecar "<name>.headers" with one "Name: value" header per line
//   (Content-Type, Set-Cookie, Status: 404 ...);
// - text files may hold {{name}} placeholders, filled from setVariables();
// - anything not found is answered by its extension: empty script or style, a 1x1 image, else 404.
// Routes registered by a test take precedence over files.

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

struct _GMainLoop;
struct _SoupServerMessage;

namespace nimb::test {

struct HttpRequest {
    std::string method;
    std::string url;                            // absolute: "http://host[:port]/path?query"
    std::string host;                           // lower-case, without port
    std::string path;                           // "/path", without the query
    std::string query;                          // without "?"
    std::map<std::string, std::string> headers; // names lower-cased
    std::string body;
};

struct HttpResponse {
    int status = 200; // 0: no answer, the connection is closed

    std::string contentType = "text/html; charset=utf-8";
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    std::chrono::milliseconds delay{0};
};

class ProxyServer {
public:
    using Handler = std::function<HttpResponse(const HttpRequest&)>;

    explicit ProxyServer(std::filesystem::path sites = defaultSites());
    ~ProxyServer();
    ProxyServer(const ProxyServer&) = delete;
    ProxyServer& operator=(const ProxyServer&) = delete;

    // Listens on 127.0.0.1 at a free port, answering on a thread of its own. False when no socket could
    // be had.
    bool start();
    void stop();
    [[nodiscard]] int port() const { return m_port; }
    // "http://127.0.0.1:<port>", for the engine's proxy settings.
    [[nodiscard]] std::string address() const;

    // {{name}} placeholders of text fixtures are replaced by these values.
    void setVariables(std::map<std::string, std::string> variables);
    // Answers requests for this host and path (query ignored) with the handler, before any file.
    void route(std::string_view host, std::string_view path, Handler handler);
    // Answers requests for this host and path with the same body every time, after the delay.
    void answer(std::string_view host, std::string_view path, std::string body,
                std::chrono::milliseconds delay = {}, std::string contentType = "text/html; charset=utf-8");

    // Every request that has arrived, in order of arrival.
    [[nodiscard]] std::vector<HttpRequest> requests() const;
    // Whether a request for this host arrived (any path); or for this absolute address, query aside.
    [[nodiscard]] bool receivedHost(std::string_view host) const;
    [[nodiscard]] bool received(std::string_view url) const;
    [[nodiscard]] std::size_t count(std::string_view url) const;
    void clearLog();

    [[nodiscard]] static std::filesystem::path defaultSites();

private:
    void handle(_SoupServerMessage* message);
    HttpResponse respond(const HttpRequest& request);
    HttpResponse fromFile(const HttpRequest& request);

    std::filesystem::path m_sites;
    int m_port = 0;
    std::thread m_thread;
    _GMainLoop* m_loop = nullptr;

    mutable std::mutex m_mutex;
    std::vector<HttpRequest> m_log;
    std::map<std::string, std::string> m_variables;
    std::map<std::string, Handler> m_routes;
};

} // namespace nimb::test
