// The real program, launched as the desktop launches it: one instance, to which later launches hand
// their addresses (new tabs) or their wish for a new window, and then exit.

#include "MainLoop.h"
#include "ProxyServer.h"

#include <glib.h>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <string>
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
            waitForExit(m_primary, 10s);
        }
        m_proxy.stop();
    }

    // Starts the program with the arguments; its process id.
    static GPid launch(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), NIMB_BINARY);
        return spawn(arguments);
    }

    // Launches the program again and waits for that launch to hand its work over and end well.
    static bool handsOver(const std::vector<std::string>& arguments) {
        auto status = waitForExit(launch(arguments), 20s);
        return status && g_spawn_check_wait_status(*status, nullptr);
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
    EXPECT_TRUE(handsOver({"http://browse.example/second.html"}));
    EXPECT_TRUE(waitUntil([&] { return m_proxy.received("http://browse.example/second.html"); }, 20s));
    EXPECT_EQ(windows(), 1);

    // A launch without addresses asks the first instance for a new window.
    EXPECT_TRUE(handsOver({}));
    EXPECT_TRUE(waitUntil([&] { return windows() == 2; }, 10s));
}

} // namespace
} // namespace nimb::test
