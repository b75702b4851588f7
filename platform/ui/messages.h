#pragma once
// Window message numbers, flags and key codes of the device, with their
// original values: the system's code and the other program exchange these
// numbers, so they must not change.

#include <cstdint>

namespace brantel {

// --- Messages -------------------------------------------------------------
constexpr uint32_t WM_NULL = 0x0000;
constexpr uint32_t WM_CREATE = 0x0001;
constexpr uint32_t WM_DESTROY = 0x0002;
constexpr uint32_t WM_MOVE = 0x0003;
constexpr uint32_t WM_SIZE = 0x0005;
constexpr uint32_t WM_ACTIVATE = 0x0006;
constexpr uint32_t WM_SETFOCUS = 0x0007;
constexpr uint32_t WM_KILLFOCUS = 0x0008;
constexpr uint32_t WM_ENABLE = 0x000A;
constexpr uint32_t WM_SETTEXT = 0x000C;
constexpr uint32_t WM_GETTEXT = 0x000D;
constexpr uint32_t WM_GETTEXTLENGTH = 0x000E;
constexpr uint32_t WM_PAINT = 0x000F;
constexpr uint32_t WM_CLOSE = 0x0010;
constexpr uint32_t WM_QUIT = 0x0012;
constexpr uint32_t WM_ERASEBKGND = 0x0014;
constexpr uint32_t WM_SHOWWINDOW = 0x0018;
constexpr uint32_t WM_SETTINGCHANGE = 0x001A;
constexpr uint32_t WM_WININICHANGE = WM_SETTINGCHANGE;
constexpr uint32_t WM_CANCELMODE = 0x001F;
constexpr uint32_t WM_SETFONT = 0x0030;
constexpr uint32_t WM_WINDOWPOSCHANGED = 0x0047;
constexpr uint32_t WM_NOTIFY = 0x004E;
constexpr uint32_t WM_KEYDOWN = 0x0100;
constexpr uint32_t WM_KEYUP = 0x0101;
constexpr uint32_t WM_CHAR = 0x0102;
constexpr uint32_t WM_IME_STARTCOMPOSITION = 0x010D;
constexpr uint32_t WM_IME_ENDCOMPOSITION = 0x010E;
constexpr uint32_t WM_IME_COMPOSITION = 0x010F;
constexpr uint32_t WM_INITDIALOG = 0x0110;
constexpr uint32_t WM_COMMAND = 0x0111;
constexpr uint32_t WM_INITMENUPOPUP = 0x0117;
constexpr uint32_t WM_SYSCOMMAND = 0x0112;
constexpr uint32_t WM_TIMER = 0x0113;
constexpr uint32_t WM_HSCROLL = 0x0114;
constexpr uint32_t WM_VSCROLL = 0x0115;
// Sent by an edit to its parent for its colours; see platform/ui/edit.h.
constexpr uint32_t WM_CTLCOLOREDIT = 0x0133;
constexpr uint32_t WM_MOUSEMOVE = 0x0200;
constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
constexpr uint32_t WM_LBUTTONUP = 0x0202;
constexpr uint32_t WM_LBUTTONDBLCLK = 0x0203;
// The wheel: delta in the high word of wParam (WHEEL_DELTA a notch, positive
// away from the user), the screen point in lParam.
constexpr uint32_t WM_MOUSEWHEEL = 0x020A;
constexpr int WHEEL_DELTA = 120;
// The sideways wheel, the same way (positive to the right).
constexpr uint32_t WM_MOUSEHWHEEL = 0x020E;
constexpr uint32_t WM_CAPTURECHANGED = 0x0215;
constexpr uint32_t WM_CUT = 0x0300;
constexpr uint32_t WM_COPY = 0x0301;
constexpr uint32_t WM_PASTE = 0x0302;
constexpr uint32_t WM_CLEAR = 0x0303;
constexpr uint32_t WM_UNDO = 0x0304;
constexpr uint32_t WM_IME_SETCONTEXT = 0x0281;
constexpr uint32_t WM_IME_NOTIFY = 0x0282;
constexpr uint32_t WM_IME_CHAR = 0x0286;
constexpr uint32_t WM_HIBERNATE = 0x03FF;
constexpr uint32_t WM_USER = 0x0400;
constexpr uint32_t WM_APP = 0x8000;

// Ranges used by PeekMessage/GetMessage filters.
constexpr uint32_t WM_KEYFIRST = 0x0100;
constexpr uint32_t WM_KEYLAST = 0x0109;
constexpr uint32_t WM_MOUSEFIRST = 0x0200;
constexpr uint32_t WM_MOUSELAST = 0x020A;

// PeekMessage removal flags.
constexpr uint32_t PM_NOREMOVE = 0x0000;
constexpr uint32_t PM_REMOVE = 0x0001;
constexpr uint32_t PM_NOYIELD = 0x0002;

// WM_ACTIVATE: LOWORD(wParam) state, lParam the other window (0 for none).
constexpr uint32_t WA_INACTIVE = 0;
constexpr uint32_t WA_ACTIVE = 1;
constexpr uint32_t WA_CLICKACTIVE = 2;

// WM_SIZE wParam.
constexpr uint32_t SIZE_RESTORED = 0;
constexpr uint32_t SIZE_MINIMIZED = 1;
constexpr uint32_t SIZE_MAXIMIZED = 2;

// WM_SETTINGCHANGE wParam values the shell sends: a display change (rotation)
// and an input-panel change.
constexpr uint32_t SETTINGCHANGE_RESET = 0x3002;
constexpr uint32_t SPI_SETSIPINFO = 224;

// Dialog command identifiers (WM_COMMAND LOWORD(wParam)).
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Notification in the high word of WM_COMMAND's wParam when the title-bar
// button of the system bar was tapped.
constexpr uint32_t TITLEBAR_BUTTON_NOTIFICATION = 0x1000;

// Button notifications (HIWORD(wParam) of WM_COMMAND from a child control).
constexpr uint32_t BN_CLICKED = 0;

// Edit control messages, styles and notifications (HIWORD(wParam) of
// WM_COMMAND to the parent).
constexpr uint32_t EM_GETSEL = 0x00B0;
constexpr uint32_t EM_SETSEL = 0x00B1;
constexpr uint32_t EM_SCROLLCARET = 0x00B7;
constexpr uint32_t EM_GETLINECOUNT = 0x00BA;
constexpr uint32_t EM_REPLACESEL = 0x00C2;
constexpr uint32_t EM_LIMITTEXT = 0x00C5;
constexpr uint32_t EM_SETLIMITTEXT = EM_LIMITTEXT;
constexpr uint32_t EM_CANUNDO = 0x00C6;
constexpr uint32_t EM_UNDO = 0x00C7;
constexpr uint32_t EM_EMPTYUNDOBUFFER = 0x00CD;
constexpr uint32_t ES_MULTILINE = 0x0004;
constexpr uint32_t ES_AUTOVSCROLL = 0x0040;
constexpr uint32_t ES_AUTOHSCROLL = 0x0080;
constexpr uint32_t EN_SETFOCUS = 0x0100;
constexpr uint32_t EN_KILLFOCUS = 0x0200;
constexpr uint32_t EN_CHANGE = 0x0300;
constexpr uint32_t EN_MAXTEXT = 0x0501;

// Mouse key state in wParam of pointer messages.
constexpr uint32_t MK_LBUTTON = 0x0001;

// ShowWindow commands.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOW = 5;
constexpr int SW_SHOWNA = 8;

// Window styles the system uses (only their visibility and child-ness matter).
constexpr uint32_t WS_CHILD = 0x40000000;
constexpr uint32_t WS_VISIBLE = 0x10000000;
constexpr uint32_t WS_DISABLED = 0x08000000;
constexpr uint32_t WS_POPUP = 0x80000000;
constexpr uint32_t WS_CLIPCHILDREN = 0x02000000;
constexpr uint32_t WS_CLIPSIBLINGS = 0x04000000;

// --- Virtual keys ----------------------------------------------------------
constexpr uint32_t VK_BACK = 0x08;
constexpr uint32_t VK_TAB = 0x09;
constexpr uint32_t VK_RETURN = 0x0D;
constexpr uint32_t VK_SHIFT = 0x10;
constexpr uint32_t VK_CONTROL = 0x11;
constexpr uint32_t VK_ESCAPE = 0x1B;
constexpr uint32_t VK_SPACE = 0x20;
constexpr uint32_t VK_PRIOR = 0x21;
constexpr uint32_t VK_NEXT = 0x22;
constexpr uint32_t VK_END = 0x23;
constexpr uint32_t VK_HOME = 0x24;
constexpr uint32_t VK_LEFT = 0x25;
constexpr uint32_t VK_UP = 0x26;
constexpr uint32_t VK_RIGHT = 0x27;
constexpr uint32_t VK_DOWN = 0x28;
constexpr uint32_t VK_DELETE = 0x2E;
constexpr uint32_t VK_F1 = 0x70;  // left soft key
constexpr uint32_t VK_F2 = 0x71;  // right soft key
constexpr uint32_t VK_F3 = 0x72;
constexpr uint32_t VK_F4 = 0x73;
constexpr uint32_t VK_PROCESSKEY = 0xE5;
// Hardware keys of the phone: back is Escape, talk and end are F3 and F4.
constexpr uint32_t VK_TBACK = VK_ESCAPE;
constexpr uint32_t VK_TTALK = VK_F3;
constexpr uint32_t VK_TEND = VK_F4;
// What the device's shell sends the active window for its system keys, and
// for the desktop's request to close the window (programs opt in with
// EnableSystemKeyMessages, shell.h).
constexpr uint32_t WM_BACK_KEY = 0x036E;
constexpr uint32_t WM_END_KEY = 0xC021;
constexpr uint32_t WM_CLOSE_REQUEST = 0xC024;
constexpr uint32_t WM_TALK_KEY = 0xC03C;

// --- IME -------------------------------------------------------------------
// WM_IME_COMPOSITION lParam flags: GCS_COMPSTR while composing, GCS_RESULTSTR
// when a character is finished. wParam carries the character (0 when the
// composition was cleared).
constexpr uint32_t GCS_COMPSTR = 0x0008;
constexpr uint32_t GCS_RESULTSTR = 0x0800;

// --- Word packing ----------------------------------------------------------
constexpr uint16_t LOWORD(uint64_t v) { return uint16_t(v & 0xFFFF); }
constexpr uint16_t HIWORD(uint64_t v) { return uint16_t((v >> 16) & 0xFFFF); }
constexpr uintptr_t MAKEWPARAM(uint32_t low, uint32_t high) { return uintptr_t((low & 0xFFFF) | ((high & 0xFFFF) << 16)); }
constexpr intptr_t MAKELPARAM(uint32_t low, uint32_t high) { return intptr_t(uint32_t((low & 0xFFFF) | ((high & 0xFFFF) << 16))); }
// Signed coordinates from a pointer message's lParam.
constexpr int GET_X_LPARAM(intptr_t lp) { return int(int16_t(uint16_t(lp & 0xFFFF))); }
constexpr int GET_Y_LPARAM(intptr_t lp) { return int(int16_t(uint16_t((lp >> 16) & 0xFFFF))); }

}  // namespace brantel
