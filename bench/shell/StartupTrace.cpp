// A diagnostic for the shell benchmark, preloaded into NIMB (LD_PRELOAD) by `shell-bench --trace`:
// times the library calls NIMB's start-up work is made of, without touching NIMB itself. Each
// call is passed on to the real function; its start (the monotonic clock, microseconds) and its
// duration go as a line "name start duration" to the file named by NIMB_BENCH_TRACE. Asynchronous
// operations show their start and, through their _finish call, when their result was taken.

#include <dlfcn.h>
#include <fontconfig/fontconfig.h>
#include <glib.h>
#include <gtk/gtk.h>
#include <pango/pangofc-fontmap.h>
#include <sqlite3.h>
#include <webkit/webkit.h>

#include <cstdio>
#include <cstdlib>

namespace {

void note(const char* name, gint64 start) {
    static FILE* out = [] {
        const char* path = std::getenv("NIMB_BENCH_TRACE");
        return path ? std::fopen(path, "a") : nullptr;
    }();
    if (!out) return;
    std::fprintf(out, "%s %lld %lld\n", name, static_cast<long long>(start),
                 static_cast<long long>(g_get_monotonic_time() - start));
    std::fflush(out);
}

// The programs NIMB starts (the engine's processes) are not to load this library too.
__attribute__((constructor)) void leaveChildrenAlone() {
    unsetenv("LD_PRELOAD");
}

template <typename Function>
Function real(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

} // namespace

// Each wrapper: look the real function up once, time the call.
#define NIMB_TRACE_CALL(name, ...)                                                                           \
    static auto next = real<decltype(&name)>(#name);                                                         \
    gint64 start = g_get_monotonic_time();                                                                   \
    auto returned = next(__VA_ARGS__);                                                                       \
    note(#name, start);                                                                                      \
    return returned

#define NIMB_TRACE_VOID(name, ...)                                                                           \
    static auto next = real<decltype(&name)>(#name);                                                         \
    gint64 start = g_get_monotonic_time();                                                                   \
    next(__VA_ARGS__);                                                                                       \
    note(#name, start)

extern "C" {

int sqlite3_open_v2(const char* file, sqlite3** db, int flags, const char* vfs) {
    NIMB_TRACE_CALL(sqlite3_open_v2, file, db, flags, vfs);
}

// Only the steps that take a while: reads of a few rows are many and quick.
int sqlite3_step(sqlite3_stmt* statement) {
    static auto next = real<decltype(&sqlite3_step)>("sqlite3_step");
    gint64 start = g_get_monotonic_time();
    int result = next(statement);
    if (g_get_monotonic_time() - start >= 500) note("sqlite3_step(slow)", start);
    return result;
}

int sqlite3_exec(sqlite3* db, const char* sql, int (*callback)(void*, int, char**, char**), void* data,
                 char** error) {
    NIMB_TRACE_CALL(sqlite3_exec, db, sql, callback, data, error);
}

WebKitNetworkSession* webkit_network_session_new(const char* data, const char* cache) {
    NIMB_TRACE_CALL(webkit_network_session_new, data, cache);
}

WebKitWebContext* webkit_web_context_new() {
    NIMB_TRACE_CALL(webkit_web_context_new);
}

FcBool FcConfigAppFontAddFile(FcConfig* config, const FcChar8* file) {
    NIMB_TRACE_CALL(FcConfigAppFontAddFile, config, file);
}

void pango_fc_font_map_config_changed(PangoFcFontMap* map) {
    NIMB_TRACE_VOID(pango_fc_font_map_config_changed, map);
}

void pango_font_map_list_families(PangoFontMap* map, PangoFontFamily*** families, int* count) {
    NIMB_TRACE_VOID(pango_font_map_list_families, map, families, count);
}

void gtk_css_provider_load_from_data(GtkCssProvider* provider, const char* data, gssize length) {
    NIMB_TRACE_VOID(gtk_css_provider_load_from_data, provider, data, length);
}

void gtk_application_set_menubar(GtkApplication* application, GMenuModel* menubar) {
    NIMB_TRACE_VOID(gtk_application_set_menubar, application, menubar);
}

void webkit_user_content_filter_store_load(WebKitUserContentFilterStore* store, const gchar* identifier,
                                           GCancellable* cancellable, GAsyncReadyCallback callback,
                                           gpointer data) {
    NIMB_TRACE_VOID(webkit_user_content_filter_store_load, store, identifier, cancellable, callback, data);
}

WebKitUserContentFilter* webkit_user_content_filter_store_load_finish(WebKitUserContentFilterStore* store,
                                                                      GAsyncResult* result, GError** error) {
    NIMB_TRACE_CALL(webkit_user_content_filter_store_load_finish, store, result, error);
}

void webkit_user_content_filter_store_save(WebKitUserContentFilterStore* store, const gchar* identifier,
                                           GBytes* source, GCancellable* cancellable,
                                           GAsyncReadyCallback callback, gpointer data) {
    NIMB_TRACE_VOID(webkit_user_content_filter_store_save, store, identifier, source, cancellable, callback,
                    data);
}

WebKitUserContentFilter* webkit_user_content_filter_store_save_finish(WebKitUserContentFilterStore* store,
                                                                      GAsyncResult* result, GError** error) {
    NIMB_TRACE_CALL(webkit_user_content_filter_store_save_finish, store, result, error);
}

void webkit_user_content_manager_add_script(WebKitUserContentManager* manager, WebKitUserScript* script) {
    NIMB_TRACE_VOID(webkit_user_content_manager_add_script, manager, script);
}

void webkit_web_view_load_html(WebKitWebView* view, const gchar* content, const gchar* base) {
    NIMB_TRACE_VOID(webkit_web_view_load_html, view, content, base);
}

// The toolkit's and the engine's synchronous calls on the session bus.
GDBusProxy* g_dbus_proxy_new_sync(GDBusConnection* connection, GDBusProxyFlags flags,
                                  GDBusInterfaceInfo* info, const gchar* name, const gchar* path,
                                  const gchar* interface, GCancellable* cancellable, GError** error) {
    NIMB_TRACE_CALL(g_dbus_proxy_new_sync, connection, flags, info, name, path, interface, cancellable,
                    error);
}

GDBusProxy* g_dbus_proxy_new_for_bus_sync(GBusType bus, GDBusProxyFlags flags, GDBusInterfaceInfo* info,
                                          const gchar* name, const gchar* path, const gchar* interface,
                                          GCancellable* cancellable, GError** error) {
    NIMB_TRACE_CALL(g_dbus_proxy_new_for_bus_sync, bus, flags, info, name, path, interface, cancellable,
                    error);
}

void gtk_window_present(GtkWindow* window) {
    NIMB_TRACE_VOID(gtk_window_present, window);
}

} // extern "C"
