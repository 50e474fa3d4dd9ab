// Reading integers from settings files of every shape the panel may meet,
// through the file name the panel uses.
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "platform/profile_file.hpp"
#include "settings/settings_file.hpp"
#include "tests/settings/settings_folder.hpp"

namespace {

constexpr std::int32_t kDefault = -77;

struct ReadCase {
    const char* shape;
    std::optional<std::string> file;  // nullopt: there is no file
    const char* section;
    const char* key;
    std::int32_t expected;
};

const ReadCase kShapes[] = {
    {"no file", std::nullopt, "General", "DIV", kDefault},
    {"empty file", "", "General", "DIV", kDefault},
    {"missing section", "[Format]\nPAL=1\n", "General", "DIV", kDefault},
    {"missing key", "[General]\nPosition0=3\n", "General", "DIV", kDefault},
    {"LF lines", "[General]\nDIV=4\nPAL=9\n", "General", "PAL", 9},
    {"CR LF lines", "[General]\r\nDIV=4\r\n[Format]\r\nPAL=1\r\n", "Format", "PAL", 1},
    // A CR left in the value would keep the quotes from being stripped.
    {"CR LF after a quoted value", "[General]\r\nDIV=\"6\"\r\n", "General", "DIV", 6},
    {"byte-order mark before the first section", "\xEF\xBB\xBF[General]\nDIV=9\n", "General", "DIV", 9},
    {"no line end at the end", "[General]\nDIV=8", "General", "DIV", 8},
    {"section and key in other letter case", "[gENERAL]\ndiv=3\n", "General", "DIV", 3},
    {"blanks around names and value", "  [ General ]\t\n\t DIV \t=  12 \t\n", "General", "DIV", 12},
    {"comments and unknown sections", "; site\n[Site]\nDIV=1\n[General]\n;DIV=2\nDIV=5\n", "General", "DIV", 5},
    {"key in another section", "[Format]\nDIV=3\n[General]\nPAL=1\n", "General", "DIV", kDefault},
    {"key before any section", "DIV=3\n[General]\n", "General", "DIV", kDefault},
    {"longer names are other names", "[Generals]\nDIV=1\n[General]\nDIVX=2\nDIV=3\n", "General", "DIV", 3},
    {"first of two equal sections", "[General]\nDIV=1\n[General]\nDIV=2\nPAL=5\n", "General", "DIV", 1},
    {"key only in the second equal section", "[General]\nDIV=1\n[General]\nPAL=5\n", "General", "PAL", kDefault},
    {"first of two equal keys", "[General]\nDIV=1\ndiv=2\n", "General", "DIV", 1},
    {"line without an equals sign", "[General]\nDIV 7\nDIV\n", "General", "DIV", kDefault},
    {"equals sign in the value", "[General]\nDIV=4=5\n", "General", "DIV", 4},
    {"negative value", "[Attribute1]\nHUE=-5\n", "Attribute1", "HUE", -5},
    {"empty value", "[General]\nDIV=\n", "General", "DIV", kDefault},
    {"quoted empty value", "[General]\nDIV=\"\"\n", "General", "DIV", kDefault},
    // As the Windows reader splits lines: a CR alone ends one too.
    {"CR line ends", "[Format]\rPAL=1\r[General]\rPAL=2\rDIV=9\r", "General", "DIV", 9},
    {"a CR alone inside LF lines", "[General]\nPAL=1\rDIV=7\n", "General", "DIV", 7},
    {"LF CR is two line ends", "[General]\n\rDIV=6\n\r", "General", "DIV", 6},
    // A line without "=" is the key with an empty value, and the first counts.
    {"key without a value before the key", "[General]\nDIV\nDIV=5\n", "General", "DIV", kDefault},
    {"key without a value after the key", "[General]\nDIV=5\nDIV\n", "General", "DIV", 5},
    // A section's name runs to the last closing bracket of its line.
    {"second closing bracket", "[General]]\nDIV=5\n", "General", "DIV", kDefault},
    {"text after the closing bracket", "[General] ; main\nDIV=5\n", "General", "DIV", 5},
    {"bracket inside the name", "[Gen]eral]\nDIV=5\n", "Gen]eral", "DIV", 5},
};

// The Windows integer read as measured: the value text and what it reads as.
struct MeasuredCase {
    const char* value;
    std::int32_t expected;
};

const MeasuredCase kMeasured[] = {
    {"12", 12},
    {" 12 ", 12},
    {"\"12\"", 12},
    {"+7", 7},
    {"12abc", 12},
    {"1 2", 1},
    {"-5", -5},
    {"abc", 0},
    {"0x10", 16},
    {"-0x10", -16},
    {"0xabCD", 0xabcd},
    {"0X1F", 0},
    {"010", 10},
    {"", kDefault},
    {"4294967295", -1},
    {"99999999999", 1215752191},
    {"-2147483649", 2147483647},
    {"2147483647", std::numeric_limits<std::int32_t>::max()},
    {"-2147483648", std::numeric_limits<std::int32_t>::min()},
    {"2147483648", std::numeric_limits<std::int32_t>::min()},
    {"0xFFFFFFFF", -1},
    {"0x100000005", 5},
    // Only the first 29 characters are read.
    {"123456789012345678901234567890", 1849262357},
    {"12345678901234567890123456789", 1849262357},
    {"-123456789012345678901234567890", 1103563954},
    {"0b1111111111111111111111111111111111", 134217727},
    // Binary and octal prefixes, lowercase only; digits outside the base end the number.
    {"0b11", 3},
    {"-0b11", -3},
    {"0B11", 0},
    {"0o17", 15},
    {"0o8", 0},
    {"0b2", 0},
    // Quotes of either kind, when they match; blanks inside them are skipped.
    {"\"\t-4\"", -4},
    {"' 7'", 7},
    {"\" 0o10 \"", 8},
    {"''", kDefault},
    {"'5\"", 0},
    {"'", 0},
    {"- 4", 0},
    {"-", 0},
    {"0x", 0},
    {"--5", 0},
    // One prefix only: what follows it is read in its base.
    {"0b0x1", 0},
    {"0o0x1F", 0},
    {"0x0b1", 0xb1},
    {"00x5", 0},
    // A quoted text of exactly 29 characters loses its last one; 28 keep all.
    {"\"1234567890123456789012345678\"", -1103563954},
    {"\"12345678901234567890123456789\"", -1103563954},
    {"'123456789012345678901234567890'", 1849262357},
};

class ProfileRead : public SettingsFolderTest {};

TEST_F(ProfileRead, FileShapes) {
    for (const ReadCase& c : kShapes) {
        SCOPED_TRACE(c.shape);
        std::filesystem::remove(kLocalFile);
        if (c.file) WriteFileText(kLocalFile, *c.file);
        EXPECT_EQ(platform::ReadProfileInt(c.section, c.key, kDefault, kSettingsFile), c.expected);
    }
}

TEST_F(ProfileRead, ValueTextsReadAsOnWindows) {
    for (const MeasuredCase& c : kMeasured) {
        SCOPED_TRACE(std::string("value \"") + c.value + "\"");
        WriteFileText(kLocalFile, std::string("[General]\nDIV=") + c.value + "\n");
        EXPECT_EQ(platform::ReadProfileInt("General", "DIV", kDefault, kSettingsFile), c.expected);
    }
}

// ".\NAME" is the working folder's NAME; any other backslash is part of a name.
TEST_F(ProfileRead, OnlyTheWindowsNameOfTheWorkingFoldersFileIsConverted) {
    std::filesystem::create_directory("sub");
    WriteFileText("sub/KORVANE16.ini", "[General]\nDIV=10\n");
    WriteFileText("sub\\KORVANE16.ini", "[General]\nDIV=11\n");
    WriteFileText(kLocalFile, "[General]\nDIV=12\n");
    EXPECT_EQ(platform::ReadProfileInt("General", "DIV", kDefault, "sub\\KORVANE16.ini"), 11);
    EXPECT_EQ(platform::ReadProfileInt("General", "DIV", kDefault, ".\\sub\\KORVANE16.ini"), kDefault);
    EXPECT_EQ(platform::ReadProfileInt("General", "DIV", kDefault, kSettingsFile), 12);
}

TEST_F(ProfileRead, UnreadableFileGivesTheDefault) {
    std::filesystem::create_directory(kLocalFile);
    EXPECT_EQ(platform::ReadProfileInt("General", "DIV", kDefault, kSettingsFile), kDefault);
}

}  // namespace
