#pragma once

// The one kind of dialog the browser shows: a question before something destructive, with the
// destructive button first and "Cancel" second. Cancel is the default answer, and closing the dialog
// any other way is Cancel too.

#include <gtk/gtk.h>

#include <functional>
#include <string>

namespace nimb::Dialogs {

// Asks, modal to `parent`, and calls `answer` once with true only for the destructive button. When the
// parent goes first, the dialog goes with it and `answer` is never called.
GtkWidget* confirm(GtkWindow* parent, const std::string& message, const std::string& detail,
                   const std::string& destructive, std::function<void(bool)> answer);

// The response of the destructive button.
inline constexpr int destructiveResponse = GTK_RESPONSE_ACCEPT;

} // namespace nimb::Dialogs
