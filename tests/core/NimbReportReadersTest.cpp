// The quick reading of payloads against nlohmann's: what pages send it reads itself, and wherever it
// reads a payload the record is the one nlohmann's reading gives. (What the quick JSON reader leaves
// to nlohmann's is JsonReaderTest's.)

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
        R"({"network":{"cookies":-0,"storage":12}})",
        R"({"network":{"storage":{"forgotten":false,"local":[],"session":"x","databases":[1]}}})",
    };
    for (const std::string& payload : cases) {
        std::optional<NimbReport> strict = NimbReportReaders::strict(payload);
        ASSERT_TRUE(strict) << "left to nlohmann's reader: " << payload;
        expectSameReading(payload);
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
