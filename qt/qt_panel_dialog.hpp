// The panel's dialog on the Linux desktop: a Qt window built from the dialog
// template, whose controls keep the behaviour of a Windows dialog's controls.
// Painting, the minimised window and the drag icon are the desktop's own
// business here, so the panel's paint and drag-icon handlers are not called.
#pragma once

#include <QDialog>
#include <functional>
#include <map>
#include <utility>
#include <vector>

#include "dialog/dialog_controls.hpp"
#include "app/dialog_template.hpp"
#include "app/dialog_window.hpp"
#include "qt/dialog_units.hpp"

class CTvPanelDlg;
class PanelTrackbar;

class QtPanelDialog final : public QDialog, public DialogControls, public DialogWindow {
public:
    explicit QtPanelDialog(CTvPanelDlg& dlg);

    // The creation message, then every control of the template and the
    // initialisation. False when the panel refused the creation.
    bool Create();
    // The destruction message, while every control can still be read.
    void Destroy();

    // The control with this identifier, or nullptr.
    QWidget* Control(int id) const;
    // The template entry each child widget was built from, in template order.
    const std::vector<std::pair<const ControlSpec*, QWidget*>>& Built() const { return built_; }
    BaseUnits Units() const { return units_; }
    // True once the panel has asked to quit (the run then ends by itself).
    bool QuitRequested() const { return quitRequested_; }

    // Windows modal results: 1 for Enter, 2 for Escape and the close box, -1
    // when the panel asked to quit.
    static constexpr int kEnter = 1, kCancel = 2, kQuit = -1;

    // DialogControls
    std::string GetText(int id, int bufferChars) override;
    void SetText(int id, std::string_view text) override;
    int GetCheck(int id) override;
    void SetCheck(int id, int state) override;
    void SetSliderRangeMin(int id, int minimum, bool redraw) override;
    void SetSliderRangeMax(int id, int maximum, bool redraw) override;
    void SetSliderLineSize(int id, int lineSize) override;
    int GetSliderPos(int id) override;
    void SetSliderPos(int id, int position, bool redraw) override;
    void ShowMessageBox(std::string_view text, std::string_view caption, unsigned type) override;
    void PostQuit(int exitCode) override;

    // DialogWindow
    void SetIcon(IconHandle icon, bool big) override;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    QWidget* Build(const ControlSpec& entry);
    void Connect(const ControlSpec& entry, QWidget* widget);
    void Describe();
    PanelTrackbar* Trackbar(int id) const;
    // Delivers a message to the panel; a quit request ends the run once the
    // outermost handler has returned.
    void Notify(unsigned message, int code, int id);
    void EndIfQuitPosted();
    void OperatorClickedRadio(int id);
    bool IsReachable(std::size_t index) const;
    bool IsTabStop(std::size_t index) const;

    CTvPanelDlg& dlg_;
    BaseUnits units_;
    std::vector<std::pair<const ControlSpec*, QWidget*>> built_;
    std::map<int, QWidget*> byId_;
    int handlerDepth_ = 0;
    bool shown_ = false;
    bool quitPosted_ = false;
    bool quitRequested_ = false;
};

namespace platform {
class PanelInstance;
}

// Builds the dialog, runs it modally and destroys it; a termination signal
// closes it as the close box does. AFTER_SHOW, when given, runs inside the
// modal run once the dialog has been shown (the tests work the window there).
// With INSTANCE (the session's claim this panel holds), a second start's
// request brings the window to the front.
int RunQtDialog(CTvPanelDlg& dlg, const std::function<void(QtPanelDialog&)>& afterShow = {},
                platform::PanelInstance* instance = nullptr);

// Shows WINDOW restored from the task bar, above the others, with the focus.
void BringToFront(QWidget& window);
