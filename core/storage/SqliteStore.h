#pragma once

#include "storage/KeyValueStore.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

namespace nimb {

// The persistent store: one SQLite database file, one row per key with its type. Every set is one
// transaction, so a crash never leaves half a value; the journal is a write-ahead log and a second
// process on the same file waits its turn instead of failing.
//
// A file that is not a readable database of ours (garbage, truncated, another program's schema) is
// renamed aside to "<name>.corrupt-<unix seconds>" and a fresh database is started in its place; the
// old file is kept, never deleted.
//
// A list is read element by element: an element that is not a list of strings is skipped and the
// rest of the list is kept, so that one bad element never makes the next write erase the others.
class SqliteStore final : public KeyValueStore {
public:
    struct Options {
        // Seconds since 1970, for naming a file set aside.
        std::function<std::int64_t()> now;
        // Where the one line about a file set aside (or a write that failed) goes; stderr by default.
        std::function<void(const std::string&)> log;
        // How long to wait for another process holding the database.
        int busyTimeoutMilliseconds = 5000;
    };

    // Opens or creates the database at `path` (created with mode 0600). Gives null, with the reason
    // in `error`, when the file cannot be opened at all (missing directory, no permission, locked).
    [[nodiscard]] static std::unique_ptr<SqliteStore> open(const std::string& path,
                                                           std::string* error = nullptr);
    [[nodiscard]] static std::unique_ptr<SqliteStore> open(const std::string& path, Options options,
                                                           std::string* error = nullptr);
    ~SqliteStore() override;
    SqliteStore(const SqliteStore&) = delete;
    SqliteStore& operator=(const SqliteStore&) = delete;

    std::optional<std::string> string(std::string_view key) override;
    std::optional<bool> boolean(std::string_view key) override;
    std::optional<Pairs> pairs(std::string_view key) override;

    void set(std::string_view key, std::string_view value) override;
    void set(std::string_view key, bool value) override;
    void set(std::string_view key, const Pairs& value) override;
    using KeyValueStore::set;

    [[nodiscard]] const std::string& path() const { return m_path; }

    // Reads a list as stored in a "pairs" value, skipping elements that are not lists of strings.
    // Exposed for tests. None when the text is not a JSON array at all.
    [[nodiscard]] static std::optional<Pairs> decodePairs(std::string_view json);
    [[nodiscard]] static std::string encodePairs(const Pairs& pairs);

private:
    SqliteStore(std::string path, sqlite3* db, Options options);
    bool prepare();
    void write(std::string_view key, std::string_view type, const std::function<int(sqlite3_stmt*)>& bind);

    struct Row;
    std::optional<Row> read(std::string_view key);

    std::string m_path;
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_select = nullptr;
    sqlite3_stmt* m_upsert = nullptr;
    Options m_options;
};

} // namespace nimb
