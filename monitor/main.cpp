// korvane16-monitor [--snapshot FILE.png] [--frame-report SECONDS] [Qt's own options]
#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QSaveFile>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "monitor/monitor_window.hpp"
#include "platform/standard_output.hpp"
#include "qt/display_opening.hpp"
#include "sim/picture_renderer.hpp"

namespace {

constexpr const char* kUsage =
    "usage: korvane16-monitor [--snapshot FILE.png] [--frame-report SECONDS] [Qt options]\n";

// Writes the running board's current picture; 0, or 1 when there is none.
int Snapshot(const char* path) {
    sim::BoardViewer viewer;
    sim::BoardState state{};
    if (!viewer.Read(state)) {
        std::fputs("korvane16-monitor: no virtual board is running (start the panel with the stand-in TAVRIND.dll)\n",
                   stderr);
        return 1;
    }
    sim::Picture picture;
    sim::RenderPicture(state, PictureTimeNow(), picture);
    const QImage image(picture.bytes.data(), picture.width, picture.height, picture.width * 3, QImage::Format_RGB888);
    QSaveFile file(QString::fromLocal8Bit(path));
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit()) {
        std::fprintf(stderr, "korvane16-monitor: cannot write %s: %s\n", path,
                     file.errorString().toLocal8Bit().constData());
        return 1;
    }
    return 0;
}

bool Set(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// Whether the toolkit has a display to open the window on, or was told on the
// command line which platform to use.
bool DisplayToOpen(const std::vector<char*>& qtArguments) {
    if (Set("DISPLAY") || Set("WAYLAND_DISPLAY") || Set("QT_QPA_PLATFORM")) return true;
    return std::any_of(qtArguments.begin(), qtArguments.end(), [](const char* word) {
        const std::string_view option(word);
        return option == "-platform" || option == "--platform" || option.starts_with("-platform=") ||
               option.starts_with("--platform=");
    });
}

void ReportFrames(const MonitorWindow& window) {
    using Milliseconds = std::chrono::duration<double, std::milli>;
    const MonitorWindow::FrameCost& cost = window.Cost();
    const double span = std::chrono::duration<double>(cost.last - cost.first).count();
    std::printf("%ld frames in %.2f s (%.2f per second); a frame took %.2f ms on average, %.2f ms at most\n",
                cost.frames, span, span > 0 ? (cost.frames - 1) / span : 0.0,
                cost.frames > 0 ? Milliseconds(cost.total).count() / static_cast<double>(cost.frames) : 0.0,
                Milliseconds(cost.worst).count());
}

}  // namespace

int main(int argc, char** argv) {
    double reportAfter = 0;
    const char* snapshot = nullptr;
    std::vector<char*> qtArguments{argv[0]};
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--help" || option == "-h") {
            std::fputs(kUsage, stdout);
            std::fputs("Shows the picture of this user's virtual board (the stand-in TAVRIND.dll), live.\n"
                       "  --snapshot FILE.png     write the running board's current picture and exit\n"
                       "                          (status 1 when no virtual board is running)\n"
                       "  --frame-report SECONDS  run that long, then print the frames shown and their cost\n",
                       stdout);
            return platform::FinishStandardOutput("korvane16-monitor", 0);
        }
        if (option == "--version") {
            std::puts("korvane16-monitor " KORVANE16_VERSION);
            return platform::FinishStandardOutput("korvane16-monitor", 0);
        }
        // An option's value is the next word; a word that looks like an
        // option is not taken for a file (write ./-NAME for such a file).
        const bool valueFollows = i + 1 < argc && argv[i + 1][0] != '-';
        if (option == "--snapshot" && valueFollows && snapshot == nullptr) {
            snapshot = argv[++i];
        } else if (option == "--frame-report" && valueFollows && std::atof(argv[i + 1]) > 0) {
            reportAfter = std::atof(argv[++i]);
        } else if (option == "--snapshot" || option == "--frame-report") {
            std::fputs(kUsage, stderr);
            return 2;
        } else {
            qtArguments.push_back(argv[i]);
        }
    }
    if (snapshot != nullptr) {
        // A snapshot opens no window: nothing else belongs beside it.
        if (qtArguments.size() > 1 || reportAfter > 0) {
            std::fputs(kUsage, stderr);
            return 2;
        }
        return Snapshot(snapshot);
    }

    // Without one the toolkit would abort with a long report; say it in one line.
    if (!DisplayToOpen(qtArguments)) {
        std::fputs("korvane16-monitor: no display to show the monitor on (neither DISPLAY nor WAYLAND_DISPLAY is "
                   "set); --snapshot FILE.png needs none\n",
                   stderr);
        return 1;
    }
    int qtCount = static_cast<int>(qtArguments.size());
    qtArguments.push_back(nullptr);
    std::optional<DisplayOpening> opening(std::in_place, "korvane16-monitor");
    QApplication application(qtCount, qtArguments.data());
    opening.reset();
    if (application.arguments().size() > 1) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    application.setWindowIcon(QIcon(":/korvane16/korvane16.png"));
    MonitorWindow window;
    window.show();
    if (reportAfter > 0) {
        QTimer::singleShot(static_cast<int>(reportAfter * 1000), &application, [&] {
            ReportFrames(window);
            application.quit();
        });
    }
    return application.exec();
}
