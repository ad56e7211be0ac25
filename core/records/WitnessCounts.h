#pragma once

// What the request witness saw of one document: every request its frames and workers sent, counted by
// host in the report's three bins. The witness runs in the web process, beside the engine's loader,
// and sees requests no script of the page can (those of frames, workers, style sheets, redirects).

#include <cstdint>
#include <map>
#include <string>

namespace nimb {

struct WitnessCounts {
    // Requests to listed hosts that the witness stopped, or would have stopped with blocking on.
    std::map<std::string, std::int64_t> blocked;
    // Requests to other sites' hosts, and to the site's own other hosts.
    std::map<std::string, std::int64_t> other;
    std::map<std::string, std::int64_t> house;
    // Requests to hosts past the most a bin keeps: counted here, their hosts not kept.
    std::int64_t unlisted = 0;

    [[nodiscard]] bool empty() const {
        return blocked.empty() && other.empty() && house.empty() && unlisted == 0;
    }
    [[nodiscard]] std::int64_t blockedTotal() const;
    // The blocked requests of the page: per host the larger of these counts and `recorded` (the page's
    // recorder's, which saw many of the same requests), summed.
    [[nodiscard]] std::int64_t blockedWith(const std::map<std::string, std::int64_t>& recorded) const;

    bool operator==(const WitnessCounts&) const = default;
};

} // namespace nimb
