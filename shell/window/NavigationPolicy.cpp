#include "window/NavigationPolicy.h"

#include "app/Application.h"
#include "page/GeneratedPage.h"
#include "page/InternalActions.h"
#include "preferences/Preferences.h"
#include "vocabulary/Language.h"
#include "window/Navigator.h"
#include "window/PageViews.h"
#include "window/RecordActions.h"
#include "window/ReportRequests.h"
#include "window/StatusController.h"
#include "window/Tab.h"
#include "window/TabList.h"
#include "window/WindowContext.h"

#include <chrono>
#include <utility>

namespace nimb {

bool NavigationPolicy::decide(Tab& tab, WebKitPolicyDecision* decision, WebKitPolicyDecisionType type) {
    switch (type) {
    case WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION:
        return decideNavigation(tab, WEBKIT_NAVIGATION_POLICY_DECISION(decision));
    case WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION:
        return false; // the engine asks for the new view next ("create")
    case WEBKIT_POLICY_DECISION_TYPE_RESPONSE: {
        // Nothing a page serves is ever saved to disk: what cannot be shown is not taken at all.
        auto* response = WEBKIT_RESPONSE_POLICY_DECISION(decision);
        if (webkit_response_policy_decision_is_mime_type_supported(response)) {
            webkit_policy_decision_use(decision);
        } else {
            webkit_policy_decision_ignore(decision);
            // Said, not silently dropped; the load it ends says the same (PageLifecycle).
            tab.refusedDownload = true;
            m_context.status().tellTab(tab, words().downloadNotSaved());
        }
        return true;
    }
    }
    return false;
}

bool NavigationPolicy::decideNavigation(Tab& tab, WebKitNavigationPolicyDecision* decision) {
    WebKitNavigationAction* action = webkit_navigation_policy_decision_get_navigation_action(decision);
    WebKitURIRequest* request = webkit_navigation_action_get_request(action);
    const char* uri = request ? webkit_uri_request_get_uri(request) : nullptr;
    std::string address = uri ? uri : "";

    if (auto internal = InternalActions::parse(address)) {
        webkit_policy_decision_ignore(WEBKIT_POLICY_DECISION(decision));
        InternalActions::Source source;
        source.kind = InternalActions::Source::Kind::tab;
        source.showsGeneratedPage = tab.localPage.has_value();
        source.documentIsGenerated = tab.documentIsGenerated;
        source.viewAddress = tab.viewAddress().value_or("");
        if (InternalActions::permitted(source)) defer(*internal, tab);
        return true;
    }

    const auto type = webkit_navigation_action_get_navigation_type(action);
    // The browser's own pages come only when the browser sends the tab there, or as the tab goes
    // back, forward or again to where one already stood.
    if (auto generated = GeneratedPage::parse(address)) {
        bool ours = tab.sentGenerated == generated || type == WEBKIT_NAVIGATION_TYPE_BACK_FORWARD ||
                    type == WEBKIT_NAVIGATION_TYPE_RELOAD;
        if (ours) {
            // The engine asks for the page next; only the page let through is drawn.
            tab.admittedGenerated = generated;
            webkit_policy_decision_use(WEBKIT_POLICY_DECISION(decision));
        } else
            webkit_policy_decision_ignore(WEBKIT_POLICY_DECISION(decision));
        return true;
    }
    if (type == WEBKIT_NAVIGATION_TYPE_BACK_FORWARD && tab.documentIsGenerated)
        PageViews::returningToWebPage(tab.view());
    const auto modifiers = webkit_navigation_action_get_modifiers(action);
    const bool middle = webkit_navigation_action_get_mouse_button(action) == 2;
    if (type == WEBKIT_NAVIGATION_TYPE_LINK_CLICKED && !address.empty() &&
        ((modifiers & GDK_CONTROL_MASK) || middle)) {
        webkit_policy_decision_ignore(WEBKIT_POLICY_DECISION(decision));
        if (auto url = Url::parse(address)) {
            Tab& opened = m_context.tabs().add(!(modifiers & GDK_SHIFT_MASK));
            m_context.navigator().load(*url, opened);
        }
        return true;
    }

    // A link on the browser's own page out to the web, while the blocklist is not ready: the page
    // waits for it as a typed address does (a generated page has no frames to mistake for it).
    if (tab.documentIsGenerated && !tab.pendingGenerated) {
        auto url = Url::parse(address);
        if (url && m_context.navigator().waitsForBlocklist(*url)) {
            webkit_policy_decision_ignore(WEBKIT_POLICY_DECISION(decision));
            m_context.navigator().load(*url, tab);
            return true;
        }
    }

    // A form is never sent again behind the user's back: the engine resubmits one when a page that
    // answered it reloads, and that is let through only once the user agreed (Navigator::reload).
    if (type == WEBKIT_NAVIGATION_TYPE_FORM_RESUBMITTED && !std::exchange(tab.form.resendAgreed, false)) {
        webkit_policy_decision_ignore(WEBKIT_POLICY_DECISION(decision));
        return true;
    }

    // Asked here about the page's frames as much as about the page itself, with nothing to tell them
    // apart: what concerns the page alone (the links-only search, the end of a generated page on its
    // way, whether it answers a form) is decided when the view's own load starts (PageLifecycle).
    const char* method = request ? webkit_uri_request_get_http_method(request) : nullptr;
    if (method && g_ascii_strcasecmp(method, "POST") == 0)
        tab.form.postedTo = address;
    else
        tab.form.postedTo.reset();
    webkit_policy_decision_use(WEBKIT_POLICY_DECISION(decision));
    return true;
}

void NavigationPolicy::defer(const InternalActions::Action& action, Tab& tab) {
    m_deferred.push_back(Deferred{TabRef(m_context, tab), action});
    if (!m_carryOut.pending())
        m_carryOut = glib::Source::idle([this] { carryOutDeferred(); }, G_PRIORITY_DEFAULT);
}

void NavigationPolicy::carryOutDeferred() {
    auto deferred = std::move(m_deferred);
    m_deferred.clear();
    for (const auto& each : deferred) {
        if (m_context.closed()) return;
        auto locked = each.tab.lock();
        Tab* from = locked ? locked.tab.get() : nullptr;
        if (const auto* bookmark = std::get_if<BookmarkAction>(&each.action)) {
            m_context.records().apply(*bookmark, from);
        } else if (const auto* history = std::get_if<HistoryAction>(&each.action)) {
            m_context.records().apply(*history);
        } else if (const auto* report = std::get_if<ReportAction>(&each.action)) {
            Tab* in = from ? from : m_context.tabs().currentTab();
            if (in) m_context.reports().apply(*report, *in);
        }
    }
}

void NavigationPolicy::createRequested(Tab& from, WebKitNavigationAction* action) {
    WebKitURIRequest* request = webkit_navigation_action_get_request(action);
    const char* uri = request ? webkit_uri_request_get_uri(request) : nullptr;
    if (!uri || !*uri) return;
    auto url = Url::parse(uri);
    if (!url) return;
    // One click may let a page's script open windows in a loop: a few a second, and no more.
    auto now = std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
    if (!from.opens.allow(now)) {
        m_context.status().tellTab(from, words().refusedWindows());
        return;
    }
    if (webkit_navigation_action_get_navigation_type(action) != WEBKIT_NAVIGATION_TYPE_LINK_CLICKED) {
        // A script opened a window: it gets a browser window of its own.
        m_context.application().openWindow(*url);
        return;
    }
    const auto modifiers = webkit_navigation_action_get_modifiers(action);
    bool background = (modifiers & GDK_CONTROL_MASK) && !(modifiers & GDK_SHIFT_MASK);
    Tab& tab = m_context.tabs().add(background);
    m_context.navigator().load(*url, tab);
}

} // namespace nimb
