// The private-profile layout in memory. Every edit is a splice into the
// original text, so the bytes the edit does not concern stay exactly as they
// were: comments, unknown sections, blank lines, spacing, line ends and a
// UTF-8 byte-order mark.
#include "platform/profile_text.hpp"

namespace profile {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    return true;
}

// One line of a text: its content is [begin, end), without the line end; the
// next line starts at NEXT. A line ends at CR LF, LF or a CR alone, as the
// Windows reader splits lines. A last line without a line end has end == next.
struct Line {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::size_t next = 0;

    bool HasLineEnd() const { return next > end; }
};

Line LineAt(std::string_view text, std::size_t begin) {
    const std::size_t end = text.find_first_of("\r\n", begin);
    if (end == std::string_view::npos) return {begin, text.size(), text.size()};
    const bool pair = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
    return {begin, end, end + (pair ? 2 : 1)};
}

std::size_t ContentStart(std::string_view text) {
    return text.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
}

// The line end new lines get: the one the text's first line ends with, LF for
// a text without any.
std::string_view LineEndStyle(std::string_view text) {
    const Line first = LineAt(text, ContentStart(text));
    const std::string_view lineEnd = text.substr(first.end, first.next - first.end);
    return lineEnd.empty() ? "\n" : lineEnd;
}

// The name of a section header line, or nullopt for any other line: what
// stands between the opening bracket and the last closing one, blanks ignored
// ("[A]]" names "A]", "[A] ; note" names "A").
std::optional<std::string_view> SectionName(std::string_view content) {
    if (!content.starts_with('[')) return std::nullopt;
    const std::size_t close = content.rfind(']');
    if (close == std::string_view::npos) return std::nullopt;
    return Trim(content.substr(1, close - 1));
}

// Where a key stands, or would go, in a text.
struct Place {
    std::optional<Line> section;    // header of the first section of that name
    std::optional<Line> keyLine;    // first entry of the key in that section
    std::string_view keyName;       // the key's name as spelled in the file
    std::string_view value;         // the key's value, blanks around it removed
    Line lastOfSection;             // header or last entry: a new key goes after it
};

Place Locate(std::string_view text, std::string_view section, std::string_view key) {
    section = Trim(section);
    key = Trim(key);
    Place place;
    for (std::size_t at = ContentStart(text); at < text.size();) {
        const Line line = LineAt(text, at);
        at = line.next;
        const std::string_view content = Trim(text.substr(line.begin, line.end - line.begin));
        if (const auto name = SectionName(content)) {
            if (place.section) break;  // only the first section of the name counts
            if (SameName(*name, section)) place.section = place.lastOfSection = line;
            continue;
        }
        if (!place.section || content.empty()) continue;
        // A line without "=" is an entry too: its whole text names a key
        // without a value, which reads as the key's default.
        place.lastOfSection = line;
        const std::size_t equals = content.find('=');
        const std::string_view name = Trim(content.substr(0, equals));
        if (SameName(name, key)) {
            place.keyLine = line;
            place.keyName = name;
            place.value = equals == std::string_view::npos ? "" : Trim(content.substr(equals + 1));
            break;
        }
    }
    return place;
}

// The value of C as a digit, or 99 when it is none.
unsigned DigitValue(char c) {
    if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0');
    if (c >= 'a' && c <= 'z') return static_cast<unsigned>(c - 'a') + 10u;
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned>(c - 'A') + 10u;
    return 99u;
}

// The characters the integer read looks at. It copies the value into a buffer
// of 30 characters (29 and the terminator). A value in a pair of matching
// quotes is copied from after the opening quote, and when that rest fitted
// the buffer, its last character goes: the closing quote, except for a quoted
// text of exactly 29 characters, which loses its own last character instead.
std::string_view IntegerReadChars(std::string_view value) {
    constexpr std::size_t kBuffer = 30;
    const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                        value.back() == value.front();
    if (!quoted) return value.substr(0, kBuffer - 1);
    const std::string_view rest = value.substr(1);
    std::string_view copied = rest.substr(0, kBuffer - 1);
    if (rest.size() <= kBuffer) copied.remove_suffix(1);
    return copied;
}

}  // namespace

std::optional<std::string> FindValue(std::string_view text, std::string_view section, std::string_view key) {
    const Place place = Locate(text, section, key);
    if (!place.keyLine) return std::nullopt;
    return std::string(place.value);
}

std::int32_t ParseInt(std::string_view value, std::int32_t defaultValue) {
    value = IntegerReadChars(value);
    if (value.empty()) return defaultValue;

    while (!value.empty() && static_cast<unsigned char>(value.front()) <= ' ') value.remove_prefix(1);
    bool negative = false;
    if (!value.empty() && (value.front() == '+' || value.front() == '-')) {
        negative = value.front() == '-';
        value.remove_prefix(1);
    }
    unsigned base = 10;
    for (const auto& [prefix, prefixBase] : {std::pair{"0b", 2u}, std::pair{"0o", 8u}, std::pair{"0x", 16u}}) {
        if (value.starts_with(prefix)) {
            base = prefixBase;
            value.remove_prefix(2);
            break;  // one prefix only: "0b0x1" is binary 0 followed by text
        }
    }
    // Unsigned arithmetic wraps modulo 2^32 without undefined behaviour, as the
    // Windows reading does for values that do not fit.
    std::uint32_t magnitude = 0;
    for (; !value.empty() && DigitValue(value.front()) < base; value.remove_prefix(1))
        magnitude = magnitude * base + DigitValue(value.front());
    if (negative) magnitude = 0u - magnitude;
    return static_cast<std::int32_t>(magnitude);
}

std::optional<std::string> SetValue(std::string_view text, std::string_view section, std::string_view key,
                                    std::string_view value) {
    const Place place = Locate(text, section, key);
    std::string result;
    result.reserve(text.size() + section.size() + key.size() + value.size() + 8);

    if (place.keyLine) {
        if (place.value == value) return std::nullopt;
        result.append(text.substr(0, place.keyLine->begin));
        result.append(place.keyName).append("=").append(value);
        result.append(text.substr(place.keyLine->end));  // the line keeps its own line end
        return result;
    }

    const std::string_view lineEnd = LineEndStyle(text);
    if (place.section) {
        const Line& after = place.lastOfSection;
        result.append(text.substr(0, after.next));
        if (!after.HasLineEnd()) result.append(lineEnd);
        result.append(key).append("=").append(value).append(lineEnd);
        result.append(text.substr(after.next));
        return result;
    }

    result.append(text);
    const bool endsLine = text.ends_with('\n') || text.ends_with('\r');
    if (text.size() > ContentStart(text) && !endsLine) result.append(lineEnd);
    result.append("[").append(section).append("]").append(lineEnd);
    result.append(key).append("=").append(value).append(lineEnd);
    return result;
}

}  // namespace profile
