// The browser's own pages in the real engine, loaded as a tab loads them, must come out whole (see
// problems() below); the checks are proved first on pages broken on purpose.

#include "SamplePages.h"
#include "SampleRecords.h"
#include "WebTest.h"
#include "base/Text.h"
#include "base/Url.h"
#include "library/Bookmarks.h"
#include "library/History.h"
#include "pages/AssetScheme.h"
#include "report/ReportAction.h"
#include "vocabulary/Language.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace nimb::test {
namespace {

// Put into every page before anything of its own runs: keeps every error the page raises.
constexpr const char* errorRecorder = R"(
window.__pageErrors = [];
window.addEventListener('error', e => {
    const where = e.filename ? ' (' + e.filename + ':' + e.lineno + ')' : '';
    const what = e.message || ('failed to load ' + (e.target && (e.target.src || e.target.href) || e.type));
    window.__pageErrors.push(what + where);
}, true);
window.addEventListener('unhandledrejection', e => window.__pageErrors.push('unhandled rejection: ' + e.reason));
)";

// Lists what is wrong with the page as the engine holds it. The style text is split into rules and
// declarations as the CSS grammar does, and each is looked for in what the engine's parser kept.
constexpr const char* pageReader = R"((() => {
const problems = [];
if (!Array.isArray(window.__pageErrors)) problems.push('the error recorder did not run');
else for (const e of window.__pageErrors) problems.push('script error: ' + e);

// The index just past a comment or string that starts at i; i itself where none does.
const skip = (t, i) => {
    if (t[i] === '/' && t[i + 1] === '*') { const end = t.indexOf('*/', i + 2); return end < 0 ? t.length : end + 2; }
    if (t[i] !== '"' && t[i] !== "'") return i;
    for (let j = i + 1; j < t.length; j++) {
        if (t[j] === '\\') { j++; continue; }
        if (t[j] === t[i] || t[j] === '\n') return j + 1;
    }
    return t.length;
};
const withoutComments = t => {
    let out = '';
    for (let i = 0, e; i < t.length; i = e) {
        e = skip(t, i);
        out += e === i ? t[e++] : t[i] === '/' ? ' ' : t.slice(i, e);
    }
    return out.trim();
};
// The index of the brace closing the block opened at `open`, or -1.
const closing = (t, open) => {
    for (let i = open, depth = 0, e; i < t.length; i = e) {
        if ((e = skip(t, i)) !== i) continue;
        if (t[i] === '{') depth++;
        if (t[i] === '}' && --depth === 0) return i;
        e = i + 1;
    }
    return -1;
};
// The rules of a block of style text: {prelude, body} with body null for statements like @import.
const rulesOf = (t, where) => {
    const rules = [];
    let start = 0;
    for (let i = 0; i < t.length;) {
        const c = t[i];
        if (skip(t, i) !== i) { i = skip(t, i); continue; }
        if (c === '{') {
            const end = closing(t, i);
            if (end < 0) problems.push(where + ': "{" never closed after ' + JSON.stringify(withoutComments(t.slice(start, i))));
            rules.push({prelude: withoutComments(t.slice(start, i)), body: t.slice(i + 1, end < 0 ? t.length : end)});
            i = end < 0 ? t.length : end + 1;
            start = i;
            continue;
        }
        if (c === ';') {
            rules.push({prelude: withoutComments(t.slice(start, i)), body: null});
            start = ++i;
            continue;
        }
        if (c === '}') { problems.push(where + ': a "}" closes nothing'); start = ++i; continue; }
        i++;
    }
    const rest = withoutComments(t.slice(start));
    if (rest) problems.push(where + ': text after the last rule: ' + JSON.stringify(rest.slice(0, 60)));
    return rules;
};
const declarationsOf = body => {
    const out = [];
    let depth = 0, start = 0;
    for (let i = 0; i <= body.length;) {
        const c = body[i];
        if (i < body.length && skip(body, i) !== i) { i = skip(body, i); continue; }
        if (c === '(') depth++;
        if (c === ')') depth--;
        if (i === body.length || (c === ';' && depth === 0)) {
            const text = withoutComments(body.slice(start, i));
            if (text) out.push(text);
            start = i + 1;
        }
        i++;
    }
    return out;
};
const root = getComputedStyle(document.documentElement);
const checkDeclarations = (body, style, where) => {
    for (const declaration of declarationsOf(body)) {
        const colon = declaration.indexOf(':');
        if (colon < 0) { problems.push(where + ': no colon in "' + declaration + '"'); continue; }
        const property = declaration.slice(0, colon).trim();
        const name = property.startsWith('--') ? property : property.toLowerCase();
        if (!style.getPropertyValue(name))
            problems.push(where + ': the engine dropped "' + declaration + '"');
        // A value that reads custom properties is only checked where it is used, with them put in.
        const used = declaration.slice(colon + 1).replace(/var\((--[-\w]+)\)/g, (_, p) => root.getPropertyValue(p) || p + ' unset');
        if (!name.startsWith('--') && /var\(/.test(declaration) && !CSS.supports(name, used))
            problems.push(where + ': "' + declaration + '" comes to "' + used.trim() + '"');
    }
};
const squeeze = s => s.replace(/\s+/g, '').replace(/["']/g, '').toLowerCase();
const sameRule = (rule, kept) => {
    const at = rule.prelude.match(/^@([-a-z]+)\s*(.*)$/i);
    if (!at) return kept.type === CSSRule.STYLE_RULE && squeeze(kept.selectorText) === squeeze(rule.prelude);
    const name = at[1].toLowerCase();
    if (name === 'media') return kept.type === CSSRule.MEDIA_RULE && squeeze(kept.conditionText || kept.media.mediaText) === squeeze(at[2]);
    if (name === 'font-face') return kept.type === CSSRule.FONT_FACE_RULE;
    if (name === 'supports') return kept.type === CSSRule.SUPPORTS_RULE;
    return kept.cssText.toLowerCase().startsWith('@' + name);
};
const compare = (written, kept, where) => {
    let k = 0;
    for (const rule of written) {
        const label = where + ' ' + JSON.stringify(rule.prelude.slice(0, 60));
        if (k >= kept.length || !sameRule(rule, kept[k])) { problems.push(label + ': the engine dropped the rule'); continue; }
        const found = kept[k++];
        if (rule.body === null) continue;
        if (found.type === CSSRule.MEDIA_RULE || found.type === CSSRule.SUPPORTS_RULE)
            compare(rulesOf(rule.body, label), found.cssRules, label);
        else if (found.style)
            checkDeclarations(rule.body, found.style, label);
    }
    for (; k < kept.length; k++) problems.push(where + ': a rule nobody wrote: ' + kept[k].cssText.slice(0, 60));
};
const styles = [...document.querySelectorAll('style')];
styles.forEach((element, n) => {
    const where = 'style ' + (n + 1);
    if (!element.sheet) { problems.push(where + ': no style sheet'); return; }
    compare(rulesOf(element.textContent, where), element.sheet.cssRules, where);
});
for (const element of document.querySelectorAll('[style]'))
    checkDeclarations(element.getAttribute('style'), element.style, 'style attribute of ' + element.tagName.toLowerCase());

const scripts = document.querySelectorAll('script').length;
if (scripts) problems.push(scripts + ' script element(s)');
const links = [];
for (const element of document.querySelectorAll('*')) {
    for (const attribute of element.attributes) {
        const name = attribute.name.toLowerCase();
        if (name.startsWith('on')) problems.push('event handler ' + name + ' on ' + element.tagName.toLowerCase());
        if (!['href', 'src', 'action', 'formaction', 'xlink:href'].includes(name)) continue;
        const value = attribute.value;
        if (/^javascript:/i.test(value.replace(/[\u0000-\u0020]/g, '')))
            problems.push('a script address in ' + name + ' of ' + element.tagName.toLowerCase() + ': ' + value.slice(0, 60));
        links.push({element: element.tagName.toLowerCase(), attribute: name, value});
    }
}
if (!document.body || document.body.children.length === 0) problems.push('the page shows nothing');
return {problems, links, title: document.title, text: document.body ? document.body.innerText.length : 0};
})())";

// Waits for the typefaces the page asked for; how each fared.
constexpr const char* fontReader = R"(
await document.fonts.ready;
const faces = [];
document.fonts.forEach(face => faces.push({weight: String(face.weight), status: face.status}));
return faces;
)";

constexpr const char* sidewaysReader =
    "document.documentElement.scrollWidth - document.documentElement.clientWidth";

class PagesTest : public WebTest {
protected:
    std::unique_ptr<WebPage> view(int width) { return pageView(width, errorRecorder); }

    // Everything wrong with a page, from its text and from what the engine made of it.
    static std::vector<std::string> problems(WebPage& page, const std::string& html) {
        std::vector<std::string> found;
        // The engine takes the page as a C string: a NUL byte would cut it short there.
        if (html.find('\0') != std::string::npos) found.push_back("a NUL byte in the page");
        if (!text::isValidUtf8(html)) found.push_back("the page is not valid UTF-8");
        if (!text::startsWith(html, "<!DOCTYPE html>")) found.push_back("no doctype at the start");
        if (html.size() < 14 || html.substr(html.size() - 14) != "</body></html>")
            found.push_back("the page does not end with </body></html>");
        if (!page.loadHtml(html)) {
            found.push_back("did not load");
            return found;
        }
        auto read = page.evaluate(pageReader);
        if (!read || !read->is_object()) {
            found.push_back("could not be read back");
            return found;
        }
        for (const auto& problem : (*read)["problems"])
            found.push_back(problem.get<std::string>());
        for (const auto& link : (*read)["links"]) {
            const std::string value = link["value"].get<std::string>();
            if (auto problem = linkProblem(link["attribute"].get<std::string>(), value))
                found.push_back(*problem + ": " + value.substr(0, 80));
        }
        auto faces = page.callAsync(fontReader, nullptr);
        bool regular = false;
        if (faces && faces->is_array()) {
            for (const auto& face : *faces) {
                if (face["status"] == "error")
                    found.push_back("the face of weight " + face["weight"].get<std::string>() +
                                    " failed to load");
                if (face["weight"] == "400" && face["status"] == "loaded") regular = true;
            }
        }
        if (!regular) found.push_back("the regular face of Fira Sans did not load");
        return found;
    }

    // What is wrong with a link: another scheme than the pages may use, or an internal address no
    // part of the browser understands.
    static std::optional<std::string> linkProblem(const std::string& attribute, const std::string& value) {
        auto url = Url::parse(value);
        if (!url || !url->view().has_scheme()) return "an address that does not parse";
        const std::string scheme = text::asciiLowercased(url->view().scheme());
        if (attribute == "src")
            return scheme == "data" ? std::nullopt : std::optional<std::string>("a fetched source");
        if (scheme == "http" || scheme == "https" || scheme == "file") return std::nullopt;
        if (scheme != "nimb") return "a link to the " + scheme + " scheme";
        if (attribute == "action") {
            if (value == BookmarkAction::editAction || value == ReportAction::formAction) return std::nullopt;
            return "a form sent elsewhere than the edit or search address";
        }
        if (BookmarkAction::fromUrl(*url) || HistoryAction::fromUrl(*url) || ReportAction::fromUrl(*url))
            return std::nullopt;
        return "an internal address nothing understands";
    }

    static std::string join(const std::vector<std::string>& lines) {
        std::string out;
        for (const auto& line : lines)
            out += "\n  " + line;
        return out;
    }
};

// Each broken page must be caught, and by the right finding; a clean one must pass.
TEST_F(PagesTest, theChecksCatchBrokenPages) {
    const std::string head = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>t</title><style>\n"
                             "  @font-face { font-family:\"Fira Sans\"; font-weight:400; "
                             "src:url(nimb-asset:/FiraSans-Regular.ttf) format(\"truetype\"); }\n"
                             "  body { font-family:\"Fira Sans\"; color:#e9e9eb; }\n";
    const std::string tail = "</body></html>";
    auto make = [&](const std::string& rules, const std::string& body) {
        return head + rules + "</style></head><body><p>words</p>" + body + tail;
    };
    struct Case {
        const char* what;
        std::string html;
        const char* finding; // part of the expected finding; empty for a clean page
    };
    std::vector<Case> cases = {
        {"a clean page",
         make("", "<a href=\"https://example.com/\">x</a><a href=\"nimb://forget-all\">y</a>"), ""},
        {"a selector the engine cannot read", make("  .a:nonsense(1) { color:red; }\n", ""),
         "dropped the rule"},
        {"a declaration without a colon", make("  .a { font-size 13px; color:red; }\n", ""), "no colon"},
        {"a brace too few", make("  .a { color:red;\n  .b { color:blue; }\n", ""), "never closed"},
        {"a brace too many", make("  .a { color:red; } }\n  .b { color:blue; }\n", ""), "closes nothing"},
        {"a colour from a property nobody set", make("  .a { color:var(--nowhere); }\n", ""),
         "--nowhere unset"},
        {"a broken rule inside a media query", make("  @media (min-width:10px) { .a { width:10zz; } }\n", ""),
         "dropped \"width:10zz\""},
        {"a broken inline style", make("", "<span style=\"color:#FF4125; left:9 1%\">9</span>"),
         "dropped \"left:9 1%\""},
        {"a script that does not parse", make("", "<script>function (</script>"), "script error"},
        {"a script element", make("", "<script>var quiet = 1;</script>"), "script element"},
        {"a javascript: link", make("", "<a href=\" JavaScript:alert(1)\">x</a>"), "script address"},
        {"an event handler", make("", "<b onmouseover=\"x()\">x</b>"), "event handler onmouseover"},
        {"a link to another scheme", make("", "<a href=\"ftp://ftp.gnu.org/\">x</a>"), "the ftp scheme"},
        {"an internal link nothing understands", make("", "<a href=\"nimb://launch?a=1\">x</a>"),
         "nothing understands"},
        {"a form sent elsewhere", make("", "<form action=\"nimb://delete-everything\"></form>"),
         "form sent elsewhere"},
        {"a page cut short by a NUL byte", make(std::string("  .a { color:red; }\n") + '\0' + "\n", ""),
         "NUL"},
        {"a face that is not served",
         make("  @font-face { font-family:\"Fira Sans\"; font-weight:400; "
              "src:url(nimb-asset:/FiraSans-Bold.ttf); }\n",
              ""),
         "failed to load"},
    };
    // One of the real pages with a single declaration spoiled, and with its end cut off at a NUL.
    std::string spoiled = samples::render("history-full");
    const std::string declaration = "font-size:11px;";
    ASSERT_NE(spoiled.find(declaration), std::string::npos);
    std::string cut = spoiled;
    spoiled.replace(spoiled.find(declaration), declaration.size(), "font-size:11pz;");
    cut.insert(cut.find("</style>"), 1, '\0');
    cases.push_back({"a real page with one value spoiled", spoiled, "dropped \"font-size:11pz\""});
    cases.push_back({"a real page cut short", cut, "the page shows nothing"});

    auto page = view(1000);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto found = problems(*page, c.html);
        if (std::string(c.finding).empty()) {
            EXPECT_TRUE(found.empty()) << join(found);
            continue;
        }
        bool caught = std::any_of(found.begin(), found.end(), [&](const std::string& line) {
            return line.find(c.finding) != std::string::npos;
        });
        EXPECT_TRUE(caught) << "expected a finding with \"" << c.finding << "\", got:" << join(found);
    }

    // A line that cannot wrap makes a narrow window scroll sideways.
    auto narrow = view(480);
    ASSERT_TRUE(narrow->loadHtml(make("", "<pre>" + std::string(200, 'w') + "</pre>")));
    auto sideways = narrow->evaluate(sidewaysReader);
    ASSERT_TRUE(sideways && sideways->is_number());
    EXPECT_GT(sideways->get<double>(), 0);
}

// Every page of every kind, full and empty, in every language, at the width of a window and of its
// panels.
TEST_F(PagesTest, everyPageComesOutWholeInEveryLanguage) {
    auto wide = view(1000);
    auto narrow = view(480);
    for (const auto& sample : samples::pages()) {
        for (Language language : allCases<Language>) {
            const std::string name = sample.name + " (" + std::string(rawValue(language)) + ")";
            SCOPED_TRACE(name);
            const std::string html = samples::render(sample, language);
            auto found = problems(*wide, html);
            EXPECT_TRUE(found.empty()) << name << ":" << join(found);

            // A narrow window wraps the page; nothing may make it scroll sideways.
            ASSERT_TRUE(narrow->loadHtml(html));
            auto sideways = narrow->evaluate(sidewaysReader);
            ASSERT_TRUE(sideways && sideways->is_number());
            EXPECT_LE(sideways->get<double>(), 0) << name << " scrolls sideways at 480 pixels";
        }
    }
    // Records holding markup, quotes and script addresses show as text and link nowhere.
    for (const auto& sample : samples::hostilePages()) {
        auto found = problems(*wide, samples::render(sample, Language::english));
        EXPECT_TRUE(found.empty()) << sample.name << ":" << join(found);
    }
    // The pages fetch nothing: everything they show is in them or comes from the asset scheme.
    EXPECT_TRUE(m_proxy.requests().empty()) << m_proxy.requests().front().url;
}

// What the engine hands the browser when a link is followed or a form is sent on a generated page:
// the address it builds must parse back into the action the page meant.
class PageActions : public PagesTest {
protected:
    using Followed = std::vector<std::string>;

    // Stops every navigation away from the page and keeps its address.
    static void watch(WebPage& page, Followed& followed) {
        g_signal_connect(page.view(), "decide-policy",
                         G_CALLBACK(+[](WebKitWebView*, WebKitPolicyDecision* decision,
                                        WebKitPolicyDecisionType type, Followed* into) -> gboolean {
                             if (type != WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION) return FALSE;
                             auto* action = webkit_navigation_policy_decision_get_navigation_action(
                                 WEBKIT_NAVIGATION_POLICY_DECISION(decision));
                             const char* uri =
                                 webkit_uri_request_get_uri(webkit_navigation_action_get_request(action));
                             if (!uri || std::string_view(uri).starts_with("about:")) return FALSE;
                             into->emplace_back(uri);
                             webkit_policy_decision_ignore(decision);
                             return TRUE;
                         }),
                         &followed);
    }

    // Runs the script and gives the address of the navigation it started, parsed as the browser does.
    static std::optional<Url> follow(WebPage& page, Followed& followed, const std::string& script) {
        followed.clear();
        if (!page.evaluate(script) || !waitUntil([&] { return !followed.empty(); }, 5s)) return std::nullopt;
        EXPECT_TRUE(Url::parse(followed.front())) << followed.front();
        return Url::parse(followed.front());
    }
};

TEST_F(PageActions, formsAndLinksAskForWhatTheySay) {
    auto page = view(1000);
    Followed followed;
    watch(*page, followed);
    ASSERT_TRUE(page->loadHtml(samples::render("bookmarks-full")));

    // A name with a space, an ampersand and a plus the user typed; a summary of two lines.
    auto sent = follow(*page, followed, R"((() => {
        const form = document.querySelector('form');
        form.querySelector('.name').value = 'Fish & chips + peas';
        form.querySelector('.say').value = 'first line\nsecond line';
        form.querySelector('button[type=submit]').click();
        return true;
    })())");
    ASSERT_TRUE(sent.has_value()) << "the form was not sent";
    EXPECT_EQ(BookmarkAction::fromUrl(*sent),
              BookmarkAction::edit(samples::bookmarks().front().address, "Fish & chips + peas",
                                   "first line\nsecond line"))
        << sent->string();

    ASSERT_TRUE(page->loadHtml(samples::render("history-full", Language::french)));
    auto clear = follow(*page, followed, "document.querySelector('.top .btn').click(), true");
    ASSERT_TRUE(clear);
    EXPECT_EQ(HistoryAction::fromUrl(*clear), HistoryAction::forgetAll()) << clear->string();
    auto forget = follow(*page, followed, "document.querySelector('li .acts .btn').click(), true");
    ASSERT_TRUE(forget);
    EXPECT_EQ(HistoryAction::fromUrl(*forget), HistoryAction::forget(samples::visits().front().address));

    // The dossier's search on a kept report stays on that report.
    ASSERT_TRUE(page->loadHtml(samples::render("report-dossier-kept")));
    auto search = follow(*page, followed, R"((() => {
        const box = document.querySelector('form.find .q');
        box.value = '  adobe & counted  ';
        document.querySelector('form.find button[type=submit]').click();
        return true;
    })())");
    ASSERT_TRUE(search) << "the search form was not sent";
    EXPECT_EQ(ReportAction::fromUrl(*search),
              ReportAction::show(NimbReportPage::View::dossier, "adobe & counted",
                                 samples::savedReports().front().id))
        << search->string();
}

// The asset scheme as the engine hands it requests: the two faces, whole and with their type, from
// any directory; anything else fails as a missing file. (Which names it serves is AssetSchemeTest's;
// that the pages reach it is everyPageComesOutWholeInEveryLanguage's.) A context takes the scheme once;
// the browser may ask again for every window without harm.
TEST_F(PagesTest, theAssetSchemeInstallsOnceAndAnswersWithTheFaceOrNotFound) {
    auto* context = webkit_web_context_new();
    EXPECT_TRUE(AssetSchemeHandler::install(context));
    EXPECT_FALSE(AssetSchemeHandler::install(context));
    g_object_unref(context);
    EXPECT_FALSE(AssetSchemeHandler::install(nullptr));

    auto page = view(1000);
    struct Answer {
        bool done = false;
        std::string mimeType;
        std::int64_t length = -1;
        GQuark errorDomain = 0;
        int errorCode = 0;
    };
    Answer answer;
    g_signal_connect(page->view(), "decide-policy",
                     G_CALLBACK(+[](WebKitWebView*, WebKitPolicyDecision* decision,
                                    WebKitPolicyDecisionType type, Answer* into) -> gboolean {
                         if (type != WEBKIT_POLICY_DECISION_TYPE_RESPONSE) return FALSE;
                         auto* response = webkit_response_policy_decision_get_response(
                             WEBKIT_RESPONSE_POLICY_DECISION(decision));
                         into->mimeType = webkit_uri_response_get_mime_type(response);
                         into->length =
                             static_cast<std::int64_t>(webkit_uri_response_get_content_length(response));
                         into->done = true;
                         webkit_policy_decision_ignore(decision);
                         return TRUE;
                     }),
                     &answer);
    g_signal_connect(
        page->view(), "load-failed",
        G_CALLBACK(+[](WebKitWebView*, WebKitLoadEvent, char*, GError* error, Answer* into) -> gboolean {
            // Turning a face away (above) interrupts its load, and the next address cancels the error
            // page of the last: neither is the answer looked for.
            if (!into->done && error->domain != WEBKIT_POLICY_ERROR &&
                !g_error_matches(error, WEBKIT_NETWORK_ERROR, WEBKIT_NETWORK_ERROR_CANCELLED)) {
                into->errorDomain = error->domain;
                into->errorCode = error->code;
                into->done = true;
            }
            return FALSE;
        }),
        &answer);

    const std::pair<const char*, const char*> cases[] = {
        {"nimb-asset:/FiraSans-Medium.ttf", "FiraSans-Medium.ttf"},
        {"nimb-asset:/some/where/else/FiraSans-Regular.ttf", "FiraSans-Regular.ttf"},
        {"nimb-asset:///FiraSans-Medium.ttf", "FiraSans-Medium.ttf"},
        {"nimb-asset:/FiraSans-Bold.ttf", nullptr},
        {"nimb-asset:/../../../../etc/passwd", nullptr},
        {"nimb-asset:/fira%2Fsans-regular.ttf", nullptr},
    };
    for (const auto& [address, face] : cases) {
        SCOPED_TRACE(address);
        answer = {};
        webkit_web_view_load_uri(page->view(), address);
        ASSERT_TRUE(waitUntil([&] { return answer.done; }, 10s));
        if (face) {
            EXPECT_EQ(answer.mimeType, "font/ttf");
            EXPECT_EQ(answer.length, static_cast<std::int64_t>(std::filesystem::file_size(
                                         AssetSchemeHandler::fontsDirectory() / face)));
        } else {
            EXPECT_TRUE(answer.mimeType.empty());
            EXPECT_EQ(answer.errorDomain, G_IO_ERROR);
            EXPECT_EQ(answer.errorCode, G_IO_ERROR_NOT_FOUND);
        }
    }
}

} // namespace
} // namespace nimb::test
