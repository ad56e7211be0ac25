// Feeds arbitrary bytes to the quick JSON reader and to its three readings (the report parser, the
// kept-report list's hosts, the store's lists), then scores the report, reads it for evidence and
// keeps it. Aborts when:
//   - the quick JSON reader reads what nlohmann's reader does not, or hands over other events, or
//     passes over other values than its handler asks;
//   - the snapshot of a recorded report does not read back to the same report (blocked categories
//     and the blocking flag aside, which the snapshot leaves out on purpose);
//   - a payload that is plain JSON reads differently from a straightforward reading of the whole
//     decoded document (the parser streams the payload instead of building the document), and so
//     does a stored list;
//   - the kept-report list scores the payload, taken as a snapshot, otherwise than its full reading;
//   - the record breaks its own limits, or a reading of it is out of range.

#include "JsonEvents.h"
#include "base/JsonReader.h"
#include "base/Text.h"
#include "blocker/ContentBlocker.h"
#include "report/Dossier.h"
#include "report/Evidence.h"
#include "report/KeptReports.h"
#include "report/NimbReport.h"
#include "report/NimbReportPage.h"
#include "report/NimbReportReaders.h"
#include "storage/SqliteStore.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <unordered_map>

namespace nimb {
namespace {

using Value = nlohmann::json;

void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "ReportFuzzer: %s\n", what);
        std::abort();
    }
}

void checkQuickReader(std::string_view text) {
    // Containers named with a leading "s" (as "storage" and "session" are) are passed over.
    auto passesOver = [](const std::string& name) { return name.starts_with('s'); };
    test::JsonEvents quick(passesOver);
    if (!JsonReader::read(text, NimbReportReaders::quickLimits, quick)) return;
    test::JsonEvents careful(passesOver);
    check(Value::sax_parse(text.begin(), text.end(), &careful),
          "the quick reader read what nlohmann's refuses");
    check(quick.events == careful.events, "the quick reader's events differ from nlohmann's");
}

// The reference: the whole payload decoded into a document first, then every member looked up.

std::string cut(std::string_view text, std::size_t characters) {
    return std::string(text::prefix(text, characters));
}

const Value* member(const Value& object, std::string_view name) {
    if (!object.is_object()) return nullptr;
    auto found = object.find(name);
    return found == object.end() ? nullptr : &*found;
}

const std::string* stringValue(const Value* value) {
    return value ? value->get_ptr<const std::string*>() : nullptr;
}

std::optional<std::int64_t> integerValue(const Value* value) {
    if (!value) return std::nullopt;
    constexpr auto most = std::numeric_limits<std::int64_t>::max();
    if (value->is_boolean()) return value->get<bool>() ? 1 : 0;
    if (value->is_number_unsigned()) {
        auto number = value->get<std::uint64_t>();
        return number > static_cast<std::uint64_t>(most) ? most : static_cast<std::int64_t>(number);
    }
    if (value->is_number_integer()) return value->get<std::int64_t>();
    if (value->is_number_float()) {
        double whole = std::trunc(value->get<double>());
        if (std::isnan(whole)) return 0;
        if (whole >= 9223372036854775808.0) return most;
        if (whole < -9223372036854775808.0) return std::numeric_limits<std::int64_t>::min();
        return static_cast<std::int64_t>(whole);
    }
    return std::nullopt;
}

std::int64_t nonNegative(std::optional<std::int64_t> value) {
    return std::max<std::int64_t>(value.value_or(0), 0);
}

template <class Test>
bool isArrayWhere(const Value* value, Test test) {
    return value && value->is_array() && std::all_of(value->begin(), value->end(), test);
}

bool isStringArray(const Value* value) {
    return isArrayWhere(value, [](const Value& element) { return element.is_string(); });
}

std::vector<std::string> strings(const Value* value, std::size_t limit, bool sorted) {
    std::vector<std::string> list;
    if (!isStringArray(value)) return list;
    for (std::size_t i = 0; i < std::min(limit, value->size()); ++i)
        list.push_back(cut((*value)[i].get<std::string>(), 120));
    if (sorted) {
        std::sort(list.begin(), list.end());
        list.erase(std::unique(list.begin(), list.end()), list.end());
    }
    return list;
}

std::optional<ContentBlocker::Category> categoryOf(std::string_view host) {
    if (auto category = ContentBlocker::categoryForHost(host)) return category;
    return ContentBlocker::pathCategoryForHost(host);
}

NimbReport referenceParse(const Value& root, std::string_view address, std::string_view title) {
    NimbReport report;
    report.address = std::string(address);
    report.title = std::string(title);
    report.recorded = true;

    const Value* walls = member(root, "walls");
    const Value* items = walls ? member(*walls, "items") : nullptr;
    if (isArrayWhere(items, [](const Value& element) { return element.is_object(); })) {
        for (const Value& element : *items) {
            const std::string* label = stringValue(member(element, "label"));
            const std::string* reasonText = stringValue(member(element, "reason"));
            auto reason = fromRaw<NimbReport::Reason>(reasonText ? std::string_view(*reasonText) : "");
            if (!label || !reason) continue;
            const std::string* text = stringValue(member(element, "text"));
            report.hidden.push_back({cut(*label, 120), *reason, text ? cut(*text, 160) : std::string()});
        }
    }

    const Value* network = member(root, "network");
    if (!network || !network->is_object()) return report;

    if (const Value* blocked = member(*network, "blocked"); blocked && blocked->is_object()) {
        std::unordered_map<std::string, std::size_t> index;
        for (auto entry = blocked->begin(); entry != blocked->end(); ++entry) {
            const std::string& name = entry.key();
            std::int64_t requests = std::max<std::int64_t>(integerValue(&entry.value()).value_or(1), 1);
            std::string host = cut(name, 120);
            auto [found, fresh] = index.try_emplace(host, report.blocked.size());
            if (!fresh) {
                NimbReport::Blocked& earlier = report.blocked[found->second];
                if (__builtin_add_overflow(earlier.requests, requests, &earlier.requests))
                    earlier.requests = std::numeric_limits<std::int64_t>::max();
                if (!earlier.category) earlier.category = categoryOf(name);
                continue;
            }
            report.blocked.push_back({std::move(host), requests, categoryOf(name)});
        }
        std::sort(report.blocked.begin(), report.blocked.end(), [](const auto& a, const auto& b) {
            return a.requests != b.requests ? a.requests > b.requests : a.host < b.host;
        });
    }
    report.otherHosts = strings(member(*network, "other"), std::numeric_limits<std::size_t>::max(), true);
    report.houseHosts = strings(member(*network, "house"), 60, true);
    report.cookies = nonNegative(integerValue(member(*network, "cookies")));

    const Value* storage = member(*network, "storage");
    if (storage && (storage->is_number() || storage->is_boolean())) {
        report.local.count = nonNegative(integerValue(storage));
        return report;
    }
    if (!storage || !storage->is_object()) return report;
    static const Value nothing;
    const Value* local = member(*storage, "local");
    const Value* session = member(*storage, "session");
    report.local = NimbReport::Jar::parse(local ? *local : nothing);
    report.session = NimbReport::Jar::parse(session ? *session : nothing);
    report.databases = strings(member(*storage, "databases"), 40, false);
    if (const Value* forgotten = member(*storage, "forgotten")) {
        if (forgotten->is_boolean())
            report.storageForgotten = forgotten->get<bool>();
        else if (forgotten->is_number_float())
            report.storageForgotten = forgotten->get<double>() != 0;
        else if (forgotten->is_number())
            report.storageForgotten = integerValue(forgotten) != 0;
    }
    return report;
}

// A stored list: the elements that are lists of strings.
std::optional<Pairs> referencePairs(const Value& document) {
    if (!document.is_array()) return std::nullopt;
    Pairs pairs;
    for (const Value& element : document) {
        if (isStringArray(&element)) pairs.push_back(element.get<std::vector<std::string>>());
    }
    return pairs;
}

NimbReport withoutCategories(NimbReport report) {
    for (NimbReport::Blocked& entry : report.blocked)
        entry.category.reset();
    report.blockingOn = true;
    return report;
}

void checkLimits(const NimbReport& report) {
    auto within = [](const std::string& text, std::size_t limit) {
        return text::characterCount(text) <= limit && text::isValidUtf8(text);
    };
    for (const auto& entry : report.blocked)
        check(within(entry.host, 120) && entry.requests >= 1, "blocked entry out of bounds");
    for (const auto& hidden : report.hidden)
        check(within(hidden.label, 120) && within(hidden.text, 160), "hidden entry out of bounds");
    for (const auto* hosts : {&report.otherHosts, &report.houseHosts}) {
        check(std::is_sorted(hosts->begin(), hosts->end()), "host list not sorted");
        check(std::adjacent_find(hosts->begin(), hosts->end()) == hosts->end(), "host list has duplicates");
        for (const auto& host : *hosts)
            check(within(host, 120), "host out of bounds");
    }
    check(report.houseHosts.size() <= 60 && report.databases.size() <= 40, "list too long");
    check(report.cookies >= 0, "negative cookies");
    for (const auto* jar : {&report.local, &report.session}) {
        check(jar->count >= 0 && jar->bytes >= 0 && jar->items.size() <= 60, "jar out of bounds");
        for (const auto& item : jar->items)
            check(!item.key.empty() && within(item.key, 120) && item.bytes >= 0 && within(item.preview, 90),
                  "storage item out of bounds");
    }
}

void checkReach(const Dossier::Reach& reach) {
    double heat = reach.heat();
    check(heat >= 0 && heat <= 1 && reach.score() >= 0 && reach.score() <= 100, "heat out of range");
    check(reach.blocked + reach.gotThrough == reach.companies && reach.saw <= reach.companies,
          "reach census does not add up");
    check(Dossier::colour(heat).size() == 7, "colour is not #RRGGBB");
    std::string scale = Dossier::heatScale(reach);
    check(!scale.empty(), "no heat scale");
}

} // namespace
} // namespace nimb

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace nimb;
    std::string_view payload(reinterpret_cast<const char*>(data), size);
    const std::string address = "https://www.example.co.uk/page";
    NimbReport report = NimbReport::parse(payload, address, "Title");

    checkQuickReader(payload);

    checkLimits(report);
    const Dossier::Reach reach = NimbReportPage::reading(report);
    checkReach(reach);
    for (const Evidence::Finding& finding : Evidence::read(report, Date{1767225600}))
        check(!finding.subjects.empty() && !finding.sentence().empty(), "empty finding");
    const SavedReport kept{"ID", Date{}, address, "Title", report.blockingOn, std::string(payload)};
    check(KeptReports::reach(kept) == reach, "the kept hosts score otherwise than the whole report");

    Value document = Value::parse(payload, nullptr, /*allow_exceptions=*/false);
    if (!document.is_discarded()) {
        check(report.recorded == document.is_object(), "recorded does not match the payload's shape");
        check(SqliteStore::decodePairs(payload) == referencePairs(document),
              "stored list differs from the document reading");
    }
    if (document.is_object())
        check(withoutCategories(report) == withoutCategories(referenceParse(document, address, "Title")),
              "streamed reading differs from the document reading");
    document = nullptr;

    if (report.recorded) {
        std::string snapshot = report.snapshot();
        check(text::isValidUtf8(snapshot), "snapshot is not UTF-8");
        NimbReport again = NimbReport::parse(snapshot, address, "Title");
        check(again.recorded, "snapshot does not read back");
        check(withoutCategories(again) == withoutCategories(report), "snapshot does not round-trip");
        check(again.snapshot() == snapshot, "snapshot of the read-back report differs");
    }
    return 0;
}
