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

    // What the engine keeps of the page a view shows once the view moves on, set as each page is
    // committed. The browser's own pages are drawn afresh from the stores whenever they come back:
    // none is kept in the page cache, and the next page takes over its web process instead of
    // leaving it idle beside a new one (as the view's first page takes over its blank one).
    static void showing(WebKitWebView* view, bool browsersOwnPage);
    // Back or Forward from one of the browser's own pages to a web page: that page comes back in its
    // own process, from the page cache when the engine still holds it there.
    static void returningToWebPage(WebKitWebView* view);

private:
    WindowContext& m_context;
};

} // namespace nimb
