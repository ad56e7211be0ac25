#include "library/Marginalia.h"

#include "WatchedPreferences.h"

#include <gtest/gtest.h>

#include <numeric>
#include <regex>

namespace nimb {
namespace {

using Marginalia::distantPast;

std::string repeated(std::string_view text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i)
        out += text;
    return out;
}

TEST(Marginalia, tidyTable) {
    for (const auto& [selected, kept] :
         std::initializer_list<std::pair<std::string, std::optional<std::string>>>{
             {"\r\n\r\n  first  \r\n\r\n\r\n second\n\n", "first\n\nsecond"},
             {"a\n\n\n\nb\n \n\tc\t", "a\n\nb\n\nc"},
             {"\u00A0\u3000word\u2003\t", "word"},         // spaces of other kinds
             {"a\rb\r", "a\rb\r"},                         // a lone CR is no line break
             {"x\r\r\ny", "x\r\ny"},                       // only the CR before the LF goes
             {"bad\xFF\xC0 byte", "bad\uFFFD\uFFFD byte"}, // kept text is UTF-8
             {"", std::nullopt},
             {"  \r\n \t\n  \n\u00A0", std::nullopt},
             // Hostile sizes, in linear time.
             {repeated("\r\n", 1 << 19), std::nullopt},
             {std::string(1 << 20, ' '), std::nullopt},
         }) {
        EXPECT_EQ(Marginalia::tidy(selected), kept) << selected.substr(0, 40);
    }
}

TEST(Marginalia, siteTable) {
    for (const auto& [address, site] :
         std::initializer_list<std::pair<std::string, std::optional<std::string>>>{
             {"https://www.Example.COM/a?b#c", "example.com"},
             {"https://wwwexample.com/", "wwwexample.com"},
             {"https://www./", ""},
             {"about:blank", std::nullopt},
             {"file:///tmp/x.html", std::nullopt},
             {"", std::nullopt},
         }) {
        EXPECT_EQ(Marginalia::site(address), site) << address;
    }
}

TEST(Marginalia, homeIsTheSamePageThenTheSameSite) {
    // The same page (canonically) wins over an earlier bookmark of the same site, and the stored
    // address is what comes back.
    std::vector<Bookmark> both = {{"Site", "https://example.com/", true, ""},
                                  {"Page", "https://WWW.example.com/deep", true, ""}};
    EXPECT_EQ(Marginalia::home("https://example.com/deep", both), "https://WWW.example.com/deep");
    EXPECT_EQ(Marginalia::home("https://example.com", both), "https://example.com/");

    EXPECT_EQ(Marginalia::home("https://example.com/x", {}), std::nullopt);
    EXPECT_EQ(Marginalia::home("https://elsewhere.example/", both), std::nullopt);
    EXPECT_EQ(Marginalia::home("https://sub.example.com/", both), std::nullopt);

    // Local files have no site: only the very page is a home.
    std::vector<Bookmark> files = {{"File", "file:///tmp/a.html", true, ""}};
    EXPECT_EQ(Marginalia::home("file:///tmp/a.html", files), "file:///tmp/a.html");
    EXPECT_EQ(Marginalia::home("file:///tmp/b.html", files), std::nullopt);
    // A host that is only "www." has an empty site, which matches nothing.
    std::vector<Bookmark> blank = {{"Blank", "https://www./", true, ""}, {"Odd", "about:blank", true, ""}};
    EXPECT_EQ(Marginalia::home("http://www./x", blank), std::nullopt);
}

TEST(Marginalia, notesOfAnAddressOldestFirstStable) {
    const std::string a = "https://a.example/";
    std::vector<Note> stored = {{"3", a, a, "t", Date{3}},
                                {"1a", a, a, "t", Date{1}},
                                {"x", "https://A.example/", a, "t", Date{0}},
                                {"2", a, a, "t", Date{2}},
                                {"1b", a, a, "t", Date{1}}};
    std::vector<std::string> ids;
    for (const Note& note : Marginalia::notes(a, stored))
        ids.push_back(note.id);
    EXPECT_EQ(ids, (std::vector<std::string>{"1a", "1b", "2", "3"}));
}

class Shelves : public ::testing::Test {
protected:
    const std::string a = "https://a.example/";
    const std::string b = "https://a.example/b";
    const std::string c = "https://c.example/";
    const std::string d = "https://www.a.example/d";
    std::vector<Note> notes = {{"N1", a, a, "one", Date{10}},
                               {"N3", b, b, "three", Date{20}},
                               {"N2", a, "https://a.example/z", "two", Date{5}},
                               {"N4", c, c, "four", Date{10}},
                               {"N5", d, d, "five", Date{10}}};
    std::vector<Bookmark> bookmarks = {
        {"A named", a, true, ""}, {"", b, true, ""}, {"C", c, true, ""}, {"C again", c, true, ""}};

    static std::vector<std::string> addresses(const std::vector<Shelf>& shelves) {
        std::vector<std::string> result;
        for (const Shelf& shelf : shelves)
            result.push_back(shelf.address);
        return result;
    }
};

TEST_F(Shelves, everyShelfNewestFirstThenByAddress) {
    auto shelves = Marginalia::shelves(notes, bookmarks, std::nullopt);
    EXPECT_EQ(addresses(shelves), (std::vector<std::string>{b, a, c, d}));
    EXPECT_EQ(shelves[0].name, b); // its bookmark has no name
    EXPECT_EQ(shelves[1].name, "A named");
    EXPECT_EQ(shelves[2].name, "C"); // the first bookmark of the address
    EXPECT_EQ(shelves[3].name, d);   // no bookmark at all
    ASSERT_EQ(shelves[1].notes.size(), 2u);
    EXPECT_EQ(shelves[1].notes[0].id, "N2");
    EXPECT_EQ(shelves[1].notes[1].id, "N1");
    EXPECT_EQ(Marginalia::newest(shelves[1]), Date{10});

    EXPECT_TRUE(Marginalia::shelves({}, bookmarks, std::nullopt).empty());
}

TEST_F(Shelves, hereFirstThenTheRestOfItsSite) {
    EXPECT_EQ(addresses(Marginalia::shelves(notes, bookmarks, a)), (std::vector<std::string>{a, b, d}));
    EXPECT_EQ(addresses(Marginalia::shelves(notes, bookmarks, c)), (std::vector<std::string>{c}));

    // A home without notes still comes first, empty.
    const std::string fresh = "https://a.example/fresh";
    auto shelves = Marginalia::shelves(notes, bookmarks, fresh);
    EXPECT_EQ(addresses(shelves), (std::vector<std::string>{fresh, b, a, d}));
    EXPECT_EQ(shelves[0], (Shelf{fresh, fresh, {}}));
    EXPECT_EQ(Marginalia::newest(shelves[0]), distantPast);
    EXPECT_LT(distantPast, Date{-1e9});

    EXPECT_EQ(Marginalia::shelves({}, {}, std::string("https://z.example/")),
              (std::vector<Shelf>{{"https://z.example/", "https://z.example/", {}}}));
}

TEST(Marginalia, hostileTextIsHandledInLinearTime) {
    auto tidied = Marginalia::tidy(repeated("w\n\n\n \t\xFF", 1 << 17));
    ASSERT_TRUE(tidied);
    EXPECT_TRUE(tidied->starts_with("w\n\n\uFFFDw\n\n"));

    std::string controls(0x20, '\0');
    std::iota(controls.begin(), controls.end(), '\0');
    for (const std::string& address :
         {std::string(1 << 20, 'a'), "https://" + std::string(1 << 20, 'h') + "/",
          "https://\xFF\xFE" + controls + "/", controls}) {
        (void)Marginalia::site(address);
        EXPECT_EQ(Marginalia::home(address, {{"A", "https://a.example/", true, ""}}), std::nullopt);
    }
    EXPECT_EQ(Marginalia::site("https://" + std::string(1 << 20, 'H') + "/"), std::string(1 << 20, 'h'));
}

class NoteOperations : public test::WatchedPreferences {
protected:
    NoteOperations() {
        prefs().setIdentifierSource([this] { return "ID-" + std::to_string(++m_issued); });
    }

private:
    int m_issued = 0;
};

TEST_F(NoteOperations, nothingSelectedOrNoPageMakesNothing) {
    const std::vector<std::string> notAnnotatable = {"about:blank", "ftp://files.example/x",
                                                     "nimb://margin?a=x", "just words", ""};
    EXPECT_FALSE(Marginalia::addNote(prefs(), " \r\n\t\n ", "https://a.example/", "Title", Date{1}));
    for (const auto& address : notAnnotatable)
        EXPECT_FALSE(Marginalia::addNote(prefs(), "words", address, "Title", Date{1})) << address;
    EXPECT_FALSE(store().pairs("bookmarks"));
    EXPECT_FALSE(store().pairs("marginalia"));
}

TEST_F(NoteOperations, anUnfiledPageIsBookmarkedFirstInTheSameWrite) {
    const std::string page = "https://a.example/article";
    auto note =
        Marginalia::addNote(prefs(), "  Quoted words \n", page, "\n  The Article  \t", Date{1700000000.75});
    ASSERT_TRUE(note);
    EXPECT_EQ(*note, (Note{"ID-1", page, page, "Quoted words", Date{1700000000}}));
    EXPECT_EQ(prefs().bookmarks(), (std::vector<Bookmark>{{"The Article", page, false, ""}}));
    EXPECT_EQ(store().pairs("marginalia"), (Pairs{{page, "ID-1", "Quoted words", "1700000000", page}}));
    EXPECT_EQ(prefs().notes(), std::vector<Note>{*note});
    EXPECT_EQ(store().writes,
              (std::vector<std::vector<std::string>>{{"bookmarks", "bookmarkSummaries", "marginalia"}}));

    // A blank title names the bookmark after the address; "HTTP" in capitals is still the web.
    const std::string other = "HTTP://b.example/";
    ASSERT_TRUE(Marginalia::addNote(prefs(), "x", other, " \n ", Date{2}));
    EXPECT_EQ(prefs().bookmarks().back(), (Bookmark{other, other, false, ""}));

    // A second note on the same page files under the bookmark just made.
    EXPECT_EQ(Marginalia::addNote(prefs(), "again", page, "Ignored", Date{3})->address, page);
    EXPECT_EQ(store().writes.back(), std::vector<std::string>{"marginalia"});
    EXPECT_EQ(prefs().bookmarks().size(), 2u);
    EXPECT_EQ(prefs().notes().size(), 3u);
}

TEST_F(NoteOperations, aDeepPageFilesUnderItsSite) {
    prefs().setBookmarks({{"Front", "http://example.com/", true, ""}});
    const std::string page = "https://www.example.com/deep/page";
    auto note = Marginalia::addNote(prefs(), "said", page, "Deep", Date{5});
    ASSERT_TRUE(note);
    EXPECT_EQ(note->address, "http://example.com/");
    EXPECT_EQ(note->source, page);
    EXPECT_EQ(prefs().bookmarks().size(), 1u);
    EXPECT_EQ(Marginalia::notes(prefs(), "http://example.com/"), std::vector<Note>{*note});
    EXPECT_TRUE(Marginalia::notes(prefs(), page).empty());
}

TEST(NoteIdentifiers, areCanonicalUpperCaseUuids) {
    Preferences prefs(std::make_unique<InMemoryStore>());
    auto first = Marginalia::addNote(prefs, "x", "https://a.example/", "A", Date{1});
    auto second = Marginalia::addNote(prefs, "y", "https://a.example/", "A", Date{1});
    ASSERT_TRUE(first && second);
    EXPECT_TRUE(std::regex_match(first->id, std::regex("[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}")))
        << first->id;
    EXPECT_NE(first->id, second->id);
    EXPECT_EQ(Marginalia::forgetNote(prefs, first->id), first);
    EXPECT_EQ(prefs.notes(), std::vector<Note>{*second});
}

} // namespace
} // namespace nimb
