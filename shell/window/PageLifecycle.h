#pragma once

// What a window makes of its tabs' views: the life of each page (started, committed, finished,
// failed, retitled, moved on) kept in the tab and shown in the chrome, with the policy decisions,
// the page scripts' messages and the context menu handed to their own controllers.

#include "page/GeneratedPage.h"
#include "pages/FailedPage.h"
#include "window/NavigationPolicy.h"
#include "window/PageContextMenu.h"
#include "window/PageMessages.h"
#include "window/TabObserver.h"

namespace nimb {

class WindowContext;

class PageLifecycle final : public TabObserver {
public:
    PageLifecycle(WindowContext& context, GtkWindow* window);

    bool decidePolicy(Tab& tab, WebKitPolicyDecision* decision, WebKitPolicyDecisionType type) override;
    void createRequested(Tab& tab, WebKitNavigationAction* action) override;
    void loadChanged(Tab& tab, WebKitLoadEvent event) override;
    void loadFailed(Tab& tab, const char* address, const GError* error) override;
    void processEnded(Tab& tab, WebKitWebProcessTerminationReason reason) override;
    void titleChanged(Tab& tab) override;
    void addressChanged(Tab& tab) override;
    void progressChanged(Tab& tab) override;
    void loadingChanged(Tab& tab) override;
    void backForwardChanged(Tab& tab) override;
    bool contextMenu(Tab& tab, WebKitContextMenu* menu, WebKitHitTestResult* hit) override;
    void printRequested(Tab& tab, WebKitPrintOperation* operation) override;
    void message(Tab& tab, PageMessage kind, JSCValue* body) override;
    void witnessed(Tab& tab, std::uint64_t document, std::string_view text) override;

private:
    void finished(Tab& tab);
    // One of the browser's own pages has come into the tab, as its own load or by Back or Forward;
    // `drawn` when the engine asked for it rather than bringing it back from its page cache.
    void arrived(Tab& tab, const GeneratedPage::Entry& entry, bool drawn);
    // Shows the page saying what failed in place of the one at `address`, under that address.
    void showFailure(Tab& tab, FailedPage::Why why, const std::string& address);
    // A search results address the view is loading gives way to its links-only form; true when it did.
    bool rewriteSearch(Tab& tab);
    // The strip, the location field and the margin catch up with the tab's address.
    void followAddress(Tab& tab);

    WindowContext& m_context;
    NavigationPolicy m_policy;
    PageMessages m_messages;
    PageContextMenu m_menu;
};

} // namespace nimb
