#include "ProxyServer.h"
#include "base/Text.h"

#include <libsoup/soup.h>

#include <algorithm>
#include <fstream>
#include <future>

namespace nimb::test {

namespace {

std::string lower(std::string_view text) {
    return text::asciiLowercased(text);
}

std::string trim(std::string_view text) {
    return std::string(text::trimmed(text));
}

std::string extensionOf(std::string_view path) {
    auto slash = path.rfind('/');
    auto dot = path.rfind('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return {};
    return lower(path.substr(dot + 1));
}

std::string contentTypeFor(const std::string& extension) {
    static const std::map<std::string, std::string> types = {
        {"html", "text/html; charset=utf-8"},
        {"htm", "text/html; charset=utf-8"},
        {"js", "application/javascript; charset=utf-8"},
        {"css", "text/css; charset=utf-8"},
        {"json", "application/json"},
        {"txt", "text/plain; charset=utf-8"},
        {"svg", "image/svg+xml"},
        {"png", "image/png"},
        {"gif", "image/gif"},
        {"ico", "image/x-icon"},
        {"jpg", "image/jpeg"},
        {"jpeg", "image/jpeg"},
        {"webp", "image/webp"},
    };
    auto found = types.find(extension);
    return found == types.end() ? "application/octet-stream" : found->second;
}

bool isText(const std::string& contentType) {
    return contentType.starts_with("text/") || contentType.starts_with("application/javascript") ||
           contentType.starts_with("application/json") || contentType.starts_with("image/svg");
}

// The smallest GIF: one transparent pixel.
const std::string& pixel() {
    static const std::string gif(
        "GIF89a\x01\x00\x01\x00\x80\x00\x00\x00\x00\x00\xff\xff\xff\x21\xf9\x04\x01\x00"
        "\x00\x00\x00\x2c\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00\x3b",
        43);
    return gif;
}

// The request as the proxy logs it: libsoup has read the absolute form, the headers and the body.
HttpRequest requestOf(SoupServerMessage* message) {
    HttpRequest request;
    request.method = soup_server_message_get_method(message);
    GUri* uri = soup_server_message_get_uri(message);
    const char* host = g_uri_get_host(uri);
    request.host = lower(host ? host : "");
    request.path = *g_uri_get_path(uri) ? g_uri_get_path(uri) : "/";
    request.query = g_uri_get_query(uri) ? g_uri_get_query(uri) : "";
    // libsoup fills in the default port; the logged address names only another.
    int port = g_uri_get_port(uri);
    request.url = "http://" + std::string(host ? host : "") +
                  (port > 0 && port != 80 ? ":" + std::to_string(port) : "") + request.path +
                  (g_uri_get_query(uri) ? "?" + request.query : "");
    soup_message_headers_foreach(
        soup_server_message_get_request_headers(message),
        +[](const char* name, const char* value, gpointer headers) {
            (*static_cast<std::map<std::string, std::string>*>(headers))[lower(name)] = value;
        },
        &request.headers);
    SoupMessageBody* body = soup_server_message_get_request_body(message);
    if (body->length > 0) request.body.assign(body->data, static_cast<std::size_t>(body->length));
    return request;
}

void send(SoupServerMessage* message, const HttpResponse& response) {
    soup_server_message_set_status(message, static_cast<guint>(response.status), nullptr);
    SoupMessageHeaders* headers = soup_server_message_get_response_headers(message);
    // Nothing is cached unless the answer says otherwise, so that every test sees every request its
    // page makes.
    soup_message_headers_append(headers, "Cache-Control", "no-store");
    for (const auto& [name, value] : response.headers) {
        if (lower(name) == "cache-control") soup_message_headers_remove(headers, "Cache-Control");
        soup_message_headers_append(headers, name.c_str(), value.c_str());
    }
    soup_server_message_set_response(message, response.contentType.c_str(), SOUP_MEMORY_COPY,
                                     response.body.data(), response.body.size());
}

} // namespace

ProxyServer::ProxyServer(std::filesystem::path sites) : m_sites(std::move(sites)) {}

ProxyServer::~ProxyServer() {
    stop();
}

std::filesystem::path ProxyServer::defaultSites() {
#ifdef NIMB_TEST_SITES_DIR
    return NIMB_TEST_SITES_DIR;
#else
    return std::filesystem::path(__FILE__).parent_path() / "sites";
#endif
}

bool ProxyServer::start() {
    std::promise<int> listening;
    auto port = listening.get_future();
    // Everything of the server lives on its thread, in a main context of its own, so that it answers
    // whatever the test's own thread is doing.
    m_thread = std::thread([this, &listening] {
        GMainContext* context = g_main_context_new();
        g_main_context_push_thread_default(context);
        SoupServer* server = soup_server_new(nullptr, nullptr);
        soup_server_add_handler(
            server, nullptr,
            +[](SoupServer*, SoupServerMessage* message, const char*, GHashTable*, gpointer self) {
                static_cast<ProxyServer*>(self)->handle(message);
            },
            this, nullptr);
        GSList* uris = soup_server_listen_local(server, 0, SOUP_SERVER_LISTEN_IPV4_ONLY, nullptr)
                           ? soup_server_get_uris(server)
                           : nullptr;
        if (uris) m_loop = g_main_loop_new(context, FALSE);
        listening.set_value(uris ? g_uri_get_port(static_cast<GUri*>(uris->data)) : 0);
        g_slist_free_full(uris, reinterpret_cast<GDestroyNotify>(g_uri_unref));
        if (m_loop) g_main_loop_run(m_loop);
        soup_server_disconnect(server);
        g_object_unref(server);
        g_main_context_pop_thread_default(context);
        g_main_context_unref(context);
    });
    m_port = port.get();
    if (!m_port) m_thread.join();
    return m_port != 0;
}

void ProxyServer::stop() {
    if (!m_loop) return;
    // Quit from inside the loop: a quit asked before the thread has begun to run the loop would be
    // forgotten when it does.
    GSource* quit = g_idle_source_new();
    g_source_set_callback(
        quit,
        +[](gpointer loop) {
            g_main_loop_quit(static_cast<GMainLoop*>(loop));
            return G_SOURCE_REMOVE;
        },
        m_loop, nullptr);
    g_source_attach(quit, g_main_loop_get_context(m_loop));
    g_source_unref(quit);
    m_thread.join();
    g_main_loop_unref(m_loop);
    m_loop = nullptr;
}

std::string ProxyServer::address() const {
    return "http://127.0.0.1:" + std::to_string(m_port);
}

void ProxyServer::setVariables(std::map<std::string, std::string> variables) {
    std::lock_guard lock(m_mutex);
    m_variables = std::move(variables);
}

void ProxyServer::route(std::string_view host, std::string_view path, Handler handler) {
    std::lock_guard lock(m_mutex);
    m_routes[lower(host) + std::string(path)] = std::move(handler);
}

void ProxyServer::answer(std::string_view host, std::string_view path, std::string body,
                         std::chrono::milliseconds delay, std::string contentType) {
    HttpResponse response;
    response.contentType = std::move(contentType);
    response.body = std::move(body);
    response.delay = delay;
    route(host, path, [response = std::move(response)](const HttpRequest&) { return response; });
}

std::vector<HttpRequest> ProxyServer::requests() const {
    std::lock_guard lock(m_mutex);
    return m_log;
}

bool ProxyServer::receivedHost(std::string_view host) const {
    std::lock_guard lock(m_mutex);
    std::string wanted = lower(host);
    return std::any_of(m_log.begin(), m_log.end(), [&](const HttpRequest& r) { return r.host == wanted; });
}

bool ProxyServer::received(std::string_view url) const {
    return count(url) > 0;
}

std::size_t ProxyServer::count(std::string_view url) const {
    auto withoutQuery = [](std::string_view address) {
        return address.substr(0, address.find_first_of("?#"));
    };
    std::lock_guard lock(m_mutex);
    return static_cast<std::size_t>(std::count_if(m_log.begin(), m_log.end(), [&](const HttpRequest& r) {
        return withoutQuery(r.url) == withoutQuery(url);
    }));
}

void ProxyServer::clearLog() {
    std::lock_guard lock(m_mutex);
    m_log.clear();
}

void ProxyServer::handle(SoupServerMessage* message) {
    HttpRequest request = requestOf(message);
    {
        std::lock_guard lock(m_mutex);
        m_log.push_back(request);
    }
    HttpResponse response = respond(request);
    if (response.status == 0) {
        GIOStream* stream = soup_server_message_steal_connection(message);
        g_io_stream_close(stream, nullptr, nullptr);
        g_object_unref(stream);
        return;
    }
    if (response.delay.count() <= 0) return send(message, response);
    // A late answer waits on the server's loop, so that the others are answered meanwhile.
    struct Late {
        SoupServerMessage* message;
        HttpResponse response;
    };
    soup_server_message_pause(message);
    GSource* timer = g_timeout_source_new(static_cast<guint>(response.delay.count()));
    g_source_set_callback(
        timer,
        +[](gpointer data) -> gboolean {
            auto* late = static_cast<Late*>(data);
            send(late->message, late->response);
            soup_server_message_unpause(late->message);
            return G_SOURCE_REMOVE;
        },
        new Late{SOUP_SERVER_MESSAGE(g_object_ref(message)), std::move(response)},
        +[](gpointer data) {
            auto* late = static_cast<Late*>(data);
            g_object_unref(late->message);
            delete late;
        });
    g_source_attach(timer, g_main_context_get_thread_default());
    g_source_unref(timer);
}

HttpResponse ProxyServer::respond(const HttpRequest& request) {
    // No tunnels here: the connection is closed, as an unreachable secure server's would fail.
    if (request.method == "CONNECT") return HttpResponse{0, {}, {}, {}, {}};
    Handler handler;
    {
        std::lock_guard lock(m_mutex);
        auto found = m_routes.find(request.host + request.path);
        if (found != m_routes.end()) handler = found->second;
    }
    if (handler) return handler(request);
    return fromFile(request);
}

HttpResponse ProxyServer::fromFile(const HttpRequest& request) {
    std::string path = request.path;
    if (path.ends_with("/")) path += "index.html";
    std::filesystem::path relative = std::filesystem::path(path).relative_path();
    bool safe = !request.host.empty() && request.host.find('/') == std::string::npos &&
                request.host != ".." &&
                std::none_of(relative.begin(), relative.end(), [](const auto& part) { return part == ".."; });
    std::filesystem::path file = m_sites / request.host / relative;
    std::string extension = extensionOf(path);

    HttpResponse response;
    std::error_code error;
    if (safe && std::filesystem::is_regular_file(file, error)) {
        std::ifstream in(file, std::ios::binary);
        response.body.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        response.contentType = contentTypeFor(extension);
        std::ifstream sidecar(file.string() + ".headers");
        std::string line;
        while (std::getline(sidecar, line)) {
            auto colon = line.find(':');
            if (colon == std::string::npos) continue;
            std::string name = trim(line.substr(0, colon));
            std::string value = trim(line.substr(colon + 1));
            if (lower(name) == "status")
                response.status = std::atoi(value.c_str());
            else if (lower(name) == "content-type")
                response.contentType = value;
            else
                response.headers.emplace_back(name, value);
        }
        if (isText(response.contentType)) {
            std::lock_guard lock(m_mutex);
            for (const auto& [name, value] : m_variables) {
                std::string placeholder = "{{" + name + "}}";
                for (auto at = response.body.find(placeholder); at != std::string::npos;
                     at = response.body.find(placeholder, at + value.size()))
                    response.body.replace(at, placeholder.size(), value);
            }
        }
        return response;
    }

    // Whatever a page asks for and no fixture holds is answered by its kind.
    if (extension == "js") return HttpResponse{200, contentTypeFor("js"), {}, "", {}};
    if (extension == "css") return HttpResponse{200, contentTypeFor("css"), {}, "", {}};
    if (extension == "json") return HttpResponse{200, contentTypeFor("json"), {}, "{}", {}};
    if (contentTypeFor(extension).starts_with("image/") && extension != "svg")
        return HttpResponse{200, "image/gif", {}, pixel(), {}};
    if (request.method == "POST") return HttpResponse{204, "text/plain", {}, "", {}};
    return HttpResponse{404, "text/plain; charset=utf-8", {}, "not here", {}};
}

} // namespace nimb::test
