#pragma once

// The find bar: a band 64 points high that slides up over the foot of the page, with the search field,
// the buttons that step to the previous and the next match, the tally of matches ("3 of 12") and the
// button that hides the bar. The field's text turns to the dim ink when nothing matched. Return in the
// field steps on, Shift-Return steps back, Escape hides the bar; a press on the bar away from its
// controls puts the focus in the field with its text selected. What all that means is the window's
// (FindController): the view only calls its hooks.

#include "chrome/ToolButton.h"
#include "glib/Connection.h"
#include "glib/GRefPtr.h"
#include "glib/Hook.h"

#include <gtk/gtk.h>

#include <string>
#include <vector>

namespace nimb {

class FindBarView {
public:
    FindBarView();
    ~FindBarView();
    FindBarView(const FindBarView&) = delete;
    FindBarView& operator=(const FindBarView&) = delete;

    [[nodiscard]] GtkWidget* widget() const { return m_widget.get(); }
    // The search field (a GtkText, which is a GtkEditable).
    [[nodiscard]] GtkWidget* field() const { return m_field.get(); }
    [[nodiscard]] std::string text() const;
    // Gives the field the focus with its whole text selected.
    void focusField();

    // False draws the field's text in the dim ink.
    void setHasMatches(bool hasMatches);
    [[nodiscard]] bool hasMatches() const { return m_hasMatches; }
    // Enables the previous and next buttons.
    void setCanStep(bool canStep);
    [[nodiscard]] bool canStep() const { return m_canStep; }
    void setTally(std::string tally);
    [[nodiscard]] const std::string& tally() const { return m_tally; }
    // The placeholder, tool tips and accessible names in the current language.
    void retitle();

    [[nodiscard]] ToolButton& previousButton() const { return ToolButton::of(m_previous.get()); }
    [[nodiscard]] ToolButton& nextButton() const { return ToolButton::of(m_next.get()); }
    [[nodiscard]] ToolButton& closeButton() const { return ToolButton::of(m_close.get()); }

    glib::Hook<void()> onChange; // every change of the field's text
    glib::Hook<void()> onNext;
    glib::Hook<void()> onPrevious;
    glib::Hook<void()> onClose;

private:
    void allocate(int width, int height);
    void draw(GtkSnapshot* snapshot, double width, double height) const;
    [[nodiscard]] bool keyPressed(guint keyval, GdkModifierType state);
    void pressed(double x, double y);

    glib::GRefPtr<GtkWidget> m_widget;
    glib::GRefPtr<GtkWidget> m_field;
    glib::GRefPtr<GtkWidget> m_tallyLabel;
    glib::GRefPtr<GtkWidget> m_previous;
    glib::GRefPtr<GtkWidget> m_next;
    glib::GRefPtr<GtkWidget> m_close;
    graphene_rect_t m_box{}; // the field's well, drawn around the field
    bool m_hasMatches = true;
    bool m_canStep = false;
    std::string m_tally;
    // Declared last, so that they go first: the panel's hooks, the field's signals, the buttons' clicks.
    std::vector<glib::Connection> m_connections;
};

} // namespace nimb
