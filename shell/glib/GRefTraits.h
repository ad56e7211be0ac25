#pragma once

// How each reference-counted GLib, GTK and WebKit type is referenced and released, for GRefPtr. Every
// GObject takes the primary template (g_object_ref_sink / g_object_unref); every boxed or otherwise
// counted type has its own traits here, in this one header, so that no boxed type is ever handed to
// g_object_unref by a file that happened not to see its specialisation.

#include <glib-object.h>
#include <webkit/webkit.h>

namespace nimb::glib {

template <class T>
struct GRefTraits {
    static T* ref(T* p) { return static_cast<T*>(g_object_ref_sink(p)); }
    static void unref(T* p) { g_object_unref(p); }
};

#define NIMB_GREF_TRAITS(Type, refFunction, unrefFunction)                                                   \
    template <>                                                                                              \
    struct GRefTraits<Type> {                                                                                \
        static Type* ref(Type* p) { return refFunction(p); }                                                 \
        static void unref(Type* p) { unrefFunction(p); }                                                     \
    }

NIMB_GREF_TRAITS(GBytes, g_bytes_ref, g_bytes_unref);
NIMB_GREF_TRAITS(GVariant, g_variant_ref_sink, g_variant_unref);
NIMB_GREF_TRAITS(GMainLoop, g_main_loop_ref, g_main_loop_unref);
NIMB_GREF_TRAITS(GIOChannel, g_io_channel_ref, g_io_channel_unref);
NIMB_GREF_TRAITS(GHashTable, g_hash_table_ref, g_hash_table_unref);
NIMB_GREF_TRAITS(WebKitUserContentFilter, webkit_user_content_filter_ref, webkit_user_content_filter_unref);
NIMB_GREF_TRAITS(WebKitUserScript, webkit_user_script_ref, webkit_user_script_unref);
NIMB_GREF_TRAITS(WebKitUserStyleSheet, webkit_user_style_sheet_ref, webkit_user_style_sheet_unref);
NIMB_GREF_TRAITS(WebKitWebsiteData, webkit_website_data_ref, webkit_website_data_unref);
NIMB_GREF_TRAITS(WebKitScriptMessageReply, webkit_script_message_reply_ref,
                 webkit_script_message_reply_unref);
NIMB_GREF_TRAITS(WebKitWebViewSessionState, webkit_web_view_session_state_ref,
                 webkit_web_view_session_state_unref);

#undef NIMB_GREF_TRAITS

// How each type owned by GUniquePtr is freed: g_free unless said otherwise here.
template <class T>
struct GFreeTraits {
    static void free(T* p) { g_free(p); }
};

template <>
struct GFreeTraits<GError> {
    static void free(GError* p) { g_error_free(p); }
};

// Boxed types that are copied rather than counted.
template <>
struct GFreeTraits<WebKitNetworkProxySettings> {
    static void free(WebKitNetworkProxySettings* p) { webkit_network_proxy_settings_free(p); }
};
template <>
struct GFreeTraits<WebKitCredential> {
    static void free(WebKitCredential* p) { webkit_credential_free(p); }
};

// Counted, but only ever held by one owner here.
template <>
struct GFreeTraits<WebKitFeatureList> {
    static void free(WebKitFeatureList* p) { webkit_feature_list_unref(p); }
};

// A NULL-terminated array of strings.
template <>
struct GFreeTraits<char*> {
    static void free(char** p) { g_strfreev(p); }
};

} // namespace nimb::glib
