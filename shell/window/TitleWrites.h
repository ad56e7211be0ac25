#pragma once

// A tab's page titles on their way to history. A page may change its title many times a second; each
// change would rewrite the stored history and draw every history and home page again. The first change
// after a quiet second is written at once; later ones wait until a second has passed since the last
// write and only the newest is written. The newest title always lands: when the tab goes, or a title
// of another page comes, what waits is written then.

#include "glib/Throttle.h"

#include <chrono>
#include <functional>
#include <string>

namespace nimb {

class TitleWrites {
public:
    using Write = std::function<void(const std::string& address, const std::string& title)>;
    static constexpr std::chrono::milliseconds defaultInterval{1000};

    TitleWrites() = default;
    TitleWrites(const TitleWrites&) = delete;
    TitleWrites& operator=(const TitleWrites&) = delete;

    // The page at `address` is now titled `title`; `write` stores it, at most once every `interval`.
    void changed(const std::string& address, const std::string& title, Write write,
                 std::chrono::milliseconds interval = defaultInterval);
    // Writes what waits, now.
    void flush() { m_throttle.flush(); }
    [[nodiscard]] bool waiting() const { return m_throttle.waiting(); }

private:
    glib::Throttle m_throttle{defaultInterval};
    std::string m_address; // of the title waiting, if one is
};

} // namespace nimb
