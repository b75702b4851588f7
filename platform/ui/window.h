#pragma once
// Windows: a tree of Window objects with a virtual message handler.
//
// A Window object is owned by C++ code (usually as a member of its parent's
// class); its handle is a weak name that messages and other threads use. A
// window belongs to the thread that created it and only that thread may call
// its member functions; other threads post, send or invalidate by handle.
//
// Destroy() (or DestroyWindow) sends WM_DESTROY to the window and then to its
// children, removes their handles and their timers, and finally calls
// OnFinalDestroy() on each, where an object that owns itself may delete
// itself. A handler may destroy its own window; the dispatch never touches the
// object again once its handle is gone. The destructor destroys a window that
// is still alive, but without WM_DESTROY, because the derived handler is gone
// by then: call Destroy() first when WM_DESTROY matters.

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/text.h"
#include "platform/gfx/geometry.h"
#include "platform/gfx/surface.h"
#include "platform/ui/messages.h"
#include "platform/ui/ui_types.h"

namespace brantel {

class Window;

struct WindowParams {
  WideText class_name;
  WideText text;
  uint32_t style = WS_VISIBLE;  // WS_VISIBLE, WS_DISABLED, WS_CLIPCHILDREN
  Rect rect;                    // in the parent's client coordinates (screen for top-level)
  Window* parent = nullptr;     // a child window when set
  Window* owner = nullptr;      // top-level only: stays above its owner, dies with it
  int id = 0;                   // child id (GetDlgItem)
  bool top_most = false;        // top-level only: above all others that are not
  bool message_only = false;    // never shown, never painted, not in the tree
  bool no_activate = false;     // top-level only: never becomes the active window
};

class Window {
 public:
  Window();
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // Creates the window; WM_CREATE is sent before it returns (a handler that
  // returns -1 makes Create fail). False when already created or the parent
  // is not alive.
  bool Create(const WindowParams& params);
  bool Create(WideView class_name, WideView text, uint32_t style, const Rect& rect, Window* parent = nullptr,
              int id = 0);
  void Destroy();

  HWND hwnd() const { return hwnd_; }
  bool IsAlive() const { return hwnd_ != 0; }
  // True from the start of its destruction: a WM_DESTROY seen then is the
  // real one, not one that was posted.
  bool IsBeingDestroyed() const { return destroying_; }

  // The message handler. The default runs DefWindowProc.
  virtual LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam);
  // Default handling: WM_PAINT validates, WM_CLOSE destroys, WM_SETTEXT and
  // WM_GETTEXT work on the text, everything else returns 0.
  LRESULT DefWindowProc(uint32_t message, WPARAM wParam, LPARAM lParam);
  // The pre-dispatch hook, asked by the message loop for a message aimed at
  // this window or one of its descendants before it is dispatched; return true
  // to consume the message.
  virtual bool PreTranslateMessage(Message* msg);
  // Called last, after WM_DESTROY, when the handle is gone.
  virtual void OnFinalDestroy() {}

  LRESULT Send(uint32_t message, WPARAM wParam = 0, LPARAM lParam = 0);
  bool Post(uint32_t message, WPARAM wParam = 0, LPARAM lParam = 0);

  // Tree.
  Window* parent() const { return parent_; }
  Window* owner() const { return owner_; }
  Window* TopLevel();
  const std::vector<Window*>& children() const { return children_; }  // bottom to top
  Window* GetDlgItem(int id) const;
  int id() const { return id_; }
  const WideText& class_name() const { return class_name_; }
  bool IsChild() const { return parent_ != nullptr; }
  bool IsTopLevel() const { return parent_ == nullptr && !message_only_; }

  // Text.
  const WideText& text() const { return text_; }
  void SetText(WideView text);

  // Geometry. rect() is in the parent's client coordinates (screen for a
  // top-level window). Moving or resizing sends WM_SIZE when the size changed
  // and invalidates what was covered.
  Rect rect() const { return rect_; }
  Rect ClientRect() const { return Rect{0, 0, rect_.Width(), rect_.Height()}; }
  Rect ScreenRect() const;
  void Move(const Rect& rect, bool repaint = true);
  Point ClientToScreen(Point p) const;
  Point ScreenToClient(Point p) const;

  // State.
  void Show(int show_command);  // SW_SHOW, SW_HIDE ...
  void Show(bool visible) { Show(visible ? SW_SHOW : SW_HIDE); }
  bool IsVisibleFlag() const { return visible_; }  // its own flag only
  bool IsVisible() const;                          // its flag and every ancestor's
  void Enable(bool enabled);
  bool IsEnabled() const { return enabled_; }
  uint32_t style() const { return style_; }
  bool top_most() const { return top_most_; }

  // Z-order among siblings (or among top-level windows).
  void BringToTop();
  void SetTopMost(bool top_most);

  // Painting. Invalidate may be called from any thread through the handle
  // (InvalidateRect); the member is for the owning thread.
  void Invalidate(const Rect* client_rect = nullptr);
  void Validate();
  bool HasUpdate() const;
  void Update();  // paints now when invalid (UpdateWindow)

  // Timers (same as SetTimer/KillTimer with this window's handle).
  uintptr_t SetTimer(uintptr_t id, uint32_t elapse_ms);
  bool KillTimer(uintptr_t id);

  ThreadId thread() const { return thread_; }

  // A child window that hears the shell events of its top-level window
  // (WM_ACTIVATE and WM_SETTINGCHANGE) while it is visible: the child
  // screens of a dialog react to them as full-screen dialogs do.
  void SetHearsShellEvents(bool hears) { hears_shell_events_ = hears; }
  bool HearsShellEvents() const { return hears_shell_events_; }

 private:
  friend class WindowTree;
  friend class PaintScope;

  HWND hwnd_ = 0;
  ThreadId thread_ = 0;
  WideText class_name_;
  WideText text_;
  Window* parent_ = nullptr;
  Window* owner_ = nullptr;
  std::vector<Window*> children_;
  std::vector<Window*> owned_;
  Rect rect_;
  uint32_t style_ = 0;
  int id_ = 0;
  bool visible_ = false;
  bool enabled_ = true;
  bool top_most_ = false;
  bool message_only_ = false;
  bool no_activate_ = false;
  bool destroying_ = false;
  bool hears_shell_events_ = false;
  // Guarded by the tree lock: the invalid part (client coordinates), a count
  // of invalidations (a WM_PAINT handler that leaves it unchanged and does
  // not validate is validated for it), and a top-level's backing surface.
  Rect update_;
  uint64_t update_serial_ = 0;
  Surface backing_;
};

// A window that only receives messages, for code that needs a handle but no
// screen presence (a stand-in main window in tests, a loop's wake-up target).
class MessageOnlyWindow : public Window {
 public:
  using Handler = std::function<LRESULT(uint32_t message, WPARAM wParam, LPARAM lParam)>;
  explicit MessageOnlyWindow(Handler handler = nullptr, WideView class_name = u"BrantelMessageWindow");
  ~MessageOnlyWindow() override;
  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override;

 private:
  Handler handler_;
};

// Window classes, registered by name. Registering a name twice fails, as on
// the device. Windows may be created with any class name.
bool RegisterWindowClass(WideView class_name);
bool IsWindowClassRegistered(WideView class_name);
void UnregisterWindowClass(WideView class_name);

// Handle-based operations; all tolerate gone handles.
bool IsWindow(HWND hwnd);
// The object behind a handle of the calling thread; nullptr otherwise.
Window* WindowFromHandle(HWND hwnd);
bool DestroyWindow(HWND hwnd);
bool ShowWindow(HWND hwnd, int show_command);
bool IsWindowVisible(HWND hwnd);
bool EnableWindow(HWND hwnd, bool enable);
bool IsWindowEnabled(HWND hwnd);
bool MoveWindow(HWND hwnd, int x, int y, int width, int height, bool repaint = true);
bool GetWindowRect(HWND hwnd, Rect* screen_rect);
bool GetClientRect(HWND hwnd, Rect* rect);
HWND GetParent(HWND hwnd);
HWND GetDlgItem(HWND hwnd, int id);
bool SetWindowText(HWND hwnd, WideView text);
WideText GetWindowText(HWND hwnd);
// Thread-safe: may be called from animation threads.
bool InvalidateRect(HWND hwnd, const Rect* client_rect, bool erase = false);
bool UpdateWindow(HWND hwnd);
// Top-level window of this process (and of the other program once the
// cross-process route is installed) by class and/or title; empty = any.
HWND FindWindow(WideView class_name, WideView title);
// The window under a screen point (deepest visible, enabled or not).
HWND WindowFromPoint(Point screen_point);

// Pointer capture: pointer messages go to the capturing window until released.
HWND SetCapture(HWND hwnd);
bool ReleaseCapture();
HWND GetCapture();

// Keyboard focus (WM_KILLFOCUS / WM_SETFOCUS carry the other window).
HWND SetFocus(HWND hwnd);
HWND GetFocus();

// Activation of top-level windows: the one that loses it gets WM_ACTIVATE
// (WA_INACTIVE, the new one), then the new one gets (WA_ACTIVE, the old one).
HWND SetActiveWindow(HWND hwnd);
HWND GetActiveWindow();
bool SetForegroundWindow(HWND hwnd);

// Top-level windows of this process, bottom to top.
std::vector<HWND> TopLevelWindows();

// Sends a shell event that reached the top-level window `top_level` on to
// its visible descendants that hear shell events, parents first.
void RelayShellEvent(HWND top_level, uint32_t message, WPARAM wParam, LPARAM lParam);

}  // namespace brantel
