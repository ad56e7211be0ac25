// The quick JSON reader against nlohmann's: what it reads, nlohmann's reader hands over as the same
// events; what is not plainly well-formed, or beyond the caller's bounds, it declines.

#include "base/JsonReader.h"
#include "JsonEvents.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace nimb {
namespace {

// Whether the quick reader reads `text`; wherever it does, nlohmann's reader must hand over the very
// same events.
bool readsAlike(std::string_view text, JsonReader::Limits limits = {1 << 20, 64}) {
    // Members named "s" are passed over.
    auto passesOver = [](const std::string& name) { return name == "s"; };
    test::JsonEvents quick(passesOver);
    if (!JsonReader::read(text, limits, quick)) return false;
    test::JsonEvents careful(passesOver);
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
