#pragma once

// The web views of one window's tabs: each made on the application's shared engine (context and
// network session) with settings and a user content manager of its own, and given the page scripts
// and the compiled rule list of the page policy the user has chosen.

#include <webkit/webkit.h>

namespace nimb {

class WindowContext;

class PageViews {
public:
    explicit PageViews(WindowContext& context) : m_context(context) {}

    // A new view, with a floating reference.
    [[nodiscard]] WebKitWebView* make();
    // Rebuilds the view's scripts and rule lists for the stored page policy.
    void applyPolicy(WebKitWebView* view);
    void applyPolicyToEveryTab();
    // Page scripts on or off in every tab's view (the browser's own scripts keep running).
    void setJavaScript(bool on);

private:
    WindowContext& m_context;
};

} // namespace nimb
