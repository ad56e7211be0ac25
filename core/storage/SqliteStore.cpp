#include "storage/SqliteStore.h"

#include "base/Json.h"
#include "base/JsonReader.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace nimb {

namespace {

// "NIMB" in the database header, so that another program's database is never taken for ours.
constexpr int applicationId = 0x4E494D42;

constexpr std::string_view typeString = "string";
constexpr std::string_view typeBool = "bool";
constexpr std::string_view typePairs = "pairs";

enum class Health {
    good,
    fresh,
    unreadable,
    busy,
    failed
};

struct Statement {
    sqlite3_stmt* statement = nullptr;
    Statement(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &statement, nullptr); }
    ~Statement() { sqlite3_finalize(statement); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    explicit operator bool() const { return statement != nullptr; }
};

bool isUnreadable(int code) {
    int primary = code & 0xFF;
    return primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT || primary == SQLITE_FORMAT;
}

bool isBusy(int code) {
    int primary = code & 0xFF;
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

// Whether the user may write `path`: the system lets them, and its owner has not taken away their own
// write permission (which the system would ignore for a privileged user).
bool writable(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return false;
    if (status.st_uid == ::geteuid() && (status.st_mode & S_IWUSR) == 0) return false;
    return ::access(path.c_str(), W_OK) == 0;
}

std::string folderOf(const std::string& path) {
    auto parent = std::filesystem::path(path).parent_path();
    return parent.empty() ? "." : parent.string();
}

// A path as an SQLite URI's path: '%', '?' and '#' escaped.
std::string uriPath(const std::string& path) {
    std::string out;
    for (char c : path) {
        if (c == '%' || c == '?' || c == '#') {
            static constexpr char hex[] = "0123456789ABCDEF";
            out += '%';
            out += hex[(static_cast<unsigned char>(c) >> 4) & 0xF];
            out += hex[static_cast<unsigned char>(c) & 0xF];
        } else {
            out += c;
        }
    }
    return out;
}

// Looks at what is in the file: our table with its columns, nothing at all, or something else.
Health examine(sqlite3* db, std::string& error) {
    auto fail = [&](int code) {
        error = sqlite3_errmsg(db);
        if (isBusy(code)) return Health::busy;
        return isUnreadable(code) ? Health::unreadable : Health::failed;
    };

    {
        Statement check(db, "PRAGMA quick_check");
        if (!check) return fail(sqlite3_errcode(db));
        int step = sqlite3_step(check.statement);
        if (step != SQLITE_ROW) return fail(step);
        auto* result = reinterpret_cast<const char*>(sqlite3_column_text(check.statement, 0));
        if (!result || std::string_view(result) != "ok") {
            error = result ? result : "integrity check failed";
            return Health::unreadable;
        }
    }

    int id = 0;
    {
        Statement pragma(db, "PRAGMA application_id");
        if (!pragma) return fail(sqlite3_errcode(db));
        int step = sqlite3_step(pragma.statement);
        if (step != SQLITE_ROW) return fail(step);
        id = sqlite3_column_int(pragma.statement, 0);
    }

    int objects = 0;
    {
        Statement count(db, "SELECT count(*) FROM sqlite_schema");
        if (!count) return fail(sqlite3_errcode(db));
        int step = sqlite3_step(count.statement);
        if (step != SQLITE_ROW) return fail(step);
        objects = sqlite3_column_int(count.statement, 0);
    }

    if (objects == 0 && id == 0) return Health::fresh;
    if (id != applicationId) {
        error = "not a NIMB preferences database";
        return Health::unreadable;
    }

    std::vector<std::string> columns;
    {
        Statement info(db, "PRAGMA table_info(preferences)");
        if (!info) return fail(sqlite3_errcode(db));
        int step;
        while ((step = sqlite3_step(info.statement)) == SQLITE_ROW)
            columns.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(info.statement, 1)));
        if (step != SQLITE_DONE) return fail(step);
    }
    if (columns.empty()) return Health::fresh; // ours, but the table was never made
    if (columns != std::vector<std::string>{"key", "type", "value"}) {
        error = "unexpected preferences table";
        return Health::unreadable;
    }
    return Health::good;
}

bool execute(sqlite3* db, const char* sql, std::string& error) {
    char* message = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &message) == SQLITE_OK) return true;
    error = message ? message : sqlite3_errmsg(db);
    sqlite3_free(message);
    return false;
}

bool create(sqlite3* db, std::string& error) {
    std::string sql = "BEGIN IMMEDIATE;"
                      "CREATE TABLE IF NOT EXISTS preferences ("
                      " key TEXT PRIMARY KEY NOT NULL,"
                      " type TEXT NOT NULL,"
                      " value NOT NULL);"
                      "PRAGMA application_id = " +
                      std::to_string(applicationId) + ";COMMIT;";
    if (execute(db, sql.c_str(), error)) return true;
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    return false;
}

// Creates the file user-only before SQLite sees it; SQLite gives its journal files the same mode.
bool touchPrivately(const std::string& path, std::string& error) {
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        error = std::string("cannot open ") + path + ": " + std::strerror(errno);
        return false;
    }
    ::fchmod(fd, 0600);
    ::close(fd);
    return true;
}

sqlite3* openDatabase(const std::string& path, int busyTimeout, std::string& error,
                      int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE) {
    sqlite3* db = nullptr;
    int code = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
    if (code != SQLITE_OK) {
        error = db ? sqlite3_errmsg(db) : sqlite3_errstr(code);
        sqlite3_close(db);
        return nullptr;
    }
    sqlite3_busy_timeout(db, busyTimeout);
    sqlite3_extended_result_codes(db, 1);
    return db;
}

// The first free name of the form "<path>.corrupt-<seconds>", then "-2", "-3"...
std::string asideName(const std::string& path, std::int64_t seconds) {
    std::string base = path + ".corrupt-" + std::to_string(seconds);
    std::string name = base;
    for (int n = 2; std::filesystem::exists(name); ++n)
        name = base + "-" + std::to_string(n);
    return name;
}

bool moveAside(const std::string& path, const std::string& aside, std::string& error) {
    if (std::rename(path.c_str(), aside.c_str()) != 0) {
        error = std::string("cannot rename ") + path + ": " + std::strerror(errno);
        return false;
    }
    // The journal files travel with it, under names SQLite pairs with the moved file.
    for (const char* suffix : {"-wal", "-shm", "-journal"}) {
        std::string from = path + suffix;
        if (std::filesystem::exists(from)) std::rename(from.c_str(), (aside + suffix).c_str());
    }
    return true;
}

// Collects the elements of a JSON array of arrays of strings, skipping any element that is not one,
// and keeping what was complete when the text breaks off. A handler for either reader: nlohmann's,
// and JsonReader, which it lets pass over what is nested deeper than the strings.
class PairsReader final : public nlohmann::json_sax<nlohmann::json> {
public:
    bool null() override { return scalar(); }
    bool boolean(bool) override { return scalar(); }
    bool number_integer(number_integer_t) override { return scalar(); }
    bool number_unsigned(number_unsigned_t) override { return scalar(); }
    bool number_float(number_float_t, const string_t&) override { return scalar(); }
    bool binary(binary_t&) override { return scalar(); }
    bool string(string_t& value) override {
        if (m_depth == 2 && m_good)
            m_element.push_back(std::move(value));
        else
            return scalar();
        return true;
    }
    bool start_object(std::size_t) override { return open(false); }
    bool key(string_t&) override { return true; }
    bool end_object() override { return close(); }
    bool start_array(std::size_t) override { return open(true); }
    bool end_array() override { return close(); }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override {
        return false;
    }
    [[nodiscard]] bool skipsContents() const { return m_depth > 2 || (m_depth == 2 && !m_good); }

    std::optional<Pairs> result() { return m_isArray ? std::optional(std::move(m_pairs)) : std::nullopt; }
    // Whether every element was a list of strings, none skipped.
    [[nodiscard]] bool tookEverything() const { return !m_skipped; }

private:
    bool scalar() {
        if (m_depth == 0) return false; // not an array at all
        m_good = false;
        m_skipped = true;
        return true;
    }
    bool open(bool array) {
        ++m_depth;
        if (m_depth == 1) {
            m_isArray = array;
            return array;
        }
        if (m_depth == 2) {
            m_good = array;
            m_element.clear();
        } else {
            m_good = false;
        }
        m_skipped = m_skipped || !m_good;
        return true;
    }
    bool close() {
        if (m_depth == 2 && m_good) m_pairs.push_back(std::move(m_element));
        if (m_depth == 2) m_element = {};
        --m_depth;
        return true;
    }

    int m_depth = 0;
    bool m_isArray = false;
    bool m_good = false;
    bool m_skipped = false;
    std::vector<std::string> m_element;
    Pairs m_pairs;
};

// Bounds of the quick reading of a stored list: SQLite's own on the length of a value, and the depth
// of a list of lists with room to pass over deeper values.
constexpr JsonReader::Limits pairsLimits{1'000'000'000, 64};

// The quick reading of a stored list; none when the reader declines it, or when it holds anything but
// lists of strings and `whole` asks for nothing else.
std::optional<Pairs> quickPairs(std::string_view text, bool whole) {
    PairsReader reader;
    if (!JsonReader::read(text, pairsLimits, reader)) return std::nullopt;
    if (whole && !reader.tookEverything()) return std::nullopt;
    return reader.result();
}

} // namespace

struct SqliteStore::Row {
    std::string type;
    int valueType = SQLITE_NULL;
    std::string text;
    std::int64_t integer = 0;
};

std::unique_ptr<SqliteStore> SqliteStore::open(const std::string& path, std::string* error) {
    return open(path, Options{}, error);
}

std::unique_ptr<SqliteStore> SqliteStore::open(const std::string& path, Options options, std::string* error) {
    if (!options.now) {
        options.now = [] {
            return std::chrono::duration_cast<std::chrono::seconds>(
                       std::chrono::system_clock::now().time_since_epoch())
                .count();
        };
    }
    if (!options.log) options.log = [](const std::string& line) { std::cerr << line << '\n'; };

    std::string reason;
    auto failed = [&]() -> std::unique_ptr<SqliteStore> {
        if (error) *error = reason;
        return nullptr;
    };

    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) {
        reason = path + " is a folder";
        return failed();
    }
    bool exists = std::filesystem::exists(path, ignored);
    std::string folder = folderOf(path);
    if (exists && (!writable(path) || !writable(folder))) {
        return openReadOnly(path, std::move(options),
                            ReadOnly{WriteOutcome::Kind::readOnly, path + " cannot be written"}, error);
    }

    std::optional<std::string> setAside;
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!exists && !writable(folder)) {
            reason = folder + " cannot be written";
            return failed();
        }
        if (!touchPrivately(path, reason)) return failed();
        sqlite3* db = openDatabase(path, options.busyTimeoutMilliseconds, reason);
        if (!db) return failed();

        Health health = examine(db, reason);
        if (health == Health::good || health == Health::fresh) {
            std::string setup;
            bool walReady = execute(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;", setup);
            bool ready = walReady && (health == Health::good || create(db, reason));
            if (ready) {
                std::unique_ptr<SqliteStore> store(new SqliteStore(path, db, options));
                store->m_setAside = std::move(setAside);
                if (store->prepare()) return store;
                reason = sqlite3_errmsg(db);
                return failed();
            }
            int code = sqlite3_extended_errcode(db);
            sqlite3_close(db);
            if (!isBusy(code)) return failed();
            health = Health::busy;
        } else {
            sqlite3_close(db);
        }
        if (health == Health::busy) {
            // Held by another program for the whole busy wait: read what is there, write nothing.
            return openReadOnly(path, std::move(options), ReadOnly{WriteOutcome::Kind::locked, reason},
                                error);
        }
        if (health == Health::failed || attempt > 0) return failed();

        std::string aside = asideName(path, options.now());
        if (!moveAside(path, aside, reason)) return failed();
        options.log("nimb: " + path + " was not a readable preferences database (" + reason +
                    "); it was moved to " + aside + " and a new one started");
        setAside = aside;
        exists = false;
    }
    return failed();
}

std::unique_ptr<SqliteStore> SqliteStore::openReadOnly(const std::string& path, Options options, ReadOnly why,
                                                       std::string* error) {
    std::string reason;
    auto attempt = [&](const std::string& name, int flags) -> std::unique_ptr<SqliteStore> {
        sqlite3* db = openDatabase(name, options.busyTimeoutMilliseconds, reason, flags);
        if (!db) return nullptr;
        if (examine(db, reason) == Health::good) {
            std::unique_ptr<SqliteStore> store(new SqliteStore(path, db, options));
            store->m_readOnly = why;
            if (store->prepare()) return store;
            reason = sqlite3_errmsg(db);
            return nullptr;
        }
        sqlite3_close(db);
        return nullptr;
    };
    if (auto store = attempt(path, SQLITE_OPEN_READONLY)) return store;
    // A write-ahead-logged file in a folder where its shared index cannot be made opens only as a file
    // nothing else will change.
    if (!writable(folderOf(path))) {
        if (auto store =
                attempt("file:" + uriPath(path) + "?immutable=1", SQLITE_OPEN_READONLY | SQLITE_OPEN_URI))
            return store;
    }
    if (error) *error = why.detail + "; " + reason;
    return nullptr;
}

SqliteStore::SqliteStore(std::string path, sqlite3* db, Options options)
    : m_path(std::move(path)), m_db(db), m_options(std::move(options)) {}

SqliteStore::~SqliteStore() {
    sqlite3_finalize(m_select);
    sqlite3_finalize(m_upsert);
    sqlite3_close(m_db);
}

void SqliteStore::setBusyTimeout(std::chrono::milliseconds wait) {
    sqlite3_busy_timeout(m_db, static_cast<int>(wait.count()));
}

bool SqliteStore::prepare() {
    return sqlite3_prepare_v3(m_db, "SELECT type, value FROM preferences WHERE key = ?1", -1,
                              SQLITE_PREPARE_PERSISTENT, &m_select, nullptr) == SQLITE_OK &&
           sqlite3_prepare_v3(m_db,
                              "INSERT INTO preferences (key, type, value) VALUES (?1, ?2, ?3) "
                              "ON CONFLICT (key) DO UPDATE SET type = excluded.type, value = excluded.value",
                              -1, SQLITE_PREPARE_PERSISTENT, &m_upsert, nullptr) == SQLITE_OK;
}

namespace {

// The type and value of a row, from columns `first` (type) and `first + 1` (value) of a statement.
void readRow(sqlite3_stmt* statement, int first, std::string& type, int& valueType, std::string& text,
             std::int64_t& integer) {
    if (auto* name = reinterpret_cast<const char*>(sqlite3_column_text(statement, first))) type = name;
    valueType = sqlite3_column_type(statement, first + 1);
    if (valueType == SQLITE_INTEGER) {
        integer = sqlite3_column_int64(statement, first + 1);
    } else if (valueType == SQLITE_TEXT || valueType == SQLITE_BLOB) {
        auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement, first + 1));
        text.assign(bytes ? bytes : "", static_cast<std::size_t>(sqlite3_column_bytes(statement, first + 1)));
    }
}

} // namespace

std::optional<SqliteStore::Row> SqliteStore::read(std::string_view key) {
    sqlite3_reset(m_select);
    sqlite3_bind_text(m_select, 1, key.empty() ? "" : key.data(), static_cast<int>(key.size()),
                      SQLITE_STATIC);
    std::optional<Row> row;
    if (sqlite3_step(m_select) == SQLITE_ROW) {
        row.emplace();
        readRow(m_select, 0, row->type, row->valueType, row->text, row->integer);
    }
    sqlite3_reset(m_select);
    sqlite3_clear_bindings(m_select);
    return row;
}

std::optional<std::string> SqliteStore::string(std::string_view key) {
    auto row = read(key);
    if (!row || row->type != typeString || (row->valueType != SQLITE_TEXT && row->valueType != SQLITE_BLOB))
        return std::nullopt;
    return std::move(row->text);
}

std::optional<bool> SqliteStore::boolean(std::string_view key) {
    auto row = read(key);
    if (!row || row->type != typeBool || row->valueType != SQLITE_INTEGER) return std::nullopt;
    return row->integer != 0;
}

std::optional<Pairs> SqliteStore::pairs(std::string_view key) {
    auto row = read(key);
    if (!row || row->type != typePairs || row->valueType != SQLITE_TEXT) return std::nullopt;
    return decodePairs(row->text);
}

int SqliteStore::upsert(const Change& change) {
    struct Typed {
        std::string_view type;
        std::string text;
        int integer = 0;
        bool isText = true;
    };
    Typed typed = std::visit(
        [](const auto& value) -> Typed {
            using T = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<T, std::string>)
                return {typeString, value};
            else if constexpr (std::is_same_v<T, bool>)
                return {typeBool, {}, value ? 1 : 0, false};
            else
                return {typePairs, encodePairs(value)};
        },
        change.value);

    sqlite3_reset(m_upsert);
    sqlite3_bind_text(m_upsert, 1, change.key.c_str(), static_cast<int>(change.key.size()), SQLITE_STATIC);
    sqlite3_bind_text(m_upsert, 2, typed.type.data(), static_cast<int>(typed.type.size()), SQLITE_STATIC);
    // A null pointer would bind NULL, not the empty string: c_str() never is one.
    int code = typed.isText ? sqlite3_bind_text(m_upsert, 3, typed.text.c_str(),
                                                static_cast<int>(typed.text.size()), SQLITE_STATIC)
                            : sqlite3_bind_int(m_upsert, 3, typed.integer);
    if (code == SQLITE_OK) code = sqlite3_step(m_upsert);
    sqlite3_reset(m_upsert);
    sqlite3_clear_bindings(m_upsert);
    return code == SQLITE_DONE ? SQLITE_OK : code;
}

WriteOutcome SqliteStore::failure(int code) {
    std::string detail = sqlite3_errstr(code);
    if (sqlite3_errcode(m_db) == code) detail = sqlite3_errmsg(m_db);
    // Held by another process: its caller waits and tries again, which is not worth a line each time.
    if (isBusy(code)) return WriteOutcome::failure(WriteOutcome::Kind::locked, detail);
    m_options.log("nimb: could not save to " + m_path + ": " + detail);
    switch (code & 0xFF) {
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_CANTOPEN:
        return WriteOutcome::failure(WriteOutcome::Kind::readOnly, detail);
    case SQLITE_FULL:
        return WriteOutcome::failure(WriteOutcome::Kind::full, detail);
    default:
        return WriteOutcome::failure(WriteOutcome::Kind::failed, detail);
    }
}

WriteOutcome SqliteStore::commit(const Changes& changes) {
    // Opened read-only, for whatever reason, it stays so for the run: the write is not kept.
    if (m_readOnly) return WriteOutcome::failure(WriteOutcome::Kind::readOnly, m_readOnly->detail);
    if (changes.empty()) return WriteOutcome::written();
    int code = sqlite3_exec(m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (code != SQLITE_OK) return failure(sqlite3_extended_errcode(m_db));
    for (const Change& change : changes) {
        code = upsert(change);
        if (code != SQLITE_OK) break;
    }
    if (code == SQLITE_OK) code = sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
    if (code == SQLITE_OK) return WriteOutcome::written();
    int reported = sqlite3_extended_errcode(m_db);
    sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    return failure(reported != SQLITE_OK ? reported : code);
}

std::vector<Change> SqliteStore::everything() {
    std::vector<Change> all;
    Statement select(m_db, "SELECT key, type, value FROM preferences ORDER BY key");
    if (!select) return all;
    while (sqlite3_step(select.statement) == SQLITE_ROW) {
        auto* name = reinterpret_cast<const char*>(sqlite3_column_text(select.statement, 0));
        if (!name) continue;
        std::string key(name, static_cast<std::size_t>(sqlite3_column_bytes(select.statement, 0)));
        Row row;
        readRow(select.statement, 1, row.type, row.valueType, row.text, row.integer);
        if (row.type == typeBool && row.valueType == SQLITE_INTEGER) {
            all.push_back({std::move(key), row.integer != 0});
        } else if (row.type == typeString && (row.valueType == SQLITE_TEXT || row.valueType == SQLITE_BLOB)) {
            all.push_back({std::move(key), std::move(row.text)});
        } else if (row.type == typePairs && row.valueType == SQLITE_TEXT) {
            if (auto pairs = decodePairs(row.text)) all.push_back({std::move(key), std::move(*pairs)});
        }
    }
    return all;
}

std::string SqliteStore::encodePairs(const Pairs& pairs) {
    std::string out = "[";
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        if (i) out += ',';
        out += '[';
        for (std::size_t j = 0; j < pairs[i].size(); ++j) {
            if (j) out += ',';
            json::appendString(out, pairs[i][j]);
        }
        out += ']';
    }
    out += ']';
    return out;
}

std::optional<Pairs> SqliteStore::decodePairs(std::string_view text) {
    if (auto pairs = quickPairs(text, false)) return pairs;
    // A list of lists of strings only, where a string holds ill-formed UTF-8 or an escaped half of a
    // surrogate pair, is read with each replaced by U+FFFD; a list of any other shape goes to
    // nlohmann's reader as it is, and keeps what comes before the first such string.
    if (std::optional<std::string> mended = JsonReader::mended(text)) {
        if (auto pairs = quickPairs(*mended, true)) return pairs;
    }
    PairsReader reader;
    nlohmann::json::sax_parse(text.begin(), text.end(), &reader, nlohmann::json::input_format_t::json, false);
    return reader.result();
}

} // namespace nimb
