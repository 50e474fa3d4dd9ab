// panel_operator PANEL SCRIPT: starts the native panel PANEL in the current
// directory and works its real window from outside, as an operator would, by
// the harness's script commands: show [ARGUMENTS], click ID, type ID TEXT,
// drag ID POS, press ID PLACE, dump, close; and second-start, which starts
// PANEL once more while it runs. "dump" prints the controls in the harness's format, so the
// native dialog can be compared with the headless one line by line. A message
// box the panel shows is printed as the harness prints it, without the type
// (which its window does not tell), and answered with OK. "close" presses
// Escape; when the script ends with the panel still open, a WM_CLOSE message
// closes it.
// Exit status: the panel's own, or 2 when the panel misbehaved or a command
// could not be carried out.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/dialog_template.hpp"

namespace {

constexpr DWORD kPatienceMs = 30000;
constexpr char kMessageBoxClass[] = "#32770";

struct Failure {
    std::string why;
};

void Print(const std::string& line) {
    // Written unchanged: the harness ends its lines with a bare line feed.
    DWORD written = 0;
    const std::string text = line + '\n';
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

struct FindPanel {
    DWORD processId;
    HWND found = nullptr;
};

BOOL CALLBACK MatchPanelWindow(HWND hwnd, LPARAM context) {
    auto& search = *reinterpret_cast<FindPanel*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    char caption[64] = {};
    GetWindowTextA(hwnd, caption, sizeof caption);
    if (owner != search.processId || std::string(caption) != kDialog.caption) return TRUE;
    search.found = hwnd;
    return FALSE;
}

class Panel {
public:
    void Start(const std::string& program, const std::string& arguments) {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        std::string commandLine = '"' + program + '"' + (arguments.empty() ? "" : " " + arguments);
        if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &process_))
            throw Failure{"cannot start " + program};
        // Idle means the start-up has run and the dialog waits for the operator
        // (or the panel has already quit by itself).
        WaitForInputIdle(process_.hProcess, kPatienceMs);
        FindPanel search{process_.dwProcessId};
        for (DWORD waited = 0; Running() && waited < kPatienceMs; waited += 20) {
            EnumWindows(MatchPanelWindow, reinterpret_cast<LPARAM>(&search));
            if (search.found != nullptr) break;
            Sleep(20);
        }
        dialog_ = search.found;
        if (dialog_ != nullptr) Sync();
    }

    bool Running() const { return WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT; }
    bool Open() const { return dialog_ != nullptr && Running() && IsWindow(dialog_); }

    // Returns once the panel's thread has handled everything sent before.
    void Sync() const {
        if (dialog_ == nullptr) return;
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(dialog_, WM_NULL, 0, 0, SMTO_NORMAL, kPatienceMs, &ignored);
    }

    // A message box the panel shows, or nullptr.
    HWND ShownMessageBox() const {
        struct Search {
            HWND dialog, found;
        } search{dialog_, nullptr};
        EnumThreadWindows(
            GetWindowThreadProcessId(dialog_, nullptr),
            [](HWND hwnd, LPARAM context) -> BOOL {
                auto& box = *reinterpret_cast<Search*>(context);
                char windowClass[16] = {};
                GetClassNameA(hwnd, windowClass, sizeof windowClass);
                if (hwnd == box.dialog || !IsWindowVisible(hwnd) || std::string(windowClass) != kMessageBoxClass)
                    return TRUE;
                box.found = hwnd;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    HWND Control(int id) const {
        const HWND control = GetDlgItem(dialog_, id);
        if (control == nullptr) throw Failure{"no control has the id " + std::to_string(id)};
        return control;
    }

    // A control the operator can reach: visible and enabled.
    HWND Reachable(int id) const {
        const HWND control = Control(id);
        const LONG styles = GetWindowLongA(control, GWL_STYLE);
        if ((styles & WS_VISIBLE) == 0) throw Failure{"control " + std::to_string(id) + " is hidden"};
        if ((styles & WS_DISABLED) != 0) throw Failure{"control " + std::to_string(id) + " is disabled"};
        return control;
    }

    // A rectangle of the trackbar (TBM_GETTHUMBRECT, TBM_GETCHANNELRECT), read
    // through memory lent by the panel's process, since the trackbar writes it
    // to an address of its own process.
    RECT TrackbarRect(HWND trackbar, UINT query) const {
        RECT rect{};
        void* lent = VirtualAllocEx(process_.hProcess, nullptr, sizeof rect, MEM_COMMIT, PAGE_READWRITE);
        if (lent == nullptr) throw Failure{"cannot borrow memory of the panel"};
        SendMessageA(trackbar, query, 0, reinterpret_cast<LPARAM>(lent));
        const BOOL read = ReadProcessMemory(process_.hProcess, lent, &rect, sizeof rect, nullptr);
        VirtualFreeEx(process_.hProcess, lent, 0, MEM_RELEASE);
        if (!read) throw Failure{"cannot read the trackbar's geometry"};
        return rect;
    }
    RECT ThumbRect(HWND trackbar) const { return TrackbarRect(trackbar, TBM_GETTHUMBRECT); }

    // The harness's close: Escape pressed in the dialog (here in the channel box).
    void PressEscape() {
        PostMessageA(Control(1040), WM_KEYDOWN, VK_ESCAPE, 1);
        dialog_ = nullptr;
    }

    // The window's close box, as a message.
    void Close() {
        if (Open()) PostMessageA(dialog_, WM_CLOSE, 0, 0);
        dialog_ = nullptr;
    }

    // The panel's exit status once it has ended.
    DWORD Finish() {
        Close();
        if (process_.hProcess == nullptr) return 0;
        if (WaitForSingleObject(process_.hProcess, kPatienceMs) != WAIT_OBJECT_0) {
            TerminateProcess(process_.hProcess, 3);
            throw Failure{"the panel did not end"};
        }
        DWORD status = 0;
        GetExitCodeProcess(process_.hProcess, &status);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
        process_ = {};
        return status;
    }

    HWND Dialog() const { return dialog_; }

private:
    PROCESS_INFORMATION process_{};
    HWND dialog_ = nullptr;
};

std::string TextOf(HWND control) {
    std::string text(static_cast<std::size_t>(SendMessageA(control, WM_GETTEXTLENGTH, 0, 0)) + 1, '\0');
    const auto length = SendMessageA(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

void Dump(const Panel& panel) {
    std::vector<const ControlSpec*> listed;
    for (const ControlSpec& entry : kDialogControls)
        if (entry.id != kNoId && entry.kind != ControlKind::PushButton && entry.kind != ControlKind::GroupBox &&
            entry.kind != ControlKind::Label)
            listed.push_back(&entry);
    std::sort(listed.begin(), listed.end(), [](auto* a, auto* b) { return a->id < b->id; });
    for (const ControlSpec* entry : listed) {
        const HWND control = panel.Control(entry->id);
        std::string line = std::to_string(entry->id);
        if (entry->kind == ControlKind::Edit) line += " text " + TextOf(control);
        else if (entry->kind == ControlKind::Trackbar) {
            for (const UINT query : {TBM_GETPOS, TBM_GETRANGEMIN, TBM_GETRANGEMAX, TBM_GETLINESIZE})
                line += (query == TBM_GETPOS ? " slider " : " ") + std::to_string(SendMessageA(control, query, 0, 0));
        } else line += " check " + std::to_string(SendMessageA(control, BM_GETCHECK, 0, 0));
        const LONG styles = GetWindowLongA(control, GWL_STYLE);
        if ((styles & WS_VISIBLE) == 0) line += " hidden";
        if ((styles & WS_DISABLED) != 0) line += " disabled";
        Print(line);
    }
}

// The message box's text: its static control that holds any.
std::string MessageBoxText(HWND box) {
    std::string text;
    EnumChildWindows(
        box,
        [](HWND child, LPARAM context) -> BOOL {
            char windowClass[16] = {};
            GetClassNameA(child, windowClass, sizeof windowClass);
            if (std::string(windowClass) != "Static") return TRUE;
            *reinterpret_cast<std::string*>(context) = TextOf(child);
            return reinterpret_cast<std::string*>(context)->empty();
        },
        reinterpret_cast<LPARAM>(&text));
    return text;
}

void CALLBACK Handled(HWND, UINT, ULONG_PTR done, LRESULT) { *reinterpret_cast<bool*>(done) = true; }

// Clicks the control and waits for the panel to have handled the click,
// answering the message boxes it shows meanwhile.
void Click(const Panel& panel, int id) {
    bool done = false;
    if (!SendMessageCallbackA(panel.Reachable(id), BM_CLICK, 0, 0, Handled, reinterpret_cast<ULONG_PTR>(&done)))
        throw Failure{"cannot reach the panel"};
    HWND answered = nullptr;
    for (DWORD waited = 0; !done; waited += 10) {
        if (waited > kPatienceMs) throw Failure{"the panel does not answer"};
        // The completion is reported while this thread looks at its messages.
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        if (const HWND box = panel.ShownMessageBox(); box != nullptr && box != answered) {
            Print("messagebox \"" + MessageBoxText(box) + "\" \"" + TextOf(box) + '"');
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            answered = box;
        }
        if (!done) Sleep(10);
    }
}

HWND Trackbar(const Panel& panel, int id);

void Drag(const Panel& panel, int id, int position) {
    const HWND trackbar = Trackbar(panel, id);
    // Move the thumb, then press and release the mouse on it without moving.
    SendMessageA(trackbar, TBM_SETPOS, TRUE, position);
    const RECT thumb = panel.ThumbRect(trackbar);
    const LPARAM at = MAKELPARAM((thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2);
    SendMessageA(trackbar, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(trackbar, WM_LBUTTONUP, 0, at);
}

HWND Trackbar(const Panel& panel, int id) {
    const HWND trackbar = panel.Reachable(id);
    char windowClass[64] = {};
    GetClassNameA(trackbar, windowClass, sizeof windowClass);
    if (std::string(windowClass) != TRACKBAR_CLASSA) throw Failure{"control " + std::to_string(id) + " is no trackbar"};
    return trackbar;
}

// A left click at a place of the trackbar named as the harness's "press" names
// it: on the thumb, on the channel before or after it, or on the control's top
// row beside the thumb, which is neither thumb nor channel.
void Press(const Panel& panel, int id, const std::string& place) {
    const HWND trackbar = Trackbar(panel, id);
    const RECT thumb = panel.ThumbRect(trackbar);
    const RECT channel = panel.TrackbarRect(trackbar, TBM_GETCHANNELRECT);
    const int middle = (thumb.top + thumb.bottom) / 2;
    int x = (thumb.left + thumb.right) / 2, y = middle;
    if (place == "before") x = thumb.left - 3;
    else if (place == "after") x = thumb.right + 2;
    else if (place == "beside") x = thumb.right + 2, y = 0;
    else if (place != "thumb") throw Failure{"unknown place " + place};
    if (place != "thumb" && (x < channel.left || x >= channel.right))
        throw Failure{"the channel has no room " + place + " the thumb"};
    if (place == "beside" && thumb.top <= 0) throw Failure{"the thumb reaches the control's top row"};
    const LPARAM at = MAKELPARAM(x, y);
    SendMessageA(trackbar, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(trackbar, WM_LBUTTONUP, 0, at);
}

// The first visible message box of the process PROCESS_ID, or nullptr.
HWND MessageBoxOf(DWORD processId) {
    struct Search {
        DWORD processId;
        HWND found;
    } search{processId, nullptr};
    EnumWindows(
        [](HWND hwnd, LPARAM context) -> BOOL {
            auto& box = *reinterpret_cast<Search*>(context);
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            char windowClass[16] = {};
            GetClassNameA(hwnd, windowClass, sizeof windowClass);
            if (owner != box.processId || !IsWindowVisible(hwnd) || std::string(windowClass) != kMessageBoxClass)
                return TRUE;
            box.found = hwnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Puts another window in front of the panel (and minimises the panel where
// the system can), then starts the program a second time, as an operator who
// lost the panel's window would. Prints the second start's message box
// (answered with OK), its exit status, and whether the panel's window came
// back to the front.
void SecondStart(const Panel& panel, const std::string& program) {
    const HWND other = CreateWindowExA(0, "STATIC", "another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                                       100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ShowWindow(panel.Dialog(), SW_MINIMIZE);
    MSG message;
    // The window manager may take a while to hand the front over.
    for (DWORD waited = 0; GetForegroundWindow() != other; waited += 20) {
        if (waited >= 5000) throw Failure{"the other window never came to the front"};
        SetForegroundWindow(other);
        panel.Sync();
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        Sleep(20);
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION second{};
    std::string commandLine = '"' + program + '"';
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &second))
        throw Failure{"cannot start " + program + " a second time"};
    for (DWORD waited = 0; WaitForSingleObject(second.hProcess, 20) == WAIT_TIMEOUT; waited += 20) {
        if (waited > kPatienceMs) {
            TerminateProcess(second.hProcess, 3);
            throw Failure{"the second start did not end"};
        }
        if (const HWND box = MessageBoxOf(second.dwProcessId)) {
            Print("second-start messagebox \"" + MessageBoxText(box) + "\" \"" + TextOf(box) + '"');
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            Sleep(50);
        }
    }
    DWORD status = 0;
    GetExitCodeProcess(second.hProcess, &status);
    CloseHandle(second.hThread);
    CloseHandle(second.hProcess);
    // The window manager takes the restore and the focus change in its own
    // time (slowly on a busy machine): wait a while for the panel to come back.
    for (DWORD waited = 0; waited < 5000; waited += 20) {
        panel.Sync();
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        if (!IsIconic(panel.Dialog()) && GetForegroundWindow() == panel.Dialog()) break;
        Sleep(20);
    }
    Print("second-start exit " + std::to_string(status));
    Print(std::string("second-start minimised ") + (IsIconic(panel.Dialog()) ? "1" : "0") + " foreground " +
          (GetForegroundWindow() == panel.Dialog() ? "1" : "0"));
    DestroyWindow(other);
}

void Run(Panel& panel, const std::string& program, const std::string& line) {
    std::istringstream words(line);
    std::string verb;
    int id = 0;
    words >> verb;
    if (verb == "show") {
        // The words after "show" are the program's arguments.
        if (panel.Dialog() != nullptr) throw Failure{"the panel is already shown"};
        const std::size_t arguments = line.find_first_not_of(' ', line.find("show") + 4);
        panel.Start(program, arguments == std::string::npos ? "" : line.substr(arguments));
        return;
    }
    if (!panel.Open()) throw Failure{"the panel is not open"};
    if (verb == "dump") Dump(panel);
    else if (verb == "second-start") SecondStart(panel, program);
    else if (verb == "close") panel.PressEscape();
    else if (verb == "click" && words >> id) Click(panel, id);
    else if (verb == "type" && words >> id) {
        // The text is everything after the single blank that follows the id.
        const std::size_t idEnd = line.find(' ', line.find_first_not_of(' ', line.find("type") + 4));
        const std::string text = idEnd == std::string::npos ? "" : line.substr(idEnd + 1);
        SendMessageA(panel.Reachable(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    } else if (int position = 0; verb == "drag" && words >> id >> position) Drag(panel, id, position);
    else if (std::string place; verb == "press" && words >> id >> place) Press(panel, id, place);
    else throw Failure{"unknown command"};
    panel.Sync();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: panel_operator PANEL SCRIPT\n");
        return 2;
    }
    std::ifstream script(argv[2], std::ios::binary);
    if (!script) {
        std::fprintf(stderr, "panel_operator: cannot read %s\n", argv[2]);
        return 2;
    }
    Panel panel;
    std::string line;
    int number = 0;
    try {
        while (std::getline(script, line)) {
            ++number;
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.find_first_not_of(" \t") == std::string::npos || line[0] == '#') continue;
            Run(panel, argv[1], line);
        }
        return static_cast<int>(panel.Finish());
    } catch (const Failure& failure) {
        std::fprintf(stderr, "%s:%d: %s: %s\n", argv[2], number, failure.why.c_str(), line.c_str());
        try {
            panel.Finish();
        } catch (const Failure&) {
        }
        return 2;
    }
}
