// A placeholder window until the browser window arrives: it shows that the build, the language
// choice and the preferences store all work on this machine.

#include "Language.h"
#include "Preferences.h"
#include "storage/InMemoryStore.h"

#include <gtk/gtk.h>

namespace {

void activate(GtkApplication* application, gpointer) {
    nimb::Preferences preferences(std::make_unique<nimb::InMemoryStore>());
    std::vector<std::string> preferred;
    for (const char* const* name = g_get_language_names(); *name; ++name)
        preferred.emplace_back(*name);
    nimb::setCurrentLanguage(nimb::startupLanguage(preferences.language(), preferred));

    GtkWidget* window = gtk_application_window_new(application);
    gtk_window_set_title(GTK_WINDOW(window), "NIMB");
    gtk_window_set_default_size(GTK_WINDOW(window), 640, 400);
    GtkWidget* label = gtk_label_new(nimb::words().nowSpeaking().c_str());
    gtk_window_set_child(GTK_WINDOW(window), label);
    gtk_window_present(GTK_WINDOW(window));
}

} // namespace

int main(int argc, char** argv) {
    GtkApplication* application = gtk_application_new("net.nimb2000.Nimb", G_APPLICATION_DEFAULT_FLAGS);
    g_signal_connect(application, "activate", G_CALLBACK(activate), nullptr);
    int status = g_application_run(G_APPLICATION(application), argc, argv);
    g_object_unref(application);
    return status;
}
