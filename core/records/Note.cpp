#include "records/Note.h"

#include "base/Text.h"

namespace nimb {

Note Note::make(std::string id, std::string address, std::optional<std::string> source, std::string text,
                Date made) {
    std::string from = source ? std::move(*source) : address;
    return Note{std::move(id), std::move(address), std::move(from), std::move(text), made};
}

std::string Note::line(std::int64_t max) const {
    if (max <= 0) return {};
    std::string_view first = text;
    first = first.substr(0, first.find_first_of("\r\n"));
    auto limit = static_cast<std::size_t>(max);
    // Only the first max + 1 characters matter; this keeps a huge line from being counted whole.
    std::string_view head = text::prefix(first, limit + 1);
    if (text::characterCount(head) <= limit) return std::string(first);
    return std::string(text::prefix(head, limit - 1)) + "\u2026";
}

} // namespace nimb
