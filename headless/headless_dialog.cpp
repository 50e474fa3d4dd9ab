#include "headless/headless_dialog.hpp"

#include <algorithm>
#include <cstdio>

#include "app/panel_dlg.hpp"
#include "app/window_messages.hpp"
#include "platform/termination_signals.hpp"

HeadlessDialog::HeadlessDialog(CTvPanelDlg& dlg, std::ostream& events) : dlg_(dlg), events_(events) {
    for (const ControlSpec& entry : TemplateControls())
        if (entry.id != kNoId) controls_.emplace(entry.id, Control{&entry, {}});
    dlg_.Attach(*this, *this);
}

void HeadlessDialog::Create() {
    std::intptr_t created = 0;
    dlg_.Dispatch(wm::Create, 0, 0, &created);
    created_ = true;
    if (created == -1) {
        ended_ = true;
        return;
    }
    dlg_.OnInitDialog();
    Notify(wm::ShowWindow, 0, 0);
}

void HeadlessDialog::ShowAgain() { Notify(wm::ShowWindow, 0, 0); }

void HeadlessDialog::End() {
    if (ended_) return;
    ended_ = true;
    platform::MarkCloseBegun();
    // Destruction runs while every control is still readable.
    Notify(wm::Destroy, 0, 0);
}

HeadlessDialog::Control* HeadlessDialog::Find(int id) {
    auto found = controls_.find(id);
    return found == controls_.end() ? nullptr : &found->second;
}

std::optional<std::string> HeadlessDialog::Reachable(int id, std::initializer_list<ControlKind> kinds,
                                                     Control*& control) {
    control = Find(id);
    if (control == nullptr) return "no control has the id " + std::to_string(id);
    if (std::find(kinds.begin(), kinds.end(), control->entry->kind) == kinds.end())
        return "control " + std::to_string(id) + " does not take this action";
    if (control->entry->Hidden()) return "control " + std::to_string(id) + " is hidden";
    if (control->entry->IsDisabled()) return "control " + std::to_string(id) + " is disabled";
    return std::nullopt;
}

void HeadlessDialog::Notify(unsigned message, int code, int id) { dlg_.Dispatch(message, code, id); }

std::optional<std::string> HeadlessDialog::Click(int id) {
    Control* control = nullptr;
    if (auto error = Reachable(id, {ControlKind::PushButton, ControlKind::CheckBox, ControlKind::Radio}, control))
        return error;
    if (control->entry->kind == ControlKind::CheckBox) control->check = control->check == 0 ? 1 : 0;
    if (control->entry->kind == ControlKind::Radio) {
        for (const ControlSpec& member : GroupOf(id))
            if (member.kind == ControlKind::Radio) Find(member.id)->check = member.id == id ? 1 : 0;
    }
    Notify(wm::Command, notify::BnClicked, id);
    return std::nullopt;
}

std::optional<std::string> HeadlessDialog::Type(int id, std::string_view text) {
    Control* control = nullptr;
    if (auto error = Reachable(id, {ControlKind::Edit}, control)) return error;
    SetText(id, text);
    return std::nullopt;
}

std::optional<std::string> HeadlessDialog::Drag(int id, int position) {
    Control* control = nullptr;
    if (auto error = Reachable(id, {ControlKind::Trackbar}, control)) return error;
    SetSliderPos(id, position, true);
    Notify(wm::Notify, notify::NmReleasedCapture, id);
    return std::nullopt;
}

std::optional<std::string> HeadlessDialog::Key(int id, std::string_view key) {
    Control* control = nullptr;
    if (auto error = Reachable(id, {ControlKind::Trackbar}, control)) return error;
    const int page = (control->maximum - control->minimum) / 5;
    int target = control->position;
    if (key == "left" || key == "up") target -= control->lineSize;
    else if (key == "right" || key == "down") target += control->lineSize;
    else if (key == "pageup") target -= page;
    else if (key == "pagedown") target += page;
    else if (key == "home") target = control->minimum;
    else if (key == "end") target = control->maximum;
    else return "unknown key \"" + std::string(key) + "\"";
    // Keys move the thumb but end no mouse action: no release is reported.
    SetSliderPos(id, target, true);
    return std::nullopt;
}

std::optional<std::string> HeadlessDialog::Press(int id, std::string_view place) {
    Control* control = nullptr;
    if (auto error = Reachable(id, {ControlKind::Trackbar}, control)) return error;
    const int page = (control->maximum - control->minimum) / 5;
    if (place == "beside") return std::nullopt;  // no mouse action starts: nothing is reported
    if (place == "before") SetSliderPos(id, control->position - page, true);
    else if (place == "after") SetSliderPos(id, control->position + page, true);
    else if (place != "thumb") return "unknown place \"" + std::string(place) + "\"";
    Notify(wm::Notify, notify::NmReleasedCapture, id);
    return std::nullopt;
}

void HeadlessDialog::Dump(std::ostream& out) const {
    for (const auto& [id, control] : controls_) {
        switch (control.entry->kind) {
            case ControlKind::CheckBox:
            case ControlKind::Radio: out << id << " check " << control.check; break;
            case ControlKind::Edit: out << id << " text " << control.text; break;
            case ControlKind::Trackbar:
                out << id << " slider " << control.position << ' ' << control.minimum << ' ' << control.maximum << ' '
                    << control.lineSize;
                break;
            default: continue;
        }
        if (control.entry->Hidden()) out << " hidden";
        if (control.entry->IsDisabled()) out << " disabled";
        out << '\n';
    }
}

std::string HeadlessDialog::GetText(int id, int bufferChars) {
    const Control* control = Find(id);
    if (control == nullptr || bufferChars <= 0) return {};
    return control->text.substr(0, static_cast<std::size_t>(bufferChars - 1));
}

void HeadlessDialog::SetText(int id, std::string_view text) {
    Control* control = Find(id);
    if (control == nullptr) return;
    control->text = text;
    // An edit box reports a text set by program as it reports typing.
    if (control->entry->kind == ControlKind::Edit) {
        Notify(wm::Command, notify::EnUpdate, id);
        Notify(wm::Command, notify::EnChange, id);
    }
}

int HeadlessDialog::GetCheck(int id) {
    const Control* control = Find(id);
    return control ? control->check : 0;
}

void HeadlessDialog::SetCheck(int id, int state) {
    if (Control* control = Find(id)) control->check = state;
}

void HeadlessDialog::SetSliderRangeMin(int id, int minimum, bool) {
    Control* control = Find(id);
    if (control == nullptr) return;
    control->minimum = minimum;
    control->position = std::max(control->position, minimum);
}

void HeadlessDialog::SetSliderRangeMax(int id, int maximum, bool) {
    Control* control = Find(id);
    if (control == nullptr) return;
    control->maximum = maximum;
    control->position = std::min(control->position, maximum);
}

void HeadlessDialog::SetSliderLineSize(int id, int lineSize) {
    if (Control* control = Find(id)) control->lineSize = lineSize;
}

int HeadlessDialog::GetSliderPos(int id) {
    const Control* control = Find(id);
    return control ? control->position : 0;
}

void HeadlessDialog::SetSliderPos(int id, int position, bool) {
    Control* control = Find(id);
    if (control == nullptr) return;
    control->position = std::clamp(position, control->minimum, std::max(control->minimum, control->maximum));
}

void HeadlessDialog::ShowMessageBox(std::string_view text, std::string_view caption, unsigned type) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%02x", type);
    // The operator answers OK at once.
    events_ << "messagebox \"" << text << "\" \"" << caption << "\" " << code << '\n' << std::flush;
}

void HeadlessDialog::PostQuit(int exitCode) {
    quitPosted_ = true;
    events_ << "quit " << exitCode << '\n' << std::flush;
}
