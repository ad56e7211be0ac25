// The baseline for the shell benchmark: what a plain embedder of the web engine does. One GtkWindow
// with one WebKitWebView in the engine's defaults (the default network session and context, no user
// scripts, no content filters), every request sent through NIMB_HTTP_PROXY. It first shows the HTML
// document in the file named on its command line, then loads what the driver asks for (see Probe.h).
// That document is NIMB's home page: the typefaces it asks for under NIMB's private scheme are served
// from the document's directory, as a plain embedder serves its own page's files.

#include "Probe.h"

#include <gtk/gtk.h>
#include <webkit/webkit.h>

#include <cstdlib>
#include <functional>
#include <string>

namespace {

using namespace nimb::bench;

probe::LoadTimer timer;
WebKitWebView* view = nullptr;
GtkApplication* application = nullptr;

// The window, its view and the first document; `loop` ends with the window or on "quit".
void show(const gchar* html, const std::function<void()>& quit) {
    probe::report("activate", probe::now());
    GtkWidget* window = gtk_window_new();
    gtk_window_set_default_size(GTK_WINDOW(window), 1000, 720);
    gtk_window_set_title(GTK_WINDOW(window), "Bare view");
    view = WEBKIT_WEB_VIEW(webkit_web_view_new());
    gtk_window_set_child(GTK_WINDOW(window), GTK_WIDGET(view));
    g_signal_connect(
        view, "load-changed",
        G_CALLBACK(+[](WebKitWebView*, WebKitLoadEvent event, gpointer) { timer.finished(event); }), nullptr);
    g_signal_connect(view, "load-failed",
                     G_CALLBACK(+[](WebKitWebView*, WebKitLoadEvent, gchar*, GError*, gpointer) -> gboolean {
                         timer.failed();
                         return FALSE;
                     }),
                     nullptr);
    g_signal_connect(window, "map",
                     G_CALLBACK(+[](GtkWidget*, gpointer) { probe::report("window", probe::now()); }),
                     nullptr);
    probe::listen(
        [quit](const std::string& command) {
            if (command.starts_with("load ")) {
                timer.begin();
                webkit_web_view_load_uri(view, command.substr(5).c_str());
            } else if (command == "quit") {
                quit();
            }
        },
        quit);
    if (application) gtk_application_add_window(application, GTK_WINDOW(window));
    gtk_window_present(GTK_WINDOW(window));
    webkit_web_view_load_html(view, html, nullptr);
}

// Answers "nimb-asset:/<name>" with the file <name> in the document's directory.
void serveFilesBeside(const char* document) {
    gchar* absolute = g_canonicalize_filename(document, nullptr);
    gchar* directory = g_path_get_dirname(absolute);
    g_free(absolute);
    webkit_web_context_register_uri_scheme(
        webkit_web_context_get_default(), "nimb-asset",
        +[](WebKitURISchemeRequest* request, gpointer data) {
            gchar* name = g_path_get_basename(webkit_uri_scheme_request_get_path(request));
            gchar* path = g_build_filename(static_cast<const gchar*>(data), name, nullptr);
            gchar* contents = nullptr;
            gsize length = 0;
            if (g_file_get_contents(path, &contents, &length, nullptr)) {
                GBytes* bytes = g_bytes_new_take(contents, length);
                GInputStream* stream = g_memory_input_stream_new_from_bytes(bytes);
                webkit_uri_scheme_request_finish(request, stream, static_cast<gint64>(length), "font/ttf");
                g_object_unref(stream);
                g_bytes_unref(bytes);
            } else {
                GError* error = g_error_new(G_IO_ERROR, G_IO_ERROR_NOT_FOUND, "no such file: %s", name);
                webkit_uri_scheme_request_finish_error(request, error);
                g_error_free(error);
            }
            g_free(path);
            g_free(name);
        },
        directory, g_free);
}

void useProxy() {
    if (const char* proxy = std::getenv("NIMB_HTTP_PROXY"); proxy && *proxy) {
        WebKitNetworkProxySettings* settings = webkit_network_proxy_settings_new(proxy, nullptr);
        webkit_network_session_set_proxy_settings(webkit_network_session_get_default(),
                                                  WEBKIT_NETWORK_PROXY_MODE_CUSTOM, settings);
        webkit_network_proxy_settings_free(settings);
    }
}

} // namespace

// bare-view DOCUMENT [--application]: with --application the window belongs to a GtkApplication
// registered on the session bus, as most GTK programs do; without, only gtk_init() and a main loop.
int main(int argc, char** argv) {
    probe::report("main", probe::now());
    if (argc < 2) return 2;
    gchar* html = nullptr;
    if (!g_file_get_contents(argv[1], &html, nullptr, nullptr)) return 2;
    serveFilesBeside(argv[1]);
    bool asApplication = argc > 2 && std::string(argv[2]) == "--application";

    if (asApplication) {
        application = gtk_application_new("org.example.BareView", G_APPLICATION_DEFAULT_FLAGS);
        g_signal_connect(application, "startup", G_CALLBACK(+[](GApplication*, gpointer) {
                             probe::report("gtk", probe::now());
                             probe::report("startup", probe::now());
                             useProxy();
                         }),
                         nullptr);
        g_signal_connect(application, "activate", G_CALLBACK(+[](GApplication* app, gpointer document) {
                             show(static_cast<const gchar*>(document), [app] { g_application_quit(app); });
                         }),
                         html);
        char* arguments[] = {argv[0], nullptr};
        int status = g_application_run(G_APPLICATION(application), 1, arguments);
        g_object_unref(application);
        g_free(html);
        return status;
    }

    g_set_prgname("bare-view");
    gtk_init();
    probe::report("gtk", probe::now());
    probe::report("startup", probe::now());
    useProxy();
    GMainLoop* loop = g_main_loop_new(nullptr, FALSE);
    show(html, [loop] { g_main_loop_quit(loop); });
    g_free(html);
    g_main_loop_run(loop);
    g_main_loop_unref(loop);
    return 0;
}
