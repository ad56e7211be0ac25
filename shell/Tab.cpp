#include "Tab.h"

#include "PageSetup.h"

namespace nimb {

Tab::Tab(WebKitWebView* view) : m_view(view), m_cancellable(glib::adoptGRef(g_cancellable_new())) {}

Tab::~Tab() {
    teardown();
}

std::optional<std::string> Tab::viewAddress() const {
    const char* uri = m_view ? webkit_web_view_get_uri(m_view.get()) : nullptr;
    if (!uri || !*uri) return std::nullopt;
    return std::string(uri);
}

std::optional<std::string> Tab::address() const {
    if (localPage) return localPage;
    return viewAddress();
}

std::optional<std::string> Tab::pageTitle() const {
    if (localPage) return std::nullopt;
    const char* title = m_view ? webkit_web_view_get_title(m_view.get()) : nullptr;
    if (!title) return std::nullopt;
    return std::string(title);
}

void Tab::armTimeout(guint milliseconds, std::function<void()> fire) {
    disarmTimeout();
    timedOut = false;
    using Fire = std::function<void()>;
    struct Armed {
        Tab* tab;
        Fire fire;
    };
    m_timeout = g_timeout_add_full(
        G_PRIORITY_DEFAULT, milliseconds,
        +[](gpointer data) -> gboolean {
            auto* armed = static_cast<Armed*>(data);
            armed->tab->m_timeout = 0;
            armed->tab->timedOut = true;
            Fire due = std::move(armed->fire);
            due();
            return G_SOURCE_REMOVE;
        },
        new Armed{this, std::move(fire)}, +[](gpointer data) { delete static_cast<Armed*>(data); });
}

void Tab::disarmTimeout() {
    if (m_timeout) g_source_remove(m_timeout);
    m_timeout = 0;
}

void Tab::teardown() {
    if (m_tornDown) return;
    m_tornDown = true;
    disarmTimeout();
    g_cancellable_cancel(m_cancellable.get());
    if (!m_view) return;
    webkit_web_view_stop_loading(m_view.get());
    if (auto* manager = webkit_web_view_get_user_content_manager(m_view.get()))
        PageSetup::unregisterMessageHandlers(manager);
    if (GtkWidget* parent = gtk_widget_get_parent(GTK_WIDGET(m_view.get()))) {
        if (GTK_IS_STACK(parent))
            gtk_stack_remove(GTK_STACK(parent), GTK_WIDGET(m_view.get()));
        else
            gtk_widget_unparent(GTK_WIDGET(m_view.get()));
    }
}

} // namespace nimb
