#pragma once

// Inline completion in the location field (a GtkText): after every change that is not a deletion,
// made while the field is being edited, with the caret at the end and nothing selected, the
// completion of the typed text (when there is one) replaces it and the added tail is selected, so
// that typing on overwrites the tail and a deletion removes it.

#include "glib/Connection.h"
#include "glib/Hook.h"
#include "glib/Source.h"

#include <gtk/gtk.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nimb {

class InlineCompletion {
public:
    // Follows the changes of `field` until release().
    explicit InlineCompletion(GtkWidget* field);

    InlineCompletion(const InlineCompletion&) = delete;
    InlineCompletion& operator=(const InlineCompletion&) = delete;

    // The completion of typed text, or none.
    glib::Hook<std::optional<std::string>(std::string_view)> lookUp;

    // Typing is completed only while the field is being edited.
    void setEditing(bool editing) { m_editing = editing; }
    // Sets the field's text as the program, not the user: no completion follows the change.
    void replaceText(const std::string& text);
    // A key or a press came: what is offered is the user's to change from now on.
    void forgetOffer() { m_offeredFrom.reset(); }
    // Editing ended: drops the offer and any completion still to come.
    void stop();
    // Lets go of the field.
    void release();

private:
    void connect();
    void changed();
    void complete();
    void keepOffer();

    GtkWidget* m_field;
    std::vector<glib::Connection> m_connections;
    bool m_editing = false;
    bool m_completing = false; // the program itself is changing the text
    bool m_deleting = false;   // the last change of the text took something away
    // Where the offered tail begins, until the next key or press: the toolkit can drop the selection
    // on its own when the windowing system's primary selection changes hands, and a key typed next
    // would then land in the middle of the suggestion instead of replacing it.
    std::optional<int> m_offeredFrom;
    glib::Source m_source;
};

} // namespace nimb
