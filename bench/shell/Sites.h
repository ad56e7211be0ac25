#pragma once

// The two pages the shell benchmark loads, and everything they ask for, written as files for the
// loopback server (tests/support/ProxyServer: one directory per host).
//
// Both pages are the same news front page: about 2,000 elements and about 300 requests to 40 hosts of
// the site and of third parties (libraries, pictures, web fonts, JSON, three embedded frames), none of
// them on the blocklist. The tracker page carries besides what such a site carries: a consent wall, a
// tag manager and the tags it loads, an ad library with its frames, header bidding, analytics pixels,
// recommendation widgets and a notification nag, all from blocklisted hosts, each loading real-sized
// scripts and pictures that do real work (fingerprinting, hashing, cookies and storage, beacons, DOM
// building, mutation observers) when they are let through.
//
// Everything is generated with a fixed seed from the templates in bench/shell/sites (the scripts'
// bodies, and the filler that brings each script to its real size), so every run loads the same bytes.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nimb::bench {

struct SiteFixtures {
    std::string cleanPage;                 // the clean page's address
    std::string trackerPage;               // the tracker page's address
    std::vector<std::string> cleanHosts;   // every host the clean page reaches, sorted
    std::vector<std::string> trackerHosts; // the hosts only the tracker page reaches, sorted
    std::size_t cleanElements = 0;         // elements in the clean page's own markup
    std::size_t cleanRequests = 0;         // requests of one load of the clean page
    std::size_t trackerRequests = 0;       // requests of one load of the tracker page, nothing blocked
    std::size_t trackerTags = 0;           // of those, the ones the tracker page's markup makes itself
    std::uintmax_t cleanBytes = 0;         // bytes of everything the clean page loads
    std::uintmax_t trackerBytes = 0;       // the same for the tracker page, nothing blocked

    bool operator==(const SiteFixtures&) const = default;
};

// The elements in a piece of markup: its start tags (not end tags, comments or declarations).
[[nodiscard]] std::size_t countElements(std::string_view html);

// Writes both sites under `root`. `templates` holds site.js, tracker.js and filler.js; `fonts` the
// typefaces the page's style sheet serves as web fonts (FiraSans-Regular.ttf, FiraSans-Medium.ttf).
// None, with the reason in `error`, when a template or typeface is missing or a file cannot be written.
[[nodiscard]] std::optional<SiteFixtures> writeSites(const std::filesystem::path& root,
                                                     const std::filesystem::path& templates,
                                                     const std::filesystem::path& fonts, std::string* error);

} // namespace nimb::bench
