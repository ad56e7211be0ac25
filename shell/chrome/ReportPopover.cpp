#include "chrome/ReportPopover.h"

#include "glib/Async.h"

#include <utility>

namespace nimb {

ReportPopover::ReportPopover(GtkWindow* window, GtkWidget* host, GtkWidget* web) : m_page(web) {
    m_bubble = std::make_unique<Bubble>(window, host, m_page.widget());
    m_connections.push_back(m_page.onLoaded.connect([this] { loaded(); }));
    // A link followed in the panel's own page closes the bubble and goes to the window.
    m_connections.push_back(m_page.onFollow.connect([this](const std::string& address, bool permitted) {
        if (!permitted) return;
        m_bubble->close();
        onOpen(address);
    }));
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
    m_page.load(std::string(html));
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

} // namespace nimb
