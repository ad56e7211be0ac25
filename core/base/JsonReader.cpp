#include "base/JsonReader.h"

#include "base/Text.h"

#include <array>
#include <bit>
#include <cstring>

namespace nimb {

namespace {

// The four hexadecimal digits at `at`, as a UTF-16 code unit.
std::optional<char32_t> hexUnit(std::string_view text, std::size_t at) {
    if (at + 4 > text.size()) return std::nullopt;
    char32_t unit = 0;
    for (std::size_t i = at; i < at + 4; ++i) {
        const char c = text[i];
        unit <<= 4;
        if (c >= '0' && c <= '9')
            unit |= static_cast<char32_t>(c - '0');
        else if (c >= 'a' && c <= 'f')
            unit |= static_cast<char32_t>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            unit |= static_cast<char32_t>(c - 'A' + 10);
        else
            return std::nullopt;
    }
    return unit;
}

// What each one-character escape stands for; 0 for a character that makes no such escape.
constexpr std::array<char, 128> unescaped = [] {
    std::array<char, 128> table{};
    table['"'] = '"';
    table['\\'] = '\\';
    table['/'] = '/';
    table['b'] = '\b';
    table['f'] = '\f';
    table['n'] = '\n';
    table['r'] = '\r';
    table['t'] = '\t';
    return table;
}();

bool isHighSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(char32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Steps over plain characters of a string (printable ASCII but the quote and the backslash) eight at
// a time, stopping at the first character that needs a look, or before it in the last seven bytes.
const char* pastPlainText(const char* at, const char* end) {
    constexpr std::uint64_t ones = 0x0101010101010101;
    constexpr std::uint64_t highs = 0x8080808080808080;
    while (end - at >= 8) {
        std::uint64_t word;
        std::memcpy(&word, at, sizeof word);
        const std::uint64_t quotes = word ^ (ones * '"');
        const std::uint64_t backslashes = word ^ (ones * '\\');
        // A byte's high bit is set where it is zero (a quote or a backslash), below 0x20, or itself at
        // or above 0x80; a borrow can raise a false alarm, but only in a byte after a true one.
        const std::uint64_t special = (((quotes - ones) & ~quotes) | ((backslashes - ones) & ~backslashes) |
                                       (word - ones * 0x20) | word) &
                                      highs;
        if (special) {
            // On a little-endian machine the lowest byte is the first, so its alarm is a true one.
            if constexpr (std::endian::native == std::endian::little) at += std::countr_zero(special) / 8;
            return at;
        }
        at += 8;
    }
    return at;
}

// The text with every \u escape of half a surrogate pair replaced by "\ufffd"; none when there is
// none.
std::optional<std::string> withLoneSurrogatesMended(std::string_view text) {
    bool suspect = false;
    for (auto at = text.find("\\u"); at != std::string_view::npos; at = text.find("\\u", at + 2)) {
        if (at + 2 < text.size() && (text[at + 2] == 'd' || text[at + 2] == 'D')) {
            suspect = true;
            break;
        }
    }
    if (!suspect) return std::nullopt;

    std::string mended;
    mended.reserve(text.size());
    bool changed = false;
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] != '\\' || i + 1 >= text.size()) {
            mended += text[i++];
            continue;
        }
        auto unit = text[i + 1] == 'u' ? hexUnit(text, i + 2) : std::nullopt;
        if (!unit) { // any other escape, an escaped backslash among them, passes whole
            mended.append(text.substr(i, 2));
            i += 2;
            continue;
        }
        if (isHighSurrogate(*unit) && i + 7 < text.size() && text[i + 6] == '\\' && text[i + 7] == 'u') {
            if (auto low = hexUnit(text, i + 8); low && isLowSurrogate(*low)) {
                mended.append(text.substr(i, 12));
                i += 12;
                continue;
            }
        }
        if (isHighSurrogate(*unit) || isLowSurrogate(*unit)) {
            mended += "\\ufffd";
            changed = true;
        } else {
            mended.append(text.substr(i, 6));
        }
        i += 6;
    }
    if (!changed) return std::nullopt;
    return mended;
}

} // namespace

std::optional<std::string> JsonReader::mended(std::string_view text) {
    if (text::isValidUtf8(text)) return withLoneSurrogatesMended(text);
    std::string valid = text::validUtf8(text);
    if (std::optional<std::string> mended = withLoneSurrogatesMended(valid)) return mended;
    return valid;
}

bool JsonReader::literal(std::string_view word) {
    if (static_cast<std::size_t>(m_end - m_at) < word.size() || std::string_view(m_at, word.size()) != word)
        return false;
    m_at += word.size();
    return true;
}

// An integer of at most 18 digits, which fits either reading exactly; anything else is nlohmann's.
bool JsonReader::number(Number& number) {
    number.negative = *m_at == '-';
    if (number.negative) ++m_at;
    const char* digits = m_at;
    std::uint64_t value = 0;
    for (; m_at != m_end && *m_at >= '0' && *m_at <= '9'; ++m_at) {
        if (m_at - digits == 18) return false;
        value = value * 10 + static_cast<std::uint64_t>(*m_at - '0');
    }
    const auto length = m_at - digits;
    if (length == 0 || (length > 1 && *digits == '0')) return false;
    if (m_at != m_end && (*m_at == '.' || *m_at == 'e' || *m_at == 'E')) return false;
    number.magnitude = value;
    return true;
}

bool JsonReader::string(bool decode) {
    ++m_at;
    if (decode) m_buffer.clear();
    const char* run = m_at; // plain text not yet in the buffer
    for (;;) {
        m_at = pastPlainText(m_at, m_end);
        if (m_at == m_end) return false;
        const auto c = static_cast<unsigned char>(*m_at);
        if (c == '"') {
            if (decode) m_buffer.append(run, static_cast<std::size_t>(m_at - run));
            ++m_at;
            return true;
        }
        if (c < 0x20) return false;
        if (c != '\\') {
            const std::size_t length =
                c < 0x80 ? 1 : text::utf8SequenceLength({m_at, static_cast<std::size_t>(m_end - m_at)});
            if (length == 0) return false;
            m_at += length;
            continue;
        }
        if (decode) m_buffer.append(run, static_cast<std::size_t>(m_at - run));
        const auto kind = m_end - m_at >= 2 ? static_cast<unsigned char>(m_at[1]) : 0;
        if (const char plain = kind < 0x80 ? unescaped[kind] : 0) {
            if (decode) m_buffer += plain;
            m_at += 2;
        } else if (!unicodeEscape(decode)) {
            return false;
        }
        run = m_at;
    }
}

bool JsonReader::unicodeEscape(bool decode) {
    if (m_end - m_at < 2 || m_at[1] != 'u') return false;
    m_at += 2;
    const std::string_view rest(m_at, static_cast<std::size_t>(m_end - m_at));
    const std::optional<char32_t> first = hexUnit(rest, 0);
    if (!first || isLowSurrogate(*first)) return false;
    m_at += 4;
    char32_t c = *first;
    if (isHighSurrogate(c)) {
        const std::optional<char32_t> second =
            rest.size() >= 6 && rest[4] == '\\' && rest[5] == 'u' ? hexUnit(rest, 6) : std::nullopt;
        if (!second || !isLowSurrogate(*second)) return false;
        m_at += 6;
        c = 0x10000 + ((c - 0xD800) << 10) + (*second - 0xDC00);
    }
    if (decode) text::appendUtf8(m_buffer, c);
    return true;
}

} // namespace nimb
