#pragma once

// The location field's first click: the first click into the field, or the first after it was given
// the focus from the keyboard, selects the whole address; later clicks, and clicks after a key, place
// the caret as usual. The field never sees a first click: left to it, it would drop the selection on
// the release and make it again.
//
// The selection a first click makes then holds for a moment: X may report the field's own earlier
// giving up of the primary selection only after the field has claimed it again, and GTK then drops
// the field's selection as if another program had taken it.

#include "glib/Connection.h"
#include "glib/Source.h"

#include <gtk/gtk.h>

namespace nimb {

class FirstClickSelection {
public:
    // Follows the clicks into `field` (a GtkText) until release().
    explicit FirstClickSelection(GtkWidget* field) : m_field(field) {}

    FirstClickSelection(const FirstClickSelection&) = delete;
    FirstClickSelection& operator=(const FirstClickSelection&) = delete;

    // The field took the focus, or was given it again: its next click is a first one.
    void restart() { m_engaged = false; }
    // A key went to the field: its clicks place the caret from now on.
    void keyPressed();
    // The primary button pressed and released in the field, before the field handles them; true when
    // they belong to a first click, which the field is not to see.
    bool pressed();
    bool released();
    // Editing ended: the next click is a first one.
    void stop();
    // Lets go of the field.
    void release();

private:
    // Keeps the whole address selected until the next press or key, or a moment has passed.
    void hold();
    void letGo();

    GtkWidget* m_field;
    glib::Connection m_holding;
    glib::Source m_holdEnds;
    bool m_engaged = false;    // clicked or typed into since it took the focus
    bool m_firstClick = false; // the press under way is the first into the field
};

} // namespace nimb
