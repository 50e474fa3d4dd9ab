#include "win32/dialog_template_image.hpp"

#include <utility>

namespace {

class TemplateWriter {
public:
    void Word(std::uint16_t value) { words_.push_back(value); }
    void Short(int value) { Word(static_cast<std::uint16_t>(static_cast<std::int16_t>(value))); }
    // Low word first: the layout is little-endian.
    void Dword(std::uint32_t value) {
        Word(static_cast<std::uint16_t>(value & 0xFFFFu));
        Word(static_cast<std::uint16_t>(value >> 16));
    }
    void Rect(const DialogRect& r) {
        Short(r.x);
        Short(r.y);
        Short(r.width);
        Short(r.height);
    }
    // A NUL-terminated UTF-16 string; an empty one is the single NUL word.
    void String(std::string_view text) {
        for (const char c : text) Word(static_cast<unsigned char>(c));
        Word(0);
    }
    // A predefined class named by its atom.
    void Atom(std::uint16_t atom) {
        Word(0xFFFF);
        Word(atom);
    }
    // Every control record starts on a 4-byte boundary.
    void AlignToDword() {
        if (words_.size() % 2 != 0) Word(0);
    }
    std::vector<std::uint16_t> Take() { return std::move(words_); }

private:
    std::vector<std::uint16_t> words_;
};

void WriteClass(TemplateWriter& out, ControlKind kind) {
    switch (kind) {
        case ControlKind::GroupBox:
        case ControlKind::Radio:
        case ControlKind::CheckBox:
        case ControlKind::PushButton: out.Atom(template_atom::Button); return;
        case ControlKind::Edit: out.Atom(template_atom::Edit); return;
        case ControlKind::Label: out.Atom(template_atom::Static); return;
        case ControlKind::Trackbar: out.String(kTrackbarClass); return;
    }
}

}  // namespace

std::vector<std::uint16_t> BuildDialogTemplate(const DialogSpec& dialog, std::span<const ControlSpec> controls,
                                               std::string_view windowClass) {
    TemplateWriter out;
    out.Dword(dialog.style);
    out.Dword(dialog.exStyle);
    out.Word(static_cast<std::uint16_t>(controls.size()));
    out.Rect(dialog.rect);
    out.Word(0);  // no menu
    out.String(windowClass);
    out.String(dialog.caption);
    if (dialog.style & style::SetFont) {
        out.Word(static_cast<std::uint16_t>(dialog.fontPoints));
        out.String(dialog.fontFace);
    }
    for (const ControlSpec& control : controls) {
        out.AlignToDword();
        out.Dword(control.style);
        out.Dword(0);  // no extended style
        out.Rect(control.rect);
        out.Word(static_cast<std::uint16_t>(control.id));  // kNoId becomes 0xFFFF, the "no identifier" id
        WriteClass(out, control.kind);
        out.String(control.caption);
        out.Word(0);  // no creation data
    }
    return out.Take();
}
