#pragma once

// A plain custom-drawn GTK widget (`NimbPanel`) whose drawing and whose children's places belong to
// the C++ object that made it: the window's chrome, the personal toolbar, the status line and the
// progress well are panels. The panel draws what its owner draws below its children, then the
// children in the order they were added (the last on top, and the first to be hit by the pointer),
// then what its owner draws above them. The owner connects to the panel's hooks and keeps the
// connections, so that a panel that outlives its owner draws and places nothing of its owner's.

#include "glib/Hook.h"
#include "layout/TabStrip.h"

#include <gtk/gtk.h>

#include <optional>

G_BEGIN_DECLS
#define NIMB_TYPE_PANEL (nimb_panel_get_type())
G_DECLARE_FINAL_TYPE(NimbPanel, nimb_panel, NIMB, PANEL, GtkWidget)
G_END_DECLS

namespace nimb::Panel {

using Rect = TabStrip::Rect;

struct Hooks {
    glib::Hook<void(GtkSnapshot*, double width, double height)> drawBelow;
    glib::Hook<void(GtkSnapshot*, double width, double height)> drawAbove;
    // Places the children for the panel's new size.
    glib::Hook<void(int width, int height)> allocate;
    // What the panel would like to be, across and down; nothing when none.
    glib::Hook<int(GtkOrientation)> natural;
};

// A new panel (a floating reference) under a CSS name.
[[nodiscard]] GtkWidget* create(const char* cssName);
// The panel's hooks, for its owner to connect to; they live as long as the panel.
[[nodiscard]] Hooks& hooks(GtkWidget* panel);

// Adds a child on top of the others.
void add(GtkWidget* panel, GtkWidget* child);
// Adds a child below every other one.
void addBottom(GtkWidget* panel, GtkWidget* child);
// Adds a child just below `sibling`, one of the panel's children.
void addBelow(GtkWidget* panel, GtkWidget* child, GtkWidget* sibling);

// Gives a child its place, or hides it when it has none.
void place(GtkWidget* child, const std::optional<Rect>& frame);

} // namespace nimb::Panel
