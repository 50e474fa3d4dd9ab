#include "monitor/monitor_window.hpp"

#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <cstring>

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

constexpr const char* kTitle = "KORVANE16 monitor";

// How often the board is looked at between frames for a change to show.
constexpr int kWatchMs = 4;

// The layout the board shows, named as the panel names it by its tile count.
QString LayoutName(std::int32_t tileCount) {
    for (const int tiles : {1, 4, 6, 8, 9, 10, 13, 16})
        if (tileCount == tiles) return QStringLiteral("DIV %1").arg(tiles);
    return QStringLiteral("%1 tiles").arg(tileCount);
}

}  // namespace

std::int64_t PictureTimeNow() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

MonitorWindow::MonitorWindow(QWidget* parent) : QWidget(parent) {
    setWindowTitle(kTitle);
    setMinimumSize(240, 180);
    resize(640, 480);
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &MonitorWindow::Refresh);
    watch_.setTimerType(Qt::PreciseTimer);
    connect(&watch_, &QTimer::timeout, this, &MonitorWindow::WatchBoard);
    watch_.start(kWatchMs);
    Refresh();
}

void MonitorWindow::Refresh() {
    const sim::BoardState state = DrawFrame();
    // Frames keep to the video's own rate on average; a late frame is not
    // made up for.
    const auto period = FramePeriod(showing_, state.standard);
    const auto now = std::chrono::steady_clock::now();
    nextFrame_ = std::max(nextFrame_ + period, now);
    timer_.start(static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(nextFrame_ - now).count()));
}

void MonitorWindow::WatchBoard() {
    // A change the board has made is shown at once, not at the next frame:
    // a call then reaches the screen within a few milliseconds.
    sim::BoardState state{};
    const bool loaded = viewer_.Read(state);
    if (loaded != drawnLoaded_ || (loaded && std::memcmp(&state, &drawn_, sizeof state) != 0)) DrawFrame();
}

sim::BoardState MonitorWindow::DrawFrame() {
    const auto start = std::chrono::steady_clock::now();
    sim::BoardState state{};
    const bool loaded = viewer_.Read(state);
    showing_ = loaded && state.Showing();
    if (showing_)
        sim::RenderPicture(state, PictureTimeNow(), picture_);
    else
        DrawStoppedCard(picture_, loaded);
    ShowTitle(state);
    frame_ = QImage(picture_.bytes.data(), picture_.width, picture_.height, picture_.width * 3,
                    QImage::Format_RGB888);
    repaint();
    drawn_ = state;
    drawnLoaded_ = loaded;

    const auto spent = std::chrono::steady_clock::now() - start;
    if (cost_.frames == 0) cost_.first = start;
    cost_.last = start;
    ++cost_.frames;
    cost_.total += spent;
    cost_.worst = std::max<std::chrono::nanoseconds>(cost_.worst, spent);
    return state;
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

void MonitorWindow::ShowTitle(const sim::BoardState& state) {
    QString title = kTitle;
    if (showing_)
        title += QStringLiteral(" \u2014 %1, %2")
                     .arg(state.standard == sim::kPal ? "PAL" : "NTSC", LayoutName(state.tileCount));
    if (title != windowTitle()) setWindowTitle(title);
}

void MonitorWindow::ToggleFullScreen() {
    // The window's place is also set by hand: an X display without a window
    // manager (a bare monitor screen) does not act on the full-screen state,
    // and the toolkit then does not report it either.
    if (FullScreen()) {
        fullScreen_ = false;
        showNormal();
        setGeometry(normalPlace_);
    } else {
        fullScreen_ = true;
        normalPlace_ = geometry();
        const QRect whole = screen()->geometry();
        showFullScreen();
        setGeometry(whole);
    }
}

void MonitorWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F11) ToggleFullScreen();
    else if (event->key() == Qt::Key_Escape && FullScreen()) ToggleFullScreen();
    else QWidget::keyPressEvent(event);
}

void MonitorWindow::mouseDoubleClickEvent(QMouseEvent*) { ToggleFullScreen(); }

void MonitorWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (placed_) return;
    placed_ = true;
    // After the toolkit has applied a -geometry from the command line.
    QTimer::singleShot(0, this, [this] { KeepOnScreen(); });
}

void MonitorWindow::KeepOnScreen() {
    // A place given on the command line (or none) may lie partly off a small
    // screen: the window is made to fit its free area and moved into it. The
    // native window knows a -geometry before the widget does.
    const QWindow* native = windowHandle();
    if (native == nullptr || native->screen() == nullptr || FullScreen()) return;
    const QRect free = native->screen()->availableGeometry();
    const QRect frame = native->frameGeometry();
    const QSize decoration = frame.size() - native->geometry().size();
    const QSize inner = native->geometry().size().boundedTo(free.size() - decoration).expandedTo(minimumSize());
    const QSize outer = inner + decoration;
    const int x = std::clamp(frame.x(), free.left(), std::max(free.left(), free.right() + 1 - outer.width()));
    const int y = std::clamp(frame.y(), free.top(), std::max(free.top(), free.bottom() + 1 - outer.height()));
    if (inner != native->geometry().size()) resize(inner);
    if (x != frame.x() || y != frame.y()) move(x, y);
}
