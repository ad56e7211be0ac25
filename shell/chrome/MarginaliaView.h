#pragma once

// The margin panel at the right of the page: a 30-point header strip with the panel's title and its
// close box, and under it a web view showing the margin's generated page (the notes of the current
// page's home, or of every home). The web view runs no page script, takes its typefaces from the asset
// scheme and never goes anywhere itself: every link followed in it is cancelled and handed over,
// an internal action of the page's own (forgetting a note) to `onAction`, any other address to `onOpen`.
// Internal actions count only while the view holds the document it was given.

#include "chrome/ToolButton.h"
#include "engine/PanelPage.h"
#include "glib/Connection.h"
#include "glib/GRefPtr.h"
#include "glib/Hook.h"
#include "glib/Source.h"
#include "layout/TabStrip.h"
#include "library/Bookmarks.h"

#include <gtk/gtk.h>
#include <webkit/webkit.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace nimb {

class MarginaliaView {
public:
    using Rect = TabStrip::Rect;

    // The panel's measures, in points.
    static constexpr double headHeight = 30;
    static constexpr double edge = 1; // the rule down the left, between the page and the panel
    static constexpr double closeSize = 24;
    static constexpr double closeTop = 3;
    static constexpr double closeEnd = 4; // the close box's right edge from the panel's
    static constexpr double titleStart = 14;
    static constexpr double titleGap = 18; // between the title and the close box
    static constexpr double titlePoints = 11;
    // How many followed links may wait to be handed over at once; the rest are dropped.
    static constexpr std::size_t pendingLimit = 8;

    // Where the parts stand in a panel of this size.
    struct Parts {
        Rect head;
        Rect close;
        Rect title;
        Rect web;

        bool operator==(const Parts&) const = default;
    };
    [[nodiscard]] static Parts parts(double width, double height);

    // A panel whose web view runs on the browser's engine (its context serves the asset scheme).
    // Showing its pages in `web` (a new web view for the browser's own pages, taken over).
    explicit MarginaliaView(GtkWidget* web);
    ~MarginaliaView();
    MarginaliaView(const MarginaliaView&) = delete;
    MarginaliaView& operator=(const MarginaliaView&) = delete;

    [[nodiscard]] GtkWidget* widget() const { return m_widget.get(); }
    [[nodiscard]] WebKitWebView* web() const { return m_page.view(); }
    [[nodiscard]] ToolButton& closeButton() const { return ToolButton::of(m_close.get()); }
    [[nodiscard]] const std::string& title() const { return m_title; }

    // Shows a generated document (loaded with no base address); the same document again is left as it is.
    void load(const std::string& html);
    // Whether the view holds the document it was last given.
    [[nodiscard]] bool showsGenerated() const { return m_page.showsGenerated(); }
    // The title, the close box's tip and the accessible names in the current language.
    void retitle();

    // An internal action of the page's own, followed in it.
    glib::Hook<void(const BookmarkAction&)> onAction;
    // Any other address followed in the page.
    glib::Hook<void(const std::string&)> onOpen;
    // The close box.
    glib::Hook<void()> onClose;

private:
    void allocate(int width, int height);
    void draw(GtkSnapshot* snapshot, double width, double height) const;
    void followed(const std::string& address, bool permitted);
    void handOver();

    // A link followed in the page: the action it asks for, or else its address.
    struct Followed {
        std::optional<BookmarkAction> action;
        std::string address;
    };

    glib::GRefPtr<GtkWidget> m_widget;
    glib::GRefPtr<GtkWidget> m_close;
    PanelPage m_page;
    std::string m_title;
    std::string m_html;
    std::vector<Followed> m_followed;
    glib::Source m_handOver;
    // Cleared when the view goes, for a hand-over whose callback took the window with it.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
    // Declared last, so that they go first: the panel's hooks, the close box, the web view's signals.
    std::vector<glib::Connection> m_connections;
};

} // namespace nimb
