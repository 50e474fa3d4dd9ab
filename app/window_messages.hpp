// Message and notification codes the panel's message table routes. The values
// are the Windows ones, so the native frontend can hand its messages on as they
// arrive; the other frontends deliver the same codes.
#pragma once

namespace wm {
inline constexpr unsigned Create = 0x0001;
inline constexpr unsigned Destroy = 0x0002;
inline constexpr unsigned Paint = 0x000F;
inline constexpr unsigned ShowWindow = 0x0018;
inline constexpr unsigned QueryDragIcon = 0x0037;
inline constexpr unsigned Notify = 0x004E;
inline constexpr unsigned Command = 0x0111;
}  // namespace wm

namespace notify {
inline constexpr int BnClicked = 0;
inline constexpr int EnChange = 0x0300;
inline constexpr int EnUpdate = 0x0400;
inline constexpr int NmReleasedCapture = -16;
}  // namespace notify
