#pragma once

// The one strict reader of JSON in core. It walks text that is plainly well-formed JSON and hands a
// handler exactly the events nlohmann's SAX parser would hand it for that text (null, boolean,
// number_integer, number_unsigned, string, start_object, key, end_object, start_array, end_array,
// with nlohmann's signatures), so that one handler serves both readers. It reads only what it reads
// exactly as nlohmann's reader does; anything else (a number with a fraction or an exponent or of
// more than 18 digits, an escaped half of a surrogate pair, ill-formed UTF-8, a control character in
// a string, a byte-order mark, a comment, anything after the value, text longer than the caller's
// size limit, containers nested deeper than its depth limit) it declines, and the caller reads the
// text with nlohmann's reader, which decides. So the two readings never differ.
//
// It never recurses, keeps only the containers it is inside and the string it is decoding, and lets
// no exception out.
//
// A handler that also has `bool skipsContents()` is asked it after each start_object and start_array
// it accepts. When it answers true, the reader passes over that container's contents, still checking
// every byte of them, without decoding any or handing over their events, and then hands over the
// container's end: this is how a handler skips a value it does not read.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace nimb {

class JsonReader {
public:
    struct Limits {
        std::size_t bytes; // a longer text is declined
        std::size_t depth; // so is a container nested deeper (one at the top is at depth 1)
    };

    // Reads `text`, handing `handler` its events. Whether it read the whole text: false when it
    // declined the text, which is then nlohmann's to read, or when the handler answered false to an
    // event.
    template <class Handler>
    [[nodiscard]] static bool read(std::string_view text, Limits limits, Handler& handler);

    // The text with every ill-formed UTF-8 sequence replaced by U+FFFD, and every \u escape of half a
    // surrogate pair by "\ufffd"; none when it has neither. JSON.stringify writes a string holding
    // half a pair that way, and no strict reader of JSON takes it.
    [[nodiscard]] static std::optional<std::string> mended(std::string_view text);

private:
    struct Number {
        std::uint64_t magnitude = 0;
        bool negative = false;
    };

    static constexpr std::size_t unknownSize = static_cast<std::size_t>(-1);
    static constexpr std::size_t nowhere = static_cast<std::size_t>(-1);

    JsonReader(std::string_view text, Limits limits)
        : m_at(text.data()), m_end(text.data() + text.size()), m_limits(limits) {}

    // Whether the whole text was read.
    template <class Handler>
    bool walk(Handler& handler);
    // A member's name, from the white space before it to the colon after it.
    template <class Handler>
    bool key(Handler& handler);
    // The end of the innermost open container, just read.
    template <class Handler>
    bool close(Handler& handler);

    // Whether the values at the current depth are passed over.
    bool quiet() const { return m_open.size() >= m_quietFrom; }
    void skipSpace() {
        while (m_at != m_end && (*m_at == ' ' || *m_at == '\n' || *m_at == '\r' || *m_at == '\t'))
            ++m_at;
    }
    bool literal(std::string_view word);
    bool number(Number& number);
    // A string from its opening quote, decoded into the buffer when `decode`, otherwise only checked.
    bool string(bool decode);
    // A \u escape in a string (or two, for a surrogate pair), from its backslash.
    bool unicodeEscape(bool decode);

    const char* m_at;
    const char* m_end;
    Limits m_limits;
    std::string m_buffer;
    std::string m_open;                // the closing bracket of each container the reader is inside
    std::size_t m_quietFrom = nowhere; // the depth from which values are passed over
};

template <class Handler>
bool JsonReader::read(std::string_view text, Limits limits, Handler& handler) {
    if (text.size() > limits.bytes) return false;
    try {
        return JsonReader(text, limits).walk(handler);
    } catch (...) {
        return false;
    }
}

template <class Handler>
bool JsonReader::walk(Handler& handler) {
    for (;;) {
        // A value.
        skipSpace();
        if (m_at == m_end) return false;
        const bool passed = quiet();
        switch (*m_at) {
        case '{':
        case '[': {
            const bool object = *m_at++ == '{';
            if (m_open.size() >= m_limits.depth) return false;
            if (!passed) {
                if (!(object ? handler.start_object(unknownSize) : handler.start_array(unknownSize)))
                    return false;
                if constexpr (requires { handler.skipsContents(); }) {
                    if (handler.skipsContents()) m_quietFrom = m_open.size() + 1;
                }
            }
            m_open += object ? '}' : ']';
            skipSpace();
            if (m_at != m_end && *m_at == m_open.back()) {
                ++m_at;
                if (!close(handler)) return false;
                break;
            }
            if (object && !key(handler)) return false;
            continue;
        }
        case '"':
            if (!string(!passed) || (!passed && !handler.string(m_buffer))) return false;
            break;
        case 't':
            if (!literal("true") || (!passed && !handler.boolean(true))) return false;
            break;
        case 'f':
            if (!literal("false") || (!passed && !handler.boolean(false))) return false;
            break;
        case 'n':
            if (!literal("null") || (!passed && !handler.null())) return false;
            break;
        default: {
            Number value;
            if (!number(value)) return false;
            if (!passed &&
                !(value.negative ? handler.number_integer(-static_cast<std::int64_t>(value.magnitude))
                                 : handler.number_unsigned(value.magnitude)))
                return false;
            break;
        }
        }

        // After a value: the next member or element, or the ends of containers.
        for (;;) {
            skipSpace();
            if (m_open.empty()) return m_at == m_end;
            if (m_at == m_end) return false;
            const char c = *m_at++;
            if (c == ',') {
                if (m_open.back() == '}' && !key(handler)) return false;
                break;
            }
            if (c != m_open.back() || !close(handler)) return false;
        }
    }
}

template <class Handler>
bool JsonReader::key(Handler& handler) {
    skipSpace();
    if (m_at == m_end || *m_at != '"') return false;
    const bool passed = quiet();
    if (!string(!passed) || (!passed && !handler.key(m_buffer))) return false;
    skipSpace();
    if (m_at == m_end || *m_at != ':') return false;
    ++m_at;
    return true;
}

template <class Handler>
bool JsonReader::close(Handler& handler) {
    const bool object = m_open.back() == '}';
    m_open.pop_back();
    if (quiet()) return true; // the container itself is passed over
    // Passing over, if it was this container's contents, is done.
    m_quietFrom = nowhere;
    return object ? handler.end_object() : handler.end_array();
}

} // namespace nimb
