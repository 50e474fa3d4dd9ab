// One run of the real panel on the desktop dialog, inside the test process, in
// a working folder of its own with the stand-in driver's journal switched on.
// The panel's state is process-wide, so a process runs the panel once: ctest
// starts every test in a process of its own.
#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <functional>
#include <string>
#include <vector>

#include "qt/qt_panel_dialog.hpp"

std::vector<std::string> ReadLines(const QString& path);
std::string ReadWholeFile(const QString& path);
void WriteWholeFile(const QString& path, const std::string& text);

class PanelRun {
public:
    // Makes the working folder and enters it; the journal goes into it.
    PanelRun();
    ~PanelRun();

    QString Path(const QString& name) const { return folder_.filePath(name); }
    void WriteSettings(const std::string& text) const { WriteWholeFile(Path("KORVANE16.ini"), text); }
    std::string Settings() const { return ReadWholeFile(Path("KORVANE16.ini")); }
    std::vector<std::string> Journal() const { return ReadLines(Path("journal.txt")); }
    // The journal lines written since the last call.
    std::vector<std::string> NewJournalLines();

    // Runs the application object; SCENARIO works the window once it is shown.
    // Returns the modal result.
    int Run(const std::function<void(QtPanelDialog&)>& scenario);

    static bool AlreadyRan();

private:
    QTemporaryDir folder_;
    QString previousFolder_;
    std::size_t journalSeen_ = 0;
};

// Tests that run the panel: skipped when the panel has already run in this
// process (run the binary through ctest, or one test at a time).
class FreshProcess : public ::testing::Test {
protected:
    void SetUp() override {
        if (PanelRun::AlreadyRan()) GTEST_SKIP() << "the panel has already run in this process";
    }
};
