#pragma once

// What every web view is given before it loads a page: the three script message handlers, and for
// the page policy the user has chosen, the page scripts at their injection times and frame scopes,
// and the compiled rule list. The browser window and the real-engine tests both set pages up through
// here, so they cannot drift apart.

#include "engine/BlockerRules.h"

#include <webkit/webkit.h>

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace nimb {

class Preferences;

namespace PageSetup {

// The script message handlers, in the order they are registered: the hovered link ("status"), the
// blocked and wall counts ("blocked") and the declared icon ("favicon").
inline constexpr std::array<std::string_view, 3> messageHandlers = {"status", "blocked", "favicon"};

// The script world that find in page and the selection reader run in: the page's DOM, but none of
// the page's own script globals.
inline constexpr const char* clientWorld = "nimb";

// The settings that decide which scripts a page gets.
struct Policy {
    bool forgetStorage = true;   // the in-memory local storage
    bool nimbReport = true;      // the recorder
    bool contentBlocking = true; // the wall hiding and the compiled rule list

    [[nodiscard]] static Policy from(const Preferences& preferences);
    bool operator==(const Policy&) const = default;
};

struct UserScript {
    std::string source;
    WebKitUserContentInjectedFrames frames;
    WebKitUserScriptInjectionTime time;

    bool operator==(const UserScript&) const = default;
};

// The page scripts of a policy in the order they are added: link hover and favicon at document end,
// then at document start the storage shim, the recorder and the wall hiding, as the policy asks.
[[nodiscard]] std::vector<UserScript> userScripts(const Policy& policy);

void registerMessageHandlers(WebKitUserContentManager* manager);
void unregisterMessageHandlers(WebKitUserContentManager* manager);

// Rebuilds the manager's scripts and rule lists from scratch for the policy. With blocking on, the
// compiled rule list of `rules` is added at once when it is at hand, otherwise when it arrives,
// provided the manager still exists and `stillBlocking()` then says so. No `rules` leaves the rule
// list out whatever the policy (for measuring the scripts alone).
void apply(WebKitUserContentManager* manager, const Policy& policy, BlockerRules* rules,
           std::function<bool()> stillBlocking);

// The arguments of the find script: the query, the step (-1, 0, 1) and the pixels the find bar
// covers at the bottom of the view. A floating a{sv} GVariant.
[[nodiscard]] GVariant* findArguments(std::string_view query, int step, int foot);

} // namespace PageSetup
} // namespace nimb
