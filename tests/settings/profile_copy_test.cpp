// What an access costs: the copy of the file kept between accesses, the
// section index that finds a key without reading the text from the top, and
// when a copy may be trusted.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <random>
#include <string>
#include <thread>

#include "platform/posix/profile_copy.hpp"
#include "platform/profile_file.hpp"
#include "platform/profile_text.hpp"
#include "settings/settings_file.hpp"
#include "tests/settings/settings_folder.hpp"

namespace {

constexpr long long kMs = 1000000;

// Bytes this process has read and written through system calls so far.
struct IoCount {
    long long read = 0;
    long long written = 0;
};

IoCount CountIo() {
    IoCount count;
    std::ifstream io("/proc/self/io");
    std::string name;
    long long value = 0;
    while (io >> name >> value) {
        if (name == "rchar:") count.read = value;
        if (name == "wchar:") count.written = value;
    }
    return count;
}

// Reading /proc/self/io itself counts as reading; anything beyond this was
// the file layer's.
constexpr long long kCountingItself = 4096;

// A file of SIZE bytes of other programs' lines around the General section.
std::string FileOf(std::size_t size) {
    std::string text = "[Other]\n";
    while (text.size() < size / 2) text += "line" + std::to_string(text.size()) + "=some value\n";
    text += "[General]\nDIV=4\nPAL=0\n[More]\n";
    while (text.size() < size) text += "line" + std::to_string(text.size()) + "=some value\n";
    return text;
}

class KeptCopy : public SettingsFolderTest {
protected:
    void SetUp() override {
        SettingsFolderTest::SetUp();
        platform::ForgetProfileCopies();
    }

    // Writes TEXT as the file and waits until its stamps have settled, so
    // that a copy of it may be trusted.
    void WriteSettled(const std::string& text) {
        WriteFileText(kLocalFile, text);
        std::this_thread::sleep_for(std::chrono::milliseconds(40));
    }
};

TEST_F(KeptCopy, ManyAccessesToAnUnchangedFileReadItOnce) {
    const std::string text = FileOf(200000);
    WriteSettled(text);
    const IoCount before = CountIo();
    for (int i = 0; i < 99; ++i) EXPECT_EQ(ReadSetting("General", i % 2 ? "DIV" : "PAL", -1), i % 2 ? 4 : 0);
    // The values already held: nothing is read or written for them.
    for (int i = 0; i < 99; ++i) EXPECT_TRUE(WriteSetting("General", i % 2 ? "DIV" : "PAL", i % 2 ? "4" : "0"));
    const IoCount after = CountIo();
    EXPECT_GE(after.read - before.read, static_cast<long long>(text.size()));
    EXPECT_LT(after.read - before.read, static_cast<long long>(text.size()) + kCountingItself);
    EXPECT_LT(after.written - before.written, kCountingItself);
    EXPECT_EQ(ReadFileText(kLocalFile), text);
}

// A changed write reads the file once (the copy must still be its bytes: a
// store through a mapping can leave the stamps alone) and writes the new file
// once; the next access finds the new file to be the copy.
TEST_F(KeptCopy, AChangedWriteReadsTheFileOnceAndWritesItOnce) {
    const std::string text = FileOf(200000);
    WriteSettled(text);
    ASSERT_EQ(ReadSetting("General", "DIV", -1), 4);
    const IoCount before = CountIo();
    ASSERT_TRUE(WriteSetting("General", "DIV", "16"));
    const IoCount after = CountIo();
    EXPECT_GE(after.read - before.read, static_cast<long long>(text.size()));
    EXPECT_LT(after.read - before.read, static_cast<long long>(text.size()) + kCountingItself);
    EXPECT_GE(after.written - before.written, static_cast<long long>(text.size()));
    EXPECT_LT(after.written - before.written, static_cast<long long>(text.size()) + kCountingItself);
    std::string expected = text;
    expected.replace(expected.find("DIV=4"), 5, "DIV=16");
    EXPECT_EQ(ReadFileText(kLocalFile), expected);
    EXPECT_EQ(ReadSetting("General", "DIV", -1), 16);
}

// Another file in the file's place, of the same size, written the same
// moment: the inode and change time tell it from the one the copy holds.
TEST_F(KeptCopy, EveryChangeIsSeenWhateverItKeeps) {
    WriteSettled("[General]\nDIV=4\n");
    ASSERT_EQ(ReadSetting("General", "DIV", -1), 4);
    WriteFileText("other.ini", "[General]\nDIV=5\n");
    ASSERT_EQ(rename("other.ini", kLocalFile), 0);
    EXPECT_EQ(ReadSetting("General", "DIV", -1), 5);
    WriteFileText(kLocalFile, "[General]\nDIV=6\n");
    EXPECT_EQ(ReadSetting("General", "DIV", -1), 6);
    ASSERT_EQ(chmod(kLocalFile, 0600), 0);
    EXPECT_TRUE(WriteSetting("General", "DIV", "7"));
    struct stat info {};
    ASSERT_EQ(stat(kLocalFile, &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u) << "the mode changed after the copy was read is kept";
    std::filesystem::remove(kLocalFile);
    EXPECT_EQ(ReadSetting("General", "DIV", -1), -1);
    EXPECT_TRUE(WriteSetting("General", "DIV", "8"));
    EXPECT_EQ(ReadFileText(kLocalFile), "[General]\nDIV=8\n");
}

// A failed replace leaves the copy of the file as it is on the disk, not as
// the failed write would have made it. (In a child process: the file-size
// limit that makes the write fail stands for a full disk.)
TEST_F(KeptCopy, AFailedWriteLeavesNoEditInTheCopy) {
    WriteSettled("[General]\nDIV=4\n" + std::string(5000, ';') + "\n");
    const pid_t child = fork();
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        if (ReadSetting("General", "DIV", -1) != 4 || setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(1);
        if (WriteSetting("General", "DIV", "16")) _exit(2);
        _exit(ReadSetting("General", "DIV", -1) == 4 ? 0 : 3);
    }
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

timespec At(long long ns) { return {static_cast<time_t>(ns / (1000 * kMs)), static_cast<long>(ns % (1000 * kMs))}; }

struct stat Stamped(long long modifiedNs, long long changedNs) {
    struct stat info {};
    info.st_mtim = At(modifiedNs);
    info.st_ctim = At(changedNs);
    return info;
}

// File stamps move in ticks of the kernel's coarse clock (4 ms here, at most
// 10 ms), and on some file systems in whole seconds (FAT: two): a change
// within the same tick can leave the stamps as they were.
TEST(CopyTrust, OnlyStampsOlderThanATickAreSettled) {
    const long long now = 1700000000LL * 1000 * kMs + 500 * kMs;
    using platform::posix::ModificationSettled;
    using platform::posix::StampsSettled;
    EXPECT_FALSE(StampsSettled(Stamped(now - 1 * kMs, now - 1 * kMs), At(now)));
    EXPECT_FALSE(StampsSettled(Stamped(now, now), At(now)));
    EXPECT_FALSE(StampsSettled(Stamped(now + 300 * kMs, now + 300 * kMs), At(now))) << "a stamp from the future";
    EXPECT_TRUE(StampsSettled(Stamped(now - 100 * kMs, now - 100 * kMs), At(now)));
    // Either stamp counts: the change time follows changes of the attributes
    // and a modification time set back by a program.
    EXPECT_FALSE(StampsSettled(Stamped(now - 100 * kMs, now - 1 * kMs), At(now)));
    EXPECT_FALSE(StampsSettled(Stamped(now - 1 * kMs, now - 100 * kMs), At(now)));
    // The bytes alone: only the modification time.
    EXPECT_TRUE(ModificationSettled(Stamped(now - 100 * kMs, now - 1 * kMs), At(now)));
    EXPECT_FALSE(ModificationSettled(Stamped(now - 1 * kMs, now - 100 * kMs), At(now)));
    // A change time without a fraction of a second: stamps of whole seconds.
    const long long second = 1700000000LL * 1000 * kMs;
    EXPECT_FALSE(StampsSettled(Stamped(second - 1000 * kMs, second - 1000 * kMs), At(second + 900 * kMs)));
    EXPECT_TRUE(StampsSettled(Stamped(second - 1000 * kMs, second - 1000 * kMs), At(second + 1200 * kMs)));
}

// Lookups through the index find what a reading from the top finds, and the
// index kept through any sequence of edits is the index of the edited text.
TEST(SectionIndex, KeptThroughEditsAsIfBuiltAnew) {
    const char* const sections[] = {"General", "general ", "Format", "Camera", "New", " Gen]eral", "[x"};
    const char* const keys[] = {"DIV", "div", "PAL", "Camera1", "[k", "x"};
    const char* const values[] = {"1", "-5", "", "16", "]", "a\nb", "[c]", "2\r"};
    const std::string starts[] = {
        "",
        "\xEF\xBB\xBF",
        "; head\n[General]\nDIV=4\n\n[Format]\r\nPAL=1\r\n[General]\nDIV=9\n",
        "[Camera]\rCamera1=0\r[Format]",
        "x=1\n  [ General ] ; c\n\tdiv = 3 \n[Other]\nPAL=2",
    };
    std::mt19937 random(7);
    for (const std::string& start : starts) {
        std::string text = start;
        profile::SectionIndex index(text);
        for (int step = 0; step < 300; ++step) {
            const char* section = sections[random() % std::size(sections)];
            const char* key = keys[random() % std::size(keys)];
            const char* value = values[random() % std::size(values)];
            SCOPED_TRACE(testing::Message() << "after " << step << " edits of: " << start);
            ASSERT_EQ(profile::FindValue(text, index, section, key), profile::FindValue(text, section, key));
            const std::optional<std::string> expected = profile::SetValue(text, section, key, value);
            const std::optional<profile::Edit> edit = profile::PlanSetValue(text, index, section, key, value);
            ASSERT_EQ(edit.has_value(), expected.has_value());
            if (!edit) continue;
            profile::ApplyEdit(text, index, *edit);
            ASSERT_EQ(text, *expected);
            ASSERT_TRUE(index == profile::SectionIndex(text)) << text;
        }
    }
}

}  // namespace
