#include "window/Tab.h"

#include "page/WitnessMessage.h"

#include "base/Url.h"
#include "engine/FaviconStore.h"
#include "engine/PageSetup.h"
#include "page/Favicon.h"

#include <algorithm>
#include <utility>

namespace nimb {

Tab::Tab(WebKitWebView* view, TabObserver& observer)
    : m_view(view), m_cancellable(glib::adoptGRef(g_cancellable_new())),
      m_pageCancellable(glib::adoptGRef(g_cancellable_new())) {
    connect(observer);
}

Tab::~Tab() {
    teardown();
}

void Tab::connect(TabObserver& observer) {
    WebKitWebView* view = m_view.get();
    TabObserver* to = &observer;
    auto& c = m_connections;
    c.push_back(glib::connect<gboolean(WebKitWebView*, WebKitPolicyDecision*, WebKitPolicyDecisionType)>(
        view, "decide-policy",
        [this, to](WebKitWebView*, WebKitPolicyDecision* d, WebKitPolicyDecisionType t) {
            return to->decidePolicy(*this, d, t) ? TRUE : FALSE;
        }));
    c.push_back(glib::connect<GtkWidget*(WebKitWebView*, WebKitNavigationAction*)>(
        view, "create", [this, to](WebKitWebView*, WebKitNavigationAction* action) -> GtkWidget* {
            to->createRequested(*this, action);
            return nullptr;
        }));
    c.push_back(glib::connect<gboolean(WebKitWebView*, WebKitPrintOperation*)>(
        view, "print", [this, to](WebKitWebView*, WebKitPrintOperation* operation) -> gboolean {
            to->printRequested(*this, operation);
            return TRUE;
        }));
    c.push_back(glib::connect<void(WebKitWebView*, WebKitLoadEvent)>(
        view, "load-changed", [this, to](WebKitWebView*, WebKitLoadEvent e) { to->loadChanged(*this, e); }));
    c.push_back(glib::connect<gboolean(WebKitWebView*, WebKitLoadEvent, char*, GError*)>(
        view, "load-failed", [this, to](WebKitWebView*, WebKitLoadEvent, char* address, GError* error) {
            to->loadFailed(*this, address, error);
            return TRUE;
        }));
    c.push_back(glib::connect<void(WebKitWebView*, WebKitWebProcessTerminationReason)>(
        view, "web-process-terminated", [this, to](WebKitWebView*, WebKitWebProcessTerminationReason reason) {
            to->processEnded(*this, reason);
        }));
    using Notify = void(WebKitWebView*, GParamSpec*);
    c.push_back(glib::connect<Notify>(view, "notify::title",
                                      [this, to](WebKitWebView*, GParamSpec*) { to->titleChanged(*this); }));
    c.push_back(glib::connect<Notify>(
        view, "notify::uri", [this, to](WebKitWebView*, GParamSpec*) { to->addressChanged(*this); }));
    c.push_back(
        glib::connect<Notify>(view, "notify::estimated-load-progress",
                              [this, to](WebKitWebView*, GParamSpec*) { to->progressChanged(*this); }));
    c.push_back(glib::connect<Notify>(
        view, "notify::is-loading", [this, to](WebKitWebView*, GParamSpec*) { to->loadingChanged(*this); }));
    c.push_back(glib::connect<gboolean(WebKitWebView*, WebKitContextMenu*, WebKitHitTestResult*)>(
        view, "context-menu", [this, to](WebKitWebView*, WebKitContextMenu* menu, WebKitHitTestResult* hit) {
            return to->contextMenu(*this, menu, hit) ? TRUE : FALSE;
        }));
    c.push_back(glib::connect<void(WebKitBackForwardList*, WebKitBackForwardListItem*, gpointer)>(
        webkit_web_view_get_back_forward_list(view), "changed",
        [this, to](WebKitBackForwardList*, WebKitBackForwardListItem*, gpointer) {
            to->backForwardChanged(*this);
        }));

    c.push_back(glib::connect<gboolean(WebKitWebView*, WebKitUserMessage*)>(
        view, "user-message-received", [this, to](WebKitWebView*, WebKitUserMessage* message) -> gboolean {
            const char* name = webkit_user_message_get_name(message);
            if (!name || WitnessMessage::name != name) return FALSE;
            GVariant* body = webkit_user_message_get_parameters(message);
            if (body && g_variant_is_of_type(body, G_VARIANT_TYPE("(ts)"))) {
                guint64 document = 0;
                const char* text = nullptr;
                g_variant_get(body, "(t&s)", &document, &text);
                to->witnessed(*this, document, text ? std::string_view(text) : std::string_view());
            }
            return TRUE;
        }));

    WebKitUserContentManager* manager = webkit_web_view_get_user_content_manager(view);
    using Received = void(WebKitUserContentManager*, JSCValue*);
    c.push_back(glib::connect<Received>(manager, "script-message-received::status",
                                        [this, to](WebKitUserContentManager*, JSCValue* body) {
                                            to->message(*this, PageMessage::status, body);
                                        }));
    c.push_back(glib::connect<Received>(manager, "script-message-received::blocked",
                                        [this, to](WebKitUserContentManager*, JSCValue* body) {
                                            to->message(*this, PageMessage::blocked, body);
                                        }));
    c.push_back(glib::connect<Received>(manager, "script-message-received::favicon",
                                        [this, to](WebKitUserContentManager*, JSCValue* body) {
                                            to->message(*this, PageMessage::favicon, body);
                                        }));
}

std::optional<GeneratedPage::Entry> Tab::generatedEntry() const {
    auto address = viewAddress();
    return address ? GeneratedPage::parse(*address) : std::nullopt;
}

std::optional<GeneratedPage::Entry> Tab::committedEntry() const {
    const char* uri = committedItem ? webkit_back_forward_list_item_get_uri(committedItem.get()) : nullptr;
    return uri ? GeneratedPage::parse(uri) : std::nullopt;
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

GdkTexture* Tab::icon() const {
    if (localPage) return nullptr;
    auto key = Favicon::key(address());
    return key ? FaviconStore::shared().cached(*key) : nullptr;
}

bool Tab::loading() const {
    return m_view && webkit_web_view_is_loading(m_view.get());
}

void Tab::armTimeout(std::chrono::milliseconds delay, std::function<void()> fire) {
    timedOut = false;
    m_timeout = glib::Source::timeout(delay, [this, fire = std::move(fire)] {
        timedOut = true;
        fire();
    });
}

void Tab::disarmTimeout() {
    m_timeout.cancel();
}

bool Tab::acceptsWitnessedDocument(std::uint64_t document) {
    if (std::find(witnessDocumentsLeft.begin(), witnessDocumentsLeft.end(), document) !=
        witnessDocumentsLeft.end())
        return false;
    witnessDocument = document;
    return true;
}

void Tab::leaveWitnessedDocument() {
    if (!witnessDocument) return;
    witnessDocumentsLeft.push_back(*std::exchange(witnessDocument, std::nullopt));
    if (witnessDocumentsLeft.size() > keptDocumentsLeft)
        witnessDocumentsLeft.erase(witnessDocumentsLeft.begin());
}

void Tab::leavePage() {
    g_cancellable_cancel(m_pageCancellable.get());
    if (!m_tornDown) m_pageCancellable = glib::adoptGRef(g_cancellable_new());
}

void Tab::teardown() {
    if (m_tornDown) return;
    m_tornDown = true;
    titles.flush();
    blockedReports.cancel();
    addressChanges.cancel();
    m_connections.clear();
    m_timeout.cancel();
    g_cancellable_cancel(m_cancellable.get());
    g_cancellable_cancel(m_pageCancellable.get());
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
