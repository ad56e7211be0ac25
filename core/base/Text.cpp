#include "base/Text.h"

#include <memory>
#include <unicode/brkiter.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/utext.h>
#include <unicode/utf8.h>

namespace nimb::text {

namespace {

// Decodes one code point at `i`; ill-formed input yields a negative value and advances by one unit.
UChar32 next(std::string_view text, std::size_t& i) {
    UChar32 c;
    auto length = static_cast<int32_t>(text.size());
    auto index = static_cast<int32_t>(i);
    U8_NEXT(text.data(), index, length, c);
    i = static_cast<std::size_t>(index);
    return c;
}

bool isSpace(UChar32 c) {
    return c >= 0 && (u_isUWhiteSpace(c) || c == 0x85);
}

// A grapheme-cluster iterator positioned over `text`, reused across calls on this thread.
class Graphemes {
public:
    explicit Graphemes(std::string_view text) {
        UErrorCode status = U_ZERO_ERROR;
        m_text = utext_openUTF8(nullptr, text.data(), static_cast<int64_t>(text.size()), &status);
        iterator().setText(m_text, status);
        m_ok = U_SUCCESS(status);
    }
    ~Graphemes() { utext_close(m_text); }
    Graphemes(const Graphemes&) = delete;
    Graphemes& operator=(const Graphemes&) = delete;

    bool ok() const { return m_ok; }
    int32_t next() { return iterator().next(); }

private:
    static icu::BreakIterator& iterator() {
        thread_local std::unique_ptr<icu::BreakIterator> cached = [] {
            UErrorCode status = U_ZERO_ERROR;
            return std::unique_ptr<icu::BreakIterator>(
                icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
        }();
        return *cached;
    }

    UText* m_text = nullptr;
    bool m_ok = false;
};

// In ASCII every byte is its own cluster except CR LF, which is one.
bool isSimpleAscii(std::string_view text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80 || c == '\r') return false;
    }
    return true;
}

} // namespace

std::string_view trimmed(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t i = start;
        if (!isSpace(next(text, i))) break;
        start = i;
    }
    std::size_t end = text.size();
    while (end > start) {
        // Step back to the start of the previous code point.
        std::size_t begin = end - 1;
        while (begin > start && (static_cast<unsigned char>(text[begin]) & 0xC0) == 0x80)
            --begin;
        std::size_t i = begin;
        if (!isSpace(next(text, i)) || i != end) break;
        end = begin;
    }
    return text.substr(start, end - start);
}

bool isAscii(std::string_view text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

std::string asciiLowercased(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return result;
}

std::string lowercased(std::string_view text) {
    if (isAscii(text)) return asciiLowercased(text);
    auto unicode =
        icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
    unicode.toLower(icu::Locale::getRoot());
    std::string result;
    unicode.toUTF8String(result);
    return result;
}

std::size_t characterCount(std::string_view text) {
    if (isSimpleAscii(text)) return text.size();
    Graphemes graphemes(text);
    if (!graphemes.ok()) return text.size();
    std::size_t count = 0;
    while (graphemes.next() != icu::BreakIterator::DONE)
        ++count;
    return count;
}

std::string_view prefix(std::string_view text, std::size_t count) {
    if (isSimpleAscii(text)) return text.substr(0, count);
    if (count == 0) return {};
    Graphemes graphemes(text);
    if (!graphemes.ok()) return text.substr(0, count);
    std::size_t seen = 0;
    for (int32_t boundary = graphemes.next(); boundary != icu::BreakIterator::DONE;
         boundary = graphemes.next()) {
        if (++seen == count) return text.substr(0, static_cast<std::size_t>(boundary));
    }
    return text;
}

std::string_view dropPrefix(std::string_view text, std::size_t count) {
    return text.substr(prefix(text, count).size());
}

bool isValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            ++i;
            continue;
        }
        const std::size_t length = utf8SequenceLength(text.substr(i));
        if (length == 0) return false;
        i += length;
    }
    return true;
}

std::size_t utf8SequenceLength(std::string_view text) {
    const auto byte = [text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const auto within = [](unsigned char c, unsigned char low, unsigned char high) {
        return c >= low && c <= high;
    };
    if (text.empty()) return 0;
    const unsigned char lead = byte(0);
    if (lead < 0x80) return 1;
    // The second byte's range excludes overlong forms (after E0 and F0), surrogates (after ED) and
    // code points beyond U+10FFFF (after F4).
    if (within(lead, 0xC2, 0xDF)) return text.size() >= 2 && within(byte(1), 0x80, 0xBF) ? 2 : 0;
    if (within(lead, 0xE0, 0xEF)) {
        const unsigned char low = lead == 0xE0 ? 0xA0 : 0x80;
        const unsigned char high = lead == 0xED ? 0x9F : 0xBF;
        return text.size() >= 3 && within(byte(1), low, high) && within(byte(2), 0x80, 0xBF) ? 3 : 0;
    }
    if (within(lead, 0xF0, 0xF4)) {
        const unsigned char low = lead == 0xF0 ? 0x90 : 0x80;
        const unsigned char high = lead == 0xF4 ? 0x8F : 0xBF;
        return text.size() >= 4 && within(byte(1), low, high) && within(byte(2), 0x80, 0xBF) &&
                       within(byte(3), 0x80, 0xBF)
                   ? 4
                   : 0;
    }
    return 0;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string validUtf8(std::string_view text) {
    if (isValidUtf8(text)) return std::string(text);
    std::string result;
    result.reserve(text.size() + 8);
    for (std::size_t i = 0; i < text.size();) {
        std::size_t start = i;
        if (next(text, i) < 0)
            result += "\xEF\xBF\xBD";
        else
            result.append(text.substr(start, i - start));
    }
    return result;
}

std::vector<std::string_view> split(std::string_view text, char separator, bool keepEmpty) {
    std::vector<std::string_view> pieces;
    std::size_t start = 0;
    while (true) {
        std::size_t end = text.find(separator, start);
        std::string_view piece = text.substr(start, end == std::string_view::npos ? end : end - start);
        if (keepEmpty || !piece.empty()) pieces.push_back(piece);
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return pieces;
}

std::string_view lowered(std::string_view text, std::string& buffer) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (static_cast<unsigned char>(c) >= 0x80) {
            buffer = lowercased(text);
            return buffer;
        }
        if (c >= 'A' && c <= 'Z') {
            if (!isAscii(text.substr(i))) {
                buffer = lowercased(text);
                return buffer;
            }
            // ASCII lowers one byte at a time, into the buffer's own room.
            buffer.assign(text);
            for (std::size_t j = i; j < buffer.size(); ++j) {
                if (buffer[j] >= 'A' && buffer[j] <= 'Z')
                    buffer[j] = static_cast<char>(buffer[j] - 'A' + 'a');
            }
            return buffer;
        }
    }
    return text;
}

} // namespace nimb::text
