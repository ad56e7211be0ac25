#pragma once

#include "base/Date.h"
#include "records/Bookmark.h"
#include "records/Note.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nimb {

class Preferences;

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

// The stored notes

// The stored notes filed under exactly `address`, oldest first.
[[nodiscard]] std::vector<Note> notes(const Preferences& preferences, std::string_view address);
// Keeps the tidied selection as a note on the page at `address`, filed under its home; a page without
// one is bookmarked first (named by its title). None, and nothing written, when nothing is left of the
// text or the address is not a web or file page.
std::optional<Note> addNote(Preferences& preferences, std::string_view text, std::string_view address,
                            std::string_view title, Date at);
// Forgets the first note with the identifier; none, and nothing written, when there is none.
std::optional<Note> forgetNote(Preferences& preferences, std::string_view id);

} // namespace Marginalia

} // namespace nimb
