// Writing one key changes only the bytes it concerns, and replaces the file
// as a whole or not at all.
#include <sys/stat.h>

#include <cstring>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "platform/profile_file.hpp"
#include "platform/profile_text.hpp"
#include "settings/settings_file.hpp"
#include "tests/settings/settings_folder.hpp"

namespace {

struct EditCase {
    const char* rule;
    std::optional<std::string> before;  // nullopt: there is no file yet
    const char* section;
    const char* key;
    const char* value;
    std::string after;
};

const std::string kBom = "\xEF\xBB\xBF";

const EditCase kEdits[] = {
    {"a new file is written with LF", std::nullopt, "General", "DIV", "16", "[General]\nDIV=16\n"},
    {"an empty file gets the section", "", "General", "DIV", "1", "[General]\nDIV=1\n"},
    {"only the key's line changes", "; notes\n[General]\nDIV=4\nPosition0=0\n\n[Site]\nx = y\n", "General", "DIV",
     "16", "; notes\n[General]\nDIV=16\nPosition0=0\n\n[Site]\nx = y\n"},
    {"CR LF lines stay CR LF", "[General]\r\nDIV=4\r\nPAL=0\r\n", "General", "DIV", "16",
     "[General]\r\nDIV=16\r\nPAL=0\r\n"},
    {"the changed line keeps its own line end", "[General]\r\nDIV=4\nPAL=0\r\n", "General", "DIV", "-5",
     "[General]\r\nDIV=-5\nPAL=0\r\n"},
    {"the key keeps its spelling", "[general]\n  dIv = 4 \n", "General", "DIV", "16", "[general]\ndIv=16\n"},
    // Every line of a section but a blank one is an entry, as the Windows
    // reader sees it: a new key follows the last.
    {"a new key follows the section's last line that is not blank",
     "[General]\nDIV=4\n; cameras\n\n[Camera]\nCamera1=1\n", "General", "Position0", "0",
     "[General]\nDIV=4\n; cameras\nPosition0=0\n\n[Camera]\nCamera1=1\n"},
    {"a new key in a section without entries follows its header", "[General]\n\n[Format]\n", "General", "DIV",
     "1", "[General]\nDIV=1\n\n[Format]\n"},
    {"a new section goes at the end without a blank line", "[General]\nDIV=4\n\n", "Format", "PAL", "1",
     "[General]\nDIV=4\n\n[Format]\nPAL=1\n"},
    {"a line end comes before a new section", "[General]\nDIV=4", "Format", "PAL", "1",
     "[General]\nDIV=4\n[Format]\nPAL=1\n"},
    {"a line end comes before a new key", "[General]\nDIV=4", "General", "PAL", "1", "[General]\nDIV=4\nPAL=1\n"},
    {"new lines in a CR LF file are CR LF", "[General]\r\nDIV=4\r\n", "Format", "PAL", "1",
     "[General]\r\nDIV=4\r\n[Format]\r\nPAL=1\r\n"},
    {"a CR LF file without a final line end", "[General]\r\nDIV=4", "General", "PAL", "1",
     "[General]\r\nDIV=4\r\nPAL=1\r\n"},
    {"the byte-order mark stays", kBom + "[General]\nDIV=4\n", "General", "DIV", "5", kBom + "[General]\nDIV=5\n"},
    {"a file of just a byte-order mark", kBom, "General", "DIV", "5", kBom + "[General]\nDIV=5\n"},
    {"the first of two equal sections is written", "[General]\nDIV=1\n[Format]\nPAL=0\n[General]\nDIV=2\n",
     "General", "DIV", "3", "[General]\nDIV=3\n[Format]\nPAL=0\n[General]\nDIV=2\n"},
    {"a new key goes into the first equal section", "[General]\nDIV=1\n[General]\nDIV=2\n", "General", "PAL", "0",
     "[General]\nDIV=1\nPAL=0\n[General]\nDIV=2\n"},
    {"the first of two equal keys is written", "[General]\nDIV=1\nDIV=2\n", "General", "DIV", "3",
     "[General]\nDIV=3\nDIV=2\n"},
    {"a line without an equals sign is the key without a value", "[General]\nDIV\nDIV=4\n", "General", "DIV", "5",
     "[General]\nDIV=5\nDIV=4\n"},
    {"another line without an equals sign is kept", "[General]\nDIV 4\n", "General", "DIV", "5",
     "[General]\nDIV 4\nDIV=5\n"},
    {"CR line ends stay CR", "[General]\rDIV=4\rPAL=0\r", "General", "PAL", "1", "[General]\rDIV=4\rPAL=1\r"},
    {"new lines in a CR file are CR", "[General]\rDIV=4", "Format", "PAL", "1", "[General]\rDIV=4\r[Format]\rPAL=1\r"},
    {"a CR alone ends the line before a new key", "[General]\nDIV=4\r", "General", "PAL", "1",
     "[General]\nDIV=4\rPAL=1\n"},
    {"a key before any section is another key", "DIV=9\n[General]\n", "General", "DIV", "1",
     "DIV=9\n[General]\nDIV=1\n"},
};

class ProfileWrite : public SettingsFolderTest {};

TEST_F(ProfileWrite, EditingRules) {
    for (const EditCase& c : kEdits) {
        SCOPED_TRACE(c.rule);
        std::filesystem::remove(kLocalFile);
        if (c.before) WriteFileText(kLocalFile, *c.before);
        EXPECT_TRUE(platform::WriteProfileString(c.section, c.key, c.value, kSettingsFile));
        EXPECT_EQ(ReadFileText(kLocalFile), c.after);
    }
}

// A rewrite always makes a new file (the temporary one renamed over the old),
// so an unchanged inode shows the file was not touched at all.
TEST_F(ProfileWrite, TheValueAlreadyHeldLeavesTheFileUntouched) {
    const std::string held[] = {"[General]\nDIV=16\n", "[General]\r\n  div = 16 \r\n", "[General]\nDIV=16"};
    for (const std::string& before : held) {
        SCOPED_TRACE(before);
        WriteFileText(kLocalFile, before);
        const ino_t inode = Inode(kLocalFile);
        EXPECT_TRUE(platform::WriteProfileString("General", "DIV", "16", kSettingsFile));
        EXPECT_EQ(Inode(kLocalFile), inode);
        EXPECT_EQ(ReadFileText(kLocalFile), before);

        EXPECT_TRUE(platform::WriteProfileString("General", "DIV", "4", kSettingsFile));
        EXPECT_NE(Inode(kLocalFile), inode);
    }
}

TEST_F(ProfileWrite, ThePermissionsOfTheFileStay) {
    WriteFileText(kLocalFile, "[General]\nDIV=4\n");
    ASSERT_EQ(chmod(kLocalFile, 0640), 0);
    ASSERT_TRUE(platform::WriteProfileString("General", "DIV", "16", kSettingsFile));
    struct stat info {};
    ASSERT_EQ(stat(kLocalFile, &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST_F(ProfileWrite, ANewFileGetsTheModeTheUmaskAllows) {
    const mode_t previous = umask(027);
    const bool written = platform::WriteProfileString("General", "DIV", "16", kSettingsFile);
    umask(previous);
    ASSERT_TRUE(written);
    struct stat info {};
    ASSERT_EQ(stat(kLocalFile, &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST_F(ProfileWrite, WritesLeaveNoTemporaryFiles) {
    for (int value = 0; value < 5; ++value)
        ASSERT_TRUE(platform::WriteProfileString("General", "DIV", std::to_string(value).c_str(), kSettingsFile));
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{kLocalFile});
}

TEST_F(ProfileWrite, ABackslashBeyondTheWindowsNameOfTheWorkingFoldersFileIsPartOfAName) {
    std::filesystem::create_directory("sub");
    ASSERT_TRUE(platform::WriteProfileString("General", "DIV", "10", "sub\\KORVANE16.ini"));
    EXPECT_EQ(ReadFileText("sub\\KORVANE16.ini"), "[General]\nDIV=10\n");
    EXPECT_TRUE(std::filesystem::is_empty("sub"));
    EXPECT_FALSE(std::filesystem::exists(kLocalFile));
}

TEST_F(ProfileWrite, FailuresReportFalseAndLeaveNothingBehind) {
    EXPECT_FALSE(platform::WriteProfileString("General", "DIV", "1", "missing/KORVANE16.ini"));
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{});

    // A file that exists but cannot be read is never replaced by one made from nothing.
    std::filesystem::create_directory(kLocalFile);
    EXPECT_FALSE(platform::WriteProfileString("General", "DIV", "1", kSettingsFile));
    EXPECT_TRUE(std::filesystem::is_directory(kLocalFile));
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{kLocalFile});
}

// The lines of TEXT without their line ends and without a byte-order mark.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines(1);
    for (const char c : text.substr(text.starts_with(kBom) ? kBom.size() : 0)) {
        if (c == '\n') {
            if (!lines.back().empty() && lines.back().back() == '\r') lines.back().pop_back();
            lines.emplace_back();
        } else {
            lines.back() += c;
        }
    }
    return lines;
}

bool IsSubsequence(const std::vector<std::string>& part, const std::vector<std::string>& whole) {
    std::size_t at = 0;
    for (const std::string& line : whole)
        if (at < part.size() && part[at] == line) ++at;
    return at == part.size();
}

// Texts put together at random from the shapes a settings file may have, each
// edited at random: the edited key reads back, every other key reads as before,
// an existing key's edit changes exactly one line, and an addition keeps every
// old line in its order.
TEST(ProfileText, RandomEditsChangeOnlyTheirKey) {
    const char* pieces[] = {"[General]", "[ general ]", "[Format]", "[CAMERA]", "; note", "", "DIV=1", " div = 2 ",
                            "PAL=3",     "Position0=\"4\"", "no key here", "=5", "Camera1=1", "[Extra"};
    const char* sections[] = {"General", "Format", "Camera", "Extra"};
    const char* keys[] = {"DIV", "PAL", "Position0", "Camera1", "New"};
    const char* values[] = {"0", "1", "-5", "123"};
    std::mt19937 random(7);
    auto pick = [&random](const auto& from) { return from[random() % std::size(from)]; };

    for (int round = 0; round < 2000; ++round) {
        std::string text = random() % 4 == 0 ? kBom : "";
        const char* lineEnd = random() % 2 ? "\r\n" : "\n";
        for (int n = random() % 8; n > 0; --n) text += std::string(pick(pieces)) + lineEnd;
        if (random() % 4 == 0 && !text.empty() && text.back() == '\n') text.resize(text.size() - std::strlen(lineEnd));
        const std::string section = pick(sections), key = pick(keys), value = pick(values);
        SCOPED_TRACE(text + "<- " + section + "/" + key + "=" + value);

        const std::optional<std::string> before = profile::FindValue(text, section, key);
        const std::optional<std::string> edited = profile::SetValue(text, section, key, value);
        if (before == value) {
            EXPECT_EQ(edited, std::nullopt);
            continue;
        }
        ASSERT_TRUE(edited.has_value());
        EXPECT_EQ(profile::FindValue(*edited, section, key), value);
        EXPECT_EQ(profile::SetValue(*edited, section, key, value), std::nullopt);
        for (const char* otherSection : sections) {
            for (const char* otherKey : keys) {
                if (otherSection == section && otherKey == key) continue;
                EXPECT_EQ(profile::FindValue(*edited, otherSection, otherKey),
                          profile::FindValue(text, otherSection, otherKey));
            }
        }
        const std::vector<std::string> oldLines = Lines(text), newLines = Lines(*edited);
        if (before) {
            ASSERT_EQ(newLines.size(), oldLines.size());
            int changed = 0;
            for (std::size_t i = 0; i < oldLines.size(); ++i) changed += oldLines[i] != newLines[i] ? 1 : 0;
            EXPECT_EQ(changed, 1);
        } else {
            EXPECT_TRUE(IsSubsequence(oldLines, newLines));
        }
        EXPECT_EQ(edited->starts_with(kBom), text.starts_with(kBom));
    }
}

}  // namespace
