#pragma once

#include "location/SearchEngine.h"
#include "records/Bookmark.h"
#include "records/Note.h"
#include "records/SavedReport.h"
#include "records/SiteZoom.h"
#include "records/Visit.h"
#include "records/WindowSize.h"
#include "storage/KeyValueStore.h"
#include "vocabulary/Language.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace nimb {

namespace LocationBar {
struct Destination;
}

// The one typed view of the store: every setting and every record list. It keeps nothing of its own:
// each read decodes the stored value afresh and each write stores the whole value at once. What is
// done with the records (recording a visit, filing a bookmark, keeping a note or a report) lives with
// each kind of record: History, Bookmarks, Marginalia, KeptReports.
class Preferences {
public:
    explicit Preferences(std::unique_ptr<KeyValueStore> store);

    // Where new note and kept-report identifiers come from: canonical upper-case UUIDs unless a test
    // says otherwise.
    void setIdentifierSource(std::function<std::string()> source);
    [[nodiscard]] std::string newIdentifier() const;

    // The store keys, as written to disk.
    struct Keys {
        static constexpr std::string_view searchEngine = "searchEngine";
        static constexpr std::string_view language = "language";
        static constexpr std::string_view javaScriptEnabled = "javaScriptEnabled";
        static constexpr std::string_view contentBlockingEnabled = "contentBlocking";
        static constexpr std::string_view nimbReportEnabled = "recordSiteReports";
        static constexpr std::string_view forgetStorageEnabled = "forgetLocalStorage";
        static constexpr std::string_view rememberHistory = "rememberHistory";
        static constexpr std::string_view linksOnlySearch = "googleWebResultsOnly";
        static constexpr std::string_view homePage = "homePage";
        static constexpr std::string_view history = "history";
        static constexpr std::string_view bookmarks = "bookmarks";
        static constexpr std::string_view bookmarkSummaries = "bookmarkSummaries";
        static constexpr std::string_view notes = "marginalia";
        static constexpr std::string_view savedReports = "savedReports";
        static constexpr std::string_view siteZooms = "siteZoom";
        static constexpr std::string_view windowWidth = "windowWidth";
        static constexpr std::string_view windowHeight = "windowHeight";
        static constexpr std::string_view windowMaximized = "windowMaximized";
    };

    static constexpr std::size_t historyCap = 500;
    static constexpr std::size_t savedReportsCap = 200;
    static constexpr std::size_t siteZoomsCap = 500;

    // Settings. Each write says what became of it (see `afterWrites` for a store that queues).
    [[nodiscard]] SearchEngine searchEngine() const;
    WriteOutcome setSearchEngine(SearchEngine engine);
    [[nodiscard]] std::optional<Language> language() const;
    WriteOutcome setLanguage(std::optional<Language> language);
    [[nodiscard]] bool javaScriptEnabled() const;
    WriteOutcome setJavaScriptEnabled(bool on);
    [[nodiscard]] bool contentBlockingEnabled() const;
    WriteOutcome setContentBlockingEnabled(bool on);
    [[nodiscard]] bool nimbReportEnabled() const;
    WriteOutcome setNimbReportEnabled(bool on);
    [[nodiscard]] bool forgetStorageEnabled() const;
    WriteOutcome setForgetStorageEnabled(bool on);
    [[nodiscard]] bool rememberHistory() const;
    WriteOutcome setRememberHistory(bool on);
    [[nodiscard]] bool linksOnlySearch() const;
    WriteOutcome setLinksOnlySearch(bool on);
    // The stored home page, else the search engine's start page, else "about:home".
    [[nodiscard]] std::string homePage() const;
    WriteOutcome setHomePage(std::string_view address);
    // The size of the window the user last closed; none until one was kept, or when what is stored
    // is no size a window could have. Its three keys are written together.
    [[nodiscard]] std::optional<WindowSize> windowSize() const;
    WriteOutcome setWindowSize(const WindowSize& size);

    // Record lists, newest first
    [[nodiscard]] std::vector<Visit> history() const;
    WriteOutcome setHistory(const std::vector<Visit>& visits);
    [[nodiscard]] std::vector<Bookmark> bookmarks() const;
    WriteOutcome setBookmarks(const std::vector<Bookmark>& bookmarks);
    [[nodiscard]] std::vector<Note> notes() const;
    WriteOutcome setNotes(const std::vector<Note>& notes);
    [[nodiscard]] std::vector<SavedReport> savedReports() const;
    WriteOutcome setSavedReports(const std::vector<SavedReport>& reports);
    // The zoom levels of sites, the most recently set first.
    [[nodiscard]] std::vector<SiteZoom> siteZooms() const;
    WriteOutcome setSiteZooms(const std::vector<SiteZoom>& levels);

    // Record lists that change together, written in one go: all of them land or none.
    struct RecordChanges {
        std::optional<std::vector<Visit>> history = std::nullopt;
        std::optional<std::vector<Bookmark>> bookmarks = std::nullopt;
        std::optional<std::vector<Note>> notes = std::nullopt;
        std::optional<std::vector<SavedReport>> savedReports = std::nullopt;
        std::optional<std::vector<SiteZoom>> siteZooms = std::nullopt;
    };
    WriteOutcome write(const RecordChanges& changes);

    // Calls `then` once every write asked for so far has landed or failed, with the last one's outcome.
    void afterWrites(std::function<void(const WriteOutcome&)> then);

    // The stored form of the history list, for reading it without decoding every visit (completion).
    [[nodiscard]] Pairs storedHistory() const;

    // Typed text resolved with the stored search engine.
    [[nodiscard]] LocationBar::Destination resolve(std::string_view text) const;

private:
    bool flag(std::string_view key) const;
    std::string storedString(std::string_view key) const;
    Pairs storedPairs(std::string_view key) const;

    std::unique_ptr<KeyValueStore> m_store;
    std::function<std::string()> m_newIdentifier;
};

// Makes `language` current and stores it. Returns false, having changed and written nothing, when it
// already is current; the caller then rebuilds nothing either.
[[nodiscard]] bool switchLanguage(Language language, Preferences& preferences);

// The stored forms of the record lists, readable on their own for tools and tests.
namespace StoredRecords {
[[nodiscard]] Pairs encode(const std::vector<Visit>& visits);
[[nodiscard]] std::vector<Visit> decodeVisits(const Pairs& pairs);
[[nodiscard]] Pairs encodeBookmarks(const std::vector<Bookmark>& bookmarks);
[[nodiscard]] Pairs encodeSummaries(const std::vector<Bookmark>& bookmarks);
[[nodiscard]] std::vector<Bookmark> decodeBookmarks(const Pairs& pairs, const Pairs& summaries);
[[nodiscard]] Pairs encode(const std::vector<Note>& notes);
[[nodiscard]] std::vector<Note> decodeNotes(const Pairs& pairs);
[[nodiscard]] Pairs encode(const std::vector<SavedReport>& reports);
[[nodiscard]] std::vector<SavedReport> decodeSavedReports(const Pairs& pairs);
[[nodiscard]] Pairs encode(const std::vector<SiteZoom>& levels);
[[nodiscard]] std::vector<SiteZoom> decodeSiteZooms(const Pairs& pairs);
// A stored count: an optional sign then only digits, within 64 bits.
[[nodiscard]] std::optional<std::int64_t> readInteger(std::string_view text);
} // namespace StoredRecords

} // namespace nimb
