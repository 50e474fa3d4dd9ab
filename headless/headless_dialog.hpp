// The panel's dialog without a screen: every control of the dialog template
// kept in memory with the behaviour of a Windows dialog, worked by operator
// actions. The harness and the tests drive the real panel through it.
#pragma once

#include <initializer_list>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "dialog/dialog_controls.hpp"
#include "app/dialog_template.hpp"
#include "app/dialog_window.hpp"

class CTvPanelDlg;

class HeadlessDialog : public DialogControls, public DialogWindow {
public:
    // EVENTS receives the lines the harness prints as things happen (message
    // boxes, quit requests).
    HeadlessDialog(CTvPanelDlg& dlg, std::ostream& events);

    // Creation, initialisation and the first show notification.
    void Create();
    // The show notification alone.
    void ShowAgain();
    // Ends the dialog (Escape) and destroys it.
    void End();
    bool Created() const { return created_; }
    bool Ended() const { return ended_; }
    // True when the panel has asked to quit and the dialog must end.
    bool QuitPosted() const { return quitPosted_; }

    // Operator actions. Each returns why it cannot be done, or nullopt.
    std::optional<std::string> Click(int id);
    std::optional<std::string> Type(int id, std::string_view text);
    std::optional<std::string> Drag(int id, int position);
    std::optional<std::string> Key(int id, std::string_view key);
    // A left click at PLACE of a trackbar, as the native control takes it:
    // "thumb" (released where it stands), "before" or "after" it on the
    // channel (a page towards the click, then released), or "beside" it on
    // the control's top row, which neither thumb nor channel takes.
    std::optional<std::string> Press(int id, std::string_view place);

    void Dump(std::ostream& out) const;

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

private:
    struct Control {
        const ControlSpec* entry;
        std::string text;
        int check = 0;
        // A trackbar as the platform creates it: range 0..100, step 1.
        int position = 0, minimum = 0, maximum = 100, lineSize = 1;
    };

    Control* Find(int id);
    // The control an operator can act on, or why not.
    std::optional<std::string> Reachable(int id, std::initializer_list<ControlKind> kinds, Control*& control);
    void Notify(unsigned message, int code, int id);

    CTvPanelDlg& dlg_;
    std::ostream& events_;
    std::map<int, Control> controls_;  // by identifier: dump lists them in that order
    bool created_ = false;
    bool ended_ = false;
    bool quitPosted_ = false;
};
