#include "pages/MarginaliaPage.h"

#include "library/Bookmarks.h"
#include "pages/BookmarksPage.h"
#include "pages/HistoryPage.h"
#include "pages/PageFrame.h"
#include "vocabulary/Language.h"

#include <algorithm>

namespace nimb::MarginaliaPage {

namespace {

using BookmarksPage::appendEscaped;

void appendNote(std::string& out, const Note& note, const HistoryPage::WhenFormatter& when,
                const Vocabulary& vocabulary) {
    out += "<li><p class=\"said\">";
    appendEscaped(out, note.text);
    out += "</p><div class=\"stamp\"><span>";
    appendEscaped(out, when(note.made));
    out += "</span>";
    if (note.source != note.address && PageFrame::isNavigable(note.source)) {
        out += "<a class=\"from\" href=\"";
        appendEscaped(out, note.source);
        out += "\">";
        appendEscaped(out, BookmarksPage::shortened(note.source, 34));
        out += "</a>";
    }
    out += "<a class=\"x\" href=\"";
    appendEscaped(out, BookmarkAction::forgetNote(note.address, note.id).href());
    out += "\" title=\"";
    appendEscaped(out, vocabulary.forget());
    out += "\">\u00d7</a></div></li>";
}

void appendShelf(std::string& out, const Shelf& shelf, const HistoryPage::WhenFormatter& when,
                 const Vocabulary& vocabulary) {
    const std::string label = !shelf.name.empty() && shelf.name != shelf.address
                                  ? shelf.name
                                  : BookmarksPage::shortened(shelf.address, 46);
    out += "<section>";
    if (PageFrame::isNavigable(shelf.address)) {
        out += "<h2><a href=\"";
        appendEscaped(out, shelf.address);
        out += "\">";
        appendEscaped(out, label);
        out += "</a></h2>";
    } else {
        out += "<h2>";
        appendEscaped(out, label);
        out += "</h2>";
    }
    if (shelf.notes.empty()) {
        out += "<p class=\"invite\">";
        appendEscaped(out, vocabulary.marginaliaHow());
        out += "</p></section>";
        return;
    }
    out += "<ol>\n";
    for (std::size_t i = 0; i < shelf.notes.size(); ++i) {
        if (i > 0) out += '\n';
        appendNote(out, shelf.notes[i], when, vocabulary);
    }
    out += "\n</ol></section>";
}

} // namespace

std::string html(const std::vector<Shelf>& shelves, const std::optional<std::string>& here, Date now,
                 std::string_view timeZone) {
    const Vocabulary& vocabulary = words();
    std::string out;
    out.reserve(4096 + shelves.size() * 1024);
    PageFrame::appendHead(out, vocabulary.marginalia(), PageStyles::marginalia);

    bool anyNote =
        std::any_of(shelves.begin(), shelves.end(), [](const Shelf& s) { return !s.notes.empty(); });
    if (!anyNote && !here) {
        out += "<p class=\"none\">";
        appendEscaped(out, vocabulary.nothingInTheMargin());
        out += "</p>";
    } else {
        HistoryPage::WhenFormatter when(now, timeZone);
        bool divided = false;
        bool first = true;
        for (const Shelf& shelf : shelves) {
            if (!first) out += '\n';
            first = false;
            if (here && shelf.address != *here && !divided) {
                divided = true;
                out += "<p class=\"divide\">";
                appendEscaped(out, vocabulary.elsewhereOnThisSite());
                out += "</p>\n";
            }
            appendShelf(out, shelf, when, vocabulary);
        }
    }
    out += "</body></html>";
    return out;
}

} // namespace nimb::MarginaliaPage
