// The loopback proxy the real-engine tests stand on: what it serves for a host, and what it logs.

#include "ProxyServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace nimb::test {
namespace {

// Sends raw bytes to the proxy and reads until it closes the connection.
std::string talk(int port, const std::string& request) {
    int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(s);
        return {};
    }
    ::send(s, request.data(), request.size(), 0);
    std::string answer;
    char buffer[4096];
    for (ssize_t got; (got = ::recv(s, buffer, sizeof buffer, 0)) > 0;)
        answer.append(buffer, static_cast<std::size_t>(got));
    ::close(s);
    return answer;
}

std::string get(int port, const std::string& url) {
    return talk(port, "GET " + url + " HTTP/1.1\r\nHost: ignored\r\nConnection: close\r\n\r\n");
}

TEST(ProxyServer, servesFixturesByHostWithTheirHeaders) {
    ProxyServer proxy;
    ASSERT_TRUE(proxy.start());
    proxy.setVariables({{"who", "the test"}});

    std::string hello = get(proxy.port(), "http://Proxy.Example:8080/hello.txt?x=1");
    EXPECT_TRUE(hello.starts_with("HTTP/1.1 200 OK\r\n")) << hello;
    EXPECT_NE(hello.find("Content-Type: text/x-special\r\n"), std::string::npos);
    EXPECT_NE(hello.find("Set-Cookie: a=1\r\nSet-Cookie: b=2\r\n"), std::string::npos);
    EXPECT_NE(hello.find("Cache-Control: no-store\r\n"), std::string::npos);
    EXPECT_TRUE(hello.ends_with("\r\n\r\nHello the test, from the test.\n")) << hello;

    EXPECT_TRUE(get(proxy.port(), "http://proxy.example/dir/").starts_with("HTTP/1.1 404"));
    // What no fixture holds is answered by its kind, and escaping the fixtures is not possible.
    EXPECT_TRUE(get(proxy.port(), "http://nowhere.example/a/b.js").starts_with("HTTP/1.1 200"));
    EXPECT_NE(get(proxy.port(), "http://nowhere.example/p.png").find("GIF89a"), std::string::npos);
    EXPECT_TRUE(get(proxy.port(), "http://nowhere.example/page").starts_with("HTTP/1.1 404"));
    EXPECT_TRUE(
        get(proxy.port(), "http://proxy.example/../news.example/recorder.html").starts_with("HTTP/1.1 404"));

    proxy.route("routed.example", "/r", [](const HttpRequest& r) {
        return HttpResponse{200, "text/plain", {}, r.method + " " + r.query + " " + r.body, {}};
    });
    std::string posted =
        talk(proxy.port(), "POST http://routed.example/r?q=1 HTTP/1.1\r\nHost: routed.example\r\n"
                           "Transfer-Encoding: chunked\r\nConnection: close\r\n\r\n"
                           "3\r\nabc\r\n2\r\nde\r\n0\r\n\r\n");
    EXPECT_TRUE(posted.ends_with("POST q=1 abcde")) << posted;

    auto log = proxy.requests();
    ASSERT_EQ(log.size(), 7u);
    EXPECT_EQ(log[0].host, "proxy.example");
    EXPECT_EQ(log[0].path, "/hello.txt");
    EXPECT_EQ(log[0].url, "http://Proxy.Example:8080/hello.txt?x=1");
    EXPECT_TRUE(proxy.received("http://nowhere.example/p.png"));
    EXPECT_TRUE(proxy.receivedHost("ROUTED.example"));
    EXPECT_FALSE(proxy.receivedHost("news.example"));
    EXPECT_EQ(log[6].body, "abcde");
    proxy.stop();
}

} // namespace
} // namespace nimb::test
