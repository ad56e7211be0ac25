#pragma once

// Hostile records for the generated pages, the check that none of them came through as markup, and
// small readers of page text shared by the page tests.

#include "SampleRecords.h"
#include "base/Text.h"
#include "records/SavedReport.h"
#include "report/NimbReport.h"
#include "vocabulary/Language.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>
#include <vector>

namespace nimb {
using ::testing::HasSubstr;
using ::testing::Not;
} // namespace nimb

namespace nimb::test {

// Text that would run a script, open an element or break out of an attribute, were it not escaped; an
// address that runs script when followed; a web address (so pages do link it) carrying quotes and markup.
// The hostile report and kept reports are samples::hostileReport() and samples::hostileSavedReports().
inline constexpr std::string_view hostileText = samples::hostileText;
inline constexpr std::string_view hostileScriptAddress = samples::hostileAddress;
inline const std::string hostileWebAddress =
    std::string("https://evil.example/?q=\"'>") + samples::hostileText;

// Pages are rendered in English unless a test says otherwise, and the language is set back after.
class EnglishPageTest : public ::testing::Test {
protected:
    void SetUp() override { setCurrentLanguage(Language::english); }
    void TearDown() override { setCurrentLanguage(Language::english); }
};

// Where a page's links may lead: the report pages link only to the browser's own actions.
enum class Links {
    webAndInternal,
    internalOnly
};

namespace safety {

// Space-separated, with a space at each end.
inline constexpr std::string_view elements =
    " html head meta title style body div nav header h1 h2 h3 p span a ol ul li br form input textarea "
    "button svg path kbd section code b i dl dt dd strong em sup ";
inline constexpr std::string_view attributes =
    " charset class href title method action autocomplete type name value spellcheck placeholder rows "
    "width height viewbox aria-hidden aria-current d fill style autofocus ";

inline bool among(std::string_view list, std::string_view name) {
    return !name.empty() && list.find(" " + std::string(name) + " ") != std::string_view::npos;
}

// A style attribute the pages write: the score's colour, or the scale marker's place.
inline bool safeStyle(std::string_view value) {
    auto hexDigits = [](std::string_view text, std::size_t min, std::size_t max) {
        return text.size() >= min && text.size() <= max && std::all_of(text.begin(), text.end(), [](char c) {
                   return std::isxdigit(static_cast<unsigned char>(c));
               });
    };
    if (text::startsWith(value, "color:#")) return hexDigits(value.substr(7), 6, 6);
    if (text::startsWith(value, "left:") && value.ends_with("%"))
        return hexDigits(value.substr(5, value.size() - 6), 1, 2);
    return false;
}

} // namespace safety

// Walks every tag outside the style sheet: each element and attribute must be one the pages write,
// every value double-quoted and free of "<", every link lead to a web, file or internal address (an
// internal one only, on the report pages), every form go to one of the two form actions, and every
// inline style be the score's colour or the marker's place. A record that slipped through unescaped
// opens another element, adds an attribute (a quote ending a value early) or links elsewhere, and
// fails here.
inline void expectNoActiveMarkup(std::string_view html, Links links = Links::webAndInternal) {
    const std::string page = text::asciiLowercased(html);
    auto nameEnd = [&](std::size_t at) {
        return std::min(page.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789-", at), page.size());
    };
    for (std::size_t at = page.find('<'); at != std::string::npos; at = page.find('<', at)) {
        ++at;
        if (page.compare(at, 1, "!") == 0) continue;
        const bool closing = page.compare(at, 1, "/") == 0;
        if (closing) ++at;
        std::size_t end = nameEnd(at);
        const std::string element = page.substr(at, end - at);
        ASSERT_TRUE(safety::among(safety::elements, element)) << page.substr(at, 40);
        for (at = page.find_first_not_of(" \n", end);
             at < page.size() && page[at] != '>' && page.compare(at, 2, "/>") != 0;
             at = page.find_first_not_of(" \n", at)) {
            end = nameEnd(at);
            const std::string attribute = page.substr(at, end - at);
            ASSERT_TRUE(safety::among(safety::attributes, attribute)) << page.substr(at, 80);
            if (attribute == "autofocus" && page.compare(end, 1, "=") != 0) {
                at = end;
                continue;
            }
            ASSERT_EQ(page.compare(end, 2, "=\""), 0) << attribute;
            at = page.find('"', end + 2);
            ASSERT_NE(at, std::string::npos) << attribute;
            const std::string_view value = std::string_view(page).substr(end + 2, at - end - 2);
            ++at;
            EXPECT_EQ(value.find('<'), std::string_view::npos) << attribute << "=" << value;
            if (attribute == "href") {
                const bool internal = text::startsWith(value, "nimb://");
                const bool web = text::startsWith(value, "http://") || text::startsWith(value, "https://") ||
                                 text::startsWith(value, "file:");
                EXPECT_TRUE(internal || (links == Links::webAndInternal && web)) << "href=" << value;
            } else if (attribute == "action") {
                EXPECT_TRUE(value == "nimb://edit" || value == "nimb://report") << "action=" << value;
            } else if (attribute == "style") {
                EXPECT_TRUE(safety::safeStyle(value)) << "style=" << value;
            }
        }
        ASSERT_LT(at, page.size()) << "unterminated <" << element << ">";
        // The style sheet is the page's own; skip to its end.
        if (element == "style" && !closing) {
            at = page.find("</style>", at);
            ASSERT_NE(at, std::string::npos);
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
