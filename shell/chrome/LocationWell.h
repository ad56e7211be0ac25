#pragma once

// The location well: the panel around the location field (`NimbLocationWell`, a custom-drawn GTK
// widget with a C++ object behind it). It holds the site's icon at the left, the field in the middle
// and the shield's place at the right; in stealth it is the pill in the current tab's place and
// carries a close box that takes the icon's place while the pointer is over it.
//
// The field is a GtkText. While it has the focus it is being edited and shows the full address,
// left-aligned; at rest it shows the resting label, centred. Typing completes inline from history:
// after every change that is not a deletion, with the caret at the end and nothing selected, the
// completion (when there is one) replaces the text and the added tail is selected, so that typing on
// overwrites it and a deletion removes it. The first click into the field, or the first after it was
// given the focus from the keyboard, selects the whole address; later clicks place the caret.

#include "chrome/Glyphs.h"
#include "glib/Connection.h"
#include "glib/GRefPtr.h"
#include "glib/Hook.h"
#include "glib/Source.h"
#include "layout/TabStrip.h"

#include <gtk/gtk.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

G_BEGIN_DECLS
#define NIMB_TYPE_LOCATION_WELL (nimb_location_well_get_type())
G_DECLARE_FINAL_TYPE(NimbLocationWell, nimb_location_well, NIMB, LOCATION_WELL, GtkWidget)
G_END_DECLS

namespace nimb {

class LocationWell {
public:
    using Point = TabStrip::Point;
    using Rect = TabStrip::Rect;

    // A new well widget (a floating reference) with its object and its field.
    [[nodiscard]] static GtkWidget* create();
    [[nodiscard]] static LocationWell& of(GtkWidget* widget);
    [[nodiscard]] GtkWidget* widget() const { return m_widget; }
    // The text field (a GtkText, which is a GtkEditable).
    [[nodiscard]] GtkWidget* field() const { return m_field; }

    LocationWell(const LocationWell&) = delete;
    LocationWell& operator=(const LocationWell&) = delete;

    // What the field shows: `full` while it is edited, `resting` otherwise. The text is replaced only
    // when it differs from what is shown.
    void setAddress(std::string_view full, std::string_view resting);
    [[nodiscard]] const std::string& fullAddress() const { return m_full; }
    // The label at rest, whole (the field shows it cut with an ellipsis when it is too long to fit).
    [[nodiscard]] const std::string& restingLabel() const { return m_resting; }
    [[nodiscard]] std::string text() const;
    [[nodiscard]] bool editing() const { return m_editing; }
    // Gives the field the focus from the keyboard: the whole address is selected, and the next click
    // selects it again rather than placing the caret.
    void focus();

    // The site's icon (none shows an empty frame); the well keeps its own reference.
    void setIcon(GdkTexture* icon);
    [[nodiscard]] GdkTexture* icon() const { return m_icon.get(); }
    void setShield(const Glyphs::ShieldLook& shield);
    [[nodiscard]] const Glyphs::ShieldLook& shield() const { return m_shield; }
    // The pill in stealth: a corner radius, and the shield drawn without its own square.
    void setPill(bool pill, double radius);
    [[nodiscard]] bool pill() const { return m_pill; }
    // The tool tip over the well; empty for none. Over the shield, the shield's own.
    void setHelp(std::string_view help);
    void setShieldHelp(std::string_view help);
    [[nodiscard]] const std::string& help() const { return m_help; }
    // The tool tip at a point of the well, if any.
    [[nodiscard]] std::optional<std::string> tooltip(Point point) const;

    // Return in the field, with its text.
    glib::Hook<void(const std::string&)> onEnter;
    // Editing began (true, just as the field takes the focus) or ended (false).
    glib::Hook<void(bool)> onEditing;
    // The completion of typed text, or none.
    glib::Hook<std::optional<std::string>(std::string_view)> completion;
    // Called when the close box is pressed and released; while something is connected to it the well
    // shows the box.
    glib::Hook<void()> onClose;

    // Pointer state of the close box.
    [[nodiscard]] bool hovered() const { return m_hovered; }
    [[nodiscard]] bool showsKill() const { return onClose && m_hovered && !m_editing; }
    [[nodiscard]] bool pressedKill() const { return m_pressedKill; }
    // The inside of the well at its present size, in its own coordinates.
    [[nodiscard]] Rect iconBox() const;
    [[nodiscard]] Rect closeHitArea() const;
    [[nodiscard]] Rect fieldFrame() const;
    // Whether the field has been clicked or typed into since it took the focus.
    [[nodiscard]] bool engaged() const { return m_engaged; }

    // Pointer events on the well outside its field, in the well's coordinates.
    void mouseDown(Point point);
    void mouseUp(Point point);
    void mouseMoved(Point point);
    void mouseExited();

    void snapshot(GtkSnapshot* snapshot) const;
    void allocate(int width, int height);

private:
    friend struct LocationWellGlue;
    explicit LocationWell(GtkWidget* widget);
    void connectField();
    void release();

    void replaceText(const std::string& text);
    // The resting label as it fits the field: cut with an ellipsis when it is too long.
    [[nodiscard]] std::string shownResting() const;
    void beginEditing();
    void endEditing();
    void textChanged();
    void complete();
    void keepOffer();
    void fieldPressed();
    void fieldReleased();
    void redraw() const;

    GtkWidget* m_widget;
    GtkWidget* m_field = nullptr; // a child of the well
    std::vector<glib::Connection> m_fieldConnections;

    std::string m_full;
    std::string m_resting;
    glib::GRefPtr<GdkTexture> m_icon;
    Glyphs::ShieldLook m_shield;
    std::string m_help;
    std::string m_shieldHelp;
    bool m_pill = false;
    double m_radius = 0;

    bool m_editing = false;
    bool m_engaged = false;
    bool m_firstClick = false; // the press under way is the first into the field
    bool m_completing = false; // the well itself is changing the text
    bool m_deleting = false;   // the last change of the text took something away
    // Where the offered tail begins, until the next key or press: the toolkit can drop the selection
    // on its own when the windowing system's primary selection changes hands, and a key typed next
    // would then land in the middle of the suggestion instead of replacing it.
    std::optional<int> m_offeredFrom;
    bool m_hovered = false;
    bool m_pressedKill = false;
    glib::Source m_restingSource;
    glib::Source m_completionSource;
    glib::Source m_selectSource;
};

} // namespace nimb
