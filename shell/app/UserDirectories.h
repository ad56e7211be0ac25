#pragma once

#include <string>

namespace nimb {

// Where NIMB keeps what it keeps, under the XDG base directories. Each directory is created on first
// use with user-only permissions; one that already exists is left as it is.
struct UserDirectories {
    std::string data;  // $XDG_DATA_HOME/nimb
    std::string cache; // $XDG_CACHE_HOME/nimb

    [[nodiscard]] static UserDirectories fromEnvironment();
    [[nodiscard]] std::string preferencesFile() const { return data + "/preferences.sqlite"; }
    [[nodiscard]] std::string webKitData() const { return data + "/webkit"; }
    [[nodiscard]] std::string webKitCache() const { return cache + "/webkit"; }
    [[nodiscard]] std::string contentFilters() const { return cache + "/content-filters"; }
    // The sites' cookies, kept from one run to the next.
    [[nodiscard]] std::string cookies() const { return webKitData() + "/cookies.sqlite"; }

    // Creates every directory above that is missing, mode 0700, changing none that exists. False when
    // one cannot be made.
    bool create() const;
};

} // namespace nimb
