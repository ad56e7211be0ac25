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

std::string rules() {
    const std::string sans(Typeface::sans);
    const std::string mono = std::string(Typeface::mono) + "; " + std::string(Typeface::monoLigatures);
    std::string out;
    out += "; font-size:15px; margin:0; padding:40px 34px 60px 34px; }\n"
           "  .sheet { max-width:720px; margin:0 auto; }\n"
           "  h1 { font-family:" +
           sans +
           "; font-size:46px; font-weight:400; margin:0; color:#e9e9eb; "
           "letter-spacing:-1px; text-align:center; }\n"
           "  .keys { display:flex; justify-content:center; flex-wrap:wrap; gap:22px; margin:18px 0 52px 0; "
           "padding:0; }\n"
           "  .keys a { display:inline-flex; align-items:center; gap:8px; font-size:12px; color:#8e8e93; "
           "text-decoration:none; }\n"
           "  .keys a:visited { color:#8e8e93; }\n"
           "  .keys a:hover { color:#e9e9eb; }\n"
           "  kbd { font-family:" +
           mono +
           "; font-size:11px; color:#8e8e93; background:#1f1f21; "
           "border:1px solid #3a3a3c; border-radius:5px; padding:3px 7px; }\n"
           "  .keys a:hover kbd { color:#e9e9eb; border-color:#8e8e93; background:#3a3a3c; }\n"
           "  ol { margin:0; padding:0; list-style:none; }\n"
           "  li { padding:0 0 34px 0; margin:0 0 34px 0; border-bottom:1px solid #1f1f21; }\n"
           "  li:last-child { border-bottom:none; }\n"
           "  form { margin:0; }\n"
           "  .field { display:flex; align-items:flex-start; gap:8px; }\n"
           "  .pen { flex:none; color:#8e8e93; opacity:0; margin-top:6px; transition:opacity .12s; }\n"
           "  li:hover .pen { opacity:0.6; }\n"
           "  .name, .say { flex:1; min-width:0; display:block; width:100%; font-family:" +
           sans +
           "; "
           "background:transparent; color:#e9e9eb; border:1px solid transparent; border-radius:7px; "
           "padding:3px 6px; margin-left:-7px; }\n"
           "  .name:hover, .say:hover { background:#121214; }\n"
           "  .name:focus, .say:focus { background:#121214; border-color:#3a3a3c; outline:none; }\n"
           "  .name { font-size:34px; font-weight:500; letter-spacing:-0.6px; line-height:1.15; }\n"
           "  .say { font-size:17px; line-height:1.55; resize:vertical; margin-top:10px; }\n"
           "  .name::placeholder, .say::placeholder { color:#5a5a5f; }\n"
           "  .addr { display:inline-block; margin:6px 0 0 0; font-size:12px; font-family:" +
           mono +
           "; "
           "color:#8e8e93; text-decoration:none; word-break:break-all; }\n"
           "  a.addr:visited { color:#8e8e93; }\n"
           "  a.addr:hover { color:#7aa2ff; text-decoration:underline; }\n"
           "  .foot { display:flex; align-items:baseline; justify-content:space-between; gap:20px; "
           "margin-top:16px; flex-wrap:wrap; }\n"
           "  .facts { font-size:12px; color:#8e8e93; }\n"
           "  .acts { display:flex; align-items:baseline; justify-content:flex-end; gap:8px; flex-wrap:wrap; "
           "margin-left:auto; }\n"
           "  .btn { display:inline-block; padding:6px 12px; font-size:12px; font-family:" +
           sans +
           "; "
           "text-decoration:none; color:#e9e9eb; background:#1f1f21; border:1px solid #3a3a3c; "
           "border-radius:6px; cursor:default; }\n"
           "  .btn:visited { color:#e9e9eb; }\n"
           "  .btn:hover { background:#3a3a3c; }\n"
           "  .btn:active { background:#1f1f21; }\n"
           "  .btn.gone:hover { text-decoration:line-through; }\n"
           "  .keep { display:none; }\n"
           "  li:hover .keep, form:focus-within .keep { display:inline-block; }\n"
           "  .keep.save { background:#3a3a3c; }\n"
           "  .none { color:#8e8e93; font-size:17px; padding:8px 0; text-align:center; }\n";
    return out;
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
    PageFrame::appendPrologue(out, title);
    out += rules();
    out += PageFrame::headEnd;
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
