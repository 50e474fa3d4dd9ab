// The operator sessions that the native Windows dialog is proven with, worked
// here on the desktop window with real mouse and key events: the board, the
// settings file and the controls must end as the harness leaves them for the
// same script. So the same clicks give the same journal on both frontends.
#include <QDir>
#include <QLineEdit>
#include <QTest>
#include <sstream>

#include "harness_compare.hpp"
#include "tests/file_text.hpp"
#include "operator.hpp"
#include "panel_run.hpp"
#include "qt/panel_widgets.hpp"

namespace {

// A left click at PLACE of the trackbar, where the native operator clicks it:
// on the thumb, on the channel just before or after it, or on the control's
// top row beside it.
void Press(PanelTrackbar* trackbar, const std::string& place) {
    const QRect thumb = trackbar->ThumbRect();
    QPoint at = thumb.center();
    if (place == "before") at.setX(thumb.left() - 3);
    if (place == "after") at.setX(thumb.right() + 3);
    if (place == "beside") at = QPoint(thumb.right() + 3, 0);
    if (place != "thumb") {
        ASSERT_FALSE(thumb.contains(at)) << place;
        ASSERT_EQ(trackbar->ChannelRect().contains(at), place != "beside") << place;
    }
    op::Click(trackbar, at);
}

// Works one script line on the window; returns the lines it printed.
Lines Work(QtPanelDialog& window, const std::string& line) {
    std::istringstream words(line);
    std::string verb;
    int id = 0;
    words >> verb >> id;
    QWidget* control = window.Control(id);
    auto* trackbar = dynamic_cast<PanelTrackbar*>(control);
    if (verb == "click") op::Click(control);
    if (verb == "type") {
        const std::size_t idEnd = line.find(' ', line.find_first_not_of(' ', 4));
        op::Type(qobject_cast<QLineEdit*>(control),
                 QString::fromStdString(idEnd == std::string::npos ? "" : line.substr(idEnd + 1)));
    }
    if (verb == "drag") {
        // As the native operator drags: the thumb is put there, then pressed and let go.
        int position = 0;
        words >> position;
        trackbar->setValue(position);
        op::Click(trackbar, trackbar->ThumbRect().center());
    }
    if (std::string place; verb == "press" && words >> place) Press(trackbar, place);
    if (verb == "close") op::Key(window, Qt::Key_Escape);
    if (verb == "dump") return DumpWindow(window);
    return {};
}

class DesktopSessions : public testing::TestWithParam<std::string> {};

TEST_P(DesktopSessions, TheWindowLeavesWhatTheHarnessLeaves) {
    const std::string session = std::string(KORVANE16_SESSIONS) + "/" + GetParam();
    const std::string settingsFile = session.substr(0, session.size() - 4) + ".ini";
    const std::string settings = ReadFileText(settingsFile);
    const std::string script = ReadFileText(session);

    PanelRun harnessFolder;
    PanelRun windowFolder;  // entered last: the window runs here
    if (!settings.empty()) {
        harnessFolder.WriteSettings(settings);
        windowFolder.WriteSettings(settings);
    }
    Lines windowDump;
    windowFolder.Run([&](QtPanelDialog& window) {
        MessageBoxAnswerer answerer;
        std::istringstream lines(script);
        for (std::string line; std::getline(lines, line);) {
            if (line.empty() || line[0] == '#' || line == "show") continue;
            for (const std::string& printed : Work(window, line)) windowDump.push_back(printed);
            if (!window.isVisible()) return;
        }
        window.close();  // a script that ends with the panel open: the close box
    });

    const HarnessRun harness = RunHarness(harnessFolder, script);
    ASSERT_EQ(harness.exitCode, 0);
    EXPECT_TRUE(windowFolder.Journal() == harnessFolder.Journal())
        << FirstDifference(windowFolder.Journal(), harnessFolder.Journal());
    EXPECT_EQ(windowFolder.Settings(), harnessFolder.Settings());
    EXPECT_TRUE(windowDump == harness.dump) << FirstDifference(windowDump, harness.dump);
    EXPECT_FALSE(windowFolder.Journal().empty());
}

std::vector<std::string> Sessions() {
    const QStringList names = QDir(KORVANE16_SESSIONS).entryList({"desktop-*.txt"}, QDir::Files, QDir::Name);
    std::vector<std::string> sessions;
    for (const QString& name : names) sessions.push_back(name.toStdString());
    return sessions;
}

std::string TestName(const testing::TestParamInfo<std::string>& info) {
    std::string name;
    for (const char c : info.param.substr(0, info.param.size() - 4))
        if (std::isalnum(static_cast<unsigned char>(c))) name += c;
    return name;
}

INSTANTIATE_TEST_SUITE_P(SharedWithTheNativeDialog, DesktopSessions, testing::ValuesIn(Sessions()), TestName);

}  // namespace
