#include "engine/PanelPage.h"

#include "page/InternalActions.h"

#include <utility>

namespace nimb {

using InternalActions::generatedAddress;

PanelPage::PanelPage(GtkWidget* web) : m_web(WEBKIT_WEB_VIEW(web)) {
    m_connections.push_back(
        glib::connect<gboolean(WebKitWebView*, WebKitPolicyDecision*, WebKitPolicyDecisionType)>(
            m_web.get(), "decide-policy",
            [this](WebKitWebView*, WebKitPolicyDecision* decision, WebKitPolicyDecisionType type) {
                return decide(decision, type) ? TRUE : FALSE;
            }));
    m_connections.push_back(glib::connect<void(WebKitWebView*, WebKitLoadEvent)>(
        m_web.get(), "load-changed", [this](WebKitWebView* view, WebKitLoadEvent event) {
            if (event == WEBKIT_LOAD_COMMITTED) {
                const char* uri = webkit_web_view_get_uri(view);
                m_documentIsGenerated =
                    std::exchange(m_pendingGenerated, false) && uri && uri == generatedAddress;
            } else if (event == WEBKIT_LOAD_FINISHED) {
                onLoaded();
            }
        }));
}

PanelPage::~PanelPage() {
    webkit_web_view_stop_loading(m_web.get());
}

void PanelPage::load(const std::string& html) {
    m_pendingGenerated = true;
    webkit_web_view_load_html(m_web.get(), html.c_str(), nullptr);
}

bool PanelPage::showsGenerated() const {
    const char* uri = webkit_web_view_get_uri(m_web.get());
    return m_documentIsGenerated && uri && uri == generatedAddress;
}

bool PanelPage::decide(WebKitPolicyDecision* decision, WebKitPolicyDecisionType type) {
    if (type == WEBKIT_POLICY_DECISION_TYPE_RESPONSE) return false; // the engine's own answer
    WebKitNavigationAction* action =
        webkit_navigation_policy_decision_get_navigation_action(WEBKIT_NAVIGATION_POLICY_DECISION(decision));
    WebKitURIRequest* request = webkit_navigation_action_get_request(action);
    const char* uri = request ? webkit_uri_request_get_uri(request) : nullptr;
    std::string address = uri ? uri : "";
    auto kind = webkit_navigation_action_get_navigation_type(action);
    bool followed = kind == WEBKIT_NAVIGATION_TYPE_LINK_CLICKED ||
                    kind == WEBKIT_NAVIGATION_TYPE_FORM_SUBMITTED ||
                    type == WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION;
    // The document given comes in; nothing else does.
    if (!followed && type == WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION &&
        (address.empty() || address == generatedAddress)) {
        webkit_policy_decision_use(decision);
        return true;
    }
    webkit_policy_decision_ignore(decision);
    if (followed && !address.empty()) {
        InternalActions::Source source;
        source.kind = InternalActions::Source::Kind::panel;
        source.documentIsGenerated = m_documentIsGenerated;
        const char* shown = webkit_web_view_get_uri(m_web.get());
        source.viewAddress = shown ? shown : "";
        onFollow(address, InternalActions::permitted(source));
    }
    return true;
}

} // namespace nimb
