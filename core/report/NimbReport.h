#pragma once

// One page's site report: what the rule list blocked, what was taken off the page, which other hosts
// the page contacted and what it keeps in its storage. Built only by parsing, either the payload the
// page scripts return or the snapshot of a kept report; everything after that reads this record.

#include "records/ContentBlockerCategory.h"
#include "records/NimbReportReason.h"
#include "records/WitnessCounts.h"

#include <nlohmann/json_fwd.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nimb {

struct NimbReport {
    using Reason = NimbReportReason;

    // A host whose requests the rule list blocked.
    struct Blocked {
        std::string host;          // at most 120 characters
        std::int64_t requests = 1; // at least 1
        std::optional<ContentBlocker::Category> category;

        bool operator==(const Blocked&) const = default;
    };

    // An element taken off the page.
    struct Hidden {
        std::string label; // at most 120 characters: tag, id and first class
        Reason reason = Reason::known;
        std::string text; // at most 160 characters of its visible text

        bool operator==(const Hidden&) const = default;
    };

    // One storage entry.
    struct Item {
        std::string key;        // 1 to 120 characters
        std::int64_t bytes = 0; // key and value length in UTF-16 code units, times two
        std::string preview;    // at most 90 characters: the start of the value

        bool operator==(const Item&) const = default;
    };

    // One storage area.
    struct Jar {
        std::int64_t count = 0;  // entries the page read
        std::int64_t bytes = 0;  // their total size
        std::vector<Item> items; // at most 60, largest first

        static constexpr std::size_t itemLimit = 60;

        // Reads a jar record; anything but an object (a null value stands for a missing one) gives
        // the empty jar.
        [[nodiscard]] static Jar parse(const nlohmann::json& value);
        [[nodiscard]] bool empty() const { return count == 0 && bytes == 0 && items.empty(); }

        bool operator==(const Jar&) const = default;
    };

    std::string address;
    std::string title;
    std::vector<Blocked> blocked;        // most requests first, ties by host
    std::vector<Hidden> hidden;          // in payload order
    std::vector<std::string> otherHosts; // sorted, distinct
    std::vector<std::string> houseHosts; // sorted, distinct
    std::int64_t cookies = 0;
    Jar local;
    Jar session;
    std::vector<std::string> databases;
    bool storageForgotten = false;
    bool recorded = false;
    bool blockingOn = true;

    // Whether the browser's request witness counted the page's requests beside the page's recorder:
    // it sees those of frames, workers, style sheets and redirects, which the recorder cannot.
    enum class Witness {
        unknown, // not asked (a kept report, a report of the recorder alone)
        counted,
        absent, // the witness did not report on this page
    };
    // Like `blockingOn`, the caller's to set; neither is part of the snapshot.
    Witness witness = Witness::unknown;
    // False when the page's scripts could not be asked (JavaScript off): no storage, no walls.
    bool scriptsRead = true;

    // Takes in what the witness counted: each blocked host with the larger of the two counts (the two
    // saw many of the same requests, so a sum would count them twice), every other host it saw.
    void merge(const WitnessCounts& counts);

    // Payloads larger than this are not read at all: no page records that much, and reading it would
    // stall the window. Nor is one whose snapshot would be larger, since it could not be read back.
    static constexpr std::size_t payloadLimit = 4 * 1024 * 1024;

    // Never fails: a payload that is not a JSON object gives a record with `recorded` false; every
    // malformed part of one that is degrades to an empty or zero field.
    [[nodiscard]] static NimbReport parse(std::string_view payload, std::string_view address,
                                          std::string_view title);

    // Blocked requests plus elements taken off: the number the summary shows.
    [[nodiscard]] std::int64_t total() const;
    [[nodiscard]] std::int64_t requestsBlocked() const;
    // The blocked entries of one category, in order.
    [[nodiscard]] std::vector<Blocked> blockedIn(ContentBlocker::Category category) const;
    // The number of local-storage entries.
    [[nodiscard]] std::int64_t storage() const { return local.count; }
    // The kept form, compact JSON that `parse` reads back to an equal record (the blocked
    // categories are worked out again, and `blockingOn` is the caller's to set).
    [[nodiscard]] std::string snapshot() const;

    bool operator==(const NimbReport&) const = default;
};

} // namespace nimb
