#include "storage/SqliteStore.h"

#include "base/Json.h"

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

// Looks at what is in the file: our table with its columns, nothing at all, or something else.
Health examine(sqlite3* db, std::string& error) {
    auto fail = [&](int code) {
        error = sqlite3_errmsg(db);
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

sqlite3* openDatabase(const std::string& path, int busyTimeout, std::string& error) {
    sqlite3* db = nullptr;
    int code = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
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

bool setAside(const std::string& path, const std::string& aside, std::string& error) {
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
// and keeping what was complete when the text breaks off.
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

    std::optional<Pairs> result() { return m_isArray ? std::optional(std::move(m_pairs)) : std::nullopt; }

private:
    bool scalar() {
        if (m_depth == 0) return false; // not an array at all
        m_good = false;
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
    std::vector<std::string> m_element;
    Pairs m_pairs;
};

// The quick reading of a list exactly as encodePairs writes it (any white space allowed). Anything
// else — another type of element, a broken escape, a cut-off text — gives none, and the tolerant
// reader above takes over.
class StrictPairsReader {
public:
    explicit StrictPairsReader(std::string_view text) : m_text(text) {}

    std::optional<Pairs> read() {
        Pairs pairs;
        if (!take('[')) return std::nullopt;
        if (!take(']')) {
            do {
                if (!take('[')) return std::nullopt;
                std::vector<std::string> element;
                if (!take(']')) {
                    do {
                        if (!string(element.emplace_back())) return std::nullopt;
                    } while (take(','));
                    if (!take(']')) return std::nullopt;
                }
                pairs.push_back(std::move(element));
            } while (take(','));
            if (!take(']')) return std::nullopt;
        }
        skipSpace();
        if (m_at != m_text.size()) return std::nullopt;
        return pairs;
    }

private:
    void skipSpace() {
        while (m_at < m_text.size() &&
               (m_text[m_at] == ' ' || m_text[m_at] == '\n' || m_text[m_at] == '\r' || m_text[m_at] == '\t'))
            ++m_at;
    }
    bool take(char c) {
        skipSpace();
        if (m_at < m_text.size() && m_text[m_at] == c) {
            ++m_at;
            return true;
        }
        return false;
    }
    bool hex4(std::uint32_t& value) {
        if (m_at + 4 > m_text.size()) return false;
        value = 0;
        for (int i = 0; i < 4; ++i) {
            char c = m_text[m_at++];
            value <<= 4;
            if (c >= '0' && c <= '9')
                value |= static_cast<std::uint32_t>(c - '0');
            else if (c >= 'a' && c <= 'f')
                value |= static_cast<std::uint32_t>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                value |= static_cast<std::uint32_t>(c - 'A' + 10);
            else
                return false;
        }
        return true;
    }
    static void appendUtf8(std::string& out, std::uint32_t c) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    bool string(std::string& out) {
        if (!take('"')) return false;
        while (m_at < m_text.size()) {
            std::size_t run = m_at;
            while (run < m_text.size()) {
                auto c = static_cast<unsigned char>(m_text[run]);
                if (c == '"' || c == '\\') break;
                if (c < 0x20) return false;
                ++run;
            }
            if (run == m_text.size()) return false;
            out.append(m_text.data() + m_at, run - m_at);
            m_at = run + 1;
            if (m_text[run] == '"') return true;
            if (m_at >= m_text.size()) return false;
            char escape = m_text[m_at++];
            switch (escape) {
            case '"':
            case '\\':
            case '/':
                out += escape;
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'u': {
                std::uint32_t c = 0;
                if (!hex4(c)) return false;
                // A surrogate without its partner is no character; it reads as U+FFFD.
                if (c >= 0xD800 && c <= 0xDBFF && m_at + 5 < m_text.size() && m_text[m_at] == '\\' &&
                    m_text[m_at + 1] == 'u') {
                    std::size_t mark = m_at;
                    m_at += 2;
                    std::uint32_t low = 0;
                    if (hex4(low) && low >= 0xDC00 && low <= 0xDFFF)
                        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                    else
                        m_at = mark;
                }
                if (c >= 0xD800 && c <= 0xDFFF) c = 0xFFFD;
                appendUtf8(out, c);
                break;
            }
            default:
                return false;
            }
        }
        return false;
    }

    std::string_view m_text;
    std::size_t m_at = 0;
};

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

    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!touchPrivately(path, reason)) return failed();
        sqlite3* db = openDatabase(path, options.busyTimeoutMilliseconds, reason);
        if (!db) return failed();

        Health health = examine(db, reason);
        if (health == Health::good || health == Health::fresh) {
            std::string ignored;
            bool ready = execute(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;", ignored) &&
                         (health == Health::good || create(db, reason));
            if (ready) {
                std::unique_ptr<SqliteStore> store(new SqliteStore(path, db, options));
                if (store->prepare()) return store;
                reason = sqlite3_errmsg(db);
                return failed();
            }
            sqlite3_close(db);
            return failed();
        }
        sqlite3_close(db);
        if (health == Health::failed || attempt > 0) return failed();

        std::string aside = asideName(path, options.now());
        if (!setAside(path, aside, reason)) return failed();
        options.log("nimb: " + path + " was not a readable preferences database (" + reason +
                    "); it was moved to " + aside + " and a new one started");
    }
    return failed();
}

SqliteStore::SqliteStore(std::string path, sqlite3* db, Options options)
    : m_path(std::move(path)), m_db(db), m_options(std::move(options)) {}

SqliteStore::~SqliteStore() {
    sqlite3_finalize(m_select);
    sqlite3_finalize(m_upsert);
    sqlite3_close(m_db);
}

bool SqliteStore::prepare() {
    return sqlite3_prepare_v3(m_db, "SELECT type, value FROM preferences WHERE key = ?1", -1,
                              SQLITE_PREPARE_PERSISTENT, &m_select, nullptr) == SQLITE_OK &&
           sqlite3_prepare_v3(m_db,
                              "INSERT INTO preferences (key, type, value) VALUES (?1, ?2, ?3) "
                              "ON CONFLICT (key) DO UPDATE SET type = excluded.type, value = excluded.value",
                              -1, SQLITE_PREPARE_PERSISTENT, &m_upsert, nullptr) == SQLITE_OK;
}

std::optional<SqliteStore::Row> SqliteStore::read(std::string_view key) {
    sqlite3_reset(m_select);
    sqlite3_bind_text(m_select, 1, key.empty() ? "" : key.data(), static_cast<int>(key.size()),
                      SQLITE_STATIC);
    std::optional<Row> row;
    if (sqlite3_step(m_select) == SQLITE_ROW) {
        row.emplace();
        if (auto* type = reinterpret_cast<const char*>(sqlite3_column_text(m_select, 0))) row->type = type;
        row->valueType = sqlite3_column_type(m_select, 1);
        if (row->valueType == SQLITE_INTEGER) {
            row->integer = sqlite3_column_int64(m_select, 1);
        } else if (row->valueType == SQLITE_TEXT || row->valueType == SQLITE_BLOB) {
            auto* bytes = static_cast<const char*>(sqlite3_column_blob(m_select, 1));
            row->text.assign(bytes ? bytes : "", static_cast<std::size_t>(sqlite3_column_bytes(m_select, 1)));
        }
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

void SqliteStore::write(std::string_view key, std::string_view type,
                        const std::function<int(sqlite3_stmt*)>& bind) {
    sqlite3_reset(m_upsert);
    sqlite3_bind_text(m_upsert, 1, key.empty() ? "" : key.data(), static_cast<int>(key.size()),
                      SQLITE_STATIC);
    sqlite3_bind_text(m_upsert, 2, type.data(), static_cast<int>(type.size()), SQLITE_STATIC);
    int code = bind(m_upsert);
    if (code == SQLITE_OK) code = sqlite3_step(m_upsert);
    if (code != SQLITE_DONE)
        m_options.log("nimb: could not save \"" + std::string(key) + "\": " + sqlite3_errmsg(m_db));
    sqlite3_reset(m_upsert);
    sqlite3_clear_bindings(m_upsert);
}

void SqliteStore::set(std::string_view key, std::string_view value) {
    write(key, typeString, [&](sqlite3_stmt* s) {
        // A null pointer would bind NULL, not the empty string.
        return sqlite3_bind_text(s, 3, value.empty() ? "" : value.data(), static_cast<int>(value.size()),
                                 SQLITE_STATIC);
    });
}

void SqliteStore::set(std::string_view key, bool value) {
    write(key, typeBool, [&](sqlite3_stmt* s) { return sqlite3_bind_int(s, 3, value ? 1 : 0); });
}

void SqliteStore::set(std::string_view key, const Pairs& value) {
    std::string encoded = encodePairs(value);
    write(key, typePairs, [&](sqlite3_stmt* s) {
        return sqlite3_bind_text(s, 3, encoded.data(), static_cast<int>(encoded.size()), SQLITE_STATIC);
    });
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
    if (auto pairs = StrictPairsReader(text).read()) return pairs;
    PairsReader reader;
    nlohmann::json::sax_parse(text.begin(), text.end(), &reader, nlohmann::json::input_format_t::json, false);
    return reader.result();
}

} // namespace nimb
