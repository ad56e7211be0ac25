#include "WebPage.h"

#include "MainLoop.h"

#include <gtk/gtk.h>

namespace nimb::test {

namespace {

std::optional<nlohmann::json> toJson(JSCValue* value) {
    if (!value || jsc_value_is_undefined(value)) return std::nullopt;
    char* text = jsc_value_to_json(value, 0);
    if (!text) return std::nullopt;
    auto parsed = nlohmann::json::parse(text, nullptr, false);
    g_free(text);
    if (parsed.is_discarded()) return std::nullopt;
    return parsed;
}

std::string toText(JSCValue* value) {
    if (!value || !jsc_value_is_string(value)) return {};
    char* text = jsc_value_to_string(value);
    std::string out = text ? text : "";
    g_free(text);
    return out;
}

struct Pending {
    bool done = false;
    bool ok = false;
    std::optional<nlohmann::json> json;
    std::optional<std::string> text;

    // Takes what a script call answered: its value, or the error that stands in for one.
    void finish(JSCValue* value, GError* error) {
        if (value) {
            ok = true;
            json = toJson(value);
            if (jsc_value_is_string(value)) text = toText(value);
            g_object_unref(value);
        } else if (error) {
            g_error_free(error);
        }
        done = true;
    }
};

Pending run(WebKitWebView* view, std::string_view script, const char* world) {
    Pending pending;
    std::string text(script);
    webkit_web_view_evaluate_javascript(
        view, text.c_str(), static_cast<gssize>(text.size()), world, nullptr, nullptr,
        +[](GObject* source, GAsyncResult* result, gpointer data) {
            GError* error = nullptr;
            JSCValue* value =
                webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(source), result, &error);
            static_cast<Pending*>(data)->finish(value, error);
        },
        &pending);
    waitUntil([&] { return pending.done; }, 30s);
    return pending;
}

} // namespace

std::optional<nlohmann::json> evaluateIn(WebKitWebView* view, std::string_view script, const char* world) {
    return run(view, script, world).json;
}

bool engineAvailable() {
    static const bool available = [] {
        g_set_prgname("nimb-web-tests");
        return gtk_init_check() != FALSE;
    }();
    return available;
}

WebPage::WebPage(const ProxyServer& proxy) : WebPage(proxy, Options{}) {}

WebPage::WebPage(const ProxyServer& proxy, Options options) : m_options(std::move(options)) {
    engineAvailable();
    if (m_options.session) {
        m_session = WEBKIT_NETWORK_SESSION(g_object_ref(m_options.session));
    } else {
        m_session = webkit_network_session_new_ephemeral();
        auto* proxySettings = webkit_network_proxy_settings_new(proxy.address().c_str(), nullptr);
        webkit_network_session_set_proxy_settings(m_session, WEBKIT_NETWORK_PROXY_MODE_CUSTOM, proxySettings);
        webkit_network_proxy_settings_free(proxySettings);
    }

    m_manager = webkit_user_content_manager_new();
    PageSetup::registerMessageHandlers(m_manager);
    g_signal_connect(m_manager, "script-message-received::status",
                     G_CALLBACK(+[](WebKitUserContentManager*, JSCValue* value, WebPage* self) {
                         self->m_messages.status.push_back(toText(value));
                     }),
                     this);
    g_signal_connect(m_manager, "script-message-received::blocked",
                     G_CALLBACK(+[](WebKitUserContentManager*, JSCValue* value, WebPage* self) {
                         self->m_messages.blocked.push_back(toJson(value).value_or(nlohmann::json()));
                     }),
                     this);
    g_signal_connect(m_manager, "script-message-received::favicon",
                     G_CALLBACK(+[](WebKitUserContentManager*, JSCValue* value, WebPage* self) {
                         self->m_messages.favicon.push_back(toText(value));
                     }),
                     this);

    BlockerRules* rules = nullptr;
    if (m_options.ruleList) rules = m_options.rules ? m_options.rules : &BlockerRules::shared();
    std::function<bool()> stillBlocking = m_options.stillBlocking;
    if (!stillBlocking) stillBlocking = [] { return true; };
    PageSetup::apply(m_manager, m_options.policy, rules, stillBlocking);
    if (!m_options.firstScript.empty()) {
        webkit_user_content_manager_remove_all_scripts(m_manager);
        auto* first =
            webkit_user_script_new(m_options.firstScript.c_str(), WEBKIT_USER_CONTENT_INJECT_ALL_FRAMES,
                                   WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START, nullptr, nullptr);
        webkit_user_content_manager_add_script(m_manager, first);
        webkit_user_script_unref(first);
        for (const auto& script : PageSetup::userScripts(m_options.policy)) {
            auto* user =
                webkit_user_script_new(script.source.c_str(), script.frames, script.time, nullptr, nullptr);
            webkit_user_content_manager_add_script(m_manager, user);
            webkit_user_script_unref(user);
        }
    }
    // A page must not start before the rule list it is meant to load under.
    if (rules && m_options.policy.contentBlocking && m_options.waitForRuleList && !rules->list())
        waitUntil([rules] { return rules->list() != nullptr || !rules->working(); }, 20s);

    auto* settings = webkit_settings_new();
    webkit_settings_set_enable_javascript_markup(settings, m_options.javaScript);
    m_view = WEBKIT_WEB_VIEW(g_object_new(WEBKIT_TYPE_WEB_VIEW, "network-session", m_session,
                                          "user-content-manager", m_manager, "settings", settings, nullptr));
    g_object_unref(settings);
    g_object_ref_sink(m_view);

    g_signal_connect(m_view, "load-changed",
                     G_CALLBACK(+[](WebKitWebView*, WebKitLoadEvent event, WebPage* self) {
                         if (event == WEBKIT_LOAD_FINISHED) self->m_finished = true;
                     }),
                     this);
    g_signal_connect(
        m_view, "load-failed",
        G_CALLBACK(+[](WebKitWebView*, WebKitLoadEvent, char*, GError*, WebPage* self) -> gboolean {
            self->m_failed = true;
            return FALSE;
        }),
        this);

    m_window = gtk_window_new();
    gtk_window_set_decorated(GTK_WINDOW(m_window), FALSE);
    gtk_window_set_default_size(GTK_WINDOW(m_window), m_options.width, m_options.height);
    gtk_window_set_child(GTK_WINDOW(m_window), GTK_WIDGET(m_view));
    gtk_window_present(GTK_WINDOW(m_window));
}

WebPage::~WebPage() {
    g_signal_handlers_disconnect_by_data(m_view, this);
    g_signal_handlers_disconnect_by_data(m_manager, this);
    PageSetup::unregisterMessageHandlers(m_manager);
    webkit_web_view_stop_loading(m_view);
    // The next test starts once the engine has torn the view down.
    bool gone = false;
    g_object_weak_ref(
        G_OBJECT(m_view), +[](gpointer flag, GObject*) { *static_cast<bool*>(flag) = true; }, &gone);
    gtk_window_destroy(GTK_WINDOW(m_window));
    g_object_unref(m_view);
    g_object_unref(m_manager);
    g_object_unref(m_session);
    if (!waitUntil([&] { return gone; }, 5s)) g_object_weak_unref(G_OBJECT(m_view), nullptr, &gone);
}

void WebPage::hide() {
    waitUntil([this] { return gtk_widget_get_width(GTK_WIDGET(m_view)) > 0; }, 5s);
    gtk_widget_set_visible(m_window, FALSE);
}

bool WebPage::load(const std::string& url, std::chrono::milliseconds timeout) {
    m_finished = m_failed = false;
    webkit_web_view_load_uri(m_view, url.c_str());
    return waitUntil([this] { return m_finished; }, timeout) && !m_failed;
}

bool WebPage::loadHtml(const std::string& html, std::chrono::milliseconds timeout) {
    m_finished = m_failed = false;
    webkit_web_view_load_html(m_view, html.c_str(), nullptr);
    return waitUntil([this] { return m_finished; }, timeout) && !m_failed;
}

std::optional<nlohmann::json> WebPage::evaluate(std::string_view script, const char* world) {
    return evaluateIn(m_view, script, world);
}

WebPage::Evaluation WebPage::evaluateText(std::string_view script) {
    Pending pending = run(m_view, script, nullptr);
    return Evaluation{pending.ok, pending.text};
}

std::optional<nlohmann::json> WebPage::callAsync(std::string_view body, GVariant* arguments,
                                                 const char* world) {
    Pending pending;
    std::string text(body);
    if (arguments) g_variant_ref_sink(arguments);
    webkit_web_view_call_async_javascript_function(
        m_view, text.c_str(), static_cast<gssize>(text.size()), arguments, world, nullptr, nullptr,
        +[](GObject* source, GAsyncResult* result, gpointer data) {
            GError* error = nullptr;
            JSCValue* value = webkit_web_view_call_async_javascript_function_finish(WEBKIT_WEB_VIEW(source),
                                                                                    result, &error);
            static_cast<Pending*>(data)->finish(value, error);
        },
        &pending);
    waitUntil([&] { return pending.done; }, 30s);
    if (arguments) g_variant_unref(arguments);
    return pending.json;
}

bool WebPage::waitFor(std::string_view expression, std::chrono::milliseconds deadline) {
    std::string script = "!!(" + std::string(expression) + ")";
    return waitUntil(
        [&] {
            auto value = evaluate(script);
            return value && value->is_boolean() && value->get<bool>();
        },
        deadline);
}

bool WebPage::passTimers(std::chrono::milliseconds sinceStart, std::chrono::milliseconds fromNow) {
    // The page scripts start at document start, before the document is parsed: their timers are due
    // by the time it became interactive plus their delay. The marker runs in a world of its own, out
    // of reach of whatever the page did to its own.
    std::string body =
        "var since = " + std::to_string(sinceStart.count()) +
        ", fromNow = " + std::to_string(fromNow.count()) +
        ";\n"
        "var entry = performance.getEntriesByType('navigation')[0];\n"
        "var start = entry && entry.domInteractive > 0 ? entry.domInteractive : performance.now();\n"
        "var wait = Math.max(fromNow, Math.ceil(start + since - performance.now()) + 1);\n"
        "return new Promise(function (done) {\n"
        "  setTimeout(function () {\n"
        "    if (document.visibilityState === 'visible') requestAnimationFrame(function () { "
        "done(true); });\n"
        "    else setTimeout(function () { done(true); }, 0);\n"
        "  }, wait);\n"
        "});";
    return callAsync(body, nullptr, "nimb-tests") == true;
}

} // namespace nimb::test
