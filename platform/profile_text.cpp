// The private-profile layout in memory. Every edit is a splice into the
// original text, so the bytes the edit does not concern stay exactly as they
// were: comments, unknown sections, blank lines, spacing, line ends and a
// UTF-8 byte-order mark.
#include "platform/profile_text.hpp"

#include <algorithm>
#include <cstring>

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

std::string LowerCase(std::string_view name) {
    std::string lower(name);
    for (char& c : lower) c = AsciiLower(c);
    return lower;
}

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
    std::size_t end = begin;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
    if (end == text.size()) return {begin, text.size(), text.size()};
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

// Reads from the top of TEXT, or with INDEX from the first header of SECTION.
Place Locate(std::string_view text, std::string_view section, std::string_view key,
             const SectionIndex* index = nullptr) {
    section = Trim(section);
    key = Trim(key);
    Place place;
    const std::size_t start = index != nullptr ? index->Find(section) : ContentStart(text);
    for (std::size_t at = start; at < text.size();) {
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

SectionIndex::SectionIndex(std::string_view text) {
    // Every line is looked at, so the line ends are found with memchr, CR and
    // LF each on its own run through the text.
    const char* const data = text.data();
    const std::size_t size = text.size();
    auto next = [&](char c, std::size_t from) {
        const void* found = from < size ? std::memchr(data + from, c, size - from) : nullptr;
        return found != nullptr ? static_cast<std::size_t>(static_cast<const char*>(found) - data) : size;
    };
    std::size_t cr = next('\r', 0), lf = next('\n', 0);
    for (std::size_t at = ContentStart(text); at < size;) {
        if (cr < at) cr = next('\r', at);
        if (lf < at) lf = next('\n', at);
        const std::size_t end = std::min(cr, lf);
        std::size_t first = at;
        while (first < end && IsBlank(data[first])) ++first;
        if (first < end && data[first] == '[')
            if (const auto name = SectionName(Trim(text.substr(at, end - at)))) Add(at, *name);
        at = end == size ? size : end + (data[end] == '\r' && end + 1 < size && data[end + 1] == '\n' ? 2 : 1);
    }
}

std::size_t SectionIndex::Find(std::string_view name) const {
    const auto found = first_.find(LowerCase(Trim(name)));
    return found == first_.end() ? std::string_view::npos : headers_[found->second];
}

void SectionIndex::Shift(std::size_t from, std::ptrdiff_t delta) {
    for (auto header = std::lower_bound(headers_.begin(), headers_.end(), from); header != headers_.end(); ++header)
        *header = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(*header) + delta);
}

void SectionIndex::Add(std::size_t header, std::string_view name) {
    first_.try_emplace(LowerCase(name), headers_.size());
    headers_.push_back(header);
}

std::optional<std::string> FindValue(std::string_view text, std::string_view section, std::string_view key) {
    const Place place = Locate(text, section, key);
    if (!place.keyLine) return std::nullopt;
    return std::string(place.value);
}

std::optional<std::string> FindValue(std::string_view text, const SectionIndex& index, std::string_view section,
                                     std::string_view key) {
    const Place place = Locate(text, section, key, &index);
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

namespace {

bool HoldsLineEnd(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

bool ReadsAsHeader(std::string_view line) { return SectionName(Trim(line)).has_value(); }

Edit PlanAt(std::string_view text, const Place& place, std::string_view section, std::string_view key,
            std::string_view value) {
    Edit edit;
    if (place.keyLine) {
        edit.at = place.keyLine->begin;
        edit.removed = place.keyLine->end - place.keyLine->begin;
        edit.inserted.append(place.keyName).append("=").append(value);  // the line keeps its own line end
        edit.reshapes = ReadsAsHeader(edit.inserted);
    } else if (place.section) {
        const Line& after = place.lastOfSection;
        edit.at = after.next;
        if (!after.HasLineEnd()) edit.inserted.append(LineEndStyle(text));
        const std::size_t keyLine = edit.inserted.size();
        edit.inserted.append(key).append("=").append(value);
        edit.reshapes = ReadsAsHeader(std::string_view(edit.inserted).substr(keyLine));
        edit.inserted.append(LineEndStyle(text));
    } else {
        const std::string_view lineEnd = LineEndStyle(text);
        edit.at = text.size();
        const bool endsLine = text.ends_with('\n') || text.ends_with('\r');
        if (text.size() > ContentStart(text) && !endsLine) edit.inserted.append(lineEnd);
        edit.newHeader = edit.inserted.size();
        edit.inserted.append("[").append(section).append("]");
        const std::optional<std::string_view> name = SectionName(Trim(std::string_view(edit.inserted).substr(*edit.newHeader)));
        edit.newSectionName = name ? std::string(*name) : std::string();
        edit.inserted.append(lineEnd);
        const std::size_t keyLine = edit.inserted.size();
        edit.inserted.append(key).append("=").append(value);
        edit.reshapes = !name || *name != Trim(section) ||
                        ReadsAsHeader(std::string_view(edit.inserted).substr(keyLine));
        edit.inserted.append(lineEnd);
    }
    edit.reshapes = edit.reshapes || HoldsLineEnd(section) || HoldsLineEnd(key) || HoldsLineEnd(value);
    return edit;
}

}  // namespace

std::optional<std::string> SetValue(std::string_view text, std::string_view section, std::string_view key,
                                    std::string_view value) {
    const Place place = Locate(text, section, key);
    if (place.keyLine && place.value == value) return std::nullopt;
    const Edit edit = PlanAt(text, place, section, key, value);
    std::string result;
    result.reserve(text.size() + edit.inserted.size());
    result.append(text.substr(0, edit.at)).append(edit.inserted).append(text.substr(edit.at + edit.removed));
    return result;
}

std::optional<Edit> PlanSetValue(std::string_view text, const SectionIndex& index, std::string_view section,
                                 std::string_view key, std::string_view value) {
    const Place place = Locate(text, section, key, &index);
    if (place.keyLine && place.value == value) return std::nullopt;
    return PlanAt(text, place, section, key, value);
}

void ApplyEdit(std::string& text, SectionIndex& index, const Edit& edit) {
    text.replace(edit.at, edit.removed, edit.inserted);
    if (edit.reshapes) {
        index = SectionIndex(text);
        return;
    }
    // No header lies inside the bytes replaced: every header from their end on moves.
    index.Shift(edit.at + edit.removed, static_cast<std::ptrdiff_t>(edit.inserted.size()) -
                                            static_cast<std::ptrdiff_t>(edit.removed));
    if (edit.newHeader) index.Add(edit.at + *edit.newHeader, edit.newSectionName);
}

}  // namespace profile
