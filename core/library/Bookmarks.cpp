#include "library/Bookmarks.h"

#include "base/PercentEncoding.h"
#include "base/Text.h"
#include "location/LocationBar.h"
#include "preferences/Preferences.h"

#include <algorithm>

namespace nimb {

// ---------------------------------------------------------------------------------------------
// BookmarkAction

namespace {

// The host of each kind's internal address.
constexpr std::string_view host(BookmarkAction::Kind kind) {
    using Kind = BookmarkAction::Kind;
    switch (kind) {
    case Kind::remove:
        return "remove";
    case Kind::addToToolbar:
        return "toolbar-add";
    case Kind::removeFromToolbar:
        return "toolbar-remove";
    case Kind::edit:
        return "edit";
    case Kind::forgetNote:
        return "note-forget";
    case Kind::marginalia:
        return "margin";
    case Kind::press:
        return "press";
    }
    return {};
}

void appendItem(std::string& out, char letter, std::string_view value) {
    out += letter;
    out += '=';
    out += percentEncodeAlphanumerics(value);
}

void replaceAll(std::string& text, std::string_view from, std::string_view to) {
    if (text.find(from) == std::string::npos) return;
    std::string out;
    out.reserve(text.size() + text.size() / 2);
    std::size_t start = 0;
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, start)) {
        out.append(text, start, at - start);
        out += to;
        start = at + from.size();
    }
    out.append(text, start, std::string::npos);
    text = std::move(out);
}

// A query value as a submitted form means it.
std::string fieldValue(std::string_view raw) {
    std::string value(raw);
    replaceAll(value, "+", "%20");
    // Decoded bytes that are not UTF-8 count as a failed decoding.
    if (auto decoded = percentDecoded(value); decoded && text::isValidUtf8(*decoded))
        value = std::move(*decoded);
    replaceAll(value, "\r\n", "\n");
    return value;
}

BookmarkAction withAddress(BookmarkAction::Kind kind, std::string_view address) {
    BookmarkAction action;
    action.kind = kind;
    action.address = address;
    return action;
}

} // namespace

BookmarkAction BookmarkAction::remove(std::string_view address) {
    return withAddress(Kind::remove, address);
}
BookmarkAction BookmarkAction::addToToolbar(std::string_view address) {
    return withAddress(Kind::addToToolbar, address);
}
BookmarkAction BookmarkAction::removeFromToolbar(std::string_view address) {
    return withAddress(Kind::removeFromToolbar, address);
}
BookmarkAction BookmarkAction::edit(std::string_view address, std::string_view name,
                                    std::string_view summary) {
    BookmarkAction action = withAddress(Kind::edit, address);
    action.name = name;
    action.summary = summary;
    return action;
}
BookmarkAction BookmarkAction::forgetNote(std::string_view address, std::string_view id) {
    BookmarkAction action = withAddress(Kind::forgetNote, address);
    action.id = id;
    return action;
}
BookmarkAction BookmarkAction::marginalia(std::string_view address) {
    return withAddress(Kind::marginalia, address);
}
BookmarkAction BookmarkAction::press(Shortcut shortcut) {
    BookmarkAction action;
    action.kind = Kind::press;
    action.shortcut = shortcut;
    return action;
}

bool BookmarkAction::operator==(const BookmarkAction& other) const {
    if (kind != other.kind) return false;
    switch (kind) {
    case Kind::press:
        return shortcut == other.shortcut;
    case Kind::edit:
        return address == other.address && name == other.name && summary == other.summary;
    case Kind::forgetNote:
        return address == other.address && id == other.id;
    case Kind::remove:
    case Kind::addToToolbar:
    case Kind::removeFromToolbar:
    case Kind::marginalia:
        break;
    }
    return address == other.address;
}

std::string BookmarkAction::href() const {
    std::string out = std::string(scheme) + "://" + std::string(host(kind)) + "?";
    if (kind == Kind::press) {
        out += "k=";
        out += rawValue(shortcut);
        return out;
    }
    appendItem(out, 'a', address);
    if (kind == Kind::edit) {
        out += '&';
        appendItem(out, 'n', name);
        out += '&';
        appendItem(out, 's', summary);
    } else if (kind == Kind::forgetNote) {
        out += '&';
        appendItem(out, 'i', id);
    }
    return out;
}

std::map<std::string, std::string> BookmarkAction::fields(const Url& url) {
    std::map<std::string, std::string> result;
    for (const auto& item : url.queryItems()) {
        std::string value = item.value ? fieldValue(*item.value) : std::string();
        result.insert_or_assign(std::string(item.name), std::move(value));
    }
    return result;
}

std::optional<BookmarkAction> BookmarkAction::fromUrl(const Url& url) {
    auto view = url.view();
    if (!view.has_scheme() || text::asciiLowercased(view.scheme()) != scheme) return std::nullopt;
    if (!view.has_authority()) return std::nullopt;
    std::string actionHost = view.host();
    if (actionHost.empty()) return std::nullopt;

    auto query = fields(url);
    auto field = [&](const char* letter) -> std::string {
        auto found = query.find(letter);
        return found == query.end() ? std::string() : found->second;
    };

    if (actionHost == host(Kind::press)) {
        auto shortcut = fromRaw<Shortcut>(field("k"));
        if (!shortcut) return std::nullopt;
        return press(*shortcut);
    }

    std::string address = field("a");
    if (address.empty()) return std::nullopt;
    for (Kind kind : {Kind::remove, Kind::addToToolbar, Kind::removeFromToolbar, Kind::marginalia}) {
        if (actionHost == host(kind)) return withAddress(kind, address);
    }
    if (actionHost == host(Kind::edit)) return edit(address, field("n"), field("s"));
    if (actionHost == host(Kind::forgetNote)) {
        std::string id = field("i");
        if (id.empty()) return std::nullopt;
        return forgetNote(address, id);
    }
    return std::nullopt;
}

// ---------------------------------------------------------------------------------------------
// The stored bookmarks

namespace {

std::vector<Bookmark>::iterator firstWithAddress(std::vector<Bookmark>& bookmarks, std::string_view address) {
    return std::find_if(bookmarks.begin(), bookmarks.end(),
                        [&](const Bookmark& bookmark) { return bookmark.address == address; });
}

} // namespace

namespace Bookmarks {

std::vector<Bookmark> toolbar(const Preferences& preferences) {
    std::vector<Bookmark> shown = preferences.bookmarks();
    std::erase_if(shown, [](const Bookmark& bookmark) { return !bookmark.onToolbar; });
    return shown;
}

bool add(Preferences& preferences, const Bookmark& bookmark) {
    std::vector<Bookmark> list = preferences.bookmarks();
    std::string wanted = LocationBar::canonical(bookmark.address);
    for (const Bookmark& stored : list) {
        if (LocationBar::canonical(stored.address) == wanted) return false;
    }
    list.push_back(bookmark);
    preferences.setBookmarks(list);
    return true;
}

std::optional<Bookmark> remove(Preferences& preferences, std::string_view address) {
    std::vector<Bookmark> list = preferences.bookmarks();
    auto found = firstWithAddress(list, address);
    if (found == list.end()) return std::nullopt;
    Bookmark removed = std::move(*found);
    list.erase(found);

    // The notes filed under the address go with it, in the same write, unless another bookmark of the
    // very same address is still their home.
    Preferences::RecordChanges changes{.bookmarks = list};
    if (firstWithAddress(list, address) == list.end()) {
        std::vector<Note> kept = preferences.notes();
        if (std::erase_if(kept, [&](const Note& note) { return note.address == address; }) > 0)
            changes.notes = std::move(kept);
    }
    preferences.write(changes);
    return removed;
}

std::optional<Bookmark> setOnToolbar(Preferences& preferences, bool flag, std::string_view address) {
    std::vector<Bookmark> list = preferences.bookmarks();
    auto found = firstWithAddress(list, address);
    if (found == list.end() || found->onToolbar == flag) return std::nullopt;
    found->onToolbar = flag;
    Bookmark changed = *found;
    preferences.setBookmarks(list);
    return changed;
}

std::optional<Bookmark> edit(Preferences& preferences, std::string_view address, std::string_view name,
                             std::string_view summary) {
    std::vector<Bookmark> list = preferences.bookmarks();
    auto found = firstWithAddress(list, address);
    if (found == list.end()) return std::nullopt;
    Bookmark changed = found->edited(name, summary);
    if (changed == *found) return std::nullopt;
    *found = changed;
    preferences.setBookmarks(list);
    return changed;
}

std::optional<Bookmark> apply(Preferences& preferences, const BookmarkAction& action) {
    using Kind = BookmarkAction::Kind;
    switch (action.kind) {
    case Kind::remove:
        return remove(preferences, action.address);
    case Kind::addToToolbar:
        return setOnToolbar(preferences, true, action.address);
    case Kind::removeFromToolbar:
        return setOnToolbar(preferences, false, action.address);
    case Kind::edit:
        return edit(preferences, action.address, action.name, action.summary);
    case Kind::forgetNote:
    case Kind::marginalia:
    case Kind::press:
        break; // carried out by the window
    }
    return std::nullopt;
}

} // namespace Bookmarks

} // namespace nimb
