#include "engine/WebEngine.h"

#include "engine/AssetSchemeHandler.h"
#include "engine/FaviconStore.h"
#include "page/WitnessMessage.h"

namespace nimb {

namespace {

GVariant* witnessPolicy(bool blocking, bool counting) {
    return g_variant_new("(bb)", blocking ? TRUE : FALSE, counting ? TRUE : FALSE);
}

} // namespace

WebEngine::WebEngine(const UserDirectories& directories, const std::optional<std::string>& proxy,
                     const std::filesystem::path& fonts,
                     const std::optional<std::filesystem::path>& witness) {
    m_session = glib::adoptGRef(
        webkit_network_session_new(directories.webKitData().c_str(), directories.webKitCache().c_str()));
    // Sites keep their cookies from one run to the next, as the engine's other data; cookies set by
    // another site than the page's own are refused.
    WebKitCookieManager* cookies = webkit_network_session_get_cookie_manager(m_session.get());
    webkit_cookie_manager_set_persistent_storage(cookies, directories.cookies().c_str(),
                                                 WEBKIT_COOKIE_PERSISTENT_STORAGE_SQLITE);
    webkit_cookie_manager_set_accept_policy(cookies, WEBKIT_COOKIE_POLICY_ACCEPT_NO_THIRD_PARTY);
    if (proxy) {
        // Icons are fetched apart from the engine, through the same proxy.
        FaviconStore::shared().setProxy(*proxy);
        glib::GUniquePtr<WebKitNetworkProxySettings> settings(
            webkit_network_proxy_settings_new(proxy->c_str(), nullptr));
        webkit_network_session_set_proxy_settings(m_session.get(), WEBKIT_NETWORK_PROXY_MODE_CUSTOM,
                                                  settings.get());
    }
    // Nothing a page serves is saved to disk, not even what it offers as a download.
    m_downloads = glib::connect<void(WebKitNetworkSession*, WebKitDownload*)>(
        m_session.get(), "download-started",
        [](WebKitNetworkSession*, WebKitDownload* download) { webkit_download_cancel(download); });

    m_context = glib::adoptGRef(webkit_web_context_new());
    if (witness) {
        // The web processes run in a sandbox that shows them only what it is told to: a library it
        // is not shown is skipped without a word.
        m_witness = std::make_shared<Witness>();
        m_witness->directory = witness->string();
        webkit_web_context_add_path_to_sandbox(m_context.get(), m_witness->directory.c_str(), TRUE);
        m_witnessStarts = glib::connect<void(WebKitWebContext*)>(
            m_context.get(), "initialize-web-process-extensions",
            [state = std::weak_ptr(m_witness)](WebKitWebContext* context) {
                auto current = state.lock();
                if (!current) return;
                webkit_web_context_set_web_process_extensions_directory(context, current->directory.c_str());
                webkit_web_context_set_web_process_extensions_initialization_user_data(
                    context, witnessPolicy(current->blocking, current->counting));
            });
    }
    AssetSchemeHandler::install(m_context.get(), fonts);
    // The context may outlive the engine (a view still holds it): the scheme then finds no one to ask.
    GeneratedPageScheme::install(
        m_context.get(),
        [weak = std::weak_ptr(m_drawPage)](WebKitWebView* view,
                                           const GeneratedPage::Entry& entry) -> std::optional<std::string> {
            auto draw = weak.lock();
            if (!draw || !*draw) return std::nullopt;
            return (*draw)(view, entry);
        });
}

void WebEngine::setWitnessPolicy(bool blocking, bool counting) {
    if (!m_witness || (m_witness->blocking == blocking && m_witness->counting == counting)) return;
    m_witness->blocking = blocking;
    m_witness->counting = counting;
    webkit_web_context_send_message_to_all_extensions(
        m_context.get(), webkit_user_message_new(std::string(WitnessMessage::policyName).c_str(),
                                                 witnessPolicy(blocking, counting)));
}

GtkWidget* WebEngine::makeGeneratedPageView() const {
    auto settings = glib::adoptGRef(webkit_settings_new());
    webkit_settings_set_enable_javascript_markup(settings.get(), FALSE);
    webkit_settings_set_enable_back_forward_navigation_gestures(settings.get(), FALSE);
    auto* view =
        GTK_WIDGET(g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context", m_context.get(), "network-session",
                                m_session.get(), "settings", settings.get(), nullptr));
    GdkRGBA clear{0, 0, 0, 0};
    webkit_web_view_set_background_color(WEBKIT_WEB_VIEW(view), &clear);
    return view;
}

} // namespace nimb
