#pragma once

#include <boost/url/url_view.hpp>

#include <optional>
#include <string>
#include <string_view>

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

    [[nodiscard]] const std::string& string() const { return m_text; }
    // The parsed components (valid as long as this Url lives).
    [[nodiscard]] boost::urls::url_view view() const { return boost::urls::url_view(m_text); }

    bool operator==(const Url&) const = default;

private:
    explicit Url(std::string text) : m_text(std::move(text)) {}
    std::string m_text;
};

} // namespace nimb
