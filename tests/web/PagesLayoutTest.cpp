// How the browser's own pages are laid out in the real engine, where a reader saw them go wrong.

#include "SamplePages.h"
#include "WebTest.h"
#include "pages/PageFrame.h"
#include "vocabulary/Language.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace nimb::test {
namespace {

class PagesLayout : public WebTest {
protected:
    // Loads a page and waits for its faces, so that what is measured is what is drawn.
    static void show(WebPage& page, const std::string& html) {
        ASSERT_TRUE(page.loadHtml(html));
        page.callAsync("await document.fonts.ready; return true;", nullptr);
    }

    static nlohmann::json measure(WebPage& page, const std::string& script) {
        auto value = page.evaluate(script);
        EXPECT_TRUE(value.has_value()) << "the script failed: " << script.substr(0, 80);
        return value.value_or(nullptr);
    }

    // Shows the sample at each width in each language, in a view of its own, and measures it there.
    void eachView(const char* sample, std::vector<int> widths, std::vector<Language> languages,
                  const std::string& script,
                  const std::function<void(WebPage&, const nlohmann::json&)>& check) {
        for (int width : widths)
            for (Language language : languages) {
                SCOPED_TRACE(std::to_string(width) + " " + std::string(rawValue(language)));
                auto page = pageView(width);
                show(*page, samples::render(sample, language));
                check(*page, measure(*page, script));
            }
    }
};

// Every element that sets text of its own in a monospace family, with its ligatures.
constexpr const char* monospaceReader = R"((() => {
const out = [];
for (const e of document.body.querySelectorAll('*')) {
    const own = [...e.childNodes].some(n => n.nodeType === Node.TEXT_NODE && n.textContent.trim());
    if (!own) continue;
    const style = getComputedStyle(e);
    if (!/mono/i.test(style.fontFamily)) continue;
    out.push({tag: e.tagName.toLowerCase() + (e.className ? '.' + e.className : ''),
              ligatures: style.fontVariantLigatures, family: style.fontFamily});
}
return out;
})())";

TEST_F(PagesLayout, monospaceTextNeverJoinsLetters) {
    auto page = pageView(1000);
    int checked = 0;
    std::vector<samples::SamplePage> all = samples::pages();
    for (auto& hostile : samples::hostilePages())
        all.push_back(std::move(hostile));
    for (const auto& sample : all) {
        SCOPED_TRACE(sample.name);
        show(*page, samples::render(sample, Language::english));
        std::string tags;
        for (const auto& element : measure(*page, monospaceReader)) {
            ++checked;
            EXPECT_EQ(element["ligatures"], "none") << element["tag"] << " in " << element["family"];
            tags += element["tag"].get<std::string>() + ' ';
        }
        // The ordinary group is a sentence in the text face followed by host names in the monospace face.
        if (sample.name == "report-full") {
            EXPECT_NE(tags.find("span.names "), std::string::npos) << tags;
            EXPECT_EQ(tags.find("p.hosts "), std::string::npos) << tags;
        }
    }
    // Host names, keys, addresses and code are on most of these pages.
    EXPECT_GT(checked, 50);
}

// With only the regular and medium files served, bold text must come from the medium face as it is,
// not thickened by the engine: drawn bold and drawn medium, it inks the same pixels.
TEST_F(PagesLayout, boldIsTheMediumFaceUnthickened) {
    auto page = pageView(1000);
    show(*page, PageFrame::document("faces", "", "<p>faces</p></body></html>"));
    auto ink = page->callAsync(R"(
const inkOf = async weight => {
    const font = weight + ' 30px "Fira Sans"';
    await document.fonts.load(font);
    const canvas = document.createElement('canvas');
    canvas.width = 400;
    canvas.height = 60;
    const context = canvas.getContext('2d');
    context.font = font;
    context.fillText('Wiggle room, filled', 5, 40);
    let sum = 0;
    const data = context.getImageData(0, 0, canvas.width, canvas.height).data;
    for (let i = 3; i < data.length; i += 4) sum += data[i];
    return sum;
};
return [await inkOf(700), await inkOf(500), await inkOf(400)];)",
                               nullptr);
    ASSERT_TRUE(ink && ink->is_array() && ink->size() == 3);
    EXPECT_EQ((*ink)[0], (*ink)[1]) << "bold is drawn thickened: " << ink->dump();
    // And the medium face did load: it is not the regular one.
    EXPECT_GT((*ink)[1].get<double>(), (*ink)[2].get<double>());
}

// The Save and Revert buttons take no room until the row is being edited, so the others keep to one
// line in a narrow window; editing still brings them out.
TEST_F(PagesLayout, hiddenBookmarkButtonsTakeNoRoom) {
    constexpr const char* rows = R"((() => [...document.querySelectorAll('.acts')].map(acts => {
    const shown = [...acts.children].filter(b => b.getBoundingClientRect().width > 0);
    const tops = shown.map(b => Math.round(b.getBoundingClientRect().top));
    return {shown: shown.length, lines: new Set(tops).size,
            right: Math.round(acts.getBoundingClientRect().right),
            edge: Math.round(acts.closest('.foot').getBoundingClientRect().right)};
}))())";
    eachView("bookmarks-full", {1000, 480}, {Language::english, Language::french}, rows,
             [](WebPage& page, const nlohmann::json& found) {
                 ASSERT_TRUE(found.is_array() && !found.empty());
                 for (const auto& row : found) {
                     EXPECT_EQ(row["shown"], 3) << row.dump();
                     EXPECT_EQ(row["lines"], 1) << row.dump();
                     EXPECT_EQ(row["right"], row["edge"])
                         << "the buttons do not keep to the right: " << row.dump();
                 }
                 EXPECT_EQ(measure(page, R"((() => {
    document.querySelector('.name').focus();
    return [...document.querySelector('.acts').children].filter(b => b.getBoundingClientRect().width > 0).length;
})())"),
                           5);
             });
}

// In a narrow window a kept report's date and Forget button go under it rather than squeezing the
// site and its headline into a column.
TEST_F(PagesLayout, keptReportsKeepTheirWidth) {
    constexpr const char* rows =
        R"((() => [...document.querySelectorAll('li')].filter(li => li.querySelector('.row')).map(li => ({
    who: Math.round(li.querySelector('.who').getBoundingClientRect().width),
    sameLine: li.querySelector('.when').getBoundingClientRect().top < li.querySelector('.row').getBoundingClientRect().bottom,
    together: Math.abs(li.querySelector('.when').getBoundingClientRect().top - li.querySelector('.acts').getBoundingClientRect().top) < 12
})))())";
    const std::vector<Language> languages(allCases<Language>.begin(), allCases<Language>.end());
    eachView("kept-reports", {480}, languages, rows, [](WebPage&, const nlohmann::json& found) {
        ASSERT_TRUE(found.is_array() && !found.empty());
        for (const auto& row : found) {
            EXPECT_GE(row["who"].get<int>(), 280) << row.dump();
            EXPECT_TRUE(row["together"].get<bool>()) << "the date and Forget part: " << row.dump();
        }
    });
    eachView("kept-reports", {1000}, languages, rows, [](WebPage&, const nlohmann::json& found) {
        for (const auto& row : found)
            EXPECT_TRUE(row["sameLine"].get<bool>()) << "a wide window has room for one line: " << row.dump();
    });
}

// The party rows of a group start their company names at one place, whatever the count beside them.
TEST_F(PagesLayout, partyNamesLineUp) {
    constexpr const char* groups =
        R"((() => [...document.querySelectorAll('ul')].filter(ul => ul.querySelector('li > .n:first-child')).map(ul =>
    [...ul.querySelectorAll('li > .who')].map(w => Math.round(w.getBoundingClientRect().left))))())";
    eachView("report-full", {1000, 480}, {Language::english, Language::french}, groups,
             [](WebPage&, const nlohmann::json& found) {
                 ASSERT_TRUE(found.is_array());
                 ASSERT_GE(found.size(), 5u);
                 for (const auto& lefts : found)
                     for (const auto& left : lefts)
                         EXPECT_EQ(left, lefts[0]) << lefts.dump();
             });
}

// The Search button and the Show all link beside it sit on one centre line.
TEST_F(PagesLayout, dossierSearchButtonsSitLevel) {
    eachView("report-dossier-searched", {1000, 480}, {Language::english},
             R"([...document.querySelectorAll('.find .acts > *')].map(b => {
    const r = b.getBoundingClientRect(); return (r.top + r.bottom) / 2; }))",
             [](WebPage&, const nlohmann::json& centres) {
                 ASSERT_TRUE(centres.is_array());
                 ASSERT_EQ(centres.size(), 2u);
                 EXPECT_NEAR(centres[0].get<double>(), centres[1].get<double>(), 0.5);
             });
}

// Only a reading fills the first screen; without one, the reason follows the title.
TEST_F(PagesLayout, aPageWithoutAReadingKeepsItsReasonUnderTheTitle) {
    constexpr const char* heights = R"((() => ({
    top: document.querySelector('.top').getBoundingClientRect().height,
    reason: document.querySelector('.top').nextElementSibling.getBoundingClientRect().top
}))())";
    auto page = pageView(1000);
    for (const char* name :
         {"report-recording-off", "report-scripting-off", "report-local-page", "report-not-recorded"}) {
        SCOPED_TRACE(name);
        show(*page, samples::render(name));
        auto found = measure(*page, heights);
        EXPECT_LT(found["top"].get<double>(), 250) << found.dump();
        EXPECT_LT(found["reason"].get<double>(), 350) << found.dump();
    }
    show(*page, samples::render("report-full"));
    EXPECT_GE(measure(*page, heights)["top"].get<double>(), 640 - 200);
}

} // namespace
} // namespace nimb::test
