#include "chrome/CustomChrome.h"

#include "chrome/Drawing.h"
#include "chrome/Panel.h"
#include "chrome/TabStripView.h"
#include "vocabulary/Language.h"

#include <utility>

namespace nimb {

namespace {

// The window's own buttons, when the desktop puts any on that side.
std::optional<WindowLayout::Size> controlsSize(GtkWidget* controls) {
    if (!controls || gtk_window_controls_get_empty(GTK_WINDOW_CONTROLS(controls))) return std::nullopt;
    int minimum = 0;
    int width = 0;
    int height = 0;
    gtk_widget_measure(controls, GTK_ORIENTATION_HORIZONTAL, -1, &minimum, &width, nullptr, nullptr);
    gtk_widget_measure(controls, GTK_ORIENTATION_VERTICAL, width, &minimum, &height, nullptr, nullptr);
    if (width <= 0 || height <= 0) return std::nullopt;
    return WindowLayout::Size{static_cast<double>(width),
                              std::min(static_cast<double>(height), WindowLayout::stripHeight)};
}

} // namespace

CustomChrome::CustomChrome(Callbacks callbacks, GtkWidget* strip, GtkWidget* pages)
    : m_callbacks(std::move(callbacks)), m_strip(strip), m_pages(pages) {
    build();
}

CustomChrome::~CustomChrome() = default;

// The parts' hooks are connected to copies of the window's callbacks: a hook calls through a copy of
// what it holds, so a callback that closes the window, and the chrome with it, runs to its end.
void CustomChrome::build() {
    auto& c = m_connections;
    m_root = glib::GRefPtr<GtkWidget>(Panel::create("nimb-chrome"));
    GtkWidget* root = m_root.get();
    auto& hooks = Panel::hooks(root);
    c.push_back(hooks.drawBelow.connect(
        [this](GtkSnapshot* snapshot, double width, double height) { drawBands(snapshot, width, height); }));
    c.push_back(hooks.allocate.connect([this](int width, int height) { allocate(width, height); }));

    // Bottom to top: what is added later is drawn over, and hit before, what came earlier.
    Panel::add(root, m_pages.get());
    Panel::add(root, m_strip.get());
    // In stealth the pill stands over the current tab's field; the strip draws only its ground.
    c.push_back(
        TabStripView::of(m_strip.get()).drawField.connect([](GtkSnapshot*, const TabStrip::Rect&) {}));

    m_startControls = glib::GRefPtr<GtkWidget>(gtk_window_controls_new(GTK_PACK_START));
    m_endControls = glib::GRefPtr<GtkWidget>(gtk_window_controls_new(GTK_PACK_END));
    for (GtkWidget* controls : {m_startControls.get(), m_endControls.get()}) {
        gtk_widget_add_css_class(controls, "nimb-window-controls");
        c.push_back(glib::connect<void(GtkWindowControls*, GParamSpec*)>(
            controls, "notify::empty", [this](GtkWindowControls*, GParamSpec*) { relayout(); }));
        Panel::add(root, controls);
    }

    auto navButton = [&](Glyph glyph, const std::function<void()>& action) {
        GtkWidget* widget = ToolButton::create(ToolButton::Look::nav);
        ToolButton::of(widget).setGlyph(glyph);
        c.push_back(ToolButton::of(widget).onClick.connect(action));
        Panel::add(root, widget);
        return glib::GRefPtr<GtkWidget>(widget);
    };
    m_back = navButton(Glyph::back, m_callbacks.back);
    m_forward = navButton(Glyph::forward, m_callbacks.forward);
    m_reload = navButton(Glyph::reload, m_callbacks.reload);

    m_well = glib::GRefPtr<GtkWidget>(LocationWell::create());
    auto& field = well().location();
    c.push_back(field.onEnter.connect(m_callbacks.locationEntered));
    c.push_back(field.onEditing.connect(m_callbacks.editing));
    c.push_back(field.completion().lookUp.connect(m_callbacks.completion));
    Panel::add(root, m_well.get());
    c.push_back(well().shield().onClick.connect(m_callbacks.toggleReportPopover));

    m_stealthButton = navButton(Glyph::stealth, m_callbacks.toggleStealth);

    m_personal = std::make_unique<PersonalToolbar>();
    auto& personal = *m_personal;
    c.push_back(personal.onOpen.connect(m_callbacks.openBookmark));
    c.push_back(personal.onOpenInBackground.connect(m_callbacks.openBookmarkInBackground));
    c.push_back(personal.onRemoveFromToolbar.connect(m_callbacks.removeFromToolbar));
    c.push_back(personal.onRemove.connect(m_callbacks.removeBookmark));
    c.push_back(personal.onShowBookmarks.connect(m_callbacks.showBookmarks));
    c.push_back(personal.onAddBookmark.connect(m_callbacks.addBookmark));
    c.push_back(personal.onNimbReport.connect(m_callbacks.showNimbReport));
    Panel::add(root, personal.widget());

    m_status = std::make_unique<StatusLine>();
    Panel::add(root, m_status->widget());
    m_progress = std::make_unique<ProgressWell>();
    Panel::add(root, m_progress->widget());

    setNavigation(false, false, false);
    retitle();
}

WindowLayout::Window CustomChrome::window(int width, int height) const {
    WindowLayout::Window window;
    window.width = width;
    window.height = height;
    window.stealth = m_stealth;
    window.startControls = controlsSize(m_startControls.get());
    window.endControls = controlsSize(m_endControls.get());
    window.navButtons = 3;
    const auto& strip = TabStripView::of(m_strip.get());
    window.tabs = strip.content().count();
    window.current = strip.content().current;
    window.bookmarkTitles = m_personal->titleWidths();
    window.findSlide = m_findSlide.value_or(0);
    window.marginOpen = m_marginOpen && m_margin;
    if (m_notice) {
        int natural = 0;
        gtk_widget_measure(m_notice.get(), GTK_ORIENTATION_VERTICAL, std::max(width, 1), nullptr, &natural,
                           nullptr, nullptr);
        window.noticeHeight = natural;
    }
    return window;
}

void CustomChrome::allocate(int width, int height) {
    m_layout = WindowLayout::layout(window(width, height));
    const auto& layout = m_layout;

    Panel::place(m_pages.get(), layout.pageArea);

    auto& strip = TabStripView::of(m_strip.get());
    strip.setInsets(layout.tabStrip.leftInset, layout.tabStrip.rightInset);
    strip.setGapAfterCurrent(layout.tabStrip.gapAfterCurrent);
    strip.setBottomLine(layout.stripBottomLine);
    Panel::place(m_strip.get(), layout.strip);
    Panel::place(m_startControls.get(), layout.startControls);
    Panel::place(m_endControls.get(), layout.endControls);

    GtkWidget* nav[] = {m_back.get(), m_forward.get(), m_reload.get()};
    for (std::size_t k = 0; k < std::size(nav); ++k)
        Panel::place(nav[k],
                     k < layout.navButtons.size() ? std::optional(layout.navButtons[k]) : std::nullopt);

    well().look().setPill(m_stealth, layout.wellRadius);
    well().shield().setInPill(m_stealth);
    Panel::place(m_well.get(), layout.well);
    Panel::place(m_stealthButton.get(), layout.stealthButton);

    m_personal->setBottomLine(layout.personalBottomLine);
    Panel::place(m_personal->widget(), layout.personal);
    if (m_notice) Panel::place(m_notice.get(), layout.notice);

    if (m_findBar) Panel::place(m_findBar.get(), m_findSlide ? std::optional(layout.findBar) : std::nullopt);
    Panel::place(m_status->widget(), layout.statusLine);
    Panel::place(m_progress->widget(), layout.progressWell);

    if (m_margin) Panel::place(m_margin.get(), layout.margin);
}

void CustomChrome::drawBands(GtkSnapshot* snapshot, double width, double height) const {
    Drawing::fill(snapshot, Drawing::rect(0, 0, width, height), Drawing::Colours::face);
    if (m_layout.bar && m_layout.barBottomLine)
        Drawing::fill(snapshot, Drawing::rect(0, m_layout.bar->maxY() - 1, width, 1), Drawing::Colours::line);
}

void CustomChrome::relayout() {
    gtk_widget_queue_allocate(m_root.get());
    gtk_widget_queue_draw(m_root.get());
}

// ------------------------------------------------------------------------------------------------
// What the window tells the chrome

void CustomChrome::setStatus(std::string_view text) {
    m_status->setText(text);
}

std::string CustomChrome::status() const {
    return m_status->text();
}

void CustomChrome::setProgress(double value) {
    m_progress->setValue(value);
}

void CustomChrome::setNavigation(bool canGoBack, bool canGoForward, bool loading) {
    backButton().setEnabled(canGoBack);
    forwardButton().setEnabled(canGoForward);
    m_loading = loading;
    reloadButton().setGlyph(loading ? Glyph::stop : Glyph::reload);
    retitle();
}

void CustomChrome::retitle() {
    backButton().setHelp(words().backHelp());
    forwardButton().setHelp(words().forwardHelp());
    reloadButton().setHelp(m_loading ? words().stopHelp() : words().reloadHelp());
    stealthButton().setHelp(words().stealth());
    well().shield().setHelp(m_shield.through ? words().shieldTip(false, *m_shield.through)
                                             : words().shieldTip(true, m_shield.count));
}

void CustomChrome::setAddress(std::string_view full, std::string_view resting) {
    m_fullAddress = std::string(full);
    well().location().setAddress(full, resting);
    well().look().setHelp(m_stealth ? m_fullAddress : std::string());
}

bool CustomChrome::editing() const {
    return well().location().editing();
}

void CustomChrome::focusLocation() {
    well().location().focus();
}

std::optional<std::string> CustomChrome::typedText() const {
    return well().location().typed();
}

void CustomChrome::resumeTyping(const std::string& text) {
    well().location().resume(text);
}

GtkWidget* CustomChrome::locationField() const {
    return well().field();
}

GtkWidget* CustomChrome::shieldWidget() const {
    return well().shield().widget();
}

void CustomChrome::setShield(const Shield& shield) {
    m_shield = shield;
    well().shield().setLook({shield.isOn, shield.count, shield.heat});
    retitle();
}

void CustomChrome::setStealth(bool stealth) {
    m_stealth = stealth;
    stealthButton().setGlyph(stealth ? Glyph::unstealth : Glyph::stealth);
    // The close box is there while its hook is connected.
    m_closeBox = stealth ? well().onClose.connect(m_callbacks.closeCurrent) : glib::Connection();
    well().look().setHelp(m_stealth ? m_fullAddress : std::string());
    relayout();
}

void CustomChrome::setIcon(GdkTexture* icon) {
    well().look().setIcon(icon);
}

void CustomChrome::setBookmarks(std::vector<Bookmark> bookmarks) {
    m_personal->setBookmarks(std::move(bookmarks));
    relayout();
}

// ------------------------------------------------------------------------------------------------
// The find bar

void CustomChrome::setFindBar(GtkWidget* bar) {
    if (m_findBar || !bar) return;
    m_findBar = glib::GRefPtr<GtkWidget>(bar);
    // Over the page, under the status line and the progress well that ride on it.
    Panel::addBelow(m_root.get(), bar, m_status->widget());
    relayout();
}

void CustomChrome::setFindSlide(std::optional<double> slide) {
    if (slide == m_findSlide) return;
    m_findSlide = slide;
    // Shown at once, so that its field can take the focus before the bar is first laid out.
    if (m_findBar && slide) gtk_widget_set_child_visible(m_findBar.get(), TRUE);
    relayout();
}

// ------------------------------------------------------------------------------------------------
// The margin panel

void CustomChrome::setMargin(GtkWidget* panel, bool open) {
    if (panel != m_margin.get()) {
        if (m_margin) gtk_widget_unparent(m_margin.get());
        m_margin = glib::GRefPtr<GtkWidget>(panel);
        // Beside the page, under what floats over the page's foot.
        if (panel) gtk_widget_insert_after(panel, m_root.get(), m_pages.get());
    }
    m_marginOpen = open;
    relayout();
}

// ------------------------------------------------------------------------------------------------
// The notice

void CustomChrome::setNotice(GtkWidget* bar) {
    if (bar == m_notice.get()) return;
    if (m_notice) gtk_widget_unparent(m_notice.get());
    m_notice = glib::GRefPtr<GtkWidget>(bar);
    // Under what floats over the page's foot, and under any bubble.
    if (bar) gtk_widget_insert_after(bar, m_root.get(), m_pages.get());
    relayout();
}

std::unique_ptr<Chrome> makeChrome(Chrome::Callbacks callbacks, GtkWidget* strip, GtkWidget* pages) {
    return std::make_unique<CustomChrome>(std::move(callbacks), strip, pages);
}

} // namespace nimb
