#include "base/Domain.h"

#include "base/Text.h"

#include <algorithm>
#include <array>

namespace nimb::Domain {

namespace {

constexpr std::array<std::string_view, 11> secondLevelWords = {"co",  "com", "org", "net", "ac",  "gov",
                                                               "edu", "or",  "ne",  "go",  "gouv"};

// The text in lower case: the text itself when it has nothing to lower (the common case for hosts),
// else a lowered copy kept in `buffer`.
std::string_view lowered(std::string_view text, std::string& buffer) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (static_cast<unsigned char>(c) >= 0x80) {
            buffer = text::lowercased(text);
            return buffer;
        }
        if (c >= 'A' && c <= 'Z') {
            if (!text::isAscii(text.substr(i))) {
                buffer = text::lowercased(text);
                return buffer;
            }
            // ASCII lowers one byte at a time, into the buffer's own room.
            buffer.assign(text);
            for (std::size_t j = i; j < buffer.size(); ++j) {
                if (buffer[j] >= 'A' && buffer[j] <= 'Z')
                    buffer[j] = static_cast<char>(buffer[j] - 'A' + 'a');
            }
            return buffer;
        }
    }
    return text;
}

} // namespace

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
