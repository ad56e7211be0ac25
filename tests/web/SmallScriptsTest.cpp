// The link hover, favicon and selection scripts inside the real engine.

#include "WebTest.h"

namespace nimb::test {
namespace {

class LinkHoverTest : public WebTest {
protected:
    // Moves a pointer event over an element of the page (or of its first frame).
    static void event(WebPage& page, const std::string& type, const std::string& id, bool inFrame = false) {
        std::string document = inFrame ? "frames[0].document" : "document";
        page.evaluate(document + ".getElementById('" + id + "').dispatchEvent(new MouseEvent('" + type +
                      "', {bubbles: true})); true");
    }
};

TEST_F(LinkHoverTest, tellsTheLinkUnderThePointer) {
    auto p = open("http://links.example/links.html");
    ASSERT_TRUE(p->waitFor("frames[0].document.readyState === 'complete'", 3s));
    p->clearMessages();
    event(*p, "mouseover", "inner");
    event(*p, "mouseout", "inner");
    event(*p, "mouseover", "bare");
    event(*p, "mouseover", "plain");
    event(*p, "mouseover", "bold", true);
    event(*p, "mouseout", "bold", true);
    ASSERT_TRUE(waitUntil([&] { return p->messages().status.size() == 6; }, 2s))
        << p->messages().status.size();
    EXPECT_EQ(p->messages().status, (std::vector<std::string>{"http://links.example/story/1?from=home", "",
                                                              "", "", "http://elsewhere.example/page", ""}));
}

class FaviconScriptTest : public WebTest {};

TEST_F(FaviconScriptTest, choosesTheLargestDeclaredIcon) {
    auto p = page();
    const std::pair<const char*, const char*> cases[] = {
        // A scalable icon beats every size; an Apple touch icon is no icon.
        {"icons.html", "http://icons.example/any.svg"},
        // The first of equal sizes; a link with an empty address is skipped.
        {"equal.html", "http://icons.example/first.ico"},
        {"none.html", ""},
        // Loaded again, so that anything a page said after its first word shows up before this.
        {"icons.html", "http://icons.example/any.svg"},
    };
    std::vector<std::string> told;
    for (const auto& [name, icon] : cases) {
        ASSERT_TRUE(p->load(std::string("http://icons.example/") + name)) << name;
        told.push_back(icon);
        ASSERT_TRUE(waitUntil([&] { return p->messages().favicon.size() >= told.size(); }, 2s)) << name;
    }
    EXPECT_EQ(p->messages().favicon, told);
}

TEST_F(FaviconScriptTest, tellsEachChangeOfChoiceOnce) {
    auto p = open("http://icons.example/swap.html");
    auto swap = [&](const std::string& to) {
        p->evaluate(
            "var l = document.createElement('link'); l.rel = 'icon'; l.href = '" + to + "';" +
            "document.querySelector('link[rel=icon]').replaceWith(l); l.setAttribute('data-x', '1'); true");
    };
    // Swapped by script: told once.
    swap("/b.png");
    ASSERT_TRUE(waitUntil([&] { return p->messages().favicon.size() >= 2; }, 2s));
    // The same link put back again: nothing new to tell before the next swap is told.
    p->evaluate("var l = document.querySelector('link[rel=icon]'); l.remove(); document.head.appendChild(l);"
                "document.title = 'retitled'; true");
    swap("/c.png");
    ASSERT_TRUE(waitUntil([&] { return p->messages().favicon.size() >= 3; }, 2s));
    EXPECT_EQ(p->messages().favicon,
              (std::vector<std::string>{"http://icons.example/a.png", "http://icons.example/b.png",
                                        "http://icons.example/c.png"}));
}

class SelectionTest : public WebTest {
protected:
    static std::optional<nlohmann::json> selected(WebPage& page) {
        return page.callAsync(PageScripts::selection(), nullptr, PageSetup::clientWorld);
    }
};

TEST_F(SelectionTest, readsThePageThenItsOwnFramesButNoOtherSite) {
    auto p = open("http://links.example/selection.html");
    ASSERT_TRUE(p->waitFor("frames[0].document.readyState === 'complete' && window.otherSelected", 3s));
    // Only another site's frame has a selection, and it is not ours to read.
    EXPECT_EQ(selected(*p), "");
    // A selection in a frame of the same site is read, untrimmed.
    p->evaluate(
        "frames[0].getSelection().selectAllChildren(frames[0].document.getElementById('note')); true");
    EXPECT_EQ(selected(*p), "  Words worth keeping  ");
    // The page's own selection comes first.
    p->evaluate("getSelection().selectAllChildren(document.getElementById('main')); true");
    EXPECT_EQ(selected(*p), "Text of the page itself.");
}

} // namespace
} // namespace nimb::test
