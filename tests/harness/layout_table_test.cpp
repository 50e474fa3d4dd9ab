// The layout tables as a driver reads them: past the end mark, records with
// channel 0, the end mark's size code and zeros, up to the table's size and no
// further (16 records, 17 for the 16-tile layout).
#include <gtest/gtest.h>

#include <sstream>

#include "tests/file_text.hpp"
#include "tests/harness/board_journal.hpp"
#include "tests/harness/panel_run.hpp"

namespace {

// The start-up sends the saved layout with camera i in tile i.
std::string SavedLayout(int tiles) {
    std::string file = "[General]\nDIV=" + std::to_string(tiles) + "\n";
    for (int i = 0; i < 16; ++i) file += "Position" + std::to_string(i) + "=" + std::to_string(i) + "\n";
    return file;
}

// The records a driver reading the whole table finds: the tiles and the end
// mark as the board's layout geometry gives them, then the unused records.
std::string WholeTable(int tiles) {
    std::istringstream sent(board::LayoutRecords(tiles));
    std::string table, record, endScale;
    while (sent >> record) {
        table += (table.empty() ? "" : " ") + record;
        endScale = record.substr(record.find(':') + 1, record.find(':', 4) - record.find(':') - 1);
    }
    const int size = tiles < 16 ? 16 : 17;
    for (int i = tiles + 1; i < size; ++i) table += " 0:" + endScale + ":0:0:0:0";
    return table;
}

class LayoutTables : public testing::Test {
protected:
    void SetUp() override {
        if (!PanelRun::Native()) GTEST_SKIP() << "the record-reading driver is a Linux library";
    }
};

TEST_F(LayoutTables, ADriverReadingPastTheEndMarkFindsUnusedRecordsUpToTheTablesSize) {
    for (int tiles : {1, 4, 6, 8, 9, 10, 13, 16}) {
        SCOPED_TRACE(tiles);
        PanelRun panel;
        panel.WriteSettings(SavedLayout(tiles));
        const std::string records = panel.Folder() + "/records.txt";
        const RunResult r = panel.RunBeside("show\nclose\n", KORVANE16_RECORDS_DRIVER, {{"TAVRIND_RECORDS", records}});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(ReadFileText(records), WholeTable(tiles) + "\n");
    }
}

#if defined(__SANITIZE_ADDRESS__)
TEST_F(LayoutTables, AReadOneRecordPastATableEndsInTheSanitizersReport) {
    for (int tiles : {4, 13, 16}) {
        SCOPED_TRACE(tiles);
        PanelRun panel;
        panel.WriteSettings(SavedLayout(tiles));
        const RunResult r = panel.RunBeside("show\nclose\n", KORVANE16_RECORDS_DRIVER,
                                            {{"TAVRIND_RECORDS", panel.Folder() + "/records.txt"},
                                             {"TAVRIND_READ_PAST_TABLE", "1"}});
        EXPECT_NE(r.status, 0);
        EXPECT_NE(r.err.find("global-buffer-overflow"), std::string::npos) << r.err.substr(0, 2000);
    }
}
#endif

}  // namespace
