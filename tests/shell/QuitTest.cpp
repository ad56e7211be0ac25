// Ending the run: Quit asks first when it would close a window of several tabs, and says how much it
// closes; the size the user gave the window is the size of the windows of the next run.

#include "ShellTest.h"

#include <gdk/x11/gdkx.h>

namespace nimb::test {
namespace {

using Question = std::pair<std::string, std::string>;

class QuitTest : public ShellTest {
protected:
    // Ctrl+Q from the keyboard, in the front window.
    bool pressQuit() { return xdotool(window(), {"key", "ctrl+q"}); }

    std::size_t openTabs() {
        std::size_t count = 0;
        for (const auto& each : app().windows())
            count += each->context().tabs().size();
        return count;
    }

    // The application ends and starts again on the same profile, as a user quits and comes back.
    void restart() {
        m_app.reset();
        drain();
        m_options.id += ".again";
        start();
    }

    std::string xid(BrowserWindowController& of) {
        return std::to_string(gdk_x11_surface_get_xid(gtk_native_get_surface(GTK_NATIVE(of.window()))));
    }
    // Waits for the first page of the window opened last.
    bool newWindowLoaded() {
        BrowserWindowController& opened = window(app().windows().size() - 1);
        return waitForLoad(*opened.context().tabs().currentTab());
    }
    bool sized(BrowserWindowController& of, int width, int height) {
        return waitUntil(
            [&] {
                return gtk_widget_get_width(GTK_WIDGET(of.window())) == width &&
                       gtk_widget_get_height(GTK_WIDGET(of.window())) == height;
            },
            5s);
    }
};

TEST_F(QuitTest, aWindowOfTwoTabsIsNotThrownAwayWithoutAQuestion) {
    app().actions().activate("newTab");
    ASSERT_EQ(tabs().size(), 2u);

    ASSERT_TRUE(pressQuit());
    EXPECT_EQ(answerQuestion(false), (Question{"Quit The NIMB 2000?", "1 window and 2 tabs will close."}));
    ASSERT_EQ(app().windows().size(), 1u) << "Cancel keeps everything open";
    EXPECT_EQ(tabs().size(), 2u);

    // Asked once: the window's own question does not follow the answer.
    ASSERT_TRUE(pressQuit());
    EXPECT_EQ(answerQuestion(true).first, "Quit The NIMB 2000?");
    EXPECT_TRUE(waitUntil([&] { return app().windows().empty(); }));
    EXPECT_EQ(dialog(), nullptr);
}

TEST_F(QuitTest, theQuestionCountsEveryWindowAndTab) {
    app().actions().activate("newTab");
    app().actions().activate("newTab");
    app().actions().activate("newWindow");
    ASSERT_EQ(app().windows().size(), 2u);
    ASSERT_TRUE(newWindowLoaded());
    ASSERT_EQ(openTabs(), 4u);

    ASSERT_TRUE(pressQuit());
    EXPECT_EQ(answerQuestion(false), (Question{"Quit The NIMB 2000?", "2 windows and 4 tabs will close."}));
    EXPECT_EQ(app().windows().size(), 2u);
    EXPECT_EQ(openTabs(), 4u);

    // In the user's language.
    app().actions().activate("chooseLanguage", "fr");
    ASSERT_TRUE(pressQuit());
    EXPECT_EQ(answerQuestion(false),
              (Question{"Quitter The NIMB 2000\u202F?", "2 fenêtres et 4 onglets vont se fermer."}));
    EXPECT_EQ(app().windows().size(), 2u);
}

TEST_F(QuitTest, windowsOfOneTabEachCloseWithoutAQuestion) {
    app().actions().activate("newWindow");
    ASSERT_EQ(app().windows().size(), 2u);
    ASSERT_TRUE(newWindowLoaded());

    ASSERT_TRUE(pressQuit());
    EXPECT_TRUE(waitUntil([&] { return app().windows().empty(); }, 5s));
    EXPECT_EQ(dialog(), nullptr);
}

TEST_F(QuitTest, theWindowsSizeOutlivesARestart) {
    // Resized from outside, as the user drags its edge through the window manager.
    ASSERT_TRUE(xdotool(window(), {"windowsize", "--sync", xid(window()), "840", "610"}));
    ASSERT_TRUE(sized(window(), 840, 610));

    restart();
    EXPECT_TRUE(sized(window(), 840, 610));
    // So does every new window of the run.
    app().actions().activate("newWindow");
    ASSERT_EQ(app().windows().size(), 2u);
    EXPECT_TRUE(sized(window(1), 840, 610));
}

} // namespace
} // namespace nimb::test
