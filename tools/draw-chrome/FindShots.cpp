// The find bar drawn to PNG: open with matches in English and in French, with nothing found (the field's
// text in the dim ink) in a wide and a narrow window, and half-way through its slide with the status line
// riding on it.

#include "Screenshots.h"

#include "chrome/FindBarView.h"
#include "window/FindController.h"

namespace nimb::test {
namespace {

const char* const article =
    "<!doctype html><meta charset=utf-8><title>Dune Ecology Society</title>"
    "<body style='font: 16px/1.5 sans-serif; margin: 40px; max-width: 720px'>"
    "<h1>Dune Ecology Society</h1>"
    "<p>Coastal dunes move. Wind lifts the sand from the beach and drops it where marram grass slows the "
    "air, "
    "and the grass grows up through the new sand to meet the light.</p>"
    "<p>A dune that loses its grass loses its hold: the wind takes the sand inland, and the dune walks.</p>"
    "<p><label>Search the notes <input value='grass and wind'></label></p>"
    "<p>Behind the first ridge the grey dunes are older and quieter; mosses and lichens take over from the "
    "grass, and the sand turns to soil.</p>"
    "<p>Our volunteers count the grass shoots every spring along twelve transects, from the strand line to "
    "the dune slacks, where water stands in winter.</p>"
    "<p>Further back still, heath and scrub close in, and the dunes that once walked stand still at "
    "last.</p>";

TEST_F(ChromeScreenshots, find) {
    ASSERT_TRUE(resize(1000));
    m_proxy.answer("dune.example", "/article", article);
    ASSERT_TRUE(visit("http://dune.example/article"));
    FindController& find = window().context().find();

    app().actions().activate("findInPage");
    ASSERT_TRUE(waitUntil([&] { return find.slide() == 1; }, 5s));
    ASSERT_TRUE(typeKeys("grass"));
    ASSERT_TRUE(waitUntil([&] { return find.view()->canStep(); }, 5s));
    app().actions().activate("findNext");
    ASSERT_TRUE(waitUntil([&] { return find.view()->tally().rfind("2", 0) == 0; }, 5s));
    shot("find-matches");

    app().actions().activate("chooseLanguage", "fr");
    ASSERT_TRUE(waitUntil([&] { return find.view()->tally().find("sur") != std::string::npos; }, 5s));
    hover(find.view()->nextButton().widget(), {16, 16});
    EXPECT_TRUE(waitUntil([&] { return tooltipShown(); }, 5s));
    shot("find-matches-french", true, 40);
    hover(controller().strip().widget(), {500, 20});
    app().actions().activate("chooseLanguage", "en");

    // Nothing found.
    find.view()->focusField();
    ASSERT_TRUE(typeKeys("walrus"));
    ASSERT_TRUE(waitUntil([&] { return !find.view()->hasMatches(); }, 5s));
    shot("find-no-match");
    ASSERT_TRUE(resize(480));
    shot("find-no-match-480");
    ASSERT_TRUE(resize(1000));

    // Half-way in, with something in the status line to ride on the bar.
    ASSERT_TRUE(keys({"key", "ctrl+a"}));
    ASSERT_TRUE(typeKeys("dune"));
    ASSERT_TRUE(waitUntil([&] { return find.view()->canStep(); }, 5s));
    window().context().status().setStatus("Keeping an eye on the dunes.");
    chrome().setFindSlide(0.5);
    shot("find-mid-slide");
    chrome().setFindSlide(1);
}

} // namespace
} // namespace nimb::test
