#include "chrome/MarginaliaView.h"

#include "base/Url.h"
#include "chrome/Drawing.h"
#include "chrome/Panel.h"
#include "page/InternalActions.h"
#include "vocabulary/Language.h"

#include <algorithm>
#include <memory>
#include <utility>

namespace nimb {

namespace {

// The panel's menu keeps only what reads the notes: copying and selecting. Going back, reloading or
// opening a link elsewhere would take the view away from its document.
void keepCopyItems(WebKitContextMenu* menu) {
    GList* items = g_list_copy(webkit_context_menu_get_items(menu));
    for (GList* item = items; item; item = item->next) {
        auto* entry = static_cast<WebKitContextMenuItem*>(item->data);
        switch (webkit_context_menu_item_get_stock_action(entry)) {
        case WEBKIT_CONTEXT_MENU_ACTION_COPY:
        case WEBKIT_CONTEXT_MENU_ACTION_COPY_LINK_TO_CLIPBOARD:
        case WEBKIT_CONTEXT_MENU_ACTION_SELECT_ALL:
            break;
        default:
            webkit_context_menu_remove(menu, entry);
        }
    }
    g_list_free(items);
}

void name(GtkWidget* widget, const std::string& label) {
    gtk_accessible_update_property(GTK_ACCESSIBLE(widget), GTK_ACCESSIBLE_PROPERTY_LABEL, label.c_str(), -1);
}

} // namespace

MarginaliaView::Parts MarginaliaView::parts(double width, double height) {
    width = std::max(0.0, width);
    height = std::max(0.0, height);
    Parts parts;
    parts.head = {edge, 0, std::max(0.0, width - edge), headHeight};
    parts.close = {width - closeEnd - closeSize, closeTop, closeSize, closeSize};
    parts.title = {titleStart, 0, std::max(0.0, parts.close.x - titleGap - titleStart), headHeight};
    parts.web = {edge, headHeight, std::max(0.0, width - edge), std::max(0.0, height - headHeight)};
    return parts;
}

MarginaliaView::MarginaliaView(GtkWidget* view) : m_widget(Panel::create("nimb-margin")), m_page(view) {
    auto& c = m_connections;
    GtkWidget* panel = m_widget.get();
    g_object_set(panel, "accessible-role", GTK_ACCESSIBLE_ROLE_GROUP, nullptr);
    auto& hooks = Panel::hooks(panel);
    c.push_back(hooks.drawBelow.connect(
        [this](GtkSnapshot* snapshot, double width, double height) { draw(snapshot, width, height); }));
    c.push_back(hooks.allocate.connect([this](int width, int height) { allocate(width, height); }));

    WebKitWebView* web = m_page.view();
    // Under the page, and wherever it has not painted yet, the panel's own ground.
    GdkRGBA ground = Drawing::Colours::face;
    webkit_web_view_set_background_color(web, &ground);
    c.push_back(m_page.onFollow.connect(
        [this](const std::string& address, bool permitted) { followed(address, permitted); }));
    c.push_back(glib::connect<gboolean(WebKitWebView*, WebKitContextMenu*, WebKitHitTestResult*)>(
        web, "context-menu", [](WebKitWebView*, WebKitContextMenu* menu, WebKitHitTestResult*) {
            keepCopyItems(menu);
            return FALSE;
        }));
    Panel::add(panel, GTK_WIDGET(web));

    m_close = glib::GRefPtr<GtkWidget>(ToolButton::create(ToolButton::Look::nav));
    g_object_set(m_close.get(), "accessible-role", GTK_ACCESSIBLE_ROLE_BUTTON, nullptr);
    closeButton().setGlyph(Glyph::dismiss);
    c.push_back(closeButton().onClick.connect([this] { onClose(); }));
    Panel::add(panel, m_close.get());

    retitle();
}

MarginaliaView::~MarginaliaView() {
    *m_alive = false;
}

void MarginaliaView::load(const std::string& html) {
    if (html == m_html && showsGenerated()) return;
    m_html = html;
    m_page.load(m_html);
}

void MarginaliaView::retitle() {
    m_title = words().marginalia();
    closeButton().setHelp(words().closeMarginalia());
    name(m_widget.get(), m_title);
    name(m_close.get(), words().closeMarginalia());
    gtk_widget_queue_draw(m_widget.get());
}

void MarginaliaView::allocate(int width, int height) {
    auto frames = parts(width, height);
    Panel::place(m_page.widget(), frames.web);
    Panel::place(m_close.get(), frames.close);
}

void MarginaliaView::draw(GtkSnapshot* snapshot, double width, double height) const {
    namespace Colours = Drawing::Colours;
    auto frames = parts(width, height);
    Drawing::fill(snapshot, Drawing::rect(0, 0, width, height), Colours::face);
    Drawing::fill(snapshot, Drawing::rect(0, 0, edge, height), Colours::line);
    auto font = Drawing::font(titlePoints, true);
    const auto& title = frames.title;
    Drawing::text(snapshot, m_widget.get(), m_title,
                  Drawing::rect(title.x, title.y, title.width, title.height), font.get(), Colours::dimInk);
}

void MarginaliaView::followed(const std::string& address, bool permitted) {
    if (m_followed.size() >= pendingLimit) return;
    Followed next;
    if (auto internal = InternalActions::parse(address)) {
        // Only the page that was given may ask for an action, and only for one of its own kind.
        const auto* bookmark = std::get_if<BookmarkAction>(&*internal);
        if (!bookmark || !permitted) return;
        next.action = *bookmark;
    } else {
        next.address = address;
    }
    m_followed.push_back(std::move(next));
    // Handed over on the next turn of the main loop, once the engine has its answer: what is done with
    // it may load a new document into this very view.
    if (!m_handOver.pending()) m_handOver = glib::Source::idle([this] { handOver(); }, G_PRIORITY_DEFAULT);
}

void MarginaliaView::handOver() {
    auto followed = std::exchange(m_followed, {});
    auto alive = m_alive;
    for (const auto& each : followed) {
        if (!*alive) return;
        if (each.action)
            onAction(*each.action);
        else
            onOpen(each.address);
    }
}

} // namespace nimb
