#include "preferences/Preferences.h"

#include "base/Identifier.h"
#include "location/LocationBar.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <set>

namespace nimb {

namespace {

std::string storedFlag(bool on) {
    return on ? "1" : "0";
}
bool readFlag(std::string_view text) {
    return text != "0";
}

} // namespace

Preferences::Preferences(std::unique_ptr<KeyValueStore> store)
    : m_store(std::move(store)), m_newIdentifier(makeIdentifier) {}

void Preferences::setIdentifierSource(std::function<std::string()> source) {
    m_newIdentifier = source ? std::move(source) : makeIdentifier;
}

std::string Preferences::newIdentifier() const {
    return m_newIdentifier();
}

bool Preferences::flag(std::string_view key) const {
    return m_store->boolean(key).value_or(true);
}

std::string Preferences::storedString(std::string_view key) const {
    return m_store->string(key).value_or("");
}

Pairs Preferences::storedPairs(std::string_view key) const {
    return m_store->pairs(key).value_or(Pairs{});
}

SearchEngine Preferences::searchEngine() const {
    return fromRaw<SearchEngine>(storedString(Keys::searchEngine)).value_or(SearchEngine::ddgLite);
}
WriteOutcome Preferences::setSearchEngine(SearchEngine engine) {
    return m_store->set(Keys::searchEngine, rawValue(engine));
}

std::optional<Language> Preferences::language() const {
    return fromRaw<Language>(storedString(Keys::language));
}
WriteOutcome Preferences::setLanguage(std::optional<Language> language) {
    return m_store->set(Keys::language, language ? rawValue(*language) : std::string_view());
}

bool Preferences::javaScriptEnabled() const {
    return flag(Keys::javaScriptEnabled);
}
WriteOutcome Preferences::setJavaScriptEnabled(bool on) {
    return m_store->set(Keys::javaScriptEnabled, on);
}
bool Preferences::contentBlockingEnabled() const {
    return flag(Keys::contentBlockingEnabled);
}
WriteOutcome Preferences::setContentBlockingEnabled(bool on) {
    return m_store->set(Keys::contentBlockingEnabled, on);
}
bool Preferences::nimbReportEnabled() const {
    return flag(Keys::nimbReportEnabled);
}
WriteOutcome Preferences::setNimbReportEnabled(bool on) {
    return m_store->set(Keys::nimbReportEnabled, on);
}
bool Preferences::forgetStorageEnabled() const {
    return flag(Keys::forgetStorageEnabled);
}
WriteOutcome Preferences::setForgetStorageEnabled(bool on) {
    return m_store->set(Keys::forgetStorageEnabled, on);
}
bool Preferences::rememberHistory() const {
    return flag(Keys::rememberHistory);
}
WriteOutcome Preferences::setRememberHistory(bool on) {
    return m_store->set(Keys::rememberHistory, on);
}
bool Preferences::linksOnlySearch() const {
    return flag(Keys::linksOnlySearch);
}
WriteOutcome Preferences::setLinksOnlySearch(bool on) {
    return m_store->set(Keys::linksOnlySearch, on);
}

std::string Preferences::homePage() const {
    std::string stored = storedString(Keys::homePage);
    if (!stored.empty()) return stored;
    if (auto start = home(searchEngine())) return start->string();
    return "about:home";
}
WriteOutcome Preferences::setHomePage(std::string_view address) {
    return m_store->set(Keys::homePage, address);
}

std::optional<WindowSize> Preferences::windowSize() const {
    auto dimension = [&](std::string_view key) -> std::optional<int> {
        auto value = StoredRecords::readInteger(storedString(key));
        if (!value || *value < 1 || *value > WindowSize::largest) return std::nullopt;
        return static_cast<int>(*value);
    };
    auto width = dimension(Keys::windowWidth);
    auto height = dimension(Keys::windowHeight);
    if (!width || !height) return std::nullopt;
    return WindowSize{*width, *height, m_store->boolean(Keys::windowMaximized).value_or(false)};
}
WriteOutcome Preferences::setWindowSize(const WindowSize& size) {
    return m_store->write({{std::string(Keys::windowWidth), std::to_string(size.width)},
                           {std::string(Keys::windowHeight), std::to_string(size.height)},
                           {std::string(Keys::windowMaximized), size.maximized}});
}

std::vector<Visit> Preferences::history() const {
    return StoredRecords::decodeVisits(storedPairs(Keys::history));
}
WriteOutcome Preferences::setHistory(const std::vector<Visit>& visits) {
    return m_store->set(Keys::history, StoredRecords::encode(visits));
}

std::vector<Bookmark> Preferences::bookmarks() const {
    auto stored = m_store->pairs(Keys::bookmarks);
    if (!stored) return {}; // the default bookmarks: none
    return StoredRecords::decodeBookmarks(*stored, storedPairs(Keys::bookmarkSummaries));
}
WriteOutcome Preferences::setBookmarks(const std::vector<Bookmark>& bookmarks) {
    return write(RecordChanges{.bookmarks = bookmarks});
}

std::vector<Note> Preferences::notes() const {
    return StoredRecords::decodeNotes(storedPairs(Keys::notes));
}
WriteOutcome Preferences::setNotes(const std::vector<Note>& notes) {
    return m_store->set(Keys::notes, StoredRecords::encode(notes));
}

std::vector<SavedReport> Preferences::savedReports() const {
    return StoredRecords::decodeSavedReports(storedPairs(Keys::savedReports));
}
WriteOutcome Preferences::setSavedReports(const std::vector<SavedReport>& reports) {
    return m_store->set(Keys::savedReports, StoredRecords::encode(reports));
}

std::vector<SiteZoom> Preferences::siteZooms() const {
    return StoredRecords::decodeSiteZooms(storedPairs(Keys::siteZooms));
}
WriteOutcome Preferences::setSiteZooms(const std::vector<SiteZoom>& levels) {
    return m_store->set(Keys::siteZooms, StoredRecords::encode(levels));
}

WriteOutcome Preferences::write(const RecordChanges& records) {
    Changes changes;
    if (records.history)
        changes.push_back({std::string(Keys::history), StoredRecords::encode(*records.history)});
    if (records.bookmarks) {
        changes.push_back({std::string(Keys::bookmarks), StoredRecords::encodeBookmarks(*records.bookmarks)});
        changes.push_back(
            {std::string(Keys::bookmarkSummaries), StoredRecords::encodeSummaries(*records.bookmarks)});
    }
    if (records.notes) changes.push_back({std::string(Keys::notes), StoredRecords::encode(*records.notes)});
    if (records.savedReports)
        changes.push_back({std::string(Keys::savedReports), StoredRecords::encode(*records.savedReports)});
    if (records.siteZooms)
        changes.push_back({std::string(Keys::siteZooms), StoredRecords::encode(*records.siteZooms)});
    return m_store->write(changes);
}

void Preferences::afterWrites(std::function<void(const WriteOutcome&)> then) {
    m_store->afterWrites(std::move(then));
}

Pairs Preferences::storedHistory() const {
    return storedPairs(Keys::history);
}

LocationBar::Destination Preferences::resolve(std::string_view text) const {
    return LocationBar::resolve(text, searchEngine());
}

bool switchLanguage(Language language, Preferences& preferences) {
    if (language == currentLanguage()) return false;
    setCurrentLanguage(language);
    (void)preferences.setLanguage(language); // a language not kept is still the one spoken this run
    return true;
}

namespace StoredRecords {

std::optional<std::int64_t> readInteger(std::string_view text) {
    std::string_view digits = text;
    bool negative = false;
    if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
        negative = digits.front() == '-';
        digits.remove_prefix(1);
    }
    if (digits.empty() ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    // Parse with the sign so that the most negative value fits.
    std::string signedDigits = (negative ? "-" : "") + std::string(digits);
    std::int64_t value = 0;
    auto [end, error] =
        std::from_chars(signedDigits.data(), signedDigits.data() + signedDigits.size(), value);
    if (error != std::errc() || end != signedDigits.data() + signedDigits.size()) return std::nullopt;
    return value;
}

Pairs encode(const std::vector<Visit>& visits) {
    Pairs pairs;
    std::size_t count = std::min(visits.size(), Preferences::historyCap);
    pairs.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const Visit& visit = visits[i];
        pairs.push_back({visit.address, visit.title, storedDate(visit.last), std::to_string(visit.visits)});
    }
    return pairs;
}

std::vector<Visit> decodeVisits(const Pairs& pairs) {
    std::vector<Visit> visits;
    visits.reserve(pairs.size());
    for (const auto& row : pairs) {
        if (row.size() < 4) continue;
        auto last = readStoredDate(row[2]);
        auto count = readInteger(row[3]);
        if (!last || !count) continue;
        visits.push_back({row[0], row[1], *last, std::max<std::int64_t>(*count, 1)});
    }
    return visits;
}

Pairs encodeBookmarks(const std::vector<Bookmark>& bookmarks) {
    Pairs pairs;
    pairs.reserve(bookmarks.size());
    for (const Bookmark& bookmark : bookmarks)
        pairs.push_back({bookmark.name, bookmark.address, storedFlag(bookmark.onToolbar)});
    return pairs;
}

Pairs encodeSummaries(const std::vector<Bookmark>& bookmarks) {
    Pairs pairs;
    for (const Bookmark& bookmark : bookmarks) {
        if (!bookmark.summary.empty()) pairs.push_back({bookmark.address, bookmark.summary});
    }
    return pairs;
}

std::vector<Bookmark> decodeBookmarks(const Pairs& pairs, const Pairs& summaries) {
    std::map<std::string_view, std::string_view> summaryOf;
    for (const auto& row : summaries) {
        if (row.size() >= 2) summaryOf.insert_or_assign(row[0], row[1]);
    }
    std::vector<Bookmark> bookmarks;
    bookmarks.reserve(pairs.size());
    for (const auto& row : pairs) {
        if (row.size() < 2) continue;
        Bookmark bookmark{row[0], row[1], row.size() == 2 || readFlag(row[2]), {}};
        if (auto found = summaryOf.find(bookmark.address); found != summaryOf.end())
            bookmark.summary = found->second;
        else if (row.size() >= 4)
            bookmark.summary = row[3];
        bookmarks.push_back(std::move(bookmark));
    }
    return bookmarks;
}

Pairs encode(const std::vector<Note>& notes) {
    Pairs pairs;
    pairs.reserve(notes.size());
    for (const Note& note : notes)
        pairs.push_back({note.address, note.id, note.text, storedDate(note.made), note.source});
    return pairs;
}

std::vector<Note> decodeNotes(const Pairs& pairs) {
    std::vector<Note> notes;
    notes.reserve(pairs.size());
    for (const auto& row : pairs) {
        if (row.size() < 4) continue;
        auto made = readStoredDate(row[3]);
        if (!made) continue;
        notes.push_back({row[1], row[0], row.size() >= 5 ? row[4] : row[0], row[2], *made});
    }
    return notes;
}

Pairs encode(const std::vector<SavedReport>& reports) {
    Pairs pairs;
    std::size_t count = std::min(reports.size(), Preferences::savedReportsCap);
    pairs.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const SavedReport& report = reports[i];
        pairs.push_back({report.id, storedDate(report.saved), report.address, report.title,
                         storedFlag(report.blockingOn), report.snapshot});
    }
    return pairs;
}

std::vector<SavedReport> decodeSavedReports(const Pairs& pairs) {
    std::vector<SavedReport> reports;
    reports.reserve(pairs.size());
    for (const auto& row : pairs) {
        if (row.size() < 6) continue;
        auto saved = readStoredDate(row[1]);
        if (!saved || row[0].empty()) continue;
        reports.push_back({row[0], *saved, row[2], row[3], readFlag(row[4]), row[5]});
    }
    return reports;
}

Pairs encode(const std::vector<SiteZoom>& levels) {
    Pairs pairs;
    std::size_t count = std::min(levels.size(), Preferences::siteZoomsCap);
    pairs.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        pairs.push_back({levels[i].site, std::to_string(levels[i].percent)});
    return pairs;
}

std::vector<SiteZoom> decodeSiteZooms(const Pairs& pairs) {
    std::vector<SiteZoom> levels;
    std::set<std::string_view> seen;
    for (const auto& row : pairs) {
        if (row.size() < 2 || row[0].empty()) continue;
        auto percent = readInteger(row[1]);
        if (!percent || *percent < SiteZoom::smallest || *percent > SiteZoom::largest) continue;
        // A site named twice keeps its first (newest) level.
        if (!seen.insert(row[0]).second) continue;
        levels.push_back({row[0], *percent});
    }
    return levels;
}

} // namespace StoredRecords

} // namespace nimb
