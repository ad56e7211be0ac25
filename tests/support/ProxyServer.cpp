#include "ProxyServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>

namespace nimb::test {

namespace {

std::string lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
    return out;
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

bool endsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

std::string_view reason(int status) {
    static const std::map<int, std::string_view> reasons = {
        {200, "OK"},           {204, "No Content"},  {301, "Moved Permanently"}, {302, "Found"},
        {304, "Not Modified"}, {400, "Bad Request"}, {404, "Not Found"},         {405, "Method Not Allowed"}};
    auto found = reasons.find(status);
    return found == reasons.end() ? "Status" : found->second;
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

bool sendAll(int socket, std::string_view data) {
    while (!data.empty()) {
        ssize_t sent = ::send(socket, data.data(), data.size(), MSG_NOSIGNAL);
        if (sent <= 0) return false;
        data.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

// Reads from the socket into `buffer` until it holds `size` bytes or the peer is gone.
bool fill(int socket, std::string& buffer, std::size_t size) {
    char chunk[16384];
    while (buffer.size() < size) {
        ssize_t got = ::recv(socket, chunk, sizeof chunk, 0);
        if (got <= 0) return false;
        buffer.append(chunk, static_cast<std::size_t>(got));
    }
    return true;
}

// Reads until `buffer` holds `marker`; returns its position.
std::size_t fillUntil(int socket, std::string& buffer, std::string_view marker, std::size_t from = 0) {
    char chunk[16384];
    for (;;) {
        auto at = buffer.find(marker, from);
        if (at != std::string::npos) return at;
        if (buffer.size() > (1u << 24)) return std::string::npos;
        ssize_t got = ::recv(socket, chunk, sizeof chunk, 0);
        if (got <= 0) return std::string::npos;
        buffer.append(chunk, static_cast<std::size_t>(got));
    }
}

// Parses "http://host:port/path?query" or an origin-form target with the Host header.
void locate(HttpRequest& request) {
    std::string_view target = request.target;
    std::string authority;
    std::string_view rest;
    if (auto scheme = target.find("://"); scheme != std::string_view::npos && !target.starts_with("/")) {
        auto start = scheme + 3;
        auto end = target.find_first_of("/?#", start);
        authority = std::string(target.substr(start, end == std::string_view::npos ? end : end - start));
        rest = end == std::string_view::npos ? std::string_view("/") : target.substr(end);
    } else {
        auto host = request.headers.find("host");
        authority = host == request.headers.end() ? std::string() : host->second;
        rest = target;
    }
    std::string host = lower(authority);
    if (auto at = host.rfind('@'); at != std::string::npos) host = host.substr(at + 1);
    if (!host.starts_with("[")) {
        if (auto colon = host.rfind(':'); colon != std::string::npos) host = host.substr(0, colon);
    }
    request.host = host;
    if (auto hash = rest.find('#'); hash != std::string_view::npos) rest = rest.substr(0, hash);
    auto question = rest.find('?');
    request.path = std::string(rest.substr(0, question));
    if (request.path.empty()) request.path = "/";
    request.query =
        question == std::string_view::npos ? std::string() : std::string(rest.substr(question + 1));
    request.url = "http://" + authority + std::string(rest);
}

std::string withoutQuery(std::string_view url) {
    auto cut = url.find_first_of("?#");
    return std::string(url.substr(0, cut));
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
    m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_listener < 0) return false;
    int yes = 1;
    ::setsockopt(m_listener, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    if (::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(m_listener, 128) != 0) {
        ::close(m_listener);
        m_listener = -1;
        return false;
    }
    socklen_t length = sizeof address;
    ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length);
    m_port = ntohs(address.sin_port);
    m_stopping = false;
    m_acceptor = std::thread([this] { acceptLoop(); });
    return true;
}

void ProxyServer::stop() {
    if (m_listener < 0) return;
    std::vector<std::thread> workers;
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
        for (int client : m_clients)
            ::shutdown(client, SHUT_RDWR);
    }
    ::shutdown(m_listener, SHUT_RDWR);
    if (m_acceptor.joinable()) m_acceptor.join();
    {
        std::lock_guard lock(m_mutex);
        workers.swap(m_workers);
    }
    for (auto& worker : workers)
        worker.join();
    ::close(m_listener);
    m_listener = -1;
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
    std::lock_guard lock(m_mutex);
    std::string wanted = withoutQuery(url);
    return static_cast<std::size_t>(std::count_if(
        m_log.begin(), m_log.end(), [&](const HttpRequest& r) { return withoutQuery(r.url) == wanted; }));
}

void ProxyServer::clearLog() {
    std::lock_guard lock(m_mutex);
    m_log.clear();
}

void ProxyServer::acceptLoop() {
    for (;;) {
        int client = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        std::lock_guard lock(m_mutex);
        if (client < 0 || m_stopping) {
            if (client >= 0) ::close(client);
            return;
        }
        m_clients.push_back(client);
        m_workers.emplace_back([this, client] { serve(client); });
    }
}

void ProxyServer::serve(int socket) {
    std::string buffer;
    for (;;) {
        auto end = fillUntil(socket, buffer, "\r\n\r\n");
        if (end == std::string::npos) break;
        HttpRequest request;
        request.arrived = std::chrono::steady_clock::now();
        std::istringstream head(buffer.substr(0, end));
        buffer.erase(0, end + 4);
        std::string line;
        std::getline(head, line);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::istringstream words(line);
        std::string version;
        words >> request.method >> request.target >> version;
        while (std::getline(head, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            auto colon = line.find(':');
            if (colon == std::string::npos) continue;
            request.headers[lower(trim(std::string_view(line).substr(0, colon)))] =
                std::string(trim(std::string_view(line).substr(colon + 1)));
        }
        locate(request);

        bool ok = true;
        if (auto length = request.headers.find("content-length"); length != request.headers.end()) {
            std::size_t size = std::strtoull(length->second.c_str(), nullptr, 10);
            ok = fill(socket, buffer, size);
            if (ok) {
                request.body = buffer.substr(0, size);
                buffer.erase(0, size);
            }
        } else if (lower(request.headers["transfer-encoding"]).find("chunked") != std::string::npos) {
            for (;;) {
                auto lineEnd = fillUntil(socket, buffer, "\r\n");
                if (lineEnd == std::string::npos) {
                    ok = false;
                    break;
                }
                std::size_t size = std::strtoull(buffer.substr(0, lineEnd).c_str(), nullptr, 16);
                buffer.erase(0, lineEnd + 2);
                if (!fill(socket, buffer, size + 2)) {
                    ok = false;
                    break;
                }
                request.body += buffer.substr(0, size);
                buffer.erase(0, size + 2);
                if (size == 0) break;
            }
        }
        if (!ok) break;

        {
            std::lock_guard lock(m_mutex);
            m_log.push_back(request);
        }
        HttpResponse response = respond(request);
        if (response.delay.count() > 0) std::this_thread::sleep_for(response.delay);

        std::string out = "HTTP/1.1 " + std::to_string(response.status) + " " +
                          std::string(reason(response.status)) + "\r\n";
        out += "Content-Type: " + response.contentType + "\r\n";
        out += "Content-Length: " + std::to_string(response.body.size()) + "\r\n";
        bool cacheSet = false;
        for (const auto& [name, value] : response.headers) {
            out += name + ": " + value + "\r\n";
            if (lower(name) == "cache-control") cacheSet = true;
        }
        // Nothing is cached, so that every test sees every request its page makes.
        if (!cacheSet) out += "Cache-Control: no-store\r\n";
        bool close = lower(request.headers["connection"]) == "close" ||
                     lower(request.headers["proxy-connection"]) == "close";
        out += close ? "Connection: close\r\n" : "Connection: keep-alive\r\n";
        out += "\r\n";
        if (request.method != "HEAD") out += response.body;
        if (!sendAll(socket, out) || close) break;
    }
    std::lock_guard lock(m_mutex);
    m_clients.erase(std::remove(m_clients.begin(), m_clients.end(), socket), m_clients.end());
    ::close(socket);
}

HttpResponse ProxyServer::respond(const HttpRequest& request) {
    if (request.method == "CONNECT") return HttpResponse{405, "text/plain", {}, "no tunnels here", {}};
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
    if (endsWith(path, "/")) path += "index.html";
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
            std::string name(trim(std::string_view(line).substr(0, colon)));
            std::string value(trim(std::string_view(line).substr(colon + 1)));
            std::string key = lower(name);
            if (key == "status")
                response.status = std::atoi(value.c_str());
            else if (key == "content-type")
                response.contentType = value;
            else if (key == "delay")
                response.delay = std::chrono::milliseconds(std::atoi(value.c_str()));
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
    if (extension == "png" || extension == "gif" || extension == "jpg" || extension == "jpeg" ||
        extension == "ico" || extension == "webp")
        return HttpResponse{200, "image/gif", {}, pixel(), {}};
    if (request.method == "POST") return HttpResponse{204, "text/plain", {}, "", {}};
    return HttpResponse{404, "text/plain; charset=utf-8", {}, "not here", {}};
}

} // namespace nimb::test
