#pragma once

#include "base/Date.h"
#include "base/Url.h"
#include "records/Visit.h"
#include "storage/KeyValueStore.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nimb {

class Preferences;
struct HistoryAction;

// The visits of one host folded together, for display; never stored.
struct Site {
    std::string name;    // the host without "www.", else a title or address
    std::string address; // where to go for the site
    Date last;           // the newest visit's
    std::int64_t visits = 0;

    bool operator==(const Site&) const = default;
};

namespace History {

// The most visits kept.
inline constexpr std::size_t limit = 500;

// Whether an address is a real page worth remembering: http and https with a host, or file.
[[nodiscard]] bool worthKeeping(std::string_view address);

// One site per host, the most recently visited first (ties by name).
[[nodiscard]] std::vector<Site> sites(const std::vector<Visit>& visits);
// The visits (of one host) as a site; none for no visits.
[[nodiscard]] std::optional<Site> siteFrom(const std::vector<Visit>& visits);
// The site of an address, named as visits are folded into sites: the lower-cased host without
// "www.", with the port when it is not the scheme's own. None for anything but a web address with a
// host.
[[nodiscard]] std::optional<std::string> site(std::string_view address);

// The order completion walks: most visited first, then the shorter address, then the more recent;
// full ties keep their order.
[[nodiscard]] std::vector<Visit> ranked(std::vector<Visit> visits);

// The ways a user may begin to type an address, most stripped first: without scheme and "www.",
// without scheme, and the address itself (only the forms that differ are listed).
[[nodiscard]] std::vector<std::string> forms(std::string_view address);

// What typed text completes to from history: the typed text as written followed by the rest of the
// best-ranked address that begins with it. None when nothing is to be added.
[[nodiscard]] std::optional<std::string> completion(std::string_view typed, const std::vector<Visit>& visits);
// The same over the stored form of the list, as Preferences keeps it: what `completion` gives for the
// visits that list reads as, without building them.
[[nodiscard]] std::optional<std::string> completionFromStored(std::string_view typed, const Pairs& stored);

// The stored history

// What typed text completes to from the stored history; none while history is not remembered.
[[nodiscard]] std::optional<std::string> completion(const Preferences& preferences, std::string_view typed);
// Records a visit to a page worth keeping while history is remembered: the visit moves to the front
// with its count raised (an empty title keeps the stored one). False when nothing was recorded.
bool recordVisit(Preferences& preferences, std::string_view address, std::string_view title, Date at);
// Gives the stored visit of the address a new, non-empty title; false when nothing changed.
bool retitle(Preferences& preferences, std::string_view address, std::string_view title);
// Forgets every visit, and the zoom levels of sites with them; how many visits there were.
std::int64_t clear(Preferences& preferences);
// Forgets the first visit of exactly this address; none, and nothing written, when there is none.
std::optional<Visit> forget(Preferences& preferences, std::string_view address);
// Carries out a history page's action; how many visits were forgotten.
std::int64_t apply(Preferences& preferences, const HistoryAction& action);

} // namespace History

// An internal link of the history page: forget one address, or everything.
struct HistoryAction {
    enum class Kind {
        forget,
        forgetAll,
    };

    Kind kind = Kind::forgetAll;
    // The address to forget; empty for `forgetAll`.
    std::string address;

    [[nodiscard]] static HistoryAction forget(std::string address) {
        return {Kind::forget, std::move(address)};
    }
    [[nodiscard]] static HistoryAction forgetAll() { return {Kind::forgetAll, {}}; }

    // The internal address that carries this action.
    [[nodiscard]] std::string href() const;
    // The action an internal address carries; none when it carries none.
    [[nodiscard]] static std::optional<HistoryAction> fromUrl(const Url& url);

    bool operator==(const HistoryAction&) const = default;
};

} // namespace nimb
