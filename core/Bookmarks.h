#pragma once

#include "Shortcut.h"
#include "Url.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nimb {

// A filed page: its name, its address, whether the personal toolbar shows it, and what the user
// wrote about it.
struct Bookmark {
    std::string name;
    std::string address;
    bool onToolbar = true;
    std::string summary;

    // What the browser files for a new user: nothing.
    [[nodiscard]] static std::vector<Bookmark> defaults() { return {}; }

    // The address parsed, or none when it does not parse.
    [[nodiscard]] std::optional<Url> url() const;
    // The name cut to at most `max` characters, its last one then being "…".
    [[nodiscard]] std::string label(std::int64_t max) const;
    [[nodiscard]] Bookmark withOnToolbar(bool flag) const;
    // A copy with a new name and summary, both trimmed; a blank name keeps the old one, a blank
    // summary clears it.
    [[nodiscard]] Bookmark edited(std::string_view newName, std::string_view newSummary) const;

    bool operator==(const Bookmark&) const = default;
};

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

} // namespace nimb
