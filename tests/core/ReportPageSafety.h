#pragma once

// Hostile reports and kept reports for the report pages, and the check that nothing in them came
// through as markup.

#include "Text.h"
#include "report/NimbReport.h"
#include "report/SavedReport.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cctype>
#include <string>
#include <string_view>

namespace nimb::test {

// Text that would run a script, open an element or break out of an attribute, were it not escaped.
inline constexpr std::string_view hostile =
    "<script>alert(\"t\")</script> & 'q' \"><img src=x onerror=alert(1)> ' onmouseover='alert(2)";
inline constexpr std::string_view hostileAddress = "javascript:alert('x')//\"><script>alert(1)</script>";

// A payload in which every text a page might show is hostile: hosts, labels, texts, keys, previews and
// database names.
inline std::string hostilePayload() {
    using json = nlohmann::json;
    const std::string h(hostile);
    json item = {{"key", h}, {"bytes", 2000}, {"preview", h}};
    json sdk = {{"key", "mprtcl-<u>"}, {"bytes", 100}, {"preview", "https://x.example/<script>"}};
    json network = {{"blocked", {{"<script>.ads&\"'.example", 4}, {"doubleclick.net", 2}}},
                    {"other", {"javascript:alert(1)//<i>", "tapad.com"}},
                    {"house", {"<img src=x>.example"}},
                    {"cookies", 2},
                    {"storage",
                     {{"local", {{"count", 3}, {"bytes", 4000}, {"items", {item, sdk}}}},
                      {"session", {{"count", 1}, {"bytes", 10}, {"items", json::array()}}},
                      {"databases", {h}}}}};
    json walls = {{"items", {{{"label", h}, {"reason", "known"}, {"text", h}}}}};
    return json{{"walls", walls}, {"network", network}}.dump();
}

inline NimbReport hostileReport() {
    return NimbReport::parse(hostilePayload(), hostileAddress, hostile);
}

inline SavedReport hostileSaved(Date saved) {
    return {std::string(hostile), saved, std::string(hostileAddress),
            std::string(hostile), true,  hostilePayload()};
}

namespace reportPage {

inline constexpr std::array<std::string_view, 32> allowedElements{
    "html", "head", "meta", "title", "style", "body", "div",    "nav", "header", "h1",    "h2",
    "h3",   "p",    "span", "a",     "ol",    "ul",   "li",     "br",  "form",   "input", "button",
    "code", "b",    "i",    "dl",    "dt",    "dd",   "strong", "em",  "kbd",    "sup"};
inline constexpr std::array<std::string_view, 15> allowedAttributes{
    "charset", "class", "href",       "style",     "aria-current", "method",      "action", "autocomplete",
    "type",    "name",  "spellcheck", "autofocus", "value",        "placeholder", "title"};

template <std::size_t N>
bool among(const std::array<std::string_view, N>& list, std::string_view name) {
    return std::find(list.begin(), list.end(), name) != list.end();
}

inline bool isNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-';
}

// A style attribute the pages write: the score's colour, or the scale marker's place.
inline bool safeStyle(std::string_view value) {
    auto digitsOnly = [](std::string_view text, std::size_t min, std::size_t max) {
        return text.size() >= min && text.size() <= max && std::all_of(text.begin(), text.end(), [](char c) {
                   return std::isxdigit(static_cast<unsigned char>(c));
               });
    };
    if (text::startsWith(value, "color:#")) return digitsOnly(value.substr(7), 6, 6);
    if (text::startsWith(value, "left:") && value.ends_with("%"))
        return digitsOnly(value.substr(5, value.size() - 6), 1, 2);
    return false;
}

} // namespace reportPage

// Walks every tag outside the style sheet: each element and attribute must be one the report pages
// write, every value double-quoted, every link an internal `nimb://` action and every inline style the
// score's colour or the marker's place. Text that slipped through unescaped opens other elements, adds
// attributes (a quote ending a value early) or links elsewhere, and fails here.
inline void expectOnlyReportMarkup(std::string_view html) {
    const std::string page = text::asciiLowercased(html);
    std::size_t at = 0;
    while ((at = page.find('<', at)) != std::string::npos) {
        ++at;
        if (page.compare(at, 1, "!") == 0) {
            at = page.find('>', at);
            ASSERT_NE(at, std::string::npos);
            continue;
        }
        bool closing = page.compare(at, 1, "/") == 0;
        if (closing) ++at;
        std::size_t start = at;
        while (at < page.size() && reportPage::isNameChar(page[at]))
            ++at;
        std::string element = page.substr(start, at - start);
        ASSERT_TRUE(reportPage::among(reportPage::allowedElements, element)) << "element <" << element << ">";
        for (;;) {
            while (at < page.size() && std::isspace(static_cast<unsigned char>(page[at])))
                ++at;
            ASSERT_LT(at, page.size()) << "unterminated <" << element << ">";
            if (page[at] == '>') break;
            start = at;
            while (at < page.size() && reportPage::isNameChar(page[at]))
                ++at;
            std::string attribute = page.substr(start, at - start);
            ASSERT_TRUE(reportPage::among(reportPage::allowedAttributes, attribute))
                << "attribute '" << attribute << "' near: " << page.substr(start > 60 ? start - 60 : 0, 120);
            if (page.compare(at, 1, "=") != 0) continue; // a bare attribute such as `autofocus`
            ++at;
            ASSERT_EQ(page.compare(at, 1, "\""), 0) << "unquoted value of " << attribute;
            std::size_t end = page.find('"', at + 1);
            ASSERT_NE(end, std::string::npos);
            std::string_view value = std::string_view(page).substr(at + 1, end - at - 1);
            EXPECT_EQ(value.find('<'), std::string_view::npos) << attribute << "=" << value;
            if (attribute == "href") {
                EXPECT_TRUE(text::startsWith(value, "nimb://")) << "href=" << value;
            } else if (attribute == "action") {
                EXPECT_EQ(value, "nimb://report");
            } else if (attribute == "style") {
                EXPECT_TRUE(reportPage::safeStyle(value)) << "style=" << value;
            }
            at = end + 1;
        }
        // The style sheet is the page's own; skip to its end.
        if (element == "style" && !closing) {
            at = page.find("</style>", at);
            ASSERT_NE(at, std::string::npos);
        }
    }
    EXPECT_EQ(page.find("<script"), std::string::npos);
}

} // namespace nimb::test
