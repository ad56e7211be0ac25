#pragma once

// The user's profile: the preferences store opened under the data directory, and why it could not be
// kept on disk when it could not (the run then goes on with a store in memory, and the first page to
// finish loading says so).

#include "app/UserDirectories.h"
#include "preferences/Preferences.h"

#include <memory>
#include <optional>
#include <string>

namespace nimb {

class Profile {
public:
    explicit Profile(const UserDirectories& directories);

    [[nodiscard]] Preferences& preferences() { return *m_preferences; }
    [[nodiscard]] const Preferences& preferences() const { return *m_preferences; }
    // Why the preferences are not kept on disk this run; none when they are.
    [[nodiscard]] const std::optional<std::string>& problem() const { return m_problem; }
    // The problem for the status line, once: the first page to finish loading shows it.
    std::optional<std::string> takeProblemForStatus();

private:
    std::unique_ptr<Preferences> m_preferences;
    std::optional<std::string> m_problem;
    bool m_problemShown = false;
};

} // namespace nimb
