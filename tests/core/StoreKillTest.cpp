// A process writing records through the store the browser runs on (Preferences over a QueuedStore
// over a SqliteStore) is killed at a random moment, again and again, on one database file. Whatever it
// had been told had landed must be found afterwards, what it had not been told yet must be whole or
// absent, and the file must never be taken for a damaged one.
//
// NIMB_KILL_TRIALS sets the number of trials (30 unless given), NIMB_KILL_SEED the seed of the first
// (the clock's unless given); trial i runs on that seed plus i.

#include "PostedCalls.h"
#include "TemporaryDirectory.h"
#include "library/Bookmarks.h"
#include "library/History.h"
#include "library/Marginalia.h"
#include "preferences/Preferences.h"
#include "storage/QueuedStore.h"
#include "storage/SqliteStore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <iostream>
#include <map>
#include <poll.h>
#include <random>
#include <set>
#include <signal.h>
#include <sqlite3.h>
#include <sstream>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace nimb {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// How long the parent waits for the child's next line, and for the child to go, in one trial.
constexpr auto trialDeadline = 10s;
// The most steps one trial asks of the child; a file starts afresh before its visits could reach the
// history's cap, so that no acknowledged visit is pushed out by newer ones.
constexpr int mostSteps = 90;

// What one step of the workload does to its address.
enum class Kind {
    bookmark, // Bookmarks::add
    visit,    // History::recordVisit
    note,     // Marginalia::addNote, bookmarking the page in the same write
    remove,   // Bookmarks::remove, with the notes filed under the bookmark
    forget,   // History::forget
};

constexpr std::array<std::string_view, 5> kindNames{"bookmark", "visit", "note", "remove", "forget"};

std::string_view nameOf(Kind kind) {
    return kindNames.at(static_cast<std::size_t>(kind));
}

struct Step {
    Kind kind = Kind::bookmark;
    std::string address;
    // Whether the child waits for this step's write to land before taking the next step; the others
    // follow at once, and the queue merges them.
    bool waits = false;
};

struct Trial {
    std::uint64_t seed = 0;
    // Whether the trial starts without a database file, rather than from the one the last trial left.
    bool fresh = false;
    std::vector<Step> steps;
    // The child is killed after this many acknowledgements, then this long on the clock...
    std::size_t killAfter = 0;
    std::chrono::microseconds spin{0};
    // ...or, when this is not 0, kills itself right after this many changes to its files (see Tripwire).
    long tripAfter = 0;
};

// What the parent knows of one address since its file was last started afresh. Every address is
// made at most once and removed at most once.
struct Record {
    Kind made = Kind::bookmark; // bookmark, visit or note
    bool madeKnown = false;     // the child acknowledged making it
    bool removing = false;      // a trial asked for its removal, which may have happened
    bool removedKnown = false;  // the child acknowledged removing it
};
using Records = std::map<std::string, Record, std::less<>>;

std::string noteText(std::string_view address) {
    return "Kept from " + std::string(address);
}

// Draws a trial from its seed: whether it starts afresh, its steps, and when its child is killed.
// Removals take addresses made earlier, in this trial or, unless it starts afresh, in the ones before.
Trial plan(std::uint64_t seed, bool mustStartFresh, const Records& records) {
    std::mt19937_64 random(seed);
    auto between = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    auto chance = [&](int percent) { return between(0, 99) < percent; };

    Trial trial;
    trial.seed = seed;
    // Drawn even when it must: a trial draws the same whether or not it is the first of its run.
    const bool drawnFresh = chance(25);
    trial.fresh = mustStartFresh || drawnFresh;

    std::vector<std::pair<std::string, Kind>> removable;
    if (!trial.fresh) {
        for (const auto& [address, record] : records) {
            if (!record.removing) removable.emplace_back(address, record.made);
        }
    }
    const int patience = std::array{0, 50, 90, 100}.at(static_cast<std::size_t>(between(0, 3)));
    const int count = between(20, mostSteps);
    for (int i = 0; i < count; ++i) {
        Step step;
        step.waits = chance(patience);
        if (!removable.empty() && chance(30)) {
            auto at = removable.begin() + between(0, static_cast<int>(removable.size()) - 1);
            step.kind = at->second == Kind::visit ? Kind::forget : Kind::remove;
            step.address = std::move(at->first);
            removable.erase(at);
        } else {
            step.kind = std::array{Kind::bookmark, Kind::visit, Kind::note}.at(
                static_cast<std::size_t>(between(0, 2)));
            // A host of its own, so that a note finds no other bookmark of its site to be filed under.
            step.address = "https://" + std::string(1, nameOf(step.kind)[0]) + std::to_string(i) + "-" +
                           std::to_string(seed) + ".example/";
            removable.emplace_back(step.address, step.kind);
        }
        trial.steps.push_back(std::move(step));
    }
    // Making the file takes a few tens of milliseconds here, nearly all of them waiting for the disk,
    // and opening one that is there one or two; the moments between two of the changes that make it
    // (some eighteen) are far shorter, and a kill on the clock seldom lands in them. So a trial that
    // starts afresh is often killed on the clock while the file is being made, and as often right
    // after one of the changes that make it or write its first steps; other trials, now and then,
    // right after one of the changes of their steps (two or three each).
    const int choice = between(0, 99);
    if (trial.fresh && choice < 45) {
        trial.tripAfter = between(1, 24);
    } else if (!trial.fresh && choice < 20) {
        trial.tripAfter = between(1, 250);
    } else {
        trial.killAfter = trial.fresh && choice < 75 ? 0 : static_cast<std::size_t>(between(0, 60));
        const int longestSpin = trial.killAfter > 0 ? 400 : trial.fresh ? 30'000 : 2'000;
        trial.spin = std::chrono::microseconds(between(0, longestSpin));
    }
    if (trial.tripAfter > 0) trial.killAfter = trial.steps.size();
    return trial;
}

// The child's side

// Writes one whole line to the pipe at once, so that a kill never cuts one.
void say(int fd, std::string line) {
    line += '\n';
    std::size_t written = 0;
    while (written < line.size()) {
        ssize_t n = ::write(fd, line.data() + written, line.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) ::_exit(4);
        written += static_cast<std::size_t>(n);
    }
}

// A layer under the child's SQLite files that counts the calls that change them (opening, writing,
// truncating, syncing, deleting) and kills the process right after the chosen one: the file is then
// exactly as a kill between those two calls leaves it, however short the time between them.
namespace Tripwire {

sqlite3_vfs* below = nullptr;
sqlite3_vfs layer{};
sqlite3_io_methods methods{};
std::atomic<long> left{0};

// A file of the layer: the file of the layer below follows it in the same allocation.
struct File {
    sqlite3_file base;
    sqlite3_file* real;
};

sqlite3_file* real(sqlite3_file* file) {
    return reinterpret_cast<File*>(file)->real;
}

int counted(int code) {
    if (left.fetch_sub(1) == 1) ::raise(SIGKILL);
    return code;
}

// A method of the layer's files: the same method of the file below, counted when `Counts`.
template <auto Method, bool Counts = false>
struct Forward;
template <typename R, typename... A, R (*sqlite3_io_methods::*Method)(sqlite3_file*, A...), bool Counts>
struct Forward<Method, Counts> {
    static R call(sqlite3_file* f, A... arguments) {
        if constexpr (Counts)
            return counted((real(f)->pMethods->*Method)(real(f), arguments...));
        else
            return (real(f)->pMethods->*Method)(real(f), arguments...);
    }
};
using M = sqlite3_io_methods;

// Fills in the layer's methods that forward the given ones, counted when `Counts`.
template <bool Counts, auto... Methods>
void forward() {
    ((methods.*Methods = Forward<Methods, Counts>::call), ...);
}

int openFile(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags) {
    auto* wrapped = reinterpret_cast<File*>(file);
    wrapped->real = reinterpret_cast<sqlite3_file*>(wrapped + 1);
    int code = below->xOpen(below, name, wrapped->real, flags, outFlags);
    file->pMethods = code == SQLITE_OK && wrapped->real->pMethods ? &methods : nullptr;
    return counted(code);
}
int deleteFile(sqlite3_vfs*, const char* name, int syncFolder) {
    return counted(below->xDelete(below, name, syncFolder));
}
int access(sqlite3_vfs*, const char* name, int flags, int* out) {
    return below->xAccess(below, name, flags, out);
}
int fullPathname(sqlite3_vfs*, const char* name, int size, char* out) {
    return below->xFullPathname(below, name, size, out);
}

// Makes the layer SQLite's default in this process, to kill it right after the `after`th change.
void arm(long after) {
    below = sqlite3_vfs_find(nullptr);
    layer = *below;
    layer.szOsFile = static_cast<int>(sizeof(File)) + below->szOsFile;
    layer.zName = "tripwire";
    layer.pNext = nullptr;
    layer.xOpen = openFile;
    layer.xDelete = deleteFile;
    layer.xAccess = access;
    layer.xFullPathname = fullPathname;
    // Of the third version, as the unix files below are; the calls that change a file are counted.
    methods.iVersion = 3;
    forward<false, &M::xClose, &M::xRead, &M::xFileSize, &M::xLock, &M::xUnlock, &M::xCheckReservedLock,
            &M::xFileControl, &M::xSectorSize, &M::xDeviceCharacteristics, &M::xShmMap, &M::xShmLock,
            &M::xShmBarrier, &M::xShmUnmap, &M::xFetch, &M::xUnfetch>();
    forward<true, &M::xWrite, &M::xTruncate, &M::xSync>();
    left = after;
    sqlite3_vfs_register(&layer, 1);
}

} // namespace Tripwire

// The child: opens the store as the browser does and takes the trial's steps, writing a line to `fd`
// for every write that landed ("ack <step> <kind> <address>") and for anything else worth the
// parent's attention. It never returns; the parent kills it.
[[noreturn]] void writeRecords(const std::string& path, const Trial& trial, int fd, pid_t parent) {
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != parent) ::_exit(5);
    if (trial.tripAfter > 0) Tripwire::arm(trial.tripAfter);

    SqliteStore::Options options;
    options.log = [fd](const std::string& line) { say(fd, "log " + line); };
    std::string error;
    auto database = SqliteStore::open(path, options, &error);
    if (!database) {
        say(fd, "error the store did not open: " + error);
        ::_exit(2);
    }
    // Calls the store's writing thread hands to the child's own loop, as the browser's main loop takes them.
    test::PostedCalls posted;
    QueuedStore::Options queued;
    queued.post = posted.post();
    Preferences preferences(std::make_unique<QueuedStore>(std::move(database), std::move(queued)));
    std::size_t notes = 0;
    preferences.setIdentifierSource(
        [&] { return "note-" + std::to_string(trial.seed) + "-" + std::to_string(notes++); });

    std::vector<bool> settled(trial.steps.size(), false);
    const auto deadline = Clock::now() + 3 * trialDeadline; // the parent kills it long before
    for (std::size_t i = 0; i < trial.steps.size(); ++i) {
        const Step& step = trial.steps[i];
        const Date at{1'700'000'000.0 + static_cast<double>(i)};
        bool done = true;
        switch (step.kind) {
        case Kind::bookmark:
            done =
                Bookmarks::add(preferences, Bookmark{"Page " + std::to_string(i), step.address, false, {}});
            break;
        case Kind::visit:
            done = History::recordVisit(preferences, step.address, "Visit " + std::to_string(i), at);
            break;
        case Kind::note:
            done = Marginalia::addNote(preferences, noteText(step.address), step.address, "Noted", at)
                       .has_value();
            break;
        case Kind::remove:
            Bookmarks::remove(preferences, step.address); // nothing, when its making never landed
            break;
        case Kind::forget:
            History::forget(preferences, step.address);
            break;
        }
        if (!done) say(fd, "error step " + std::to_string(i) + " was refused: " + step.address);
        preferences.afterWrites([fd, i, &step, &settled](const WriteOutcome& outcome) {
            settled[i] = true;
            if (outcome.landed())
                say(fd,
                    "ack " + std::to_string(i) + " " + std::string(nameOf(step.kind)) + " " + step.address);
            else
                say(fd, "error step " + std::to_string(i) + " did not land: " + outcome.detail);
        });
        posted.runAll();
        if (step.waits) posted.runUntil([&] { return settled[i]; }, deadline);
    }
    posted.runUntil([] { return false; }, deadline);
    ::_exit(3);
}

// The parent's side

// The child process and the lines it writes through the pipe, each waited for until one deadline; the
// child is killed and reaped, and the pipe's reading end closed, whichever way the test leaves the trial.
class Child {
public:
    Child(pid_t pid, int fd, Clock::time_point deadline) : m_pid(pid), m_fd(fd), m_deadline(deadline) {}
    ~Child() {
        if (m_pid > 0) killAndReap();
        ::close(m_fd);
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    // Kills the child (one that ended already stays as it ended) and waits for it; its wait status.
    int killAndReap() {
        ::kill(m_pid, SIGKILL);
        int status = 0;
        while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
        }
        m_pid = -1;
        return status;
    }

    // The next line; none at the end of the pipe, or when the deadline passes (`timedOut`).
    std::optional<std::string> next() {
        for (;;) {
            if (auto end = m_buffer.find('\n'); end != std::string::npos) {
                std::string line = m_buffer.substr(0, end);
                m_buffer.erase(0, end + 1);
                return line;
            }
            if (m_ended) return std::nullopt;
            auto left = std::chrono::ceil<std::chrono::milliseconds>(m_deadline - Clock::now());
            if (left <= 0ms) {
                m_timedOut = true;
                return std::nullopt;
            }
            pollfd watched{m_fd, POLLIN, 0};
            int ready = ::poll(&watched, 1, static_cast<int>(left.count()));
            if (ready < 0 && errno != EINTR) m_ended = true;
            if (ready <= 0) continue;
            char chunk[4096];
            ssize_t n = ::read(m_fd, chunk, sizeof chunk);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                m_ended = true;
                m_cut = !m_buffer.empty();
                continue;
            }
            m_buffer.append(chunk, static_cast<std::size_t>(n));
        }
    }
    [[nodiscard]] bool timedOut() const { return m_timedOut; }
    // Whether the pipe ended inside a line.
    [[nodiscard]] bool cut() const { return m_cut; }

private:
    pid_t m_pid;
    int m_fd;
    Clock::time_point m_deadline;
    std::string m_buffer;
    bool m_ended = false;
    bool m_timedOut = false;
    bool m_cut = false;
};

std::string describe(int status) {
    if (WIFSIGNALED(status)) return "killed by signal " + std::to_string(WTERMSIG(status));
    if (WIFEXITED(status)) return "exited with " + std::to_string(WEXITSTATUS(status));
    return "ended with status " + std::to_string(status);
}

constexpr std::array<std::string_view, 4> databaseFiles{"", "-wal", "-shm", "-journal"};

// Copies the database with whatever journal files lie beside it, as the killed child left them, into
// a folder of its own; the original is left for the next trial just as it is.
std::string copyDatabase(const std::string& path, const fs::path& folder) {
    fs::remove_all(folder);
    fs::create_directories(folder);
    std::string copy = (folder / fs::path(path).filename()).string();
    for (std::string_view suffix : databaseFiles) {
        std::string from = path + std::string(suffix);
        if (fs::exists(from)) fs::copy_file(from, copy + std::string(suffix));
    }
    return copy;
}

std::vector<std::string> filesSetAside(const fs::path& folder) {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().filename().string().find(".corrupt-") != std::string::npos)
            found.push_back(entry.path().string());
    }
    return found;
}

// The rows a statement gives, first column only, as read by plain SQLite; a failure is a row of its own.
std::vector<std::string> query(const std::string& path, const char* sql) {
    sqlite3* db = nullptr;
    std::vector<std::string> rows;
    char* error = nullptr;
    auto row = [](void* to, int, char** values, char**) {
        static_cast<std::vector<std::string>*>(to)->emplace_back(values[0] ? values[0] : "");
        return 0;
    };
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK ||
        sqlite3_exec(db, sql, row, &rows, &error) != SQLITE_OK)
        rows.push_back(std::string("failed: ") + (error ? error : sqlite3_errmsg(db)));
    sqlite3_free(error);
    sqlite3_close(db);
    return rows;
}

// What a run did, for its closing line.
struct Tally {
    std::size_t trials = 0;
    std::size_t fresh = 0;
    std::size_t acknowledgements = 0;
    // Acknowledged makings found and acknowledged removals found absent, after every trial on the file.
    std::size_t checked = 0;
    std::size_t tripped = 0; // killed right after a change to its files
    std::size_t nothingAcknowledged = 0;
    std::size_t beforeTheFile = 0; // killed before the file was there at all
    std::size_t whileMakingIt = 0; // killed with the file there but its table not yet made
};

// Checks the file the killed child left against what it acknowledged: plain SQLite finds it whole,
// the store opens it as its own, and the records are as acknowledged and hang together.
void checkStore(const std::string& path, const fs::path& scratch, const Records& records, Tally& tally) {
    const bool exists = fs::exists(path);
    if (!exists) ++tally.beforeTheFile;

    if (exists) {
        const std::string whole = copyDatabase(path, scratch / "whole");
        EXPECT_EQ(query(whole, "PRAGMA integrity_check"), std::vector<std::string>{"ok"});
        if (query(whole, "SELECT count(*) FROM sqlite_schema WHERE name = 'preferences'") ==
            std::vector<std::string>{"0"})
            ++tally.whileMakingIt;
    }

    std::string copy = copyDatabase(path, scratch / "opened");
    std::vector<std::string> log;
    SqliteStore::Options options;
    options.now = [] { return std::int64_t{1'700'000'000}; };
    options.log = [&log](const std::string& line) { log.push_back(line); };
    std::string error;
    auto store = SqliteStore::open(copy, options, &error);
    ASSERT_TRUE(store) << error;
    EXPECT_EQ(store->setAside(), std::nullopt);
    EXPECT_FALSE(store->readOnly().has_value()) << store->readOnly()->detail;
    EXPECT_EQ(log, std::vector<std::string>{});
    EXPECT_EQ(filesSetAside(scratch / "opened"), std::vector<std::string>{});
    EXPECT_EQ(filesSetAside(fs::path(path).parent_path()), std::vector<std::string>{});

    Preferences stored(std::move(store));
    // Whether a step of `kind` made the address (a note makes a bookmark too).
    auto made = [&](const std::string& address, Kind kind) {
        auto found = records.find(address);
        return found != records.end() &&
               (found->second.made == kind || (kind == Kind::bookmark && found->second.made == Kind::note));
    };
    std::set<std::string, std::less<>> bookmarked, visited, annotated;
    for (const Bookmark& bookmark : stored.bookmarks()) {
        bookmarked.insert(bookmark.address);
        EXPECT_TRUE(made(bookmark.address, Kind::bookmark)) << "a bookmark nobody made: " << bookmark.address;
    }
    for (const Visit& visit : stored.history()) {
        visited.insert(visit.address);
        EXPECT_TRUE(made(visit.address, Kind::visit)) << "a visit nobody recorded: " << visit.address;
    }
    for (const Note& note : stored.notes()) {
        annotated.insert(note.address);
        EXPECT_TRUE(bookmarked.contains(note.address)) << "a note without its bookmark: " << note.address;
        EXPECT_EQ(note.source, note.address);
        EXPECT_EQ(note.text, noteText(note.address));
        EXPECT_TRUE(made(note.address, Kind::note)) << "a note nobody took: " << note.address;
    }

    for (const auto& [address, record] : records) {
        const bool present =
            record.made == Kind::visit ? visited.contains(address) : bookmarked.contains(address);
        if (record.removedKnown) {
            EXPECT_FALSE(present) << "an acknowledged removal came undone: " << address;
            EXPECT_FALSE(annotated.contains(address)) << "an acknowledged removal left its note: " << address;
            ++tally.checked;
        } else if (record.madeKnown && !record.removing) {
            EXPECT_TRUE(present) << "an acknowledged " << nameOf(record.made) << " was lost: " << address;
            ++tally.checked;
        }
        // Acknowledged or not, a bookmark made with a note keeps it: the two are written together.
        if (record.made == Kind::note && present) {
            EXPECT_TRUE(annotated.contains(address)) << "a note's bookmark is there without it: " << address;
        }
    }
}

// One trial: a child takes the trial's steps on the file at `path` and is killed; then its file is
// checked against `records`, which the trial brings up to date.
void runTrial(const std::string& path, const fs::path& scratch, const Trial& trial, Records& records,
              Tally& tally) {
    ++tally.trials;
    if (trial.fresh) {
        ++tally.fresh;
        for (std::string_view suffix : databaseFiles)
            fs::remove(path + std::string(suffix));
        records.clear();
    }
    // Every step may happen from now on, whether or not it is acknowledged.
    for (const Step& step : trial.steps) {
        if (step.kind == Kind::remove || step.kind == Kind::forget)
            records.at(step.address).removing = true;
        else
            records.emplace(step.address, Record{step.kind});
    }

    // The child runs the store's writing thread; forking is sound only from a parent with one thread.
    ASSERT_EQ(std::distance(fs::directory_iterator("/proc/self/task"), fs::directory_iterator()), 1)
        << "the test process has threads of its own";
    int ends[2];
    ASSERT_EQ(::pipe2(ends, O_CLOEXEC), 0) << std::strerror(errno);
    const pid_t parent = ::getpid();
    const auto started = Clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) writeRecords(path, trial, ends[1], parent);
    ::close(ends[1]);
    Child child(pid, ends[0], started + trialDeadline);
    ASSERT_GE(pid, 0) << std::strerror(errno);

    std::size_t acknowledged = 0;
    std::vector<bool> seen(trial.steps.size(), false);
    auto take = [&](const std::string& line) {
        std::istringstream words(line);
        std::string word, kind, address;
        std::size_t index = 0;
        if (!(words >> word) || word != "ack" || !(words >> index >> kind >> address) ||
            index >= seen.size() || seen[index] || kind != nameOf(trial.steps[index].kind) ||
            address != trial.steps[index].address) {
            ADD_FAILURE() << "the child said: " << line;
            return;
        }
        seen[index] = true;
        ++acknowledged;
        Record& record = records.at(address);
        if (kind == nameOf(Kind::remove) || kind == nameOf(Kind::forget))
            record.removedKnown = true;
        else
            record.madeKnown = true;
    };

    const std::size_t killAfter = std::min(trial.killAfter, trial.steps.size());
    while (acknowledged < killAfter) {
        auto line = child.next();
        if (!line) break;
        take(*line);
    }
    ASSERT_FALSE(child.timedOut()) << "the child acknowledged " << acknowledged << " of " << killAfter
                                   << " writes in " << trialDeadline.count() << " s";
    if (acknowledged < killAfter) ++tally.tripped; // it went before it was killed
    const auto until = Clock::now() + trial.spin;
    while (Clock::now() < until) {
    }
    const int status = child.killAndReap();
    // What it wrote before it died is acknowledged all the same.
    while (auto line = child.next())
        take(*line);
    ASSERT_FALSE(child.timedOut()) << "the pipe stayed open after the child was killed";
    EXPECT_FALSE(child.cut()) << "a line was cut short";
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the child " << describe(status);
    tally.acknowledgements += acknowledged;
    if (acknowledged == 0) ++tally.nothingAcknowledged;

    checkStore(path, scratch, records, tally);
}

std::uint64_t fromEnvironment(const char* name, std::uint64_t otherwise) {
    const char* text = std::getenv(name);
    if (!text || !*text) return otherwise;
    char* end = nullptr;
    errno = 0;
    std::uint64_t value = std::strtoull(text, &end, 10);
    if (errno != 0 || *end != '\0') {
        ADD_FAILURE() << name << " is not a number: " << text;
        return otherwise;
    }
    return value;
}

TEST(StoreKillTest, everyAcknowledgedWriteOutlivesAKillAtAnyMoment) {
    const std::uint64_t trials = fromEnvironment("NIMB_KILL_TRIALS", 30);
    const std::uint64_t seed = fromEnvironment(
        "NIMB_KILL_SEED",
        static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()));
    ASSERT_FALSE(HasFailure());

    test::TemporaryDirectory directory;
    const std::string path = directory.file("store/preferences.sqlite");
    fs::create_directories(fs::path(path).parent_path());
    const fs::path scratch = directory.path() / "checked";

    Records records;
    Tally tally;
    std::size_t visits = 0; // asked for since the file was last started afresh
    for (std::uint64_t i = 0; i < trials && !HasFailure(); ++i) {
        const Trial trial = plan(seed + i, i == 0 || visits + mostSteps > History::limit, records);
        std::ostringstream trace;
        trace << "trial " << i << " of " << trials << ", seed " << trial.seed
              << "; replay with NIMB_KILL_SEED=" << (trial.fresh ? trial.seed : seed)
              << " NIMB_KILL_TRIALS=" << (trial.fresh ? 1 : i + 1)
              << (trial.fresh ? "" : " (it went on from the file of the trials before it)");
        SCOPED_TRACE(trace.str());
        if (trial.fresh) visits = 0;
        visits += static_cast<std::size_t>(std::count_if(
            trial.steps.begin(), trial.steps.end(), [](const Step& s) { return s.kind == Kind::visit; }));
        runTrial(path, scratch, trial, records, tally);
    }

    std::cout << "[ StoreKill ] seed " << seed << ": " << tally.trials << " trials (" << tally.fresh
              << " from no file), " << tally.acknowledgements << " acknowledged writes, checked "
              << tally.checked << " times in all; killed right after a change to the files " << tally.tripped
              << " times, with nothing acknowledged " << tally.nothingAcknowledged
              << " times, before the file existed " << tally.beforeTheFile << ", while it was being made "
              << tally.whileMakingIt << std::endl;
}

} // namespace
} // namespace nimb
