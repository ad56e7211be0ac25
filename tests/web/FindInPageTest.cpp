// Find in page inside the real engine: folding, blocks, text fields, stepping and wrapping, painting,
// revealing above the bar, and wiping the page clean again.

#include "WebTest.h"

namespace nimb::test {
namespace {

// The find script's answer.
struct Answer {
    int count = -1;
    int index = -1;
    bool operator==(const Answer&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Answer& a) {
    return out << "{count " << a.count << ", index " << a.index << "}";
}

class FindInPageTest : public WebTest {
protected:
    static Answer find(WebPage& page, std::string_view query, int step = 0, int foot = 64) {
        auto value = page.callAsync(PageScripts::find(), PageSetup::findArguments(query, step, foot),
                                    PageSetup::clientWorld);
        if (!value || !value->is_object()) return {};
        return Answer{value->value("count", -1), value->value("index", -1)};
    }

    // The text of every match, in order, each match's pieces joined.
    static std::vector<std::string> matches(WebPage& page) {
        auto value = page.evaluate("Array.from(document.querySelectorAll('nimb-found')).map(function (m) {"
                                   "  return m.textContent; })");
        std::vector<std::string> out;
        if (value && value->is_array())
            for (const auto& m : *value)
                out.push_back(m.get<std::string>());
        return out;
    }

    static std::string current(WebPage& page) {
        auto value = page.evaluate("Array.from(document.querySelectorAll('[here]')).map(function (e) {"
                                   "  return e.id || e.textContent; }).join('+')");
        return value && value->is_string() ? value->get<std::string>() : "";
    }
};

TEST_F(FindInPageTest, foldsOneCharacterAtATimeAndKeepsBlocksApart) {
    auto p = open("http://find.example/text.html");
    const std::pair<const char*, int> cases[] = {
        {"end of one", 1}, {"one next", 0}, // the end of one paragraph and the start of the next
        {"blockand", 0},                    // a block and the text that follows it
        {"STRASSE", 1},                     // a sharp s is not a double s...
        {"straße", 1},                      // ... and the other way round
        {"NEEDLE", 6},    // two in the dotted paragraph, one split, the search box, the text area, the last
        {"needle in", 0}, // a script's text and a hidden element's are not the page's
        {"istanbul", 0},  // a dotted capital I stays itself
        {"İstanbul", 1},
    };
    for (const auto& [query, count] : cases)
        EXPECT_EQ(find(*p, query), (Answer{count, count > 0 ? 1 : 0})) << query;
    // The dotted capitals before them leave every later match in its place.
    find(*p, "needle");
    EXPECT_EQ(matches(*p), (std::vector<std::string>{"needle", "needle", "nee", "dle", "needle"}));
}

TEST_F(FindInPageTest, stepsAndWrapsThroughTextAndFields) {
    auto p = open("http://find.example/text.html");
    EXPECT_EQ(find(*p, "needle"), (Answer{6, 1}));
    EXPECT_EQ(current(*p), "needle");
    EXPECT_EQ(find(*p, "needle", 0), (Answer{6, 1}));
    EXPECT_EQ(find(*p, "needle", -1), (Answer{6, 6}));
    EXPECT_EQ(current(*p), "needle");
    // One match across two inline elements; fields take their place in document order, the text area
    // counted once however often it holds the text; past the last, the first again.
    const std::pair<int, const char*> steps[] = {{1, "needle"}, {2, "needle"}, {3, "nee+dle"}, {4, "search"},
                                                 {5, "area"},   {6, "needle"}, {1, "needle"}};
    for (const auto& [index, here] : steps) {
        EXPECT_EQ(find(*p, "needle", 1), (Answer{6, index}));
        EXPECT_EQ(current(*p), here) << index;
    }
    // The boxes are painted whole; a password is never read.
    EXPECT_EQ(
        p->evaluate("Array.from(document.querySelectorAll('[nimb-in]')).map(function (e) { return e.id; })"),
        nlohmann::json({"search", "area"}));
    EXPECT_EQ(find(*p, "find the"), (Answer{1, 1}));
    EXPECT_EQ(p->evaluate("getComputedStyle(document.getElementById('search')).backgroundColor"),
              "rgb(255, 31, 147)");

    // Every match is painted, the current one brighter.
    find(*p, "needle", 0);
    auto colours = p->evaluate("Array.from(document.querySelectorAll('nimb-found')).map(function (m) {"
                               "  return getComputedStyle(m).backgroundColor; })");
    ASSERT_TRUE(colours && colours->is_array());
    EXPECT_EQ((*colours)[0], "rgb(255, 31, 147)");
    for (std::size_t i = 1; i < colours->size(); ++i)
        EXPECT_EQ((*colours)[i], "rgb(255, 142, 210)");
    EXPECT_EQ(p->evaluate("getComputedStyle(document.querySelector('nimb-found')).color"), "rgb(43, 0, 22)");
}

TEST_F(FindInPageTest, clearingLeavesThePageAsItWas) {
    auto p = open("http://find.example/text.html");
    const char* shape = "[document.body.innerHTML, document.body.getAttribute('style'),"
                        " document.getElementById('split').childNodes.length,"
                        " document.getElementById('dotted').childNodes.length]";
    auto before = p->evaluate(shape);
    find(*p, "needle", 0);
    EXPECT_EQ(p->evaluate("document.body.style.paddingBottom"), "64px");
    find(*p, "e", 1);
    EXPECT_EQ(find(*p, "", 0, 0), (Answer{0, 0}));
    EXPECT_EQ(p->evaluate("document.querySelectorAll('nimb-found, [nimb-in], [here]').length"), 0);
    EXPECT_EQ(p->evaluate(shape), before);
    EXPECT_EQ(p->evaluate("document.body.style.paddingBottom"), "7px");
    // The paint stays for the next search.
    EXPECT_EQ(p->evaluate("!!document.getElementById('__nimb-find-paint')"), true);

    // A body without a style of its own gets none back.
    ASSERT_TRUE(p->load("http://find.example/tall.html"));
    find(*p, "omega");
    find(*p, "");
    EXPECT_EQ(p->evaluate("document.body.getAttribute('style')"), nullptr);
}

TEST_F(FindInPageTest, revealsMatchesAboveTheBar) {
    auto p = open("http://find.example/tall.html");
    const int foot = 64;
    // Whether the current match shows at least `top` below the view's top and `bottom` above its foot.
    auto within = [&](int top, int bottom) {
        return p->evaluate(
                   "(function(){var r = document.querySelector('nimb-found[here]').getBoundingClientRect();"
                   "return r.top >= " +
                   std::to_string(top) + " && r.bottom <= innerHeight - " + std::to_string(bottom) +
                   ";})()") == true;
    };
    // A match far below is scrolled into the band.
    EXPECT_EQ(find(*p, "alpha", 0, foot), (Answer{1, 1}));
    EXPECT_TRUE(within(48, foot + 24));
    // At the very end of a page scrolled to its bottom, the added padding lifts it clear of the bar.
    find(*p, "");
    p->evaluate("scrollTo(0, document.documentElement.scrollHeight); true");
    EXPECT_EQ(find(*p, "omega", 0, foot), (Answer{1, 1}));
    EXPECT_TRUE(within(0, foot));
    // A new search starts from the first match at or below the top of the view.
    find(*p, "");
    p->evaluate("document.querySelectorAll('#filler p')[150].scrollIntoView(); true");
    // 1, 10 to 19 and 100 to 199; the 62nd is "Filler paragraph 150".
    EXPECT_EQ(find(*p, "filler paragraph 1"), (Answer{111, 62}));
    EXPECT_EQ(current(*p), "Filler paragraph 1");
}

} // namespace
} // namespace nimb::test
