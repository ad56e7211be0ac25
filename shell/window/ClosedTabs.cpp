#include "window/ClosedTabs.h"

#include "app/Application.h"
#include "location/LocationBar.h"
#include "page/GeneratedPage.h"
#include "window/Navigator.h"
#include "window/Tab.h"
#include "window/TabList.h"
#include "window/WindowContext.h"

namespace nimb {

void ClosedTabs::remember(const Tab& tab, std::int64_t index) {
    auto address = tab.address();
    if (!address) return;
    Closed closed{index, *address, tab.localPage, {}, tab.reportDrawings, tab.generatedEntries};
    auto state = glib::adoptGRef(webkit_web_view_get_session_state(tab.view()));
    auto bytes = state ? glib::adoptGRef(webkit_web_view_session_state_serialize(state.get()))
                       : glib::GRefPtr<GBytes>();
    if (bytes && g_bytes_get_size(bytes.get()) <= stateLimit) closed.state = std::move(bytes);
    m_closed.push_front(std::move(closed));
    while (m_closed.size() > limit)
        m_closed.pop_back();
    m_context.application().actions().scheduleValidate();
}

bool ClosedTabs::reopen() {
    if (m_closed.empty()) return false;
    Closed closed = std::move(m_closed.front());
    m_closed.pop_front();
    m_context.application().actions().scheduleValidate();

    // A new view, given the old one's back and forward list before it loads anything.
    Tab& tab = m_context.tabs().insert(closed.index, false);
    tab.reportDrawings = std::move(closed.reports);
    tab.generatedEntries = closed.generatedEntries;
    WebKitBackForwardListItem* current = nullptr;
    if (closed.state) {
        if (WebKitWebViewSessionState* state = webkit_web_view_session_state_new(closed.state.get())) {
            webkit_web_view_restore_session_state(tab.view(), state);
            webkit_web_view_session_state_unref(state);
            current =
                webkit_back_forward_list_get_current_item(webkit_web_view_get_back_forward_list(tab.view()));
        }
    }

    Navigator& navigator = m_context.navigator();
    if (closed.localPage && *closed.localPage != LocationBar::aboutReport) {
        // The browser's own page, drawn afresh from the stores as a reload draws it.
        tab.localPage = closed.localPage;
        navigator.reload(tab);
    } else if (current) {
        // The page the list stands at (a report as it was drawn, sent for by the browser).
        const char* uri = webkit_back_forward_list_item_get_uri(current);
        tab.sentGenerated = uri ? GeneratedPage::parse(uri) : std::nullopt;
        tab.pendingGenerated = tab.sentGenerated.has_value();
        webkit_web_view_go_to_back_forward_list_item(tab.view(), current);
    } else if (auto url = closed.localPage ? std::nullopt : Url::parse(closed.address)) {
        navigator.load(*url, tab);
    } else {
        navigator.goHome(tab);
    }
    return true;
}

} // namespace nimb
