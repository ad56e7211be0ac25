#pragma once

// One web view in a window of its own, set up the way the browser sets up its pages (PageSetup:
// the same scripts at the same times, the same message handlers, the same compiled rule list),
// with its traffic sent through a loopback ProxyServer. Tests load pages, run scripts in them,
// read the messages the page scripts posted, and wait on conditions with a deadline, or until the
// scripts' timers have fired, instead of sleeping through them.

#include "MainLoop.h"
#include "ProxyServer.h"
#include "engine/PageSetup.h"

#include <nlohmann/json.hpp>
#include <webkit/webkit.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nimb::test {

using namespace std::chrono_literals;

// Initialises GTK once; false when there is no display (run under tools/run-headless).
bool engineAvailable();

// Runs a script in a view's page (in the page's own world unless another is named): its value as JSON,
// none when the script threw or its value has no JSON form.
std::optional<nlohmann::json> evaluateIn(WebKitWebView* view, std::string_view script,
                                         const char* world = nullptr);

struct PageMessages {
    std::vector<std::string> status;
    std::vector<nlohmann::json> blocked;
    std::vector<std::string> favicon;
};

class WebPage {
public:
    struct Options {
        PageSetup::Policy policy{};
        // The compiled rule list, when the policy blocks. Off measures the scripts alone.
        bool ruleList = true;
        // Where the compiled list comes from (BlockerRules::shared() when none), whether the page
        // waits for it before it is made, and whether blocking is still wanted when it arrives.
        BlockerRules* rules = nullptr;
        bool waitForRuleList = true;
        std::function<bool()> stillBlocking;
        // The page's own scripts; the page scripts run either way.
        bool javaScript = true;
        int width = 1000;
        int height = 800;
        // A script run at document start in every frame before the page scripts.
        std::string firstScript;
        // Shares cookies and storage with another page; a fresh ephemeral session otherwise.
        WebKitNetworkSession* session = nullptr;
    };

    explicit WebPage(const ProxyServer& proxy);
    WebPage(const ProxyServer& proxy, Options options);
    ~WebPage();
    WebPage(const WebPage&) = delete;
    WebPage& operator=(const WebPage&) = delete;

    // Loads the address and waits until the load finished (true) or failed or timed out (false).
    bool load(const std::string& url, std::chrono::milliseconds timeout = 20s);
    // Hides the window, as a tab is in the background: the page keeps its size and draws no frames.
    void hide();
    // Loads HTML with no base address, as the browser loads its generated pages.
    bool loadHtml(const std::string& html, std::chrono::milliseconds timeout = 20s);

    // Runs a script (in the page's own world unless another is named); its value as JSON, or none
    // when the script threw or its value has no JSON form.
    std::optional<nlohmann::json> evaluate(std::string_view script, const char* world = nullptr);
    // Whether the script ran, and its value as text when it is a string.
    struct Evaluation {
        bool ran = false;
        std::optional<std::string> text;
    };
    Evaluation evaluateText(std::string_view script);
    // Calls an asynchronous function body with named arguments (a floating a{sv} is sunk).
    std::optional<nlohmann::json> callAsync(std::string_view body, GVariant* arguments,
                                            const char* world = nullptr);

    // Spins until the expression is truthy in the page.
    bool waitFor(std::string_view expression, std::chrono::milliseconds deadline);
    // Waits until the page scripts' timers due at most `sinceStart` after they started, and those
    // already set to fire within `fromNow`, have fired and the work they ask for has run: a timer of
    // the test's own, due no earlier, fires after them, and then the next animation frame (the next
    // turn of a hidden page), which is when that work runs. What must not happen by then has not.
    bool passTimers(std::chrono::milliseconds sinceStart, std::chrono::milliseconds fromNow = {});

    [[nodiscard]] const PageMessages& messages() const { return m_messages; }
    void clearMessages() { m_messages = {}; }
    [[nodiscard]] WebKitWebView* view() const { return m_view; }
    [[nodiscard]] WebKitNetworkSession* session() const { return m_session; }
    [[nodiscard]] WebKitUserContentManager* contentManager() const { return m_manager; }

private:
    Options m_options;
    WebKitNetworkSession* m_session = nullptr;
    WebKitUserContentManager* m_manager = nullptr;
    WebKitWebView* m_view = nullptr;
    GtkWidget* m_window = nullptr;
    PageMessages m_messages;
    bool m_finished = false;
    bool m_failed = false;
};

} // namespace nimb::test
