#pragma once

// What a tab reports about its web view. The tab owns the view's signal connections and hands each
// event on with the tab itself, so nobody traces a view back to its tab; the window implements this
// once and sends each event to the controller it concerns.

#include <webkit/webkit.h>

#include <string_view>

namespace nimb {

class Tab;

// The page scripts' messages, by handler name ("status", "blocked", "favicon").
enum class PageMessage {
    status,
    blocked,
    favicon,
};

class TabObserver {
public:
    virtual ~TabObserver() = default;

    // The engine asks whether to go ahead; true when the decision was taken (used or ignored).
    virtual bool decidePolicy(Tab& tab, WebKitPolicyDecision* decision, WebKitPolicyDecisionType type) = 0;
    // The page asks for a new view (a link with a target, window.open); the tab's view never gives
    // one: whatever opens, opens as a tab or window of the browser's own.
    virtual void createRequested(Tab& tab, WebKitNavigationAction* action) = 0;
    // The page asks to print (window.print); the engine shows nothing of its own.
    virtual void printRequested(Tab& tab, WebKitPrintOperation* operation) = 0;
    virtual void loadChanged(Tab& tab, WebKitLoadEvent event) = 0;
    // A load failed; `address` is the one it was for.
    virtual void loadFailed(Tab& tab, const char* address, const GError* error) = 0;
    // The process that showed the tab's page ended.
    virtual void processEnded(Tab& tab, WebKitWebProcessTerminationReason reason) = 0;
    virtual void titleChanged(Tab& tab) = 0;
    virtual void addressChanged(Tab& tab) = 0;
    virtual void progressChanged(Tab& tab) = 0;
    virtual void loadingChanged(Tab& tab) = 0;
    virtual void backForwardChanged(Tab& tab) = 0;
    // True when the menu is to be shown as the engine made it, with the browser's additions; `hit` is
    // what the menu was opened on.
    virtual bool contextMenu(Tab& tab, WebKitContextMenu* menu, WebKitHitTestResult* hit) = 0;
    virtual void message(Tab& tab, PageMessage kind, JSCValue* body) = 0;
    // The request witness's message, as the web process sent it (read as untrusted input).
    virtual void witnessed(Tab& tab, std::uint64_t document, std::string_view text) = 0;
};

} // namespace nimb
