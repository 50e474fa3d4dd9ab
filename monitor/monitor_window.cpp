#include "monitor/monitor_window.hpp"

#include <QPainter>

#include "monitor/stopped_card.hpp"
#include "sim/picture_renderer.hpp"

namespace {

// The time between frames: NTSC 1001/30 ms, PAL 40 ms; while stopped the board
// is looked at ten times a second.
std::chrono::microseconds FramePeriod(bool showing, std::int32_t standard) {
    using std::chrono::microseconds;
    if (!showing) return microseconds(100000);
    return standard == sim::kPal ? microseconds(40000) : microseconds(1001000 / 30);
}

}  // namespace

std::int64_t PictureTimeNow() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

MonitorWindow::MonitorWindow(QWidget* parent) : QWidget(parent) {
    setWindowTitle("KORVANE16 monitor");
    setMinimumSize(240, 180);
    resize(640, 480);
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &MonitorWindow::Refresh);
    Refresh();
}

void MonitorWindow::Refresh() {
    const auto start = std::chrono::steady_clock::now();
    sim::BoardState state{};
    const bool loaded = viewer_.Read(state);
    showing_ = loaded && state.Showing();
    if (showing_)
        sim::RenderPicture(state, PictureTimeNow(), picture_);
    else
        DrawStoppedCard(picture_, loaded);
    frame_ = QImage(picture_.bytes.data(), picture_.width, picture_.height, picture_.width * 3,
                    QImage::Format_RGB888);
    repaint();

    const auto spent = std::chrono::steady_clock::now() - start;
    if (cost_.frames == 0) cost_.first = start;
    cost_.last = start;
    ++cost_.frames;
    cost_.total += spent;
    cost_.worst = std::max<std::chrono::nanoseconds>(cost_.worst, spent);
    // Frames keep to the video's own rate on average; a late frame is not
    // made up for.
    const auto period = FramePeriod(showing_, state.standard);
    const auto now = std::chrono::steady_clock::now();
    nextFrame_ = std::max(nextFrame_ + period, now);
    timer_.start(static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(nextFrame_ - now).count()));
}

void MonitorWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    // A TV picture is 4:3 whatever its number of lines.
    QSize shown(4, 3);
    shown.scale(size(), Qt::KeepAspectRatio);
    const QRect target(QPoint((width() - shown.width()) / 2, (height() - shown.height()) / 2), shown);
    painter.drawImage(target, frame_);
}
