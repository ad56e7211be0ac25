#include "report/NimbReport.h"
#include "report/NimbReportReaders.h"

#include "base/Json.h"
#include "base/JsonReader.h"
#include "base/Text.h"
#include "blocker/ContentBlocker.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_map>

namespace nimb {

namespace {

using Value = nlohmann::json;

// Limits, in characters.
constexpr std::size_t hostLimit = 120;
constexpr std::size_t labelLimit = 120;
constexpr std::size_t hiddenTextLimit = 160;
constexpr std::size_t keyLimit = 120;
constexpr std::size_t previewLimit = 90;
// Limits, in list entries.
constexpr std::size_t houseLimit = 60;
constexpr std::size_t databaseLimit = 40;

std::string cut(std::string_view text, std::size_t characters) {
    // No text has more characters than bytes.
    if (text.size() <= characters) return std::string(text);
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

// Numbers read as integers: the fraction dropped, values beyond the 64-bit range held at its ends.
std::int64_t integerOf(std::uint64_t value) {
    constexpr auto most = std::numeric_limits<std::int64_t>::max();
    return value > static_cast<std::uint64_t>(most) ? most : static_cast<std::int64_t>(value);
}

std::int64_t integerOf(double value) {
    double whole = std::trunc(value);
    if (std::isnan(whole)) return 0;
    // 2^63 is exactly representable; every double below it converts safely.
    if (whole >= 9223372036854775808.0) return std::numeric_limits<std::int64_t>::max();
    if (whole < -9223372036854775808.0) return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(whole);
}

// A number, or a boolean as 1 and 0, read as an integer; none for anything else.
std::optional<std::int64_t> integerValue(const Value* value) {
    if (!value) return std::nullopt;
    switch (value->type()) {
    case Value::value_t::boolean:
        return *value->get_ptr<const Value::boolean_t*>() ? 1 : 0;
    case Value::value_t::number_integer:
        return *value->get_ptr<const Value::number_integer_t*>();
    case Value::value_t::number_unsigned:
        return integerOf(*value->get_ptr<const Value::number_unsigned_t*>());
    case Value::value_t::number_float:
        return integerOf(*value->get_ptr<const Value::number_float_t*>());
    default:
        return std::nullopt;
    }
}

std::int64_t nonNegative(std::optional<std::int64_t> value) {
    return std::max<std::int64_t>(value.value_or(0), 0);
}

std::int64_t saturatingAdd(std::int64_t a, std::int64_t b) {
    std::int64_t sum;
    if (__builtin_add_overflow(a, b, &sum))
        return b > 0 ? std::numeric_limits<std::int64_t>::max() : std::numeric_limits<std::int64_t>::min();
    return sum;
}

// An array all of whose elements pass `test`; an empty array passes.
template <class Test>
bool isArrayWhere(const Value* value, Test test) {
    return value && value->is_array() && std::all_of(value->begin(), value->end(), test);
}

bool isObjectArray(const Value* value) {
    return isArrayWhere(value, [](const Value& element) { return element.is_object(); });
}

std::optional<ContentBlocker::Category> categoryOf(std::string_view host) {
    if (auto category = ContentBlocker::categoryForHost(host)) return category;
    return ContentBlocker::pathCategoryForHost(host);
}

// Reads the payload as it streams past, straight into the record: no document is built, and anything
// the record does not hold (unknown members, values nested inside values) is skipped without being
// kept, however deep it goes. Where a member appears twice, the later one stands. A handler for
// either reader: nlohmann's, and JsonReader, which it lets pass over the containers it skips.
class PayloadReader {
public:
    using string_t = Value::string_t;
    using binary_t = Value::binary_t;
    using number_integer_t = Value::number_integer_t;
    using number_unsigned_t = Value::number_unsigned_t;
    using number_float_t = Value::number_float_t;

    explicit PayloadReader(NimbReport& report) : m_report(report) {}

    // Whether the payload's top-level value was an object (the reader stops at once when it is not).
    [[nodiscard]] bool wasObject() const { return m_wasObject; }

    // The blocked hosts, each with its count, once the payload has been read.
    [[nodiscard]] std::vector<NimbReport::Blocked> blocked();

    bool null() { return scalar({}); }
    bool boolean(bool value) { return scalar({Kind::number, value ? 1 : 0, value}); }
    bool number_integer(number_integer_t value) { return scalar({Kind::number, value, value != 0}); }
    bool number_unsigned(number_unsigned_t value) {
        return scalar({Kind::number, integerOf(value), value != 0});
    }
    bool number_float(number_float_t value, const string_t&) {
        return scalar({Kind::number, integerOf(value), value != 0});
    }
    bool string(string_t& value) { return scalar({Kind::string, 0, false, &value}); }
    bool binary(binary_t&) { return scalar({}); }
    bool start_object(std::size_t) { return open(Kind::object); }
    bool start_array(std::size_t) { return open(Kind::array); }
    bool end_object() { return close(); }
    bool end_array() { return close(); }
    bool key(string_t& name);
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) { return false; }
    [[nodiscard]] bool skipsContents() const { return m_skipping > 0; }

private:
    enum class Kind {
        null,
        number,
        string,
        object,
        array
    };

    struct Event {
        Kind kind = Kind::null;
        std::int64_t integer = 0; // numbers, and booleans as 1 and 0, as integers
        bool truth = false;       // any non-zero number, and true
        const string_t* text = nullptr;
    };

    // What a container being read is, in the payload.
    enum class Role {
        root,
        walls,
        wallsItems,
        wallsItem,
        network,
        blocked,
        list,
        storage,
        jar,
        jarItems,
        jarItem,
    };

    // The members the record reads, whichever container they belong to.
    enum class Member {
        none,
        walls,
        network,
        items,
        label,
        reason,
        text,
        blocked,
        other,
        house,
        cookies,
        storage,
        local,
        session,
        databases,
        forgotten,
        count,
        bytes,
        key,
        preview,
    };

    struct Frame {
        Role role;
        Member member = Member::none; // the member whose value comes next, in an object
        bool valid = true;            // a list whose every element has the shape it must have
        std::size_t count = 0;        // elements seen, in a list
    };

    static Member memberNamed(Role role, std::string_view name);

    bool scalar(const Event& event);
    bool open(Kind kind);
    bool close();
    // Takes a value in the current container; answers the role of a container value to read, or none
    // when the value is skipped.
    std::optional<Role> take(const Event& event);
    void startList(std::vector<std::string>& target, std::size_t limit, bool sorted);
    // A member that must be a string: its text, or nothing when it is anything else.
    static void assign(string_t& text, bool& present, const Event& event) {
        present = event.kind == Kind::string;
        if (present) text = *event.text;
    }
    // A member read as empty text unless it is a string.
    static void assignOrClear(string_t& text, const Event& event) {
        if (event.kind == Kind::string)
            text = *event.text;
        else
            text.clear();
    }

    NimbReport& m_report;
    std::vector<Frame> m_frames;
    std::size_t m_skipping = 0; // depth inside a value that is being skipped
    bool m_wasObject = false;

    // The element being read of a list of hidden elements or of storage items.
    // Strings kept with a flag rather than as optionals, so that their buffers are reused.
    string_t m_label;
    bool m_hasLabel = false;
    std::optional<NimbReport::Reason> m_reason;
    string_t m_text;
    string_t m_key;
    bool m_hasKey = false;
    std::int64_t m_bytes = 0;
    string_t m_preview;

    // The list of strings being read, and the jar.
    std::vector<std::string>* m_list = nullptr;
    std::size_t m_listLimit = 0;
    bool m_listSorted = false;
    NimbReport::Jar* m_jar = nullptr;

    // The blocked members as read: name and count, duplicates and all.
    std::vector<std::pair<string_t, std::int64_t>> m_blocked;
    string_t m_host;
};

PayloadReader::Member PayloadReader::memberNamed(Role role, std::string_view name) {
    struct Name {
        std::string_view text;
        Member member;
    };
    auto find = [name](std::initializer_list<Name> names) {
        for (const Name& candidate : names) {
            if (candidate.text == name) return candidate.member;
        }
        return Member::none;
    };
    switch (role) {
    case Role::root:
        return find({{"walls", Member::walls}, {"network", Member::network}});
    case Role::walls:
        return find({{"items", Member::items}});
    case Role::wallsItem:
        return find({{"label", Member::label}, {"reason", Member::reason}, {"text", Member::text}});
    case Role::network:
        return find({{"blocked", Member::blocked},
                     {"other", Member::other},
                     {"house", Member::house},
                     {"cookies", Member::cookies},
                     {"storage", Member::storage}});
    case Role::storage:
        return find({{"local", Member::local},
                     {"session", Member::session},
                     {"databases", Member::databases},
                     {"forgotten", Member::forgotten}});
    case Role::jar:
        return find({{"count", Member::count}, {"bytes", Member::bytes}, {"items", Member::items}});
    case Role::jarItem:
        return find({{"key", Member::key}, {"bytes", Member::bytes}, {"preview", Member::preview}});
    case Role::wallsItems:
    case Role::blocked:
    case Role::list:
    case Role::jarItems:
        break;
    }
    return Member::none;
}

bool PayloadReader::key(string_t& name) {
    if (m_skipping > 0) return true;
    Frame& frame = m_frames.back();
    // Names and strings are copied, never moved, out of the parser: it reuses its buffer for the next
    // token only while the buffer keeps its capacity.
    if (frame.role == Role::blocked)
        m_host = name;
    else
        frame.member = memberNamed(frame.role, name);
    return true;
}

bool PayloadReader::scalar(const Event& event) {
    if (m_skipping > 0) return true;
    if (m_frames.empty()) return false; // a bare scalar is not a payload
    take(event);
    return true;
}

bool PayloadReader::open(Kind kind) {
    if (m_skipping > 0) {
        ++m_skipping;
        return true;
    }
    if (m_frames.empty()) {
        if (kind != Kind::object) return false;
        m_wasObject = true;
        m_frames.push_back({Role::root});
        return true;
    }
    if (std::optional<Role> role = take({kind}))
        m_frames.push_back({*role});
    else
        m_skipping = 1;
    return true;
}

bool PayloadReader::close() {
    if (m_skipping > 0) {
        --m_skipping;
        return true;
    }
    Frame frame = m_frames.back();
    m_frames.pop_back();
    switch (frame.role) {
    case Role::wallsItem:
        if (m_hasLabel && m_reason)
            m_report.hidden.push_back({cut(m_label, labelLimit), *m_reason, cut(m_text, hiddenTextLimit)});
        break;
    case Role::wallsItems:
        if (!frame.valid) m_report.hidden.clear();
        break;
    case Role::list:
        if (!frame.valid) {
            m_list->clear();
        } else if (m_listSorted) {
            // The page sends its host lists sorted already.
            if (!std::is_sorted(m_list->begin(), m_list->end())) std::sort(m_list->begin(), m_list->end());
            m_list->erase(std::unique(m_list->begin(), m_list->end()), m_list->end());
        }
        break;
    case Role::jarItem:
        if (m_hasKey && !m_key.empty())
            m_jar->items.push_back({cut(m_key, keyLimit), m_bytes, cut(m_preview, previewLimit)});
        break;
    case Role::jarItems:
        if (!frame.valid) m_jar->items.clear();
        break;
    case Role::root:
    case Role::walls:
    case Role::network:
    case Role::blocked:
    case Role::storage:
    case Role::jar:
        break;
    }
    return true;
}

void PayloadReader::startList(std::vector<std::string>& target, std::size_t limit, bool sorted) {
    target.clear();
    m_list = &target;
    m_listLimit = limit;
    m_listSorted = sorted;
}

std::optional<PayloadReader::Role> PayloadReader::take(const Event& event) {
    Frame& frame = m_frames.back();
    const bool isString = event.kind == Kind::string;
    const bool isNumber = event.kind == Kind::number;
    const bool isObject = event.kind == Kind::object;
    const bool isArray = event.kind == Kind::array;
    auto count = [&] { return isNumber ? std::max<std::int64_t>(event.integer, 0) : 0; };

    switch (frame.role) {
    case Role::root:
        if (frame.member == Member::walls) {
            m_report.hidden.clear();
            if (isObject) return Role::walls;
        } else if (frame.member == Member::network) {
            m_report.blocked.clear();
            m_blocked.clear();
            m_report.otherHosts.clear();
            m_report.houseHosts.clear();
            m_report.cookies = 0;
            m_report.local = {};
            m_report.session = {};
            m_report.databases.clear();
            m_report.storageForgotten = false;
            if (isObject) return Role::network;
        }
        return std::nullopt;

    case Role::walls:
        if (frame.member == Member::items) {
            m_report.hidden.clear();
            if (isArray) return Role::wallsItems;
        }
        return std::nullopt;

    case Role::wallsItems:
        if (!isObject) {
            frame.valid = false;
            return std::nullopt;
        }
        m_hasLabel = false;
        m_reason.reset();
        m_text.clear();
        return Role::wallsItem;

    case Role::wallsItem:
        if (frame.member == Member::label)
            assign(m_label, m_hasLabel, event);
        else if (frame.member == Member::reason)
            m_reason = fromRaw<NimbReport::Reason>(isString ? std::string_view(*event.text) : "");
        else if (frame.member == Member::text)
            assignOrClear(m_text, event);
        return std::nullopt;

    case Role::network:
        switch (frame.member) {
        case Member::blocked:
            m_blocked.clear();
            if (isObject) return Role::blocked;
            break;
        case Member::other:
            startList(m_report.otherHosts, std::numeric_limits<std::size_t>::max(), true);
            if (isArray) return Role::list;
            break;
        case Member::house:
            startList(m_report.houseHosts, houseLimit, true);
            if (isArray) return Role::list;
            break;
        case Member::cookies:
            m_report.cookies = count();
            break;
        case Member::storage:
            m_report.local = {};
            m_report.session = {};
            m_report.databases.clear();
            m_report.storageForgotten = false;
            if (isNumber) m_report.local.count = count(); // the older payload, where storage was one count
            if (isObject) return Role::storage;
            break;
        default:
            break;
        }
        return std::nullopt;

    case Role::blocked:
        m_blocked.emplace_back(m_host, isNumber ? std::max<std::int64_t>(event.integer, 1) : 1);
        return std::nullopt;

    case Role::list:
        if (!isString) {
            frame.valid = false;
        } else if (frame.count++ < m_listLimit) {
            m_list->push_back(cut(*event.text, hostLimit));
        }
        return std::nullopt;

    case Role::storage:
        switch (frame.member) {
        case Member::local:
        case Member::session:
            m_jar = frame.member == Member::local ? &m_report.local : &m_report.session;
            *m_jar = {};
            if (isObject) return Role::jar;
            break;
        case Member::databases:
            startList(m_report.databases, databaseLimit, false);
            if (isArray) return Role::list;
            break;
        case Member::forgotten:
            m_report.storageForgotten = isNumber && event.truth;
            break;
        default:
            break;
        }
        return std::nullopt;

    case Role::jar:
        if (frame.member == Member::count) {
            m_jar->count = count();
        } else if (frame.member == Member::bytes) {
            m_jar->bytes = count();
        } else if (frame.member == Member::items) {
            m_jar->items.clear();
            if (isArray) return Role::jarItems;
        }
        return std::nullopt;

    case Role::jarItems:
        if (!isObject) {
            frame.valid = false;
            return std::nullopt;
        }
        // Only the first elements are read, but every one must be an object.
        if (frame.count++ >= NimbReport::Jar::itemLimit) return std::nullopt;
        m_hasKey = false;
        m_bytes = 0;
        m_preview.clear();
        return Role::jarItem;

    case Role::jarItem:
        if (frame.member == Member::key)
            assign(m_key, m_hasKey, event);
        else if (frame.member == Member::bytes)
            m_bytes = count();
        else if (frame.member == Member::preview)
            assignOrClear(m_preview, event);
        return std::nullopt;
    }
    return std::nullopt;
}

std::vector<NimbReport::Blocked> PayloadReader::blocked() {
    // The later of two members with one name stands.
    std::stable_sort(m_blocked.begin(), m_blocked.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<NimbReport::Blocked> entries;
    entries.reserve(m_blocked.size());
    // Two names longer than the limit can cut to the same host; they are one entry, not two
    // indistinguishable ones.
    // No name of fewer bytes than the limit has characters can be cut.
    const bool anyCut = std::any_of(m_blocked.begin(), m_blocked.end(),
                                    [](const auto& member) { return member.first.size() > hostLimit; });
    std::unordered_map<std::string, std::size_t> index;
    for (std::size_t i = 0; i < m_blocked.size(); ++i) {
        if (i + 1 < m_blocked.size() && m_blocked[i + 1].first == m_blocked[i].first) continue;
        auto& [name, requests] = m_blocked[i];
        if (!anyCut) { // every name is its own host, whole
            std::optional<ContentBlocker::Category> category = categoryOf(name);
            entries.push_back({std::move(name), requests, category});
            continue;
        }
        std::string host = cut(name, hostLimit);
        auto [found, fresh] = index.try_emplace(host, entries.size());
        if (!fresh) {
            NimbReport::Blocked& earlier = entries[found->second];
            earlier.requests = saturatingAdd(earlier.requests, requests);
            if (!earlier.category) earlier.category = categoryOf(name);
            continue;
        }
        entries.push_back({std::move(host), requests, categoryOf(name)});
    }
    if (!anyCut) {
        // Already in host order: ordering by count alone, keeping that order among equals, is enough.
        std::stable_sort(entries.begin(), entries.end(),
                         [](const auto& a, const auto& b) { return a.requests > b.requests; });
        return entries;
    }
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        return a.requests != b.requests ? a.requests > b.requests : a.host < b.host;
    });
    return entries;
}

enum class Reading {
    strict,
    tolerant,
};

// Reads a payload into `report` with one reader; false when the payload is not a JSON object, or,
// for the strict reader, when it is not plainly well-formed.
bool readPayloadWith(Reading reading, std::string_view payload, NimbReport& report) {
    try {
        PayloadReader reader(report);
        bool complete = reading == Reading::strict
                            ? JsonReader::read(payload, NimbReportReaders::quickLimits, reader)
                            : Value::sax_parse(payload.begin(), payload.end(), &reader);
        if (!complete || !reader.wasObject()) return false;
        report.blocked = reader.blocked();
        return true;
    } catch (...) {
        return false;
    }
}

// Reads a payload into `report`, which starts as `base`; false when it is not a JSON object. What the
// page scripts send is read by the strict reader; anything it is unsure of by nlohmann's.
bool readPayload(std::string_view payload, const NimbReport& base, NimbReport& report) {
    report = base;
    if (readPayloadWith(Reading::strict, payload, report)) return true;
    report = base;
    return readPayloadWith(Reading::tolerant, payload, report);
}

void appendInteger(std::string& out, std::int64_t value) {
    out += std::to_string(value);
}

void appendStringArray(std::string& out, const std::vector<std::string>& list) {
    out += '[';
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (i) out += ',';
        json::appendString(out, list[i]);
    }
    out += ']';
}

void appendJar(std::string& out, const NimbReport::Jar& jar) {
    out += "{\"count\":";
    appendInteger(out, jar.count);
    out += ",\"bytes\":";
    appendInteger(out, jar.bytes);
    out += ",\"items\":[";
    for (std::size_t i = 0; i < jar.items.size(); ++i) {
        const NimbReport::Item& item = jar.items[i];
        if (i) out += ',';
        out += "{\"key\":";
        json::appendString(out, item.key);
        out += ",\"bytes\":";
        appendInteger(out, item.bytes);
        out += ",\"preview\":";
        json::appendString(out, item.preview);
        out += '}';
    }
    out += "]}";
}

} // namespace

NimbReport NimbReport::parse(std::string_view payload, std::string_view address, std::string_view title) {
    NimbReport report;
    report.address = std::string(address);
    report.title = std::string(title);
    if (payload.size() > payloadLimit) return report;

    NimbReport result;
    if (!readPayload(payload, report, result)) {
        // Ill-formed UTF-8 and halves of surrogate pairs are mended, and the payload read again;
        // anything else unreadable stays unread.
        std::optional<std::string> mended = JsonReader::mended(payload);
        if (!mended || !readPayload(*mended, report, result)) return report;
    }
    result.recorded = true;
    // The snapshot can be larger than what it was read from ("/" is written "\/", a replaced byte
    // takes three): a report whose snapshot would not be read back could never be kept, so it is not
    // taken either. Only a payload within a third of the limit is sure to pass without measuring.
    if (3 * payload.size() + 1024 > payloadLimit && result.snapshot().size() > payloadLimit) return report;
    return result;
}

namespace NimbReportReaders {

namespace {
std::optional<NimbReport> readWith(Reading reading, std::string_view payload) {
    NimbReport report;
    if (!readPayloadWith(reading, payload, report)) return std::nullopt;
    report.recorded = true;
    return report;
}
} // namespace

std::optional<NimbReport> strict(std::string_view payload) {
    return readWith(Reading::strict, payload);
}

std::optional<NimbReport> tolerant(std::string_view payload) {
    return readWith(Reading::tolerant, payload);
}

} // namespace NimbReportReaders

NimbReport::Jar NimbReport::Jar::parse(const nlohmann::json& value) {
    Jar jar;
    if (!value.is_object()) return jar;
    jar.count = nonNegative(integerValue(member(value, "count")));
    jar.bytes = nonNegative(integerValue(member(value, "bytes")));
    const Value* items = member(value, "items");
    if (!isObjectArray(items)) return jar;
    std::size_t taken = std::min(itemLimit, items->size());
    jar.items.reserve(taken);
    for (std::size_t i = 0; i < taken; ++i) {
        const Value& element = (*items)[i];
        const std::string* key = stringValue(member(element, "key"));
        if (!key || key->empty()) continue;
        const std::string* preview = stringValue(member(element, "preview"));
        jar.items.push_back({cut(*key, keyLimit), nonNegative(integerValue(member(element, "bytes"))),
                             preview ? cut(*preview, previewLimit) : std::string()});
    }
    return jar;
}

std::int64_t NimbReport::requestsBlocked() const {
    std::int64_t sum = 0;
    for (const Blocked& entry : blocked)
        sum = saturatingAdd(sum, entry.requests);
    return sum;
}

std::int64_t NimbReport::total() const {
    return saturatingAdd(requestsBlocked(), static_cast<std::int64_t>(hidden.size()));
}

std::vector<NimbReport::Blocked> NimbReport::blockedIn(ContentBlocker::Category category) const {
    std::vector<Blocked> matching;
    for (const Blocked& entry : blocked) {
        if (entry.category == category) matching.push_back(entry);
    }
    return matching;
}

void NimbReport::merge(const WitnessCounts& counts) {
    for (const auto& [host, requests] : counts.blocked) {
        auto found =
            std::find_if(blocked.begin(), blocked.end(), [&](const Blocked& b) { return b.host == host; });
        if (found != blocked.end())
            found->requests = std::max(found->requests, requests);
        else
            blocked.push_back({cut(host, hostLimit), std::max<std::int64_t>(requests, 1), categoryOf(host)});
    }
    std::sort(blocked.begin(), blocked.end(), [](const Blocked& a, const Blocked& b) {
        return a.requests != b.requests ? a.requests > b.requests : a.host < b.host;
    });
    auto join = [this](std::vector<std::string>& list, const std::map<std::string, std::int64_t>& seen,
                       std::size_t limit) {
        // A host already listed takes no room: only new ones count against the limit.
        const auto listedBefore = static_cast<std::ptrdiff_t>(list.size());
        for (const auto& [name, requests] : seen) {
            if (list.size() >= limit) break;
            std::string host = cut(name, hostLimit);
            bool listed = std::binary_search(list.begin(), list.begin() + listedBefore, host) ||
                          std::find(list.begin() + listedBefore, list.end(), host) != list.end();
            bool isBlocked =
                std::any_of(blocked.begin(), blocked.end(), [&](const Blocked& b) { return b.host == host; });
            if (!listed && !isBlocked) list.push_back(std::move(host));
        }
        std::sort(list.begin(), list.end());
        list.erase(std::unique(list.begin(), list.end()), list.end());
    };
    join(otherHosts, counts.other, std::numeric_limits<std::size_t>::max());
    join(houseHosts, counts.house, houseLimit);
}

std::string NimbReport::snapshot() const {
    std::string out;
    out.reserve(1024);
    out += "{\"walls\":{\"items\":[";
    for (std::size_t i = 0; i < hidden.size(); ++i) {
        if (i) out += ',';
        out += "{\"label\":";
        json::appendString(out, hidden[i].label);
        out += ",\"reason\":";
        json::appendString(out, rawValue(hidden[i].reason));
        out += ",\"text\":";
        json::appendString(out, hidden[i].text);
        out += '}';
    }
    out += "]},\"network\":{\"blocked\":{";
    // One member per host; should two entries share one, the larger count stands.
    std::unordered_map<std::string_view, std::size_t> first;
    std::vector<std::int64_t> counts;
    std::vector<std::string_view> hosts;
    for (const Blocked& entry : blocked) {
        auto [found, fresh] = first.try_emplace(entry.host, hosts.size());
        if (fresh) {
            hosts.push_back(entry.host);
            counts.push_back(entry.requests);
        } else {
            counts[found->second] = std::max(counts[found->second], entry.requests);
        }
    }
    for (std::size_t i = 0; i < hosts.size(); ++i) {
        if (i) out += ',';
        json::appendString(out, hosts[i]);
        out += ':';
        appendInteger(out, counts[i]);
    }
    out += "},\"other\":";
    appendStringArray(out, otherHosts);
    out += ",\"house\":";
    appendStringArray(out, houseHosts);
    out += ",\"cookies\":";
    appendInteger(out, cookies);
    out += ",\"storage\":{\"local\":";
    appendJar(out, local);
    out += ",\"session\":";
    appendJar(out, session);
    out += ",\"databases\":";
    appendStringArray(out, databases);
    out += ",\"forgotten\":";
    out += storageForgotten ? "true" : "false";
    out += "}}}";
    return out;
}

} // namespace nimb
