#include "window/PageMessages.h"

#include "app/Application.h"
#include "base/Domain.h"
#include "engine/FaviconStore.h"
#include "engine/ScriptValue.h"
#include "glib/GRefPtr.h"
#include "page/Favicon.h"
#include "page/MessageBody.h"
#include "page/RequestTally.h"
#include "page/WitnessMessage.h"
#include "preferences/Preferences.h"
#include "report/Dossier.h"
#include "window/ChromeController.h"
#include "window/StatusController.h"
#include "window/Tab.h"
#include "window/TabList.h"
#include "window/TabRef.h"
#include "window/WindowContext.h"

#include <algorithm>

namespace nimb {

void PageMessages::received(Tab& tab, PageMessage kind, JSCValue* body) {
    switch (kind) {
    case PageMessage::status:
        status(tab, body);
        return;
    case PageMessage::blocked:
        blocked(tab, body);
        return;
    case PageMessage::favicon:
        tab.declaredIcon = MessageBody::favicon(ScriptValue::read(body));
        fetchIcon(tab);
        return;
    }
}

void PageMessages::status(Tab& tab, JSCValue* body) {
    // The outgoing page's last words, while the browser's own page takes its place, are not said.
    if (tab.pendingGenerated) return;
    auto said = MessageBody::status(ScriptValue::read(body));
    // The pointer leaving a link clears what the link said, not a word of the browser's own.
    if (!said && tab.status && !tab.statusIsHover) return;
    tab.status = std::move(said);
    tab.statusIsHover = tab.status.has_value();
    if (!m_context.tabs().isCurrent(tab)) return;
    StatusController& line = m_context.status();
    if (tab.status)
        line.showPageStatus(*tab.status, false);
    else
        line.showPageStatus(line.idleStatus(), tab.documentIsGenerated);
}

void PageMessages::blocked(Tab& tab, JSCValue* body) {
    if (tab.pendingGenerated) return;
    // A report of the hosts the page reached is what costs: however many a page sends, only the newest
    // unread one is kept, and read at most once a frame. The page's scripts report apart (the walls
    // taken off, the requests and hosts), so a report without hosts is read at once and is not lost.
    if (!jsc_value_is_object(body) || !jsc_value_object_has_property(body, "hosts")) {
        readBlocked(tab, body);
        return;
    }
    tab.blockedReports.run(
        [this, &tab, report = glib::GRefPtr<JSCValue>(body)] { readBlocked(tab, report.get()); });
}

void PageMessages::readBlocked(Tab& tab, JSCValue* body) {
    ++tab.blockedReadings;
    auto message =
        MessageBody::blocked(ScriptValue::read(body, {"walls", "network", "hosts", "counts", "restored"}));
    if (!message) return;
    if (message->walls) tab.walls = *message->walls;
    if (message->network) tab.network = *message->network;
    if (message->hosts) tab.hosts = std::move(*message->hosts);
    if (message->counts) tab.recordedBlocked = std::move(*message->counts);
    if (message->restored && !tab.witness && tab.committedItem) {
        for (const auto& [entry, counts] : tab.witnessedEntries)
            if (entry.get() == tab.committedItem.get()) tab.witness = counts;
    }
    recount(tab);
}

void PageMessages::witnessed(Tab& tab, std::uint64_t document, std::string_view text) {
    // The greeting costs nothing to see, and is never lost behind counts.
    if (text == WitnessMessage::hello()) {
        m_context.application().witnessGreeted();
        return;
    }
    if (text.size() > WitnessMessage::byteLimit || !tab.acceptsWitnessedDocument(document)) return;
    // However many come, the newest unread is kept and read at most once a frame.
    tab.witnessReports.run(
        [this, &tab, document, kept = std::string(text)] { readWitness(tab, document, kept); });
}

void PageMessages::readWitness(Tab& tab, std::uint64_t document, std::string_view text) {
    if (tab.pendingGenerated || tab.documentIsGenerated || tab.witnessDocument != document) return;
    auto message = WitnessMessage::read(text);
    if (!message || !message->counts) return;
    tab.witness = std::move(*message->counts);
    if (WebKitBackForwardListItem* item = tab.committedItem.get()) {
        auto& kept = tab.witnessedEntries;
        std::erase_if(kept, [item](const auto& entry) { return entry.first.get() == item; });
        kept.emplace_back(glib::GRefPtr<WebKitBackForwardListItem>(item), *tab.witness);
        if (kept.size() > Tab::keptWitnessedEntries) kept.erase(kept.begin());
    }
    recount(tab);
}

void PageMessages::recount(Tab& tab) {
    std::vector<std::string> hosts = tab.hosts;
    if (tab.witness) {
        for (const auto* bin : {&tab.witness->blocked, &tab.witness->other})
            for (const auto& [host, count] : *bin)
                hosts.push_back(host);
        std::sort(hosts.begin(), hosts.end());
        hosts.erase(std::unique(hosts.begin(), hosts.end()), hosts.end());
    }
    tab.heat = Dossier::reach(hosts, tab.address().value_or("")).heat();
    if (!m_context.tabs().isCurrent(tab)) return;
    StatusController& line = m_context.status();
    line.syncShield();
    line.showPageStatus(tab.status.value_or(line.idleStatus()), tab.documentIsGenerated && !tab.status);
}

void PageMessages::fetchIcon(Tab& tab) {
    if (tab.localPage) return;
    auto address = tab.viewAddress();
    auto page = address ? Url::parse(*address) : std::nullopt;
    if (!page || !Favicon::key(*address)) return;
    // The store fetches with a client of its own, around the rule list: an icon the list would refuse
    // is not asked for, and counts as blocked for the page.
    auto screened = Favicon::screened(*page, tab.declaredIcon, m_context.prefs().contentBlockingEnabled());
    if (screened.blocked && std::find(tab.blockedIcons.begin(), tab.blockedIcons.end(), *screened.blocked) ==
                                tab.blockedIcons.end()) {
        tab.blockedIcons.push_back(*screened.blocked);
        if (m_context.tabs().isCurrent(tab)) {
            StatusController& line = m_context.status();
            line.syncShield();
            line.showPageStatus(tab.status.value_or(line.idleStatus()),
                                tab.documentIsGenerated && !tab.status);
        }
    }
    // What the store fetches from another site is a request of the page's, as the page's own would be
    // (a page declaring icon after icon names a few such hosts, not thousands).
    if (screened.declared && tab.iconHosts.size() < Tab::keptIconHosts) {
        std::string host = Domain::hostOf(*screened.declared);
        if (RequestTally::thirdParty(host, Domain::hostOf(*address)) &&
            std::find(tab.iconHosts.begin(), tab.iconHosts.end(), host) == tab.iconHosts.end())
            tab.iconHosts.push_back(host);
    }
    // The answer may come before icon() returns, when the site's icon is at hand.
    FaviconStore::shared().icon(
        *page, screened.declared,
        [ref = TabRef(m_context, tab)](GdkTexture*) {
            // The strip's icons, and the current tab's in the location well.
            if (auto locked = ref.lock()) locked.window->chrome().syncStrip();
        },
        tab.pageCancellable());
}

} // namespace nimb
