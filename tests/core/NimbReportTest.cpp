#include "report/NimbReport.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <limits>

namespace nimb {
namespace {

using Category = ContentBlocker::Category;

NimbReport parsed(std::string_view payload) {
    return NimbReport::parse(payload, "https://www.example.com/a", "A page");
}

std::string repeated(std::string_view piece, std::size_t times) {
    std::string text;
    for (std::size_t i = 0; i < times; ++i)
        text += piece;
    return text;
}

// A JSON array of the given strings.
std::string arrayOf(const std::vector<std::string>& strings) {
    nlohmann::json array = strings;
    return array.dump();
}

TEST(NimbReportTest, onlyAJsonObjectIsRecorded) {
    NimbReport expected;
    expected.address = "https://www.example.com/a";
    expected.title = "A page";
    const char* payloads[] = {"",      "null",       "[]",      "42",  "\"walls\"",   "true", "{",
                              "{} {}", "{\"a\":1,}", "{'a':1}", "nul", "{\"a\":1} x", "[{}]", "/* */ {}"};
    for (const char* payload : payloads)
        EXPECT_EQ(parsed(payload), expected) << payload;

    // An empty object is a recorded report with nothing in it.
    expected.recorded = true;
    EXPECT_EQ(parsed(" {} "), expected);
}

TEST(NimbReportTest, hiddenItemsNeedALabelAndAnExactReasonAndTotalsDoNotWrap) {
    NimbReport report = parsed(R"({"walls":{"items":[
        {"label":"a","reason":"known","text":"one"},
        {"label":"b","reason":"Overlay","text":"wrong case"},
        {"reason":"adSlot","text":"no label"},
        {"label":7,"reason":"adSlot"},
        {"label":"c","text":"no reason"},
        {"label":"d","reason":"adSlot"},
        {"label":"e","reason":"overlay","text":12}
    ]},"network":{"blocked":{"a.example":3,"b.example":4}}})");
    EXPECT_TRUE(report.recorded);
    EXPECT_EQ(report.hidden, (std::vector<NimbReport::Hidden>{{"a", NimbReport::Reason::known, "one"},
                                                              {"d", NimbReport::Reason::adSlot, ""},
                                                              {"e", NimbReport::Reason::overlay, ""}}));
    // Totals count requests and hidden elements.
    EXPECT_EQ(report.requestsBlocked(), 7);
    EXPECT_EQ(report.total(), 10);
    // Near the top of the range they add up without wrapping.
    report = parsed(R"({"walls":{"items":[{"label":"a","reason":"known"}]},
                        "network":{"blocked":{"a.example":9223372036854775807,"b.example":9223372036854775807}}})");
    EXPECT_EQ(report.requestsBlocked(), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(report.total(), std::numeric_limits<std::int64_t>::max());
}

// A list of any other shape, or holding anything but what it lists, is empty; the report still counts.
TEST(NimbReportTest, listsOfAnyOtherShapeAreEmpty) {
    const char* payloads[] = {
        R"({"walls":[{"label":"a","reason":"known"}]})",
        R"({"walls":{"items":{"label":"a","reason":"known"}}})",
        R"({"walls":{"items":[{"label":"a","reason":"known"},"b"]}})",
        R"({"walls":"a","network":null})",
        R"({"network":{"blocked":["a.example"]}})",
        R"({"network":{"blocked":"a.example"}})",
        R"({"network":{"blocked":3}})",
        R"({"network":{"other":["a.example",3],"house":["b.example",null],"storage":{"databases":["x",{}]}}})",
    };
    for (const char* payload : payloads) {
        NimbReport report = parsed(payload);
        EXPECT_TRUE(report.recorded) << payload;
        EXPECT_TRUE(report.hidden.empty() && report.blocked.empty() && report.otherHosts.empty() &&
                    report.houseHosts.empty() && report.databases.empty())
            << payload;
    }
}

TEST(NimbReportTest, textLimitsCountCharactersNotBytes) {
    // "e" with a combining acute accent: one character, three bytes.
    const std::string accented = "e\xCC\x81";
    nlohmann::json payload = {
        {"walls",
         {{"items",
           {{{"label", repeated(accented, 130)},
             {"reason", "overlay"},
             {"text", repeated("\xF0\x9F\x91\x8D", 200)}}}}}},
        {"network",
         {{"other", {repeated("h", 130)}},
          {"storage",
           {{"local",
             {{"count", 1},
              {"items", {{{"key", repeated(accented, 125)}, {"preview", repeated(accented, 95)}}}}}},
            {"databases", {repeated(accented, 121)}}}}}}};
    NimbReport report = parsed(payload.dump());
    EXPECT_EQ(report.hidden,
              (std::vector<NimbReport::Hidden>{{repeated(accented, 120), NimbReport::Reason::overlay,
                                                repeated("\xF0\x9F\x91\x8D", 160)}}));
    EXPECT_EQ(report.otherHosts, std::vector<std::string>{repeated("h", 120)});
    EXPECT_EQ(report.local.items,
              (std::vector<NimbReport::Item>{{repeated(accented, 120), 0, repeated(accented, 90)}}));
    EXPECT_EQ(report.databases, std::vector<std::string>{repeated(accented, 120)});
}

// Numbers, and booleans as 1 and 0, are read as integers (the fraction dropped, held within 64 bits),
// then bounded as each member needs; whether storage was forgotten asks only for a non-zero number.
TEST(NimbReportTest, numbersAreReadAsIntegersBoundedAsEachMemberNeeds) {
    constexpr auto most = std::numeric_limits<std::int64_t>::max();
    struct Case {
        const char* value;
        std::int64_t requests;
        std::int64_t cookies;
        bool forgotten;
    };
    const Case cases[] = {
        {"0", 1, 0, false},     {"7", 7, 7, true},     {"-3", 1, 0, true},
        {"2.9", 2, 2, true},    {"0.5", 1, 0, true},   {"1e30", most, most, true},
        {"-1e30", 1, 0, true},  {"true", 1, 1, true},  {"false", 1, 0, false},
        {"\"5\"", 1, 0, false}, {"null", 1, 0, false}, {"18446744073709551615", most, most, true},
    };
    for (const Case& c : cases) {
        const std::string value = c.value;
        NimbReport report = parsed(R"({"network":{"blocked":{"a.example":)" + value + R"(},"cookies":)" +
                                   value + R"(,"storage":{"forgotten":)" + value + "}}}");
        ASSERT_EQ(report.blocked.size(), 1u) << c.value;
        EXPECT_EQ(report.blocked[0].requests, c.requests) << c.value;
        EXPECT_EQ(report.cookies, c.cookies) << c.value;
        EXPECT_EQ(report.storageForgotten, c.forgotten) << c.value;
    }
}

TEST(NimbReportTest, blockedHostsAreCategorisedByHostThenByPathEntry) {
    NimbReport report = parsed(R"({"network":{"blocked":{
        "stats.g.doubleclick.net":4,"GOOGLE-ANALYTICS.COM.":3,"cdn.cookielaw.org":2,"www.facebook.com":1,
        "unlisted.example":1}}})");
    std::vector<std::pair<std::string, std::optional<Category>>> read;
    for (const NimbReport::Blocked& entry : report.blocked)
        read.emplace_back(entry.host, entry.category);
    EXPECT_EQ(read, (decltype(read){{"stats.g.doubleclick.net", Category::advertising},
                                    {"GOOGLE-ANALYTICS.COM.", Category::measurement},
                                    {"cdn.cookielaw.org", Category::consent},
                                    {"unlisted.example", std::nullopt},
                                    {"www.facebook.com", Category::measurement}}));
    EXPECT_EQ(report.blockedIn(Category::advertising),
              (std::vector<NimbReport::Blocked>{{"stats.g.doubleclick.net", 4, Category::advertising}}));
    EXPECT_TRUE(report.blockedIn(Category::interruption).empty());
}

TEST(NimbReportTest, hostNamesThatCutToOneHostAreOneEntry) {
    std::string stem = repeated("a", 116) + ".com";
    nlohmann::json payload = {
        {"network", {{"blocked", {{stem, 2}, {stem + "x", 3}, {stem + "y.doubleclick.net", 4}}}}}};
    NimbReport report = parsed(payload.dump());
    // Categorised by the full name, which is under a listed host.
    EXPECT_EQ(report.blocked, (std::vector<NimbReport::Blocked>{{stem, 9, Category::advertising}}));
    EXPECT_EQ(NimbReport::parse(report.snapshot(), "", "").blocked[0].requests, 9);
}

TEST(NimbReportTest, houseHostsAreTheFirstSixtyDistinctAndOtherHostsAreAll) {
    std::vector<std::string> seventy;
    for (int i = 0; i < 70; ++i)
        seventy.push_back("h" + std::to_string(100 + i) + ".example");
    std::string payload =
        R"({"network":{"house":)" + arrayOf(seventy) + R"(,"other":)" + arrayOf(seventy) + "}}";
    NimbReport report = parsed(payload);
    EXPECT_EQ(report.houseHosts, std::vector(seventy.begin(), seventy.begin() + 60));
    EXPECT_EQ(report.otherHosts, seventy);

    // Duplicates among the first sixty after cutting leave fewer; the list is sorted.
    std::vector<std::string> withDuplicates = {"z.example", repeated("q", 120) + "1",
                                               repeated("q", 120) + "2", "a.example", "z.example"};
    for (int i = 0; i < 60; ++i)
        withDuplicates.push_back("late" + std::to_string(i) + ".example");
    report = parsed(R"({"network":{"house":)" + arrayOf(withDuplicates) + "}}");
    EXPECT_EQ(report.houseHosts.size(), 58u); // three distinct of the first five, then 55
    EXPECT_EQ(report.houseHosts.front(), "a.example");
    EXPECT_EQ(report.houseHosts.back(), "z.example");
    EXPECT_TRUE(std::is_sorted(report.houseHosts.begin(), report.houseHosts.end()));
}

// Older payloads count storage as one number.
TEST(NimbReportTest, storageIsReadFromItsObjectOrAnOlderNumber) {
    NimbReport report = parsed(R"({"network":{"storage":12}})");
    EXPECT_EQ(report.storage(), 12);
    EXPECT_EQ(report.local, (NimbReport::Jar{12, 0, {}}));
    EXPECT_TRUE(report.session.empty());
    EXPECT_EQ(parsed(R"({"network":{"storage":-4}})").local.count, 0);
    EXPECT_TRUE(parsed(R"({"network":{"storage":"12"}})").local.empty());

    report = parsed(R"({"network":{"storage":{
        "local":{"count":80,"bytes":5000,"items":[{"key":"k1","bytes":300,"preview":"v1"},{"key":"k2","bytes":-5}]},
        "session":{"count":2,"bytes":-1,"items":[]},
        "databases":["zeta","alpha","zeta"],
        "forgotten":true}}})");
    EXPECT_EQ(report.local, (NimbReport::Jar{80, 5000, {{"k1", 300, "v1"}, {"k2", 0, ""}}}));
    EXPECT_EQ(report.session, (NimbReport::Jar{2, 0, {}}));
    EXPECT_EQ(report.databases, (std::vector<std::string>{"zeta", "alpha", "zeta"}));
    EXPECT_TRUE(report.storageForgotten);

    // Databases are the first forty, as written.
    std::vector<std::string> names;
    for (int i = 50; i > 0; --i)
        names.push_back("db" + std::to_string(i));
    report = parsed(R"({"network":{"storage":{"databases":)" + arrayOf(names) + "}}}");
    EXPECT_EQ(report.databases, std::vector(names.begin(), names.begin() + 40));
}

TEST(NimbReportTest, jarTakesItemsFromItsFirstSixtyElements) {
    nlohmann::json items = nlohmann::json::array();
    items.push_back({{"key", ""}, {"bytes", 1}});
    items.push_back({{"bytes", 1}});
    for (int i = 0; i < 68; ++i)
        items.push_back({{"key", "k" + std::to_string(i)}, {"bytes", 1000 - i}, {"preview", "v"}});
    NimbReport::Jar jar = NimbReport::Jar::parse({{"count", 70}, {"bytes", 9999}, {"items", items}});
    EXPECT_EQ((std::pair{jar.count, jar.bytes}), (std::pair<std::int64_t, std::int64_t>{70, 9999}));
    // Sixty elements are looked at; the two without a usable key are dropped.
    ASSERT_EQ(jar.items.size(), 58u);
    EXPECT_EQ(jar.items.front().key, "k0");
    EXPECT_EQ(jar.items.back().key, "k57");

    // Any element that is not an object, even past the first sixty, leaves the jar its counts only.
    for (const nlohmann::json& notAJar : {nlohmann::json(), nlohmann::json::array(), nlohmann::json(12)})
        EXPECT_TRUE(NimbReport::Jar::parse(notAJar).empty()) << notAJar;
    std::string keyed;
    for (int i = 0; i < 65; ++i)
        keyed += R"({"key":"k)" + std::to_string(i) + R"(","bytes":1},)";
    NimbReport report =
        parsed(R"({"network":{"storage":{"local":{"count":66,"bytes":40,"items":[)" + keyed + "[]]}}}}");
    EXPECT_EQ(report.local, (NimbReport::Jar{66, 40, {}}));
    report = parsed(R"({"network":{"storage":{"local":{"count":66,"items":[)" + keyed + "{}]}}}}");
    EXPECT_EQ(report.local.items.size(), 60u);
    // Values nested inside an element are skipped whole.
    report = parsed(R"({"walls":{"items":[{"label":"a","reason":"known","extra":[[{"label":"b"}]]},[{}]]}})");
    EXPECT_TRUE(report.hidden.empty());
}

TEST(NimbReportTest, whenAMemberAppearsTwiceTheLaterStands) {
    NimbReport report = parsed(R"({"walls":{"items":[{"label":"a","reason":"known"}]},"walls":5,
        "network":{"cookies":9,"blocked":{"a.example":2}},
        "network":{"blocked":{"b.example":2,"b.example":7},"other":["x.example"],"other":"none",
                   "storage":{"local":{"count":4,"items":[{"key":"k","key":3}],"items":[{"key":"j","bytes":1,"bytes":"x"}]},
                              "forgotten":true,"forgotten":0}}})");
    EXPECT_TRUE(report.recorded);
    EXPECT_TRUE(report.hidden.empty());
    EXPECT_EQ(report.cookies, 0);
    EXPECT_EQ(report.blocked, (std::vector<NimbReport::Blocked>{{"b.example", 7, std::nullopt}}));
    EXPECT_TRUE(report.otherHosts.empty());
    EXPECT_EQ(report.local, (NimbReport::Jar{4, 0, {{"j", 0, ""}}}));
    EXPECT_FALSE(report.storageForgotten);
}

NimbReport richReport() {
    NimbReport report;
    report.address = "https://news.example.co.uk/story";
    report.title = "A \"story\" </title>";
    report.recorded = true;
    report.blocked = {{"securepubads.g.doubleclick.net", 12, Category::advertising},
                      {"www.google-analytics.com", 3, Category::measurement},
                      {"tracker.unlisted.example", 1, std::nullopt}};
    report.hidden = {{"div#onetrust-consent-sdk", NimbReport::Reason::known, "We value your privacy"},
                     {"ins.adsbygoogle", NimbReport::Reason::adSlot, ""},
                     {"div.modal", NimbReport::Reason::overlay, "Line\nbreak \\ and / slash \x01"}};
    report.otherHosts = {"cdn.other.example", "fonts.gstatic.com"};
    report.houseHosts = {"static.example.co.uk"};
    report.cookies = 14;
    report.local = {420, 123456, {{"_ga", 60, "GA1.2.1234.5678"}, {"k\xC3\xA9y", 0, ""}}};
    report.session = {1, 10, {{"s", 10, "[{\"event\":1}]"}}};
    report.databases = {"firebase", "firebase", "\xE6\x97\xA5\xE6\x9C\xAC"};
    report.storageForgotten = true;
    return report;
}

// Blocking is not in the snapshot, and categories are worked out afresh from the blocklist: the rich
// report's are the blocklist's, and a snapshot that kept them wrong would read back unequal.
TEST(NimbReportTest, snapshotReadsBackToTheSameReport) {
    NimbReport report = richReport();
    report.blockingOn = false;
    NimbReport again = NimbReport::parse(report.snapshot(), report.address, report.title);
    report.blockingOn = true;
    EXPECT_EQ(again, report);

    // And the empty report.
    NimbReport empty;
    empty.recorded = true;
    EXPECT_EQ(NimbReport::parse(empty.snapshot(), "", ""), empty);
}

TEST(NimbReportTest, snapshotIsCompactJsonOfWhatThePageDid) {
    NimbReport report;
    report.address = "https://example.com/";
    report.title = "Example";
    report.recorded = true;
    report.blocked = {{"ads.example", 2, Category::advertising}, {"ads.example", 5, std::nullopt}};
    report.hidden = {{"div#a", NimbReport::Reason::overlay, "x/y"}};
    report.otherHosts = {"b.example"};
    report.cookies = 3;
    report.local = {1, 8, {{"k", 8, "v"}}};
    report.databases = {"d"};
    EXPECT_EQ(report.snapshot(),
              R"({"walls":{"items":[{"label":"div#a","reason":"overlay","text":"x\/y"}]},)"
              R"("network":{"blocked":{"ads.example":5},"other":["b.example"],"house":[],"cookies":3,)"
              R"("storage":{"local":{"count":1,"bytes":8,"items":[{"key":"k","bytes":8,"preview":"v"}]},)"
              R"("session":{"count":0,"bytes":0,"items":[]},"databases":["d"],"forgotten":false}}})");
}

TEST(NimbReportTest, hostilePayloadsAreRefusedOrReadWithoutHarm) {
    // Far larger than any page records: refused whole.
    std::string huge = R"({"walls":{"items":[)";
    while (huge.size() < 10 * 1024 * 1024)
        huge += R"({"label":"div","reason":"adSlot","text":"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"},)";
    huge += R"({"label":"div","reason":"adSlot"}]}})";
    EXPECT_FALSE(parsed(huge).recorded);

    // Nesting ten thousand deep where nothing is read: the rest of the payload still counts.
    std::string deep = repeated("[", 10000) + repeated("]", 10000);
    NimbReport report =
        parsed(R"({"extra":)" + deep +
               R"(,"walls":{"items":[{"label":"a","reason":"known"}]},"network":{"cookies":2}})");
    EXPECT_EQ(std::tuple(report.recorded, report.hidden.size(), report.cookies), std::tuple(true, 1u, 2));

    // Nesting where a list is expected gives an empty list.
    report = parsed(R"({"network":{"other":)" + deep + "}}");
    EXPECT_TRUE(report.recorded);
    EXPECT_TRUE(report.otherHosts.empty());
    EXPECT_TRUE(parsed(R"({"walls":)" + repeated(R"({"a":)", 10000) + "1" + repeated("}", 10001)).recorded);

    // Unbalanced nesting is not JSON.
    EXPECT_FALSE(parsed(repeated("[", 100000)).recorded);
    EXPECT_FALSE(parsed(repeated("{\"a\":", 100000)).recorded);
}

TEST(NimbReportTest, aReportIsTakenOnlyWhenItsSnapshotReadsBack) {
    // Three megabytes of distinct hosts read, and keep.
    auto hosts = [](std::string_view body) {
        std::string payload = R"({"network":{"other":[)";
        for (int i = 0; payload.size() < 3 * 1024 * 1024; ++i)
            payload += "\"" + std::to_string(i) + std::string(body) + "\",";
        payload += R"("last"]}})";
        return payload;
    };
    std::string plain = hosts(repeated("h", 100));
    NimbReport report = parsed(plain);
    ASSERT_TRUE(report.recorded);
    NimbReport again = NimbReport::parse(report.snapshot(), report.address, report.title);
    EXPECT_TRUE(again.recorded);
    EXPECT_EQ(again.otherHosts.size(), report.otherHosts.size());

    // The same of slashes, which the snapshot writes escaped, would not fit: not taken.
    std::string slashes = hosts(repeated("/", 100));
    ASSERT_LE(slashes.size(), NimbReport::payloadLimit);
    EXPECT_FALSE(parsed(slashes).recorded);
}

// Halves of surrogate pairs, which JSON.stringify writes as lone escapes, and ill-formed UTF-8 do not
// cost the report: each reads as U+FFFD.
TEST(NimbReportTest, unreadableTextIsMendedNotTheReportLost) {
    NimbReport report = parsed(R"({"network":{"storage":{"local":{"count":3,"items":[
        {"key":"lone\ud800","bytes":10},
        {"key":"pair\ud83d\ude00","bytes":10},
        {"key":"low\udc00high\uD800\u0041","bytes":10}]}},
        "other":["escaped\\ud800.example"]},"walls":{"items":[{"label":"a)"
                               "\xFF"
                               R"(","reason":"known"}]}})");
    ASSERT_TRUE(report.recorded);
    EXPECT_EQ(report.local.items, (std::vector<NimbReport::Item>{{"lone\xEF\xBF\xBD", 10, ""},
                                                                 {"pair\xF0\x9F\x98\x80", 10, ""},
                                                                 {"low\uFFFDhigh\uFFFDA", 10, ""}}));
    EXPECT_EQ(report.otherHosts, std::vector<std::string>{"escaped\\ud800.example"});
    EXPECT_EQ(report.hidden,
              (std::vector<NimbReport::Hidden>{{"a\xEF\xBF\xBD", NimbReport::Reason::known, ""}}));
}

TEST(NimbReportTest, mergeTakesTheLargerCountPerHostAndEveryOtherHostOnce) {
    NimbReport report = parsed(R"({"network":{"blocked":{"doubleclick.net":5,"criteo.com":1},)"
                               R"("other":["cdn.other.example"],"house":["static.example.com"]}})");
    WitnessCounts counts;
    counts.blocked = {
        {"doubleclick.net", 3}, {"criteo.com", 4}, {"www.facebook.com", 2}, {"ad.doubleclick.net", 2}};
    // A host can be blocked for one path and only another site's for the rest.
    counts.other = {{"z.example", 1}, {"cdn.other.example", 9}, {"a.example", 1}, {"www.facebook.com", 6}};
    counts.house = {{"static.example.com", 2}, {"img.example.com", 1}};
    counts.unlisted = 40;
    report.merge(counts);
    EXPECT_EQ(report.blocked,
              (std::vector<NimbReport::Blocked>{{"doubleclick.net", 5, Category::advertising},
                                                {"criteo.com", 4, Category::advertising},
                                                {"ad.doubleclick.net", 2, Category::advertising},
                                                {"www.facebook.com", 2, Category::measurement}}));
    EXPECT_EQ(report.otherHosts, (std::vector<std::string>{"a.example", "cdn.other.example", "z.example"}));
    EXPECT_EQ(report.houseHosts, (std::vector<std::string>{"img.example.com", "static.example.com"}));

    // The same counts again change nothing: the larger count, never the sum.
    NimbReport twice = report;
    twice.merge(counts);
    EXPECT_EQ(twice, report);

    // A merged report is kept and read back like any other; the witness is not part of it.
    report.witness = NimbReport::Witness::counted;
    report.scriptsRead = false;
    NimbReport kept = NimbReport::parse(report.snapshot(), report.address, report.title);
    report.witness = NimbReport::Witness::unknown;
    report.scriptsRead = true;
    EXPECT_EQ(kept, report);

    // Into a report that recorded nothing.
    NimbReport empty = parsed("{}");
    empty.merge(counts);
    EXPECT_EQ(empty.blocked,
              (std::vector<NimbReport::Blocked>{{"criteo.com", 4, Category::advertising},
                                                {"doubleclick.net", 3, Category::advertising},
                                                {"ad.doubleclick.net", 2, Category::advertising},
                                                {"www.facebook.com", 2, Category::measurement}}));
    EXPECT_EQ(empty.otherHosts, report.otherHosts);
}

TEST(NimbReportTest, mergeKeepsTheHouseListToItsLengthWithoutWastingRoom) {
    std::vector<std::string> house;
    for (int i = 10; i < 69; ++i)
        house.push_back("h" + std::to_string(i) + ".example.com");
    NimbReport report = parsed(R"({"network":{"house":)" + arrayOf(house) + "}}");
    ASSERT_EQ(report.houseHosts.size(), 59u);
    WitnessCounts counts;
    // One the recorder saw too, and two it did not: room for one of them.
    counts.house = {{"h10.example.com", 1}, {"new-a.example.com", 1}, {"new-b.example.com", 1}};
    report.merge(counts);
    house.push_back("new-a.example.com");
    std::sort(house.begin(), house.end());
    EXPECT_EQ(report.houseHosts, house);
}

TEST(NimbReportTest, aSnapshotKeptBeforeReadsAsItDid) {
    const std::string_view old =
        R"({"walls":{"items":[{"label":"div#cmp","reason":"known","text":"We care \/ a lot"}]},)"
        R"("network":{"blocked":{"doubleclick.net":4,"tracker.unlisted.example":1},"other":["cdn.other.example"],)"
        R"("house":["img.example.com"],"cookies":2,"storage":{"local":{"count":1,"bytes":8,"items":)"
        R"([{"key":"k","bytes":8,"preview":"v"}]},"session":{"count":0,"bytes":0,"items":[]},"databases":[],)"
        R"("forgotten":false}}})";
    NimbReport expected;
    expected.address = "https://www.example.com/a";
    expected.title = "A page";
    expected.recorded = true;
    expected.blocked = {{"doubleclick.net", 4, Category::advertising},
                        {"tracker.unlisted.example", 1, std::nullopt}};
    expected.hidden = {{"div#cmp", NimbReport::Reason::known, "We care / a lot"}};
    expected.otherHosts = {"cdn.other.example"};
    expected.houseHosts = {"img.example.com"};
    expected.cookies = 2;
    expected.local = {1, 8, {{"k", 8, "v"}}};
    // Witness unknown and scripts read, as the expected report's defaults say.
    NimbReport read = parsed(old);
    EXPECT_EQ(read, expected);
    EXPECT_EQ(read.snapshot(), old);
}

} // namespace
} // namespace nimb
