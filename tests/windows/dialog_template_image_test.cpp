// The in-memory dialog template, read back as the Windows dialog manager reads
// it: a fixed header, then one record per control on a 4-byte boundary.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/dialog_template.hpp"
#include "win32/dialog_template_image.hpp"

namespace {

constexpr std::string_view kClass = "KORVANE16Dialog";

class Reader {
public:
    explicit Reader(const std::vector<std::uint16_t>& words) : words_(words) {}

    std::uint16_t Word() { return at_ < words_.size() ? words_[at_++] : (overrun_ = true, 0); }
    std::uint32_t Dword() {
        const std::uint32_t low = Word();
        return low | std::uint32_t{Word()} << 16;
    }
    int Short() { return static_cast<std::int16_t>(Word()); }
    DialogRect Rect() {
        const int x = Short(), y = Short(), width = Short();
        return {x, y, width, Short()};
    }
    std::string String() {
        std::string text;
        while (std::uint16_t c = Word()) text += static_cast<char>(c);
        return text;
    }
    // A class or title field: an atom after 0xFFFF, else a string.
    std::string NameOrAtom() {
        if (at_ < words_.size() && words_[at_] == 0xFFFF) {
            Word();
            return std::string(1, '#').append(std::to_string(Word()));
        }
        return String();
    }
    std::size_t At() const { return at_; }
    bool Overrun() const { return overrun_; }
    void SkipDwordPadding() {
        if (at_ % 2 != 0) {
            EXPECT_EQ(Word(), 0) << "padding at word " << at_;
        }
    }

private:
    const std::vector<std::uint16_t>& words_;
    std::size_t at_ = 0;
    bool overrun_ = false;
};

std::string ExpectedClass(ControlKind kind) {
    switch (kind) {
        case ControlKind::Edit: return "#129";
        case ControlKind::Label: return "#130";
        case ControlKind::Trackbar: return "msctls_trackbar32";
        default: return "#128";
    }
}

TEST(DialogTemplateImage, HeaderStartsWithTheDialogsStylesCountAndPlaceAsLittleEndianWords) {
    const std::vector<std::uint16_t> image = BuildDialogTemplate(kDialog, TemplateControls(), kClass);
    const std::uint16_t count = static_cast<std::uint16_t>(std::size(kDialogControls));
    // WS_POPUP|WS_VISIBLE|WS_CAPTION|WS_SYSMENU|DS_MODALFRAME|DS_SETFONT, then WS_EX_APPWINDOW.
    const std::vector<std::uint16_t> header{0x00C0, 0x90C8, 0x0000, 0x0004, count, 0, 0, 439, 243};
    ASSERT_GE(image.size(), header.size());
    EXPECT_EQ(std::vector<std::uint16_t>(image.begin(), image.begin() + 9), header);
}

TEST(DialogTemplateImage, ReadsBackAsTheTemplateTableControlByControl) {
    const std::vector<std::uint16_t> image = BuildDialogTemplate(kDialog, TemplateControls(), kClass);
    Reader in(image);
    EXPECT_EQ(in.Dword(), kDialog.style);
    EXPECT_EQ(in.Dword(), kDialog.exStyle);
    ASSERT_EQ(in.Word(), std::size(kDialogControls));
    const DialogRect placed = in.Rect();
    EXPECT_EQ(placed.width, 439);
    EXPECT_EQ(placed.height, 243);
    EXPECT_EQ(in.NameOrAtom(), "") << "no menu";
    EXPECT_EQ(in.NameOrAtom(), kClass);
    EXPECT_EQ(in.String(), "KORVANE16");
    EXPECT_EQ(in.Word(), 9) << "font size in points";
    EXPECT_EQ(in.String(), "Arial");

    for (const ControlSpec& control : kDialogControls) {
        SCOPED_TRACE("control " + std::to_string(control.id) + " \"" + std::string(control.caption) + "\"");
        in.SkipDwordPadding();
        ASSERT_EQ(in.At() % 2, 0u);
        EXPECT_EQ(in.Dword(), control.style);
        EXPECT_EQ(in.Dword(), 0u) << "extended style";
        const DialogRect r = in.Rect();
        EXPECT_EQ((std::vector<int>{r.x, r.y, r.width, r.height}),
                  (std::vector<int>{control.rect.x, control.rect.y, control.rect.width, control.rect.height}));
        EXPECT_EQ(in.Word(), control.id == kNoId ? 0xFFFF : control.id);
        EXPECT_EQ(in.NameOrAtom(), ExpectedClass(control.kind));
        EXPECT_EQ(in.NameOrAtom(), control.caption);
        EXPECT_EQ(in.Word(), 0) << "creation data size";
    }
    EXPECT_FALSE(in.Overrun());
    EXPECT_EQ(in.At(), image.size()) << "nothing after the last control";
}

TEST(DialogTemplateImage, WithoutTheSetFontStyleNoFontFollowsTheCaption) {
    DialogSpec plain = kDialog;
    plain.style &= ~style::SetFont;
    const std::vector<std::uint16_t> image = BuildDialogTemplate(plain, {}, "");
    // Header, menu, class and caption ("KORVANE16" and its NUL); nothing else.
    EXPECT_EQ(image.size(), 9u + 1 + 1 + 10);
    EXPECT_EQ(image.back(), 0);
    EXPECT_EQ(image[image.size() - 2], '6');
}

}  // namespace
