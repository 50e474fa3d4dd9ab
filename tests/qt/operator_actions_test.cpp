// Real mouse and key events on the desktop dialog reach the panel with the
// behaviour of Windows controls, and from there the board.
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <sstream>

#include "dialog/control_ids.hpp"
#include "operator.hpp"
#include "panel_run.hpp"
#include "qt/panel_widgets.hpp"
#include "settings/panel_state.hpp"

namespace {

using Lines = std::vector<std::string>;

QLineEdit* Box(QtPanelDialog& window, int id) { return qobject_cast<QLineEdit*>(window.Control(id)); }
PanelTrackbar* Trackbar(QtPanelDialog& window, int id) { return dynamic_cast<PanelTrackbar*>(window.Control(id)); }
bool Checked(QtPanelDialog& window, int id) { return window.GetCheck(id) == 1; }

// The channels of the layout records the board was sent, end mark included.
std::vector<int> SentChannels(const std::string& line) {
    std::vector<int> channels;
    std::istringstream words(line);
    std::string word;
    words >> word;
    if (word != "OvrSetDisplayFormatForTV") return channels;
    while (words >> word) channels.push_back(std::stoi(word.substr(0, word.find(':'))));
    return channels;
}

class OperatorActions : public testing::Test {
protected:
    PanelRun run;
};

TEST_F(OperatorActions, CamBoxClickFlipsItAndSwitchesTheChannel) {
    run.Run([this](QtPanelDialog& window) {
        run.NewJournalLines();
        ASSERT_TRUE(Checked(window, 1019));  // every channel is on by default
        // Anywhere on the control counts, also right of its caption.
        QWidget* cam3 = window.Control(1019);
        op::Click(cam3, QPoint(cam3->width() - 2, cam3->height() / 2));
        EXPECT_FALSE(Checked(window, 1019));
        EXPECT_EQ(run.NewJournalLines(), Lines{"OvrEnableChannel 2 0"});
        op::Click(cam3);
        EXPECT_TRUE(Checked(window, 1019));
        EXPECT_EQ(run.NewJournalLines(), Lines{"OvrEnableChannel 2 1"});
        // Space on the focused box is a click too.
        op::Key(window, Qt::Key_Space);
        EXPECT_EQ(run.NewJournalLines(), Lines{"OvrEnableChannel 2 0"});
        // Ticking by program reports nothing.
        window.SetCheck(1019, 1);
        EXPECT_TRUE(Checked(window, 1019));
        EXPECT_TRUE(run.NewJournalLines().empty());
        op::Key(window, Qt::Key_Escape);
    });
    EXPECT_EQ(panelState.cameraEnable[2], 0);
}

TEST_F(OperatorActions, ApplyRadioSendsTheTypedLayoutOrWarnsOfARepeatedCamera) {
    run.Run([this](QtPanelDialog& window) {
        MessageBoxAnswerer boxes;
        ASSERT_TRUE(Checked(window, 1014));  // the start-up's layout: DIV 16
        ASSERT_TRUE(Checked(window, ids::Ntsc));
        const int tiles[] = {1092, 1093, 1102, 1103};
        for (int i = 0; i < 4; ++i) op::Type(Box(window, tiles[i]), QString::number(5 + i));
        run.NewJournalLines();

        op::Click(window.Control(1009));
        Lines sent = run.NewJournalLines();
        ASSERT_EQ(sent.size(), 2u);
        EXPECT_EQ(sent[0], "OvrEnableAll309CH");
        EXPECT_EQ(SentChannels(sent[1]), (std::vector<int>{4, 5, 6, 7, 255}));
        // The click selected it and cleared its group, and only its group.
        EXPECT_TRUE(Checked(window, 1009));
        EXPECT_FALSE(Checked(window, 1014));
        EXPECT_TRUE(Checked(window, ids::Ntsc));

        // Clicking the selected radio again is reported again.
        op::Click(window.Control(1009));
        EXPECT_EQ(run.NewJournalLines().size(), 2u);

        op::Type(Box(window, 1103), "5");
        op::Click(window.Control(1009));
        EXPECT_EQ(run.NewJournalLines(), Lines{"OvrEnableAll309CH"});  // no layout is sent
        ASSERT_EQ(boxes.seen().size(), 1u);
        const MessageBoxAnswerer::Seen& box = boxes.seen()[0];
        EXPECT_EQ(box.text, "Please check input channel!");
        EXPECT_EQ(box.caption, "WARNING");
        EXPECT_EQ(box.icon, QMessageBox::Warning);
        EXPECT_EQ(box.buttons, QMessageBox::Ok);
        EXPECT_EQ(box.owner, &window);
        EXPECT_TRUE(box.modal);

        // Setting a radio by program changes that radio alone.
        window.SetCheck(1008, 1);
        EXPECT_TRUE(Checked(window, 1008));
        EXPECT_TRUE(Checked(window, 1009));
        EXPECT_TRUE(run.NewJournalLines().empty());

        // The arrow keys go on past the hidden radio, round to the group box the
        // native search reaches there (no click), then select the next radio
        // of the group as a click does.
        QWidget* div16 = window.Control(1014);
        op::Click(div16);
        run.NewJournalLines();
        op::Key(window, Qt::Key_Right);
        EXPECT_EQ(window.focusWidget(), window.Built().front().second);
        EXPECT_TRUE(run.NewJournalLines().empty());
        op::Key(window, Qt::Key_Right);
        EXPECT_TRUE(Checked(window, 1008));
        EXPECT_FALSE(Checked(window, 1014));
        EXPECT_FALSE(Checked(window, 1016));
        EXPECT_EQ(window.focusWidget(), window.Control(1008));
        EXPECT_EQ(run.NewJournalLines().front(), "OvrEnableAll309CH");
        op::Key(window, Qt::Key_Escape);
    });
}

TEST_F(OperatorActions, TypingInTheChannelBoxShowsThatChannelsPicture) {
    run.Run([](QtPanelDialog& window) {
        PanelTrackbar* brightness = Trackbar(window, ids::BrightnessSlider);
        ASSERT_EQ(brightness->value(), 100);
        const int dragged = op::DragThumb(brightness, 200);
        ASSERT_GT(dragged, 150);
        EXPECT_EQ(panelState.attributes[0].brightness, dragged);

        op::Type(Box(window, ids::ChannelBox), "2");
        EXPECT_EQ(brightness->value(), 100);
        op::Type(Box(window, ids::ChannelBox), "1");
        EXPECT_EQ(brightness->value(), dragged);

        // A text set by program is reported as typing is.
        window.SetText(ids::ChannelBox, "3");
        EXPECT_EQ(brightness->value(), 100);
        window.SetText(ids::ChannelBox, "1");
        EXPECT_EQ(brightness->value(), dragged);

        // A read with a buffer of N characters gives N-1.
        op::Type(Box(window, ids::ChannelBox), "0000000000001");
        EXPECT_EQ(window.GetText(ids::ChannelBox, 10), "000000000");
        EXPECT_EQ(window.GetText(ids::ChannelBox, 1), "");
        op::Key(window, Qt::Key_Escape);
    });
}

TEST_F(OperatorActions, TrackbarReportsEveryMouseActionButNoKey) {
    run.Run([this](QtPanelDialog& window) {
        PanelTrackbar* hue = Trackbar(window, ids::HueSlider);
        ASSERT_EQ(hue->value(), 128);
        run.NewJournalLines();
        auto reported = [this] { return run.NewJournalLines(); };

        const int dragged = op::DragThumb(hue, 60);
        EXPECT_LE(dragged, 60);
        EXPECT_GT(dragged, 50);
        EXPECT_EQ(reported(), Lines{"OvrSetHue 0 " + std::to_string(dragged)});

        // A click on the thumb that moves nothing is reported too.
        op::Click(hue, hue->ThumbRect().center());
        EXPECT_EQ(reported(), Lines{"OvrSetHue 0 " + std::to_string(dragged)});

        // A click on the channel moves the thumb a page (a fifth of the range).
        op::ClickChannel(hue, true);
        EXPECT_EQ(hue->value(), dragged + 51);
        EXPECT_EQ(reported(), Lines{"OvrSetHue 0 " + std::to_string(dragged + 51)});
        op::ClickChannel(hue, false);
        EXPECT_EQ(hue->value(), dragged);
        EXPECT_EQ(reported(), Lines{"OvrSetHue 0 " + std::to_string(dragged)});

        // Keys move the thumb as on Windows and report nothing.
        const struct {
            Qt::Key key;
            int expected;
        } keys[] = {{Qt::Key_Right, dragged + 5}, {Qt::Key_Down, dragged + 10}, {Qt::Key_Up, dragged + 5},
                    {Qt::Key_Left, dragged},      {Qt::Key_PageDown, dragged + 51}, {Qt::Key_PageUp, dragged},
                    {Qt::Key_End, 255},           {Qt::Key_Right, 255},           {Qt::Key_Home, 0}};
        ASSERT_EQ(window.focusWidget(), hue);
        for (const auto& [key, expected] : keys) {
            op::Key(window, key);
            EXPECT_EQ(hue->value(), expected) << "key " << key;
        }
        EXPECT_TRUE(reported().empty());
        EXPECT_EQ(panelState.attributes[0].hue, dragged);

        // The right button does nothing.
        QTest::mouseClick(hue, Qt::RightButton, Qt::NoModifier, hue->ThumbRect().center());
        EXPECT_TRUE(reported().empty());
        op::Key(window, Qt::Key_Escape);
    });
}

}  // namespace
