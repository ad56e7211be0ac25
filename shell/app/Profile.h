#pragma once

// The user's profile: the preferences store opened under the data directory, read at once and written
// on a thread of its own, and what the user must be told about it. A store that can be read but not
// written is opened read-only (the user's records are all there; changes last for this run); one
// that cannot be opened at all gives a store in memory; a damaged file is set aside and a fresh store
// started. Each of these makes a notice that every window shows until the user dismisses it.

#include "app/UserDirectories.h"
#include "preferences/Preferences.h"
#include "storage/WriteOutcome.h"

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace nimb {

class QueuedStore;

class Profile {
public:
    struct Notice {
        enum class Kind {
            readOnly,    // read, not written
            inUse,       // held by another program at start: read, not written
            unavailable, // not opened at all: nothing kept after this run
            setAside,    // damaged, moved aside, a fresh one started
        };
        Kind kind = Kind::readOnly;
        std::string path; // the store's file, or where the damaged one went

        bool operator==(const Notice&) const = default;
    };

    explicit Profile(const UserDirectories& directories);
    // Gives the writes still waiting a moment to land.
    ~Profile();
    Profile(const Profile&) = delete;
    Profile& operator=(const Profile&) = delete;

    [[nodiscard]] Preferences& preferences() { return *m_preferences; }
    [[nodiscard]] const Preferences& preferences() const { return *m_preferences; }

    // What every window says about the profile until it is dismissed; none when all is well.
    [[nodiscard]] std::optional<Notice> notice() const { return m_dismissed ? std::nullopt : m_notice; }
    void dismissNotice() { m_dismissed = true; }

    // Whether writes are waiting for another program to let go of the store.
    [[nodiscard]] bool held() const { return m_held; }
    // Writes asked for since the profile opened (none counted for a store in memory).
    [[nodiscard]] std::uint64_t writesAsked() const;
    // Writes asked for and not yet landed or failed.
    [[nodiscard]] std::size_t unsaved() const;
    // Waits up to `limit` for the writes to land; how many are left.
    std::size_t finish(std::chrono::milliseconds limit);
    // Called when writes start or stop waiting for another program, and with every write that failed.
    std::function<void(bool held)> onHeld;
    std::function<void(const WriteOutcome&)> onFailure;

private:
    std::unique_ptr<Preferences> m_preferences;
    QueuedStore* m_queue = nullptr; // owned by the preferences; none when the store is in memory
    std::optional<Notice> m_notice;
    bool m_dismissed = false;
    bool m_held = false;
};

} // namespace nimb
