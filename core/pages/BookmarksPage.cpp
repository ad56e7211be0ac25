#include "pages/BookmarksPage.h"

#include "base/Text.h"
#include "pages/HistoryPage.h"
#include "vocabulary/Language.h"

#include <algorithm>
#include <unordered_map>

namespace nimb::BookmarksPage {

namespace {

bool startsWithIgnoringCase(std::string_view text, std::string_view start) {
    if (text.size() < start.size()) return false;
    return text::asciiLowercased(text.substr(0, start.size())) == start;
}

void appendLinkButton(std::string& out, const BookmarkAction& action, std::string_view extraClass,
                      std::string_view label) {
    out += "<a class=\"btn";
    if (!extraClass.empty()) {
        out += ' ';
        out += extraClass;
    }
    out += "\" href=\"";
    appendEscaped(out, action.href());
    out += "\">";
    appendEscaped(out, label);
    out += "</a>";
}

void appendShortcuts(std::string& out) {
    out += "  <p class=\"keys\">";
    bool first = true;
    for (Shortcut shortcut : allCases<Shortcut>) {
        if (!first) out += "\n    ";
        first = false;
        out += "<a href=\"";
        appendEscaped(out, BookmarkAction::press(shortcut).href());
        out += "\"><kbd>";
        appendEscaped(out, keys(shortcut));
        out += "</kbd>";
        appendEscaped(out, name(shortcut));
        out += "</a>";
    }
    out += "</p>\n";
}

struct RowContext {
    const Vocabulary& vocabulary;
    const HistoryPage::WhenFormatter& when;
    const std::unordered_map<std::string_view, const Visit*>& visitOf;
    const std::unordered_map<std::string_view, std::int64_t>& notesOf;
};

void appendRow(std::string& out, const Bookmark& bookmark, const RowContext& context) {
    const Vocabulary& vocabulary = context.vocabulary;
    out += "    <li><form method=\"get\" action=\"";
    appendEscaped(out, BookmarkAction::editAction);
    out += "\" autocomplete=\"off\"><input type=\"hidden\" name=\"a\" value=\"";
    appendEscaped(out, bookmark.address);
    out += "\"><div class=\"field\"><input class=\"name\" type=\"text\" name=\"n\" spellcheck=\"false\" "
           "value=\"";
    appendEscaped(out, bookmark.name);
    out += "\" placeholder=\"";
    appendEscaped(out, vocabulary.namePlaceholder());
    out += "\">";
    out += pencil;
    out += "</div>";

    if (PageFrame::isWeb(bookmark.address)) {
        out += "<a class=\"addr\" href=\"";
        appendEscaped(out, bookmark.address);
        out += "\">";
        appendEscaped(out, shortened(bookmark.address, 78));
        out += "</a>";
    } else {
        out += "<span class=\"addr\">";
        appendEscaped(out, shortened(bookmark.address, 78));
        out += "</span>";
    }

    out += "<div class=\"field\"><textarea class=\"say\" name=\"s\" rows=\"";
    out += std::to_string(rows(bookmark.summary, 66));
    out += "\" placeholder=\"";
    appendEscaped(out, vocabulary.summaryPlaceholder());
    out += "\">";
    // The parser drops one line break right after the opening tag; keep a summary's own.
    if (!bookmark.summary.empty() && (bookmark.summary.front() == '\n' || bookmark.summary.front() == '\r'))
        out += '\n';
    appendEscaped(out, bookmark.summary);
    out += "</textarea>";
    out += pencil;
    out += "</div>";

    out += "<div class=\"foot\"><span class=\"facts\">";
    auto visit = context.visitOf.find(bookmark.address);
    if (visit != context.visitOf.end()) {
        appendEscaped(out, vocabulary.visitCount(visit->second->visits));
        out += " \u00b7 ";
        appendEscaped(out, context.when(visit->second->last));
    } else {
        appendEscaped(out, vocabulary.notVisited());
    }
    out += "</span><span class=\"acts\"><button class=\"btn keep save\" type=\"submit\">";
    appendEscaped(out, vocabulary.save());
    out += "</button><button class=\"btn keep\" type=\"reset\">";
    appendEscaped(out, vocabulary.revert());
    out += "</button>";
    auto notes = context.notesOf.find(bookmark.address);
    appendLinkButton(out, BookmarkAction::marginalia(bookmark.address), {},
                     vocabulary.marginCount(notes == context.notesOf.end() ? 0 : notes->second));
    if (bookmark.onToolbar) {
        appendLinkButton(out, BookmarkAction::removeFromToolbar(bookmark.address), {},
                         vocabulary.removeFromToolbar());
    } else {
        appendLinkButton(out, BookmarkAction::addToToolbar(bookmark.address), {}, vocabulary.addToToolbar());
    }
    appendLinkButton(out, BookmarkAction::remove(bookmark.address), "gone", vocabulary.remove());
    out += "</span></div></form></li>";
}

} // namespace

std::string shortened(std::string_view address, std::int64_t max) {
    std::string_view rest = address;
    if (startsWithIgnoringCase(rest, "https://")) rest.remove_prefix(8);
    if (startsWithIgnoringCase(rest, "www.")) rest.remove_prefix(4);
    if (!rest.empty() && rest.back() == '/') rest.remove_suffix(1);
    if (max <= 0) return {};
    auto limit = static_cast<std::size_t>(max);
    // Only the first max + 1 characters matter; a huge address is not counted whole.
    std::string_view head = text::prefix(rest, limit + 1);
    if (text::characterCount(head) <= limit) return std::string(rest);
    return std::string(text::prefix(head, limit - 1)) + "\u2026";
}

std::int64_t rows(std::string_view text, std::int64_t width) {
    constexpr std::int64_t least = 2;
    constexpr std::int64_t most = 14;
    std::int64_t total = 0;
    for (std::string_view line : text::split(text, '\n')) {
        std::int64_t count = 1;
        if (width > 0 && !line.empty()) {
            // Past `most` rows the exact count no longer matters.
            auto enough = static_cast<std::size_t>(width) * static_cast<std::size_t>(most) + 1;
            auto characters = static_cast<std::int64_t>(text::characterCount(text::prefix(line, enough)));
            count = std::max<std::int64_t>(1, (characters + width - 1) / width);
        }
        total += count;
        if (total >= most) return most;
    }
    return std::clamp(total, least, most);
}

std::string html(const std::vector<Bookmark>& bookmarks, const std::vector<Visit>& visits,
                 const std::vector<Note>& notes, Date now, std::string_view timeZone) {
    const Vocabulary& vocabulary = words();
    const std::string title = vocabulary.bookmarks();
    std::string out;
    out.reserve(8192 + bookmarks.size() * 2400);
    PageFrame::appendHead(out, title, PageStyles::bookmarks);
    out += "\n<div class=\"sheet\">\n  <h1>";
    appendEscaped(out, title);
    out += "</h1>\n";
    appendShortcuts(out);
    out += "  <ol>\n";

    if (bookmarks.empty()) {
        out += "    <li class=\"none\">";
        appendEscaped(out, vocabulary.nothingFiled());
        out += "</li>";
    } else {
        // The first visit of each address, and the number of notes filed under each.
        std::unordered_map<std::string_view, const Visit*> visitOf;
        for (const Visit& visit : visits)
            visitOf.try_emplace(visit.address, &visit);
        std::unordered_map<std::string_view, std::int64_t> notesOf;
        for (const Note& note : notes)
            ++notesOf[note.address];
        HistoryPage::WhenFormatter when(now, timeZone);
        RowContext context{vocabulary, when, visitOf, notesOf};
        for (std::size_t i = 0; i < bookmarks.size(); ++i) {
            if (i > 0) out += '\n';
            appendRow(out, bookmarks[i], context);
        }
    }
    out += "\n  </ol>\n</div>\n</body></html>";
    return out;
}

} // namespace nimb::BookmarksPage
