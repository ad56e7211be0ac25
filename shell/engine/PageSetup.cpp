#include "engine/PageSetup.h"

#include "base/Text.h"
#include "blocker/ContentBlocker.h"
#include "glib/GRefPtr.h"
#include "page/PageScripts.h"
#include "preferences/Preferences.h"

#include <memory>

namespace nimb::PageSetup {

Policy Policy::from(const Preferences& preferences) {
    return Policy{preferences.forgetStorageEnabled(), preferences.nimbReportEnabled(),
                  preferences.contentBlockingEnabled()};
}

std::vector<UserScript> userScripts(const Policy& policy) {
    std::vector<UserScript> scripts;
    scripts.push_back({std::string(PageScripts::linkHover()), WEBKIT_USER_CONTENT_INJECT_ALL_FRAMES,
                       WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_END});
    scripts.push_back({std::string(PageScripts::favicon()), WEBKIT_USER_CONTENT_INJECT_TOP_FRAME,
                       WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_END});
    if (policy.forgetStorage)
        scripts.push_back({std::string(PageScripts::forgetStorage()), WEBKIT_USER_CONTENT_INJECT_ALL_FRAMES,
                           WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START});
    if (policy.nimbReport)
        scripts.push_back({PageScripts::recorder(ContentBlocker::lookupTableJSON()),
                           WEBKIT_USER_CONTENT_INJECT_TOP_FRAME,
                           WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START});
    if (policy.contentBlocking)
        scripts.push_back({PageScripts::declutter(ContentBlocker::hiddenSelectors()),
                           WEBKIT_USER_CONTENT_INJECT_TOP_FRAME,
                           WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START});
    return scripts;
}

void registerMessageHandlers(WebKitUserContentManager* manager) {
    for (std::string_view name : messageHandlers)
        webkit_user_content_manager_register_script_message_handler(manager, std::string(name).c_str(),
                                                                    nullptr);
}

void unregisterMessageHandlers(WebKitUserContentManager* manager) {
    for (std::string_view name : messageHandlers)
        webkit_user_content_manager_unregister_script_message_handler(manager, std::string(name).c_str(),
                                                                      nullptr);
}

namespace {

// A weak reference to a GObject that may be copied into callbacks.
std::shared_ptr<GWeakRef> weakly(gpointer object) {
    auto* ref = new GWeakRef;
    g_weak_ref_init(ref, object);
    return std::shared_ptr<GWeakRef>(ref, [](GWeakRef* r) {
        g_weak_ref_clear(r);
        delete r;
    });
}

} // namespace

void apply(WebKitUserContentManager* manager, const Policy& policy, BlockerRules* rules,
           std::function<bool()> stillBlocking) {
    webkit_user_content_manager_remove_all_scripts(manager);
    webkit_user_content_manager_remove_all_filters(manager);
    for (const auto& script : userScripts(policy)) {
        auto user = glib::adoptGRef(
            webkit_user_script_new(script.source.c_str(), script.frames, script.time, nullptr, nullptr));
        webkit_user_content_manager_add_script(manager, user.get());
    }
    if (!policy.contentBlocking || !rules) return;
    if (auto* list = rules->list()) {
        webkit_user_content_manager_add_filter(manager, list);
        return;
    }
    rules->load([target = weakly(manager),
                 stillBlocking = std::move(stillBlocking)](WebKitUserContentFilter* list) {
        if (!list) return;
        auto alive = glib::adoptGRef(static_cast<WebKitUserContentManager*>(g_weak_ref_get(target.get())));
        if (!alive) return;
        if (!stillBlocking || stillBlocking()) webkit_user_content_manager_add_filter(alive.get(), list);
    });
}

GVariant* findArguments(std::string_view query, int step, int foot) {
    GVariantDict dict;
    g_variant_dict_init(&dict, nullptr);
    std::string text = text::validUtf8(query);
    g_variant_dict_insert_value(&dict, "q", g_variant_new_string(text.c_str()));
    g_variant_dict_insert_value(&dict, "step", g_variant_new_int32(step));
    g_variant_dict_insert_value(&dict, "foot", g_variant_new_int32(foot));
    return g_variant_dict_end(&dict);
}

} // namespace nimb::PageSetup
