// The vocabulary: the English texts that other parts quote, and checks that hold for every language.

#include "base/Text.h"
#include "vocabulary/Language.h"

#include <algorithm>
#include <gtest/gtest.h>
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
    // clang-format off
    return {
        {"back", v.back()}, {"forward", v.forward()}, {"reload", v.reload()}, {"stop", v.stop()},
        {"backHelp", v.backHelp()}, {"forwardHelp", v.forwardHelp()}, {"reloadHelp", v.reloadHelp()},
        {"stopHelp", v.stopHelp()}, {"shieldHelp", v.shieldHelp()}, {"stealth", v.stealth()},
        {"untitled", v.untitled()}, {"search", v.search()}, {"home", v.home()}, {"fileMenu", v.fileMenu()},
        {"editMenu", v.editMenu()}, {"viewMenu", v.viewMenu()}, {"goMenu", v.goMenu()},
        {"about", v.about("‹s›")}, {"hide", v.hide("‹s›")}, {"quit", v.quit("‹s›")},
        {"searchEngineMenu", v.searchEngineMenu()}, {"languageMenu", v.languageMenu()},
        {"newTab", v.newTab()}, {"newWindow", v.newWindow()}, {"openLocation", v.openLocation()},
        {"settings", v.settings()}, {"printPage", v.printPage()}, {"closeTab", v.closeTab()},
        {"closeWindow", v.closeWindow()}, {"cut", v.cut()}, {"copy", v.copy()}, {"paste", v.paste()},
        {"selectAll", v.selectAll()}, {"findInPage", v.findInPage()}, {"findNext", v.findNext()},
        {"findPrevious", v.findPrevious()}, {"javaScript", v.javaScript()}, {"blockAds", v.blockAds()},
        {"forgetLocalStorage", v.forgetLocalStorage()}, {"linksOnly", v.linksOnly()},
        {"recordReports", v.recordReports()}, {"rememberHistory", v.rememberHistory()},
        {"clearHistoryMenu", v.clearHistoryMenu()}, {"nextTab", v.nextTab()},
        {"previousTab", v.previousTab()}, {"addBookmark", v.addBookmark()},
        {"removeEntirely", v.removeEntirely()}, {"marginalia", v.marginalia()},
        {"addToMarginalia", v.addToMarginalia()}, {"bookmarks", v.bookmarks()}, {"history", v.history()},
        {"nimbReport", v.nimbReport()}, {"nimbScale", v.nimbScale()}, {"overview", v.overview()},
        {"dossier", v.dossier()}, {"viewDetails", v.viewDetails()}, {"savedReports", v.savedReports()},
        {"urlsOnly", v.urlsOnly()}, {"remove", v.remove()}, {"save", v.save()}, {"revert", v.revert()},
        {"addToToolbar", v.addToToolbar()}, {"removeFromToolbar", v.removeFromToolbar()},
        {"clearHistory", v.clearHistory()}, {"forget", v.forget()}, {"clear", v.clear()},
        {"cancel", v.cancel()}, {"keepThisReport", v.keepThisReport()},
        {"namePlaceholder", v.namePlaceholder()}, {"summaryPlaceholder", v.summaryPlaceholder()},
        {"closeMarginalia", v.closeMarginalia()}, {"findPlaceholder", v.findPlaceholder()},
        {"matchTally(3, 7)", v.matchTally(3, 7)}, {"noMatches", v.noMatches()}, {"closeFind", v.closeFind()},
        {"contactingHost", v.contactingHost()}, {"documentDone", v.documentDone()}, {"done(0)", v.done(0)},
        {"done(1)", v.done(1)}, {"done(2)", v.done(2)}, {"nothingToChange", v.nothingToChange()},
        {"removedBookmark", v.removedBookmark("‹s›")},
        {"removedBookmarkAndMargin(1)", v.removedBookmarkAndMargin("‹s›", 1)},
        {"removedBookmarkAndMargin(4)", v.removedBookmarkAndMargin("‹s›", 4)},
        {"addedToToolbar", v.addedToToolbar("‹s›")}, {"offToolbar", v.offToolbar("‹s›")},
        {"forgot", v.forgot("‹s›")}, {"nothingToClear", v.nothingToClear()},
        {"clearedHistory(0)", v.clearedHistory(0)}, {"clearedHistory(1)", v.clearedHistory(1)},
        {"clearedHistory(2)", v.clearedHistory(2)}, {"rememberingHistory", v.rememberingHistory()},
        {"notRememberingHistory", v.notRememberingHistory()}, {"nothingToBookmark", v.nothingToBookmark()},
        {"alreadyBookmarked", v.alreadyBookmarked("‹s›")}, {"addedBookmark", v.addedBookmark("‹s›")},
        {"savedBookmark", v.savedBookmark("‹s›")}, {"keptInTheMargin", v.keptInTheMargin("‹s›")},
        {"struckOut", v.struckOut()}, {"nothingSelected", v.nothingSelected()},
        {"nowSpeaking", v.nowSpeaking()}, {"reportKept", v.reportKept("‹s›")},
        {"reportForgotten", v.reportForgotten("‹s›")}, {"nothingToKeep", v.nothingToKeep()},
        {"removeBookmarkQuestion", v.removeBookmarkQuestion("‹s›")},
        {"removeBookmarkDetail(0)", v.removeBookmarkDetail(0)},
        {"removeBookmarkDetail(1)", v.removeBookmarkDetail(1)},
        {"removeBookmarkDetail(2)", v.removeBookmarkDetail(2)},
        {"clearHistoryQuestion", v.clearHistoryQuestion()},
        {"clearHistoryDetail(0)", v.clearHistoryDetail(0)},
        {"clearHistoryDetail(1)", v.clearHistoryDetail(1)},
        {"clearHistoryDetail(2)", v.clearHistoryDetail(2)}, {"closeWindowQuestion", v.closeWindowQuestion()},
        {"closeWindowDetail(0)", v.closeWindowDetail(0)}, {"closeWindowDetail(1)", v.closeWindowDetail(1)},
        {"closeWindowDetail(2)", v.closeWindowDetail(2)}, {"recent", v.recent()}, {"frequent", v.frequent()},
        {"noRecent", v.noRecent()}, {"noFrequent", v.noFrequent()}, {"nothingFiled", v.nothingFiled()},
        {"notVisited", v.notVisited()}, {"marginCount(0)", v.marginCount(0)},
        {"marginCount(1)", v.marginCount(1)}, {"marginCount(2)", v.marginCount(2)},
        {"marginaliaHow", v.marginaliaHow()}, {"nothingInTheMargin", v.nothingInTheMargin()},
        {"elsewhereOnThisSite", v.elsewhereOnThisSite()}, {"historyCount(0)", v.historyCount(0)},
        {"historyCount(1)", v.historyCount(1)}, {"historyCount(2)", v.historyCount(2)},
        {"nothingRecorded", v.nothingRecorded()}, {"nowhereYet", v.nowhereYet()},
        {"visitCount(0)", v.visitCount(0)}, {"visitCount(1)", v.visitCount(1)},
        {"visitCount(2)", v.visitCount(2)}, {"today", v.today()}, {"yesterday", v.yesterday()},
        {"historyNote", v.historyNote()}, {"noPage", v.noPage()},
        {"unavailableLine(recordingOff)", v.unavailableLine(Unavailable::recordingOff)},
        {"unavailableLine(scriptingOff)", v.unavailableLine(Unavailable::scriptingOff)},
        {"unavailableLine(localPage)", v.unavailableLine(Unavailable::localPage)},
        {"unavailableLine(notRecorded)", v.unavailableLine(Unavailable::notRecorded)},
        {"unavailableDetail(recordingOff)", v.unavailableDetail(Unavailable::recordingOff)},
        {"unavailableDetail(scriptingOff)", v.unavailableDetail(Unavailable::scriptingOff)},
        {"unavailableDetail(localPage)", v.unavailableDetail(Unavailable::localPage)},
        {"unavailableDetail(notRecorded)", v.unavailableDetail(Unavailable::notRecorded)},
        {"blockedSummary(1, true, 0)", v.blockedSummary(1, true, 0)},
        {"blockedSummary(0, false, 1)", v.blockedSummary(0, false, 1)},
        {"blockedSummary(2, true, 2)", v.blockedSummary(2, true, 2)},
        {"takenOffSummary(0)", v.takenOffSummary(0)}, {"takenOffSummary(1)", v.takenOffSummary(1)},
        {"takenOffSummary(2)", v.takenOffSummary(2)}, {"otherHostsSummary(0)", v.otherHostsSummary(0)},
        {"otherHostsSummary(1)", v.otherHostsSummary(1)}, {"otherHostsSummary(2)", v.otherHostsSummary(2)},
        {"keptToItself", v.keptToItself()}, {"blockingIsOff", v.blockingIsOff()},
        {"category(consent)", v.category(Category::consent)},
        {"category(advertising)", v.category(Category::advertising)},
        {"category(measurement)", v.category(Category::measurement)},
        {"category(interruption)", v.category(Category::interruption)},
        {"categoryWhy(consent)", v.categoryWhy(Category::consent)},
        {"categoryWhy(advertising)", v.categoryWhy(Category::advertising)},
        {"categoryWhy(measurement)", v.categoryWhy(Category::measurement)},
        {"categoryWhy(interruption)", v.categoryWhy(Category::interruption)},
        {"alsoBlocked", v.alsoBlocked()}, {"requestCount(0)", v.requestCount(0)},
        {"requestCount(1)", v.requestCount(1)}, {"requestCount(2)", v.requestCount(2)},
        {"takenOffThePage", v.takenOffThePage()}, {"takenOffWhy", v.takenOffWhy()},
        {"reason(known)", v.reason(NimbReportReason::known)},
        {"reason(overlay)", v.reason(NimbReportReason::overlay)},
        {"reason(adSlot)", v.reason(NimbReportReason::adSlot)}, {"otherHosts", v.otherHosts()},
        {"otherHostsWhy", v.otherHostsWhy()}, {"andMore(0)", v.andMore(0)}, {"andMore(1)", v.andMore(1)},
        {"andMore(2)", v.andMore(2)}, {"whatItKept", v.whatItKept()},
        {"storedLine(size)", v.storedLine(1, 2, "3 KB")}, {"storedLine", v.storedLine(0, 1, std::nullopt)},
        {"storageWasLent", v.storageWasLent()}, {"storageWasKept", v.storageWasKept()},
        {"sessionKeys(0)", v.sessionKeys(0)}, {"sessionKeys(1)", v.sessionKeys(1)},
        {"sessionKeys(2)", v.sessionKeys(2)}, {"databases", v.databases("‹s›")},
        {"moreKeys(0)", v.moreKeys(0)}, {"moreKeys(1)", v.moreKeys(1)}, {"moreKeys(2)", v.moreKeys(2)},
        {"byteCount(0)", v.byteCount(0)}, {"byteCount(1)", v.byteCount(1)}, {"byteCount(2)", v.byteCount(2)},
        {"keptOn", v.keptOn("‹s›")}, {"savedReportCount(0)", v.savedReportCount(0)},
        {"savedReportCount(1)", v.savedReportCount(1)}, {"savedReportCount(2)", v.savedReportCount(2)}
    };
    // clang-format on
}

TEST(Vocabulary, englishComposedForms) {
    const Vocabulary& en = words(Language::english);
    EXPECT_EQ(en.done(0), "Document: Done");
    EXPECT_EQ(en.done(-2), "Document: Done");
    EXPECT_EQ(en.done(3), "Document: Done  \u2014  3 blocked");
    EXPECT_EQ(en.marginCount(0), "Nothing in the margin");
    EXPECT_EQ(en.marginCount(2), "2 in the margin");
    EXPECT_EQ(en.requestCount(1), "1 request");
    EXPECT_EQ(en.visitCount(1), "1 visits");
    EXPECT_EQ(en.blockedSummary(1, true, 0), "1 request blocked");
    EXPECT_EQ(en.blockedSummary(5, false, 2), "5 requests on the blocklist, allowed from 2 hosts");
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

    // Each language applies its own rule to the same member.
    std::string french0 = words(Language::french).requestCount(0);
    std::string french1 = words(Language::french).requestCount(1);
    std::string french2 = words(Language::french).requestCount(2);
    EXPECT_EQ(french0.substr(1), french1.substr(1)) << "French puts 0 in the singular";
    EXPECT_NE(french1.substr(1), french2.substr(1));
    for (Language language : {Language::spanish, Language::italian}) {
        const Vocabulary& v = words(language);
        EXPECT_EQ(v.requestCount(0).substr(1), v.requestCount(2).substr(1)) << rawValue(language);
        EXPECT_NE(v.requestCount(1).substr(1), v.requestCount(2).substr(1)) << rawValue(language);
        EXPECT_NE(v.visitCount(1).substr(1), v.visitCount(2).substr(1)) << rawValue(language);
    }
}

// The HTML tags and entities of a text, in order.
std::vector<std::string> markup(const std::string& text) {
    static const std::regex pattern("<[^>]+>|&[a-z]+;");
    std::vector<std::string> found;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), pattern); it != std::sregex_iterator();
         ++it)
        found.push_back(it->str());
    return found;
}

TEST(Vocabulary, everyLanguageIsCompleteAndKeepsTheMarkup) {
    auto english = everyText(words(Language::english));
    for (Language language : allCases<Language>) {
        auto texts = everyText(words(language));
        ASSERT_EQ(texts.size(), english.size());
        std::set<std::string> distinct;
        for (std::size_t i = 0; i < texts.size(); ++i) {
            const auto& [member, text] = texts[i];
            SCOPED_TRACE(std::string(rawValue(language)) + " " + member);
            EXPECT_FALSE(text.empty());
            EXPECT_EQ(text, std::string(text::trimmed(text))) << "no stray white space at the ends";
            auto expected = markup(english[i].text);
            auto actual = markup(text);
            std::sort(expected.begin(), expected.end());
            std::sort(actual.begin(), actual.end());
            EXPECT_EQ(actual, expected);
            if (english[i].text.find("\u2039s\u203a") != std::string::npos) {
                EXPECT_NE(text.find("\u2039s\u203a"), std::string::npos) << "the argument must appear";
            }
            distinct.insert(text);
        }
        EXPECT_GT(distinct.size(), texts.size() * 9 / 10) << "texts should not repeat each other";
        if (language != Language::english) {
            EXPECT_NE(words(language).nowSpeaking(), words(Language::english).nowSpeaking());
        }
    }
}

// Plain prose of a text: markup, entities and internal addresses taken out.
std::string prose(const std::string& text) {
    static const std::regex noise("<[^>]+>|&[a-z]+;|about:[a-z]+|https?://\\S+");
    return std::regex_replace(text, noise, " ");
}

TEST(Vocabulary, eachLanguageFollowsItsPunctuation) {
    const std::string narrow = "\u202F", noBreak = "\u00A0";
    for (const auto& [member, text] : everyText(words(Language::french))) {
        std::string plain = prose(text);
        for (std::size_t i = 0; i < plain.size(); ++i) {
            char c = plain[i];
            if (c != '?' && c != '!' && c != ';' && c != ':') continue;
            std::string before = plain.substr(0, i);
            bool spaced = before.ends_with(narrow) || before.ends_with(noBreak);
            EXPECT_TRUE(spaced) << "French " << member << ": no space before '" << c << "' in: " << text;
        }
    }
    for (const auto& [member, text] : everyText(words(Language::spanish))) {
        std::string plain = prose(text);
        if (plain.find('?') != std::string::npos) {
            EXPECT_NE(plain.find("\u00BF"), std::string::npos) << "Spanish " << member << ": " << text;
        }
        if (plain.find('!') != std::string::npos) {
            EXPECT_NE(plain.find("\u00A1"), std::string::npos) << "Spanish " << member << ": " << text;
        }
    }
}

TEST(Vocabulary, statusLineFormsKeepTheirShapeInEveryLanguage) {
    for (Language language : allCases<Language>) {
        const Vocabulary& v = words(language);
        SCOPED_TRACE(rawValue(language));
        EXPECT_EQ(v.done(0), v.documentDone());
        std::string done = v.done(7);
        EXPECT_TRUE(done.starts_with(v.documentDone() + "  \u2014  7 ")) << done;
        EXPECT_TRUE(v.openLocation().ends_with("...")) << v.openLocation();
        EXPECT_TRUE(v.contactingHost().ends_with("...")) << v.contactingHost();
    }
}

} // namespace
} // namespace nimb
