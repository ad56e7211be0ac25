#pragma once

// What the bodies of the page scripts' messages mean. Any page can post anything under the three
// message names, so a body is read as untrusted input: a value of the wrong type counts as absent,
// and texts, numbers and lists are held to bounds no real page comes near, so that a page cannot
// make the window hold or compute without end.

#include <nlohmann/json_fwd.hpp>

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace nimb::MessageBody {

// The longest status text kept, in characters; the status line is one line.
inline constexpr std::size_t statusLimit = 1000;
// The longest declared icon address kept, in characters; a longer one counts as none.
inline constexpr std::size_t iconAddressLimit = 2048;
// A reported host is cut to this many characters.
inline constexpr std::size_t hostLimit = 120;
// The most hosts read from one message; the rest are left unread.
inline constexpr std::size_t hostCountLimit = 1000;
// A count is held between 0 and this.
inline constexpr std::int64_t countLimit = 1'000'000'000;
// Texts are cut to this many bytes before anything else looks at them.
inline constexpr std::size_t byteLimit = 64 * 1024;

// The "blocked" message: each part present only when the body carried it in the right type.
struct Blocked {
    std::optional<std::int64_t> walls;
    std::optional<std::int64_t> network;
    std::optional<std::vector<std::string>> hosts;
    // The blocked requests by host.
    std::optional<std::map<std::string, std::int64_t>> counts;
    // The page came back from the engine's page cache (only `true` counts).
    bool restored = false;

    bool operator==(const Blocked&) const = default;
};

// "status": the text, cut to `statusLimit` characters; none for empty text or anything but text.
[[nodiscard]] std::optional<std::string> status(const nlohmann::json& body);

// "blocked": none when the body is not an object. "walls" and "network" are read when they are
// numbers (their whole part, held to 0...countLimit); "hosts" when it is a list, keeping its text
// elements among its first `hostCountLimit`, each cut to `hostLimit` characters; "counts" when it is
// a list of hosts each followed by its count, keeping the first `hostCountLimit` pairs of a text and a
// count, hosts cut the same; "restored" when it is true.
[[nodiscard]] std::optional<Blocked> blocked(const nlohmann::json& body);

// "favicon": the declared icon's address; none for empty text, text over `iconAddressLimit`
// characters, or anything but text.
[[nodiscard]] std::optional<std::string> favicon(const nlohmann::json& body);

// A page-supplied text made safe to keep: at most `byteLimit` bytes read, ill-formed UTF-8 replaced,
// then cut to `characters` characters.
[[nodiscard]] std::string boundedText(std::string_view text, std::size_t characters);

// A page-supplied number as a count: its whole part held to 0...countLimit; none when it is not a
// number.
[[nodiscard]] std::optional<std::int64_t> count(const nlohmann::json& value);

} // namespace nimb::MessageBody
