#include "library/Bookmarks.h"

#include "WatchedPreferences.h"

#include <gtest/gtest.h>

namespace nimb {
namespace {

class BookmarkOperations : public test::WatchedPreferences {
protected:
    // Seeds the lists and forgets those writes.
    void seed(const std::vector<Bookmark>& bookmarks, const std::vector<Note>& notes = {}) {
        prefs().setBookmarks(bookmarks);
        prefs().setNotes(notes);
        store().written.clear();
        store().writes.clear();
    }
    using Writes = std::vector<std::vector<std::string>>;
};

std::optional<BookmarkAction> parsed(std::string_view address) {
    auto url = Url::parse(address);
    if (!url) return std::nullopt;
    return BookmarkAction::fromUrl(*url);
}

TEST(Records, bookmarkLabelAndNoteLineAreCutByCharacters) {
    struct Case {
        std::string text;
        std::int64_t max;
        std::string cut;
    };
    const std::string family = "\U0001F468\u200D\U0001F469\u200D\U0001F467"; // one character, many bytes
    const std::string flag = "\U0001F1EB\U0001F1F7";                         // one of two code points
    for (const auto& [text, max, cut] : {
             Case{"Exactly", 7, "Exactly"},
             Case{"One over", 7, "One ov\u2026"},
             Case{"e\u0301e\u0301e\u0301", 3, "e\u0301e\u0301e\u0301"}, // combining marks
             Case{"e\u0301e\u0301e\u0301x", 3, "e\u0301e\u0301\u2026"},
             Case{family + family + family, 2, family + "\u2026"},
             Case{flag + flag + flag, 2, flag + "\u2026"},
             Case{"ab", 1, "\u2026"},
             Case{"ab", 0, ""},
             Case{std::string(1 << 20, 'x'), 4, "xxx\u2026"},
         }) {
        EXPECT_EQ((Bookmark{text, "https://a.example/", true, ""}.label(max)), cut) << text << " / " << max;
        EXPECT_EQ((Note{"id", "a", "a", text, Date{}}.line(max)), cut) << text << " / " << max;
    }
    // A note's line is its first line.
    for (const auto& [text, line] : std::initializer_list<std::pair<std::string, std::string>>{
             {"first line\nsecond", "first line"}, {"windows\r\nline", "windows"}, {"\nafter a blank", ""}})
        EXPECT_EQ((Note{"id", "a", "a", text, Date{}}.line(80)), line) << text;
}

TEST(BookmarkAction, hrefEncodesEverythingButLettersMarksAndDigitsAndEveryActionSurvivesIt) {
    // Values a page may really hold: separators of the query, escapes, other scripts, line feeds.
    const std::string awkward = "Tom & Jerry = 100% + more?#\n\u00E9\u0301 \U0001F600 \"q\" <b> '\\'";
    using A = BookmarkAction;
    // With an empty href, only the round trip is checked.
    for (const auto& [action, href] : std::initializer_list<std::pair<BookmarkAction, std::string>>{
             {A::remove("https://a.example/x?y=1"), "nimb://remove?a=https%3A%2F%2Fa%2Eexample%2Fx%3Fy%3D1"},
             {A::addToToolbar("a b"), "nimb://toolbar-add?a=a%20b"},
             {A::removeFromToolbar("caf\u00E9"), "nimb://toolbar-remove?a=caf\u00E9"},
             {A::edit("https://a.example/", "Tom & Jerry", "x+y\n"),
              "nimb://edit?a=https%3A%2F%2Fa%2Eexample%2F&n=Tom%20%26%20Jerry&s=x%2By%0A"},
             {A::forgetNote("https://a.example/", "0F8C-1"),
              "nimb://note-forget?a=https%3A%2F%2Fa%2Eexample%2F&i=0F8C%2D1"},
             {A::marginalia("x_y"), "nimb://margin?a=x%5Fy"},
             {A::press(Shortcut::find), "nimb://press?k=find"},
             {A::remove("https://a.example/p?q=1&r=2#f"), ""},
             {A::addToToolbar(awkward), ""},
             {A::removeFromToolbar("file:///home/me/a b.html"), ""},
             {A::edit("https://a.example/", awkward, awkward + "\n\nsecond"), ""},
             {A::edit("https://a.example/", "", ""), ""},
             {A::forgetNote(awkward, "9A1F0C2E-0000-4000-8000-000000000001"), ""},
             {A::marginalia("http://[::1]:8080/x"), ""},
             {A::edit("u", std::string(1 << 20, 'a') + "\u00E9 &", ""), ""}, // a huge value comes back whole
         }) {
        if (!href.empty()) {
            EXPECT_EQ(action.href(), href);
        }
        EXPECT_EQ(parsed(action.href()), action) << action.href().substr(0, 80);
    }
}

TEST(BookmarkAction, parsingTable) {
    using A = BookmarkAction;
    for (const auto& [address, action] :
         std::initializer_list<std::pair<std::string, std::optional<BookmarkAction>>>{
             // A submitted form: spaces come as "+", a typed "+" as "%2B", line ends as CR LF.
             {"nimb://edit?a=https%3A%2F%2Fa.example%2F&n=My+own+name&s=one%0D%0Atwo",
              A::edit("https://a.example/", "My own name", "one\ntwo")},
             {"nimb://edit?a=u&n=1%2B1%3D2&s=C%2B%2B", A::edit("u", "1+1=2", "C++")},
             {"nimb://edit?a=u", A::edit("u", "", "")},
             {"NIMB://remove?a=u", A::remove("u")},
             {"nimb://note-forget?a=u&i=N1", A::forgetNote("u", "N1")},
             {"nimb://press?k=find", A::press(Shortcut::find)},
             {"nimb://remove?a=first&a=second", A::remove("second")}, // a later field wins
             {"nimb://remove?x=1&a=u#frag", A::remove("u")},
             // Bytes that do not decode to UTF-8 stay as written; raw text the parser had to escape
             // comes back as typed.
             {"nimb://remove?a=x+%FF", A::remove("x%20%FF")},
             {"nimb://remove?a=100%", A::remove("100%")},
             {"nimb://remove?a=a b", A::remove("a b")},
             // No action.
             {"nimb://note-forget?a=u", std::nullopt},
             {"nimb://note-forget?a=u&i=", std::nullopt},
             {"nimb://press?k=FIND", std::nullopt},
             {"nimb://press", std::nullopt},
             {"nimb://remove?a=", std::nullopt},
             {"nimb://Remove?a=u", std::nullopt},
             {"nimb://bookmark?a=u", std::nullopt},
             {"nimb:remove?a=u", std::nullopt},
             {"https://remove?a=u", std::nullopt},
             // Hostile sizes: read in one pass, to no action or the action they spell.
             {"nimb://remove?" + std::string(1 << 20, '&'), std::nullopt},
             {"nimb://" + std::string(1 << 20, 'a') + "?a=u", std::nullopt},
             {"nimb://remove?a=" + std::string(1 << 20, '%'), A::remove(std::string(1 << 20, '%'))},
             {"nimb://remove?a=" + std::string(1 << 20, '+'), A::remove(std::string(1 << 20, ' '))},
         }) {
        EXPECT_EQ(parsed(address), action) << address;
    }
}

TEST(BookmarkAction, fieldsKeepNamesAsWritten) {
    auto url = Url::parse("nimb://edit?%61=1&b&c=x+y%2Bz&c=again&=empty");
    ASSERT_TRUE(url);
    EXPECT_EQ(BookmarkAction::fields(*url),
              (std::map<std::string, std::string>{{"%61", "1"}, {"b", ""}, {"c", "again"}, {"", "empty"}}));
    EXPECT_TRUE(BookmarkAction::fields(*Url::parse("nimb://edit")).empty());
    EXPECT_EQ(BookmarkAction::fields(*Url::parse("nimb://edit?s=a%0D%0A%0D%0Ab%0Dc"))["s"], "a\n\nb\rc");
}

TEST(BookmarkAction, hostileAddressesAreNoActionOrNameAnAddress) {
    const std::string megabyte(1 << 20, 'a');
    std::string controls;
    for (int c = 0; c < 0x20; ++c)
        controls += static_cast<char>(c);
    for (const std::string& address :
         {std::string(), std::string("nimb://"),
          "nimb://edit?a=u&n=" + megabyte + "&s=" + std::string(1 << 19, '='),
          "nimb://remove?a=\xFF\xFE\xC0\x80" + controls, "nimb://remove?a=" + controls + "\x7F"}) {
        if (auto action = parsed(address)) {
            EXPECT_FALSE(action->address.empty());
        }
    }
}

TEST_F(BookmarkOperations, addingComparesCanonicalAddresses) {
    seed({{"Example", "http://www.Example.com/", true, ""}});
    EXPECT_FALSE(Bookmarks::add(prefs(), {"Again", "http://example.com", false, ""}));
    EXPECT_FALSE(Bookmarks::add(prefs(), {"Again", "HTTP://WWW.EXAMPLE.COM/", false, ""}));
    EXPECT_TRUE(store().written.empty());

    // Another scheme or another path is another page.
    EXPECT_TRUE(Bookmarks::add(prefs(), {"Secure", "https://example.com/", false, "why"}));
    EXPECT_TRUE(Bookmarks::add(prefs(), {"Deep", "http://example.com/deep", true, ""}));
    auto stored = prefs().bookmarks();
    ASSERT_EQ(stored.size(), 3u);
    EXPECT_EQ(stored[1], (Bookmark{"Secure", "https://example.com/", false, "why"}));
    EXPECT_EQ(stored[2].name, "Deep");

    // Addresses that are not web addresses compare as written.
    EXPECT_TRUE(Bookmarks::add(prefs(), {"Odd", "about:blank", true, ""}));
    EXPECT_FALSE(Bookmarks::add(prefs(), {"Odd", "about:blank", true, ""}));
    EXPECT_TRUE(Bookmarks::add(prefs(), {"Odd", "about:Blank", true, ""}));
}

TEST_F(BookmarkOperations, removingTakesItsNotesAndNothingElse) {
    const std::string a = "https://a.example/";
    const std::string b = "https://b.example/";
    seed({{"A", a, true, ""}, {"B", b, true, ""}}, {{"N1", a, a, "one", Date{1}},
                                                    {"N2", b, a, "two", Date{2}},
                                                    {"N3", a, "https://a.example/deep", "three", Date{3}},
                                                    {"N4", "https://A.example/", a, "four", Date{4}}});

    EXPECT_EQ(Bookmarks::remove(prefs(), a), (Bookmark{"A", a, true, ""}));
    EXPECT_EQ(store().writes, (Writes{{"bookmarks", "bookmarkSummaries", "marginalia"}})) << "in one go";
    EXPECT_EQ(prefs().bookmarks(), (std::vector<Bookmark>{{"B", b, true, ""}}));
    EXPECT_EQ(prefs().notes(), (std::vector<Note>{{"N2", b, a, "two", Date{2}},
                                                  {"N4", "https://A.example/", a, "four", Date{4}}}));

    // Not found: exact comparison, nothing written.
    store().written.clear();
    EXPECT_FALSE(Bookmarks::remove(prefs(), "https://B.example/"));
    EXPECT_FALSE(Bookmarks::remove(prefs(), a));
    EXPECT_TRUE(store().written.empty());

    // A bookmark without notes leaves the notes as they are stored, unreadable rows included.
    store().set("marginalia", Pairs{{b, "N2", "two", "2", a}, {"broken"}});
    store().written.clear();
    EXPECT_TRUE(Bookmarks::add(prefs(), {"C", "https://c.example/", true, ""}));
    EXPECT_TRUE(Bookmarks::remove(prefs(), "https://c.example/"));
    EXPECT_EQ(store().pairs("marginalia")->size(), 2u);

    // Notes stay while another bookmark of the address remains.
    seed({{"First", a, true, ""}, {"Second", a, false, ""}}, {{"N1", a, a, "one", Date{1}}});
    EXPECT_EQ(Bookmarks::remove(prefs(), a)->name, "First");
    EXPECT_EQ(prefs().notes().size(), 1u);
    EXPECT_EQ(Bookmarks::remove(prefs(), a)->name, "Second");
    EXPECT_TRUE(prefs().notes().empty());
}

// The toolbar order and the summaries travel with the list, in one write.
TEST_F(BookmarkOperations, toolbarActionsChangeTheFlagOnceInPlace) {
    const std::string b = "https://b.example/";
    seed({{"A", "https://a.example/", true, ""},
          {"B", b, false, "s"},
          {"C", "https://c.example/", false, ""}});
    EXPECT_EQ(Bookmarks::apply(prefs(), BookmarkAction::addToToolbar(b)), (Bookmark{"B", b, true, "s"}));
    EXPECT_EQ(store().writes, (Writes{{"bookmarks", "bookmarkSummaries"}}));
    EXPECT_EQ(prefs().bookmarks()[1], (Bookmark{"B", b, true, "s"}));
    store().written.clear();
    EXPECT_FALSE(Bookmarks::apply(prefs(), BookmarkAction::addToToolbar(b)));
    EXPECT_FALSE(Bookmarks::setOnToolbar(prefs(), false, "https://missing.example/"));
    EXPECT_TRUE(store().written.empty());
    EXPECT_EQ(Bookmarks::apply(prefs(), BookmarkAction::removeFromToolbar(b))->onToolbar, false);
    EXPECT_EQ(Bookmarks::setOnToolbar(prefs(), true, "https://c.example/")->name, "C");
    // The toolbar shows the flagged ones in stored order.
    const auto stored = prefs().bookmarks();
    EXPECT_EQ(Bookmarks::toolbar(prefs()), (std::vector<Bookmark>{stored[0], stored[2]}));
}

TEST_F(BookmarkOperations, editingWritesOnlyRealChanges) {
    const std::string a = "https://a.example/";
    seed({{"Zero", "https://z.example/", true, ""}, {"Name", a, false, "Said"}});

    EXPECT_FALSE(Bookmarks::edit(prefs(), a, "  Name ", "Said\n")); // the same after trimming
    EXPECT_FALSE(Bookmarks::edit(prefs(), a, "   ", " Said"));      // blank name keeps the old one
    EXPECT_FALSE(Bookmarks::edit(prefs(), "https://A.example/", "New", ""));
    EXPECT_TRUE(store().written.empty());

    EXPECT_EQ(Bookmarks::edit(prefs(), a, "  ", "  Other words "),
              (Bookmark{"Name", a, false, "Other words"}));
    // Line breaks inside either are kept.
    EXPECT_EQ(Bookmarks::edit(prefs(), a, "Two\nlines", "a\n\nb"),
              (Bookmark{"Two\nlines", a, false, "a\n\nb"}));
    EXPECT_EQ(Bookmarks::edit(prefs(), a, "\tRenamed\n", ""), (Bookmark{"Renamed", a, false, ""}));
    auto stored = prefs().bookmarks();
    EXPECT_EQ(stored[1], (Bookmark{"Renamed", a, false, ""}));
    EXPECT_EQ(stored[0].name, "Zero");
    EXPECT_TRUE(store().pairs("bookmarkSummaries")->empty());
}

TEST_F(BookmarkOperations, applyingEditRemoveAndWindowActions) {
    const std::string a = "https://a.example/";
    seed({{"A", a, false, ""}}, {{"N1", a, a, "one", Date{1}}});

    EXPECT_EQ(Bookmarks::apply(prefs(), BookmarkAction::edit(a, "Named", "Summed")),
              (Bookmark{"Named", a, false, "Summed"}));

    // The window carries these out; the records stay as they are.
    store().written.clear();
    EXPECT_FALSE(Bookmarks::apply(prefs(), BookmarkAction::forgetNote(a, "N1")));
    EXPECT_FALSE(Bookmarks::apply(prefs(), BookmarkAction::marginalia(a)));
    EXPECT_FALSE(Bookmarks::apply(prefs(), BookmarkAction::press(Shortcut::bookmarks)));
    EXPECT_TRUE(store().written.empty());

    EXPECT_EQ(Bookmarks::apply(prefs(), BookmarkAction::remove(a)), (Bookmark{"Named", a, false, "Summed"}));
    EXPECT_TRUE(prefs().bookmarks().empty());
    EXPECT_TRUE(prefs().notes().empty());
    EXPECT_FALSE(Bookmarks::apply(prefs(), BookmarkAction::remove(a)));
}

} // namespace
} // namespace nimb
