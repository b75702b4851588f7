// The shell stand-in: system bar, full-screen dialogs, title-bar button,
// input panel and display orientation.

#include "platform/ui/shell.h"

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <map>
#include <mutex>

#include "platform/gfx/device_context.h"
#include "platform/ui/display.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/paint.h"
#include "platform/ui/screen.h"
#include "platform/ui/shell_internal.h"
#include "platform/ui/window_tree.h"

namespace brantel {
namespace {

struct DialogState {
  bool full_screen = false;  // a top-level window that covers the work area
  int title_button = TITLE_BUTTON_HIDDEN;
};

struct ShellState {
  std::mutex mu;
  std::map<HWND, DialogState> dialogs;  // full-screen dialogs and remembered title-bar buttons
  int orientation = DISPLAY_ORIENTATION_0;
  bool input_panel_up = false;
  bool input_panel_button = true;
  WideText fixed_clock;
  HWND bar = 0;  // the system bar, read from any thread
};

ShellState& State() {
  static auto* state = new ShellState();
  return *state;
}

constexpr uintptr_t kClockTimer = 1;
// Shell changes asked for on another thread run on the UI thread, which owns
// the windows and the backend: the bar takes them as these messages.
constexpr uint32_t kSetOrientationOnUiThread = WM_USER + 0x7F01;
constexpr uint32_t kSetInputPanelOnUiThread = WM_USER + 0x7F02;
constexpr COLORREF kBarBackground = RGB(24, 24, 28);
constexpr COLORREF kBarText = RGB(255, 255, 255);
constexpr COLORREF kBarDim = RGB(170, 170, 178);

// The full-screen dialog whose title the bar shows: the active window when it
// is one, else the nearest full-screen owner of the active window.
HWND TitleDialog() {
  HWND h = GetActiveWindow();
  std::lock_guard<std::mutex> lock(State().mu);
  while (h) {
    auto it = State().dialogs.find(h);
    if (it != State().dialogs.end() && it->second.full_screen) return h;
    h = GetParent(h);
  }
  return 0;
}

WideText ClockText() {
  {
    std::lock_guard<std::mutex> lock(State().mu);
    if (!State().fixed_clock.empty()) return State().fixed_clock;
  }
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return FormatText(u"%02d:%02d", local.tm_hour, local.tm_min);
}

// Milliseconds until the clock next shows another minute (a little after the
// boundary, so the time read then is already the new minute).
uint32_t MsToNextMinute() {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  const auto into_minute = std::chrono::duration_cast<std::chrono::milliseconds>(now % std::chrono::minutes(1));
  return uint32_t((std::chrono::minutes(1) - into_minute).count()) + 20;
}

class SystemBar : public Window {
 public:
  Rect ButtonRect() const {
    int w = rect().Width();
    return Rect{w - 64, 4, w - 4, kSystemBarHeight - 4};
  }

  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_PAINT:
        Paint();
        return 0;
      case kSetOrientationOnUiThread:
        return SetDisplayOrientation(int(wParam)) ? 1 : 0;
      case kSetInputPanelOnUiThread:
        SetInputPanel(wParam != 0);
        return 1;
      case WM_TIMER:
        if (ClockText() != shown_clock_) Invalidate();
        SetTimer(kClockTimer, MsToNextMinute());
        return 0;
      case WM_LBUTTONDOWN:
        pressed_ = ButtonRect().Contains(Point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        if (pressed_) SetCapture(hwnd());
        Invalidate();
        return 0;
      case WM_LBUTTONUP: {
        bool was_pressed = pressed_;
        pressed_ = false;
        if (GetCapture() == hwnd()) ReleaseCapture();
        Invalidate();
        if (was_pressed && ButtonRect().Contains(Point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)})) TapButton();
        return 0;
      }
      default:
        return Window::WindowProc(message, wParam, lParam);
    }
  }

 private:
  void TapButton() {
    HWND dialog = TitleDialog();
    // A dialog under a modal one takes no commands from the bar.
    if (!dialog || !IsWindowEnabled(dialog)) return;
    int state = GetTitleBarButton(dialog);
    // OK sends identifier 1, close identifier 2, both with 0x1000 in the high word.
    if (state == TITLE_BUTTON_OK) PostMessage(dialog, WM_COMMAND, MAKEWPARAM(IDOK, TITLEBAR_BUTTON_NOTIFICATION), 0);
    if (state == TITLE_BUTTON_CLOSE)
      PostMessage(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, TITLEBAR_BUTTON_NOTIFICATION), 0);
  }

  void Paint() {
    PaintScope paint(*this);
    DeviceContext& dc = paint.dc();
    Rect client = ClientRect();
    dc.FillSolid(client, kBarBackground);
    dc.FillSolid(Rect{0, client.bottom - 1, client.right, client.bottom}, RGB(60, 60, 66));
    dc.SetBkMode(TRANSPARENT);

    HWND dialog = TitleDialog();
    int state = GetTitleBarButton(dialog);
    Rect button = ButtonRect();
    int title_right = button.left - 96;
    if (dialog) {
      dc.SelectFont(Font(kGothicFace, 26, FW_BOLD));
      dc.SetTextColor(kBarText);
      Rect title{12, 0, title_right, client.bottom};
      dc.DrawText(GetWindowText(dialog), title, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
    shown_clock_ = ClockText();
    dc.SelectFont(Font(kGothicFace, 24, FW_NORMAL));
    dc.SetTextColor(kBarDim);
    Rect clock{title_right, 0, button.left - 8, client.bottom};
    dc.DrawText(shown_clock_, clock, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);

    if (state == TITLE_BUTTON_OK || state == TITLE_BUTTON_CLOSE) {
      dc.FillSolid(button, pressed_ ? RGB(90, 90, 100) : RGB(52, 52, 60));
      dc.SelectPen(Pen{PS_SOLID, 1, RGB(110, 110, 120)});
      dc.FrameRect(button);
      dc.SelectFont(Font(kGothicFace, 24, FW_BOLD));
      dc.SetTextColor(kBarText);
      dc.DrawText(state == TITLE_BUTTON_OK ? u"ok" : u"X", button, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
  }

  bool pressed_ = false;
  WideText shown_clock_;
};

SystemBar* g_bar = nullptr;

// The bar's handle when the calling thread is not the UI thread that owns it.
HWND UiThreadBar() {
  HWND bar = GetSystemBarWindow();
  return bar && !WindowFromHandle(bar) ? bar : 0;
}

void ResizeBar() {
  if (!g_bar || !g_bar->IsAlive()) return;
  Size s = GetScreenSize();
  g_bar->Move(Rect{0, 0, s.cx, kSystemBarHeight});
}

void SendToTopLevels(uint32_t message, WPARAM wParam, LPARAM lParam) {
  for (HWND h : TopLevelWindows())
    if (!g_bar || h != g_bar->hwnd()) {
      SendMessage(h, message, wParam, lParam);
      RelayShellEvent(h, message, wParam, lParam);
    }
}

void OnShellChange() {
  if (g_bar && g_bar->IsAlive()) g_bar->Invalidate();
}

// Moves every full-screen dialog onto the work area (each hears WM_SIZE).
// Only top-level windows are fitted: a child keeps the place its parent gave it.
void FitFullScreenDialogs() {
  std::vector<HWND> dialogs;
  {
    std::lock_guard<std::mutex> lock(State().mu);
    for (auto& [h, state] : State().dialogs)
      if (state.full_screen) dialogs.push_back(h);
  }
  for (HWND h : dialogs)
    if (Window* w = WindowFromHandle(h); w && w->IsTopLevel()) w->Move(GetWorkArea());
}

}  // namespace

bool MakeFullScreenDialog(HWND hwnd) {
  Window* w = WindowFromHandle(hwnd);
  if (!w || !w->IsTopLevel()) return false;
  {
    std::lock_guard<std::mutex> lock(State().mu);
    State().dialogs[hwnd].full_screen = true;
  }
  w->Move(GetWorkArea());
  OnShellChange();
  return true;
}

bool IsFullScreenDialog(HWND hwnd) {
  std::lock_guard<std::mutex> lock(State().mu);
  auto it = State().dialogs.find(hwnd);
  return it != State().dialogs.end() && it->second.full_screen;
}

bool SetTitleBarButton(HWND hwnd, int state) {
  if (state != TITLE_BUTTON_OK && state != TITLE_BUTTON_HIDDEN && state != TITLE_BUTTON_CLOSE) return false;
  if (!IsWindow(hwnd)) return false;
  {
    std::lock_guard<std::mutex> lock(State().mu);
    State().dialogs[hwnd].title_button = state;
  }
  OnShellChange();
  return true;
}

int GetTitleBarButton(HWND hwnd) {
  std::lock_guard<std::mutex> lock(State().mu);
  auto it = State().dialogs.find(hwnd);
  return it == State().dialogs.end() ? TITLE_BUTTON_HIDDEN : it->second.title_button;
}

void ForgetShellWindow(HWND hwnd) {
  std::lock_guard<std::mutex> lock(State().mu);
  State().dialogs.erase(hwnd);
}

void ShowSystemBar(bool visible) {
  bool changed = IsSystemBarVisible() != visible;
  SetSystemBarVisibleInternal(visible);
  if (g_bar && g_bar->IsAlive()) g_bar->Show(visible);
  // The work area grew or shrank: full-screen dialogs follow it, as on a turn.
  if (changed) FitFullScreenDialogs();
}

void ShowInputPanelButton(bool visible) {
  std::lock_guard<std::mutex> lock(State().mu);
  State().input_panel_button = visible;
}

bool IsInputPanelButtonVisible() {
  std::lock_guard<std::mutex> lock(State().mu);
  return State().input_panel_button;
}

void SetInputPanel(bool up) {
  if (HWND bar = UiThreadBar()) {
    SendMessage(bar, kSetInputPanelOnUiThread, up ? 1 : 0, 0);
    return;
  }
  {
    std::lock_guard<std::mutex> lock(State().mu);
    if (State().input_panel_up == up) return;
    State().input_panel_up = up;
  }
  if (DisplayBackend* b = CurrentDisplayBackend()) b->SetTextInput(up);
  SendToTopLevels(WM_SETTINGCHANGE, SPI_SETSIPINFO, 0);
}

bool IsInputPanelUp() {
  std::lock_guard<std::mutex> lock(State().mu);
  return State().input_panel_up;
}

int GetDisplayOrientation() {
  std::lock_guard<std::mutex> lock(State().mu);
  return State().orientation;
}

bool SetDisplayOrientation(int orientation) {
  if (orientation != DISPLAY_ORIENTATION_0 && orientation != DISPLAY_ORIENTATION_90 &&
      orientation != DISPLAY_ORIENTATION_270)
    return false;
  if (HWND bar = UiThreadBar()) return SendMessage(bar, kSetOrientationOnUiThread, WPARAM(orientation), 0) != 0;
  {
    std::lock_guard<std::mutex> lock(State().mu);
    if (State().orientation == orientation) return true;
    State().orientation = orientation;
  }
  bool portrait = orientation == DISPLAY_ORIENTATION_0;
  int width = portrait ? 480 : 800, height = portrait ? 800 : 480;
  SetScreenSizeInternal(width, height);
  if (DisplayBackend* b = CurrentDisplayBackend()) b->SetOrientation(width, height);
  ResizeBar();
  // Full-screen dialogs follow the work area (WM_SIZE), then every top-level
  // window hears of the change.
  FitFullScreenDialogs();
  SendToTopLevels(WM_SETTINGCHANGE, SETTINGCHANGE_RESET, 0);
  return true;
}

void SetSystemBarClockText(WideView fixed) {
  std::lock_guard<std::mutex> lock(State().mu);
  State().fixed_clock = WideText(fixed);
}

void StartSystemBar() {
  if (g_bar) return;
  // A fixed clock keeps screenshots comparable from one run to the next.
  if (const char* fixed = std::getenv("BRANTEL_FIXED_CLOCK"); fixed && *fixed) SetSystemBarClockText(Widen(fixed));
  g_bar = new SystemBar();
  WindowParams p;
  p.class_name = u"BrantelSystemBar";
  p.style = IsSystemBarVisible() ? WS_VISIBLE : 0;
  Size s = GetScreenSize();
  p.rect = Rect{0, 0, s.cx, kSystemBarHeight};
  p.top_most = true;
  p.no_activate = true;
  g_bar->Create(p);
  g_bar->SetTimer(kClockTimer, MsToNextMinute());  // the clock shows minutes: one wake a minute
  {
    std::lock_guard<std::mutex> lock(State().mu);
    State().bar = g_bar->hwnd();
  }
  SetShellObserver(OnShellChange);
}

void StopSystemBar() {
  if (!g_bar) return;
  SetShellObserver(nullptr);
  {
    std::lock_guard<std::mutex> lock(State().mu);
    State().bar = 0;
  }
  delete g_bar;  // destroys its window
  g_bar = nullptr;
}

HWND GetSystemBarWindow() {
  std::lock_guard<std::mutex> lock(State().mu);
  return State().bar;
}

}  // namespace brantel
