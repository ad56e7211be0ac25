// The engine is there and answers: a page loaded from a string runs script and reports back.

#include "glib/GRefPtr.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <webkit/webkit.h>

namespace nimb {
namespace {

TEST(Engine, loadsAStringAndEvaluatesScript) {
    ASSERT_TRUE(gtk_init_check()) << "no display: run under tools/run-headless";
    GtkWidget* view = webkit_web_view_new();
    glib::GRefPtr<GtkWidget> keep(view);
    auto loop = glib::adoptGRef(g_main_loop_new(nullptr, FALSE));

    struct State {
        GMainLoop* loop;
        bool finished = false;
    } state{loop.get()};
    g_signal_connect(view, "load-changed", G_CALLBACK(+[](WebKitWebView*, WebKitLoadEvent event, State* s) {
                         if (event == WEBKIT_LOAD_FINISHED) {
                             s->finished = true;
                             g_main_loop_quit(s->loop);
                         }
                     }),
                     &state);
    webkit_web_view_load_html(WEBKIT_WEB_VIEW(view), "<title>t</title><p id=p>6</p>", nullptr);
    g_main_loop_run(loop.get());
    ASSERT_TRUE(state.finished);

    struct Result {
        GMainLoop* loop;
        std::string text;
    } result{loop.get(), {}};
    webkit_web_view_evaluate_javascript(
        WEBKIT_WEB_VIEW(view), "String(document.getElementById('p').textContent * 7)", -1, nullptr, nullptr,
        nullptr,
        +[](GObject* source, GAsyncResult* async, gpointer data) {
            auto* r = static_cast<Result*>(data);
            GError* error = nullptr;
            if (JSCValue* value =
                    webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(source), async, &error)) {
                char* text = jsc_value_to_string(value);
                r->text = text;
                g_free(text);
                g_object_unref(value);
            } else {
                g_error_free(error);
            }
            g_main_loop_quit(r->loop);
        },
        &result);
    g_main_loop_run(loop.get());
    EXPECT_EQ(result.text, "42");
}

} // namespace
} // namespace nimb
