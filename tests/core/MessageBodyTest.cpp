// What a page's message bodies are taken to mean, with hostile bodies among them.

#include "page/MessageBody.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <limits>

namespace nimb {
namespace {

using nlohmann::json;

TEST(MessageBodyTest, statusIsTextOrNothing) {
    const std::pair<json, std::optional<std::string>> cases[] = {
        {"http://news.example/story", "http://news.example/story"},
        {"", std::nullopt},
        {nullptr, std::nullopt},
        {json::array({"a"}), std::nullopt},
        {json::object({{"text", "a"}}), std::nullopt},
        {std::string("a\xFF") + "b", "a\uFFFDb"}, // made valid UTF-8
    };
    for (const auto& [body, expected] : cases)
        EXPECT_EQ(MessageBody::status(body), expected)
            << body.dump(-1, ' ', false, json::error_handler_t::replace);
}

TEST(MessageBodyTest, statusIsCutToItsLimitInCharacters) {
    // Each "é" written as e + combining accent is one character of three bytes.
    std::string accented;
    for (int i = 0; i < 3000; ++i)
        accented += "e\xCC\x81";
    auto cut = MessageBody::status(accented);
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->size(), MessageBody::statusLimit * 3);

    // A text of many megabytes is read no further than its first bytes.
    std::string huge(8 * 1024 * 1024, 'x');
    EXPECT_EQ(MessageBody::status(huge)->size(), MessageBody::statusLimit);
}

TEST(MessageBodyTest, blockedReadsEachKeyOnItsOwn) {
    struct Case {
        const char* name;
        json body;
        std::optional<MessageBody::Blocked> expected;
    };
    using B = MessageBody::Blocked;
    using Hosts = std::vector<std::string>;
    const Case cases[] = {
        {"walls alone", {{"walls", 2}}, B{2, std::nullopt, std::nullopt, std::nullopt}},
        {"network and hosts",
         {{"network", 3}, {"hosts", {"a.example", "b.example"}}},
         B{std::nullopt, 3, Hosts{"a.example", "b.example"}, std::nullopt}},
        {"empty object", json::object(), B{}},
        {"not an object", json::array({1, 2}), std::nullopt},
        {"counts of the wrong type", {{"walls", "7"}, {"network", json::array({1})}}, B{}},
        {"hosts not a list", {{"hosts", "a.example"}}, B{}},
        {"hosts with other values",
         {{"hosts", {"a.example", 7, nullptr, json::object(), "b.example"}}},
         B{std::nullopt, std::nullopt, Hosts{"a.example", "b.example"}, std::nullopt}},
        {"fractions", {{"walls", 2.9}, {"network", 0.5}}, B{2, 0, std::nullopt, std::nullopt}},
        {"negative", {{"walls", -4}, {"network", -1e300}}, B{0, 0, std::nullopt, std::nullopt}},
        {"beyond any integer",
         {{"walls", 1e300}, {"network", std::numeric_limits<std::uint64_t>::max()}},
         B{MessageBody::countLimit, MessageBody::countLimit, std::nullopt, std::nullopt}},
        {"infinity and not a number",
         {{"walls", std::numeric_limits<double>::infinity()}, {"network", std::nan("")}},
         B{MessageBody::countLimit, std::nullopt, std::nullopt, std::nullopt}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MessageBody::blocked(c.body), c.expected) << c.name;
}

TEST(MessageBodyTest, blockedHostsAreBounded) {
    std::string longHost(500, 'h');
    auto message = MessageBody::blocked({{"hosts", {longHost}}});
    ASSERT_TRUE(message && message->hosts);
    EXPECT_EQ(message->hosts->at(0), std::string(MessageBody::hostLimit, 'h'));

    json many = json::array();
    for (std::size_t i = 0; i < MessageBody::hostCountLimit + 500; ++i)
        many.push_back("h" + std::to_string(i) + ".example");
    message = MessageBody::blocked({{"hosts", many}});
    ASSERT_TRUE(message && message->hosts);
    EXPECT_EQ(message->hosts->size(), MessageBody::hostCountLimit);
    EXPECT_EQ(message->hosts->back(), "h" + std::to_string(MessageBody::hostCountLimit - 1) + ".example");

    // Elements past the limit are not looked at, even when the first ones are not texts.
    json padded(MessageBody::hostCountLimit, nullptr);
    padded.push_back("late.example");
    message = MessageBody::blocked({{"hosts", padded}});
    ASSERT_TRUE(message && message->hosts);
    EXPECT_TRUE(message->hosts->empty());
}

TEST(MessageBodyTest, blockedCountsArePairsOfAHostAndACount) {
    std::string longHost(500, 'h');
    auto message = MessageBody::blocked(
        {{"counts",
          {"a.example", 3, "b.example", "x", 7, "c.example", "d.example", -4, longHost, 1e30, "e.example"}}});
    ASSERT_TRUE(message && message->counts);
    // A pair whose count is no count, or whose host is no text, is left out; the odd one at the end too.
    std::map<std::string, std::int64_t> expected{
        {"a.example", 3},
        {"d.example", 0},
        {std::string(MessageBody::hostLimit, 'h'), MessageBody::countLimit}};
    EXPECT_EQ(*message->counts, expected);
    EXPECT_TRUE(
        MessageBody::blocked({{"counts", json::array({json::array({"a.example", 3})})}})->counts->empty());
    EXPECT_FALSE(MessageBody::blocked({{"counts", json::object({{"a.example", 3}})}})->counts);

    json many = json::array();
    for (std::size_t i = 0; i < MessageBody::hostCountLimit + 10; ++i) {
        many.push_back("h" + std::to_string(i) + ".example");
        many.push_back(1);
    }
    EXPECT_EQ(MessageBody::blocked({{"counts", many}})->counts->size(), MessageBody::hostCountLimit);

    // Only a true "restored" says the page came back from the page cache.
    EXPECT_TRUE(MessageBody::blocked({{"restored", true}})->restored);
    for (json value : {json(false), json(1), json("true"), json(nullptr)})
        EXPECT_FALSE(MessageBody::blocked({{"restored", value}})->restored) << value;
}

TEST(MessageBodyTest, faviconIsAnAddressOfSensibleLength) {
    EXPECT_EQ(MessageBody::favicon("http://icons.example/i.png"), "http://icons.example/i.png");
    EXPECT_EQ(MessageBody::favicon(""), std::nullopt);
    EXPECT_EQ(MessageBody::favicon(12), std::nullopt);
    EXPECT_EQ(MessageBody::favicon(json::object()), std::nullopt);
    std::string longest = "http://icons.example/" + std::string(MessageBody::iconAddressLimit - 21, 'a');
    EXPECT_EQ(MessageBody::favicon(longest), longest);
    EXPECT_EQ(MessageBody::favicon(longest + "a"), std::nullopt);
    EXPECT_EQ(MessageBody::favicon(std::string(10 * 1024 * 1024, 'a')), std::nullopt);
}

} // namespace
} // namespace nimb
