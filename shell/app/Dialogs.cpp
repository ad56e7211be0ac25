#include "app/Dialogs.h"

#include "glib/Connection.h"
#include "vocabulary/Language.h"

namespace nimb::Dialogs {

GtkWidget* confirm(GtkWindow* parent, const std::string& message, const std::string& detail,
                   const std::string& destructive, std::function<void(bool)> answer) {
    GtkWidget* dialog = gtk_message_dialog_new(
        parent, static_cast<GtkDialogFlags>(GTK_DIALOG_MODAL | GTK_DIALOG_DESTROY_WITH_PARENT),
        GTK_MESSAGE_QUESTION, GTK_BUTTONS_NONE, "%s", message.c_str());
    gtk_message_dialog_format_secondary_text(GTK_MESSAGE_DIALOG(dialog), "%s", detail.c_str());
    GtkWidget* yes = gtk_dialog_add_button(GTK_DIALOG(dialog), destructive.c_str(), destructiveResponse);
    gtk_widget_add_css_class(yes, "destructive-action");
    gtk_dialog_add_button(GTK_DIALOG(dialog), words().cancel().c_str(), GTK_RESPONSE_CANCEL);
    gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_CANCEL);

    glib::connectForLife<void(GtkDialog*, int)>(
        dialog, "response", [answer = std::move(answer)](GtkDialog* self, int response) mutable {
            // Taken out first: answering may close windows, and this dialog with them.
            auto call = std::move(answer);
            answer = nullptr;
            // Let go of the parent first: the answer may destroy it, and the dialog, going later,
            // would then take its handlers off a window that is no more.
            gtk_window_set_transient_for(GTK_WINDOW(self), nullptr);
            gtk_window_destroy(GTK_WINDOW(self));
            if (call) call(response == destructiveResponse);
        });
    gtk_window_present(GTK_WINDOW(dialog));
    return dialog;
}

} // namespace nimb::Dialogs
