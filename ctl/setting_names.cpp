#include "ctl/setting_names.hpp"

#include <algorithm>
#include <array>
#include <charconv>

#include "layout/layout_specs.hpp"

namespace {

// A word a person types, and the value it stores.
struct Word {
    const char* text;
    std::int32_t stored;
};

// What each kind of value takes: two words, in the order they are offered, or
// numbers named NOUN, typed from LOW to HIGH and stored less OFFSET (a
// layout's: the tile counts of the eight layouts).
struct Vocabulary {
    ValueKind kind;
    std::array<Word, 2> words;
    const char* noun;
    std::int32_t low, high, offset;
};

constexpr Vocabulary kVocabularies[] = {
    {ValueKind::Standard, {{{"ntsc", 0}, {"pal", 1}}}, nullptr, 0, 0, 0},
    {ValueKind::Layout, {}, "a layout's tile count", 0, 0, 0},
    {ValueKind::Camera, {}, "a camera", 1, kChannelCount, 1},
    {ValueKind::OnOff, {{{"on", 1}, {"off", 0}}}, nullptr, 0, 0, 0},
    {ValueKind::Level, {}, "a level", 0, 255, 0},
};

const Vocabulary& VocabularyOf(ValueKind kind) {
    return *std::find_if(std::begin(kVocabularies), std::end(kVocabularies),
                         [kind](const Vocabulary& vocabulary) { return vocabulary.kind == kind; });
}

bool HasWords(const Vocabulary& vocabulary) { return vocabulary.noun == nullptr; }

// Every group of keys is listed once, so every key of the table is.
constexpr bool EveryGroupListedOnce() {
    for (int group = 0; group <= static_cast<int>(KeyGroup::ShowPanel); ++group) {
        int times = 0;
        for (const ListedGroup& entry : kListedGroups) times += static_cast<int>(entry.group) == group ? 1 : 0;
        if (times != 1) return false;
    }
    return true;
}
static_assert(EveryGroupListedOnce(), "korvane16-ctl lists each group of keys once");

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

// A plain decimal number as a person types it: digits only, no sign or blanks.
std::optional<int> Decimal(std::string_view text) {
    if (text.empty() || text.size() > 9 || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    int value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

bool IsLayoutCode(std::int64_t code) {
    return std::any_of(kLayouts.begin(), kLayouts.end(), [code](const LayoutSpec& layout) { return layout.code == code; });
}

}  // namespace

const NamedSetting* FindSetting(std::string_view name) {
    for (const NamedSetting& setting : AllSettings())
        if (SameIgnoringCase(setting.name, name)) return &setting;
    return nullptr;
}

std::string ShowValue(ValueKind kind, std::int32_t stored) {
    const Vocabulary& vocabulary = VocabularyOf(kind);
    // Any standard but NTSC's 0 is PAL.
    const std::int32_t meant = kind == ValueKind::Standard && stored != 0 ? 1 : stored;
    if (HasWords(vocabulary))
        for (const Word& word : vocabulary.words)
            if (word.stored == meant) return word.text;
    return std::to_string(static_cast<std::int64_t>(stored) + vocabulary.offset);
}

std::optional<std::int32_t> StoredValue(ValueKind kind, std::string_view typed) {
    const Vocabulary& vocabulary = VocabularyOf(kind);
    if (HasWords(vocabulary)) {
        for (const Word& word : vocabulary.words)
            if (SameIgnoringCase(typed, word.text)) return word.stored;
        return std::nullopt;
    }
    const std::optional<int> number = Decimal(typed);
    if (!number) return std::nullopt;
    const bool taken = kind == ValueKind::Layout ? IsLayoutCode(*number)
                                                 : *number >= vocabulary.low && *number <= vocabulary.high;
    if (!taken) return std::nullopt;
    return *number - vocabulary.offset;
}

std::vector<std::string> Choices(ValueKind kind) {
    std::vector<std::string> choices;
    const Vocabulary& vocabulary = VocabularyOf(kind);
    if (HasWords(vocabulary))
        for (const Word& word : vocabulary.words) choices.emplace_back(word.text);
    if (kind == ValueKind::Layout)
        for (const LayoutSpec& layout : kLayouts) choices.push_back(std::to_string(layout.code));
    return choices;
}

std::pair<std::int32_t, std::int32_t> TypedRange(ValueKind kind) {
    return {VocabularyOf(kind).low, VocabularyOf(kind).high};
}

std::string AcceptedValues(ValueKind kind) {
    const Vocabulary& vocabulary = VocabularyOf(kind);
    if (HasWords(vocabulary)) return Joined(Choices(kind), " or ");
    if (kind == ValueKind::Layout) return std::string(vocabulary.noun) + ": " + Joined(Choices(kind), ", ");
    return std::string(vocabulary.noun) + " from " + std::to_string(vocabulary.low) + " to " +
           std::to_string(vocabulary.high);
}

std::string Joined(const std::vector<std::string>& parts, const char* separator) {
    std::string joined;
    for (const std::string& part : parts) joined.append(joined.empty() ? "" : separator).append(part);
    return joined;
}
