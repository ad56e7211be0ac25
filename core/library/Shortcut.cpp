#include "library/Shortcut.h"

#include "base/Text.h"
#include "vocabulary/Language.h"

namespace nimb {

namespace {

void removeAll(std::string& text, std::string_view part) {
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at))
        text.erase(at, part.size());
}

} // namespace

std::string name(Shortcut shortcut) {
    const Vocabulary& vocabulary = words();
    std::string word;
    switch (shortcut) {
    case Shortcut::find:
        word = vocabulary.findInPage();
        break;
    case Shortcut::marginalia:
        word = vocabulary.marginalia();
        break;
    case Shortcut::bookmarks:
        word = vocabulary.bookmarks();
        break;
    }
    removeAll(word, "...");
    removeAll(word, "\u2026");
    return std::string(text::trimmed(word));
}

} // namespace nimb
