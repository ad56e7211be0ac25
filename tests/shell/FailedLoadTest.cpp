// A load that fails, in a tab with no page of its own to keep showing, and a page whose web process
// dies: the tab shows a small page of the browser's saying what failed, with a way to try again,
// instead of a blank one; the status line still says what happened.

#include "ShellTest.h"

#include "ProcessTree.h"

#include <algorithm>
#include <csignal>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace nimb::test {
namespace {

// The proxy closes every tunnel it is asked for, so an https address always fails to load.
const std::string failing = "https://failing.example/";
const std::string fixture = "http://browse.example/";

class FailedLoadTest : public ShellTest {
protected:
    // As a middle-click opens a link: a new tab whose first load is the address.
    Tab& openInNewTab(const std::string& address) {
        Tab& opened = tabs().add(false);
        window().context().navigator().load(*Url::parse(address), opened);
        return opened;
    }

    bool showsFailure(Tab& in, const std::string& action) {
        std::string text = pageText(in);
        return text.find(failing) != std::string::npos && text.find(action) != std::string::npos;
    }

    std::size_t tunnelsTo(const std::string& host) {
        std::size_t count = 0;
        for (const auto& request : m_proxy.requests())
            if (request.host == host) ++count;
        return count;
    }

    static bool isWebProcess(int pid) {
        std::ifstream in("/proc/" + std::to_string(pid) + "/cmdline");
        std::string command((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        return command.find("WebKitWebProcess") != std::string::npos;
    }

    // Seconds the process has run; a process the engine is still starting must not be killed (the
    // engine gives up on the whole application when one dies before it has said hello).
    static double age(int pid) {
        std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
        std::string line;
        std::getline(stat, line);
        std::istringstream fields(line.substr(line.rfind(')') + 2));
        std::string field;
        for (int i = 3; i <= 22 && fields >> field; ++i) {
        }
        double uptime = 0;
        std::ifstream("/proc/uptime") >> uptime;
        return uptime - std::stod(field) / static_cast<double>(sysconf(_SC_CLK_TCK));
    }

    static std::vector<int> webProcesses() {
        std::vector<int> found;
        for (int pid : ProcessTree::below(getpid()))
            if (pid != getpid() && isWebProcess(pid)) found.push_back(pid);
        return found;
    }
};

TEST_F(FailedLoadTest, aNewTabWhoseLoadFailsSaysWhatFailedAndTriesAgain) {
    Tab& opened = openInNewTab(failing);
    ASSERT_TRUE(waitUntil([&] { return showsFailure(opened, words().tryAgain()); })) << pageText(opened);
    // The status line still says what failed; the tab and the field are named after the address.
    ASSERT_TRUE(opened.status);
    EXPECT_EQ(status(), *opened.status);
    EXPECT_NE(pageText(opened).find(*opened.status), std::string::npos);
    EXPECT_EQ(window().context().chrome().fullAddress(), failing);
    // (The window takes the page's title when the engine says it changed, a moment after the text.)
    EXPECT_TRUE(waitUntil([&] {
        return std::string(gtk_window_get_title(window().window())).find("failing.example") !=
               std::string::npos;
    })) << gtk_window_get_title(window().window());
    EXPECT_FALSE(opened.localPage);

    // "Try again" asks for the address again.
    std::size_t tried = tunnelsTo("failing.example");
    ASSERT_GE(tried, 1u);
    ASSERT_TRUE(evaluate(opened, "document.querySelector('a.again').click(), true"));
    ASSERT_TRUE(waitUntil([&] { return tunnelsTo("failing.example") > tried; }));
    ASSERT_TRUE(waitUntil([&] { return showsFailure(opened, words().tryAgain()) && !opened.loading(); }));

    // A failed page is no visit.
    for (const auto& visit : prefs().history())
        EXPECT_EQ(visit.address.find("failing.example"), std::string::npos) << visit.address;
}

TEST_F(FailedLoadTest, aLoadStoppedByTheUserOrReplacedShowsNoSuchPage) {
    m_proxy.answer("slow.example", "/", "<title>Slow</title>", std::chrono::seconds(30));
    Tab& opened = openInNewTab("http://slow.example/");
    ASSERT_TRUE(waitUntil([&] { return opened.loading(); }));
    tabs().select(1);
    // (The engine takes a stop only once the request is out.)
    ASSERT_TRUE(waitUntil([&] { return m_proxy.receivedHost("slow.example"); }));
    app().actions().activate("stopLoading");
    ASSERT_TRUE(waitUntil([&] { return !opened.loading(); }));
    drain();
    EXPECT_FALSE(opened.failure);
    // Then a new load replaces one under way.
    window().context().navigator().load(*Url::parse("http://slow.example/"), opened);
    ASSERT_TRUE(waitUntil([&] { return opened.loading(); }));
    ASSERT_TRUE(visit(fixture));
    EXPECT_NE(pageText(opened).find("Browse fixture"), std::string::npos);
    EXPECT_EQ(pageText(opened).find(words().tryAgain()), std::string::npos);
}

TEST_F(FailedLoadTest, aPageWhoseWebProcessDiesOffersToReloadIt) {
    ASSERT_TRUE(visit(fixture));
    Tab& page = tab();
    // Every web process, once none is still starting: the page's among them.
    ASSERT_TRUE(waitUntil([&] {
        auto processes = webProcesses();
        return !processes.empty() &&
               std::all_of(processes.begin(), processes.end(), [](int pid) { return age(pid) > 2; });
    }));
    for (int pid : webProcesses())
        kill(pid, SIGKILL);
    ASSERT_TRUE(waitUntil([&] {
        std::string text = pageText(page);
        return text.find(fixture) != std::string::npos && text.find(words().reload()) != std::string::npos;
    })) << pageText(page);
    EXPECT_EQ(window().context().chrome().fullAddress(), fixture);

    auto before = loadsFinished(page);
    ASSERT_TRUE(evaluate(page, "document.querySelector('a.again').click(), true"));
    ASSERT_TRUE(waitForLoadAfter(page, before));
    EXPECT_TRUE(waitUntil([&] { return pageText(page).find("Browse fixture") != std::string::npos; }));
}

} // namespace
} // namespace nimb::test
