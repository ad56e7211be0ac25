#pragma once

// The request witness's judgement and count, one document at a time. The witness (a small library the
// web engine loads into each web process) is told of every request a page's frames and workers are
// about to send; for each it asks `note`, which says whether to stop it and counts it by host in the
// report's bins. What it stops is exactly what the compiled rule list would stop: an address a
// blocking rule matches (ContentBlocker::listedRequest), sent by a page of another site.

#include "records/WitnessCounts.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace nimb {

class RequestTally {
public:
    // The most hosts one bin keeps; requests to further hosts are only counted (`unlisted`).
    static constexpr std::size_t hostsPerBin = 400;
    // A host is cut to this many bytes.
    static constexpr std::size_t hostLength = 120;

    struct Policy {
        bool blocking = true; // stop listed requests
        bool counting = true; // keep counts

        bool operator==(const Policy&) const = default;
    };

    // `request`: the address about to be asked for, as the engine writes it. `page`: the address of the
    // page's main document (while the main frame loads, the address it is loading). `redirectedFrom`:
    // the address whose answer sent the request on, if any. The main frame's own document, and where it
    // is sent on to, are neither stopped nor counted. Answers whether to stop the request.
    [[nodiscard]] bool note(std::string_view request, std::string_view page, std::string_view redirectedFrom,
                            Policy policy);

    // A new document: nothing counted yet.
    void reset();
    [[nodiscard]] const WitnessCounts& counts() const { return m_counts; }
    // Whether anything was counted since the last call.
    [[nodiscard]] bool takeChanged();

    // Whether a request to `host` is a third party's on a page of `pageHost`: their registrable
    // domains differ. No page is nobody's third party.
    [[nodiscard]] static bool thirdParty(std::string_view host, std::string_view pageHost);

private:
    void count(std::map<std::string, std::int64_t>& bin, std::string_view host);

    WitnessCounts m_counts;
    bool m_changed = false;
};

} // namespace nimb
