#pragma once

#include "storage/KeyValueStore.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace nimb {

// The persistent store: one SQLite database file, one row per key with its type. Every write is one
// transaction, so a crash never leaves half a write; the journal is a write-ahead log, so reading
// goes on while another process writes, and a write waits up to the busy timeout for its turn.
//
// A store that can be read but not written (the file or its folder read-only, or held by another
// program at open after one wait) is opened read-only: it reads as stored and every write answers
// why it was not kept. A folder or file whose owner took away its own write permission counts as
// read-only even for a user the system would let write.
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
        // How long a write, or the open, waits for another process holding the database.
        int busyTimeoutMilliseconds = 5000;
    };

    // Why the store opened read-only.
    struct ReadOnly {
        WriteOutcome::Kind why = WriteOutcome::Kind::readOnly; // or `locked`
        std::string detail;
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

    // Every key with its value, for a reader that keeps the whole store at hand; a value not of its
    // type's shape is left out.
    [[nodiscard]] std::vector<Change> everything();

    [[nodiscard]] const std::string& path() const { return m_path; }
    // How long a write waits for another process from now on.
    void setBusyTimeout(std::chrono::milliseconds wait);
    // Why writes are refused; none for a store that can be written.
    [[nodiscard]] const std::optional<ReadOnly>& readOnly() const { return m_readOnly; }
    // Where the unreadable file found at open was moved; none when there was none.
    [[nodiscard]] const std::optional<std::string>& setAside() const { return m_setAside; }

    // Reads a list as stored in a "pairs" value, skipping elements that are not lists of strings.
    // Exposed for tests. None when the text is not a JSON array at all.
    [[nodiscard]] static std::optional<Pairs> decodePairs(std::string_view json);
    [[nodiscard]] static std::string encodePairs(const Pairs& pairs);

protected:
    WriteOutcome commit(const Changes& changes) override;

private:
    SqliteStore(std::string path, sqlite3* db, Options options);
    static std::unique_ptr<SqliteStore> openReadOnly(const std::string& path, Options options, ReadOnly why,
                                                     std::string* error);
    bool prepare();
    int upsert(const Change& change);
    WriteOutcome failure(int code);

    struct Row;
    std::optional<Row> read(std::string_view key);

    std::string m_path;
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_select = nullptr;
    sqlite3_stmt* m_upsert = nullptr;
    Options m_options;
    std::optional<ReadOnly> m_readOnly;
    std::optional<std::string> m_setAside;
};

} // namespace nimb
