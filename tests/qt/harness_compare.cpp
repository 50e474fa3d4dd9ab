#include "harness_compare.hpp"

#include <QLineEdit>
#include <QProcess>
#include <map>
#include <sstream>

#include "panel_run.hpp"
#include "qt/panel_widgets.hpp"

Lines DumpWindow(QtPanelDialog& window) {
    std::map<int, std::string> byId;
    for (const auto& [entry, widget] : window.Built()) {
        std::ostringstream line;
        line << entry->id;
        if (entry->kind == ControlKind::CheckBox || entry->kind == ControlKind::Radio)
            line << " check " << window.GetCheck(entry->id);
        else if (entry->kind == ControlKind::Edit)
            line << " text " << qobject_cast<QLineEdit*>(widget)->text().toStdString();
        else if (auto* trackbar = dynamic_cast<PanelTrackbar*>(widget))
            line << " slider " << trackbar->value() << ' ' << trackbar->RangeMin() << ' ' << trackbar->RangeMax()
                 << ' ' << trackbar->singleStep();
        else
            continue;
        if (!widget->isVisibleTo(&window)) line << " hidden";
        if (!widget->isEnabled()) line << " disabled";
        byId[entry->id] = line.str();
    }
    Lines lines;
    for (const auto& [id, line] : byId) lines.push_back(line);
    return lines;
}

Qt::Key QtKey(const std::string& name) {
    if (name == "right") return Qt::Key_Right;
    if (name == "left") return Qt::Key_Left;
    if (name == "up") return Qt::Key_Up;
    if (name == "down") return Qt::Key_Down;
    if (name == "pageup") return Qt::Key_PageUp;
    if (name == "pagedown") return Qt::Key_PageDown;
    if (name == "home") return Qt::Key_Home;
    return Qt::Key_End;
}

HarnessRun RunHarness(const PanelRun& folder, const std::string& script) {
    WriteWholeFile(folder.Path("script.txt"), script);
    QProcess harness;
    harness.setWorkingDirectory(folder.Path("."));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("TAVRIND_JOURNAL", folder.Path("journal.txt"));
    harness.setProcessEnvironment(environment);
    harness.start(KORVANE16_HARNESS, {folder.Path("script.txt")});
    HarnessRun result;
    if (!harness.waitForFinished(30000)) return result;
    result.exitCode = harness.exitCode();
    Lines output;
    for (const QByteArray& line : harness.readAllStandardOutput().split('\n'))
        if (!line.isEmpty()) output.push_back(line.toStdString());
    // Message boxes come up while the operator works; the dump lines follow. A
    // quit request shows in the window's modal result instead.
    for (const std::string& line : output) {
        if (line.rfind("quit ", 0) == 0) continue;
        (line.rfind("messagebox ", 0) == 0 ? result.messageBoxes : result.dump).push_back(line);
    }
    return result;
}

std::string FirstDifference(const Lines& window, const Lines& harness) {
    std::size_t at = 0;
    while (at < window.size() && at < harness.size() && window[at] == harness[at]) ++at;
    std::ostringstream message;
    message << "line " << at + 1 << ": window \"" << (at < window.size() ? window[at] : "(end)") << "\", harness \""
            << (at < harness.size() ? harness[at] : "(end)") << '"';
    return message.str();
}

