// The browser as the shell benchmark measures it: the real application, run exactly as shell/main.cpp
// runs it (Application::run: registration on the session bus, start-up, the first window on the home
// page), with a probe attached from outside the product code. The probe reports the moments of its
// start (see Probe.h) and loads what the driver asks for in the front window's current tab, as the
// location field would.

#include "Probe.h"
#include "app/Application.h"
#include "base/Url.h"
#include "window/BrowserWindowController.h"
#include "window/Navigator.h"
#include "window/Tab.h"
#include "window/TabList.h"
#include "window/WindowContext.h"

#include <gtk/gtk.h>
#include <webkit/webkit.h>

#include <string>

namespace {

using namespace nimb;
using namespace nimb::bench;

probe::LoadTimer timer;
// The view whose loads are timed once the first page is up; any view until then.
WebKitWebView* measured = nullptr;

gboolean loadChanged(GSignalInvocationHint*, guint count, const GValue* values, gpointer) {
    if (count < 2) return TRUE;
    auto* view = WEBKIT_WEB_VIEW(g_value_get_object(&values[0]));
    if (measured && view != measured) return TRUE;
    timer.finished(static_cast<WebKitLoadEvent>(g_value_get_enum(&values[1])));
    return TRUE;
}

gboolean loadFailed(GSignalInvocationHint*, guint count, const GValue* values, gpointer) {
    if (count < 1) return TRUE;
    auto* view = WEBKIT_WEB_VIEW(g_value_get_object(&values[0]));
    if (!measured || view == measured) timer.failed();
    return TRUE;
}

// The application under measure, once made.
Application* running = nullptr;

void load(const std::string& address) {
    if (!running || running->windows().empty()) {
        probe::report("failed", 0);
        return;
    }
    BrowserWindowController& window = running->windows().at(0);
    Tab* tab = window.context().tabs().currentTab();
    auto url = Url::parse(address);
    if (!tab || !url) {
        probe::report("failed", 0);
        return;
    }
    measured = tab->view();
    timer.begin();
    window.context().navigator().load(*url, *tab);
}

} // namespace

int main(int argc, char** argv) {
    probe::report("main", probe::now());
    gpointer viewClass = g_type_class_ref(WEBKIT_TYPE_WEB_VIEW);
    g_signal_add_emission_hook(g_signal_lookup("load-changed", WEBKIT_TYPE_WEB_VIEW), 0, loadChanged, nullptr,
                               nullptr);
    g_signal_add_emission_hook(g_signal_lookup("load-failed", WEBKIT_TYPE_WEB_VIEW), 0, loadFailed, nullptr,
                               nullptr);

    // "gtk": the toolkit is up and the application registered on the bus, just before NIMB's own
    // start-up work; "startup": that work done; "activate": the first window is about to be made.
    gpointer applicationClass = g_type_class_ref(G_TYPE_APPLICATION);
    // Reports the event at the signal's first emission (the hook goes once it has run).
    auto reportAtFirst = [](const char* signal, const char* event) {
        g_signal_add_emission_hook(
            g_signal_lookup(signal, G_TYPE_APPLICATION), 0,
            +[](GSignalInvocationHint*, guint, const GValue*, gpointer name) -> gboolean {
                probe::report(static_cast<const char*>(name), probe::now());
                return FALSE;
            },
            const_cast<char*>(event), nullptr);
    };
    reportAtFirst("startup", "gtk");
    reportAtFirst("activate", "activate");

    nimb::Application application;
    running = &application;
    g_signal_connect(application.gtk(), "startup",
                     G_CALLBACK(+[](GApplication*, gpointer) { probe::report("startup", probe::now()); }),
                     nullptr);
    g_signal_connect(
        application.gtk(), "window-added", G_CALLBACK(+[](GtkApplication*, GtkWindow* window, gpointer) {
            static bool first = true;
            if (!first) return;
            first = false;
            g_signal_connect(window, "map",
                             G_CALLBACK(+[](GtkWidget*, gpointer) { probe::report("window", probe::now()); }),
                             nullptr);
        }),
        nullptr);
    GApplication* gapplication = G_APPLICATION(application.gtk());
    probe::listen(
        [gapplication](const std::string& command) {
            if (command.starts_with("load "))
                load(command.substr(5));
            else if (command == "quit")
                g_application_quit(gapplication);
        },
        [gapplication] { g_application_quit(gapplication); });
    int status = application.run(argc, argv);
    g_type_class_unref(viewClass);
    g_type_class_unref(applicationClass);
    return status;
}
