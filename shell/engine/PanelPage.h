#pragma once

// The web view of one of the browser's own panels beside the tabs (the report popover, the margin):
// it shows only the documents the browser gives it, loaded from HTML with no base address, and never
// goes anywhere itself. A link or a form followed in it is cancelled and handed over (`onFollow`),
// with whether the document it came from may ask for the browser's internal actions: only the
// document given, once it has committed, may.

#include "glib/Connection.h"
#include "glib/GRefPtr.h"
#include "glib/Hook.h"

#include <webkit/webkit.h>

#include <string>
#include <vector>

namespace nimb {

class PanelPage {
public:
    // Around `web`, a new web view for the browser's own pages (WebEngine), taken over.
    explicit PanelPage(GtkWidget* web);
    ~PanelPage();
    PanelPage(const PanelPage&) = delete;
    PanelPage& operator=(const PanelPage&) = delete;

    [[nodiscard]] WebKitWebView* view() const { return m_web.get(); }
    [[nodiscard]] GtkWidget* widget() const { return GTK_WIDGET(m_web.get()); }

    void load(const std::string& html);
    // Whether the view holds a document it was given.
    [[nodiscard]] bool showsGenerated() const;

    // A followed link's or form's address, and whether it may carry an internal action.
    glib::Hook<void(const std::string&, bool)> onFollow;
    // A document given has finished loading.
    glib::Hook<void()> onLoaded;

private:
    bool decide(WebKitPolicyDecision* decision, WebKitPolicyDecisionType type);

    glib::GRefPtr<WebKitWebView> m_web;
    bool m_pendingGenerated = false;    // a generated document is on its way
    bool m_documentIsGenerated = false; // the committed document is one given
    std::vector<glib::Connection> m_connections;
};

} // namespace nimb
