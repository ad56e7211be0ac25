#include "page/WitnessMessage.h"

#include "base/Json.h"
#include "page/MessageBody.h"
#include "page/RequestTally.h"

#include <nlohmann/json.hpp>

#include <array>
#include <utility>

namespace nimb::WitnessMessage {

namespace {

constexpr std::array<std::pair<std::string_view, std::map<std::string, std::int64_t> WitnessCounts::*>, 3>
    bins{{
        {"blocked", &WitnessCounts::blocked},
        {"other", &WitnessCounts::other},
        {"house", &WitnessCounts::house},
    }};

void appendBin(std::string& out, const std::map<std::string, std::int64_t>& bin) {
    out += '{';
    bool first = true;
    for (const auto& [host, count] : bin) {
        if (!first) out += ',';
        first = false;
        json::appendString(out, host);
        out += ':';
        out += std::to_string(count);
    }
    out += '}';
}

std::map<std::string, std::int64_t> readBin(const nlohmann::json& value) {
    std::map<std::string, std::int64_t> bin;
    if (!value.is_object()) return bin;
    for (const auto& [host, count] : value.items()) {
        if (bin.size() >= RequestTally::hostsPerBin) break;
        auto n = MessageBody::count(count);
        if (!n || *n < 1 || host.empty()) continue;
        bin[MessageBody::boundedText(host, RequestTally::hostLength)] = *n;
    }
    return bin;
}

} // namespace

std::string hello() {
    return R"({"hello":true})";
}

std::string counts(const WitnessCounts& counts) {
    std::string out = "{";
    for (const auto& [key, member] : bins) {
        json::appendString(out, key);
        out += ':';
        appendBin(out, counts.*member);
        out += ',';
    }
    out += R"("unlisted":)";
    out += std::to_string(counts.unlisted);
    out += '}';
    return out;
}

std::optional<Message> read(std::string_view text) {
    if (text.size() > byteLimit) return std::nullopt;
    auto body = nlohmann::json::parse(text, nullptr, false);
    if (!body.is_object()) return std::nullopt;
    Message message;
    if (auto hello = body.find("hello"); hello != body.end()) {
        if (!hello->is_boolean() || !hello->get<bool>()) return std::nullopt;
        message.hello = true;
        return message;
    }
    WitnessCounts counts;
    for (const auto& [key, member] : bins) {
        if (auto bin = body.find(std::string(key)); bin != body.end()) counts.*member = readBin(*bin);
    }
    if (auto unlisted = body.find("unlisted"); unlisted != body.end())
        counts.unlisted = MessageBody::count(*unlisted).value_or(0);
    message.counts = std::move(counts);
    return message;
}

} // namespace nimb::WitnessMessage
