#pragma once

// The bookmarks page: every bookmark with its name and summary editable in place, its margin notes,
// and buttons for the toolbar and removal. `escape` lives with the page frame (PageFrame.h).

#include "base/Date.h"
#include "library/Bookmarks.h"
#include "library/History.h"
#include "library/Marginalia.h"
#include "pages/PageFrame.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace nimb::BookmarksPage {

// The whole document. `timeZone` as for HistoryPage::when (empty: the system's).
[[nodiscard]] std::string html(const std::vector<Bookmark>& bookmarks, const std::vector<Visit>& visits,
                               const std::vector<Note>& notes, Date now, std::string_view timeZone = {});

// An address made short for reading: a leading "https://" and "www." dropped (any case), then one
// trailing "/"; longer than `max` characters, its first `max - 1` and "…".
[[nodiscard]] std::string shortened(std::string_view address, std::int64_t max);

// The rows a text area needs for `text` at `width` characters a row: every line at least one, the
// sum held between 2 and 14.
[[nodiscard]] std::int64_t rows(std::string_view text, std::int64_t width);

// The pencil drawn after each field.
inline constexpr std::string_view pencil =
    "<svg class=\"pen\" width=\"15\" height=\"15\" viewBox=\"0 0 15 15\" aria-hidden=\"true\">"
    "<path d=\"M2 13l0.7-2.6 7-7 1.9 1.9-7 7L2 13z\" fill=\"currentColor\"/>"
    "<path d=\"M11.3 2.1l1.6 1.6-1.1 1.1-1.6-1.6 1.1-1.1z\" fill=\"currentColor\"/></svg>";

} // namespace nimb::BookmarksPage
