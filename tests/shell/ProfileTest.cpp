// The profile as a careless system leaves it: held by another program, read-only, damaged, or not
// there at all. The user's records are never lost or misreported, and the window never waits.

#include "ShellTest.h"

#include "chrome/NoticeBarView.h"
#include "library/Bookmarks.h"
#include "storage/SqliteStore.h"
#include "window/NoticeController.h"

#include <fstream>
#include <sqlite3.h>

namespace nimb::test {
namespace {

namespace fs = std::filesystem;

const std::string fixture = "http://browse.example/";
const std::string kept = "http://kept.example/";

// Another program holding the write lock of the profile's database while it lives.
class Holder {
public:
    explicit Holder(const std::string& path) {
        sqlite3_open(path.c_str(), &m_db);
        sqlite3_busy_timeout(m_db, 5000); // the browser may be writing a visit just now
        m_held = sqlite3_exec(m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    ~Holder() { release(); }
    [[nodiscard]] bool held() const { return m_held; }
    void release() {
        if (!m_db) return;
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(m_db);
        m_db = nullptr;
    }

private:
    sqlite3* m_db = nullptr;
    bool m_held = false;
};

// What a fresh reader finds in the profile's file.
std::vector<Bookmark> bookmarksOnDisk(const std::string& path) {
    SqliteStore::Options options;
    options.busyTimeoutMilliseconds = 2000;
    options.log = [](const std::string&) {};
    auto store = SqliteStore::open(path, options);
    if (!store) return {};
    return Preferences(std::move(store)).bookmarks();
}

std::optional<std::string> noticeOf(BrowserWindowController& window) {
    return window.context().notice().text();
}

using ProfileTest = ShellTest;

TEST_F(ProfileTest, aSaveHeldUpByAnotherProgramNeitherFreezesNorClaimsSuccessHoldsUpQuittingAndLandsLater) {
    ASSERT_TRUE(visit(fixture));
    Holder holder(m_directories.preferencesFile());
    ASSERT_TRUE(holder.held());

    app().actions().activate("addBookmark");
    // Read at once, written later: the toolbar and the pages see it, the status line does not claim it.
    ASSERT_EQ(prefs().bookmarks().size(), 1u);
    EXPECT_NE(status(), words().addedBookmark("Browse fixture"));
    ASSERT_TRUE(waitForStatus(words().waitingToSave()));
    EXPECT_TRUE(app().profile().held());
    EXPECT_TRUE(bookmarksOnDisk(m_directories.preferencesFile()).empty());

    // The window answers meanwhile: a page loads and its visit is recorded in memory.
    ASSERT_TRUE(visit(kept));
    EXPECT_EQ(prefs().history().front().address, kept);

    // Quitting asks first.
    auto waiting = static_cast<std::int64_t>(app().profile().unsaved()); // the visits' too, perhaps
    ASSERT_GE(waiting, 1);
    app().actions().activate("quit");
    auto [question, detail] = answerQuestion(false);
    EXPECT_EQ(question, words().unsavedQuestion());
    // Counted when Quit was chosen: the bookmark, and the visits' writes unless they landed just before.
    bool counted = false;
    for (std::int64_t n = 1; n <= waiting; ++n)
        counted = counted || detail == words().unsavedDetail(n);
    EXPECT_TRUE(counted) << detail;
    EXPECT_EQ(app().windows().size(), 1u) << "kept open to wait";
    // Closing the last window ends the run just the same.
    gtk_window_close(window().window());
    EXPECT_EQ(answerQuestion(false).first, words().unsavedQuestion());
    EXPECT_EQ(app().windows().size(), 1u);

    // With several tabs, Quit asks one question at a time, the tabs first.
    app().actions().activate("newTab");
    app().actions().activate("quit");
    EXPECT_EQ(answerQuestion(true).first, "Quit The NIMB 2000?");
    EXPECT_EQ(answerQuestion(false).first, words().unsavedQuestion());
    EXPECT_EQ(dialog(), nullptr);
    ASSERT_EQ(app().windows().size(), 1u);
    EXPECT_EQ(tabs().size(), 2u);

    // Closing the last window asks the same two, in the same order.
    app().actions().activate("closeWindow");
    EXPECT_EQ(answerQuestion(true).first, words().closeWindowQuestion());
    EXPECT_EQ(answerQuestion(false).first, words().unsavedQuestion());
    ASSERT_EQ(app().windows().size(), 1u);
    // Cancelled at the second question, the first is asked again next time.
    app().actions().activate("closeWindow");
    EXPECT_EQ(answerQuestion(false).first, words().closeWindowQuestion());
    EXPECT_EQ(dialog(), nullptr);
    EXPECT_EQ(app().windows().size(), 1u);

    holder.release();
    ASSERT_TRUE(waitUntil([&] { return app().profile().unsaved() == 0 && !app().profile().held(); }));
    ASSERT_EQ(bookmarksOnDisk(m_directories.preferencesFile()).size(), 1u);
    EXPECT_EQ(bookmarksOnDisk(m_directories.preferencesFile()).front().address, fixture);

    // Once it can, a save says so when it has landed.
    ASSERT_TRUE(visit("http://links.example/links.html"));
    app().actions().activate("addBookmark");
    ASSERT_TRUE(waitForStatus(words().addedBookmark("Links")));
    EXPECT_EQ(bookmarksOnDisk(m_directories.preferencesFile()).size(), 2u);
}

class ReadOnlyProfileTest : public ShellTest {
protected:
    void configure() override {
        seed([](Preferences& stored) { stored.setBookmarks({{"Kept", kept, true, ""}}); });
        // The owner took away their own write permission from the folder.
        fs::permissions(m_directories.data, fs::perms::owner_read | fs::perms::owner_exec);
    }
    void TearDown() override {
        ShellTest::TearDown();
        fs::permissions(m_directories.data, fs::perms::owner_all);
    }
};

TEST_F(ReadOnlyProfileTest, showsTheUsersRecordsSaysChangesAreNotKeptAndLeavesTheFolderAlone) {
    EXPECT_EQ(fs::status(m_directories.data).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_exec);
    ASSERT_EQ(prefs().bookmarks().size(), 1u);
    EXPECT_EQ(noticeOf(window()), words().profileReadOnly(m_directories.preferencesFile()));

    std::string before = [&] {
        std::ifstream in(m_directories.preferencesFile(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }();
    ASSERT_TRUE(visit(fixture));
    app().actions().activate("addBookmark");
    ASSERT_TRUE(waitForStatus(words().notSavedReadOnly()));
    EXPECT_EQ(prefs().bookmarks().size(), 2u) << "kept for this run";
    // The notice stays through later loads.
    ASSERT_TRUE(visit(kept));
    EXPECT_TRUE(noticeOf(window()));
    std::ifstream in(m_directories.preferencesFile(), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), before);
}

class ProfileInUseTest : public ShellTest {
protected:
    void configure() override {
        seed([](Preferences& stored) { stored.setBookmarks({{"Kept", kept, true, ""}}); });
        // Another program has the file in the old journal's way, which keeps a newcomer from
        // switching the journal while it holds it; it lets go only after the browser has started.
        sqlite3_open(m_directories.preferencesFile().c_str(), &m_other);
        ASSERT_EQ(sqlite3_exec(m_other,
                               "PRAGMA journal_mode=DELETE; BEGIN IMMEDIATE; "
                               "UPDATE preferences SET value = value WHERE key = 'none'",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
    }
    void TearDown() override {
        sqlite3_close(m_other);
        ShellTest::TearDown();
    }
    sqlite3* m_other = nullptr;
};

TEST_F(ProfileInUseTest, opensReadOnlyAfterOneWaitWithTheUsersRecords) {
    EXPECT_EQ(noticeOf(window()), words().profileInUse(m_directories.preferencesFile()));
    ASSERT_EQ(prefs().bookmarks().size(), 1u);
    sqlite3_exec(m_other, "ROLLBACK", nullptr, nullptr, nullptr);
    ASSERT_TRUE(visit(fixture));
    app().actions().activate("addBookmark");
    // Read-only for the whole run, even once the other program has let go.
    ASSERT_TRUE(waitForStatus(words().notSavedReadOnly()));
    EXPECT_EQ(bookmarksOnDisk(m_directories.preferencesFile()).size(), 1u);
}

class DamagedProfileTest : public ShellTest {
protected:
    void configure() override {
        fs::remove(m_directories.preferencesFile());
        std::ofstream(m_directories.preferencesFile(), std::ios::binary) << std::string(4096, 'x');
    }
};

TEST_F(DamagedProfileTest, saysOnceWhereTheOldFileIsUntilDismissedInAnyWindow) {
    auto text = noticeOf(window());
    ASSERT_TRUE(text);
    auto aside = app().profile().notice()->path;
    EXPECT_EQ(*text, words().profileSetAside(aside));
    EXPECT_TRUE(fs::exists(aside));
    EXPECT_EQ(aside.rfind(m_directories.preferencesFile() + ".corrupt-", 0), 0u) << aside;

    // Every window says it, in the current language, until it is dismissed in one of them.
    app().actions().activate("newWindow");
    ASSERT_EQ(app().windows().size(), 2u);
    EXPECT_EQ(noticeOf(window(1)), words().profileSetAside(aside));
    app().actions().activate("chooseLanguage", "fr");
    EXPECT_EQ(noticeOf(window(0)), words().profileSetAside(aside));
    EXPECT_NE(words().profileSetAside(aside), *text);
    g_signal_emit_by_name(window(1).context().notice().view()->dismissButton(), "clicked");
    EXPECT_FALSE(noticeOf(window(0)));
    EXPECT_FALSE(noticeOf(window(1)));
    app().actions().activate("newWindow");
    EXPECT_FALSE(noticeOf(window(2)));
}

class UnavailableProfileTest : public ShellTest {
protected:
    void configure() override {
        // A folder in the database's place: nothing to read, nothing can be kept.
        fs::remove(m_directories.preferencesFile());
        fs::create_directory(m_directories.preferencesFile());
    }
};

TEST_F(UnavailableProfileTest, runsInMemoryAndSaysSoPlainlyNotInTheStatusLine) {
    EXPECT_EQ(noticeOf(window()), words().profileUnavailable(m_directories.preferencesFile()));
    EXPECT_EQ(status().find("preferences.sqlite"), std::string::npos) << status();
    ASSERT_TRUE(Bookmarks::add(prefs(), Bookmark{"Kept", kept, false, {}}));
    EXPECT_EQ(prefs().bookmarks().size(), 1u);
    EXPECT_TRUE(fs::is_directory(m_directories.preferencesFile()));
}

} // namespace
} // namespace nimb::test
