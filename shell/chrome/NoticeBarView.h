#pragma once

// A band across the window under the toolbars that tells the user something that stays true for the
// whole run (the profile cannot be written, say), with a button that dismisses it. The text wraps to
// the window's width; the band is as high as its text needs. What dismissing means is the window's
// (NoticeController): the view only calls its hook.

#include "glib/Connection.h"
#include "glib/GRefPtr.h"
#include "glib/Hook.h"

#include <gtk/gtk.h>

#include <string>
#include <vector>

namespace nimb {

class NoticeBarView {
public:
    NoticeBarView();
    ~NoticeBarView();
    NoticeBarView(const NoticeBarView&) = delete;
    NoticeBarView& operator=(const NoticeBarView&) = delete;

    [[nodiscard]] GtkWidget* widget() const { return m_widget.get(); }
    [[nodiscard]] GtkWidget* dismissButton() const { return m_dismiss; }
    void setText(const std::string& text, const std::string& dismiss);
    [[nodiscard]] std::string text() const;

    glib::Hook<void()> onDismiss;

private:
    glib::GRefPtr<GtkWidget> m_widget;
    GtkWidget* m_label = nullptr;
    GtkWidget* m_dismiss = nullptr;
    std::vector<glib::Connection> m_connections;
};

} // namespace nimb
