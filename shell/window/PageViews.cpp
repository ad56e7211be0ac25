#include "window/PageViews.h"

#include "app/Application.h"
#include "engine/BlockerRules.h"
#include "engine/PageSetup.h"
#include "engine/WebEngine.h"
#include "glib/GRefPtr.h"
#include "location/UserAgent.h"
#include "preferences/Preferences.h"
#include "window/TabList.h"
#include "window/WindowContext.h"

#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace nimb {

namespace {

// The engine's feature of that name, looked up once (every page commit asks for one); none if the
// engine has none.
WebKitFeature* featureNamed(std::string_view name) {
    static const auto features = [] {
        std::map<std::string, WebKitFeature*, std::less<>> byName;
        glib::GUniquePtr<WebKitFeatureList> all(webkit_settings_get_all_features());
        for (gsize i = 0; i < webkit_feature_list_get_length(all.get()); ++i) {
            WebKitFeature* feature = webkit_feature_list_get(all.get(), i);
            byName.emplace(webkit_feature_get_identifier(feature), webkit_feature_ref(feature));
        }
        return byName;
    }();
    auto found = features.find(name);
    return found == features.end() ? nullptr : found->second;
}

// The engine's feature of that name in the view's settings, on or off.
void setFeature(WebKitSettings* settings, std::string_view name, bool on) {
    WebKitFeature* feature = featureNamed(name);
    if (feature && webkit_settings_get_feature_enabled(settings, feature) != on)
        webkit_settings_set_feature_enabled(settings, feature, on);
}

// A new process for a page of another site than the one shown.
constexpr std::string_view processPerSite = "ProcessSwapOnCrossSiteNavigation";

} // namespace

WebKitWebView* PageViews::make() {
    auto settings = glib::adoptGRef(webkit_settings_new());
    webkit_settings_set_enable_javascript_markup(settings.get(), m_context.prefs().javaScriptEnabled());
    // The engine's own agent with the browser's name in place of the engine's Safari claim.
    static const std::string agent = [&] {
        const char* engine = webkit_settings_get_user_agent(settings.get());
        return UserAgent::compose(engine ? engine : "", UserAgent::applicationName());
    }();
    webkit_settings_set_user_agent(settings.get(), agent.c_str());
    // Service workers and shared workers run apart from any page, where the request witness cannot
    // follow them and nothing they send could be counted: pages here do without them, as they must
    // wherever a browser does not offer them.
    setFeature(settings.get(), "ServiceWorkers", false);
    setFeature(settings.get(), "SharedWorker", false);

    auto manager = glib::adoptGRef(webkit_user_content_manager_new());
    PageSetup::registerMessageHandlers(manager.get());

    Application& application = m_context.application();
    auto* view = WEBKIT_WEB_VIEW(g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context",
                                              application.engine().context(), "network-session",
                                              application.engine().session(), "user-content-manager",
                                              manager.get(), "settings", settings.get(), nullptr));
    gtk_widget_set_hexpand(GTK_WIDGET(view), TRUE);
    gtk_widget_set_vexpand(GTK_WIDGET(view), TRUE);
    applyPolicy(view);
    return view;
}

void PageViews::applyPolicy(WebKitWebView* view) {
    const Preferences& prefs = m_context.prefs();
    m_context.application().engine().setWitnessPolicy(prefs.contentBlockingEnabled(),
                                                      prefs.nimbReportEnabled());
    std::weak_ptr<WindowContext> weak = m_context.weak_from_this();
    PageSetup::apply(webkit_web_view_get_user_content_manager(view),
                     PageSetup::Policy::from(m_context.prefs()), &m_context.application().rules(), [weak] {
                         auto context = weak.lock();
                         return context && context->prefs().contentBlockingEnabled();
                     });
}

void PageViews::applyPolicyToEveryTab() {
    for (const auto& tab : m_context.tabs().all())
        applyPolicy(tab->view());
}

void PageViews::setJavaScript(bool on) {
    for (const auto& tab : m_context.tabs().all())
        webkit_settings_set_enable_javascript_markup(webkit_web_view_get_settings(tab->view()), on);
}

void PageViews::showing(WebKitWebView* view, bool browsersOwnPage) {
    WebKitSettings* settings = webkit_web_view_get_settings(view);
    if (webkit_settings_get_enable_page_cache(settings) == browsersOwnPage)
        webkit_settings_set_enable_page_cache(settings, !browsersOwnPage);
    setFeature(settings, processPerSite, !browsersOwnPage);
}

void PageViews::returningToWebPage(WebKitWebView* view) {
    setFeature(webkit_web_view_get_settings(view), processPerSite, true);
}

} // namespace nimb
