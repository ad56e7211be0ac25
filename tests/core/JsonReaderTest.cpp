// The quick JSON reader against nlohmann's: what it reads, nlohmann's reader hands over as the same
// events; what is not plainly well-formed, or beyond the caller's bounds, it declines.

#include "base/JsonReader.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace nimb {
namespace {

// Writes every event down, but none inside a container that is the value of a member named "s": the
// quick reader is asked to pass over its contents, and nlohmann's reader hands them over regardless.
class Recorder {
public:
    std::string events;

    bool null() { return add("n"); }
    bool boolean(bool value) { return add(value ? "t" : "f"); }
    bool number_integer(std::int64_t value) { return add("i" + std::to_string(value)); }
    bool number_unsigned(std::uint64_t value) { return add("u" + std::to_string(value)); }
    bool number_float(double, const std::string& written) { return add("d" + written); }
    bool string(std::string& value) { return add("s" + value); }
    bool binary(nlohmann::json::binary_t&) { return add("b"); }
    bool key(std::string& name) { return add("k" + name); }
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
    bool open(const char* event) {
        const bool passed = m_passing > 0 || events.ends_with(" ks ");
        add(event);
        m_passing += passed;
        return true;
    }
    bool close(const char* event) {
        if (m_passing > 0) --m_passing;
        return add(event);
    }

    std::size_t m_passing = 0; // depth inside a container passed over
};

// Whether the quick reader reads `text`; wherever it does, nlohmann's reader must hand over the very
// same events.
bool readsAlike(std::string_view text, JsonReader::Limits limits = {1 << 20, 64}) {
    Recorder quick;
    if (!JsonReader::read(text, limits, quick)) return false;
    Recorder careful;
    EXPECT_TRUE(nlohmann::json::sax_parse(text.begin(), text.end(), &careful)) << text;
    EXPECT_EQ(quick.events, careful.events) << text;
    return true;
}

TEST(JsonReaderTest, readsPlainJsonAsNlohmannsReaderDoes) {
    const std::string cases[] = {
        R"({"a":[1,-2,0,-0,true,false,null,"x"],"b":{}})", " \t\r\n[ 1 , { } , [ ] ] \n", "\"x\"",
        "999999999999999999", "-999999999999999999",
        R"(["\"\\\/\b\f\n\r\t\u0041\u00e9\u20AC\ud83d\ude00\u0000"])",
        // The edges of each length of UTF-8, the last characters before and after the surrogates.
        "[\"\xC2\x80\xDF\xBF\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF"
        "\x7F\"]",
        // Passed over: no event inside, but still the container's end.
        R"({"s":{"a":[1,"\u00e9",{"s":null}]},"t":2,"s":[],"s":"x"})"};
    for (const std::string& text : cases)
        EXPECT_TRUE(readsAlike(text)) << text;

    // The bounds are the caller's: up to them the reader reads, past them it declines.
    EXPECT_TRUE(readsAlike("[[[]]]", {6, 3}));
    EXPECT_FALSE(readsAlike("[[[[]]]]", {8, 3}));
    EXPECT_FALSE(readsAlike(R"({"s":[[[]]]})", {20, 3})) << "passing over counts the depth too";
    EXPECT_FALSE(readsAlike("[[[]]] ", {6, 3}));
}

TEST(JsonReaderTest, declinesWhatItCannotReadExactly) {
    const std::string cases[] = {
        // Numbers it leaves to nlohmann's reader, and ones that are not JSON.
        "1.5", "1e3", "-1E3", "1234567890123456789", "-1234567890123456789", "01", "-", "-a", "1.",
        // Not JSON, or not all of it.
        "", " ", "tru", "nul", "[1,]", "{\"a\":1,}", "{\"a\" 1}", "{a:1}", "[1 2]", "[1}", "{} {}", "[",
        "\xEF\xBB\xBF{}", "/* */ {}",
        // Escapes: unknown, cut short, or half of a surrogate pair.
        R"(["\x41"])", R"(["\u12"])", R"(["\u12G4"])", R"(["\ud800"])", R"(["\udc00"])",
        R"(["\ud800\u0041"])", R"(["\ud800\\"])", R"(["\)",
        // Control characters, an unterminated string, and ill-formed UTF-8: stray, overlong, a
        // surrogate, beyond U+10FFFF, cut short.
        "[\"tab\there\"]", std::string("[\"\0\"]", 5), "[\"open]", "[\"\x80\"]", "[\"\xC1\xBF\"]",
        "[\"\xE0\x9F\xBF\"]", "[\"\xED\xA0\x80\"]", "[\"\xF0\x8F\xBF\xBF\"]", "[\"\xF4\x90\x80\x80\"]",
        "[\"\xF5\x80\x80\x80\"]", "[\"\xE2\x82\"]", "[\"\xE2\x82", "[\"\xFF\"]",
        // All of that inside what is passed over is checked just the same.
        R"({"s":[1.5]})", "{\"s\":[\"\xFF\"]}", "{\"s\":{\"\xFF\":1}}", R"({"s":["\ud800"]})",
        R"({"s":[1,]})"};
    for (const std::string& text : cases)
        EXPECT_FALSE(readsAlike(text)) << text;
}

} // namespace
} // namespace nimb
