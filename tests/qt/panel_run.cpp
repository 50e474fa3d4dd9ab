#include "panel_run.hpp"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <cstdlib>

#include "app/panel_app.hpp"
#include "app/process_state.hpp"
#include "qt/qt_frontend.hpp"
#include "tests/file_text.hpp"

namespace {

constexpr int kWatchdogMs = 20000;

// The desktop frontend working SCENARIO once the window is shown; it keeps the
// modal result.
class ScenarioFrontend final : public QtFrontend {
public:
    ScenarioFrontend(const std::function<void(QtPanelDialog&)>& scenario, platform::PanelInstance* instance)
        : QtFrontend(instance, [&scenario](QtPanelDialog& window) {
              // A scenario that leaves the dialog open must not hang the test.
              QTimer::singleShot(kWatchdogMs, &window, [&window] {
                  ADD_FAILURE() << "the dialog was still open after " << kWatchdogMs << " ms";
                  window.done(QtPanelDialog::kCancel);
              });
              // The start-up may end the run at once (a quit request): then
              // there is nothing to work.
              const bool settled =
                  QTest::qWaitFor([&window] { return !window.isVisible() || window.windowHandle()->isExposed(); });
              if (settled && window.isVisible()) scenario(window);
          }) {}

    int RunModal(CTvPanelDlg& dlg) override { return result_ = QtFrontend::RunModal(dlg); }
    int Result() const { return result_; }

private:
    int result_ = 0;
};

}  // namespace

std::vector<std::string> ReadLines(const QString& path) { return SplitLines(ReadWholeFile(path)); }

std::string ReadWholeFile(const QString& path) { return ReadFileText(path.toStdString()); }

void WriteWholeFile(const QString& path, const std::string& text) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text.data(), static_cast<qint64>(text.size()));
}

PanelRun::PanelRun() : previousFolder_(QDir::currentPath()) {
    EXPECT_TRUE(folder_.isValid());
    QDir::setCurrent(folder_.path());
    setenv("TAVRIND_JOURNAL", Path("journal.txt").toLocal8Bit().constData(), 1);
}

PanelRun::~PanelRun() {
    unsetenv("TAVRIND_JOURNAL");
    QDir::setCurrent(previousFolder_);
}

std::vector<std::string> PanelRun::NewJournalLines() {
    const std::vector<std::string> all = Journal();
    const std::size_t from = std::min(journalSeen_, all.size());
    journalSeen_ = all.size();
    return {all.begin() + static_cast<std::ptrdiff_t>(from), all.end()};
}

int PanelRun::Run(const std::function<void(QtPanelDialog&)>& scenario) {
    ResetProcessState();
    ScenarioFrontend frontend(scenario, instance_);
    theApp.InitInstance(frontend);
    return frontend.Result();
}
