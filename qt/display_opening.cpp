#include "qt/display_opening.hpp"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Held {
    QtMsgType type;
    int line;
    std::string category, file, function;
    QString text;
};

const char* programName = "";
QtMessageHandler previous = nullptr;
std::vector<Held> held;

std::string WhereTheWindowGoes() {
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    const char* x = std::getenv("DISPLAY");
    if (x != nullptr && *x != '\0') return std::string("the display ") + x;
    if (wayland != nullptr && *wayland != '\0') return std::string("the Wayland display ") + wayland;
    return "a display";
}

void HoldOrEnd(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        // The toolkit's own first complaint says why, e.g. "could not connect to display :9".
        QString reason = text;
        for (const Held& line : held)
            if (line.category.starts_with("qt.qpa")) {
                reason = line.text;
                break;
            }
        std::fprintf(stderr, "%s: cannot open %s (%s); run it on a working display, or on a virtual one with: "
                             "xvfb-run -a %s\n",
                     programName, WhereTheWindowGoes().c_str(), reason.simplified().toLocal8Bit().constData(),
                     programName);
        std::fflush(stderr);
        std::_Exit(1);
    }
    held.push_back({type, context.line, context.category ? context.category : "", context.file ? context.file : "",
                    context.function ? context.function : "", text});
}

}  // namespace

DisplayOpening::DisplayOpening(const char* program) {
    programName = program;
    held.clear();
    previous = qInstallMessageHandler(HoldOrEnd);
}

DisplayOpening::~DisplayOpening() {
    qInstallMessageHandler(previous);
    for (Held& line : held) {
        const QMessageLogContext context(line.file.c_str(), line.line, line.function.c_str(),
                                         line.category.c_str());
        qt_message_output(line.type, context, line.text);
    }
    held.clear();
}
