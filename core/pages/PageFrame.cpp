#include "pages/PageFrame.h"

#include "base/Text.h"
#include "base/Url.h"
#include "location/LocationBar.h"

namespace nimb {

namespace PageFrame {

namespace {

void appendBodyRuleStart(std::string& out) {
    out += "\n  body { background:";
    out += Palette::background;
    out += "; color:";
    out += Palette::text;
    out += "; font-family:";
    out += Typeface::sans;
}

void appendPrologue(std::string& out, std::string_view title) {
    out += doctype;
    BookmarksPage::appendEscaped(out, title);
    out += titleEnd;
    out += colorSchemeRule;
    out += fontFaces;
    appendBodyRuleStart(out);
}

// After the opening of the body rule: its end, the custom properties, the page's own rules.
void appendRest(std::string& out, std::string_view rules) {
    out += " }\n  :root {\n";
    for (const Property& property : properties) {
        out += "    --";
        out += property.name;
        out += ':';
        out += property.value;
        out += ";\n";
    }
    out += "  }\n";
    out += rules;
}

} // namespace

std::string prologue(std::string_view title) {
    std::string out;
    appendPrologue(out, title);
    return out;
}

std::string styleSheet(std::string_view rules) {
    std::string out;
    out.reserve(1536 + rules.size());
    out += colorSchemeRule;
    out += fontFaces;
    appendBodyRuleStart(out);
    appendRest(out, rules);
    return out;
}

void appendHead(std::string& out, std::string_view title, std::string_view rules) {
    appendPrologue(out, title);
    appendRest(out, rules);
    out += '\n';
    out += headEnd;
}

std::string document(std::string_view title, std::string_view rules, std::string_view body) {
    std::string out;
    out.reserve(1536 + rules.size() + body.size());
    appendHead(out, title, rules);
    out += body;
    return out;
}

namespace {

std::optional<std::string> schemeOf(std::string_view address) {
    auto url = Url::parse(address);
    if (!url || !url->view().has_scheme()) return std::nullopt;
    return text::asciiLowercased(url->view().scheme());
}

} // namespace

bool isNavigable(std::string_view address) {
    auto scheme = schemeOf(address);
    return scheme && LocationBar::isNavigableScheme(*scheme);
}

bool isWeb(std::string_view address) {
    auto scheme = schemeOf(address);
    return scheme && (*scheme == "http" || *scheme == "https");
}

} // namespace PageFrame

namespace BookmarksPage {

void appendEscaped(std::string& out, std::string_view text) {
    std::size_t plain = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        std::string_view replacement;
        switch (text[at]) {
        case '&':
            replacement = "&amp;";
            break;
        case '<':
            replacement = "&lt;";
            break;
        case '>':
            replacement = "&gt;";
            break;
        case '"':
            replacement = "&quot;";
            break;
        case '\'':
            replacement = "&#39;";
            break;
        default:
            continue;
        }
        out.append(text, plain, at - plain);
        out += replacement;
        plain = at + 1;
    }
    out.append(text, plain, text.size() - plain);
}

std::string escape(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    appendEscaped(out, text);
    return out;
}

} // namespace BookmarksPage

} // namespace nimb
