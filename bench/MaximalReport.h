#pragma once

// The largest report a page can produce — 60 + 60 storage items, 200 blocked hosts, 300 other hosts,
// 100 hidden elements — as the page's payload, for the report benchmarks. Texts carry markup
// characters so that the pages' escaping has work to do.

#include "blocker/ContentBlocker.h"
#include "report/Dossier.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <string>
#include <vector>

namespace nimb::bench {

// Storage values of the kinds pages write: identifiers, remembered addresses, event queues, device
// descriptions, expiry stamps and plain settings, cut to the 90 characters the page sends.
inline std::string preview(int i) {
    std::string value;
    switch (i % 6) {
    case 0:
        value = "{\"id\":\"" + std::to_string(10000000 + i) +
                "-7425-40de-944b-e07fc1f90ae7\",\"n\":" + std::to_string(i);
        break;
    case 1:
        value = "https://www.example.com/section/" + std::to_string(i) + "/watch?v=abcdefghijk&t=120|last";
        break;
    case 2:
        value =
            "[{\"event\":\"scroll\",\"timestamp\":1767225600" + std::to_string(i) + ",\"session\":\"s1\"}]";
        break;
    case 3:
        value = "{\"browser\":\"Safari\",\"os_version\":\"14\",\"screen\":\"1440x900\",\"timezone\":\"UTC\"}";
        break;
    case 4:
        value = "{\"value\":\"granted\",\"expires\":1939291200000,\"path\":\"/\"}";
        break;
    default:
        value = "settings: theme dark, font size " + std::to_string(i) + ", consent <given> & \"kept\"";
        break;
    }
    return value.substr(0, 90);
}

inline std::string maximalPayload() {
    using json = nlohmann::json;
    json hidden = json::array();
    for (int i = 0; i < 100; ++i)
        hidden.push_back({{"label", "div#slot-" + std::to_string(i) + ".ad-container"},
                          {"reason", i % 3 == 0 ? "known" : (i % 3 == 1 ? "overlay" : "adSlot")},
                          {"text", "Advertisement. We and our 1,482 partners value your privacy & would like "
                                   "to store <cookies> on your device."}});

    // Blocked hosts: subdomains of listed hosts, the most common case.
    json blocked = json::object();
    const auto& listed = ContentBlocker::blockedHosts();
    for (int i = 0; i < 200; ++i)
        blocked["s" + std::to_string(i) + "." + listed[static_cast<std::size_t>(i) % listed.size()]] =
            1 + i % 9;

    // Other hosts: catalogue companies' hosts and unknown ones, sorted as the page sends them.
    std::vector<std::string> other;
    const auto& entries = Dossier::entries();
    for (int i = 0; i < 300; ++i) {
        const Dossier::Entry& entry = entries[static_cast<std::size_t>(i) % entries.size()];
        if (i % 2 == 0 && !entry.hosts.empty())
            other.push_back("cdn" + std::to_string(i) + "." + entry.hosts.front());
        else
            other.push_back("static" + std::to_string(i) + ".unlisted-" + std::to_string(i % 40) + ".net");
    }
    std::sort(other.begin(), other.end());

    auto jar = [](const std::string& prefix) {
        json items = json::array();
        for (int i = 0; i < 60; ++i) {
            std::string value = preview(i);
            std::string key = (i % 10 == 0 ? "_dd_s" : prefix) + std::to_string(i);
            items.push_back({{"key", key}, {"bytes", 4000 - i * 50}, {"preview", value}});
        }
        return json{{"count", 400}, {"bytes", 180000}, {"items", items}};
    };

    json payload = {
        {"walls", {{"count", 100}, {"items", hidden}}},
        {"network",
         {{"count", 1000},
          {"blocked", blocked},
          {"other", other},
          {"house", json::array({"static.example.com", "img.example.com"})},
          {"cookies", 42},
          {"storage",
           {{"local", jar("local_")},
            {"session", jar("session_")},
            {"databases", json::array({"firebaseLocalStorageDb", "keyval-store"})},
            {"forgotten", false}}}}},
    };
    return payload.dump();
}

} // namespace nimb::bench
