// The quick reader of payloads against nlohmann's: wherever the quick one reads a payload, the record
// is the one nlohmann's reading gives; whatever is unusual it leaves to nlohmann's.

#include "report/NimbReportReaders.h"
#include "report/NimbReport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace nimb {
namespace {

// A payload as the page scripts send it, with some of everything the record reads.
const std::string page =
    R"({"walls":{"count":3,"items":[{"label":"div#sp_message.message","reason":"known","text":"We value)"
    R"( your privacy"},{"label":"aside.ad-slot","reason":"adSlot","text":""},{"label":"div#x","reason":)"
    R"("overlay","text":"Caf\u00e9 \u00fcber \ud83d\ude00 \"quoted\" back\\slash a\/b\ttab\nline"}]},)"
    R"("network":{"count":12,"blocked":{"securepubads.g.doubleclick.net":4,"s.ads.example":0,)"
    R"("cdn.Taboola.com":-3,"x.example":"x","sb.scorecardresearch.com":true},)"
    R"("other":["a.example","b.example","a.example","\u00e9t\u00e9.example"],"house":["img.example.com"],)"
    R"("cookies":7,"storage":{"local":{"count":400,"bytes":180000,"items":[{"key":"_ga","bytes":64,)"
    R"("preview":"GA1.2.1234567890.1767225600"},{"key":"uid","bytes":90,"preview":"{\"id\":\"0f8fad5b-d9cb-469f-)"
    R"(a165-70867728950e\",\"expires\":1939291200000}"},{"key":"","bytes":2},{"key":"k","bytes":-5,)"
    R"("preview":null}]},"session":{"count":1,"bytes":8,"items":[{"key":"s","bytes":8,"preview":"v"}]},)"
    R"("databases":["firebaseLocalStorageDb","keyval-store"],"forgotten":1}},"extra":{"a":[1,{"b":null}]}})";

void expectSameReading(std::string_view payload) {
    std::optional<NimbReport> strict = NimbReportReaders::strict(payload);
    std::optional<NimbReport> tolerant = NimbReportReaders::tolerant(payload);
    if (strict) {
        ASSERT_TRUE(tolerant) << "read only by the quick reader: " << payload;
        EXPECT_EQ(*strict, *tolerant) << payload;
    }
}

TEST(NimbReportReadersTest, bothReadersGiveOneRecordForWhatPagesSend) {
    const std::string cases[] = {
        page,
        "{}",
        " \t\r\n{ \"walls\" : { \"items\" : [ { \"label\" : \"a\" , \"reason\" : \"known\" } ] } ,"
        " \"network\" : { \"cookies\" : 2 } } \n",
        R"({"network":null,"walls":{"items":[]}})",
        // Members given twice: the later stands, in either reader.
        R"({"network":{"cookies":1,"cookies":2,"blocked":{"a.example":1,"a.example":3}}})",
        // Every escape, and a NUL.
        R"({"network":{"other":["\"\\\/\b\f\n\r\t\u0041\u00e9\u20ac\ud83d\ude00\u0000"]}})",
        // Two-, three- and four-byte UTF-8, and the last character there is.
        "{\"network\":{\"other\":[\"\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF\xED\x9F\xBF\"]}}",
        // Integers of every sign and of the most digits the quick reader takes.
        R"({"network":{"cookies":-0,"storage":{"local":{"count":999999999999999999,"bytes":-999999999999999999},)"
        R"("forgotten":0}}})",
        R"({"network":{"storage":12}})",
        R"({"network":{"storage":{"forgotten":false,"local":[],"session":"x","databases":[1]}}})",
    };
    for (const std::string& payload : cases) {
        std::optional<NimbReport> strict = NimbReportReaders::strict(payload);
        ASSERT_TRUE(strict) << "left to nlohmann's reader: " << payload;
        expectSameReading(payload);
    }

    // The full page reads to what its parts say.
    NimbReport report = *NimbReportReaders::strict(page);
    ASSERT_EQ(report.hidden.size(), 3u);
    EXPECT_EQ(report.hidden[2].text, "Caf\xC3\xA9 \xC3\xBC"
                                     "ber \xF0\x9F\x98\x80 \"quoted\" back\\slash a/b\ttab\nline");
    ASSERT_EQ(report.blocked.size(), 5u);
    EXPECT_EQ(report.blocked[0].host, "securepubads.g.doubleclick.net");
    EXPECT_EQ(report.otherHosts,
              (std::vector<std::string>{"a.example", "b.example", "\xC3\xA9t\xC3\xA9.example"}));
    EXPECT_EQ(report.local.items.size(), 3u);
    EXPECT_TRUE(report.storageForgotten);
}

TEST(NimbReportReadersTest, theQuickReaderLeavesAnythingUnusualToNlohmann) {
    const std::string cases[] = {
        // Numbers it does not read itself.
        R"({"network":{"cookies":1.5}})",
        R"({"network":{"cookies":1e3}})",
        R"({"network":{"cookies":9223372036854775807}})",
        R"({"network":{"cookies":1234567890123456789012}})",
        // Not JSON at all, or not an object at the top.
        R"({"network":{"cookies":01}})",
        R"({"network":{"cookies":-}})",
        R"({"network":{"cookies":tru}})",
        R"({"a":1,})",
        R"({"a":1} x)",
        R"({"a":1)",
        "[{}]",
        "\"walls\"",
        "",
        "\xEF\xBB\xBF{}",
        "/* */ {}",
        // Strings that need a careful look.
        R"({"network":{"other":["\ud800"]}})",
        R"({"network":{"other":["\ud800\u0041"]}})",
        R"({"network":{"other":["\x41"]}})",
        R"({"network":{"other":["\u12"]}})",
        "{\"network\":{\"other\":[\"a\xFF\"]}}",
        "{\"network\":{\"other\":[\"\xC0\x80\"]}}",
        "{\"network\":{\"other\":[\"\xED\xA0\x80\"]}}",
        "{\"network\":{\"other\":[\"\xE2\x82\"]}}",
        "{\"network\":{\"other\":[\"tab\there\"]}}",
        "{\"network\":{\"other\":[\"unterminated]}}",
    };
    for (const std::string& payload : cases) {
        EXPECT_FALSE(NimbReportReaders::strict(payload)) << payload;
        // Whatever the quick reader leaves, parse still reads as nlohmann's reader does.
        std::optional<NimbReport> tolerant = NimbReportReaders::tolerant(payload);
        if (tolerant) {
            NimbReport parsed = NimbReport::parse(payload, "", "");
            EXPECT_EQ(parsed, *tolerant) << payload;
        }
    }
}

// Every cut and many small damages of a real payload: where the quick reader reads one, both agree.
TEST(NimbReportReadersTest, damagedPayloadsReadAlikeOrAreLeftToNlohmann) {
    const std::string pieces[] = {"",  "\"", "\\", "{", "}",      "[",    "]",  ",",   ":",
                                  "0", "-1", "1.", "x", "\\u00e", "\xC3", "\t", "null"};
    int readQuickly = 0;
    for (std::size_t at = 0; at < page.size(); at += 3) {
        expectSameReading(std::string_view(page).substr(0, at));
        for (const std::string& piece : pieces) {
            std::string replaced = page.substr(0, at) + piece + page.substr(at + 1);
            std::string inserted = page.substr(0, at) + piece + page.substr(at);
            for (const std::string* payload : {&replaced, &inserted}) {
                expectSameReading(*payload);
                if (NimbReportReaders::strict(*payload)) ++readQuickly;
                if (HasFailure()) return;
            }
        }
    }
    // Most damages inside strings leave the payload well-formed; those are the ones compared.
    EXPECT_GT(readQuickly, 1000);
}

} // namespace
} // namespace nimb
