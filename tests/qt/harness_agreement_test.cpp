// One operator scenario, worked once through the harness and once through the
// desktop window with real widget events: the board sees the same calls, the
// settings file (every setting) ends the same, and the controls agree.
#include <QLineEdit>
#include <QProcess>
#include <sstream>

#include "dialog/control_ids.hpp"
#include "harness_compare.hpp"
#include "operator.hpp"
#include "panel_run.hpp"
#include "qt/panel_widgets.hpp"

namespace {

enum class Verb { Click, Type, Drag, ClickChannel, Key };

struct Step {
    Verb verb;
    int id;
    std::string text;  // Type: the text; Key: the harness's key name; ClickChannel: "after" or "before"
    int position = 0;  // Drag: where the thumb should go
};

const Step kScenario[] = {
    {Verb::Click, 1018, ""},  // Cam2 off
    {Verb::Click, ids::AllOff, ""},
    {Verb::Click, ids::AllOn, ""},
    {Verb::Click, 1025, ""},  // Cam9 off
    {Verb::Type, 1092, "5"},
    {Verb::Type, 1093, "6"},
    {Verb::Type, 1102, "16"},
    {Verb::Type, 1103, "1"},
    {Verb::Click, 1009, ""},  // DIV 4
    {Verb::Type, 1103, "5"},
    {Verb::Click, 1009, ""},  // camera 5 twice: the warning
    {Verb::Type, 1061, "20"},
    {Verb::Type, 1111, "x"},
    {Verb::Click, 1010, ""},  // DIV 6 with fallback cameras
    {Verb::Type, ids::ChannelBox, "3"},
    {Verb::Drag, ids::BrightnessSlider, "", 200},
    {Verb::ClickChannel, ids::ContrastSlider, "before"},
    {Verb::Key, ids::HueSlider, "right"},
    {Verb::Key, ids::HueSlider, "up"},
    {Verb::Key, ids::HueSlider, "pagedown"},
    {Verb::Drag, ids::SaturationSlider, "", 40},
    {Verb::Click, ids::SetAllButton, ""},
    {Verb::Type, ids::ChannelBox, "12"},
    {Verb::Drag, ids::HueSlider, "", 10},
    {Verb::Click, ids::DefaultButton, ""},
    {Verb::Type, ids::ChannelBox, "99"},
    {Verb::Click, ids::Pal, ""},
    {Verb::Click, 1014, ""},  // DIV 16 as restored
    {Verb::Click, ids::ShowApplication, ""},
};

// Settings both runs start from.
constexpr const char* kSettings =
    "[General]\nDIV=9\nSetParameter=1\nPosition0=8\nPosition1=7\nPosition2=6\n"
    "[Camera]\nCamera4=0\n[Attribute2]\nBrightness=60\nHUE=30\n";

std::string Quoted(const QString& text) { return '"' + text.toStdString() + '"'; }

// Works STEP on the window; returns the harness line for what the operator did.
std::string Work(QtPanelDialog& window, const Step& step) {
    const std::string id = std::to_string(step.id);
    auto* trackbar = dynamic_cast<PanelTrackbar*>(window.Control(step.id));
    switch (step.verb) {
        case Verb::Click: op::Click(window.Control(step.id)); return "click " + id;
        case Verb::Type:
            op::Type(qobject_cast<QLineEdit*>(window.Control(step.id)), QString::fromStdString(step.text));
            return "type " + id + ' ' + step.text;
        case Verb::Drag: return "drag " + id + ' ' + std::to_string(op::DragThumb(trackbar, step.position));
        case Verb::ClickChannel:
            op::ClickChannel(trackbar, step.text == "after");
            return "drag " + id + ' ' + std::to_string(trackbar->value());
        case Verb::Key: {
            // The operator first clicks the thumb to give the trackbar the focus:
            // a mouse action, reported as a drag that goes nowhere.
            std::string lines;
            if (window.focusWidget() != trackbar) {
                op::Click(trackbar, trackbar->ThumbRect().center());
                lines = "drag " + id + ' ' + std::to_string(trackbar->value()) + '\n';
            }
            op::Key(window, QtKey(step.text));
            return lines + "key " + id + ' ' + step.text;
        }
    }
    return {};
}

class HarnessAgreement : public testing::Test {};

TEST_F(HarnessAgreement, WindowAndHarnessDriveTheBoardAlike) {
    PanelRun harnessFolder;
    PanelRun windowFolder;  // entered last: the window runs here
    harnessFolder.WriteSettings(kSettings);
    windowFolder.WriteSettings(kSettings);

    std::string script = "show\n";
    Lines windowDump, windowBoxes;
    windowFolder.Run([&](QtPanelDialog& window) {
        MessageBoxAnswerer answerer;
        for (const Step& step : kScenario) script += Work(window, step) + '\n';
        windowDump = DumpWindow(window);
        for (const MessageBoxAnswerer::Seen& box : answerer.seen())
            windowBoxes.push_back("messagebox " + Quoted(box.text) + ' ' + Quoted(box.caption) +
                                  (box.icon == QMessageBox::Warning ? " 0x30" : " ?"));
        op::Key(window, Qt::Key_Escape);
    });
    script += "dump\nclose\n";

    const HarnessRun harness = RunHarness(harnessFolder, script);
    ASSERT_EQ(harness.exitCode, 0) << script;
    EXPECT_TRUE(windowFolder.Journal() == harnessFolder.Journal())
        << FirstDifference(windowFolder.Journal(), harnessFolder.Journal()) << "\n" << script;
    EXPECT_EQ(windowFolder.Settings(), harnessFolder.Settings());
    EXPECT_EQ(windowBoxes, harness.messageBoxes);
    EXPECT_TRUE(windowDump == harness.dump) << FirstDifference(windowDump, harness.dump);

    // The scenario did reach the board and the file.
    EXPECT_EQ(windowBoxes.size(), 1u);
    EXPECT_GT(windowFolder.Journal().size(), 300u);
    EXPECT_NE(windowFolder.Settings().find("SetParameter=0"), std::string::npos);
}

}  // namespace
