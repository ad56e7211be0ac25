#pragma once

// The status line and the shield: what the current page is doing and what it had refused. Commands
// write their results to the line; the pages' own events write theirs, but a generated page's start
// and finish do not overwrite a command's message (often the very page the command redrew), only what
// a web page does or a change of tab does.

#include "chrome/Chrome.h"

#include <cstdint>
#include <string>
#include <string_view>

#include "storage/WriteOutcome.h"

#include <optional>

namespace nimb {

class Tab;
class WindowContext;

class StatusController {
public:
    explicit StatusController(WindowContext& context) : m_context(context) {}

    // A command's result; held against generated pages' own events.
    void setStatus(std::string_view text);
    // A command's result that depends on a write: said once the write has landed; said instead is
    // why it was not kept, or, while another program holds the profile, that it waits to be saved.
    void setStatusOnceSaved(std::string text);
    // Why a write was not kept (or that it waits), in the status line's words; none for one that landed.
    [[nodiscard]] static std::optional<std::string> unsavedWords(const WriteOutcome& outcome);
    // A page event's text; from a generated page it gives way to a command's held message.
    void showPageStatus(std::string_view text, bool fromGeneratedPage);
    // A word of the browser's about the tab's page (a refusal, a failure): kept as the tab's line, so
    // that the page's later reports do not wipe it out before it is read, and shown when the tab is
    // the current one.
    void tellTab(Tab& tab, std::string text);
    // The current tab's line, written afresh after a change of tab.
    void showCurrentTab();
    [[nodiscard]] std::string status() const;
    // "Contacting host..." while the current tab loads, else "Document: Done" with its count.
    [[nodiscard]] std::string idleStatus() const;
    // What the page had refused: walls taken off, and requests the rule list stopped.
    [[nodiscard]] std::int64_t blockedCount(const Tab& tab) const;
    // The requests to listed hosts the page made, whether or not they were stopped.
    [[nodiscard]] static std::int64_t listedRequests(const Tab& tab);

    void syncShield();
    [[nodiscard]] const Chrome::Shield& shield() const { return m_shield; }

private:
    WindowContext& m_context;
    Chrome::Shield m_shield;
    bool m_held = false;
};

} // namespace nimb
