#pragma once
// Window messages with fixed numbers that cross the parts of the system and
// the two programs. The device's own messages (WM_TIMER, WM_PAINT, ...) are in
// platform/ui/messages.h.

#include <cstdint>

namespace brantel {

inline constexpr uint32_t WM_APP_EXIT = 0x800A;
inline constexpr uint32_t WM_ENSURE_CONNECTION = 0x800B;
inline constexpr uint32_t WM_HELP_CLOSED = 0x80DC;
inline constexpr uint32_t WM_MYPAGE_EDIT_CLOSED = 0x812C;
inline constexpr uint32_t WM_SCREEN_BACK = 0x812D;
inline constexpr uint32_t WM_LIST_UPDATE_BEGIN = 0x812E;
inline constexpr uint32_t WM_LIST_UPDATE_END = 0x812F;
inline constexpr uint32_t WM_VERSION_CLOSED = 0x8130;
inline constexpr uint32_t WM_CURRENCY_MENU = 0x8131;
inline constexpr uint32_t WM_FLICKING_SCROLLED = 0x814A;
inline constexpr uint32_t WM_DETAIL_CLOSED = 0x8209;
inline constexpr uint32_t WM_UPDATER_CLOSE = 0x8320;
inline constexpr uint32_t WM_TAB_SELECTED = 0x83B0;
inline constexpr uint32_t WM_PERIOD_CHOSEN = 0x83B6;
inline constexpr uint32_t WM_MOBILELIST_CLICK = 0x83BB;
inline constexpr uint32_t WM_MOBILELIST_COLUMN = 0x84B0;
inline constexpr uint32_t WM_SHOW_LANDSCAPE = 0x806F;
inline constexpr uint32_t WM_ROTATION_CHANGED = 0x3EFF;
inline constexpr uint32_t WM_CANCEL_NETWORK = 9931;
inline constexpr uint32_t WM_CEBUTTON_CLICKED = 10933;
inline constexpr uint32_t WM_KWEDIT_NOTIFY = 20925;
inline constexpr uint32_t WM_KWEDIT_COMPOSED = 20926;

}  // namespace brantel
