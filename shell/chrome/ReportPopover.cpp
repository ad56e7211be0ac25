#include "chrome/ReportPopover.h"

#include "glib/Async.h"
#include "page/InternalActions.h"

#include <utility>

namespace nimb {

using InternalActions::generatedAddress;

ReportPopover::ReportPopover(GtkWindow* window, GtkWidget* host, GtkWidget* web) : m_web(web) {
    m_bubble = std::make_unique<Bubble>(window, host, m_web.get());
    m_connections.push_back(
        glib::connect<gboolean(WebKitWebView*, WebKitPolicyDecision*, WebKitPolicyDecisionType)>(
            m_web.get(), "decide-policy",
            [this](WebKitWebView*, WebKitPolicyDecision* decision, WebKitPolicyDecisionType type) {
                return decide(decision, type) ? TRUE : FALSE;
            }));
    m_connections.push_back(glib::connect<void(WebKitWebView*, WebKitLoadEvent)>(
        m_web.get(), "load-changed", [this](WebKitWebView*, WebKitLoadEvent event) {
            if (event == WEBKIT_LOAD_FINISHED) loaded();
        }));
    // Nothing in the panel opens a window of its own.
    m_connections.push_back(glib::connect<GtkWidget*(WebKitWebView*, WebKitNavigationAction*)>(
        m_web.get(), "create",
        [](WebKitWebView*, WebKitNavigationAction*) -> GtkWidget* { return nullptr; }));
}

ReportPopover::~ReportPopover() {
    g_cancellable_cancel(m_painting.get());
}

void ReportPopover::present(std::string_view html, GtkWidget* anchor) {
    // The bubble opens at once, its page hidden until the new one has been laid out at the bubble's
    // size and painted: never an earlier page's report, never a page half drawn.
    if (!isVisible()) {
        m_bubble->cover(true);
        m_bubble->show(anchor,
                       {0, 0, static_cast<double>(gtk_widget_get_width(anchor)),
                        static_cast<double>(gtk_widget_get_height(anchor))},
                       width, height);
    }
    g_cancellable_cancel(m_painting.get());
    std::string text(html);
    webkit_web_view_load_html(web(), text.c_str(), nullptr);
}

void ReportPopover::loaded() {
    // Two animation frames after the load, the page has painted.
    m_painting = glib::adoptGRef(g_cancellable_new());
    auto call = glib::async(
        [](GObject* source, GAsyncResult* result, GError** error) {
            return glib::adoptGRef(webkit_web_view_call_async_javascript_function_finish(
                WEBKIT_WEB_VIEW(source), result, error));
        },
        [this](glib::GRefPtr<JSCValue>, const glib::Error&) { m_bubble->cover(false); });
    static constexpr std::string_view painted =
        "await new Promise(done => requestAnimationFrame(() => requestAnimationFrame(done)));";
    webkit_web_view_call_async_javascript_function(web(), painted.data(), static_cast<gssize>(painted.size()),
                                                   nullptr, nullptr, nullptr, m_painting.get(), call.callback,
                                                   call.data);
}

// The panel shows only the page it was given. A link or a form sent from that page goes to the
// window; anything else (an address the page did not come from) is refused, never loaded here.
bool ReportPopover::decide(WebKitPolicyDecision* decision, WebKitPolicyDecisionType type) {
    if (type == WEBKIT_POLICY_DECISION_TYPE_RESPONSE) return false;
    auto* navigation = WEBKIT_NAVIGATION_POLICY_DECISION(decision);
    WebKitNavigationAction* action = webkit_navigation_policy_decision_get_navigation_action(navigation);
    WebKitURIRequest* request = webkit_navigation_action_get_request(action);
    const char* uri = request ? webkit_uri_request_get_uri(request) : nullptr;
    std::string address = uri ? uri : "";
    auto kind = webkit_navigation_action_get_navigation_type(action);
    bool followed = kind == WEBKIT_NAVIGATION_TYPE_LINK_CLICKED ||
                    kind == WEBKIT_NAVIGATION_TYPE_FORM_SUBMITTED ||
                    type == WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION;
    if (!followed && address == generatedAddress) return false; // the page given to the panel
    webkit_policy_decision_ignore(decision);
    const char* shown = webkit_web_view_get_uri(web());
    if (followed && !address.empty() && shown && generatedAddress == shown) {
        m_bubble->close();
        onOpen(address);
    }
    return true;
}

} // namespace nimb
