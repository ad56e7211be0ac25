// The real program, launched as the desktop launches it: one instance, to which later launches hand
// their addresses (new tabs) or their wish for a new window, and then exit.

#include "MainLoop.h"
#include "ProxyServer.h"

#include <glib.h>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace nimb::test {
namespace {

using namespace std::chrono_literals;

class LaunchTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!g_getenv("DISPLAY")) GTEST_SKIP() << "no display: run under tools/run-headless";
        ASSERT_TRUE(m_proxy.start());
        g_setenv("NIMB_HTTP_PROXY", m_proxy.address().c_str(), TRUE);
    }

    void TearDown() override {
        if (m_primary) {
            kill(m_primary, SIGTERM);
            waitFor(m_primary, 10s);
        }
        m_proxy.stop();
    }

    // Starts the program with the arguments; its process id.
    GPid launch(const std::vector<std::string>& arguments) {
        std::vector<std::string> command{NIMB_BINARY};
        command.insert(command.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (auto& part : command)
            argv.push_back(part.data());
        argv.push_back(nullptr);
        GPid pid = 0;
        GError* error = nullptr;
        bool started = g_spawn_async(nullptr, argv.data(), nullptr, G_SPAWN_DO_NOT_REAP_CHILD, nullptr,
                                     nullptr, &pid, &error);
        if (error) g_error_free(error);
        return started ? pid : 0;
    }

    // Waits for a process to end; its wait status, or none when it did not end in time.
    std::optional<int> waitFor(GPid pid, std::chrono::milliseconds deadline) {
        std::optional<int> result;
        g_child_watch_add(
            pid,
            +[](GPid child, int status, gpointer data) {
                *static_cast<std::optional<int>*>(data) = status;
                g_spawn_close_pid(child);
            },
            &result);
        waitUntil([&] { return result.has_value(); }, deadline);
        return result;
    }

    bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds deadline) {
        return test::waitUntil(condition, deadline);
    }

    // How many windows of the program are on the screen.
    int windows() {
        char* out = nullptr;
        const char* argv[] = {"xdotool", "search", "--onlyvisible", "--name", "The NIMB 2000", nullptr};
        g_spawn_sync(nullptr, const_cast<char**>(argv), nullptr, G_SPAWN_SEARCH_PATH, nullptr, nullptr, &out,
                     nullptr, nullptr, nullptr);
        int count = 0;
        for (const char* c = out; c && *c; ++c)
            count += *c == '\n';
        g_free(out);
        return count;
    }

    ProxyServer m_proxy;
    GPid m_primary = 0;
};

TEST_F(LaunchTest, laterLaunchesHandTheirWorkToTheFirst) {
    m_primary = launch({"http://browse.example/"});
    ASSERT_TRUE(m_primary);
    ASSERT_TRUE(waitUntil([&] { return m_proxy.received("http://browse.example/"); }, 30s));
    ASSERT_TRUE(waitUntil([&] { return windows() == 1; }, 10s));

    // An address from a second launch opens in a new tab of the first instance; the second ends.
    GPid second = launch({"http://browse.example/second.html"});
    auto status = waitFor(second, 20s);
    ASSERT_TRUE(status);
    EXPECT_TRUE(g_spawn_check_wait_status(*status, nullptr));
    EXPECT_TRUE(waitUntil([&] { return m_proxy.received("http://browse.example/second.html"); }, 20s));
    EXPECT_EQ(windows(), 1);

    // A launch without addresses asks the first instance for a new window.
    GPid third = launch({});
    status = waitFor(third, 20s);
    ASSERT_TRUE(status);
    EXPECT_TRUE(g_spawn_check_wait_status(*status, nullptr));
    EXPECT_TRUE(waitUntil([&] { return windows() == 2; }, 10s));
}

} // namespace
} // namespace nimb::test
