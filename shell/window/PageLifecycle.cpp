#include "window/PageLifecycle.h"

#include "engine/WebEngine.h"

#include "app/Application.h"
#include "engine/BlockerRules.h"
#include "library/History.h"
#include "location/SearchRewrite.h"
#include "page/GeneratedPage.h"
#include "preferences/Preferences.h"
#include "vocabulary/Language.h"
#include "window/ChromeController.h"
#include "window/FindController.h"
#include "window/MarginController.h"
#include "window/Navigator.h"
#include "window/PageViews.h"
#include "window/StatusController.h"
#include "window/Tab.h"
#include "window/TabList.h"
#include "window/WindowContext.h"
#include "window/ZoomController.h"

#include <cerrno>
#include <string_view>
#include <utility>

namespace nimb {

PageLifecycle::PageLifecycle(WindowContext& context, GtkWindow* window)
    : m_context(context), m_policy(context), m_messages(context), m_menu(context, window) {}

bool PageLifecycle::decidePolicy(Tab& tab, WebKitPolicyDecision* decision, WebKitPolicyDecisionType type) {
    return m_policy.decide(tab, decision, type);
}

void PageLifecycle::createRequested(Tab& tab, WebKitNavigationAction* action) {
    m_policy.createRequested(tab, action);
}

bool PageLifecycle::contextMenu(Tab&, WebKitContextMenu* menu, WebKitHitTestResult* hit) {
    m_menu.extend(menu, hit);
    return false;
}

void PageLifecycle::printRequested(Tab& tab, WebKitPrintOperation* operation) {
    m_context.navigator().printRequested(tab, operation);
}

void PageLifecycle::message(Tab& tab, PageMessage kind, JSCValue* body) {
    m_messages.received(tab, kind, body);
}

void PageLifecycle::witnessed(Tab& tab, std::uint64_t document, std::string_view text) {
    m_messages.witnessed(tab, document, text);
}

void PageLifecycle::loadChanged(Tab& tab, WebKitLoadEvent event) {
    StatusController& status = m_context.status();
    switch (event) {
    case WEBKIT_LOAD_STARTED: {
        // The page saying what failed keeps the status line's words for it.
        if (tab.failure && !tab.failure->started) {
            tab.failure->started = true;
            break;
        }
        tab.failure.reset();
        tab.blockedReports.cancel(); // the outgoing page's
        tab.walls = 0;
        tab.network = 0;
        tab.blockedIcons.clear();
        tab.status.reset();
        tab.declaredIcon.reset();
        tab.leavePage(); // the icon it was waiting for, among others
        tab.failed = false;
        tab.refusedDownload = false;
        // The page's own load follows the navigation last decided on: if that posted, this load is the
        // form's, provided the document it brings is the one posted to (see below).
        tab.form.loading = std::exchange(tab.form.postedTo, std::nullopt);
        // A web page that starts before the blocklist is attached is not guarded by it, whatever
        // comes later (the browser's own pages have nothing to block).
        bool generated = tab.pendingGenerated || tab.generatedEntry();
        // The request witness, at work, stops the listed requests whether or not the list is attached.
        tab.unfiltered = !generated && m_context.prefs().contentBlockingEnabled() &&
                         !m_context.application().rules().list() &&
                         !m_context.application().engine().witnessAtWork();
        if (m_context.tabs().isCurrent(tab)) {
            status.showPageStatus(StatusStrings::contacting(), generated);
            status.syncShield();
        }
        break;
    }
    case WEBKIT_LOAD_REDIRECTED:
        // Sent on elsewhere, as a form's answer usually is: the page that comes is asked for plainly.
        tab.form.loading.reset();
        break;
    case WEBKIT_LOAD_COMMITTED: {
        // Only the page's own documents commit here, never its frames'. The document is the
        // browser's own page when its place in the list is one, and the browser drew that page for
        // the engine since the last document came. Not when the view's address says so: that may
        // already name a page asked for while this one was still coming in (a web page, it may be,
        // which must not pass for the browser's). A page of the browser's that the engine brings
        // back from its page cache was not drawn: it is drawn again, and asks for nothing meanwhile.
        tab.committedItem = glib::GRefPtr<WebKitBackForwardListItem>(
            webkit_back_forward_list_get_current_item(webkit_web_view_get_back_forward_list(tab.view())));
        auto drawn = std::exchange(tab.generatedDrawn, std::nullopt);
        auto place = tab.committedEntry();
        tab.documentIsGenerated = place && drawn == place;
        auto entry =
            tab.documentIsGenerated || (place && place == tab.generatedEntry()) ? place : std::nullopt;
        if (tab.documentIsGenerated && tab.sentGenerated == entry) tab.sentGenerated.reset();
        tab.hasDocument = true;
        tab.pendingGenerated = false;
        // While one of the browser's pages is on its way the view stays as it is for them.
        PageViews::showing(tab.view(), entry.has_value() || tab.sentGenerated.has_value());
        const char* uri = webkit_web_view_get_uri(tab.view());
        tab.form.shown = !tab.documentIsGenerated && uri && tab.form.loading == std::string_view(uri);
        tab.form.loading.reset();
        tab.form.resendAgreed = false;
        if (entry) {
            arrived(tab, *entry, tab.documentIsGenerated);
        } else {
            tab.localPage.reset();
            tab.reported.reset();
        }
        tab.disarmTimeout();

        // A new document: the hosts the last one reached, and its heat, are not this one's. (Not at
        // the start: a load that ends in no document, a 204 or a download, leaves the page as it was.)
        tab.hosts.clear();
        tab.heat = 0;
        tab.recordedBlocked.clear();
        tab.witness.reset();
        tab.leaveWitnessedDocument();
        // The witness's counts of this document are kept by its place in the list, taken above: the
        // list moves on to the next place as soon as Back or Forward starts.
        tab.iconHosts.clear();
        if (m_context.tabs().isCurrent(tab)) status.syncShield();
        m_context.zoom().pageCommitted(tab);
        break;
    }
    case WEBKIT_LOAD_FINISHED:
        finished(tab);
        break;
    }
}

void PageLifecycle::arrived(Tab& tab, const GeneratedPage::Entry& entry, bool drawn) {
    // Back and Forward come here as much as the browser's own loads do.
    tab.localPage = entry.internalAddress;
    if (entry.internalAddress == LocationBar::aboutReport) {
        if (auto drawing = tab.reportDrawings.find(entry.number); drawing != tab.reportDrawings.end()) {
            tab.reported = drawing->second.reported;
            tab.reportPage = drawing->second.page;
        } else {
            tab.reported.reset();
            tab.reportPage.reset();
        }
    }
    if (m_context.tabs().isCurrent(tab) && !m_context.chrome().editing())
        m_context.chrome().showAddress(entry.internalAddress);
    // The engine kept the page as it was when it was left: it is drawn again from what is stored now,
    // in its place.
    if (!drawn) m_context.navigator().redrawLocal(tab);
}

bool PageLifecycle::rewriteSearch(Tab& tab) {
    if (!tab.loading() || !m_context.prefs().linksOnlySearch()) return false;
    auto address = tab.viewAddress();
    auto url = address ? Url::parse(*address) : std::nullopt;
    auto rewritten = url ? SearchRewrite::webResults(*url) : std::nullopt;
    if (!rewritten) return false;
    m_context.navigator().load(*rewritten, tab);
    return true;
}

void PageLifecycle::finished(Tab& tab) {
    StatusController& status = m_context.status();
    bool current = m_context.tabs().isCurrent(tab);
    tab.disarmTimeout();
    if (tab.failed || tab.failure) {
        tab.failed = false;
        if (current) status.showPageStatus(tab.status.value_or(status.idleStatus()), false);
        m_context.chrome().syncStrip();
        return;
    }
    tab.status.reset();
    m_messages.fetchIcon(tab);
    if (current) status.showPageStatus(status.idleStatus(), tab.documentIsGenerated);
    m_context.chrome().syncStrip();
    if (current) m_context.find().rerun();
    if (auto uri = tab.viewAddress(); uri && !tab.documentIsGenerated) {
        const char* title = webkit_web_view_get_title(tab.view());
        if (History::recordVisit(m_context.prefs(), *uri, title ? title : "", m_context.now()))
            m_context.application().windows().historyChanged();
    }
}

void PageLifecycle::loadFailed(Tab& tab, const char* address, const GError* error) {
    tab.failed = true;
    tab.disarmTimeout();
    bool cancelled = error && g_error_matches(error, WEBKIT_NETWORK_ERROR, WEBKIT_NETWORK_ERROR_CANCELLED);
    bool byPolicy = error && error->domain == WEBKIT_POLICY_ERROR;
    std::string message;
    if (tab.timedOut) {
        // The engine only knows that the load was stopped; say why, in the system's words.
        message = g_strerror(ETIMEDOUT);
    } else if (cancelled) {
        return; // stopped by the user, or by a newer load: not a failure worth a word
    } else if (tab.refusedDownload &&
               g_error_matches(error, WEBKIT_POLICY_ERROR,
                               WEBKIT_POLICY_ERROR_FRAME_LOAD_INTERRUPTED_BY_POLICY_CHANGE)) {
        message = words().downloadNotSaved();
    } else {
        message = error && error->message ? error->message : "";
    }
    tab.status = message.empty() ? std::nullopt : std::optional<std::string>(message);
    tab.statusIsHover = false;
    StatusController& status = m_context.status();
    if (m_context.tabs().isCurrent(tab))
        status.showPageStatus(tab.status.value_or(status.idleStatus()), false);
    // A tab with nothing of its own to show would stay blank: it says what failed instead. (A load the
    // browser itself refused, a download, is no failure of the address.)
    if (!tab.hasDocument && !byPolicy && address && *address)
        showFailure(tab, FailedPage::Why::loadFailed, address);
}

void PageLifecycle::processEnded(Tab& tab, WebKitWebProcessTerminationReason reason) {
    // The browser ends a page's process itself when the tab goes, or leaves a page held in a dialog.
    if (reason == WEBKIT_WEB_PROCESS_TERMINATED_BY_API) return;
    tab.status = words().processEnded();
    tab.statusIsHover = false;
    if (m_context.tabs().isCurrent(tab)) m_context.status().showPageStatus(*tab.status, false);
    if (tab.localPage) {
        m_context.navigator().redrawLocal(tab);
        return;
    }
    if (auto address = tab.viewAddress()) showFailure(tab, FailedPage::Why::processEnded, *address);
}

void PageLifecycle::showFailure(Tab& tab, FailedPage::Why why, const std::string& address) {
    tab.failure = Tab::Failure{address};
    std::string detail = tab.status.value_or("");
    webkit_web_view_load_alternate_html(tab.view(), FailedPage::html(why, address, detail).c_str(),
                                        address.c_str(), nullptr);
}

void PageLifecycle::titleChanged(Tab& tab) {
    ChromeController& chrome = m_context.chrome();
    chrome.syncStrip();
    if (m_context.tabs().isCurrent(tab)) {
        chrome.syncTitle();
        // In stealth the location pill shows the tab's label, which the title makes.
        if (chrome.stealth() && !chrome.editing()) chrome.redrawAddress();
    }
    auto uri = tab.viewAddress();
    const char* title = webkit_web_view_get_title(tab.view());
    // The browser's own pages are never in history.
    if (!uri || tab.localPage || GeneratedPage::parse(*uri) || !title || !*title) return;
    std::weak_ptr<WindowContext> weak = m_context.weak_from_this();
    tab.titles.changed(
        *uri, title,
        [weak](const std::string& address, const std::string& newTitle) {
            auto context = weak.lock();
            if (!context) return;
            if (History::retitle(context->prefs(), address, newTitle))
                context->application().windows().historyChanged();
        },
        m_context.application().titleWriteInterval());
}

void PageLifecycle::addressChanged(Tab& tab) {
    // The view's own address, never a frame's: a search results page on its way gives way to its
    // links-only form.
    if (rewriteSearch(tab)) return;
    auto uri = tab.viewAddress();
    // While a generated page is on its way the engine may name the outgoing page's address again for
    // a moment; the page is only gone once another document commits.
    if (uri && !GeneratedPage::parse(*uri) && !tab.pendingGenerated) {
        tab.localPage.reset();
        tab.reported.reset();
    }
    // A page may change its address thousands of times a second (fragments, pushState): the window
    // follows at most once a frame, the newest address.
    tab.addressChanges.run([this, &tab] { followAddress(tab); });
}

void PageLifecycle::followAddress(Tab& tab) {
    ++tab.addressFollowings;
    auto uri = tab.viewAddress();
    ChromeController& chrome = m_context.chrome();
    chrome.syncStrip();
    if (!m_context.tabs().isCurrent(tab)) return;
    m_context.margin().unpin();
    m_context.margin().refresh();
    if (!chrome.editing()) {
        if (tab.localPage) {
            chrome.showAddress(*tab.localPage);
        } else if (uri && !GeneratedPage::parse(*uri)) {
            chrome.showAddress(*uri);
        } else {
            chrome.redrawAddress();
        }
    }
    m_context.application().actions().scheduleValidate();
}

void PageLifecycle::progressChanged(Tab& tab) {
    tab.progress = webkit_web_view_get_estimated_load_progress(tab.view());
    if (m_context.tabs().isCurrent(tab) && tab.loading()) m_context.chrome().view().setProgress(tab.progress);
}

void PageLifecycle::loadingChanged(Tab& tab) {
    if (!tab.loading()) tab.progress = 0;
    if (m_context.tabs().isCurrent(tab)) {
        m_context.chrome().syncNavigation();
        m_context.chrome().view().setProgress(tab.progress);
    }
}

void PageLifecycle::backForwardChanged(Tab& tab) {
    if (m_context.tabs().isCurrent(tab)) m_context.chrome().syncNavigation();
}

} // namespace nimb
