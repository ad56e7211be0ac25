#include "library/Marginalia.h"

#include "base/Text.h"
#include "location/LocationBar.h"
#include "preferences/Preferences.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <unicode/uchar.h>
#include <unicode/utf8.h>
#include <unordered_map>

namespace nimb {

namespace Marginalia {

namespace {

// Spaces of any script and the tab; line breaks are not among them.
bool isSpaceOrTab(UChar32 c) {
    return c == '\t' || (c >= 0 && u_charType(c) == U_SPACE_SEPARATOR);
}

std::string_view trimmedSpacesAndTabs(std::string_view piece) {
    auto length = static_cast<int32_t>(piece.size());
    int32_t start = 0;
    while (start < length) {
        int32_t i = start;
        UChar32 c;
        U8_NEXT(piece.data(), i, length, c);
        if (!isSpaceOrTab(c)) break;
        start = i;
    }
    int32_t end = length;
    while (end > start) {
        // Step back to the start of the previous code point, then read it forward.
        int32_t begin = end - 1;
        while (begin > start &&
               (static_cast<unsigned char>(piece[static_cast<std::size_t>(begin)]) & 0xC0) == 0x80)
            --begin;
        int32_t i = begin;
        UChar32 c;
        U8_NEXT(piece.data(), i, length, c);
        if (i != end || !isSpaceOrTab(c)) break;
        end = begin;
    }
    return piece.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start));
}

bool byNewestThenAddress(const Shelf& a, const Shelf& b) {
    Date newestA = newest(a);
    Date newestB = newest(b);
    if (newestA != newestB) return newestA > newestB;
    return a.address < b.address;
}

} // namespace

std::optional<std::string> tidy(std::string_view text) {
    // A selection comes from the page; whatever bytes it holds, what is kept is UTF-8.
    std::string whole = text::validUtf8(text);

    std::vector<std::string_view> kept;
    std::size_t start = 0;
    while (start <= whole.size()) {
        std::size_t end = whole.find('\n', start);
        if (end == std::string::npos) end = whole.size();
        std::string_view piece(whole.data() + start, end - start);
        // A CR LF pair is one line break; a CR on its own is not one.
        if (end < whole.size() && !piece.empty() && piece.back() == '\r') piece.remove_suffix(1);
        piece = trimmedSpacesAndTabs(piece);
        if (!piece.empty() || (!kept.empty() && !kept.back().empty())) kept.push_back(piece);
        start = end + 1;
    }
    while (!kept.empty() && kept.back().empty())
        kept.pop_back();
    if (kept.empty()) return std::nullopt;

    std::string result;
    result.reserve(whole.size());
    for (std::size_t i = 0; i < kept.size(); ++i) {
        if (i > 0) result += '\n';
        result += kept[i];
    }
    return result;
}

std::optional<std::string> site(std::string_view address) {
    auto url = Url::parse(address);
    if (!url) return std::nullopt;
    auto view = url->view();
    if (!view.has_authority()) return std::nullopt;
    std::string host = text::lowercased(view.host());
    if (host.empty()) return std::nullopt;
    if (text::startsWith(host, "www.")) host.erase(0, 4);
    return host;
}

std::optional<std::string> home(std::string_view address, const std::vector<Bookmark>& bookmarks) {
    std::string page = LocationBar::canonical(address);
    for (const Bookmark& bookmark : bookmarks) {
        if (LocationBar::canonical(bookmark.address) == page) return bookmark.address;
    }
    auto pageSite = site(address);
    if (!pageSite || pageSite->empty() || bookmarks.empty()) return std::nullopt;
    for (const Bookmark& bookmark : bookmarks) {
        if (site(bookmark.address).value_or("") == *pageSite) return bookmark.address;
    }
    return std::nullopt;
}

std::vector<Note> notes(std::string_view address, const std::vector<Note>& notes) {
    std::vector<Note> filed;
    for (const Note& note : notes) {
        if (note.address == address) filed.push_back(note);
    }
    std::stable_sort(filed.begin(), filed.end(),
                     [](const Note& a, const Note& b) { return a.made < b.made; });
    return filed;
}

std::vector<Shelf> shelves(const std::vector<Note>& notes, const std::vector<Bookmark>& bookmarks,
                           const std::optional<std::string>& here) {
    // Every home with its notes, in stored order for now.
    std::map<std::string, std::vector<Note>, std::less<>> byHome;
    for (const Note& note : notes)
        byHome[note.address].push_back(note);

    std::unordered_map<std::string_view, std::string_view> nameOf;
    for (const Bookmark& bookmark : bookmarks)
        nameOf.try_emplace(bookmark.address, bookmark.name);

    auto shelf = [&](const std::string& address, std::vector<Note> filed) {
        auto named = nameOf.find(address);
        std::string name =
            named != nameOf.end() && !named->second.empty() ? std::string(named->second) : address;
        std::stable_sort(filed.begin(), filed.end(),
                         [](const Note& a, const Note& b) { return a.made < b.made; });
        return Shelf{std::move(name), address, std::move(filed)};
    };

    std::vector<Shelf> result;
    if (!here) {
        for (auto& [address, filed] : byHome)
            result.push_back(shelf(address, std::move(filed)));
        std::stable_sort(result.begin(), result.end(), byNewestThenAddress);
        return result;
    }

    auto own = byHome.find(*here);
    result.push_back(shelf(*here, own != byHome.end() ? std::move(own->second) : std::vector<Note>{}));
    // Other homes of the same site; two addresses without a host count as the same place.
    auto hereSite = site(*here);
    std::vector<Shelf> elsewhere;
    for (auto& [address, filed] : byHome) {
        if (address != *here && site(address) == hereSite)
            elsewhere.push_back(shelf(address, std::move(filed)));
    }
    std::stable_sort(elsewhere.begin(), elsewhere.end(), byNewestThenAddress);
    std::move(elsewhere.begin(), elsewhere.end(), std::back_inserter(result));
    return result;
}

Date newest(const Shelf& shelf) {
    return shelf.notes.empty() ? distantPast : shelf.notes.back().made;
}

// ---------------------------------------------------------------------------------------------
// The stored notes

std::vector<Note> notes(const Preferences& preferences, std::string_view address) {
    return notes(address, preferences.notes());
}

std::optional<Note> addNote(Preferences& preferences, std::string_view text, std::string_view address,
                            std::string_view title, Date at) {
    auto tidied = tidy(text);
    if (!tidied) return std::nullopt;
    auto url = Url::parse(address);
    if (!url || !url->view().has_scheme() || !LocationBar::isNavigableScheme(url->view().scheme()))
        return std::nullopt;

    Preferences::RecordChanges changes;
    std::string filedUnder;
    std::vector<Bookmark> bookmarks = preferences.bookmarks();
    if (auto found = home(address, bookmarks)) {
        filedUnder = std::move(*found);
    } else {
        // A note needs a home: the page is bookmarked first, in the same write as the note.
        std::string_view name = text::trimmed(title);
        bookmarks.push_back(
            Bookmark{std::string(name.empty() ? address : name), std::string(address), false, {}});
        changes.bookmarks = std::move(bookmarks);
        filedUnder = address;
    }

    // Made in whole seconds, as it is stored, so the note answered is the note read back.
    Note note{preferences.newIdentifier(), std::move(filedUnder), std::string(address), std::move(*tidied),
              Date{std::trunc(at.seconds)}};
    std::vector<Note> list = preferences.notes();
    list.push_back(note);
    changes.notes = std::move(list);
    preferences.write(changes);
    return note;
}

std::optional<Note> forgetNote(Preferences& preferences, std::string_view id) {
    std::vector<Note> list = preferences.notes();
    auto found = std::find_if(list.begin(), list.end(), [&](const Note& note) { return note.id == id; });
    if (found == list.end()) return std::nullopt;
    Note removed = std::move(*found);
    list.erase(found);
    preferences.setNotes(list);
    return removed;
}

} // namespace Marginalia

} // namespace nimb
