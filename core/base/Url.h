#pragma once

#include <boost/url/url_view.hpp>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nimb {

// An address as the browser hands it to the web engine: always a valid RFC 3986 URI reference in
// ASCII. Two addresses are equal when their texts are.
class Url {
public:
    // Parses `text` the way a forgiving address field does: characters that may not appear in a URI
    // as written (spaces, non-ASCII letters, a "%" not followed by two hex digits, "<>\"{}|\\^`", a
    // second "#") are percent-encoded as UTF-8 first, then the result must parse by RFC 3986. Empty
    // text gives none.
    [[nodiscard]] static std::optional<Url> parse(std::string_view text);

    // One item of the query, as written (still percent-encoded); `value` is none for an item without
    // "=". Empty items ("a&&b") are kept, as query readers everywhere keep them.
    struct QueryItem {
        std::string_view name;
        std::optional<std::string_view> value;
        bool operator==(const QueryItem&) const = default;
    };

    [[nodiscard]] const std::string& string() const { return m_text; }
    // The query's items, in order. Read with this, never with Boost.URL's params(): in 1.81 those loop
    // without end on an empty query followed by a fragment ("http://x/?#f").
    [[nodiscard]] std::vector<QueryItem> queryItems() const;
    // The parsed components (valid as long as this Url lives).
    [[nodiscard]] boost::urls::url_view view() const { return boost::urls::url_view(m_text); }

    bool operator==(const Url&) const = default;

private:
    explicit Url(std::string text) : m_text(std::move(text)) {}
    std::string m_text;
};

} // namespace nimb
