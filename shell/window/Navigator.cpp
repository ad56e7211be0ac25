#include "window/Navigator.h"

#include "app/Application.h"
#include "app/Dialogs.h"
#include "base/Text.h"
#include "engine/BlockerRules.h"
#include "location/SearchRewrite.h"
#include "pages/BookmarksPage.h"
#include "pages/HistoryPage.h"
#include "pages/HomePage.h"
#include "preferences/Preferences.h"
#include "report/SavedReportsPage.h"
#include "vocabulary/Language.h"
#include "window/ChromeController.h"
#include "window/ReportRequests.h"
#include "window/StatusController.h"
#include "window/Tab.h"
#include "window/TabList.h"
#include "window/TabRef.h"
#include "window/WindowContext.h"

namespace nimb {

namespace {

// Whether the engine shows one of the page's dialogs (alert, confirm, prompt) in the view: the page's
// process waits for its answer, and nothing else reaches the page meanwhile.
bool showsScriptDialog(WebKitWebView* view) {
    for (GtkWidget* child = gtk_widget_get_first_child(GTK_WIDGET(view)); child;
         child = gtk_widget_get_next_sibling(child))
        if (std::string_view(G_OBJECT_TYPE_NAME(child)) == "WebKitScriptDialogImpl") return true;
    return false;
}

bool isInternalAddress(std::string_view address) {
    return address == LocationBar::aboutHome || address == LocationBar::aboutBookmarks ||
           address == LocationBar::aboutHistory || address == LocationBar::aboutReports ||
           address == LocationBar::aboutReport;
}

} // namespace

void Navigator::load(const Url& address, Tab& tab) {
    const std::string& text = address.string();
    if (isInternalAddress(text)) {
        using Kind = LocationBar::Destination::Kind;
        Kind kind = text == LocationBar::aboutHome        ? Kind::home
                    : text == LocationBar::aboutBookmarks ? Kind::bookmarks
                    : text == LocationBar::aboutHistory   ? Kind::history
                    : text == LocationBar::aboutReports   ? Kind::savedReports
                                                          : Kind::report;
        go(LocationBar::Destination::of(kind), tab);
        return;
    }
    Url target = address;
    if (m_context.prefs().linksOnlySearch()) {
        if (auto rewritten = SearchRewrite::webResults(address)) target = *rewritten;
    }
    if (holdForBlocklist(target, tab)) return;
    start(target, tab);
}

bool Navigator::waitsForBlocklist(const Url& address) const {
    if (!m_context.prefs().contentBlockingEnabled() || m_context.application().rules().list()) return false;
    auto scheme = text::asciiLowercased(address.view().scheme());
    return scheme == "http" || scheme == "https";
}

bool Navigator::holdForBlocklist(const Url& target, Tab& tab) {
    if (!waitsForBlocklist(target)) return false;
    bool waiting = tab.heldAddress.has_value();
    tab.heldAddress = target.string();
    if (m_context.tabs().isCurrent(tab)) {
        m_context.chrome().showAddress(target.string());
        m_context.status().showPageStatus(StatusStrings::contacting(), false);
    }
    if (waiting) return true; // the newest address goes when the first would have
    // Whichever comes first: the list (the tab's page has it by then: it asked before this did), or
    // the end of the wait.
    tab.heldDeadline = glib::Source::timeout(blocklistWait, [this, ref = TabRef(m_context, tab)] {
        if (auto locked = ref.lock()) release(*locked.tab, true);
    });
    m_context.application().rules().load([this, ref = TabRef(m_context, tab)](WebKitUserContentFilter* list) {
        if (auto locked = ref.lock()) release(*locked.tab, list == nullptr);
    });
    return true;
}

void Navigator::release(Tab& tab, bool late) {
    auto held = std::exchange(tab.heldAddress, std::nullopt);
    tab.heldDeadline.cancel();
    auto address = held ? Url::parse(*held) : std::nullopt;
    if (!address) return;
    start(*address, tab);
    if (late && m_context.tabs().isCurrent(tab)) m_context.status().setStatus(words().blockingStartsLate());
}

void Navigator::leaveDialog(Tab& tab) {
    // A page held in its own dialog cannot be told to go, and one that shows them in a loop would
    // never let the tab go anywhere else: the page is left as a closed tab is, its process ended.
    if (showsScriptDialog(tab.view())) webkit_web_view_terminate_web_process(tab.view());
}

void Navigator::stopBeforeNext(Tab& tab) {
    // The engine can lose a new load given while the last is still on its way in another web process
    // (the browser's pages and web pages have processes of their own): the next never starts and the
    // tab stays "loading". The last is stopped first, as the user's Stop would.
    if (tab.loading()) webkit_web_view_stop_loading(tab.view());
}

void Navigator::start(const Url& target, Tab& tab) {
    leaveDialog(tab);
    stopBeforeNext(tab);
    tab.localPage.reset();
    if (m_context.tabs().isCurrent(tab)) m_context.chrome().showAddress(target.string());
    tab.pendingGenerated = false;
    tab.sentGenerated.reset();
    tab.armTimeout(m_context.application().requestTimeout(), [ref = TabRef(m_context, tab)] {
        // The engine only learns that the load was stopped; the tab remembers why.
        if (auto locked = ref.lock(); locked && locked.tab->loading())
            webkit_web_view_stop_loading(locked.tab->view());
    });
    webkit_web_view_load_uri(tab.view(), target.string().c_str());
    m_context.chrome().syncStrip();
}

void Navigator::go(const LocationBar::Destination& destination, Tab& tab) {
    using Kind = LocationBar::Destination::Kind;
    switch (destination.kind) {
    case Kind::url:
        if (destination.url) load(*destination.url, tab);
        break;
    case Kind::home:
        showLocal(LocationBar::aboutHome, tab, Placement::newEntry);
        break;
    case Kind::bookmarks:
        showLocal(LocationBar::aboutBookmarks, tab, Placement::newEntry);
        break;
    case Kind::history:
        showLocal(LocationBar::aboutHistory, tab, Placement::newEntry);
        break;
    case Kind::savedReports:
        m_context.reports().closePopover();
        showLocal(LocationBar::aboutReports, tab, Placement::newEntry);
        break;
    case Kind::report:
        m_context.reports().show(tab);
        break;
    case Kind::nowhere:
        break;
    }
}

void Navigator::goHome(Tab& tab) {
    Preferences& prefs = m_context.prefs();
    auto destination = prefs.resolve(prefs.homePage());
    if (destination.kind == LocationBar::Destination::Kind::nowhere)
        destination = LocationBar::Destination::home;
    go(destination, tab);
}

std::optional<std::string> Navigator::generatedPage(std::string_view address) const {
    const Preferences& prefs = m_context.prefs();
    if (address == LocationBar::aboutHome) return HomePage::html(prefs.history());
    if (address == LocationBar::aboutBookmarks)
        return BookmarksPage::html(prefs.bookmarks(), prefs.history(), prefs.notes(), m_context.now());
    if (address == LocationBar::aboutHistory) return HistoryPage::html(prefs.history(), m_context.now());
    if (address == LocationBar::aboutReports)
        return SavedReportsPage::html(prefs.savedReports(), m_context.now());
    return std::nullopt;
}

std::uint64_t Navigator::showLocal(std::string_view address, Tab& tab, Placement placement) {
    // The browser's own page takes the place of an address that was waiting.
    tab.heldAddress.reset();
    tab.heldDeadline.cancel();
    leaveDialog(tab);
    stopBeforeNext(tab);
    // The same page asked for where it stands (or on its way there) is drawn again in its place: the
    // engine takes a load of the address it shows as drawing that entry again.
    auto shown = tab.generatedEntry();
    bool again = shown && shown->internalAddress == address &&
                 (placement == Placement::inPlace || address != LocationBar::aboutReport);
    std::uint64_t entry = again ? shown->number : ++tab.generatedEntries;
    tab.localPage = std::string(address);
    if (m_context.tabs().isCurrent(tab)) m_context.chrome().showAddress(std::string(address));
    tab.pendingGenerated = true;
    tab.sentGenerated = GeneratedPage::Entry{std::string(address), entry};
    tab.disarmTimeout();
    webkit_web_view_load_uri(tab.view(), GeneratedPage::address(address, entry).c_str());
    m_context.chrome().syncTitle();
    m_context.chrome().syncStrip();
    return entry;
}

void Navigator::redrawLocal(Tab& tab) {
    if (tab.localPage) showLocal(*tab.localPage, tab, Placement::inPlace);
}

std::optional<std::string> Navigator::draw(Tab& tab, const GeneratedPage::Entry& entry) {
    // Only for the tab's own document on its way there, sent by the browser or gone back, forward or
    // again to (the engine may ask before the view names the address): a frame asking (were the
    // scheme ever open to one) gets nothing.
    if (tab.admittedGenerated != entry && tab.generatedEntry() != entry) return std::nullopt;
    std::optional<std::string> html = entry.internalAddress == LocationBar::aboutReport
                                          ? m_context.reports().draw(tab, entry.number)
                                          : generatedPage(entry.internalAddress);
    if (html) tab.generatedDrawn = entry;
    return html;
}

void Navigator::showHistory() {
    if (Tab* tab = m_context.tabs().currentTab()) go(LocationBar::Destination::history, *tab);
}

void Navigator::showBookmarks() {
    if (Tab* tab = m_context.tabs().currentTab()) go(LocationBar::Destination::bookmarks, *tab);
}

void Navigator::showSavedReports() {
    if (Tab* tab = m_context.tabs().currentTab()) go(LocationBar::Destination::savedReports, *tab);
}

void Navigator::reload(Tab& tab) {
    if (tab.localPage) {
        if (*tab.localPage == LocationBar::aboutReports) m_context.reports().closePopover();
        showLocal(*tab.localPage, tab, Placement::inPlace);
        return;
    }
    if (auto shown = tab.viewAddress() ? Url::parse(*tab.viewAddress()) : std::nullopt;
        shown && !tab.localPage && holdForBlocklist(*shown, tab))
        return;
    // The answer to a form is asked for again by sending the form again: only once the user agrees.
    if (tab.form.shown) {
        askToResend(tab);
        return;
    }
    leaveDialog(tab);
    tab.pendingGenerated = false;
    tab.sentGenerated.reset();
    webkit_web_view_reload(tab.view());
}

void Navigator::askToResend(Tab& tab) {
    if (tab.form.asking) return;
    tab.form.asking = true;
    Dialogs::confirm(m_context.gtkWindow(), words().resendQuestion(), words().resendDetail(),
                     words().resend(), [this, ref = TabRef(m_context, tab)](bool yes) {
                         auto locked = ref.lock();
                         if (!locked) return;
                         Tab& asked = *locked.tab;
                         asked.form.asking = false;
                         // Cancel, or another page came meanwhile: the page is left as it is.
                         if (!yes || !asked.form.shown) return;
                         asked.form.resendAgreed = true;
                         leaveDialog(asked);
                         asked.pendingGenerated = false;
                         asked.sentGenerated.reset();
                         webkit_web_view_reload(asked.view());
                     });
}

void Navigator::reloadAll() {
    // A copy: reloading can close the popover, and nothing here may change the list under it.
    auto tabs = m_context.tabs().all();
    for (const auto& tab : tabs) {
        // Not the answer to a form: no one asked to send it again, and one question per tab would
        // bury the user. It takes the change with its next page.
        if (tab->form.shown) continue;
        reload(*tab);
    }
}

void Navigator::reloadPage() {
    Tab* tab = m_context.tabs().currentTab();
    if (!tab) return;
    if (tab->loading())
        webkit_web_view_stop_loading(tab->view());
    else
        reload(*tab);
}

void Navigator::printPage() {
    Tab* tab = m_context.tabs().currentTab();
    if (!tab) return;
    auto operation = glib::adoptGRef(webkit_print_operation_new(tab->view()));
    runPrintDialog(operation.get());
}

void Navigator::printRequested(Tab& tab, WebKitPrintOperation* operation) {
    auto now = std::chrono::steady_clock::now();
    bool pausing = tab.printClosed && now - *tab.printClosed < printPause;
    if (pausing || !runPrintDialog(operation)) {
        m_context.status().tellTab(tab, words().refusedPrint());
        return;
    }
    tab.printClosed = std::chrono::steady_clock::now();
}

bool Navigator::runPrintDialog(WebKitPrintOperation* operation) {
    // One in the whole process: dialogs of other windows' pages, or of the menu, would stack.
    static bool open = false;
    if (open) return false;
    open = true;
    auto keep = glib::GRefPtr<WebKitPrintOperation>(operation);
    webkit_print_operation_run_dialog(operation, m_context.gtkWindow());
    open = false;
    return true;
}

void Navigator::goBack() {
    if (Tab* tab = m_context.tabs().currentTab()) {
        leaveDialog(*tab);
        tab->pendingGenerated = false;
        tab->sentGenerated.reset();
        webkit_web_view_go_back(tab->view());
    }
}

void Navigator::goForward() {
    if (Tab* tab = m_context.tabs().currentTab()) {
        leaveDialog(*tab);
        tab->pendingGenerated = false;
        tab->sentGenerated.reset();
        webkit_web_view_go_forward(tab->view());
    }
}

void Navigator::stopLoading() {
    if (Tab* tab = m_context.tabs().currentTab()) webkit_web_view_stop_loading(tab->view());
}

void Navigator::locationEntered(const std::string& text) {
    Tab* tab = m_context.tabs().currentTab();
    if (!tab) return;
    go(m_context.prefs().resolve(text), *tab);
    if (Tab* now = m_context.tabs().currentTab()) gtk_widget_grab_focus(GTK_WIDGET(now->view()));
}

} // namespace nimb
