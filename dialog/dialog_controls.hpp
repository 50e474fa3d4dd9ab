// The one small interface through which the panel touches the dialog's
// controls, as the Windows dialog and control services offer them. Each
// frontend (desktop, native Windows, headless) realises it with the control
// behaviour of a Windows dialog:
//  - SetText raises the edit box's EN_UPDATE then EN_CHANGE at once, before it returns;
//  - GetText with a buffer of N characters gives at most N-1 of them;
//  - SetCheck raises no click and changes that one control only;
//  - a trackbar position is always kept inside the range.
#pragma once

#include <string>
#include <string_view>

// Message box types, with their Windows values.
namespace message_box {
inline constexpr unsigned Ok = 0x00;
inline constexpr unsigned IconExclamation = 0x30;
}  // namespace message_box

class DialogControls {
public:
    virtual ~DialogControls() = default;

    virtual std::string GetText(int id, int bufferChars) = 0;
    virtual void SetText(int id, std::string_view text) = 0;

    virtual int GetCheck(int id) = 0;
    virtual void SetCheck(int id, int state) = 0;

    virtual void SetSliderRangeMin(int id, int minimum, bool redraw) = 0;
    virtual void SetSliderRangeMax(int id, int maximum, bool redraw) = 0;
    virtual void SetSliderLineSize(int id, int lineSize) = 0;
    virtual int GetSliderPos(int id) = 0;
    virtual void SetSliderPos(int id, int position, bool redraw) = 0;

    // Modal, owned by the dialog; returns when the operator has closed it.
    virtual void ShowMessageBox(std::string_view text, std::string_view caption, unsigned type) = 0;
    // Ends the modal run with this exit code once the current handler has returned.
    virtual void PostQuit(int exitCode) = 0;
};
