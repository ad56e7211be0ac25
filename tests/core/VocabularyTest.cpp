// The vocabulary: the English texts that other parts quote, and checks that hold for every language.

#include "base/Text.h"
#include "report/Dossier.h"
#include "report/DossierVocabulary.h"
#include "report/Evidence.h"
#include "vocabulary/Language.h"

#include <algorithm>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <map>
#include <regex>
#include <set>

namespace nimb {
namespace {

using Unavailable = NimbReportPage::Unavailable;
using Category = ContentBlocker::Category;

struct Text {
    std::string member;
    std::string text;
};

// Every member, with sample arguments covering each branch of the parameterised ones: the counted
// members with 0, 1 and 2, for zero has its own text in some and each language its own rule.
std::vector<Text> everyText(const Vocabulary& v) {
    // The member's call, as written, names it in messages.
#define M(call)                                                                                              \
    Text {                                                                                                   \
#call, v.call                                                                                        \
    }
    // The member counted 0, 1 and 2.
#define M3(counted) M(counted(0)), M(counted(1)), M(counted(2))
#define M4(member, E, a, b, c, d) M(member(E::a)), M(member(E::b)), M(member(E::c)), M(member(E::d))
    // clang-format off
    return {
        M(back()), M(forward()), M(reload()), M(stop()), M(backHelp()), M(forwardHelp()), M(reloadHelp()),
        M(stopHelp()), M(shieldHelp()), M(stealth()), M(untitled()), M(search()), M(home()), M(fileMenu()),
        M(editMenu()), M(viewMenu()), M(goMenu()), M(about("‹s›")), M(hide("‹s›")), M(quit("‹s›")),
        M(searchEngineMenu()), M(languageMenu()), M(newTab()), M(newWindow()), M(openLocation()),
        M(settings()), M(printPage()), M(closeTab()), M(closeWindow()), M(cut()), M(copy()), M(paste()),
        M(selectAll()), M(findInPage()), M(findNext()), M(findPrevious()), M(javaScript()), M(blockAds()),
        M(forgetLocalStorage()), M(linksOnly()), M(recordReports()), M(rememberHistory()),
        M(clearHistoryMenu()), M(nextTab()), M(previousTab()), M(reopenClosedTab()), M(zoomIn()), M(zoomOut()),
        M(actualSize()), M(openLinkInNewTab()), M(addBookmark()), M(removeEntirely()),
        M(marginalia()), M(addToMarginalia()), M(bookmarks()), M(history()), M(nimbReport()), M(nimbScale()),
        M(overview()), M(dossier()), M(viewDetails()), M(savedReports()), M(urlsOnly()), M(remove()),
        M(save()), M(revert()), M(addToToolbar()), M(removeFromToolbar()), M(clearHistory()), M(forget()),
        M(clear()), M(cancel()), M(keepThisReport()), M(namePlaceholder()), M(summaryPlaceholder()),
        M(closeMarginalia()), M(findPlaceholder()), M(matchTally(3, 7)), M(noMatches()), M(closeFind()),
        M(contactingHost()), M(documentDone()), M3(done), M(nothingToChange()), M(removedBookmark("‹s›")),
        M(removedBookmarkAndMargin("‹s›", 1)), M(removedBookmarkAndMargin("‹s›", 4)),
        M(addedToToolbar("‹s›")), M(offToolbar("‹s›")), M(forgot("‹s›")), M(nothingToClear()),
        M3(clearedHistory), M(rememberingHistory()), M(notRememberingHistory()), M(nothingToBookmark()),
        M(alreadyBookmarked("‹s›")), M(addedBookmark("‹s›")), M(savedBookmark("‹s›")),
        M(keptInTheMargin("‹s›")), M(struckOut()), M(nothingSelected()), M(nowSpeaking()),
        M(reportKept("‹s›")), M(reportForgotten("‹s›")), M(nothingToKeep()), M(removeBookmarkQuestion("‹s›")),
        M3(removeBookmarkDetail), M(clearHistoryQuestion()), M3(clearHistoryDetail), M(closeWindowQuestion()),
        M3(closeWindowDetail), M(quitQuestion("‹s›")), M(quitDetail(1, 2)),
        M(quitDetail(2, 5)), M(quitButton()), M(resendQuestion()), M(resendDetail()), M(resend()), M(recent()), M(frequent()), M(noRecent()), M(noFrequent()), M(nothingFiled()),
        M(notVisited()), M3(marginCount), M(marginaliaHow()), M(nothingInTheMargin()),
        M(elsewhereOnThisSite()), M3(historyCount), M(nothingRecorded()), M(nowhereYet()), M3(visitCount),
        M(today()), M(yesterday()), M(historyNote()), M(noPage()),
        M4(unavailableLine, Unavailable, recordingOff, scriptingOff, localPage, notRecorded),
        M4(unavailableDetail, Unavailable, recordingOff, scriptingOff, localPage, notRecorded),

        M3(takenOffSummary), M3(otherHostsSummary), M(keptToItself()), M(blockingIsOff()), M(notCounted()), M(witnessAbsent()),
        M(countedWithoutScripts()),
        M4(category, Category, consent, advertising, measurement, interruption),
        M4(categoryWhy, Category, consent, advertising, measurement, interruption), M(alsoBlocked()),
        M(takenOffThePage()), M(takenOffWhy()), M(reason(NimbReportReason::known)),
        M(reason(NimbReportReason::overlay)), M(reason(NimbReportReason::adSlot)), M(otherHosts()),
        M(otherHostsWhy()), M3(andMore), M(whatItKept()), M(storedLine(1, 2, "3 KB")),
        M(storedLine(0, 1, std::nullopt)), M(storageWasLent()), M(storageWasKept()), M3(sessionKeys),
        M(databases("‹s›")), M3(moreKeys), M3(byteCount), M(keptOn("‹s›")), M3(savedReportCount),
        M(hiddenTabs()), M(clearSiteDataMenu()), M(clearedSiteData()), M(siteDataNotCleared()),
        M(refusedWindows()), M(refusedPrint()), M(downloadNotSaved()), M(blockingStartsLate()),
        M(doneUnfiltered()), M(waitingToSave()), M(notSavedReadOnly()), M(notSavedDiskFull()), M(notSaved()),
        M(profileReadOnly("‹s›")), M(profileInUse("‹s›")), M(profileUnavailable("‹s›")),
        M(profileSetAside("‹s›")), M(dismiss()), M(clearSiteDataQuestion()), M(clearSiteDataDetail()),
        M(unsavedQuestion()), M3(unsavedDetail), M(quitAnyway()), M(shieldTip(true, 0)), M(shieldTip(true, 2)),
        M(shieldTip(false, 0)), M(shieldTip(false, 1)), M(shieldTip(false, 2)), M3(doneUnblocked),
        M(couldNotOpen()), M(stoppedWorking()), M(tryAgain()), M(processEnded())
    };
#undef M4
#undef M3
#undef M
    // clang-format on
}

// Every member of the dossier's words, with arguments covering each branch of the sentences: each
// capability, group, depth and finding, and the headline and score sentence of reaches of every shape.
std::vector<Text> everyDossierText(const DossierVocabulary& d) {
    using namespace Dossier;
    using Kind = Evidence::Finding::Kind;
    std::vector<Text> out;
    auto add = [&out](std::string member, std::string text) {
        out.push_back({std::move(member), std::move(text)});
    };
    for (Capability c : allCases<Capability>)
        add("capability(" + std::string(rawValue(c)) + ")", d.capability(c));
    for (Group g : allCases<Group>)
        add("group(" + std::string(rawValue(g)) + ")", d.group(g));
    for (Depth depth : allCases<Depth>)
        add("depth(" + std::to_string(rawValue(depth)) + ")", d.depth(depth));
    add("attribution()", d.attribution({.name = "Tapad", .owner = "Experian"}));
    const std::map<Kind, std::string> details = {
        {Kind::eventQueue, "12 KB"}, {Kind::deviceDescribed, "screen, timezone"},
        {Kind::expiry, "‹date›"},    {Kind::brandTLD, "FOX Registry, LLC"},
        {Kind::namedSeat, "Criteo"}, {Kind::sameName, "news.example"},
        {Kind::sdkRan, "mParticle"}};
    for (Kind kind : allCases<Kind>) {
        auto detail = details.find(kind);
        add("finding(" + std::string(rawValue(kind)) + ")",
            d.finding(Evidence::Finding::about(kind, "key", detail == details.end() ? "" : detail->second)));
    }

    // The headline: no third party (the house's own, the site's, nothing), then the census with each
    // deepest reach, blocked or not, named or not, and the house's own business after it.
    auto reach = [](std::int64_t companies, std::int64_t saw, Depth deepest, bool blocked,
                    std::optional<std::string> deepestName = {}, std::optional<std::string> houseName = {}) {
        Reach r;
        std::tie(r.companies, r.saw, r.outsideDeepest, r.deepestWasBlocked, r.deepestName, r.houseName) =
            std::tie(companies, saw, deepest, blocked, deepestName, houseName);
        return r;
    };
    Reach own;
    own.own = 2;
    using enum Depth;
    const std::pair<std::string, Reach> headlines[] = {
        {"house alone", reach(0, 0, served, false, {}, "Meta")},
        {"own hosts", own},
        {"nothing", {}},
        {"counted", reach(1, 0, counted, false)},
        {"saw and counted", reach(3, 1, thisPage, false)},
        {"saw", reach(1, 1, thisPage, true)},
        {"browser", reach(2, 2, thisBrowser, false, "Criteo")},
        {"browser blocked", reach(2, 2, thisBrowser, true, "Criteo")},
        {"sites", reach(2, 2, acrossSites, false)},
        {"sites blocked", reach(2, 2, acrossSites, true, "Criteo")},
        {"lives", reach(2, 2, acrossLives, false, "Tapad")},
        {"lives blocked", reach(2, 2, acrossLives, true, {}, "Fox Corporation")},
    };
    for (const auto& [name, census] : headlines)
        add("headline(" + name + ")", d.headline(census));
    const std::tuple<std::string, std::int64_t, std::int64_t, bool> scores[] = {{"blocking off", 2, 1, false},
                                                                                {"some blocked", 2, 1, true},
                                                                                {"all blocked", 3, 0, true},
                                                                                {"none blocked", 0, 3, true}};
    for (const auto& [name, blocked, through, blocking] : scores) {
        Reach some = reach(3, 0, served, false);
        std::tie(some.blocked, some.gotThrough) = std::tie(blocked, through);
        add("whatTheScoreMeans(" + name + ")", d.whatTheScoreMeans(some, blocking));
    }

#define D(call) add(#call, d.call)
    // clang-format off
    D(outOfAHundred()); D(scoreFluctuates()); D(noLongerExists()); D(retiredFlag("‹s›"));
    D(whereTheNamesCameFrom()); D(nothingButDelivery(1)); D(nothingButDelivery(2)); D(requestsBlocked(1));
    D(requestsGotThrough(1)); D(requestsBlocked(2)); D(requestsGotThrough(2)); D(wasAllowed());
    D(theWholeDossier()); D(searchTheDossier()); D(searchButton()); D(companyTally(1, 1));
    D(companyTally(57, 57)); D(companyTally(2, 57)); D(nothingMatched("‹s›")); D(showAll()); D(whatTheyDo());
    D(connections()); D(fileNames()); D(hostsHere()); D(onThisPage()); D(isParent()); D(sameOwner());
    D(answersToNobody());
    // clang-format on
#undef D
    return out;
}

// Every text of a language: the vocabulary's, then the dossier's (which follow the current language).
std::vector<Text> allTexts(Language language) {
    std::vector<Text> texts = everyText(words(language));
    setCurrentLanguage(language);
    std::vector<Text> dossier = everyDossierText(dossierWords());
    setCurrentLanguage(Language::english);
    texts.insert(texts.end(), dossier.begin(), dossier.end());
    return texts;
}

// Members whose text is rightly the same as the English one in a language: names, and words the
// language has taken from English as they are. Each was read and judged; any member not listed here
// must differ from its English text. The names are the scripting language and a company with its owner;
// "Dossier" is a French and an Italian word, "Interruptions" a French one; Italian menus say "File";
// Italian and Spanish count in bytes too (Italian leaves "byte" unchanged in the plural).
const std::map<Language, std::set<std::string>> sameAsEnglish = {
    {Language::french, {"javaScript()", "attribution()", "dossier()", "category(Category::interruption)"}},
    {Language::italian, {"javaScript()", "attribution()", "dossier()", "fileMenu()", "byteCount(1)"}},
    {Language::spanish, {"javaScript()", "attribution()", "byteCount(0)", "byteCount(1)", "byteCount(2)"}},
};

TEST(Vocabulary, everyMemberIsSaidInEachLanguageNotLeftInEnglish) {
    const auto english = allTexts(Language::english);
    std::set<std::pair<Language, std::string>> same;
    for (Language language : {Language::french, Language::italian, Language::spanish}) {
        const auto texts = allTexts(language);
        ASSERT_EQ(texts.size(), english.size());
        for (std::size_t i = 0; i < texts.size(); ++i) {
            if (texts[i].text != english[i].text) continue;
            same.insert({language, texts[i].member});
            EXPECT_TRUE(sameAsEnglish.at(language).contains(texts[i].member))
                << rawValue(language) << " " << texts[i].member << " is still English: " << texts[i].text;
        }
    }
    // The list holds nothing that has since been said in the language.
    for (const auto& [language, members] : sameAsEnglish) {
        for (const std::string& member : members)
            EXPECT_TRUE(same.contains({language, member}))
                << rawValue(language) << " " << member << " now differs";
    }
}

TEST(Vocabulary, englishComposedForms) {
    const Vocabulary& en = words(Language::english);
    EXPECT_EQ(en.done(0), "Document: Done");
    EXPECT_EQ(en.done(-2), "Document: Done");
    EXPECT_EQ(en.done(3), "Document: Done  \u2014  3 blocked");
    EXPECT_EQ(en.visitCount(1), "1 visits");
    EXPECT_EQ(en.storedLine(1, 0, "2 KB"), "1 cookie visible to script, and 0 keys in local storage, 2 KB.");
    EXPECT_EQ(en.storedLine(2, 1, std::nullopt), "2 cookies visible to script, and 1 key in local storage.");
    EXPECT_EQ(en.removedBookmarkAndMargin("Cats", 2),
              "Removed bookmark: Cats \u2014 and the 2 notes in its margin.");
    EXPECT_EQ(en.savedReportCount(1), "1 report kept");
    EXPECT_EQ(en.andMore(4), ", and 4 more");
    for (Category c : allCases<Category>)
        EXPECT_EQ(en.category(c), rawValue(c));
}

TEST(Vocabulary, countedNouns) {
    EXPECT_EQ(counted(CountRule::singularForOne, 0, "key", "keys"), "0 keys");
    EXPECT_EQ(counted(CountRule::singularForOne, 1, "key", "keys"), "1 key");
    EXPECT_EQ(counted(CountRule::singularForOne, -1, "key", "keys"), "-1 keys");
    EXPECT_EQ(counted(CountRule::singularBelowTwo, 0, "cl\u00e9", "cl\u00e9s"), "0 cl\u00e9");
    EXPECT_EQ(counted(CountRule::singularBelowTwo, 2, "cl\u00e9", "cl\u00e9s"), "2 cl\u00e9s");

    // Each language applies its own rule to the same member: French puts 0 in the singular.
    for (Language language : {Language::french, Language::spanish, Language::italian}) {
        const Vocabulary& v = words(language);
        auto noun = [&](std::int64_t n) { return v.savedReportCount(n).substr(1); };
        EXPECT_EQ(noun(0), language == Language::french ? noun(1) : noun(2)) << rawValue(language);
        EXPECT_NE(noun(1), noun(2)) << rawValue(language);
        EXPECT_NE(v.visitCount(1).substr(1), v.visitCount(2).substr(1)) << rawValue(language);
    }
}

// The HTML tags and entities of a text, sorted.
std::vector<std::string> markup(const std::string& text) {
    static const std::regex pattern("<[^>]+>|&[a-z]+;");
    std::vector<std::string> found;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), pattern); it != std::sregex_iterator();
         ++it)
        found.push_back(it->str());
    std::sort(found.begin(), found.end());
    return found;
}

TEST(Vocabulary, everyLanguageIsCompleteAndKeepsTheMarkup) {
    const auto english = allTexts(Language::english);
    for (Language language : allCases<Language>) {
        const auto texts = allTexts(language);
        ASSERT_EQ(texts.size(), english.size());
        std::set<std::string> distinct;
        for (std::size_t i = 0; i < texts.size(); ++i) {
            const auto& [member, text] = texts[i];
            SCOPED_TRACE(std::string(rawValue(language)) + " " + member);
            EXPECT_FALSE(text.empty());
            // The score's " out of 100" follows the number, so it alone starts with a space.
            if (member != "outOfAHundred()") {
                EXPECT_EQ(text, std::string(text::trimmed(text))) << "no stray white space at the ends";
            }
            EXPECT_EQ(markup(text), markup(english[i].text));
            if (english[i].text.find("\u2039s\u203a") != std::string::npos) {
                EXPECT_THAT(text, testing::HasSubstr("\u2039s\u203a")) << "the argument must appear";
            }
            distinct.insert(text);
        }
        EXPECT_GT(distinct.size(), texts.size() * 9 / 10) << "texts should not repeat each other";
    }
}

// Plain prose of a text: markup, entities and internal addresses taken out.
std::string prose(const std::string& text) {
    static const std::regex noise("<[^>]+>|&[a-z]+;|about:[a-z]+|https?://\\S+");
    return std::regex_replace(text, noise, " ");
}

TEST(Vocabulary, eachLanguageFollowsItsPunctuation) {
    for (Language language : {Language::french, Language::italian, Language::spanish}) {
        for (const auto& [member, text] : allTexts(language)) {
            SCOPED_TRACE(std::string(rawValue(language)) + " " + member + ": " + text);
            const std::string plain = prose(text);
            // French and Italian write the apostrophe as the typographer's, as their texts do throughout.
            if (language != Language::spanish) {
                EXPECT_THAT(plain, testing::Not(testing::HasSubstr("'")));
            }
            // French puts a narrow or no-break space before ? ! ; and :, Spanish opens with ¿ and ¡.
            for (std::size_t i = 0; language == Language::french && i < plain.size(); ++i) {
                if (std::string_view("?!;:").find(plain[i]) == std::string_view::npos) continue;
                const std::string_view before = std::string_view(plain).substr(0, i);
                EXPECT_TRUE(before.ends_with("\u202F") || before.ends_with("\u00A0"))
                    << "no space before '" << plain[i] << "'";
            }
            for (const auto& [close, open] : {std::pair{'?', "\u00BF"}, std::pair{'!', "\u00A1"}}) {
                if (language == Language::spanish && plain.find(close) != std::string::npos) {
                    EXPECT_THAT(plain, testing::HasSubstr(open));
                }
            }
        }
    }
}

TEST(Vocabulary, statusLineFormsKeepTheirShapeInEveryLanguage) {
    for (Language language : allCases<Language>) {
        const Vocabulary& v = words(language);
        SCOPED_TRACE(rawValue(language));
        for (auto done : {&Vocabulary::done, &Vocabulary::doneUnblocked}) {
            EXPECT_EQ((v.*done)(0), v.documentDone());
            EXPECT_TRUE((v.*done)(7).starts_with(v.documentDone() + "  \u2014  7 ")) << (v.*done)(7);
        }
        // What got through is never called blocked.
        EXPECT_NE(v.doneUnblocked(7), v.done(7));
        EXPECT_EQ(v.shieldTip(true, 0), v.shieldHelp());
        EXPECT_THAT(v.shieldTip(false, 7), testing::HasSubstr(" 7 ")) << v.shieldTip(false, 7);
        EXPECT_TRUE(v.openLocation().ends_with("...")) << v.openLocation();
        EXPECT_TRUE(v.contactingHost().ends_with("...")) << v.contactingHost();
    }
}

} // namespace
} // namespace nimb
