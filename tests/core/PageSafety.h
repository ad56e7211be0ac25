#pragma once

// Hostile records for the generated pages, the check that none of them came through as markup, and
// small readers of page text shared by the page tests.

#include "Text.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace nimb::test {

// Text that would run a script, open an element or break out of an attribute, were it not escaped.
inline constexpr std::string_view hostileText =
    "<script>alert(\"t\")</script> & 'q' \"><img src=x onerror=alert(1)> ' onmouseover='alert(2)";
inline constexpr std::string_view hostileScriptAddress =
    "javascript:alert('x')//\"><script>alert(1)</script>";
// A web address (so pages do link it) carrying quotes and markup.
inline constexpr std::string_view hostileWebAddress =
    "https://evil.example/?q=\"><script>alert(1)</script>&r='onmouseover='x";

// Walks every tag: each element and attribute must be one the pages write, every value double-quoted
// and free of "<", and every link must lead to a web, file or internal address. A record that slipped
// through unescaped opens another element, adds an attribute or links to a script, and fails here.
inline void expectNoActiveMarkup(std::string_view html) {
    // Space-separated, with a space at each end.
    constexpr std::string_view elements =
        " html head meta title style body div h1 h2 p span a ol ul li br form "
        "input textarea button svg path kbd section code b i ";
    constexpr std::string_view attributes =
        " charset class href title method action autocomplete type name "
        "value spellcheck placeholder rows width height viewbox aria-hidden d fill ";
    const std::string page = text::asciiLowercased(html);
    auto among = [](std::string_view list, std::string_view name) {
        return !name.empty() && list.find(" " + std::string(name) + " ") != std::string_view::npos;
    };
    auto nameEnd = [&](std::size_t at) {
        return page.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789-", at);
    };
    for (std::size_t at = page.find('<'); at != std::string::npos; at = page.find('<', at)) {
        ++at;
        if (page[at] == '!') continue;
        if (page[at] == '/') ++at;
        std::size_t end = nameEnd(at);
        ASSERT_TRUE(among(elements, page.substr(at, end - at))) << page.substr(at, 40);
        for (at = page.find_first_not_of(" \n", end); page[at] != '>' && page.compare(at, 2, "/>") != 0;
             at = page.find_first_not_of(" \n", at)) {
            end = nameEnd(at);
            const std::string attribute = page.substr(at, end - at);
            ASSERT_TRUE(among(attributes, attribute)) << page.substr(at, 80);
            ASSERT_EQ(page.compare(end, 2, "=\""), 0) << attribute;
            at = page.find('"', end + 2);
            const std::string_view value = std::string_view(page).substr(end + 2, at - end - 2);
            ++at;
            EXPECT_EQ(value.find('<'), std::string_view::npos) << value;
            if (attribute == "href") {
                EXPECT_TRUE(text::startsWith(value, "http://") || text::startsWith(value, "https://") ||
                            text::startsWith(value, "file:") || text::startsWith(value, "nimb://"))
                    << value;
            }
        }
    }
}

// The text an escaped attribute value stands for.
inline std::string unescaped(std::string_view text) {
    std::string out(text);
    for (auto [entity, character] : {std::pair<std::string_view, std::string_view>{"&lt;", "<"},
                                     {"&gt;", ">"},
                                     {"&quot;", "\""},
                                     {"&#39;", "'"},
                                     {"&amp;", "&"}}) {
        for (std::size_t at = out.find(entity); at != std::string::npos; at = out.find(entity, at + 1))
            out.replace(at, entity.size(), character);
    }
    return out;
}

// Every href in the text that begins with `start`, unescaped.
inline std::vector<std::string> hrefs(std::string_view page, std::string_view start = "") {
    std::vector<std::string> found;
    const std::string key = "href=\"" + std::string(start);
    for (std::size_t at = page.find(key); at != std::string::npos; at = page.find(key, at + 1))
        found.push_back(unescaped(page.substr(at + 6, page.find('"', at + 6) - at - 6)));
    return found;
}

inline std::size_t occurrences(std::string_view text, std::string_view part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string_view::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

} // namespace nimb::test
