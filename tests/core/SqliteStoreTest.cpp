// What only the persistent store has to get right: damaged files, lists with bad elements, file
// permissions, and two processes sharing one file.

#include "storage/SqliteStore.h"
#include "TemporaryDirectory.h"
#include "preferences/Preferences.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace nimb {
namespace {

namespace fs = std::filesystem;

struct Opened {
    std::unique_ptr<SqliteStore> store;
    std::vector<std::string> log;
};

Opened openAt(const std::string& path, std::int64_t now = 1'700'000'000) {
    Opened opened;
    SqliteStore::Options options;
    options.now = [now] { return now; };
    options.log = [&log = opened.log](const std::string& line) { log.push_back(line); };
    std::string error;
    opened.store = SqliteStore::open(path, options, &error);
    EXPECT_TRUE(opened.store) << error;
    return opened;
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void execute(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
}

// A store file in a fresh directory of its own.
class SqliteStoreTest : public ::testing::Test {
protected:
    test::TemporaryDirectory directory;
    const std::string path = directory.file("preferences.sqlite");
};

TEST_F(SqliteStoreTest, valuesOutliveTheStoreInFilesForTheUserOnly) {
    {
        Preferences preferences(openAt(path).store);
        preferences.setSearchEngine(SearchEngine::google);
        preferences.setRememberHistory(false);
        preferences.setHistory({{"https://x.example/", "Ünïcödé — title", Date{5}, 3}});
        for (const std::string& file : {path, path + "-wal"}) {
            struct stat info {};
            ASSERT_EQ(stat(file.c_str(), &info), 0) << file;
            EXPECT_EQ(info.st_mode & 0777, 0600u) << file;
        }
    }
    Preferences again(openAt(path).store);
    EXPECT_EQ(again.searchEngine(), SearchEngine::google);
    EXPECT_FALSE(again.rememberHistory());
    EXPECT_EQ(again.history().at(0).title, "Ünïcödé — title");
}

TEST_F(SqliteStoreTest, unreadableFilesAreSetAsideNeverDeleted) {
    // Opening at `now` logs one line naming the file set aside, and leaves a fresh, working store.
    auto reopen = [&](std::int64_t now, const std::string& aside) {
        auto opened = openAt(path, now);
        ASSERT_TRUE(opened.store);
        ASSERT_EQ(opened.log.size(), 1u);
        EXPECT_NE(opened.log[0].find(path + aside), std::string::npos) << opened.log[0];
        EXPECT_TRUE(fs::exists(path + aside));
        EXPECT_EQ(opened.store->setAside(), path + aside);
        EXPECT_EQ(opened.store->string("key1"), std::nullopt);
        opened.store->set("k", "fresh");
        EXPECT_EQ(opened.store->string("k"), "fresh");
    };

    const std::string garbage(4096, 'x');
    writeFile(path, garbage);
    reopen(1'700'000'001, ".corrupt-1700000001");
    EXPECT_EQ(readFile(path + ".corrupt-1700000001"), garbage);

    // A database of ours cut short.
    {
        auto opened = openAt(path);
        for (int i = 0; i < 200; ++i)
            opened.store->set("key" + std::to_string(i), std::string(500, 'v'));
    }
    execute(path, "PRAGMA wal_checkpoint(TRUNCATE)");
    std::string whole = readFile(path);
    ASSERT_GT(whole.size(), 8192u);
    writeFile(path, whole.substr(0, whole.size() / 2));
    fs::remove(path + "-wal");
    reopen(1'700'000'002, ".corrupt-1700000002");

    // Somebody else's database: kept whole, under the next free name for the same second.
    fs::remove(path);
    execute(path, "CREATE TABLE bookmarks (url TEXT); INSERT INTO bookmarks VALUES ('https://x.example/')");
    writeFile(path + ".corrupt-1700000002-2", "taken");
    reopen(1'700'000'002, ".corrupt-1700000002-3");
    EXPECT_EQ(readFile(path + ".corrupt-1700000002-2"), "taken");

    // Our own database with a table of another shape.
    fs::remove(path);
    execute(path, "PRAGMA application_id = 1313426754; CREATE TABLE preferences (key TEXT, value TEXT)");
    reopen(1'700'000'003, ".corrupt-1700000003");
}

TEST_F(SqliteStoreTest, anEmptyFileIsAFreshStoreAndNothingIsSetAside) {
    writeFile(path, "");
    auto opened = openAt(path);
    ASSERT_TRUE(opened.store);
    EXPECT_TRUE(opened.log.empty());
    EXPECT_EQ(std::distance(fs::directory_iterator(directory.path()), fs::directory_iterator()), 3)
        << "only the database and its write-ahead log files";
}

TEST_F(SqliteStoreTest, aMissingDirectoryOrAFolderInTheFilesPlaceIsAnErrorNotASetAside) {
    std::string error;
    EXPECT_FALSE(SqliteStore::open(directory.file("absent/preferences.sqlite"), &error));
    EXPECT_FALSE(error.empty());

    fs::create_directory(path);
    fs::path inside = fs::path(path) / "kept";
    writeFile(inside.string(), "mine");
    EXPECT_FALSE(SqliteStore::open(path, &error));
    EXPECT_EQ(readFile(inside.string()), "mine");
    EXPECT_EQ(std::distance(fs::directory_iterator(directory.path()), fs::directory_iterator()), 1);
}

TEST_F(SqliteStoreTest, aProfileTheUserMadeReadOnlyIsReadAndNeverWritten) {
    {
        auto opened = openAt(path);
        ASSERT_TRUE(opened.store->set("bookmarks", Pairs{{"Kept", "https://kept.example/"}}).landed());
        EXPECT_FALSE(opened.store->readOnly());
    }
    auto expectReadOnly = [&](const std::string& what) {
        SCOPED_TRACE(what);
        std::string before = readFile(path);
        auto opened = openAt(path);
        ASSERT_TRUE(opened.store);
        ASSERT_TRUE(opened.store->readOnly());
        EXPECT_EQ(opened.store->readOnly()->why, WriteOutcome::Kind::readOnly);
        EXPECT_EQ(opened.store->pairs("bookmarks"), (Pairs{{"Kept", "https://kept.example/"}}));
        WriteOutcome outcome = opened.store->set("bookmarks", Pairs{});
        EXPECT_EQ(outcome.kind, WriteOutcome::Kind::readOnly);
        EXPECT_FALSE(outcome.good());
        EXPECT_EQ(opened.store->pairs("bookmarks")->size(), 1u);
        opened.store.reset();
        EXPECT_EQ(readFile(path), before);
    };

    // The owner's own write permission taken away counts, even for a user the system lets write.
    fs::permissions(path, fs::perms::owner_read);
    expectReadOnly("file");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
    fs::permissions(directory.path(), fs::perms::owner_read | fs::perms::owner_exec);
    expectReadOnly("folder");
    EXPECT_EQ(fs::status(directory.path()).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_exec);
    fs::permissions(directory.path(), fs::perms::owner_all);

    // A folder that cannot be written, without a store in it, makes no store.
    fs::create_directory(directory.file("empty"));
    fs::permissions(directory.file("empty"), fs::perms::owner_read | fs::perms::owner_exec);
    std::string error;
    EXPECT_FALSE(SqliteStore::open(directory.file("empty/preferences.sqlite"), &error));
    EXPECT_FALSE(fs::exists(directory.file("empty/preferences.sqlite")));
    fs::permissions(directory.file("empty"), fs::perms::owner_all);
}

TEST_F(SqliteStoreTest, aWriteHeldUpByAnotherProgramSaysSoAndChangesNothing) {
    { ASSERT_TRUE(openAt(path).store->set("list", Pairs{{"one"}}).landed()); }
    SqliteStore::Options options;
    options.busyTimeoutMilliseconds = 0;
    options.log = [](const std::string&) {};
    auto store = SqliteStore::open(path, options);
    ASSERT_TRUE(store);

    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    WriteOutcome outcome = store->write({{"list", Pairs{{"two"}}}, {"flag", true}});
    EXPECT_EQ(outcome.kind, WriteOutcome::Kind::locked);
    EXPECT_EQ(store->pairs("list"), (Pairs{{"one"}}));
    EXPECT_EQ(store->boolean("flag"), std::nullopt);
    bool called = false;
    store->afterWrites([&](const WriteOutcome& last) {
        called = true;
        EXPECT_EQ(last.kind, WriteOutcome::Kind::locked);
    });
    EXPECT_TRUE(called);

    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    EXPECT_TRUE(store->write({{"list", Pairs{{"two"}}}, {"flag", true}}).landed());
    EXPECT_EQ(store->pairs("list"), (Pairs{{"two"}}));
    EXPECT_EQ(store->boolean("flag"), true);

    // Held in the old journal's way, which keeps a newcomer from switching the journal: after the one
    // wait the store opens read-only, and says another program has it.
    store.reset();
    ASSERT_EQ(sqlite3_exec(other,
                           "PRAGMA journal_mode=DELETE; BEGIN IMMEDIATE; "
                           "UPDATE preferences SET value = 'x' WHERE key = 'nothing'",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    std::string error;
    store = SqliteStore::open(path, options, &error);
    ASSERT_TRUE(store) << error;
    ASSERT_TRUE(store->readOnly());
    EXPECT_EQ(store->readOnly()->why, WriteOutcome::Kind::locked);
    EXPECT_EQ(store->pairs("list"), (Pairs{{"two"}}));
    EXPECT_EQ(store->set("list", Pairs{}).kind, WriteOutcome::Kind::readOnly) << "not kept this run";
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
}

TEST_F(SqliteStoreTest, aBadElementOrRowCostsOnlyItself) {
    { openAt(path).store->set("history", Pairs{{"a"}}); }
    // Another writer left one element that is not a list of strings, and one number among strings; and
    // rows whose value is not of their type, or of no type we know.
    execute(path,
            R"(UPDATE preferences SET value = '[["a","1"],{"x":"y"},["b",2],"c",["d","4"],[["e"]],["f"]]'
                     WHERE key = 'history';
               INSERT INTO preferences VALUES ('flag', 'bool', 'yes'), ('name', 'string', 42),
                     ('list', 'pairs', X'5B5D'), ('odd', 'colour', 'red'))");
    auto opened = openAt(path);
    EXPECT_EQ(opened.store->pairs("history"), (Pairs{{"a", "1"}, {"d", "4"}, {"f"}}));
    EXPECT_EQ(opened.store->boolean("flag"), std::nullopt);
    EXPECT_EQ(opened.store->string("name"), std::nullopt);
    EXPECT_EQ(opened.store->pairs("list"), std::nullopt);
    EXPECT_EQ(opened.store->string("odd"), std::nullopt);

    for (const auto& [json, pairs] : std::initializer_list<std::pair<std::string, std::optional<Pairs>>>{
             // Ill-formed UTF-8 or a lone surrogate reads as U+FFFD and the list stays; in a list of another
             // shape, only what comes before it does.
             {"[[\"\\ud800x\xFF\"],[\"ok\"]]", Pairs{{"\uFFFDx\uFFFD"}, {"ok"}}},
             {R"([["a"],["\ud800"],{},["b"]])", Pairs{{"a"}}},
             {R"([["a","b"],["c",)", Pairs{{"a", "b"}}}, // cut off: what was whole stays
             {"[[\"ok\"]," + std::string(100000, '[') + std::string(100000, ']') + "]",
              Pairs{{"ok"}}}, // no recursion
             {R"({"a":["b"]})", std::nullopt},
             {R"("text")", std::nullopt},
             {"", std::nullopt},
         })
        EXPECT_EQ(SqliteStore::decodePairs(json), pairs) << json.substr(0, 40);
    for (const Pairs& pairs :
         {Pairs{}, Pairs{{}}, Pairs{{"", "\x01", "\"/\\"}, {"日本語 🙂", std::string(1, '\0')}}})
        EXPECT_EQ(SqliteStore::decodePairs(SqliteStore::encodePairs(pairs)), pairs);
}

TEST_F(SqliteStoreTest, twoProcessesShareOneFile) {
    { openAt(path); }

    constexpr int rounds = 150;
    auto work = [&](const std::string& who) {
        std::vector<std::string> failures;
        SqliteStore::Options options;
        options.log = [&](const std::string& line) { failures.push_back(line); };
        auto store = SqliteStore::open(path, options);
        if (!store) return 1;
        for (int i = 0; i < rounds; ++i) {
            Pairs list(50, {who, std::to_string(i), std::string(200, 'x')});
            store->set("shared", list);
            store->set(who, std::to_string(i));
            auto back = store->pairs("shared");
            if (!back || back->size() != 50) return 2;
        }
        return failures.empty() ? 0 : 3;
    };

    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) _exit(work("child"));
    int parentResult = work("parent");
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_EQ(parentResult, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);

    auto opened = openAt(path);
    EXPECT_TRUE(opened.log.empty());
    EXPECT_EQ(opened.store->string("child"), std::to_string(rounds - 1));
    EXPECT_EQ(opened.store->string("parent"), std::to_string(rounds - 1));
    auto shared = opened.store->pairs("shared");
    ASSERT_TRUE(shared);
    EXPECT_EQ(shared->size(), 50u);
}

} // namespace
} // namespace nimb
