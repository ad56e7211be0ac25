#pragma once

#include "base/Url.h"
#include "library/Shortcut.h"
#include "records/Bookmark.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nimb {

class Preferences;

// What a generated page asks of the browser through a `nimb://` link or form. Only the fields of
// the action's kind carry meaning; make actions through the named constructors.
struct BookmarkAction {
    enum class Kind {
        remove,            // a
        addToToolbar,      // a
        removeFromToolbar, // a
        edit,              // a, name, summary
        forgetNote,        // a, id
        marginalia,        // a
        press,             // shortcut
    };

    static constexpr std::string_view scheme = "nimb";
    // Where the bookmarks page's edit forms submit.
    static constexpr std::string_view editAction = "nimb://edit";

    Kind kind = Kind::remove;
    std::string address; // empty for press
    std::string name;
    std::string summary;
    std::string id;
    Shortcut shortcut = Shortcut::find;

    [[nodiscard]] static BookmarkAction remove(std::string_view address);
    [[nodiscard]] static BookmarkAction addToToolbar(std::string_view address);
    [[nodiscard]] static BookmarkAction removeFromToolbar(std::string_view address);
    [[nodiscard]] static BookmarkAction edit(std::string_view address, std::string_view name,
                                             std::string_view summary);
    [[nodiscard]] static BookmarkAction forgetNote(std::string_view address, std::string_view id);
    [[nodiscard]] static BookmarkAction marginalia(std::string_view address);
    [[nodiscard]] static BookmarkAction press(Shortcut shortcut);

    // The internal address that asks for this action, e.g. "nimb://remove?a=https%3A%2F%2F...".
    [[nodiscard]] std::string href() const;
    // The action an internal address asks for; none for anything else.
    [[nodiscard]] static std::optional<BookmarkAction> fromUrl(const Url& url);
    // The decoded query of an address, the way a submitted form means it: "+" is a space, "\r\n" a
    // line feed, and a later field replaces an earlier one of the same name.
    [[nodiscard]] static std::map<std::string, std::string> fields(const Url& url);

    // Equal when the kinds are, and the values that kind carries.
    bool operator==(const BookmarkAction& other) const;
};

// The stored bookmarks. Each operation changes at most the one bookmark its address finds first
// (bookmarks compared by exact address) and writes the list back only when something changed.
namespace Bookmarks {

// The bookmarks the personal toolbar shows, in order.
[[nodiscard]] std::vector<Bookmark> toolbar(const Preferences& preferences);
// Files a bookmark at the end of the list; false when its page (compared in canonical form) already is.
bool add(Preferences& preferences, const Bookmark& bookmark);
// Removes the first bookmark of the address, and the notes filed under it unless another bookmark of
// the same address remains their home.
std::optional<Bookmark> remove(Preferences& preferences, std::string_view address);
std::optional<Bookmark> setOnToolbar(Preferences& preferences, bool flag, std::string_view address);
std::optional<Bookmark> edit(Preferences& preferences, std::string_view address, std::string_view name,
                             std::string_view summary);
// Carries out the stored part of a bookmarks page's action; the changed (or removed) bookmark.
std::optional<Bookmark> apply(Preferences& preferences, const BookmarkAction& action);

} // namespace Bookmarks

} // namespace nimb
