#pragma once

#include "Bookmarks.h"
#include "History.h"
#include "Language.h"
#include "Marginalia.h"
#include "SearchEngine.h"
#include "report/SavedReport.h"
#include "storage/KeyValueStore.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace nimb {

struct BookmarkAction;
struct HistoryAction;
struct NimbReport;
namespace LocationBar {
struct Destination;
}

// The one typed view of the store: every setting and every record list. It keeps nothing of its own:
// each read decodes the stored value afresh and each write stores the whole value at once.
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
    };

    static constexpr std::size_t historyCap = 500;
    static constexpr std::size_t savedReportsCap = 200;

    // Settings
    [[nodiscard]] SearchEngine searchEngine() const;
    void setSearchEngine(SearchEngine engine);
    [[nodiscard]] std::optional<Language> language() const;
    void setLanguage(std::optional<Language> language);
    [[nodiscard]] bool javaScriptEnabled() const;
    void setJavaScriptEnabled(bool on);
    [[nodiscard]] bool contentBlockingEnabled() const;
    void setContentBlockingEnabled(bool on);
    [[nodiscard]] bool nimbReportEnabled() const;
    void setNimbReportEnabled(bool on);
    [[nodiscard]] bool forgetStorageEnabled() const;
    void setForgetStorageEnabled(bool on);
    [[nodiscard]] bool rememberHistory() const;
    void setRememberHistory(bool on);
    [[nodiscard]] bool linksOnlySearch() const;
    void setLinksOnlySearch(bool on);
    // The stored home page, else the search engine's start page, else "about:home".
    [[nodiscard]] std::string homePage() const;
    void setHomePage(std::string_view address);

    // Record lists, newest first
    [[nodiscard]] std::vector<Visit> history() const;
    void setHistory(const std::vector<Visit>& visits);
    [[nodiscard]] std::vector<Bookmark> bookmarks() const;
    void setBookmarks(const std::vector<Bookmark>& bookmarks);
    [[nodiscard]] std::vector<Note> notes() const;
    void setNotes(const std::vector<Note>& notes);
    [[nodiscard]] std::vector<SavedReport> savedReports() const;
    void setSavedReports(const std::vector<SavedReport>& reports);

    // Removing one record by its key: the first record with exactly this key goes, later ones with
    // the same key stay, and the list is written back. None, and nothing written, when there is none.
    std::optional<Visit> forget(std::string_view address);
    std::optional<Note> forgetNote(std::string_view id);
    std::optional<SavedReport> forgetReport(std::string_view id);

    // Location bar (LocationBar.cpp): typed text resolved with the stored search engine, and the
    // completion of typed text from history (none while history is not remembered).
    [[nodiscard]] LocationBar::Destination resolve(std::string_view text) const;
    [[nodiscard]] std::optional<std::string> completion(std::string_view typed) const;

    // History (History.cpp)
    bool recordVisit(std::string_view address, std::string_view title, Date at);
    bool retitle(std::string_view address, std::string_view title);
    std::int64_t clearHistory();
    std::int64_t apply(const HistoryAction& action);

    // Bookmarks (Bookmarks.cpp)
    [[nodiscard]] std::vector<Bookmark> toolbarBookmarks() const;
    bool addBookmark(const Bookmark& bookmark);
    std::optional<Bookmark> removeBookmark(std::string_view address);
    std::optional<Bookmark> setOnToolbar(bool flag, std::string_view address);
    std::optional<Bookmark> edit(std::string_view address, std::string_view name, std::string_view summary);
    std::optional<Bookmark> apply(const BookmarkAction& action);

    // Notes (Marginalia.cpp)
    [[nodiscard]] std::vector<Note> notes(std::string_view address) const;
    std::optional<Note> addNote(std::string_view text, std::string_view address, std::string_view title,
                                Date at);

    // Kept reports (report/SavedReport.cpp)
    SavedReport keepReport(const NimbReport& report, Date at);
    [[nodiscard]] std::optional<SavedReport> savedReport(std::string_view id) const;

private:
    bool flag(std::string_view key) const;
    std::string storedString(std::string_view key) const;
    Pairs storedPairs(std::string_view key) const;

    template <class Record>
    std::optional<Record> removeFirst(std::vector<Record> list, std::string_view key,
                                      std::string Record::*field,
                                      void (Preferences::*write)(const std::vector<Record>&));

    std::unique_ptr<KeyValueStore> m_store;
    std::function<std::string()> m_newIdentifier;
};

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
// A stored count: an optional sign then only digits, within 64 bits.
[[nodiscard]] std::optional<std::int64_t> readInteger(std::string_view text);
} // namespace StoredRecords

} // namespace nimb
