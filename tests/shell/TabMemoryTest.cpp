// Closed tabs give back what they held: their web views go, and with them their web processes. A tab
// keeps no process for the browser's own page it has left.

#include "ShellTest.h"

#include "ProcessTree.h"

#include <unistd.h>

namespace nimb::test {
namespace {

// The engine's web processes running below this one (other tests run beside it, with their own).
int webProcesses() {
    return ProcessTree::webProcesses(getpid());
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

TEST_F(TabMemoryTest, aTabLeavingTheHomePageForAWebPageKeepsOneWebProcess) {
    ASSERT_TRUE(tab().documentIsGenerated);
    ASSERT_TRUE(visit("http://browse.example/"));
    EXPECT_EQ(webProcesses(), 1);
    ASSERT_TRUE(visit("http://browse.example/second.html"));
    EXPECT_EQ(webProcesses(), 1);
}

} // namespace
} // namespace nimb::test
