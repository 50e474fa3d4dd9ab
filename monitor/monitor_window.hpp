// The monitor window: the virtual board's picture, drawn again at the video's
// frame rate (NTSC 30000/1001, PAL 25 per second) from the state the stand-in
// publishes, and a "BOARD STOPPED" card while the board shows nothing. A change
// of the board is drawn as soon as it is seen, between frames if need be. It does
// not mind the panel coming and going. Its title says the standard and layout
// shown; F11 or a double click puts it full screen and back, Escape leaves
// full screen. It starts within its screen's free area, wherever it was asked
// to go.
#pragma once

#include <QImage>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdint>

#include "sim/board_link.hpp"
#include "sim/picture.hpp"

// The cameras' clock: milliseconds of the system's monotonic clock.
std::int64_t PictureTimeNow();

class MonitorWindow : public QWidget {
    Q_OBJECT

public:
    explicit MonitorWindow(QWidget* parent = nullptr);

    // Reads the board and draws its current picture; the frame timer calls it.
    void Refresh();

    bool BoardShowing() const { return showing_; }
    bool FullScreen() const { return fullScreen_ || isFullScreen(); }
    const QImage& Frame() const { return frame_; }

    // What the frames have cost since the window opened.
    struct FrameCost {
        long frames = 0;
        std::chrono::steady_clock::time_point first, last;  // when the first and the last frame began
        std::chrono::nanoseconds total{}, worst{};
    };
    const FrameCost& Cost() const { return cost_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    // Reads the board and draws it; returns the state drawn.
    sim::BoardState DrawFrame();
    void WatchBoard();
    void ShowTitle(const sim::BoardState& state);
    void ToggleFullScreen();
    void KeepOnScreen();

    sim::BoardViewer viewer_;
    sim::Picture picture_;
    QImage frame_;
    QTimer timer_;
    QTimer watch_;
    sim::BoardState drawn_{};  // what the last frame showed
    bool drawnLoaded_ = false;
    std::chrono::steady_clock::time_point nextFrame_ = std::chrono::steady_clock::now();
    bool showing_ = false;
    bool placed_ = false;
    bool fullScreen_ = false;
    QRect normalPlace_;  // where the window was before it went full screen
    FrameCost cost_;
};
