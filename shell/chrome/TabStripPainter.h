#pragma once

// Draws the tab strip as it stands: the tabs (in stealth, icons alone around the current tab's
// field), the hairlines between plain tabs, the close boxes, the caret of hidden tabs, the new-tab
// button and the line along the foot. A painter lives for one snapshot.

#include "chrome/TabStripContent.h"
#include "chrome/TabStripPointer.h"
#include "glib/Hook.h"
#include "layout/TabStrip.h"

#include <gtk/gtk.h>

namespace nimb {

class TabStripPainter {
public:
    using Index = TabStripContent::Index;
    using Rect = TabStrip::Rect;
    // Draws what the current tab's field holds in stealth; without it the field shows the tab's icon
    // and label.
    using DrawField = glib::Hook<void(GtkSnapshot*, const Rect&)>;

    // Draws for `widget` (whose text settings the labels take).
    TabStripPainter(GtkWidget* widget, const TabStripContent& content, const TabStripPointer& pointer,
                    const DrawField& drawField);

    void paint(GtkSnapshot* snapshot, const TabStrip::Layout& strip) const;

private:
    void drawTab(GtkSnapshot* snapshot, const TabStrip::Layout& strip, Index index, const Rect& frame) const;
    void drawStealthTab(GtkSnapshot* snapshot, const TabStrip::Layout& strip, Index index,
                        const Rect& frame) const;
    void drawCloseBox(GtkSnapshot* snapshot, const TabStrip::Layout& strip, Index index,
                      const Rect& frame) const;

    GtkWidget* m_widget;
    const TabStripContent& m_content;
    const TabStripPointer& m_pointer;
    const DrawField& m_drawField;
};

} // namespace nimb
