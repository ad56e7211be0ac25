#include "base/Domain.h"

#include "base/Text.h"

#include <algorithm>
#include <array>

namespace nimb::Domain {

namespace {

constexpr std::array<std::string_view, 11> secondLevelWords = {"co",  "com", "org", "net", "ac",  "gov",
                                                               "edu", "or",  "ne",  "go",  "gouv"};

using text::lowered;

} // namespace

std::string hostOf(std::string_view address) {
    // Read on every request a page makes: the scheme is matched in place, without a lowered copy.
    const auto startsWithScheme = [address](std::string_view scheme) {
        return address.size() >= scheme.size() &&
               std::equal(scheme.begin(), scheme.end(), address.begin(), [](char wanted, char c) {
                   return wanted == (c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
               });
    };
    std::string_view rest;
    if (startsWithScheme("https://"))
        rest = address.substr(8);
    else if (startsWithScheme("http://"))
        rest = address.substr(7);
    else
        return {};
    std::string_view authority = rest.substr(0, rest.find_first_of("/?#"));
    if (auto at = authority.rfind('@'); at != std::string_view::npos) authority.remove_prefix(at + 1);
    std::string_view host = authority;
    if (host.starts_with('[')) {
        auto close = host.find(']');
        if (close != std::string_view::npos) host = host.substr(0, close + 1);
    } else {
        host = host.substr(0, host.find(':'));
    }
    return text::asciiLowercased(host);
}

std::string_view registrable(std::string_view host, std::string& buffer) {
    std::string_view lower = lowered(host, buffer);
    // The last three non-empty labels, last first.
    std::array<std::string_view, 3> labels;
    std::size_t found = 0;
    for (std::size_t end = lower.size(); found < labels.size() && end > 0;) {
        std::size_t dot = lower.rfind('.', end - 1);
        std::size_t start = dot == std::string_view::npos ? 0 : dot + 1;
        if (end > start) labels[found++] = lower.substr(start, end - start);
        if (dot == std::string_view::npos) break;
        end = dot;
    }
    if (found < 3) return lower;
    auto [last, second, third] = labels;
    bool genericSecondLevel =
        std::find(secondLevelWords.begin(), secondLevelWords.end(), second) != secondLevelWords.end();
    std::string_view first = genericSecondLevel && text::characterCount(last) < 4 ? third : second;
    // Labels one dot apart are a run of the host itself; otherwise they are joined afresh.
    const bool twoLabels = first.data() == second.data();
    bool run = (twoLabels || first.data() + first.size() + 1 == second.data()) &&
               second.data() + second.size() + 1 == last.data();
    if (run) return {first.data(), static_cast<std::size_t>(last.data() + last.size() - first.data())};
    std::string joined;
    joined.reserve(first.size() + second.size() + last.size() + 2);
    if (!twoLabels) joined.append(first).append(".");
    joined.append(second).append(".").append(last);
    buffer = std::move(joined);
    return buffer;
}

std::string registrable(std::string_view host) {
    std::string buffer;
    return std::string(registrable(host, buffer));
}

} // namespace nimb::Domain
