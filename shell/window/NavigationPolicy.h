#pragma once

// The rules by which a tab's view may go somewhere: internal actions of the browser's own pages
// (carried out only when they come from such a page, and never loaded), Ctrl and middle clicks that
// open tabs, the links-only search rewrite, new windows a page asks for, and responses that cannot be
// shown (nothing a page serves is ever saved to disk).

#include "glib/Source.h"
#include "page/InternalActions.h"
#include "window/TabRef.h"

#include <webkit/webkit.h>

#include <vector>

namespace nimb {

class Tab;
class WindowContext;

class NavigationPolicy {
public:
    explicit NavigationPolicy(WindowContext& context) : m_context(context) {}

    // True when the decision was taken.
    bool decide(Tab& tab, WebKitPolicyDecision* decision, WebKitPolicyDecisionType type);
    // A page asked for a new view: a link with a target opens a tab, a script's window.open a window.
    void createRequested(Tab& from, WebKitNavigationAction* action);

private:
    bool decideNavigation(Tab& tab, WebKitNavigationPolicyDecision* decision);
    // Carried out on the next turn of the main loop, after the engine has its answer: an action may
    // load a page into the very view that asked.
    void defer(const InternalActions::Action& action, Tab& tab);
    void carryOutDeferred();

    struct Deferred {
        TabRef tab;
        InternalActions::Action action;
    };

    WindowContext& m_context;
    std::vector<Deferred> m_deferred;
    glib::Source m_carryOut;
};

} // namespace nimb
