// One run of the real panel on the desktop dialog, inside the test process, in
// a working folder of its own with the stand-in driver's journal switched on.
// Each run starts from the process-start state, so one process runs any
// number of panels.
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

    // Puts the process state back to its start, then runs the application
    // object; SCENARIO works the window once it is shown. Returns the modal
    // result.
    int Run(const std::function<void(QtPanelDialog&)>& scenario);
    // Runs the window as the panel that holds INSTANCE, the session's claim.
    void HoldInstance(platform::PanelInstance* instance) { instance_ = instance; }

private:
    QTemporaryDir folder_;
    QString previousFolder_;
    std::size_t journalSeen_ = 0;
    platform::PanelInstance* instance_ = nullptr;
};
