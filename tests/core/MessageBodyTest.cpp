// What a page's message bodies are taken to mean, with hostile bodies among them.

#include "page/MessageBody.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <limits>

// Each expected body names only the parts its case is about; the rest keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace nimb {
namespace {

using nlohmann::json;

TEST(MessageBodyTest, statusIsTextOrNothingCutToItsLimitInCharacters) {
    // Each "é" written as e + combining accent is one character of three bytes.
    std::string accented;
    for (int i = 0; i < 3000; ++i)
        accented += "e\xCC\x81";
    const std::pair<json, std::optional<std::string>> cases[] = {
        {"http://news.example/story", "http://news.example/story"},
        {"", std::nullopt},
        {nullptr, std::nullopt},
        {json::array({"a"}), std::nullopt},
        {json::object({{"text", "a"}}), std::nullopt},
        {std::string("a\xFF") + "b", "a\uFFFDb"}, // made valid UTF-8
        {accented, accented.substr(0, MessageBody::statusLimit * 3)},
        // A text of many megabytes is read no further than its first bytes.
        {std::string(8 * 1024 * 1024, 'x'), std::string(MessageBody::statusLimit, 'x')},
    };
    for (const auto& [body, expected] : cases)
        EXPECT_EQ(MessageBody::status(body), expected)
            << body.dump(-1, ' ', false, json::error_handler_t::replace).substr(0, 80);
}

TEST(MessageBodyTest, blockedReadsEachKeyOnItsOwn) {
    struct Case {
        const char* name;
        json body;
        std::optional<MessageBody::Blocked> expected;
    };
    using B = MessageBody::Blocked;
    using Hosts = std::vector<std::string>;
    using Counts = std::map<std::string, std::int64_t>;
    const std::string longHost(500, 'h');
    const std::string cutHost(MessageBody::hostLimit, 'h');
    const Case cases[] = {
        {"walls alone", {{"walls", 2}}, B{.walls = 2}},
        {"network and hosts",
         {{"network", 3}, {"hosts", {"a.example", "b.example"}}},
         B{.network = 3, .hosts = Hosts{"a.example", "b.example"}}},
        {"empty object", json::object(), B{}},
        {"not an object", json::array({1, 2}), std::nullopt},
        {"counts of the wrong type", {{"walls", "7"}, {"network", json::array({1})}}, B{}},
        {"hosts not a list", {{"hosts", "a.example"}}, B{}},
        {"hosts with other values",
         {{"hosts", {"a.example", 7, nullptr, json::object(), "b.example"}}},
         B{.hosts = Hosts{"a.example", "b.example"}}},
        {"a long host", {{"hosts", {longHost}}}, B{.hosts = Hosts{cutHost}}},
        {"fractions", {{"walls", 2.9}, {"network", 0.5}}, B{.walls = 2, .network = 0}},
        {"negative", {{"walls", -4}, {"network", -1e300}}, B{.walls = 0, .network = 0}},
        {"beyond any integer",
         {{"walls", 1e300}, {"network", std::numeric_limits<std::uint64_t>::max()}},
         B{.walls = MessageBody::countLimit, .network = MessageBody::countLimit}},
        {"infinity and not a number",
         {{"walls", std::numeric_limits<double>::infinity()}, {"network", std::nan("")}},
         B{.walls = MessageBody::countLimit}},
        // A pair whose count is no count, or whose host is no text, is left out; the odd one at the end
        // too.
        {"counts in pairs",
         {{"counts",
           {"a.example", 3, "b.example", "x", 7, "c.example", "d.example", -4, longHost, 1e30, "e.example"}}},
         B{.counts = Counts{{"a.example", 3}, {"d.example", 0}, {cutHost, MessageBody::countLimit}}}},
        {"counts in lists",
         {{"counts", json::array({json::array({"a.example", 3})})}},
         B{.counts = Counts{}}},
        {"counts not a list", {{"counts", json::object({{"a.example", 3}})}}, B{}},
        // Only a true "restored" says the page came back from the page cache.
        {"restored", {{"restored", true}}, B{.restored = true}},
        {"restored false", {{"restored", false}}, B{}},
        {"restored 1", {{"restored", 1}}, B{}},
        {"restored text", {{"restored", "true"}}, B{}},
        {"restored null", {{"restored", nullptr}}, B{}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MessageBody::blocked(c.body), c.expected) << c.name;
}

TEST(MessageBodyTest, blockedListsAreBoundedAndLookNoFurther) {
    json hosts = json::array();
    json counts = json::array();
    for (std::size_t i = 0; i < MessageBody::hostCountLimit + 500; ++i) {
        hosts.push_back("h" + std::to_string(i) + ".example");
        counts.push_back("h" + std::to_string(i) + ".example");
        counts.push_back(1);
    }
    auto message = MessageBody::blocked({{"hosts", hosts}, {"counts", counts}});
    ASSERT_TRUE(message && message->hosts && message->counts);
    EXPECT_EQ(message->hosts->size(), MessageBody::hostCountLimit);
    EXPECT_EQ(message->hosts->back(), "h" + std::to_string(MessageBody::hostCountLimit - 1) + ".example");
    EXPECT_EQ(message->counts->size(), MessageBody::hostCountLimit);

    // Elements past the limit are not looked at, even when the first ones are not texts.
    json padded(MessageBody::hostCountLimit, nullptr);
    padded.push_back("late.example");
    message = MessageBody::blocked({{"hosts", padded}});
    ASSERT_TRUE(message && message->hosts);
    EXPECT_TRUE(message->hosts->empty());
}

TEST(MessageBodyTest, faviconIsAnAddressOfSensibleLength) {
    const std::string longest =
        "http://icons.example/" + std::string(MessageBody::iconAddressLimit - 21, 'a');
    const std::pair<json, std::optional<std::string>> cases[] = {
        {"http://icons.example/i.png", "http://icons.example/i.png"},
        {"", std::nullopt},
        {12, std::nullopt},
        {json::object(), std::nullopt},
        {longest, longest},
        {longest + "a", std::nullopt},
        {std::string(10 * 1024 * 1024, 'a'), std::nullopt},
    };
    for (const auto& [body, expected] : cases)
        EXPECT_EQ(MessageBody::favicon(body), expected) << body.dump().substr(0, 80);
}

} // namespace
} // namespace nimb
