// The quick JSON reader against nlohmann's: what it reads, nlohmann's reader hands over as the same
// events; what is not plainly well-formed, or beyond the caller's bounds, it declines.

#include "base/JsonReader.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace nimb {
namespace {

// Writes every event down, and passes over the contents of containers named with a leading "s".
class Recorder {
public:
    std::string events;

    bool null() { return scalar("n"); }
    bool boolean(bool value) { return scalar(value ? "t" : "f"); }
    bool number_integer(std::int64_t value) { return scalar("i" + std::to_string(value)); }
    bool number_unsigned(std::uint64_t value) { return scalar("u" + std::to_string(value)); }
    bool number_float(double, const std::string& written) { return scalar("d" + written); }
    bool string(std::string& value) { return scalar("s" + value); }
    bool binary(nlohmann::json::binary_t&) { return scalar("b"); }
    bool key(std::string& name) {
        if (m_passing == 0) m_skipNext = name.starts_with('s');
        return add("k" + name);
    }
    bool start_object(std::size_t) { return open("{"); }
    bool start_array(std::size_t) { return open("["); }
    bool end_object() { return close("}"); }
    bool end_array() { return close("]"); }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) { return false; }
    bool skipsContents() const { return m_passing == 1; }

private:
    bool add(const std::string& event) {
        if (m_passing == 0) events += event + ' ';
        return true;
    }
    bool scalar(const std::string& event) {
        m_skipNext = false;
        return add(event);
    }
    bool open(const char* event) {
        if (m_passing > 0) {
            ++m_passing;
            return true;
        }
        add(event);
        m_passing = m_skipNext ? 1 : 0;
        m_skipNext = false;
        return true;
    }
    bool close(const char* event) {
        if (m_passing > 1) {
            --m_passing;
            return true;
        }
        m_passing = 0;
        return add(event);
    }

    std::size_t m_passing = 0; // depth inside a container passed over
    bool m_skipNext = false;
};

constexpr JsonReader::Limits roomy{1 << 20, 64};

// The events the quick reader hands over; none when it declines. Wherever it reads, nlohmann's reader
// must hand over the very same.
std::optional<std::string> quickEvents(std::string_view text, JsonReader::Limits limits = roomy) {
    Recorder quick;
    if (!JsonReader::read(text, limits, quick)) return std::nullopt;
    Recorder careful;
    EXPECT_TRUE(nlohmann::json::sax_parse(text.begin(), text.end(), &careful)) << text;
    EXPECT_EQ(quick.events, careful.events) << text;
    return quick.events;
}

TEST(JsonReaderTest, readsPlainJsonAsNlohmannsReaderDoes) {
    struct Case {
        std::string text;
        std::string events;
    };
    const Case cases[] = {
        {R"({"a":[1,-2,0,-0,true,false,null,"x"],"b":{}})", "{ ka [ u1 i-2 u0 i0 t f n sx ] kb { } } "},
        {" \t\r\n[ 1 , { } , [ ] ] \n", "[ u1 { } [ ] ] "},
        {"\"x\"", "sx "},
        {"999999999999999999", "u999999999999999999 "},
        {"-999999999999999999", "i-999999999999999999 "},
        {R"(["\"\\\/\b\f\n\r\t\u0041\u00e9\u20AC\ud83d\ude00"])",
         "[ s\"\\/\b\f\n\r\tA\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80 ] "},
        {std::string(R"(["\u0000"])"), std::string("[ s\0 ] ", 7)},
        // The edges of each length of UTF-8, and the last character below the surrogates and after.
        {"[\"\xC2\x80\xDF\xBF\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF"
         "\x7F\"]",
         "[ "
         "s\xC2\x80\xDF\xBF\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF"
         "\x7F ] "},
        // Passed over: no event inside, but still the container's end.
        {R"({"s":{"a":[1,"\u00e9",{"b":null}]},"t":2,"s2":[],"s3":"x"})", "{ ks { } kt u2 ks2 [ ] ks3 sx } "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(quickEvents(c.text), c.events) << c.text;

    // The bounds are the caller's: up to them the reader reads, past them it declines.
    EXPECT_TRUE(quickEvents("[[[]]]", {6, 3}));
    EXPECT_FALSE(quickEvents("[[[[]]]]", {8, 3}));
    EXPECT_FALSE(quickEvents(R"({"s":[[[]]]})", {20, 3})) << "passing over counts the depth too";
    EXPECT_FALSE(quickEvents("[[[]]] ", {6, 3}));
}

TEST(JsonReaderTest, declinesWhatItCannotReadExactly) {
    const std::string cases[] = {
        // Numbers it leaves to nlohmann's reader, and ones that are not JSON.
        "1.5",
        "1e3",
        "-1E3",
        "1234567890123456789",
        "-1234567890123456789",
        "01",
        "-",
        "-a",
        "1.",
        // Not JSON, or not all of it.
        "",
        " ",
        "tru",
        "nul",
        "[1,]",
        "{\"a\":1,}",
        "{\"a\" 1}",
        "{a:1}",
        "[1 2]",
        "[1}",
        "{} {}",
        "[",
        "\xEF\xBB\xBF{}",
        "/* */ {}",
        // Escapes: unknown, cut short, or half of a surrogate pair.
        R"(["\x41"])",
        R"(["\u12"])",
        R"(["\u12G4"])",
        R"(["\ud800"])",
        R"(["\udc00"])",
        R"(["\ud800\u0041"])",
        R"(["\ud800\\"])",
        R"(["\)",
        // Control characters, an unterminated string, and ill-formed UTF-8: stray, overlong, a
        // surrogate, beyond U+10FFFF, cut short.
        "[\"tab\there\"]",
        std::string("[\"\0\"]", 5),
        "[\"open]",
        "[\"\x80\"]",
        "[\"\xC1\xBF\"]",
        "[\"\xE0\x9F\xBF\"]",
        "[\"\xED\xA0\x80\"]",
        "[\"\xF0\x8F\xBF\xBF\"]",
        "[\"\xF4\x90\x80\x80\"]",
        "[\"\xF5\x80\x80\x80\"]",
        "[\"\xE2\x82\"]",
        "[\"\xE2\x82",
        "[\"\xFF\"]",
        // All of that inside what is passed over is checked just the same.
        R"({"s":[1.5]})",
        "{\"s\":[\"\xFF\"]}",
        "{\"s\":{\"\xFF\":1}}",
        R"({"s":["\ud800"]})",
        R"({"s":[1,]})",
    };
    for (const std::string& text : cases)
        EXPECT_FALSE(quickEvents(text)) << text;
}

} // namespace
} // namespace nimb
