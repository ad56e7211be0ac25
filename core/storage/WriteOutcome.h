#pragma once

#include <string>

namespace nimb {

// What became of a write: stored, waiting its turn, or not stored and why. The kinds of failure are
// the ones a user can act on; `detail` is the store's own message, for the log only.
struct WriteOutcome {
    enum class Kind {
        written,  // on disk (or in memory, for a store that keeps nothing on disk)
        queued,   // accepted, not yet on disk: the outcome comes later
        locked,   // another program holds the store
        readOnly, // the store can be read but not written
        full,     // no room left on the disk
        failed,   // anything else
    };

    Kind kind = Kind::written;
    std::string detail;

    [[nodiscard]] static WriteOutcome written() { return {}; }
    [[nodiscard]] static WriteOutcome queued() { return {Kind::queued, {}}; }
    [[nodiscard]] static WriteOutcome failure(Kind kind, std::string detail) {
        return {kind, std::move(detail)};
    }

    // Whether it is stored or may still be.
    [[nodiscard]] bool good() const { return kind == Kind::written || kind == Kind::queued; }
    [[nodiscard]] bool landed() const { return kind == Kind::written; }

    bool operator==(const WriteOutcome&) const = default;
};

} // namespace nimb
