// The witness's messages as the window reads them: what the witness writes comes back whole, and
// anything else a web process could send is refused or held to the witness's own bounds.

#include "page/WitnessMessage.h"

#include "page/MessageBody.h"
#include "page/RequestTally.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>

namespace nimb {
namespace {

using Bin = std::map<std::string, std::int64_t>;
using nlohmann::json;

TEST(WitnessMessageTest, whatTheWitnessWritesReadsBack) {
    EXPECT_EQ(WitnessMessage::hello(), R"({"hello":true})");
    EXPECT_EQ(WitnessMessage::read(WitnessMessage::hello()), (WitnessMessage::Message{true, std::nullopt}));

    WitnessCounts counts;
    EXPECT_EQ(WitnessMessage::counts(counts), R"({"blocked":{},"other":{},"house":{},"unlisted":0})");
    EXPECT_EQ(WitnessMessage::read(WitnessMessage::counts(counts)), (WitnessMessage::Message{false, counts}));

    counts.blocked = {{"ad.doubleclick.net", 3}, {"www.facebook.com", MessageBody::countLimit}};
    counts.other = {{"cdn.other.example", 1}, {"a\"b\\c/d.example", 2}, {"\xC3\xA9t\xC3\xA9.example", 4}};
    counts.house = {{"img.news.example", 7}};
    counts.unlisted = 12;
    const std::string text = WitnessMessage::counts(counts);
    EXPECT_EQ(text, R"({"blocked":{"ad.doubleclick.net":3,"www.facebook.com":1000000000},)"
                    R"("other":{"a\"b\\c\/d.example":2,"cdn.other.example":1,"été.example":4},)"
                    R"("house":{"img.news.example":7},"unlisted":12})");
    EXPECT_EQ(WitnessMessage::read(text), (WitnessMessage::Message{false, counts}));

    // Full bins of the longest hosts fit well within what is read.
    WitnessCounts full;
    for (auto* bin : {&full.blocked, &full.other, &full.house}) {
        for (std::size_t i = 0; i < RequestTally::hostsPerBin; ++i) {
            std::string host = std::to_string(i) + ".";
            host += std::string(RequestTally::hostLength - host.size(), 'h');
            (*bin)[host] = MessageBody::countLimit;
        }
    }
    full.unlisted = MessageBody::countLimit;
    EXPECT_LT(WitnessMessage::counts(full).size(), WitnessMessage::byteLimit);
    EXPECT_EQ(WitnessMessage::read(WitnessMessage::counts(full)), (WitnessMessage::Message{false, full}));
}

TEST(WitnessMessageTest, anythingElseIsNone) {
    std::string atTheLimit = R"({"unlisted":1)";
    atTheLimit += std::string(WitnessMessage::byteLimit - atTheLimit.size() - 1, ' ') + '}';
    ASSERT_EQ(atTheLimit.size(), WitnessMessage::byteLimit);
    EXPECT_NE(WitnessMessage::read(atTheLimit), std::nullopt);
    const std::string oversize = atTheLimit.substr(0, 13) + ' ' + atTheLimit.substr(13);

    for (std::string_view text :
         {std::string_view(""), std::string_view("hello"), std::string_view("{"),
          std::string_view(R"({"hello":true)"), std::string_view("[]"),
          std::string_view(R"([{"hello":true}])"), std::string_view("\"hello\""), std::string_view("1"),
          std::string_view("null"), std::string_view(R"({"hello":false})"),
          std::string_view(R"({"hello":1})"), std::string_view(R"({"hello":"true"})"),
          std::string_view(R"({"hello":null})"),
          std::string_view(R"({"hello":false,"blocked":{"a.example":1}})"),
          std::string_view("{\"other\":{\"a\xFF.example\":1}}"), std::string_view(oversize)})
        EXPECT_EQ(WitnessMessage::read(text), std::nullopt) << text.substr(0, 80);
}

TEST(WitnessMessageTest, countsAreHeldToTheWitnesssBounds) {
    json many = json::object();
    for (std::size_t i = 0; i < RequestTally::hostsPerBin + 100; ++i)
        many["h" + std::to_string(100000 + i) + ".example"] = 1;
    const std::string longHost = std::string(300, 'a') + ".example";
    json body = {
        {"blocked", many},
        {"other",
         {{"negative.example", -3},
          {"zero.example", 0},
          {"fraction.example", 2.9},
          {"huge.example", 1e300},
          {"bignum.example", 18446744073709551615ull},
          {"text.example", "5"},
          {"true.example", true},
          {"null.example", nullptr},
          {"list.example", json::array({1})},
          {"", 4},
          {longHost, 6}}},
        {"house", json::array({"img.news.example"})},
        {"unlisted", -1},
    };
    auto message = WitnessMessage::read(body.dump());
    ASSERT_TRUE(message && message->counts);
    const WitnessCounts& counts = *message->counts;
    EXPECT_FALSE(message->hello);
    // The first hosts of a bin in the order read, the rest left out.
    ASSERT_EQ(counts.blocked.size(), RequestTally::hostsPerBin);
    EXPECT_EQ(counts.blocked.begin()->first, "h100000.example");
    EXPECT_EQ(counts.blocked.rbegin()->first,
              "h" + std::to_string(100000 + RequestTally::hostsPerBin - 1) + ".example");
    EXPECT_EQ(counts.other, (Bin{{"fraction.example", 2},
                                 {"huge.example", MessageBody::countLimit},
                                 {"bignum.example", MessageBody::countLimit},
                                 {std::string(RequestTally::hostLength, 'a'), 6}}));
    EXPECT_TRUE(counts.house.empty());
    EXPECT_EQ(counts.unlisted, 0);

    for (const auto& [unlisted, expected] :
         std::initializer_list<std::pair<json, std::int64_t>>{{json(7), 7},
                                                              {json(7.5), 7},
                                                              {json(1e30), MessageBody::countLimit},
                                                              {json("7"), 0},
                                                              {json(nullptr), 0}}) {
        auto read = WitnessMessage::read(json({{"unlisted", unlisted}}).dump());
        ASSERT_TRUE(read && read->counts) << unlisted;
        EXPECT_EQ(read->counts->unlisted, expected) << unlisted;
    }
    for (const json& bin :
         {json("a.example"), json(3), json(nullptr), json::array({json::object({{"a.example", 1}})})}) {
        auto read = WitnessMessage::read(json({{"blocked", bin}, {"other", bin}, {"house", bin}}).dump());
        ASSERT_TRUE(read && read->counts) << bin;
        EXPECT_TRUE(read->counts->empty()) << bin;
    }
}

} // namespace
} // namespace nimb
