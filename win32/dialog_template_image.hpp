// The dialog template in the in-memory layout that the Windows dialog manager
// reads (DLGTEMPLATE followed by one DLGITEMTEMPLATE per control), built from
// the one template table, so no control is listed anywhere else.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "app/dialog_template.hpp"

// Predefined control classes, given in a template by atom.
namespace template_atom {
inline constexpr std::uint16_t Button = 0x0080, Edit = 0x0081, Static = 0x0082;
}

// The trackbar's window class, registered by the common controls.
inline constexpr std::string_view kTrackbarClass = "msctls_trackbar32";

// The template as 16-bit words; its first word must lie on a 4-byte boundary
// (a vector's storage does). WINDOW_CLASS names the dialog's own window class.
// Captions and names are ASCII and are widened to UTF-16 as the layout asks.
std::vector<std::uint16_t> BuildDialogTemplate(const DialogSpec& dialog, std::span<const ControlSpec> controls,
                                               std::string_view windowClass);
