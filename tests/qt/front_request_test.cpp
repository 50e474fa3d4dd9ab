// A second start of the desktop program brings the running panel's window to
// the front: the window here is the first panel, the second is the real
// program started beside it in the same session.
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>

#include "operator.hpp"
#include "panel_run.hpp"
#include "platform/panel_instance.hpp"

namespace {

// A user session of the test's own: a private run-time folder.
class Session {
public:
    Session() : previous_(std::getenv("XDG_RUNTIME_DIR") ? std::getenv("XDG_RUNTIME_DIR") : "") {
        QFile::setPermissions(folder_.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        setenv("XDG_RUNTIME_DIR", folder_.path().toLocal8Bit().constData(), 1);
    }
    ~Session() {
        if (previous_.empty()) unsetenv("XDG_RUNTIME_DIR");
        else setenv("XDG_RUNTIME_DIR", previous_.c_str(), 1);
    }

private:
    QTemporaryDir folder_;
    std::string previous_;
};

TEST(FrontRequest, ASecondStartBringsTheMinimisedPanelBackToTheFront) {
    Session session;
    platform::PanelInstance instance;
    ASSERT_EQ(instance.State(), platform::PanelInstance::Claim::Ours) << instance.Error();
    PanelRun run;
    run.HoldInstance(&instance);
    run.Run([&](QtPanelDialog& window) {
        window.showMinimized();
        ASSERT_TRUE(QTest::qWaitFor([&] { return window.isMinimized(); }));

        QProcess second;
        second.start(KORVANE16_PROGRAM, {});
        // The first panel's events go on meanwhile: it answers the request.
        ASSERT_TRUE(QTest::qWaitFor([&] { return second.state() == QProcess::NotRunning; }, 30000));
        EXPECT_EQ(second.exitCode(), 1);
        EXPECT_NE(second.readAllStandardError().indexOf("brought to the front"), -1);

        EXPECT_TRUE(QTest::qWaitFor([&] { return !window.isMinimized() && window.isVisible(); }));
        EXPECT_TRUE(window.isActiveWindow());
        op::Key(window, Qt::Key_Escape);
    });
    EXPECT_EQ(run.Journal().back(), "unload");  // the first panel closed normally
}

}  // namespace
