#pragma once

#include "Bookmarks.h"
#include "Date.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nimb {

// A note in the margin: text the user selected on a page (`source`), filed under the address of a
// bookmark (`address`, the note's home).
struct Note {
    std::string id;
    std::string address;
    std::string source;
    std::string text;
    Date made;

    // A note whose source, when none is given, is its home.
    [[nodiscard]] static Note make(std::string id, std::string address, std::optional<std::string> source,
                                   std::string text, Date made);

    // The first line of the text, cut to at most `max` characters, its last one then being "…".
    [[nodiscard]] std::string line(std::int64_t max) const;

    bool operator==(const Note&) const = default;
};

// The notes of one home address, as the margin shows them; never stored.
struct Shelf {
    // The bookmark's name for the address, or the address when it has no named bookmark.
    std::string name;
    std::string address;
    // Oldest first.
    std::vector<Note> notes;

    bool operator==(const Shelf&) const = default;
};

namespace Marginalia {

// What `newest` answers for a shelf without notes: the first moment of year 1.
inline constexpr Date distantPast{-62135596800.0};

// Selected text made fit to keep: line ends unified, every line trimmed of spaces and tabs, leading
// and trailing blank lines dropped, runs of blank lines made one. None when nothing is left.
[[nodiscard]] std::optional<std::string> tidy(std::string_view text);

// The lower-cased host of `address` without a leading "www."; none when it has no host.
[[nodiscard]] std::optional<std::string> site(std::string_view address);

// The address of the bookmark a note taken on `address` is filed under: the bookmark of the same page
// (compared in canonical form), else the first bookmark of the same site; none when there is neither.
[[nodiscard]] std::optional<std::string> home(std::string_view address,
                                              const std::vector<Bookmark>& bookmarks);

// The notes filed under exactly `address`, oldest first (equal dates keep their order).
[[nodiscard]] std::vector<Note> notes(std::string_view address, const std::vector<Note>& notes);

// The shelves of the margin. With `here`, its shelf comes first (even empty), followed by the other
// shelves of its site; without, every shelf. Either way newest shelf first, then by address.
[[nodiscard]] std::vector<Shelf> shelves(const std::vector<Note>& notes,
                                         const std::vector<Bookmark>& bookmarks,
                                         const std::optional<std::string>& here);

// When the shelf's newest note was made; `distantPast` for an empty shelf.
[[nodiscard]] Date newest(const Shelf& shelf);

} // namespace Marginalia

} // namespace nimb
