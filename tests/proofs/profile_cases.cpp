// The generator draws every line from a few shapes with small pools of section
// and key names, so the queries find their keys often, and duplicate sections
// and keys, odd brackets, comments, blanks and every line-end style turn up
// in many combinations.
#include "tests/proofs/profile_cases.hpp"

#include <fstream>
#include <initializer_list>
#include <random>
#include <vector>

namespace {

constexpr std::string_view kSections[] = {"General", "Format", "Camera", "Attribute1", "Attribute16"};
constexpr std::string_view kKeys[] = {"DIV", "PAL", "Camera1", "Position0", "Brightness", "HUE", "SetParameter"};
constexpr int kQueriesPerFile = 6;
constexpr int kEditsPerFile = 3;

class Draw {
public:
    explicit Draw(std::uint32_t seed) : random_(seed) {}

    int Below(int limit) { return std::uniform_int_distribution<int>(0, limit - 1)(random_); }
    bool Chance(int percent) { return Below(100) < percent; }

    template <typename T, std::size_t N>
    const T& From(const T (&items)[N]) {
        return items[static_cast<std::size_t>(Below(static_cast<int>(N)))];
    }
    std::string_view From(std::initializer_list<std::string_view> items) {
        return items.begin()[Below(static_cast<int>(items.size()))];
    }

    // NAME in a random letter case now and then.
    std::string Spelling(std::string_view name) {
        std::string spelled(name);
        if (!Chance(30)) return spelled;
        for (char& c : spelled) {
            if (Chance(50)) continue;
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
            else if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        }
        return spelled;
    }

    std::string Blanks() {
        std::string blanks;
        for (int n = Chance(70) ? 0 : 1 + Below(3); n > 0; --n) blanks += From({" ", "\t", " ", "\v", "\f"});
        return blanks;
    }

    std::string Digits() {
        constexpr std::string_view kAlphabets[] = {"0123456789", "0123456789", "01", "01234567",
                                                  "0123456789abcdefABCDEF", "0123456789xobXOB"};
        const std::string_view alphabet = From(kAlphabets);
        int count = 1 + Below(10);
        if (Chance(10)) count = 11 + Below(30);  // runs long enough to wrap and to be cut short
        if (Chance(8)) count = 0;
        std::string digits;
        for (int i = 0; i < count; ++i) digits += alphabet[static_cast<std::size_t>(Below(int(alphabet.size())))];
        return digits;
    }

    // A value as an operator or another program might have typed it.
    std::string Value() {
        if (Chance(4)) return "";
        if (Chance(3)) return Blanks() + " ";
        std::string inner = Chance(10) ? std::string(From({" ", "\x01", "\v", "  "})) : "";
        if (Chance(35)) inner += From({"-", "+", "-", "+-", "--", "- ", "+ "});
        if (Chance(35)) inner += From({"0x", "0b", "0o", "0X", "0B", "0O", "0x", "0b0x", "0o0x", "0x0b", "00x"});
        inner += Digits();
        if (Chance(20)) inner += From({"abc", " 2", "x", ".5", "e3", " ", "\t7", "\xA0", "\xB2", "\xE9"});
        if (Chance(5)) inner = std::string(From({"\xA0", "\xB2", "\xC2\xA0", "\xEF\xBC\x95"})) + inner;
        std::string value = inner;
        if (Chance(20)) {
            const std::string_view quote = From({"\"", "'"});
            const int form = Below(10);
            if (form < 7) value = std::string(quote) + inner + std::string(quote);
            else if (form < 8) value = std::string(quote) + inner;
            else if (form < 9) value = inner + std::string(quote);
            else value = std::string(quote) + inner + (quote == "'" ? "\"" : "'");
        }
        return value;
    }

    std::string SectionLine() {
        const std::string name = Spelling(From(kSections));
        switch (Below(12)) {
            case 0: return " [" + name + "] ";
            case 1: return "[ " + name + "\t]";
            case 2: return "[" + name + "]junk";
            case 3: return "[" + name;
            case 4: return "[" + name + "]]";
            case 5: return "[" + name + "] ; note";
            case 6: return "\t[" + name + "]";
            case 7: return "[" + name + "]x]";
            default: return "[" + name + "]";
        }
    }

    std::string KeyLine() {
        const std::string key = Spelling(From(kKeys));
        const std::string_view equals = From({"=", "=", "=", " = ", "==", "\t="});
        return Blanks() + key + Blanks() + std::string(equals) + Blanks() + Value() + Blanks();
    }

    std::string Line() {
        const int shape = Below(100);
        if (shape < 25) return SectionLine();
        if (shape < 80) return KeyLine();
        if (shape < 85) return std::string(From({";", "#", "//"})) + KeyLine();
        if (shape < 90) return Blanks();
        if (shape < 95) return Spelling(From(kKeys)) + Blanks();
        return std::string(From({"junk", "= 5", "[", "]", "[]"}));
    }

    std::string LineEnd(std::string_view style) {
        if (style != "mixed") return std::string(style);
        return std::string(From({"\n", "\r\n", "\r", "\n\r"}));
    }

    std::string FileText() {
        const std::string_view style = From({"\n", "\r\n", "\r", "mixed"});
        std::string text = Chance(20) ? "\xEF\xBB\xBF" : "";
        const int lines = 1 + Below(12);
        for (int i = 0; i < lines; ++i) {
            text += Line();
            if (i + 1 < lines || Chance(80)) text += LineEnd(style);
        }
        return text;
    }

    std::int32_t Default() {
        switch (Below(5)) {
            case 0: return 0;
            case 1: return -1;
            case 2: return 255;
            case 3: return 16;
            default: return static_cast<std::int32_t>(random_());
        }
    }

private:
    std::mt19937 random_;
};

}  // namespace

std::optional<ProfileQuery> ParseQuery(std::string_view line) {
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::string_view::npos) break;
        start = tab + 1;
    }
    if (fields.size() != 4) return std::nullopt;
    return ProfileQuery{std::string(fields[0]), std::string(fields[1]), std::string(fields[2]),
                        std::string(fields[3])};
}

bool GenerateProfileCases(std::uint32_t seed, int files, const std::string& folder) {
    Draw draw(seed);
    std::ofstream queries(folder + "/queries.txt", std::ios::binary);
    std::ofstream edits(folder + "/edits.txt", std::ios::binary);
    for (int i = 0; i < files; ++i) {
        const std::string name = "case" + std::to_string(i) + ".ini";
        std::ofstream(folder + "/" + name, std::ios::binary) << draw.FileText();
        auto line = [&](std::ostream& out, std::int32_t number) {
            out << ".\\" << name << '\t' << draw.Spelling(draw.From(kSections)) << '\t'
                << draw.Spelling(draw.From(kKeys)) << '\t' << number << '\n';
        };
        for (int q = 0; q < kQueriesPerFile; ++q) line(queries, draw.Default());
        for (int e = draw.Below(kEditsPerFile + 1); e > 0; --e) line(edits, draw.Default());
    }
    return static_cast<bool>(queries.flush()) && static_cast<bool>(edits.flush());
}
