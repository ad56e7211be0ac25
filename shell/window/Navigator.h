#pragma once

// Where a tab goes: web addresses (after the links-only rewrite, under the request timeout), the
// browser's own pages drawn from the stores as they are now, and back, forward, reload and stop.

#include "base/Url.h"
#include "location/LocationBar.h"
#include "page/GeneratedPage.h"

#include <webkit/webkit.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace nimb {

class Tab;
class WindowContext;

class Navigator {
public:
    explicit Navigator(WindowContext& context) : m_context(context) {}

    void load(const Url& address, Tab& tab);
    void go(const LocationBar::Destination& destination, Tab& tab);
    void goHome(Tab& tab);
    // Where a generated page goes in the tab's back and forward list: a place of its own after the
    // current page, or the place of the same page drawn now (nothing is added then).
    enum class Placement {
        newEntry,
        inPlace
    };
    // Shows one of the browser's own pages in the tab under its internal address; the engine asks for
    // its HTML (`draw`). Answers the number of the tab's entry it takes.
    std::uint64_t showLocal(std::string_view address, Tab& tab, Placement placement);
    // Draws the tab's generated page again, where it stands, from the stores as they are now.
    void redrawLocal(Tab& tab);
    // The HTML of the generated page the tab's view asks for; none when the tab has nothing to show
    // there.
    [[nodiscard]] std::optional<std::string> draw(Tab& tab, const GeneratedPage::Entry& entry);
    void showHistory();
    void showBookmarks();
    void showSavedReports();
    void reload(Tab& tab);
    void reloadAll();
    // The reload button and command: stop while loading, else reload.
    void reloadPage();
    // The user's Print…: the current page's print dialog, unless one is up already.
    void printPage();
    // The page's own print(): refused while a print dialog is up, and for a moment after the page's
    // last one closed, so that a page printing in a loop cannot keep the user in its dialogs.
    void printRequested(Tab& tab, WebKitPrintOperation* operation);
    static constexpr std::chrono::milliseconds printPause{2000};
    void goBack();
    void goForward();
    void stopLoading();
    // Return in the location field.
    void locationEntered(const std::string& text);

    // How long a web page waits for the blocklist on a new profile before it loads without it.
    static constexpr std::chrono::milliseconds blocklistWait{2000};
    // Whether a load of this address now would have to wait for the blocklist: blocking is on, the
    // address is on the web, and the compiled list is not at hand yet.
    [[nodiscard]] bool waitsForBlocklist(const Url& address) const;

private:
    // Asks whether to send again the form the tab's page answers, and reloads it if the user agrees.
    void askToResend(Tab& tab);
    // Runs the print dialog to its end (the engine's dialog has its own loop); false, and nothing
    // shown, while another print dialog is up.
    bool runPrintDialog(WebKitPrintOperation* operation);
    // Frees the tab from a dialog of its page's that holds it, before the tab goes elsewhere.
    void leaveDialog(Tab& tab);
    // Stops a load under way before the tab's next one starts.
    void stopBeforeNext(Tab& tab);
    // Loads a web address in the tab now, the rewrite already made.
    void start(const Url& target, Tab& tab);
    // Keeps the address until the blocklist is attached or the wait is over; false when it need not
    // wait.
    bool holdForBlocklist(const Url& target, Tab& tab);
    // The held address goes on: behind the blocklist, or, `late`, without it.
    void release(Tab& tab, bool late);

    // The generated page for an internal address, from the stores as they are now; none for the
    // report page and anything else.
    [[nodiscard]] std::optional<std::string> generatedPage(std::string_view address) const;

    WindowContext& m_context;
};

} // namespace nimb
