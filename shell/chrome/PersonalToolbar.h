#pragma once

// The personal toolbar under the toolbar band: one compact button per toolbar bookmark, in stored
// order, titled with the bookmark's name cut to 24 characters; a button that would pass the right
// edge is hidden. A click loads the bookmark; a secondary click on a button offers to take it off the
// toolbar, to remove it entirely, or to show the bookmarks; a middle click opens it in a background tab; one
// on the bar itself offers to add a bookmark, to show the bookmarks, or to show the site report. The menus
// are worded when they open, so they always speak the current language.

#include "glib/Connection.h"
#include "glib/GRefPtr.h"
#include "glib/Hook.h"
#include "layout/TabStrip.h"
#include "library/Bookmarks.h"

#include <gtk/gtk.h>

#include <optional>
#include <string>
#include <vector>

namespace nimb {

class PersonalToolbar {
public:
    using Point = TabStrip::Point;

    // How long a bookmark's title may be on its button, in characters.
    static constexpr std::int64_t titleLimit = 24;

    PersonalToolbar();
    ~PersonalToolbar();
    PersonalToolbar(const PersonalToolbar&) = delete;
    PersonalToolbar& operator=(const PersonalToolbar&) = delete;

    [[nodiscard]] GtkWidget* widget() const { return m_widget.get(); }

    // Replaces every button with one per bookmark (the toolbar's bookmarks, in stored order).
    void setBookmarks(std::vector<Bookmark> bookmarks);
    [[nodiscard]] const std::vector<Bookmark>& bookmarks() const { return m_bookmarks; }
    // The buttons' widgets, in order.
    [[nodiscard]] std::vector<GtkWidget*> buttons() const;
    // Each button's title width in the chrome typeface at 10 points, in order.
    [[nodiscard]] const std::vector<double>& titleWidths() const { return m_titleWidths; }
    void setBottomLine(bool bottomLine);

    // Load a bookmark's address; and, for a middle click, load it in a new tab behind the current one.
    glib::Hook<void(const std::string& address)> onOpen;
    glib::Hook<void(const std::string& address)> onOpenInBackground;
    glib::Hook<void(const std::string& address)> onRemoveFromToolbar;
    glib::Hook<void(const std::string& address)> onRemove;
    glib::Hook<void()> onShowBookmarks;
    glib::Hook<void()> onAddBookmark;
    glib::Hook<void()> onNimbReport;

    // The context menus as they would open now: for the button of bookmark `index`, or for the bar.
    [[nodiscard]] glib::GRefPtr<GMenuModel> bookmarkMenu(std::size_t index) const;
    [[nodiscard]] glib::GRefPtr<GMenuModel> barMenu() const;
    // Opens the context menu for what is at `point` (toolbar coordinates).
    void showMenu(Point point);
    // The menu that is open, if any.
    [[nodiscard]] GtkWidget* openMenu() const { return m_popover.get(); }
    // Carries out a menu command as its item does: "remove-from-toolbar" and "remove-entirely" with
    // a bookmark's address, "bookmarks", "add-bookmark" and "nimb-report" without.
    void activate(const std::string& action, const std::optional<std::string>& address = std::nullopt);

    // The bookmark under a point, if its button is shown there.
    [[nodiscard]] std::optional<std::size_t> buttonAt(Point point) const;

private:
    void allocate(int width, int height);
    void draw(GtkSnapshot* snapshot, double width, double height) const;
    void closeMenu();
    void removeButtons();

    // A bookmark's button, a child of the toolbar, and the toolbar's connection to its click.
    struct Button {
        glib::GRefPtr<GtkWidget> widget;
        glib::Connection click;
    };

    glib::GRefPtr<GtkWidget> m_widget;
    glib::GRefPtr<GSimpleActionGroup> m_actions;
    std::vector<Bookmark> m_bookmarks;
    std::vector<Button> m_buttons;
    std::vector<double> m_titleWidths;
    glib::GRefPtr<GtkWidget> m_popover; // a child of the toolbar while a menu is open
    glib::Connection m_menuClosed;
    bool m_bottomLine = true;
    // Declared last, so that they go first: the panel's hooks, the menus' actions and the secondary
    // click.
    std::vector<glib::Connection> m_connections;
};

} // namespace nimb
