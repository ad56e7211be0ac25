#pragma once

// The page scripts' messages to the window: the hovered link for the status line ("status"), the
// counts of what was blocked and the hosts the page reached for the shield ("blocked"), and the icon
// the page declares ("favicon"), which the favicon store then fetches.

#include "window/TabObserver.h"

#include <jsc/jsc.h>

#include <string_view>

namespace nimb {

class Tab;
class WindowContext;

class PageMessages {
public:
    explicit PageMessages(WindowContext& context) : m_context(context) {}

    void received(Tab& tab, PageMessage kind, JSCValue* body);
    // Asks the favicon store for the tab's icon; the strip shows it when it comes.
    void fetchIcon(Tab& tab);
    // The request witness's message: its greeting, or the counts of the tab's document.
    void witnessed(Tab& tab, std::uint64_t document, std::string_view text);

private:
    void status(Tab& tab, JSCValue* body);
    void blocked(Tab& tab, JSCValue* body);
    void readBlocked(Tab& tab, JSCValue* body);
    void readWitness(Tab& tab, std::uint64_t document, std::string_view text);
    // The reach of what the page's recorder and the witness saw, and the status line and shield.
    void recount(Tab& tab);

    WindowContext& m_context;
};

} // namespace nimb
