#include "records/Bookmark.h"

#include "base/Text.h"

namespace nimb {

std::optional<Url> Bookmark::url() const {
    return Url::parse(address);
}

std::string Bookmark::label(std::int64_t max) const {
    if (max <= 0) return {};
    auto limit = static_cast<std::size_t>(max);
    // Only the first max + 1 characters matter; this keeps a huge name from being counted whole.
    std::string_view head = text::prefix(name, limit + 1);
    if (text::characterCount(head) <= limit) return name;
    return std::string(text::prefix(head, limit - 1)) + "\u2026";
}

Bookmark Bookmark::withOnToolbar(bool flag) const {
    Bookmark copy = *this;
    copy.onToolbar = flag;
    return copy;
}

Bookmark Bookmark::edited(std::string_view newName, std::string_view newSummary) const {
    Bookmark copy = *this;
    if (std::string_view trimmedName = text::trimmed(newName); !trimmedName.empty()) copy.name = trimmedName;
    copy.summary = text::trimmed(newSummary);
    return copy;
}

} // namespace nimb
