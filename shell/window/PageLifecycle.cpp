#include "window/PageLifecycle.h"

#include "app/Application.h"
#include "engine/BlockerRules.h"
#include "library/History.h"
#include "location/SearchRewrite.h"
#include "page/InternalActions.h"
#include "preferences/Preferences.h"
#include "vocabulary/Language.h"
#include "window/ChromeController.h"
#include "window/FindController.h"
#include "window/MarginController.h"
#include "window/Navigator.h"
#include "window/StatusController.h"
#include "window/Tab.h"
#include "window/TabList.h"
#include "window/WindowContext.h"

#include <cerrno>
#include <string_view>
#include <utility>

namespace nimb {

using InternalActions::generatedAddress;

PageLifecycle::PageLifecycle(WindowContext& context, GtkWindow* window)
    : m_context(context), m_policy(context), m_messages(context), m_menu(context, window) {}

bool PageLifecycle::decidePolicy(Tab& tab, WebKitPolicyDecision* decision, WebKitPolicyDecisionType type) {
    return m_policy.decide(tab, decision, type);
}

void PageLifecycle::createRequested(Tab& tab, WebKitNavigationAction* action) {
    m_policy.createRequested(tab, action);
}

bool PageLifecycle::contextMenu(Tab&, WebKitContextMenu* menu) {
    m_menu.extend(menu);
    return false;
}

void PageLifecycle::printRequested(Tab& tab, WebKitPrintOperation* operation) {
    m_context.navigator().printRequested(tab, operation);
}

void PageLifecycle::message(Tab& tab, PageMessage kind, JSCValue* body) {
    m_messages.received(tab, kind, body);
}

void PageLifecycle::loadChanged(Tab& tab, WebKitLoadEvent event) {
    StatusController& status = m_context.status();
    switch (event) {
    case WEBKIT_LOAD_STARTED:
        tab.blockedReports.cancel(); // the outgoing page's
        tab.walls = 0;
        tab.network = 0;
        tab.blockedIcons.clear();
        tab.status.reset();
        tab.declaredIcon.reset();
        tab.leavePage(); // the icon it was waiting for, among others
        tab.failed = false;
        tab.refusedDownload = false;
        // The page's own load is the navigation last decided on when it posted to this very address.
        // The page's own load follows the navigation last decided on: if that posted, this load is the
        // form's, provided the document it brings is the one posted to (see below).
        tab.form.loading = std::exchange(tab.form.postedTo, std::nullopt);
        // A web page that starts before the blocklist is attached is not guarded by it, whatever
        // comes later (the browser's own pages have nothing to block).
        tab.unfiltered = !tab.pendingGenerated && m_context.prefs().contentBlockingEnabled() &&
                         !m_context.application().rules().list();
        if (m_context.tabs().isCurrent(tab)) {
            status.showPageStatus(StatusStrings::contacting(), tab.pendingGenerated);
            status.syncShield();
        }
        break;
    case WEBKIT_LOAD_REDIRECTED:
        // Sent on elsewhere, as a form's answer usually is: the page that comes is asked for plainly.
        tab.form.loading.reset();
        break;
    case WEBKIT_LOAD_COMMITTED: {
        // Only the page's own documents commit here, never its frames': the mark of a generated page
        // on its way is spent by the first document that comes, whichever it is.
        const char* uri = webkit_web_view_get_uri(tab.view());
        tab.documentIsGenerated = tab.pendingGenerated && uri && uri == generatedAddress;
        tab.pendingGenerated = false;
        tab.form.shown = !tab.documentIsGenerated && uri && tab.form.loading == std::string_view(uri);
        tab.form.loading.reset();
        tab.form.resendAgreed = false;
        if (!tab.documentIsGenerated && uri && uri != generatedAddress) {
            tab.localPage.reset();
            tab.reported.reset();
        }
        tab.disarmTimeout();

        // A new document: the hosts the last one reached, and its heat, are not this one's. (Not at
        // the start: a load that ends in no document, a 204 or a download, leaves the page as it was.)
        tab.hosts.clear();
        tab.heat = 0;
        if (m_context.tabs().isCurrent(tab)) status.syncShield();
        break;
    }
    case WEBKIT_LOAD_FINISHED:
        finished(tab);
        break;
    }
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
    if (tab.failed) {
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
    if (auto uri = tab.viewAddress()) {
        const char* title = webkit_web_view_get_title(tab.view());
        if (History::recordVisit(m_context.prefs(), *uri, title ? title : "", m_context.now()))
            m_context.application().windows().historyChanged();
    }
}

void PageLifecycle::loadFailed(Tab& tab, const GError* error) {
    tab.failed = true;
    tab.disarmTimeout();
    bool cancelled = error && g_error_matches(error, WEBKIT_NETWORK_ERROR, WEBKIT_NETWORK_ERROR_CANCELLED);
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
    if (!uri || *uri == generatedAddress || !title || !*title) return;
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
    if (uri && *uri != generatedAddress && !tab.pendingGenerated) {
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
        } else if (uri && *uri != generatedAddress) {
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
