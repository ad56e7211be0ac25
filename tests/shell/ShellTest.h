#pragma once

// The real application, driven from inside the test: started as a launch starts it, with its own
// fresh profile, every request sent to a loopback proxy serving the fixture sites, and a first window
// open. Tests type into the location field, trigger the same actions the menus trigger, answer the
// same dialogs the user would, and wait on conditions with deadlines.

#include "MainLoop.h"
#include "ProxyServer.h"
#include "TemporaryDirectory.h"
#include "WebPage.h"
#include "app/Application.h"
#include "app/UserDirectories.h"
#include "blocker/ContentBlocker.h"
#include "location/LocationBar.h"
#include "preferences/Preferences.h"
#include "vocabulary/Language.h"
#include "window/BrowserWindowController.h"
#include "window/ChromeController.h"
#include "window/FindController.h"
#include "window/MarginController.h"
#include "window/Navigator.h"
#include "window/RecordActions.h"
#include "window/ReportRequests.h"
#include "window/StatusController.h"
#include "window/Tab.h"
#include "window/TabList.h"
#include "window/WindowContext.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace nimb::test {

using namespace std::chrono_literals;

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Called before the application starts: a fixture may change the options and what is stored.
    virtual void configure() {}
    // Writes to the profile's stored preferences before the application opens them.
    void seed(const std::function<void(Preferences&)>& write);
    // Starts the application as a launch does and waits for the first window's page.
    void start();

    Application::Options m_options;

    Application& app() { return *m_app; }
    Preferences& prefs() { return m_app->profile().preferences(); }
    BrowserWindowController& window();
    BrowserWindowController& window(std::size_t index);
    Tab& tab();
    TabList& tabs() { return window().context().tabs(); }
    // The front window's status line.
    std::string status() { return window().context().status().status(); }

    // (Waiting with the main loop turning: waitUntil and drain of MainLoop.h.)

    // Types text into a window's location field (the front window's when none) and presses Return.
    void type(const std::string& text, BrowserWindowController* in = nullptr);
    // How many loads (of web or generated pages) the tab's view has finished so far.
    std::size_t loadsFinished(Tab& tab);
    // Waits until the tab's view has finished a load it had not finished at the last wait on it (or
    // at `after` loads), and is no longer loading.
    bool waitForLoad(Tab& tab, std::chrono::milliseconds deadline = 20s);
    bool waitForLoadAfter(Tab& tab, std::size_t after, std::chrono::milliseconds deadline = 20s);
    // Waits until the tab shows the browser's own page at `address` (its document, not only its
    // name: a page drawn again where it stood may still be coming in when the next is asked for) and
    // is no longer loading.
    bool waitForOwnPage(Tab& tab, std::string_view address, std::chrono::milliseconds deadline = 20s);
    // Does what it is armed with the next time the view's document commits, before any handler of the
    // window hears that it did: as when the user asks for a page at the very moment the last came in.
    class AtNextCommit {
    public:
        explicit AtNextCommit(WebKitWebView* view);
        ~AtNextCommit();
        AtNextCommit(const AtNextCommit&) = delete;
        AtNextCommit& operator=(const AtNextCommit&) = delete;
        void arm(std::function<void()> act) { m_act = std::move(act); }
        // Whether it has done what it was armed with.
        [[nodiscard]] bool done() const { return !m_act; }

    private:
        static gboolean heard(GSignalInvocationHint*, guint, const GValue* values, gpointer self);
        WebKitWebView* m_view;
        guint m_signal;
        gulong m_hook;
        std::function<void()> m_act;
    };
    // After input sent through the X server (xdotool): every event it caused has been handled.
    void settleInput();
    // Waits until the window has drawn a frame begun after this call: whatever changed its layout
    // before has been laid out and drawn.
    bool nextFrame(BrowserWindowController* in = nullptr);
    // Types an address and waits until its page has loaded in that window's current tab.
    bool visit(const std::string& address, BrowserWindowController* in = nullptr);
    bool waitForStatus(const std::string& wanted, std::chrono::milliseconds deadline = 20s);

    // Runs a script in the tab's page; its value as JSON (none when it threw).
    std::optional<nlohmann::json> evaluate(Tab& tab, const std::string& script);
    // The page's visible text.
    std::string pageText(Tab& tab);

    // Runs xdotool against the window (its X window is focused first); false when it failed.
    bool xdotool(BrowserWindowController& target, const std::vector<std::string>& arguments);
    // The xdotool words that move the real pointer to a point of a widget of the front window; and a
    // click there with that button.
    std::vector<std::string> pointAt(GtkWidget* widget, double x, double y);
    bool click(GtkWidget* widget, double x, double y, int button = 1);
    // A click on a widget of a surface the pointer has not yet been in (a bubble just opened), made as
    // a hand makes it: the pointer comes onto the widget, GTK has it there, and only then the button
    // goes down and up. A single warp into a new surface is not always taken as the pointer arriving,
    // and GTK then gives the press to the widget the pointer last was in.
    bool clickOnArrival(GtkWidget* widget, double x, double y);

    // The question dialog on screen, if any; answering it as its buttons do.
    GtkWidget* dialog();
    std::string dialogText(GtkWidget* dialog, const char* property = "text");
    void answer(GtkWidget* dialog, bool destructive);
    // Waits for the question, answers it and waits until it has gone; its text and secondary text
    // (empty when no question came).
    std::pair<std::string, std::string> answerQuestion(bool destructive);

    // The value of a fixture placeholder ({{ad}}, {{track}}, ...).
    const std::string& var(const std::string& name) const { return m_variables.at(name); }

    ProxyServer m_proxy;
    std::map<WebKitWebView*, std::size_t> m_waitedLoads;
    std::map<std::string, std::string> m_variables;
    std::unique_ptr<TemporaryDirectory> m_profile;
    UserDirectories m_directories;
    std::unique_ptr<Application> m_app;
};

} // namespace nimb::test
