#pragma once

// The window's status line: one line of text in the chrome typeface at 10 points, in the dim ink,
// over the foot of the page. It is drawn on a small ground of its own, only as wide as its text, so
// that it reads over any page and covers as little of it as it can; it never takes the pointer.

#include "glib/Connection.h"
#include "glib/GRefPtr.h"

#include <gtk/gtk.h>

#include <string>
#include <string_view>

namespace nimb {

class StatusLine {
public:
    StatusLine();
    StatusLine(const StatusLine&) = delete;
    StatusLine& operator=(const StatusLine&) = delete;

    [[nodiscard]] GtkWidget* widget() const { return m_widget.get(); }
    void setText(std::string_view text);
    [[nodiscard]] const std::string& text() const { return m_text; }

private:
    void draw(GtkSnapshot* snapshot, double width, double height) const;

    glib::GRefPtr<GtkWidget> m_widget;
    std::string m_text;
    glib::Connection m_draw; // declared last, so that it goes before what it draws with
};

} // namespace nimb
