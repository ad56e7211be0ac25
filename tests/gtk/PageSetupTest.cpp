// Which scripts and rule list a page gets for each page policy, in the real engine.

#include "TemporaryDirectory.h"
#include "WebTest.h"
#include "preferences/Preferences.h"
#include "storage/InMemoryStore.h"

namespace nimb::test {
namespace {

class PageSetupTest : public WebTest {
protected:
    // What a page on news.example shows of the scripts it got, and whether a blocked request left.
    struct Seen {
        bool recorder, walls, forgot, blockedLeft;
        bool operator==(const Seen&) const = default;
        friend std::ostream& operator<<(std::ostream& out, const Seen& s) {
            return out << "{recorder " << s.recorder << ", walls " << s.walls << ", forgot " << s.forgot
                       << ", blocked left " << s.blockedLeft << "}";
        }
    };

    Seen visit(WebPage::Options options) {
        m_proxy.clearLog();
        // Once the script the page adds later has loaded or failed, every request has left or not.
        auto p = open("http://news.example/dedupe.html", std::move(options));
        EXPECT_TRUE(p->waitFor("window.settled", 5s));
        auto has = [&](const char* expression) { return p->evaluate(expression) == true; };
        return Seen{has("!!(window.__nimb && window.__nimb.network)"),
                    has("!!(window.__nimb && window.__nimb.walls)"),
                    has("!!(window.__nimb && window.__nimb.forgot)"), m_proxy.receivedHost(var("ad"))};
    }
};

std::string describe(const PageSetup::Policy& p) {
    return "{forget " + std::to_string(p.forgetStorage) + ", report " + std::to_string(p.nimbReport) +
           ", blocking " + std::to_string(p.contentBlocking) + "}";
}

TEST_F(PageSetupTest, userScriptsFollowThePolicyInOrder) {
    using Script = PageSetup::UserScript;
    const Script hover{std::string(PageScripts::linkHover()), WEBKIT_USER_CONTENT_INJECT_ALL_FRAMES,
                       WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_END};
    const Script icon{std::string(PageScripts::favicon()), WEBKIT_USER_CONTENT_INJECT_TOP_FRAME,
                      WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_END};
    const Script forget{std::string(PageScripts::forgetStorage()), WEBKIT_USER_CONTENT_INJECT_ALL_FRAMES,
                        WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START};
    const Script recorder{PageScripts::recorder(ContentBlocker::lookupTableJSON()),
                          WEBKIT_USER_CONTENT_INJECT_TOP_FRAME, WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START};
    const Script declutter{PageScripts::declutter(ContentBlocker::hiddenSelectors()),
                           WEBKIT_USER_CONTENT_INJECT_TOP_FRAME, WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START};
    // What each setting alone takes away, pages show below.
    EXPECT_TRUE(PageSetup::userScripts({true, true, true}) ==
                (std::vector<Script>{hover, icon, forget, recorder, declutter}));
    EXPECT_TRUE(PageSetup::userScripts({false, false, false}) == (std::vector<Script>{hover, icon}));
}

TEST_F(PageSetupTest, thePolicyIsReadFromThePreferences) {
    Preferences prefs(std::make_unique<InMemoryStore>());
    EXPECT_EQ(PageSetup::Policy::from(prefs), (PageSetup::Policy{true, true, true}));
    prefs.setForgetStorageEnabled(false);
    prefs.setContentBlockingEnabled(false);
    EXPECT_EQ(PageSetup::Policy::from(prefs), (PageSetup::Policy{false, true, false}));
    prefs.setNimbReportEnabled(false);
    prefs.setForgetStorageEnabled(true);
    EXPECT_EQ(PageSetup::Policy::from(prefs), (PageSetup::Policy{true, false, false}));
}

TEST_F(PageSetupTest, pagesGetWhatThePolicySays) {
    struct Case {
        PageSetup::Policy policy;
        Seen seen;
    };
    // With blocking off neither the wall hiding nor the rule list is there; the others follow their own
    // settings.
    const Case cases[] = {
        {{true, true, true}, {true, true, true, false}},
        {{true, true, false}, {true, false, true, true}},
        {{false, false, true}, {false, true, false, false}},
        {{false, false, false}, {false, false, false, true}},
    };
    for (const auto& c : cases) {
        WebPage::Options options;
        options.policy = c.policy;
        EXPECT_EQ(visit(options), c.seen) << describe(c.policy);
    }
}

TEST_F(PageSetupTest, aPageMadeBeforeTheListCompiledGetsItWhenItArrives) {
    TemporaryDirectory directory;
    for (bool stillBlocking : {true, false}) {
        BlockerRules rules([store = BlockerRules::webKitStore(directory.path().string())] { return store; });
        WebPage::Options options;
        options.rules = &rules;
        options.waitForRuleList = false;
        options.stillBlocking = [stillBlocking] { return stillBlocking; };
        m_proxy.clearLog();
        auto p = page(options);
        EXPECT_EQ(rules.list(), nullptr);
        ASSERT_TRUE(waitUntil([&] { return rules.list() != nullptr; }, 10s));
        ASSERT_TRUE(p->load("http://news.example/dedupe.html"));
        ASSERT_TRUE(p->waitFor("window.settled", 5s));
        // Blocking switched off meanwhile: the list that arrives is not added.
        EXPECT_EQ(m_proxy.receivedHost(var("ad")), !stillBlocking);
    }
}

} // namespace
} // namespace nimb::test
