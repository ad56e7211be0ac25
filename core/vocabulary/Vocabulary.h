#pragma once

// Every word the browser shows comes from one Vocabulary, chosen by the current Language. English,
// Spanish, Italian and French each implement every member; a language that leaves one out does not
// compile, because its class stays abstract where Language instantiates it.
//
// Members that carry HTML markup or entities (<b>, <i>, <code>, <br>, &mdash;, &rarr;) are only ever
// placed into generated pages; every other member is plain text.

#include "records/ContentBlockerCategory.h"
#include "records/NimbReportPageUnavailable.h"
#include "records/NimbReportReason.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace nimb {

// How a language forms "<count> <noun>".
enum class CountRule {
    // English, Spanish, Italian: singular for exactly 1, plural otherwise (0 takes the plural).
    singularForOne,
    // French: singular below 2 (0 and 1), plural otherwise.
    singularBelowTwo,
};

[[nodiscard]] std::string counted(CountRule rule, std::int64_t n, std::string_view singular,
                                  std::string_view plural);

class Vocabulary {
public:
    virtual ~Vocabulary() = default;

    // Window chrome and tool tips
    [[nodiscard]] virtual std::string back() const = 0;
    [[nodiscard]] virtual std::string forward() const = 0;
    [[nodiscard]] virtual std::string reload() const = 0;
    [[nodiscard]] virtual std::string stop() const = 0;
    [[nodiscard]] virtual std::string backHelp() const = 0;
    [[nodiscard]] virtual std::string forwardHelp() const = 0;
    [[nodiscard]] virtual std::string reloadHelp() const = 0;
    [[nodiscard]] virtual std::string stopHelp() const = 0;
    [[nodiscard]] virtual std::string shieldHelp() const = 0;
    // The shield's tool tip: what the page had refused, or, when nothing was blocked for it (blocking
    // off, or started too late), how many requests the blocklist names got through.
    [[nodiscard]] virtual std::string shieldTip(bool blocking, std::int64_t n) const = 0;
    [[nodiscard]] virtual std::string stealth() const = 0;
    [[nodiscard]] virtual std::string untitled() const = 0;
    // The list of the tabs the strip has no room for.
    [[nodiscard]] virtual std::string hiddenTabs() const = 0;
    [[nodiscard]] virtual std::string search() const = 0;
    [[nodiscard]] virtual std::string home() const = 0;

    // Menus
    [[nodiscard]] virtual std::string fileMenu() const = 0;
    [[nodiscard]] virtual std::string editMenu() const = 0;
    [[nodiscard]] virtual std::string viewMenu() const = 0;
    [[nodiscard]] virtual std::string goMenu() const = 0;
    [[nodiscard]] virtual std::string about(std::string_view app) const = 0;
    [[nodiscard]] virtual std::string hide(std::string_view app) const = 0;
    [[nodiscard]] virtual std::string quit(std::string_view app) const = 0;
    [[nodiscard]] virtual std::string searchEngineMenu() const = 0;
    [[nodiscard]] virtual std::string languageMenu() const = 0;
    [[nodiscard]] virtual std::string newTab() const = 0;
    [[nodiscard]] virtual std::string newWindow() const = 0;
    [[nodiscard]] virtual std::string openLocation() const = 0;
    [[nodiscard]] virtual std::string settings() const = 0;
    [[nodiscard]] virtual std::string printPage() const = 0;
    [[nodiscard]] virtual std::string closeTab() const = 0;
    [[nodiscard]] virtual std::string closeWindow() const = 0;
    [[nodiscard]] virtual std::string cut() const = 0;
    [[nodiscard]] virtual std::string copy() const = 0;
    [[nodiscard]] virtual std::string paste() const = 0;
    [[nodiscard]] virtual std::string selectAll() const = 0;
    [[nodiscard]] virtual std::string findInPage() const = 0;
    [[nodiscard]] virtual std::string findNext() const = 0;
    [[nodiscard]] virtual std::string findPrevious() const = 0;
    [[nodiscard]] virtual std::string javaScript() const = 0;
    [[nodiscard]] virtual std::string blockAds() const = 0;
    [[nodiscard]] virtual std::string forgetLocalStorage() const = 0;
    [[nodiscard]] virtual std::string linksOnly() const = 0;
    [[nodiscard]] virtual std::string recordReports() const = 0;
    [[nodiscard]] virtual std::string rememberHistory() const = 0;
    [[nodiscard]] virtual std::string clearHistoryMenu() const = 0;
    [[nodiscard]] virtual std::string clearSiteDataMenu() const = 0;
    [[nodiscard]] virtual std::string nextTab() const = 0;
    [[nodiscard]] virtual std::string previousTab() const = 0;
    [[nodiscard]] virtual std::string reopenClosedTab() const = 0;
    [[nodiscard]] virtual std::string zoomIn() const = 0;
    [[nodiscard]] virtual std::string zoomOut() const = 0;
    [[nodiscard]] virtual std::string actualSize() const = 0;
    [[nodiscard]] virtual std::string openLinkInNewTab() const = 0;
    [[nodiscard]] virtual std::string addBookmark() const = 0;
    [[nodiscard]] virtual std::string removeEntirely() const = 0;
    [[nodiscard]] virtual std::string marginalia() const = 0;
    [[nodiscard]] virtual std::string addToMarginalia() const = 0;
    [[nodiscard]] virtual std::string bookmarks() const = 0;
    [[nodiscard]] virtual std::string history() const = 0;
    [[nodiscard]] virtual std::string nimbReport() const = 0;
    [[nodiscard]] virtual std::string nimbScale() const = 0;
    [[nodiscard]] virtual std::string overview() const = 0;
    [[nodiscard]] virtual std::string dossier() const = 0;
    [[nodiscard]] virtual std::string viewDetails() const = 0;
    [[nodiscard]] virtual std::string savedReports() const = 0;
    [[nodiscard]] virtual std::string urlsOnly() const = 0;

    // Buttons and field prompts on generated pages and panels
    [[nodiscard]] virtual std::string remove() const = 0;
    [[nodiscard]] virtual std::string save() const = 0;
    [[nodiscard]] virtual std::string revert() const = 0;
    [[nodiscard]] virtual std::string addToToolbar() const = 0;
    [[nodiscard]] virtual std::string removeFromToolbar() const = 0;
    [[nodiscard]] virtual std::string clearHistory() const = 0;
    [[nodiscard]] virtual std::string forget() const = 0;
    [[nodiscard]] virtual std::string clear() const = 0;
    [[nodiscard]] virtual std::string cancel() const = 0;
    [[nodiscard]] virtual std::string keepThisReport() const = 0;
    [[nodiscard]] virtual std::string namePlaceholder() const = 0;
    [[nodiscard]] virtual std::string summaryPlaceholder() const = 0;
    [[nodiscard]] virtual std::string closeMarginalia() const = 0;

    // Find bar
    [[nodiscard]] virtual std::string findPlaceholder() const = 0;
    [[nodiscard]] virtual std::string matchTally(std::int64_t n, std::int64_t total) const = 0;
    [[nodiscard]] virtual std::string noMatches() const = 0;
    [[nodiscard]] virtual std::string closeFind() const = 0;

    // Status line
    [[nodiscard]] virtual std::string contactingHost() const = 0;
    [[nodiscard]] virtual std::string documentDone() const = 0;
    [[nodiscard]] virtual std::string done(std::int64_t blocked) const = 0;
    // A page loaded with blocking off, and the requests the blocklist names that got through.
    [[nodiscard]] virtual std::string doneUnblocked(std::int64_t through) const = 0;
    [[nodiscard]] virtual std::string nothingToChange() const = 0;
    [[nodiscard]] virtual std::string removedBookmark(std::string_view name) const = 0;
    [[nodiscard]] virtual std::string removedBookmarkAndMargin(std::string_view name,
                                                               std::int64_t notes) const = 0;
    [[nodiscard]] virtual std::string addedToToolbar(std::string_view name) const = 0;
    [[nodiscard]] virtual std::string offToolbar(std::string_view name) const = 0;
    [[nodiscard]] virtual std::string forgot(std::string_view what) const = 0;
    [[nodiscard]] virtual std::string nothingToClear() const = 0;
    [[nodiscard]] virtual std::string clearedHistory(std::int64_t n) const = 0;
    // What became of Clear Cookies and Site Data.
    [[nodiscard]] virtual std::string clearedSiteData() const = 0;
    [[nodiscard]] virtual std::string siteDataNotCleared() const = 0;
    [[nodiscard]] virtual std::string rememberingHistory() const = 0;
    [[nodiscard]] virtual std::string notRememberingHistory() const = 0;
    [[nodiscard]] virtual std::string nothingToBookmark() const = 0;
    [[nodiscard]] virtual std::string alreadyBookmarked(std::string_view name) const = 0;
    [[nodiscard]] virtual std::string addedBookmark(std::string_view name) const = 0;
    [[nodiscard]] virtual std::string savedBookmark(std::string_view name) const = 0;
    [[nodiscard]] virtual std::string keptInTheMargin(std::string_view line) const = 0;
    [[nodiscard]] virtual std::string struckOut() const = 0;
    [[nodiscard]] virtual std::string nothingSelected() const = 0;
    [[nodiscard]] virtual std::string nowSpeaking() const = 0;
    [[nodiscard]] virtual std::string reportKept(std::string_view title) const = 0;
    [[nodiscard]] virtual std::string reportForgotten(std::string_view title) const = 0;
    [[nodiscard]] virtual std::string nothingToKeep() const = 0;
    // Windows or tabs a page tried to open faster than a person could want them.
    [[nodiscard]] virtual std::string refusedWindows() const = 0;
    // A page asking to print again while a print dialog is open, or just after one closed.
    [[nodiscard]] virtual std::string refusedPrint() const = 0;
    // What a page offered as a download, which the browser never saves.
    [[nodiscard]] virtual std::string downloadNotSaved() const = 0;
    // The page a tab shows when its load failed with nothing of its own to show, or its page's
    // process ended: the heading, the button that loads the address again, and the status line's
    // words for a process that ended.
    [[nodiscard]] virtual std::string couldNotOpen() const = 0;
    [[nodiscard]] virtual std::string stoppedWorking() const = 0;
    [[nodiscard]] virtual std::string tryAgain() const = 0;
    [[nodiscard]] virtual std::string processEnded() const = 0;
    // A web page that could wait no longer for the blocklist, as it goes on; and the line for it
    // once it is loaded, in place of what was blocked.
    [[nodiscard]] virtual std::string blockingStartsLate() const = 0;
    [[nodiscard]] virtual std::string doneUnfiltered() const = 0;
    // A change waiting while another program holds the profile; one that could not be kept, and why.
    [[nodiscard]] virtual std::string waitingToSave() const = 0;
    [[nodiscard]] virtual std::string notSavedReadOnly() const = 0;
    [[nodiscard]] virtual std::string notSavedDiskFull() const = 0;
    [[nodiscard]] virtual std::string notSaved() const = 0;

    // The notice over the page about the profile, until dismissed
    [[nodiscard]] virtual std::string profileReadOnly(std::string_view path) const = 0;
    [[nodiscard]] virtual std::string profileInUse(std::string_view path) const = 0;
    [[nodiscard]] virtual std::string profileUnavailable(std::string_view path) const = 0;
    [[nodiscard]] virtual std::string profileSetAside(std::string_view aside) const = 0;
    [[nodiscard]] virtual std::string dismiss() const = 0;

    // Confirmation dialogs
    [[nodiscard]] virtual std::string removeBookmarkQuestion(std::string_view name) const = 0;
    [[nodiscard]] virtual std::string removeBookmarkDetail(std::int64_t notes) const = 0;
    [[nodiscard]] virtual std::string clearHistoryQuestion() const = 0;
    [[nodiscard]] virtual std::string clearHistoryDetail(std::int64_t pages) const = 0;
    [[nodiscard]] virtual std::string clearSiteDataQuestion() const = 0;
    [[nodiscard]] virtual std::string clearSiteDataDetail() const = 0;
    [[nodiscard]] virtual std::string closeWindowQuestion() const = 0;
    [[nodiscard]] virtual std::string closeWindowDetail(std::int64_t tabs) const = 0;
    [[nodiscard]] virtual std::string unsavedQuestion() const = 0;
    [[nodiscard]] virtual std::string unsavedDetail(std::int64_t changes) const = 0;
    [[nodiscard]] virtual std::string quitAnyway() const = 0;
    [[nodiscard]] virtual std::string quitQuestion(std::string_view app) const = 0;
    [[nodiscard]] virtual std::string quitDetail(std::int64_t windows, std::int64_t tabs) const = 0;
    [[nodiscard]] virtual std::string quitButton() const = 0;
    [[nodiscard]] virtual std::string resendQuestion() const = 0;
    [[nodiscard]] virtual std::string resendDetail() const = 0;
    [[nodiscard]] virtual std::string resend() const = 0;

    // Home page
    [[nodiscard]] virtual std::string recent() const = 0;
    [[nodiscard]] virtual std::string frequent() const = 0;
    [[nodiscard]] virtual std::string noRecent() const = 0;
    [[nodiscard]] virtual std::string noFrequent() const = 0;

    // Bookmarks page and the margin
    [[nodiscard]] virtual std::string nothingFiled() const = 0;
    [[nodiscard]] virtual std::string notVisited() const = 0;
    [[nodiscard]] virtual std::string marginCount(std::int64_t n) const = 0;
    [[nodiscard]] virtual std::string marginaliaHow() const = 0;
    [[nodiscard]] virtual std::string nothingInTheMargin() const = 0;
    [[nodiscard]] virtual std::string elsewhereOnThisSite() const = 0;

    // History page
    [[nodiscard]] virtual std::string historyCount(std::int64_t n) const = 0;
    [[nodiscard]] virtual std::string nothingRecorded() const = 0;
    [[nodiscard]] virtual std::string nowhereYet() const = 0;
    [[nodiscard]] virtual std::string visitCount(std::int64_t n) const = 0;
    [[nodiscard]] virtual std::string today() const = 0;
    [[nodiscard]] virtual std::string yesterday() const = 0;
    [[nodiscard]] virtual std::string historyNote() const = 0;

    // Site report page
    [[nodiscard]] virtual std::string noPage() const = 0;
    [[nodiscard]] virtual std::string unavailableLine(NimbReportPage::Unavailable why) const = 0;
    [[nodiscard]] virtual std::string unavailableDetail(NimbReportPage::Unavailable why) const = 0;
    [[nodiscard]] virtual std::string takenOffSummary(std::int64_t n) const = 0;
    [[nodiscard]] virtual std::string otherHostsSummary(std::int64_t n) const = 0;
    [[nodiscard]] virtual std::string keptToItself() const = 0;
    [[nodiscard]] virtual std::string blockingIsOff() const = 0;
    // What the counts leave out: said beside them on every report drawn while the browser counted.
    [[nodiscard]] virtual std::string notCounted() const = 0;
    [[nodiscard]] virtual std::string witnessAbsent() const = 0;
    [[nodiscard]] virtual std::string countedWithoutScripts() const = 0;
    [[nodiscard]] virtual std::string category(ContentBlocker::Category c) const = 0;
    [[nodiscard]] virtual std::string categoryWhy(ContentBlocker::Category c) const = 0;
    [[nodiscard]] virtual std::string alsoBlocked() const = 0;
    [[nodiscard]] virtual std::string takenOffThePage() const = 0;
    [[nodiscard]] virtual std::string takenOffWhy() const = 0;
    [[nodiscard]] virtual std::string reason(NimbReportReason r) const = 0;
    [[nodiscard]] virtual std::string otherHosts() const = 0;
    [[nodiscard]] virtual std::string otherHostsWhy() const = 0;
    [[nodiscard]] virtual std::string andMore(std::int64_t n) const = 0;
    [[nodiscard]] virtual std::string whatItKept() const = 0;
    [[nodiscard]] virtual std::string storedLine(std::int64_t cookies, std::int64_t keys,
                                                 std::optional<std::string_view> size) const = 0;
    [[nodiscard]] virtual std::string storageWasLent() const = 0;
    [[nodiscard]] virtual std::string storageWasKept() const = 0;
    [[nodiscard]] virtual std::string sessionKeys(std::int64_t n) const = 0;
    [[nodiscard]] virtual std::string databases(std::string_view names) const = 0;
    [[nodiscard]] virtual std::string moreKeys(std::int64_t n) const = 0;
    [[nodiscard]] virtual std::string byteCount(std::int64_t n) const = 0;

    // Kept reports
    [[nodiscard]] virtual std::string keptOn(std::string_view date) const = 0;
    [[nodiscard]] virtual std::string savedReportCount(std::int64_t n) const = 0;
    [[nodiscard]] virtual std::string nothingKept() const = 0;
    [[nodiscard]] virtual std::string savedReportsNote() const = 0;
};

} // namespace nimb
