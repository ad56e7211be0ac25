#pragma once

// The request witness's messages to the window, one kind of JSON text each: a greeting when the
// witness starts on a page (so that the window knows it is at work), and the counts of the document
// the page shows. They come from the web process, which runs web content: a message is read as
// untrusted input, held to the bounds the witness itself keeps, and a malformed one counts as none.

#include "records/WitnessCounts.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace nimb::WitnessMessage {

// The name of the engine's user messages that carry them.
inline constexpr std::string_view name = "nimb-witness";
// The name of the window's message to every witness: what to do (see `policy`).
inline constexpr std::string_view policyName = "nimb-witness-policy";
// The longest message read, in bytes: more than the bounds of the counts can fill.
inline constexpr std::size_t byteLimit = 512 * 1024;

struct Message {
    bool hello = false;
    std::optional<WitnessCounts> counts;

    bool operator==(const Message&) const = default;
};

[[nodiscard]] std::string hello();
[[nodiscard]] std::string counts(const WitnessCounts& counts);
// None for anything but one of the two, in the written form, within the bounds: each bin at most
// RequestTally::hostsPerBin hosts, hosts cut to RequestTally::hostLength bytes, counts whole numbers
// held to 1...MessageBody::countLimit (others left out).
[[nodiscard]] std::optional<Message> read(std::string_view text);

} // namespace nimb::WitnessMessage
