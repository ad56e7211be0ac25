#include "vocabulary/Languages.h"

namespace nimb {

namespace {

using Unavailable = NimbReportPage::Unavailable;
using Category = ContentBlocker::Category;

std::string number(std::int64_t n) {
    return std::to_string(n);
}

std::string count(std::int64_t n, std::string_view singular, std::string_view plural) {
    return counted(CountRule::singularForOne, n, singular, plural);
}

} // namespace

class English final : public Vocabulary {
public:
    // Window chrome and tool tips
    std::string back() const override { return "Back"; }
    std::string forward() const override { return "Forward"; }
    std::string reload() const override { return "Reload"; }
    std::string stop() const override { return "Stop"; }
    std::string backHelp() const override { return "Show previous page"; }
    std::string forwardHelp() const override { return "Show next page"; }
    std::string reloadHelp() const override { return "Refresh page"; }
    std::string stopHelp() const override { return "Stop loading this page"; }
    std::string shieldHelp() const override { return "What this page tried to load"; }
    std::string shieldTip(bool blocking, std::int64_t n) const override {
        if (blocking) return n < 1 ? shieldHelp() : shieldHelp() + ": " + number(n) + " blocked";
        if (n < 1) return "Nothing was blocked on this page";
        return "Nothing was blocked: " + gotThrough(n);
    }
    std::string stealth() const override { return "Stealth"; }
    std::string untitled() const override { return "Untitled"; }
    std::string hiddenTabs() const override { return "Hidden tabs"; }
    std::string search() const override { return "Search"; }
    std::string home() const override { return "Home"; }

    // Menus
    std::string fileMenu() const override { return "File"; }
    std::string editMenu() const override { return "Edit"; }
    std::string viewMenu() const override { return "View"; }
    std::string goMenu() const override { return "Go"; }
    std::string about(std::string_view app) const override { return "About " + std::string(app); }
    std::string hide(std::string_view app) const override { return "Hide " + std::string(app); }
    std::string quit(std::string_view app) const override { return "Quit " + std::string(app); }
    std::string searchEngineMenu() const override { return "Search Engine"; }
    std::string languageMenu() const override { return "Language"; }
    std::string newTab() const override { return "New Tab"; }
    std::string newWindow() const override { return "New Window"; }
    std::string openLocation() const override { return "Open Location..."; }
    std::string settings() const override { return "Settings"; }
    std::string printPage() const override { return "Print..."; }
    std::string closeTab() const override { return "Close Tab"; }
    std::string closeWindow() const override { return "Close Window"; }
    std::string cut() const override { return "Cut"; }
    std::string copy() const override { return "Copy"; }
    std::string paste() const override { return "Paste"; }
    std::string selectAll() const override { return "Select All"; }
    std::string findInPage() const override { return "Find in Page..."; }
    std::string findNext() const override { return "Find Next"; }
    std::string findPrevious() const override { return "Find Previous"; }
    std::string javaScript() const override { return "JavaScript"; }
    std::string blockAds() const override { return "Block Ads and Consent Walls"; }
    std::string forgetLocalStorage() const override { return "Forget Local Storage"; }
    std::string linksOnly() const override { return "Ask Google for Links Only"; }
    std::string recordReports() const override { return "Record NIMB Reports"; }
    std::string rememberHistory() const override { return "Remember History"; }
    std::string clearHistoryMenu() const override { return "Clear History..."; }
    std::string clearSiteDataMenu() const override { return "Clear Cookies and Site Data..."; }
    std::string nextTab() const override { return "Next Tab"; }
    std::string previousTab() const override { return "Previous Tab"; }
    std::string reopenClosedTab() const override { return "Reopen Closed Tab"; }
    std::string zoomIn() const override { return "Zoom In"; }
    std::string zoomOut() const override { return "Zoom Out"; }
    std::string actualSize() const override { return "Actual Size"; }
    std::string openLinkInNewTab() const override { return "Open Link in New Tab"; }
    std::string addBookmark() const override { return "Add Bookmark"; }
    std::string removeEntirely() const override { return "Remove Entirely"; }
    std::string marginalia() const override { return "Marginalia"; }
    std::string addToMarginalia() const override { return "Add to Marginalia"; }
    std::string bookmarks() const override { return "Bookmarks"; }
    std::string history() const override { return "History"; }
    std::string nimbReport() const override { return "NIMB Report"; }
    std::string nimbScale() const override { return "Nimb Scale"; }
    std::string overview() const override { return "Overview"; }
    std::string dossier() const override { return "Dossier"; }
    std::string viewDetails() const override { return "View Details"; }
    std::string savedReports() const override { return "Saved Reports"; }
    std::string urlsOnly() const override { return "None — URLs only"; }

    // Buttons and field prompts on generated pages and panels
    std::string remove() const override { return "Remove"; }
    std::string save() const override { return "Save"; }
    std::string revert() const override { return "Revert"; }
    std::string addToToolbar() const override { return "Add to Toolbar"; }
    std::string removeFromToolbar() const override { return "Remove from Toolbar"; }
    std::string clearHistory() const override { return "Clear History"; }
    std::string forget() const override { return "Forget"; }
    std::string clear() const override { return "Clear"; }
    std::string cancel() const override { return "Cancel"; }
    std::string keepThisReport() const override { return "Keep this report"; }
    std::string namePlaceholder() const override { return "What you call this"; }
    std::string summaryPlaceholder() const override { return "What it is, and why you kept it"; }
    std::string closeMarginalia() const override { return "Hide the margin"; }

    // Find bar
    std::string findPlaceholder() const override { return "Find in this page"; }
    std::string matchTally(std::int64_t n, std::int64_t total) const override {
        return number(n) + " of " + number(total);
    }
    std::string noMatches() const override { return "No matches"; }
    std::string closeFind() const override { return "Hide the find bar"; }

    // Status line
    std::string contactingHost() const override { return "Contacting host..."; }
    std::string documentDone() const override { return "Document: Done"; }
    std::string done(std::int64_t blocked) const override {
        if (blocked < 1) return documentDone();
        return documentDone() + "  —  " + number(blocked) + " blocked";
    }
    std::string doneUnblocked(std::int64_t through) const override {
        if (through < 1) return documentDone();
        return documentDone() + "  \u2014  " + gotThrough(through);
    }
    std::string nothingToChange() const override { return "Nothing to change."; }
    std::string removedBookmark(std::string_view name) const override {
        return "Removed bookmark: " + std::string(name);
    }
    std::string removedBookmarkAndMargin(std::string_view name, std::int64_t notes) const override {
        if (notes == 1)
            return "Removed bookmark: " + std::string(name) + " — and the one note in its margin.";
        return "Removed bookmark: " + std::string(name) + " — and the " + number(notes) +
               " notes in its margin.";
    }
    std::string addedToToolbar(std::string_view name) const override {
        return "Added to the Personal Toolbar: " + std::string(name);
    }
    std::string offToolbar(std::string_view name) const override {
        return "Off the Personal Toolbar, still bookmarked: " + std::string(name);
    }
    std::string forgot(std::string_view what) const override { return "Forgotten: " + std::string(what); }
    std::string clearedSiteData() const override {
        return "Cleared cookies and site data: sites will not know you again.";
    }
    std::string siteDataNotCleared() const override {
        return "Not cleared: the cookies and site data could not be removed.";
    }
    std::string nothingToClear() const override { return "Nothing to clear."; }
    std::string clearedHistory(std::int64_t n) const override {
        return "Cleared history: " + number(n) + " forgotten.";
    }
    std::string rememberingHistory() const override { return "Remembering where you go."; }
    std::string notRememberingHistory() const override { return "No longer writing history down."; }
    std::string nothingToBookmark() const override { return "Nothing here to bookmark."; }
    std::string alreadyBookmarked(std::string_view name) const override {
        return "Already bookmarked: " + std::string(name);
    }
    std::string addedBookmark(std::string_view name) const override {
        return "Added bookmark: " + std::string(name);
    }
    std::string savedBookmark(std::string_view name) const override { return "Saved: " + std::string(name); }
    std::string keptInTheMargin(std::string_view line) const override {
        return "Kept in the margin: " + std::string(line);
    }
    std::string struckOut() const override { return "Struck out of the margin."; }
    std::string nothingSelected() const override { return "Select something on the page first."; }
    std::string nowSpeaking() const override { return "Now speaking English."; }
    std::string reportKept(std::string_view title) const override {
        return "Kept the report for " + std::string(title) + ".";
    }
    std::string reportForgotten(std::string_view title) const override {
        return "Forgotten: the report for " + std::string(title) + ".";
    }
    std::string nothingToKeep() const override { return "There is no report here to keep."; }

    // Confirmation dialogs
    std::string removeBookmarkQuestion(std::string_view name) const override {
        return "Remove " + std::string(name) + "?";
    }
    std::string refusedWindows() const override {
        return "This page tried to open more windows; they were not opened.";
    }
    std::string downloadNotSaved() const override {
        return "Not saved: this browser keeps nothing a page offers as a download.";
    }
    std::string couldNotOpen() const override { return "This page could not be opened"; }
    std::string stoppedWorking() const override { return "This page stopped working"; }
    std::string tryAgain() const override { return "Try again"; }
    std::string processEnded() const override {
        return "The page stopped: the process that showed it ended unexpectedly.";
    }
    std::string refusedPrint() const override {
        return "This page asked to print again; the request was refused.";
    }
    std::string blockingStartsLate() const override {
        return "Blocking starts late: the blocklist is not ready, so this page loads without it.";
    }
    std::string doneUnfiltered() const override {
        return documentDone() + "  —  loaded before blocking started";
    }
    std::string waitingToSave() const override {
        return "Waiting to save: another program is using your profile.";
    }
    std::string notSavedReadOnly() const override { return "Not saved: your profile cannot be changed."; }
    std::string notSavedDiskFull() const override { return "Not saved: the disk is full."; }
    std::string notSaved() const override { return "Not saved: your profile could not be written."; }
    std::string profileReadOnly(std::string_view path) const override {
        return "Your profile (" + std::string(path) +
               ") can be read but not changed. Your bookmarks, history and notes are all here, but "
               "changes will not be kept after you quit.";
    }
    std::string profileInUse(std::string_view path) const override {
        return "Another program is using your profile (" + std::string(path) +
               "). Your bookmarks, history and notes are all here, but changes will not be kept after "
               "you quit.";
    }
    std::string profileUnavailable(std::string_view path) const override {
        return "Your profile (" + std::string(path) +
               ") could not be opened. Nothing you change will be kept after you quit.";
    }
    std::string profileSetAside(std::string_view aside) const override {
        return "Your profile was damaged and could not be read. It was kept, unchanged, as " +
               std::string(aside) + ", and a new, empty profile was started.";
    }
    std::string dismiss() const override { return "Dismiss"; }
    std::string removeBookmarkDetail(std::int64_t notes) const override {
        if (notes == 1) return "The one note you kept in its margin goes with it.";
        return "The " + number(notes) + " notes you kept in its margin go with it.";
    }
    std::string clearSiteDataQuestion() const override { return "Clear Cookies and Site Data?"; }
    std::string clearSiteDataDetail() const override {
        return "Every site will forget you: you will be signed out, and what sites kept in this browser "
               "goes. History and bookmarks stay.";
    }
    std::string clearHistoryQuestion() const override { return "Clear History?"; }
    std::string clearHistoryDetail(std::int64_t pages) const override {
        return number(pages) + " pages will be forgotten, and the Location: bar will have nothing left to "
                               "finish your typing with.";
    }
    std::string closeWindowQuestion() const override { return "Close this window?"; }
    std::string closeWindowDetail(std::int64_t tabs) const override {
        return number(tabs) + " tabs are open in it.";
    }
    std::string unsavedQuestion() const override { return "Quit Without Saving?"; }
    std::string unsavedDetail(std::int64_t changes) const override {
        std::string what = changes == 1 ? "One change" : number(changes) + " changes";
        return what +
               " could not be saved yet: another program is using your profile. If you quit "
               "now, " +
               (changes == 1 ? "it is" : "they are") + " lost.";
    }
    std::string quitAnyway() const override { return "Quit Anyway"; }
    std::string quitQuestion(std::string_view app) const override { return "Quit " + std::string(app) + "?"; }
    std::string quitDetail(std::int64_t windows, std::int64_t tabs) const override {
        return count(windows, "window", "windows") + " and " + count(tabs, "tab", "tabs") + " will close.";
    }
    std::string quitButton() const override { return "Quit"; }
    std::string resendQuestion() const override { return "Send the form again?"; }
    std::string resendDetail() const override {
        return "This page is the answer to a form. Reloading it sends what you entered again, and "
               "whatever the form did, such as an order or a payment, may happen twice.";
    }
    std::string resend() const override { return "Send Again"; }

    // Home page
    std::string recent() const override { return "Recent"; }
    std::string frequent() const override { return "Frequent"; }
    std::string noRecent() const override { return "Somewhere you have been will show up here."; }
    std::string noFrequent() const override { return "Somewhere you go back to will show up here."; }

    // Bookmarks page and the margin
    std::string nothingFiled() const override { return "Nothing filed yet."; }
    std::string notVisited() const override { return "Not opened since you filed it"; }
    std::string marginCount(std::int64_t n) const override {
        if (n == 0) return "Nothing in the margin";
        if (n == 1) return "1 in the margin";
        return number(n) + " in the margin";
    }
    std::string marginaliaHow() const override {
        return "Select something on this page, right-click it, and choose Add to Marginalia.";
    }
    std::string nothingInTheMargin() const override { return "Nothing in any margin yet."; }
    std::string elsewhereOnThisSite() const override { return "Elsewhere on this site"; }

    // History page
    std::string historyCount(std::int64_t n) const override {
        if (n == 0) return "Nothing recorded yet.";
        if (n == 1) return "One page, kept on this machine and sent nowhere.";
        return number(n) + " pages, kept on this machine and sent nowhere.";
    }
    std::string nothingRecorded() const override { return "Nothing recorded yet."; }
    std::string nowhereYet() const override {
        return "Nothing here yet. Somewhere you have been will show up in this list.";
    }
    // English has no singular here: "1 visits" is what the history page has always said.
    std::string visitCount(std::int64_t n) const override { return number(n) + " visits"; }
    std::string today() const override { return "Today"; }
    std::string yesterday() const override { return "Yesterday"; }
    std::string historyNote() const override {
        return "This is what the Location: bar completes from. Type two or three letters of\n"
               "somewhere you have been and the rest of the address arrives selected &mdash;\n"
               "keep typing and it goes away again. Nothing is asked of a search engine to do\n"
               "it, and nothing about what you type leaves this machine.<br><br>\n"
               "<b>File &rarr; Settings &rarr; Remember History</b> stops the list growing;\n"
               "<b>Clear History</b> empties what is already on it. Type\n"
               "<code>about:history</code> in the Location: bar to come back here.";
    }

    // Site report page
    std::string noPage() const override { return "No page"; }
    std::string unavailableLine(Unavailable why) const override {
        switch (why) {
        case Unavailable::recordingOff:
            return "Recording is off.";
        case Unavailable::scriptingOff:
            return "Scripting is off for this page.";
        case Unavailable::localPage:
            return "This is one of the browser's own pages.";
        case Unavailable::notRecorded:
            break;
        }
        return "Nothing was recorded for this page.";
    }
    std::string unavailableDetail(Unavailable why) const override {
        switch (why) {
        case Unavailable::recordingOff:
            return "Blocking is still doing its work — this only decides whether the browser\n"
                   "also keeps a note of <i>what</i> it blocked. Turn it back on with\n"
                   "<b>View &rarr; Record NIMB Reports</b>, then reload the page.";
        case Unavailable::scriptingOff:
            return "The report is assembled by watching the page make requests, and with\n"
                   "<b>View &rarr; JavaScript</b> off there is nothing running to watch with.\n"
                   "The blocklist is still in force; far less of it is needed, because most\n"
                   "of what it blocks is script.";
        case Unavailable::localPage:
            return "It was rendered from a string on this machine, and asked no one for anything.";
        case Unavailable::notRecorded:
            break;
        }
        return "Either the page has not finished loading, or it replaced the browser's\n"
               "recorder with one of its own. Reload and try again.";
    }
    std::string takenOffSummary(std::int64_t n) const override {
        return count(n, "thing", "things") + " taken off the page";
    }
    std::string otherHostsSummary(std::int64_t n) const override {
        return count(n, "other host", "other hosts") + " contacted";
    }
    std::string keptToItself() const override {
        return "Nothing on the blocklist, and no third party contacted. This page kept to itself.";
    }
    std::string blockingIsOff() const override {
        return "<b>Blocking is off</b> &mdash; everything below was allowed through.";
    }
    std::string notCounted() const override {
        return "WebSocket connections opened by frames and workers are not counted; those to listed hosts "
               "are blocked all the same.";
    }
    std::string witnessAbsent() const override {
        return "Only what the page's own scripts saw is counted here: the browser could not watch this "
               "page's requests, so those of its frames, workers and style sheets are missing.";
    }
    std::string countedWithoutScripts() const override {
        return "JavaScript is off: the requests were counted by the browser, but what the page stored and "
               "the walls taken off could not be read.";
    }
    std::string category(Category c) const override { return std::string(rawValue(c)); }
    std::string categoryWhy(Category c) const override {
        switch (c) {
        case Category::consent:
            return "Vendors whose product is the modal that asks you to agree to the rest of this list.";
        case Category::advertising:
            return "Serving, auctioning and verifying ads.";
        case Category::measurement:
            return "Analytics, session recording, and pixels that report what you read.";
        case Category::interruption:
            break;
        }
        return "Newsletter interstitials, push nags, and sign-in boxes you didn't ask for.";
    }
    std::string alsoBlocked() const override { return "Also blocked"; }
    std::string takenOffThePage() const override { return "Taken off the page"; }
    std::string takenOffWhy() const override {
        return "Walls and empty ad slots, hidden after they arrived with the markup.";
    }
    std::string reason(NimbReportReason r) const override {
        switch (r) {
        case NimbReportReason::known:
            return "known consent wall";
        case NimbReportReason::overlay:
            return "recognised as a wall";
        case NimbReportReason::adSlot:
            break;
        }
        return "empty ad slot";
    }
    std::string otherHosts() const override { return "Other hosts this page contacted"; }
    std::string otherHostsWhy() const override {
        return "Not on the blocklist, and allowed: content servers, fonts, images,\n"
               "and anything else it fetched from somewhere that isn't itself.";
    }
    std::string andMore(std::int64_t n) const override { return ", and " + number(n) + " more"; }
    std::string whatItKept() const override { return "What it kept for itself"; }
    std::string storedLine(std::int64_t cookies, std::int64_t keys,
                           std::optional<std::string_view> size) const override {
        std::string text = count(cookies, "cookie", "cookies") + " visible to script, and " +
                           count(keys, "key", "keys") + " in local storage";
        if (size) text += ", " + std::string(*size);
        return text + ".";
    }
    std::string storageWasLent() const override {
        return "That storage was this browser's, not the disk's: the page wrote to it and read\n"
               "it back all visit, and it went when the page did. Nothing below was kept.";
    }
    std::string storageWasKept() const override {
        return "Blocking a tracker's request does not empty the jar the site keeps under its\n"
               "own name, and nothing it writes there has to be asked for.";
    }
    std::string sessionKeys(std::int64_t n) const override {
        return "Another " + count(n, "key", "keys") +
               " sat in session storage, which every browser forgets when the window closes.";
    }
    std::string databases(std::string_view names) const override {
        return "Databases open under this site's name: " + std::string(names) +
               ". They are named here and not opened — reading one would be a visit of its own.";
    }
    std::string moreKeys(std::int64_t n) const override { return "and " + count(n, "key", "keys") + " more"; }
    std::string byteCount(std::int64_t n) const override { return count(n, "byte", "bytes"); }

    // Kept reports
    std::string keptOn(std::string_view date) const override { return "Kept " + std::string(date); }
    std::string savedReportCount(std::int64_t n) const override {
        if (n == 1) return "1 report kept";
        return number(n) + " reports kept";
    }
    std::string nothingKept() const override {
        return "Nothing kept yet. Every report has a Keep this report button under the reading, and what you "
               "press it on lands here.";
    }
    std::string savedReportsNote() const override {
        return "A kept report holds what the page did — the hosts it called, the keys it wrote, the walls "
               "that "
               "came down — and none of the words. The score and the company names are worked out again "
               "every "
               "time this list is drawn, against the dossier as it stands today, so a report kept last month "
               "can read differently now: that is the dossier having learned something, not the page having "
               "changed. Kept reports are yours and stay on this machine. Forget takes one off for good.";
    }

private:
    // Requests the blocklist names that got through all the same.
    static std::string gotThrough(std::int64_t n) {
        return count(n, "request", "requests") + " on the blocklist got through";
    }
};

const Vocabulary& englishWords() {
    static const English words;
    return words;
}

} // namespace nimb
