#include "page/MessageBody.h"

#include "base/Text.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>

namespace nimb::MessageBody {

std::string boundedText(std::string_view text, std::size_t characters) {
    std::string valid = text::validUtf8(text.substr(0, byteLimit));
    return std::string(text::prefix(valid, characters));
}

std::optional<std::int64_t> count(const nlohmann::json& value) {
    if (value.is_number_unsigned()) {
        auto n = value.get<std::uint64_t>();
        return n > static_cast<std::uint64_t>(countLimit) ? countLimit : static_cast<std::int64_t>(n);
    }
    if (value.is_number_integer()) return std::clamp(value.get<std::int64_t>(), std::int64_t{0}, countLimit);
    if (value.is_number_float()) {
        double n = value.get<double>();
        if (std::isnan(n)) return std::nullopt;
        // Compared as doubles first: converting a double out of the integer's range is undefined.
        if (n <= 0) return 0;
        if (n >= static_cast<double>(countLimit)) return countLimit;
        return static_cast<std::int64_t>(n);
    }
    return std::nullopt;
}

std::optional<std::string> status(const nlohmann::json& body) {
    if (!body.is_string()) return std::nullopt;
    std::string text = boundedText(body.get_ref<const std::string&>(), statusLimit);
    if (text.empty()) return std::nullopt;
    return text;
}

std::optional<Blocked> blocked(const nlohmann::json& body) {
    if (!body.is_object()) return std::nullopt;
    Blocked message;
    if (auto walls = body.find("walls"); walls != body.end()) message.walls = count(*walls);
    if (auto network = body.find("network"); network != body.end()) message.network = count(*network);
    if (auto hosts = body.find("hosts"); hosts != body.end() && hosts->is_array()) {
        std::vector<std::string> list;
        std::size_t read = 0;
        for (const auto& host : *hosts) {
            if (read++ >= hostCountLimit) break;
            if (host.is_string()) list.push_back(boundedText(host.get_ref<const std::string&>(), hostLimit));
        }
        message.hosts = std::move(list);
    }
    if (auto counts = body.find("counts"); counts != body.end() && counts->is_array()) {
        std::map<std::string, std::int64_t> read;
        const auto& list = *counts;
        for (std::size_t i = 0; i + 1 < list.size() && i < 2 * hostCountLimit; i += 2) {
            auto n = count(list[i + 1]);
            if (n && list[i].is_string() && !list[i].get_ref<const std::string&>().empty())
                read[boundedText(list[i].get_ref<const std::string&>(), hostLimit)] = *n;
        }
        message.counts = std::move(read);
    }
    if (auto restored = body.find("restored"); restored != body.end())
        message.restored = restored->is_boolean() && restored->get<bool>();
    return message;
}

std::optional<std::string> favicon(const nlohmann::json& body) {
    if (!body.is_string()) return std::nullopt;
    const auto& text = body.get_ref<const std::string&>();
    if (text.empty() || text.size() > byteLimit) return std::nullopt;
    std::string valid = text::validUtf8(text);
    if (text::characterCount(valid) > iconAddressLimit) return std::nullopt;
    return valid;
}

} // namespace nimb::MessageBody
