#pragma once

// A plain custom-drawn GTK widget (`NimbPanel`) whose drawing and whose children's places belong to
// the C++ object that made it: the window's chrome, the personal toolbar, the status line and the
// progress well are panels. The panel draws what its owner draws below its children, then the
// children in the order they were added (the last on top, and the first to be hit by the pointer),
// then what its owner draws above them.

#include "layout/TabStrip.h"

#include <gtk/gtk.h>

#include <functional>
#include <optional>

G_BEGIN_DECLS
#define NIMB_TYPE_PANEL (nimb_panel_get_type())
G_DECLARE_FINAL_TYPE(NimbPanel, nimb_panel, NIMB, PANEL, GtkWidget)
G_END_DECLS

namespace nimb::Panel {

using Rect = TabStrip::Rect;

struct Hooks {
    std::function<void(GtkSnapshot*, double width, double height)> drawBelow;
    std::function<void(GtkSnapshot*, double width, double height)> drawAbove;
    // Places the children for the panel's new size.
    std::function<void(int width, int height)> allocate;
    // What the panel would like to be, across and down; nothing when none.
    std::function<int(GtkOrientation)> natural;
};

// A new panel (a floating reference) under a CSS name.
[[nodiscard]] GtkWidget* create(const char* cssName);
void setHooks(GtkWidget* panel, Hooks hooks);
// Lets go of the hooks (and whatever they hold); the panel then draws nothing of its own.
void clearHooks(GtkWidget* panel);

// Adds a child on top of the others.
void add(GtkWidget* panel, GtkWidget* child);
// Adds a child below every other one.
void addBottom(GtkWidget* panel, GtkWidget* child);

// Gives a child its place, or hides it when it has none.
void place(GtkWidget* child, const std::optional<Rect>& frame);

} // namespace nimb::Panel
