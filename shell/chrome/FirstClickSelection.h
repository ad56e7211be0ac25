#pragma once

// The location field's first click: the first click into the field, or the first after it was given
// the focus from the keyboard, selects the whole address (unless the press was dragged across some of
// it); later clicks, and clicks after a key, place the caret as usual.

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
    void keyPressed() { m_engaged = true; }
    // The primary button pressed and released in the field, before the field handles them.
    void pressed();
    void released();
    // Editing ended: the next click is a first one, and a selection still to come is dropped.
    void stop();
    // Lets go of the field.
    void release();

private:
    GtkWidget* m_field;
    bool m_engaged = false;    // clicked or typed into since it took the focus
    bool m_firstClick = false; // the press under way is the first into the field
    glib::Source m_selectSource;
};

} // namespace nimb
