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

std::string rules() {
    std::string out = PageFrame::bodyRuleStart();
    out += "; font-size:14px; padding:16px 16px 40px 16px; }\n"
           "  a { color:#7aa2ff; text-decoration:none; }\n"
           "  a:visited { color:#b79ce8; }\n"
           "  section { margin:0 0 22px 0; }\n"
           "  h2 { font-size:15px; font-weight:500; margin:0 0 8px 0; }\n"
           "  h2 a, h2 a:visited { color:#e9e9eb; }\n"
           "  h2 a:hover { text-decoration:underline; }\n"
           "  ol { margin:0; padding:0; list-style:none; }\n"
           "  li { border-left:2px solid #3a3a3c; padding:2px 0 2px 10px; margin:0 0 12px 0; }\n"
           "  li:hover { border-left-color:#8e8e93; }\n"
           "  p.said { white-space:pre-wrap; margin:0 0 4px 0; line-height:1.45; }\n"
           "  .stamp { display:flex; align-items:baseline; gap:8px; font-size:11px; color:#8e8e93; }\n"
           "  .from { flex:1; min-width:0; font-family:";
    out += Typeface::mono;
    out += "; ";
    out += Typeface::monoLigatures;
    out += "; white-space:nowrap; overflow:hidden; text-overflow:ellipsis; }\n"
           "  .from, .from:visited { color:#8e8e93; }\n"
           "  .from:hover { color:#e9e9eb; }\n"
           "  .x { margin-left:auto; color:#8e8e93; opacity:0; transition:opacity .12s; }\n"
           "  .x:visited { color:#8e8e93; }\n"
           "  li:hover .x { opacity:1; }\n"
           "  .x:hover { color:#e9e9eb; }\n"
           "  .none, .invite { font-size:13px; color:#8e8e93; }\n"
           "  .divide { font-size:11px; color:#8e8e93; border-top:1px solid #1f1f21; padding-top:10px; "
           "margin:0 0 14px 0; }\n";
    return out;
}

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
    out += PageFrame::doctype;
    appendEscaped(out, vocabulary.marginalia());
    out += PageFrame::titleEnd;
    out += PageFrame::colorSchemeRule;
    out += PageFrame::fontFaces;
    out += rules();
    out += PageFrame::headEnd;

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
