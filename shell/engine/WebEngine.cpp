#include "engine/WebEngine.h"

#include "engine/AssetSchemeHandler.h"
#include "engine/FaviconStore.h"

namespace nimb {

WebEngine::WebEngine(const UserDirectories& directories, const std::optional<std::string>& proxy,
                     const std::filesystem::path& fonts) {
    m_session = glib::adoptGRef(
        webkit_network_session_new(directories.webKitData().c_str(), directories.webKitCache().c_str()));
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
    AssetSchemeHandler::install(m_context.get(), fonts);
}

} // namespace nimb
