#pragma once

// The location well's text field (a GtkText, a child of the well). While it has the focus it is
// being edited and shows the full address, left-aligned, completing typed text inline
// (InlineCompletion); at rest it shows the resting label, centred, cut with an ellipsis when it is
// too long to fit. The first click into the field, or the first after it was given the focus from
// the keyboard, selects the whole address (FirstClickSelection); later clicks place the caret.

#include "chrome/FirstClickSelection.h"
#include "chrome/InlineCompletion.h"
#include "glib/Connection.h"
#include "glib/Hook.h"
#include "glib/Source.h"
#include "layout/TabStrip.h"

#include <gtk/gtk.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nimb {

class LocationField {
public:
    using Rect = TabStrip::Rect;

    // Makes the field, a child of `well`.
    explicit LocationField(GtkWidget* well);

    LocationField(const LocationField&) = delete;
    LocationField& operator=(const LocationField&) = delete;

    // The GtkText; null once released.
    [[nodiscard]] GtkWidget* widget() const { return m_field; }
    [[nodiscard]] InlineCompletion& completion() { return m_completion; }

    // What the field shows: `full` while it is edited, `resting` otherwise. The text is replaced only
    // when it differs from what is shown.
    void setAddress(std::string_view full, std::string_view resting);
    [[nodiscard]] const std::string& restingLabel() const { return m_resting; }
    [[nodiscard]] std::string text() const;
    [[nodiscard]] bool editing() const { return m_editing; }
    // Gives the field the focus from the keyboard: the whole address is selected, and the next click
    // selects it again rather than placing the caret.
    void focus();
    // What was typed and not sent: the text while the field is edited, unless it is the full address.
    [[nodiscard]] std::optional<std::string> typed() const;
    // Takes editing up again with `text` in the field and the caret at its end.
    void resume(const std::string& text);
    // A press on the well beside the field: the whole address is selected, the focus taken first.
    void pressedBeside();
    // Places the field in `frame` (in the well's coordinates): one line of text centred on it.
    void place(const Rect& frame);
    // Takes the field out of the well.
    void release();

    // Return in the field, with its text.
    glib::Hook<void(const std::string&)> onEnter;
    // Editing began (true, just as the field takes the focus) or ended (false). The well is redrawn
    // too: its outline follows the editing.
    glib::Hook<void(bool)> onEditing;

private:
    void connect();
    void replaceText(const std::string& text);
    void beginEditing();
    void endEditing();

    GtkWidget* m_well;
    GtkWidget* m_field;
    InlineCompletion m_completion;
    FirstClickSelection m_clicks;
    std::vector<glib::Connection> m_connections;

    std::string m_full;
    std::string m_resting;
    bool m_editing = false;
    glib::Source m_restingSource;
};

} // namespace nimb
