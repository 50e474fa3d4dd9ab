// The panel's warnings (a driver that did not load, a settings file it cannot
// read or could not save, a long wait for the settings lock) in message boxes,
// for an operator who started the panel from the menu and sees no standard
// error. Those the start-up had are shown once the window is up, later ones as
// they come, those of the close after the window has gone. A run that ends by
// the panel's own quit request (the show-panel flag was 0) shows none: that
// start stays silent but for standard error.
#pragma once

#include <QObject>

class QtPanelDialog;

class WarningBoxes final : public QObject {
public:
    explicit WarningBoxes(QtPanelDialog& window);
    ~WarningBoxes() override;
    WarningBoxes(const WarningBoxes&) = delete;
    WarningBoxes& operator=(const WarningBoxes&) = delete;

    // After the dialog has ended with RESULT: shows what is left (a failed
    // save) in a box of its own, unless the panel quit on its own or a
    // termination signal ended it (then nobody waits for a box).
    void ShowAfterClose(int result, bool signalled);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static void WarningKept();
    void ShowKept();

    QtPanelDialog& window_;
    bool showing_ = false;
};
