#include "window/StatusController.h"

#include "app/Application.h"
#include "app/Profile.h"
#include "preferences/Preferences.h"
#include "vocabulary/Language.h"
#include "window/ChromeController.h"
#include "window/Tab.h"
#include "window/TabList.h"
#include "window/WindowContext.h"

namespace nimb {

void StatusController::setStatus(std::string_view text) {
    m_held = true;
    m_context.chrome().view().setStatus(text);
}

std::optional<std::string> StatusController::unsavedWords(const WriteOutcome& outcome) {
    switch (outcome.kind) {
    case WriteOutcome::Kind::written:
    case WriteOutcome::Kind::queued:
        return std::nullopt;
    case WriteOutcome::Kind::locked:
        return words().waitingToSave();
    case WriteOutcome::Kind::readOnly:
        return words().notSavedReadOnly();
    case WriteOutcome::Kind::full:
        return words().notSavedDiskFull();
    case WriteOutcome::Kind::failed:
        return words().notSaved();
    }
    return words().notSaved();
}

void StatusController::setStatusOnceSaved(std::string text) {
    Application& application = m_context.application();
    std::weak_ptr<WindowContext> weak = m_context.weak_from_this();
    auto settled = std::make_shared<bool>(false);
    application.profile().preferences().afterWrites(
        [weak, text = std::move(text), settled](const WriteOutcome& outcome) {
            *settled = true;
            auto context = weak.lock();
            if (!context || context->closed()) return;
            context->status().setStatus(unsavedWords(outcome).value_or(text));
        });
    if (!*settled && application.profile().held()) setStatus(words().waitingToSave());
}

void StatusController::showPageStatus(std::string_view text, bool fromGeneratedPage) {
    if (fromGeneratedPage && m_held) return;
    m_held = false;
    m_context.chrome().view().setStatus(text);
}

void StatusController::tellTab(Tab& tab, std::string text) {
    tab.status = std::move(text);
    tab.statusIsHover = false;
    if (m_context.tabs().isCurrent(tab)) showPageStatus(*tab.status, false);
}

void StatusController::showCurrentTab() {
    m_held = false;
    Tab* tab = m_context.tabs().currentTab();
    Chrome& chrome = m_context.chrome().view();
    if (tab && tab->status)
        chrome.setStatus(*tab->status);
    else if (tab && tab->address())
        chrome.setStatus(idleStatus());
    else
        chrome.setStatus("");
}

std::string StatusController::status() const {
    return m_context.chrome().view().status();
}

std::int64_t StatusController::blockedCount(const Tab& tab) const {
    // With blocking off the recorder still counts the requests the blocklist names, but none of them
    // was refused: the status line and the shield do not call them blocked. Icons the blocklist kept
    // from the favicon store count as the requests they would have been.
    if (!m_context.prefs().contentBlockingEnabled() || tab.unfiltered) return tab.walls;
    return tab.walls + listedRequests(tab) + static_cast<std::int64_t>(tab.blockedIcons.size());
}

std::int64_t StatusController::listedRequests(const Tab& tab) {
    // The recorder and the request witness saw many of the same requests: per host the larger count.
    return tab.witness ? tab.witness->blockedWith(tab.recordedBlocked) : tab.network;
}

std::string StatusController::idleStatus() const {
    Tab* tab = m_context.tabs().currentTab();
    if (tab && tab->loading()) return StatusStrings::contacting();
    const bool blocking = m_context.prefs().contentBlockingEnabled();
    if (tab && tab->unfiltered && blocking) return words().doneUnfiltered();
    // With blocking off what the blocklist names got through, and the line says so.
    if (tab && !blocking) return words().doneUnblocked(listedRequests(*tab));
    return StatusStrings::done(tab ? blockedCount(*tab) : 0);
}

void StatusController::syncShield() {
    Tab* tab = m_context.tabs().currentTab();
    const bool blocking = m_context.prefs().contentBlockingEnabled();
    Chrome::Shield shield{blocking, tab ? blockedCount(*tab) : 0, tab ? tab->heat : 0};
    if (tab && (!blocking || tab->unfiltered)) shield.through = listedRequests(*tab);
    if (shield == m_shield) return;
    m_shield = shield;
    m_context.chrome().view().setShield(m_shield);
}

} // namespace nimb
