// The window's side of the conversation with its pages: the page scripts' messages, the status line
// and the shield, the site report, the actions of the browser's own pages, and the refreshes of every
// window after a stored record changed.

#include "Application.h"
#include "BrowserWindowController.h"
#include "Dialogs.h"
#include "FaviconStore.h"
#include "PageSetup.h"
#include "ScriptValue.h"
#include "base/Text.h"
#include "layout/TabStrip.h"
#include "library/Bookmarks.h"
#include "library/History.h"
#include "library/Marginalia.h"
#include "page/Favicon.h"
#include "page/MessageBody.h"
#include "page/PageScripts.h"
#include "preferences/Preferences.h"
#include "report/Dossier.h"
#include "report/KeptReports.h"
#include "report/NimbReportPage.h"
#include "vocabulary/Language.h"

namespace nimb {

namespace {

// How long a note's line may be in the status line.
constexpr std::int64_t noteLineLimit = 80;

// Carries a C++ callable through a GAsyncReadyCallback.
template <class F>
struct Pending {
    std::weak_ptr<BrowserWindowController> window;
    std::weak_ptr<Tab> tab;
    F then;
};

} // namespace

// ------------------------------------------------------------------------------------------------
// Page messages

void BrowserWindowController::statusMessage(WebKitWebView* view, JSCValue* body) {
    Tab* tab = tabFor(view);
    if (!tab) return;
    tab->status = MessageBody::status(ScriptValue::read(body));
    if (!isCurrent(*tab)) return;
    if (tab->status)
        showPageStatus(*tab->status, false);
    else
        showPageStatus(idleStatus(), tab->documentIsGenerated);
}

void BrowserWindowController::blockedMessage(WebKitWebView* view, JSCValue* body) {
    Tab* tab = tabFor(view);
    if (!tab) return;
    auto message = MessageBody::blocked(ScriptValue::read(body, {"walls", "network", "hosts"}));
    if (!message) return;
    if (message->walls) tab->walls = *message->walls;
    if (message->network) tab->network = *message->network;
    if (message->hosts) {
        tab->hosts = std::move(*message->hosts);
        tab->heat = Dossier::reach(tab->hosts, tab->address().value_or("")).heat();
    }
    if (!isCurrent(*tab)) return;
    syncShield();
    showPageStatus(tab->status.value_or(idleStatus()), tab->documentIsGenerated && !tab->status);
}

void BrowserWindowController::faviconMessage(WebKitWebView* view, JSCValue* body) {
    Tab* tab = tabFor(view);
    if (!tab) return;
    tab->declaredIcon = MessageBody::favicon(ScriptValue::read(body));
    fetchIcon(*tab);
}

void BrowserWindowController::fetchIcon(Tab& tab) {
    if (tab.localPage) return;
    auto address = tab.viewAddress();
    auto page = address ? Url::parse(*address) : std::nullopt;
    if (!page || !Favicon::key(*address)) return;
    std::weak_ptr<BrowserWindowController> weakWindow = weak_from_this();
    std::weak_ptr<Tab> weakTab = shared(tab);
    // The answer may come before icon() returns, when the site's icon is at hand.
    FaviconStore::shared().icon(
        *page, tab.declaredIcon,
        [weakWindow, weakTab](GdkTexture*) {
            auto self = weakWindow.lock();
            auto fetched = weakTab.lock();
            if (!self || !fetched || self->m_closed || fetched->tornDown() || !self->shared(*fetched)) return;
            // The strip's icons, and the current tab's in the location well.
            self->syncStrip();
        },
        tab.cancellable());
}

GdkTexture* BrowserWindowController::icon(const Tab& tab) const {
    if (tab.localPage) return nullptr;
    auto key = Favicon::key(tab.address());
    return key ? FaviconStore::shared().cached(*key) : nullptr;
}

// ------------------------------------------------------------------------------------------------
// The status line and the shield

void BrowserWindowController::setStatus(std::string_view text) {
    m_statusHeld = true;
    m_chrome->setStatus(text);
}

void BrowserWindowController::showPageStatus(std::string_view text, bool fromGeneratedPage) {
    if (fromGeneratedPage && m_statusHeld) return;
    m_statusHeld = false;
    m_chrome->setStatus(text);
}

std::string BrowserWindowController::status() const {
    return m_chrome->status();
}

std::int64_t BrowserWindowController::blockedCount(const Tab& tab) const {
    // With blocking off the recorder still counts the requests the blocklist names, but none of them
    // was refused: the status line and the shield do not call them blocked.
    return tab.walls + (prefs().contentBlockingEnabled() ? tab.network : 0);
}

std::string BrowserWindowController::idleStatus() const {
    Tab* tab = currentTab();
    if (tab && webkit_web_view_is_loading(tab->view())) return StatusStrings::contacting();
    return StatusStrings::done(tab ? blockedCount(*tab) : 0);
}

std::string BrowserWindowController::restingLabel() const {
    Tab* tab = currentTab();
    if (m_stealth && tab) return TabStrip::label(tab->pageTitle(), tab->address());
    return LocationBar::restingLabel(m_fullAddress);
}

void BrowserWindowController::syncShield() {
    Tab* tab = currentTab();
    Chrome::Shield shield{prefs().contentBlockingEnabled(), tab ? blockedCount(*tab) : 0,
                          tab ? tab->heat : 0};
    if (shield == m_shield) return;
    m_shield = shield;
    m_chrome->setShield(m_shield);
}

// ------------------------------------------------------------------------------------------------
// The site report

void BrowserWindowController::askThePage(Tab& tab, Answer then) {
    std::string address = tab.address().value_or("");
    const char* viewTitle = webkit_web_view_get_title(tab.view());
    std::string title = viewTitle ? viewTitle : "";
    auto empty = [&] {
        NimbReport report;
        report.address = address;
        return report;
    };
    if (tab.localPage) return then(empty(), Unavailable::localPage);
    if (!prefs().nimbReportEnabled()) return then(empty(), Unavailable::recordingOff);
    if (!prefs().javaScriptEnabled()) return then(empty(), Unavailable::scriptingOff);

    struct Asked {
        Answer then;
        std::string address;
        std::string title;
    };
    using Work = Pending<Asked>;
    auto script = PageScripts::snapshot();
    webkit_web_view_evaluate_javascript(
        tab.view(), script.data(), static_cast<gssize>(script.size()), nullptr, nullptr, tab.cancellable(),
        +[](GObject* source, GAsyncResult* result, gpointer data) {
            std::unique_ptr<Work> work(static_cast<Work*>(data));
            GError* error = nullptr;
            auto value = glib::adoptGRef(
                webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(source), result, &error));
            bool cancelled = error && g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED);
            if (error) g_error_free(error);
            auto window = work->window.lock();
            auto asker = work->tab.lock();
            if (cancelled || !window || !asker || asker->tornDown()) return;
            auto& asked = work->then;
            auto text = value ? ScriptValue::text(value.get()) : std::nullopt;
            if (!text) {
                NimbReport report;
                report.address = asked.address;
                return asked.then(std::move(report), Unavailable::notRecorded);
            }
            NimbReport report = NimbReport::parse(*text, asked.address, asked.title);
            report.blockingOn = window->prefs().contentBlockingEnabled();
            asked.then(std::move(report), std::nullopt);
        },
        new Work{weak_from_this(), shared(tab), Asked{std::move(then), address, title}});
}

void BrowserWindowController::showNimbReport(Tab& tab) {
    if (tab.localPage == LocationBar::aboutReport) return;
    std::weak_ptr<BrowserWindowController> weakWindow = weak_from_this();
    std::weak_ptr<Tab> weakTab = shared(tab);
    askThePage(tab, [weakWindow, weakTab](NimbReport report, std::optional<Unavailable> reason) {
        auto self = weakWindow.lock();
        auto in = weakTab.lock();
        if (!self || !in || in->tornDown() || self->m_closed) return;
        in->reported = Tab::Reported{report, reason};
        self->renderReport(*in, report, reason, NimbReportPage::View::overview, "", std::nullopt);
    });
}

void BrowserWindowController::renderReport(Tab& tab, const NimbReport& report,
                                           std::optional<Unavailable> reason, NimbReportPage::View view,
                                           const std::string& query,
                                           const std::optional<SavedReport>& saved) {
    std::string html = NimbReportPage::html(report, reason, false, view, query, saved, now());
    tab.reportPage =
        Tab::ReportPage{view, query, saved ? std::optional<std::string>(saved->id) : std::nullopt};
    showLocal(LocationBar::aboutReport, html, tab);
}

void BrowserWindowController::keepReport(Tab& tab) {
    if (tab.localPage != LocationBar::aboutReport || !tab.reported || tab.reported->reason) {
        setStatus(words().nothingToKeep());
        return;
    }
    NimbReport report = tab.reported->report;
    SavedReport kept = KeptReports::keep(prefs(), report, now());
    savedReportsChanged();
    setStatus(words().reportKept(KeptReports::site(kept)));
    auto page = tab.reportPage.value_or(Tab::ReportPage{});
    renderReport(tab, report, std::nullopt, page.view, page.query, kept);
}

void BrowserWindowController::apply(const ReportAction& action, Tab& tab) {
    switch (action.kind) {
    case ReportAction::Kind::keep:
        keepReport(tab);
        return;
    case ReportAction::Kind::list:
        closeReportPopover();
        showLocal(LocationBar::aboutReports, *generatedPage(LocationBar::aboutReports), tab);
        return;
    case ReportAction::Kind::forget: {
        auto removed = KeptReports::forget(prefs(), action.id);
        if (!removed) {
            setStatus(words().nothingToChange());
            return;
        }
        setStatus(words().reportForgotten(KeptReports::site(*removed)));
        savedReportsChanged();
        if (tab.localPage != LocationBar::aboutReports) {
            closeReportPopover();
            showLocal(LocationBar::aboutReports, *generatedPage(LocationBar::aboutReports), tab);
        }
        return;
    }
    case ReportAction::Kind::show:
        break;
    }

    if (action.saved) {
        auto kept = KeptReports::find(prefs(), *action.saved);
        if (!kept) {
            closeReportPopover();
            showLocal(LocationBar::aboutReports, *generatedPage(LocationBar::aboutReports), tab);
            return;
        }
        renderReport(tab, KeptReports::report(*kept), std::nullopt, action.view, action.query, kept);
        return;
    }
    if (tab.localPage == LocationBar::aboutReport && tab.reported) {
        auto reported = *tab.reported;
        renderReport(tab, reported.report, reported.reason, action.view, action.query, std::nullopt);
        return;
    }
    closeReportPopover();
    std::weak_ptr<BrowserWindowController> weakWindow = weak_from_this();
    std::weak_ptr<Tab> weakTab = shared(tab);
    askThePage(tab, [weakWindow, weakTab, action](NimbReport report, std::optional<Unavailable> reason) {
        auto self = weakWindow.lock();
        auto in = weakTab.lock();
        if (!self || !in || in->tornDown() || self->m_closed) return;
        in->reported = Tab::Reported{report, reason};
        self->renderReport(*in, report, reason, action.view, action.query, std::nullopt);
    });
}

// ------------------------------------------------------------------------------------------------
// History and bookmark actions

void BrowserWindowController::apply(const HistoryAction& action) {
    switch (action.kind) {
    case HistoryAction::Kind::forgetAll:
        clearHistory();
        return;
    case HistoryAction::Kind::forget:
        if (auto visit = History::forget(prefs(), action.address)) {
            historyChanged();
            setStatus(words().forgot(visit->name()));
        } else {
            setStatus(words().nothingToChange());
        }
        return;
    }
}

void BrowserWindowController::apply(const BookmarkAction& action, Tab* from) {
    using Kind = BookmarkAction::Kind;
    switch (action.kind) {
    case Kind::remove: {
        auto bookmarks = prefs().bookmarks();
        auto found = std::find_if(bookmarks.begin(), bookmarks.end(),
                                  [&](const Bookmark& b) { return b.address == action.address; });
        if (found == bookmarks.end()) {
            setStatus(words().nothingToChange());
            return;
        }
        std::string name = found->name;
        auto notes = static_cast<std::int64_t>(Marginalia::notes(action.address, prefs().notes()).size());
        std::weak_ptr<BrowserWindowController> weak = weak_from_this();
        auto remove = [weak, address = action.address, name, notes] {
            auto self = weak.lock();
            if (!self || self->m_closed) return;
            if (!Bookmarks::remove(self->prefs(), address)) {
                self->setStatus(words().nothingToChange());
                return;
            }
            bookmarksChanged(nullptr);
            self->setStatus(notes > 0 ? words().removedBookmarkAndMargin(name, notes)
                                      : words().removedBookmark(name));
        };
        if (notes == 0) {
            remove();
            return;
        }
        Dialogs::confirm(m_window, words().removeBookmarkQuestion(name), words().removeBookmarkDetail(notes),
                         words().remove(), [remove](bool yes) {
                             if (yes) remove();
                         });
        return;
    }
    case Kind::addToToolbar:
    case Kind::removeFromToolbar: {
        bool on = action.kind == Kind::addToToolbar;
        auto changed = Bookmarks::setOnToolbar(prefs(), on, action.address);
        if (!changed) {
            setStatus(words().nothingToChange());
            return;
        }
        bookmarksChanged(nullptr);
        setStatus(on ? words().addedToToolbar(changed->name) : words().offToolbar(changed->name));
        return;
    }
    case Kind::edit: {
        auto changed = Bookmarks::edit(prefs(), action.address, action.name, action.summary);
        if (!changed) {
            setStatus(words().nothingToChange());
            return;
        }
        // The page the edit came from already shows exactly what was stored; drawing it again would
        // only lose the reader's place.
        bool shownAsStored = changed->name == action.name && changed->summary == action.summary &&
                             text::trimmed(action.name) == action.name &&
                             text::trimmed(action.summary) == action.summary;
        bookmarksChanged(shownAsStored ? from : nullptr);
        setStatus(words().savedBookmark(changed->name));
        return;
    }
    case Kind::forgetNote:
        if (Marginalia::forgetNote(prefs(), action.id)) {
            bookmarksChanged(nullptr);
            setStatus(words().struckOut());
        } else {
            setStatus(words().nothingToChange());
        }
        return;
    case Kind::marginalia:
        showMarginaliaFor(action.address);
        return;
    case Kind::press:
        switch (action.shortcut) {
        case Shortcut::find:
            findInPage();
            return;
        case Shortcut::bookmarks:
            showBookmarks();
            return;
        case Shortcut::marginalia:
            showMarginalia();
            return;
        }
        return;
    }
}

// ------------------------------------------------------------------------------------------------
// Refreshing every window

void BrowserWindowController::historyChanged() {
    auto windows = open();
    for (const auto& window : windows) {
        auto tabs = window->m_tabs;
        for (const auto& tab : tabs) {
            if (tab->localPage == LocationBar::aboutHistory || tab->localPage == LocationBar::aboutHome ||
                tab->localPage == LocationBar::aboutBookmarks)
                window->redrawLocal(*tab);
        }
        window->m_app.scheduleValidate();
    }
}

void BrowserWindowController::bookmarksChanged(const Tab* except) {
    auto windows = open();
    for (const auto& window : windows) {
        window->rebuildBookmarks();
        window->refreshMargin();
        auto tabs = window->m_tabs;
        for (const auto& tab : tabs) {
            if (tab.get() != except && tab->localPage == LocationBar::aboutBookmarks)
                window->redrawLocal(*tab);
        }
    }
}

void BrowserWindowController::savedReportsChanged() {
    auto windows = open();
    for (const auto& window : windows) {
        auto tabs = window->m_tabs;
        for (const auto& tab : tabs) {
            if (tab->localPage == LocationBar::aboutReports) {
                window->closeReportPopover();
                window->redrawLocal(*tab);
            }
        }
    }
}

// ------------------------------------------------------------------------------------------------
// Bookmarks and notes from the page

void BrowserWindowController::addBookmark() {
    Tab* tab = currentTab();
    auto address = tab && !tab->localPage ? tab->viewAddress() : std::nullopt;
    auto url = address ? Url::parse(*address) : std::nullopt;
    if (!url || !url->view().has_scheme() || !LocationBar::isNavigableScheme(url->view().scheme())) {
        setStatus(words().nothingToBookmark());
        return;
    }
    const char* title = webkit_web_view_get_title(tab->view());
    std::string name(text::trimmed(title ? title : ""));
    if (name.empty()) name = *address;
    if (Bookmarks::add(prefs(), Bookmark{name, *address, false, {}})) {
        bookmarksChanged(nullptr);
        setStatus(words().addedBookmark(name));
    } else {
        setStatus(words().alreadyBookmarked(name));
    }
}

bool BrowserWindowController::canAnnotate() const {
    Tab* tab = currentTab();
    if (!tab || tab->localPage) return false;
    auto address = tab->viewAddress();
    auto url = address ? Url::parse(*address) : std::nullopt;
    return url && url->view().has_scheme() && LocationBar::isNavigableScheme(url->view().scheme());
}

void BrowserWindowController::addToMarginalia() {
    if (!canAnnotate()) {
        setStatus(words().nothingToBookmark());
        return;
    }
    Tab& tab = *currentTab();
    struct Asked {
        std::string address;
        std::string title;
    };
    using Work = Pending<Asked>;
    const char* title = webkit_web_view_get_title(tab.view());
    auto body = PageScripts::selection();
    webkit_web_view_call_async_javascript_function(
        tab.view(), body.data(), static_cast<gssize>(body.size()), nullptr, PageSetup::clientWorld, nullptr,
        tab.cancellable(),
        +[](GObject* source, GAsyncResult* result, gpointer data) {
            std::unique_ptr<Work> work(static_cast<Work*>(data));
            GError* error = nullptr;
            auto value = glib::adoptGRef(webkit_web_view_call_async_javascript_function_finish(
                WEBKIT_WEB_VIEW(source), result, &error));
            bool cancelled = error && g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED);
            if (error) g_error_free(error);
            auto self = work->window.lock();
            auto annotated = work->tab.lock();
            if (cancelled || !self || !annotated || annotated->tornDown() || self->m_closed ||
                !self->isCurrent(*annotated))
                return;
            std::string selected = (value ? ScriptValue::text(value.get()) : std::nullopt).value_or("");
            auto note = Marginalia::addNote(self->prefs(), selected, work->then.address, work->then.title,
                                            self->now());
            if (!note) {
                self->setStatus(words().nothingSelected());
                return;
            }
            bookmarksChanged(nullptr);
            if (!self->m_marginOpen) self->showMarginalia();
            self->setStatus(words().keptInTheMargin(note->line(noteLineLimit)));
        },
        new Work{weak_from_this(), shared(tab), Asked{tab.viewAddress().value_or(""), title ? title : ""}});
}

// ------------------------------------------------------------------------------------------------
// Panels that come with the custom chrome

void BrowserWindowController::showMarginalia() {
    // The margin panel is drawn by the custom chrome; the window keeps whether it is open.
    m_marginOpen = !m_marginOpen;
    if (!m_marginOpen) m_pinned.reset();
    m_app.scheduleValidate();
}

void BrowserWindowController::showMarginaliaFor(std::string_view address) {
    m_pinned = std::string(address);
    m_marginOpen = true;
    refreshMargin();
    m_app.scheduleValidate();
}

void BrowserWindowController::findInPage() {
    // The find bar is drawn by the custom chrome; until it exists there is nothing to open.
}

void BrowserWindowController::runFind(int) {}

bool BrowserWindowController::dismissFindIfShowing() {
    if (!m_findOpen) return false;
    m_findOpen = false;
    return true;
}

void BrowserWindowController::closeReportPopover() {
    // The report popover belongs to the shield of the custom chrome; there is none to close yet.
}

// ------------------------------------------------------------------------------------------------
// Language

void BrowserWindowController::languageChanged() {
    m_chrome->retitle();
    rebuildBookmarks();
    if (m_findOpen) runFind(0);
    syncChrome();
    auto tabs = m_tabs;
    for (const auto& tab : tabs) {
        if (!tab->localPage) continue;
        if (*tab->localPage != LocationBar::aboutReport) {
            reload(*tab);
            continue;
        }
        // The report page is drawn again from what it was drawn from, in the new words.
        auto page = tab->reportPage.value_or(Tab::ReportPage{});
        if (page.saved) {
            if (auto kept = KeptReports::find(prefs(), *page.saved))
                renderReport(*tab, KeptReports::report(*kept), std::nullopt, page.view, page.query, kept);
        } else if (tab->reported) {
            auto reported = *tab->reported;
            renderReport(*tab, reported.report, reported.reason, page.view, page.query, std::nullopt);
        }
    }
    setStatus(words().nowSpeaking());
}

} // namespace nimb
