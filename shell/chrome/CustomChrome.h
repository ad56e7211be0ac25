#pragma once

// The browser window's chrome, custom-drawn: one panel that fills the window and holds everything in it where
// WindowLayout says it stands — the tab strip (the window's title bar, with the window's own buttons), the
// toolbar band with the navigation buttons, the location well and the stealth button, the personal toolbar,
// the page area with the tabs' views, and the status line and the progress well over the foot of the page. In
// stealth the band folds into the strip.

#include "chrome/Chrome.h"
#include "chrome/LocationWell.h"
#include "chrome/PersonalToolbar.h"
#include "chrome/ProgressWell.h"
#include "chrome/StatusLine.h"
#include "chrome/ToolButton.h"
#include "glib/Connection.h"
#include "glib/GRefPtr.h"
#include "layout/WindowLayout.h"
#include "library/Bookmarks.h"

#include <gtk/gtk.h>

#include <memory>
#include <string>
#include <vector>

namespace nimb {

class CustomChrome final : public Chrome {
public:
    // Around the window's tab strip and its page area (whose children are the tabs' views).
    CustomChrome(Callbacks callbacks, GtkWidget* strip, GtkWidget* pages);
    ~CustomChrome() override;
    CustomChrome(const CustomChrome&) = delete;
    CustomChrome& operator=(const CustomChrome&) = delete;

    GtkWidget* root() const override { return m_root.get(); }

    void setStatus(std::string_view text) override;
    std::string status() const override;
    void setProgress(double value) override;
    void setNavigation(bool canGoBack, bool canGoForward, bool loading) override;
    void retitle() override;

    void setAddress(std::string_view full, std::string_view resting) override;
    bool editing() const override;
    void focusLocation() override;
    std::optional<std::string> typedText() const override;
    void resumeTyping(const std::string& text) override;
    GtkWidget* locationField() const override;
    GtkWidget* shieldWidget() const override;

    void setShield(const Shield& shield) override;
    void setStealth(bool stealth) override;
    void setIcon(GdkTexture* icon) override;
    void setBookmarks(std::vector<Bookmark> bookmarks) override;
    void relayout() override;
    void setMargin(GtkWidget* panel, bool open) override;
    void setNotice(GtkWidget* bar) override;

    void setFindBar(GtkWidget* bar) override;
    void setFindSlide(std::optional<double> slide) override;

    // The parts, for the window's tests and tools.
    [[nodiscard]] const WindowLayout::Layout& layout() const { return m_layout; }
    [[nodiscard]] bool stealth() const { return m_stealth; }
    [[nodiscard]] ToolButton& backButton() const { return ToolButton::of(m_back.get()); }
    [[nodiscard]] ToolButton& forwardButton() const { return ToolButton::of(m_forward.get()); }
    [[nodiscard]] ToolButton& reloadButton() const { return ToolButton::of(m_reload.get()); }
    [[nodiscard]] ToolButton& stealthButton() const { return ToolButton::of(m_stealthButton.get()); }
    [[nodiscard]] LocationWell& well() const { return LocationWell::of(m_well.get()); }
    [[nodiscard]] ShieldView& shield() const { return well().shield(); }
    [[nodiscard]] PersonalToolbar& personal() const { return *m_personal; }
    [[nodiscard]] StatusLine& statusLine() const { return *m_status; }
    [[nodiscard]] ProgressWell& progressWell() const { return *m_progress; }
    // The find bar, once it has been given; null before.
    [[nodiscard]] GtkWidget* findBar() const { return m_findBar.get(); }
    // The margin panel's widget; none until it is built.
    [[nodiscard]] GtkWidget* margin() const { return m_margin.get(); }

private:
    void build();
    void allocate(int width, int height);
    void drawBands(GtkSnapshot* snapshot, double width, double height) const;
    [[nodiscard]] WindowLayout::Window window(int width, int height) const;

    Callbacks m_callbacks;
    glib::GRefPtr<GtkWidget> m_root;
    glib::GRefPtr<GtkWidget> m_strip;
    glib::GRefPtr<GtkWidget> m_pages;
    glib::GRefPtr<GtkWidget> m_startControls;
    glib::GRefPtr<GtkWidget> m_endControls;
    glib::GRefPtr<GtkWidget> m_back;
    glib::GRefPtr<GtkWidget> m_forward;
    glib::GRefPtr<GtkWidget> m_reload;
    glib::GRefPtr<GtkWidget> m_well;
    glib::GRefPtr<GtkWidget> m_stealthButton;
    std::unique_ptr<PersonalToolbar> m_personal;
    std::unique_ptr<StatusLine> m_status;
    std::unique_ptr<ProgressWell> m_progress;

    glib::GRefPtr<GtkWidget> m_findBar;
    std::optional<double> m_findSlide;

    WindowLayout::Layout m_layout;
    bool m_stealth = false;
    bool m_loading = false;
    // What the shield shows, which its tool tip puts into words.
    Shield m_shield;
    std::string m_fullAddress;
    glib::Connection m_closeBox; // the well's close box, in stealth
    // The margin panel, and whether it is open.
    glib::GRefPtr<GtkWidget> m_margin;
    glib::GRefPtr<GtkWidget> m_notice;
    bool m_marginOpen = false;
    // Declared last, so that they go first: every hook and signal of the parts that calls back here.
    std::vector<glib::Connection> m_connections;
};

} // namespace nimb
