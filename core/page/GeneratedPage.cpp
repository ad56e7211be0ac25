#include "page/GeneratedPage.h"

#include "base/Text.h"
#include "location/LocationBar.h"

#include <array>
#include <charconv>

namespace nimb::GeneratedPage {

namespace {

constexpr std::string_view about = "about:";

constexpr std::array pages = {LocationBar::aboutHome, LocationBar::aboutBookmarks, LocationBar::aboutHistory,
                              LocationBar::aboutReports, LocationBar::aboutReport};

} // namespace

std::string address(std::string_view internalAddress, std::uint64_t entry) {
    if (internalAddress.starts_with(about)) internalAddress.remove_prefix(about.size());
    return std::string(scheme) + ":" + std::string(internalAddress) + "/" + std::to_string(entry);
}

std::optional<Entry> parse(std::string_view address) {
    if (address.size() <= scheme.size() || address[scheme.size()] != ':' ||
        text::asciiLowercased(address.substr(0, scheme.size())) != scheme)
        return std::nullopt;
    std::string_view rest = address.substr(scheme.size() + 1);
    std::uint64_t number = 0;
    if (auto slash = rest.find('/'); slash != std::string_view::npos) {
        std::string_view digits = rest.substr(slash + 1);
        auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
        if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
        rest = rest.substr(0, slash);
    }
    for (std::string_view page : pages) {
        if (page.substr(about.size()) == rest) return Entry{std::string(page), number};
    }
    return std::nullopt;
}

} // namespace nimb::GeneratedPage
