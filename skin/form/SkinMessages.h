// The private window messages of the skin engine and the token that marks
// its own traffic. Other programs' skinners use messages of the same range,
// so a handler checks SKIN_MAGIC before trusting lParam.
#pragma once

#include <cstdint>

namespace skin {

inline constexpr uint32_t SKIN_MAGIC = 0x41A2;

inline constexpr uint32_t WM_SKINCHANGED = 0x3401;
inline constexpr uint32_t WM_SKINPAINTFRAME = 0x3502;
inline constexpr uint32_t WM_SKINACTIVATE = 0x3503;
// wParam non-zero: a skinned control draws its skin again (and repaints); zero: it stops.
inline constexpr uint32_t WM_SKINSWITCH = 0x3506;
inline constexpr uint32_t WM_SKINBUTTONACTION = 0x3514;
inline constexpr uint32_t WM_SKINBUTTONQUERY = 0x3515;
inline constexpr uint32_t WM_SKINMDIMAX = 0x3516;
inline constexpr uint32_t WM_SKINRESCROLL = 0x3517;
inline constexpr uint32_t WM_SKINMENUCLICK = 0x3518;
inline constexpr uint32_t WM_ISSKINNED = 0x3523;
// Sent with lParam SKIN_MAGIC to ask a skinned edit to paint its text into
// the context in wParam; it answers SKIN_MAGIC when it did.
inline constexpr uint32_t WM_SKINPAINTCLIENT = 0xBC4A;
inline constexpr uint32_t WM_SKINPRINT = 0xBC4B;
inline constexpr uint32_t WM_SKINQUERY = 0xBC4D;
// Shares its value with the framework's reflected WM_NOTIFY: every handler of
// that value ignores it when lParam is SKIN_MAGIC.
inline constexpr uint32_t WM_SKINDONE = 0xBC4E;

// Framework messages the form skinner reacts to.
inline constexpr uint32_t CM_DIALOGCHAR = 0xB006;
inline constexpr uint32_t CM_MENUCHANGED = 0xB015;

// The themed caption-drawing message of newer systems; a skinned frame answers it 0.
inline constexpr uint32_t WM_NCUAHDRAWCAPTION = 0x00AE;

}  // namespace skin
