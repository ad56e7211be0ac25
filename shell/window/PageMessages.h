#pragma once

// The page scripts' messages to the window: the hovered link for the status line ("status"), the
// counts of what was blocked and the hosts the page reached for the shield ("blocked"), and the icon
// the page declares ("favicon"), which the favicon store then fetches.

#include "window/TabObserver.h"

#include <jsc/jsc.h>

namespace nimb {

class Tab;
class WindowContext;

class PageMessages {
public:
    explicit PageMessages(WindowContext& context) : m_context(context) {}

    void received(Tab& tab, PageMessage kind, JSCValue* body);
    // Asks the favicon store for the tab's icon; the strip shows it when it comes.
    void fetchIcon(Tab& tab);

private:
    void status(Tab& tab, JSCValue* body);
    void blocked(Tab& tab, JSCValue* body);
    void readBlocked(Tab& tab, JSCValue* body);

    WindowContext& m_context;
};

} // namespace nimb
