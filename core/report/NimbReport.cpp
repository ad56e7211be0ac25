#include "report/NimbReport.h"
#include "report/NimbReportReaders.h"

#include "base/Json.h"
#include "base/Text.h"
#include "blocker/ContentBlocker.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstring>
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
constexpr std::size_t databaseNameLimit = 120;
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

std::optional<std::uint32_t> hexUnit(std::string_view text, std::size_t at) {
    if (at + 4 > text.size()) return std::nullopt;
    std::uint32_t unit = 0;
    for (std::size_t i = at; i < at + 4; ++i) {
        char c = text[i];
        unit <<= 4;
        if (c >= '0' && c <= '9')
            unit |= static_cast<std::uint32_t>(c - '0');
        else if (c >= 'a' && c <= 'f')
            unit |= static_cast<std::uint32_t>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            unit |= static_cast<std::uint32_t>(c - 'A' + 10);
        else
            return std::nullopt;
    }
    return unit;
}

bool isHighSurrogate(std::uint32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool isLowSurrogate(std::uint32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// A page can store text holding half of a UTF-16 surrogate pair; the page's JSON.stringify writes it
// as a lone "\uD8xx" escape, which a strict JSON reader refuses, and one such storage key would cost
// the whole report. Such escapes become U+FFFD. None when there is nothing to mend.
std::optional<std::string> withLoneSurrogatesMended(std::string_view payload) {
    bool suspect = false;
    for (auto at = payload.find("\\u"); at != std::string_view::npos; at = payload.find("\\u", at + 2)) {
        if (at + 2 < payload.size() && (payload[at + 2] == 'd' || payload[at + 2] == 'D')) {
            suspect = true;
            break;
        }
    }
    if (!suspect) return std::nullopt;

    std::string mended;
    mended.reserve(payload.size());
    bool changed = false;
    for (std::size_t i = 0; i < payload.size();) {
        if (payload[i] != '\\' || i + 1 >= payload.size()) {
            mended += payload[i++];
            continue;
        }
        auto unit = payload[i + 1] == 'u' ? hexUnit(payload, i + 2) : std::nullopt;
        if (!unit) { // any other escape, including an escaped backslash, passes whole
            mended.append(payload.substr(i, 2));
            i += 2;
            continue;
        }
        if (isHighSurrogate(*unit) && i + 7 < payload.size() && payload[i + 6] == '\\' &&
            payload[i + 7] == 'u') {
            if (auto low = hexUnit(payload, i + 8); low && isLowSurrogate(*low)) {
                mended.append(payload.substr(i, 12));
                i += 12;
                continue;
            }
        }
        if (isHighSurrogate(*unit) || isLowSurrogate(*unit)) {
            mended += "\\ufffd";
            changed = true;
        } else {
            mended.append(payload.substr(i, 6));
        }
        i += 6;
    }
    if (!changed) return std::nullopt;
    return mended;
}

std::optional<ContentBlocker::Category> categoryOf(std::string_view host) {
    if (auto category = ContentBlocker::categoryForHost(host)) return category;
    return ContentBlocker::pathCategoryForHost(host);
}

// Reads the payload as it streams past, straight into the record: no document is built, and anything
// the record does not hold (unknown members, values nested inside values) is skipped without being
// kept, however deep it goes. Where a member appears twice, the later one stands.
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

// The quick reading of a payload that is plainly well-formed JSON with an object at the top, handing
// `sax` exactly the events nlohmann's reader would. Anything unusual (a top level that is not an
// object, text after it, a number with a fraction or an exponent or too many digits to be sure of, an
// unknown escape, half of a surrogate pair, ill-formed UTF-8, a control character in a string, a
// callback that stops) makes it give up: the caller then reads the payload again with nlohmann's
// reader, which decides.
template <class Sax>
class StrictReader {
public:
    StrictReader(std::string_view text, Sax& sax)
        : m_at(text.data()), m_end(text.data() + text.size()), m_sax(sax) {}

    // Whether the whole payload was read; false when the careful reader must decide.
    bool read() {
        skipSpace();
        if (m_at == m_end || *m_at != '{') return false;
        // Each open container: true for an object.
        std::vector<bool> open;
        for (;;) {
            // A value.
            skipSpace();
            if (m_at == m_end) return false;
            switch (*m_at) {
            case '{':
                ++m_at;
                if (!m_sax.start_object(std::size_t(-1))) return false;
                skipSpace();
                if (m_at != m_end && *m_at == '}') {
                    ++m_at;
                    if (!m_sax.end_object()) return false;
                } else {
                    open.push_back(true);
                    if (!key()) return false;
                    continue;
                }
                break;
            case '[':
                ++m_at;
                if (!m_sax.start_array(std::size_t(-1))) return false;
                skipSpace();
                if (m_at != m_end && *m_at == ']') {
                    ++m_at;
                    if (!m_sax.end_array()) return false;
                } else {
                    open.push_back(false);
                    continue;
                }
                break;
            case '"':
                if (!string() || !m_sax.string(m_buffer)) return false;
                break;
            case 't':
                if (!literal("true") || !m_sax.boolean(true)) return false;
                break;
            case 'f':
                if (!literal("false") || !m_sax.boolean(false)) return false;
                break;
            case 'n':
                if (!literal("null") || !m_sax.null()) return false;
                break;
            default:
                if (!number()) return false;
                break;
            }

            // After a value: the next member or element, or the end of containers.
            for (;;) {
                skipSpace();
                if (open.empty()) return m_at == m_end;
                if (m_at == m_end) return false;
                const char c = *m_at++;
                if (c == ',') {
                    if (open.back() && !key()) return false;
                    break;
                }
                if (c == (open.back() ? '}' : ']')) {
                    if (!(open.back() ? m_sax.end_object() : m_sax.end_array())) return false;
                    open.pop_back();
                    continue;
                }
                return false;
            }
        }
    }

private:
    void skipSpace() {
        while (m_at != m_end && (*m_at == ' ' || *m_at == '\n' || *m_at == '\r' || *m_at == '\t'))
            ++m_at;
    }

    // A member's name and the colon after it.
    bool key() {
        skipSpace();
        if (m_at == m_end || *m_at != '"' || !string() || !m_sax.key(m_buffer)) return false;
        skipSpace();
        if (m_at == m_end || *m_at != ':') return false;
        ++m_at;
        return true;
    }

    bool literal(std::string_view word) {
        if (static_cast<std::size_t>(m_end - m_at) < word.size() ||
            std::string_view(m_at, word.size()) != word)
            return false;
        m_at += word.size();
        return true;
    }

    // An integer of at most 18 digits, which fits either reading; anything else is left to nlohmann.
    bool number() {
        const bool negative = *m_at == '-';
        if (negative) ++m_at;
        const char* digits = m_at;
        std::uint64_t value = 0;
        while (m_at != m_end && *m_at >= '0' && *m_at <= '9')
            value = value * 10 + static_cast<std::uint64_t>(*m_at++ - '0');
        const auto length = m_at - digits;
        if (length == 0 || length > 18 || (length > 1 && *digits == '0')) return false;
        if (m_at != m_end && (*m_at == '.' || *m_at == 'e' || *m_at == 'E')) return false;
        if (negative) return m_sax.number_integer(-static_cast<std::int64_t>(value));
        return m_sax.number_unsigned(value);
    }

    static bool within(unsigned char c, unsigned char low, unsigned char high) {
        return c >= low && c <= high;
    }

    // The length of the well-formed UTF-8 sequence starting at `at`, or 0.
    std::size_t sequence(const char* at) const {
        const auto available = static_cast<std::size_t>(m_end - at);
        const auto byte = [at](std::size_t i) { return static_cast<unsigned char>(at[i]); };
        const unsigned char lead = byte(0);
        if (within(lead, 0xC2, 0xDF)) return available >= 2 && within(byte(1), 0x80, 0xBF) ? 2 : 0;
        if (within(lead, 0xE0, 0xEF)) {
            const unsigned char low = lead == 0xE0 ? 0xA0 : 0x80;
            const unsigned char high = lead == 0xED ? 0x9F : 0xBF;
            return available >= 3 && within(byte(1), low, high) && within(byte(2), 0x80, 0xBF) ? 3 : 0;
        }
        if (within(lead, 0xF0, 0xF4)) {
            const unsigned char low = lead == 0xF0 ? 0x90 : 0x80;
            const unsigned char high = lead == 0xF4 ? 0x8F : 0xBF;
            return available >= 4 && within(byte(1), low, high) && within(byte(2), 0x80, 0xBF) &&
                           within(byte(3), 0x80, 0xBF)
                       ? 4
                       : 0;
        }
        return 0;
    }

    std::optional<std::uint32_t> unit() {
        if (m_end - m_at < 4) return std::nullopt;
        auto value = hexUnit(std::string_view(m_at, 4), 0);
        m_at += 4;
        return value;
    }

    void append(std::uint32_t c) {
        if (c < 0x80) {
            m_buffer += static_cast<char>(c);
        } else if (c < 0x800) {
            m_buffer += static_cast<char>(0xC0 | (c >> 6));
            m_buffer += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            m_buffer += static_cast<char>(0xE0 | (c >> 12));
            m_buffer += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            m_buffer += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            m_buffer += static_cast<char>(0xF0 | (c >> 18));
            m_buffer += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            m_buffer += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            m_buffer += static_cast<char>(0x80 | (c & 0x3F));
        }
    }

    // Steps over plain characters of a string (printable ASCII but the quote and the backslash)
    // eight at a time, stopping at or before the first character that needs a look.
    void skipPlain() {
        constexpr std::uint64_t ones = 0x0101010101010101;
        constexpr std::uint64_t highs = 0x8080808080808080;
        while (m_end - m_at >= 8) {
            std::uint64_t word;
            std::memcpy(&word, m_at, sizeof word);
            const std::uint64_t quotes = word ^ (ones * '"');
            const std::uint64_t backslashes = word ^ (ones * '\\');
            // A byte's high bit is set where it is zero (a quote or a backslash), below 0x20, or itself
            // at or above 0x80; false alarms only follow a true one.
            const std::uint64_t special = ((quotes - ones) & ~quotes) |
                                          ((backslashes - ones) & ~backslashes) | (word - ones * 0x20) | word;
            if (special & highs) return;
            m_at += 8;
        }
    }

    // A string, from its opening quote, decoded into the buffer.
    bool string() {
        ++m_at;
        m_buffer.clear();
        const char* run = m_at;
        for (;;) {
            skipPlain();
            if (m_at == m_end) return false;
            const auto c = static_cast<unsigned char>(*m_at);
            if (c == '"') {
                m_buffer.append(run, static_cast<std::size_t>(m_at - run));
                ++m_at;
                return true;
            }
            if (c < 0x20) return false;
            if (c < 0x80 && c != '\\') {
                ++m_at;
                continue;
            }
            if (c >= 0x80) {
                const std::size_t length = sequence(m_at);
                if (length == 0) return false;
                m_at += length;
                continue;
            }
            m_buffer.append(run, static_cast<std::size_t>(m_at - run));
            if (++m_at == m_end) return false;
            const char escape = *m_at++;
            switch (escape) {
            case '"':
            case '\\':
            case '/':
                m_buffer += escape;
                break;
            case 'b':
                m_buffer += '\b';
                break;
            case 'f':
                m_buffer += '\f';
                break;
            case 'n':
                m_buffer += '\n';
                break;
            case 'r':
                m_buffer += '\r';
                break;
            case 't':
                m_buffer += '\t';
                break;
            case 'u': {
                std::optional<std::uint32_t> first = unit();
                if (!first || isLowSurrogate(*first)) return false;
                std::uint32_t c32 = *first;
                if (isHighSurrogate(c32)) {
                    if (m_end - m_at < 2 || m_at[0] != '\\' || m_at[1] != 'u') return false;
                    m_at += 2;
                    std::optional<std::uint32_t> second = unit();
                    if (!second || !isLowSurrogate(*second)) return false;
                    c32 = 0x10000 + ((c32 - 0xD800) << 10) + (*second - 0xDC00);
                }
                append(c32);
                break;
            }
            default:
                return false;
            }
            run = m_at;
        }
    }

    const char* m_at;
    const char* m_end;
    Sax& m_sax;
    std::string m_buffer;
};

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
                            ? StrictReader<PayloadReader>(payload, reader).read()
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
        std::string valid;
        if (!text::isValidUtf8(payload)) valid = text::validUtf8(payload);
        std::optional<std::string> mended = withLoneSurrogatesMended(valid.empty() ? payload : valid);
        if (valid.empty() && !mended) return report;
        if (!readPayload(mended ? *mended : valid, report, result)) return report;
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
