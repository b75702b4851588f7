#pragma once
// The shell stand-in: the 52-pixel system bar, full-screen dialogs, the
// title-bar button, the input panel and the display orientation.

#include "platform/ui/window.h"

namespace brantel {

// --- Full-screen dialogs and the system bar ------------------------------------
// Makes `hwnd` a full-screen dialog: it covers the work area (the screen below
// the system bar), follows it when the screen turns, and while it is the
// active window the system bar shows its title and its title-bar button.
bool MakeFullScreenDialog(HWND hwnd);
bool IsFullScreenDialog(HWND hwnd);

// The title-bar button of a full-screen dialog, with the device's states:
// 1 OK, 2 hidden, 4 close. A tap on it posts WM_COMMAND with identifier 1
// (OK) or 2 (close) and 0x1000 in the high word to the dialog. Setting it
// never makes a window full-screen: for any other window it is only remembered.
constexpr int TITLE_BUTTON_OK = 1;
constexpr int TITLE_BUTTON_HIDDEN = 2;
constexpr int TITLE_BUTTON_CLOSE = 4;
bool SetTitleBarButton(HWND hwnd, int state);
int GetTitleBarButton(HWND hwnd);

// Shows or hides the system bar (the work area grows or shrinks with it, and
// full-screen dialogs follow the work area).
void ShowSystemBar(bool visible);
// The input-panel button on the system bar (only drawn; hiding is remembered).
void ShowInputPanelButton(bool visible);
bool IsInputPanelButtonVisible();

// The input panel (on-screen keyboard): maps to the backend's text input.
// Changes send WM_SETTINGCHANGE (SPI_SETSIPINFO) to the top-level windows.
void SetInputPanel(bool up);
bool IsInputPanelUp();

// --- System keys ---------------------------------------------------------------
// Off by default: the back, end and talk keys arrive only as WM_KEYDOWN /
// WM_KEYUP, and the desktop's request to close the window quits the loop.
// On: a press of those keys also posts WM_BACK_KEY, WM_END_KEY or
// WM_TALK_KEY to the active window, and the close request posts
// WM_CLOSE_REQUEST to the main window (else the active one) instead of
// quitting, so the program decides how it ends.
void EnableSystemKeyMessages(bool on);

// --- Display orientation ----------------------------------------------------------
// 0 portrait (480 x 800), 1 and 4 landscape (800 x 480), as the device
// numbers them (90 and 270 degrees). Turning resizes the screen and every
// full-screen dialog (WM_SIZE) and sends WM_SETTINGCHANGE with
// SETTINGCHANGE_RESET to every top-level window. Other values are refused.
// Called on another thread (a registry watch), it runs on the UI thread and
// returns when done; so does SetInputPanel.
constexpr int DISPLAY_ORIENTATION_0 = 0;
constexpr int DISPLAY_ORIENTATION_90 = 1;
constexpr int DISPLAY_ORIENTATION_270 = 4;
int GetDisplayOrientation();
bool SetDisplayOrientation(int orientation);

// --- The system bar window (started with the display) ----------------------------
void StartSystemBar();
void StopSystemBar();
HWND GetSystemBarWindow();

}  // namespace brantel
