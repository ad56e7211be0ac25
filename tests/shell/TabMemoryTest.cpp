// Closed tabs give back what they held: their web views go, and with them their web processes.

#include "ShellTest.h"

#include <dirent.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

namespace nimb::test {
namespace {

// The parent of a process, or 0 when it cannot be read.
int parentOf(int pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("PPid:", 0) == 0) return std::atoi(line.c_str() + 5);
    return 0;
}

// The engine's web processes running below this one (other tests run beside it, with their own).
int webProcesses() {
    int count = 0;
    const int self = getpid();
    if (DIR* proc = opendir("/proc")) {
        while (dirent* entry = readdir(proc)) {
            std::string pid = entry->d_name;
            if (pid.find_first_not_of("0123456789") != std::string::npos) continue;
            std::ifstream cmdline("/proc/" + pid + "/cmdline");
            std::string command;
            std::getline(cmdline, command, '\0');
            if (command.find("WebKitWebProcess") == std::string::npos) continue;
            for (int up = parentOf(std::atoi(pid.c_str())); up > 1; up = parentOf(up))
                if (up == self) {
                    ++count;
                    break;
                }
        }
        closedir(proc);
    }
    return count;
}

class TabMemoryTest : public ShellTest {
protected:
    // Opens a tab on a page and gives back its view, watched: it reads null once the view is gone.
    void openTab(GObject*& view) {
        app().actions().activate("newTab");
        ASSERT_TRUE(visit("http://browse.example/second.html"));
        view = G_OBJECT(tab().view());
        g_object_add_weak_pointer(view, reinterpret_cast<gpointer*>(&view));
    }
    void closeAllButTheFirst() {
        while (tabs().size() > 1)
            tabs().close(tabs().current());
    }
};

TEST_F(TabMemoryTest, closedTabsLetGoOfTheirViewsAndTheirWebProcesses) {
    ASSERT_TRUE(visit("http://browse.example/"));
    // The engine keeps a web process ready for the next page once it has made more than one: one tab
    // opened and closed first, so that the count below starts from what it settles at.
    GObject* first = nullptr;
    openTab(first);
    closeAllButTheFirst();
    ASSERT_TRUE(waitUntil([&] { return !first; }, 10s));
    int before = webProcesses();

    std::vector<GObject*> views(20, nullptr);
    for (auto& view : views)
        openTab(view);
    EXPECT_GE(webProcesses(), before + 20);
    closeAllButTheFirst();
    auto alive = [&] {
        return std::count_if(views.begin(), views.end(), [](GObject* v) { return v != nullptr; });
    };
    EXPECT_TRUE(waitUntil([&] { return alive() == 0; }, 10s)) << alive() << " closed views still alive";
    for (auto& view : views)
        if (view) g_object_remove_weak_pointer(view, reinterpret_cast<gpointer*>(&view));
    EXPECT_TRUE(waitUntil([&] { return webProcesses() <= before; }, 10s))
        << webProcesses() << " web processes, " << before << " before";
}

} // namespace
} // namespace nimb::test
