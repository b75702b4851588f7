#include "platform/ui/window.h"

#include <algorithm>

#include "platform/ui/message_queue.h"
#include "platform/ui/shell_internal.h"
#include "platform/ui/thread_queue.h"
#include "platform/ui/window_tree.h"

namespace brantel {
namespace {

using Lock = std::lock_guard<std::mutex>;

bool IsInSubtree(HWND h, Window* root) {
  Window* w = WindowTree::Find(h);
  for (; w; w = w->parent())
    if (w == root) return true;
  return false;
}

// The window that takes over activation when `leaving` goes away or hides:
// its owner when that can take it, else the top-most window that can.
Window* NextActiveCandidate(Window* leaving) {
  auto can_activate = [&](Window* w) {
    return w && w != leaving && w->IsAlive() && !WindowTree::destroying(w) && w->IsTopLevel() &&
           WindowTree::visible(w) && WindowTree::enabled(w) && !WindowTree::no_activate(w);
  };
  if (can_activate(leaving->owner())) return leaving->owner();
  auto& list = WindowTree::top_levels();
  for (auto it = list.rbegin(); it != list.rend(); ++it)
    if (can_activate(*it)) return *it;
  return nullptr;
}

}  // namespace

Window::Window() = default;

Window::~Window() {
  if (!hwnd_) return;
  // The derived handler is gone: children and owned windows are destroyed
  // properly, this one only loses its handle.
  destroying_ = true;
  for (Window* o : std::vector<Window*>(owned_)) o->Destroy();
  for (Window* c : std::vector<Window*>(children_)) c->Destroy();
  HWND next_active = 0;
  {
    Lock lock(WindowTree::mutex());
    if (WindowTree::active == hwnd_) {
      Window* next = NextActiveCandidate(this);
      WindowTree::active = 0;
      next_active = next ? next->hwnd_ : 0;
    }
    if (WindowTree::focus == hwnd_) WindowTree::focus = 0;
    if (WindowTree::capture == hwnd_) WindowTree::capture = 0;
  }
  HWND gone = hwnd_;
  if (auto q = FindQueue(thread_)) q->KillTimersOf(gone);
  {
    Lock lock(WindowTree::mutex());
    if (parent_) {
      std::erase(parent_->children_, this);
      if (visible_) WindowTree::InvalidateLocked(parent_, &rect_);
    }
    if (owner_) std::erase(owner_->owned_, this);
    WindowTree::Remove(this);
    hwnd_ = 0;
  }
  if (!parent_ && !message_only_) {
    ForgetShellWindow(gone);
    if (GetWindowSystemHooks().top_level_gone) GetWindowSystemHooks().top_level_gone(gone);
    MarkScreenDirty();
  }
  if (next_active) SetActiveWindow(next_active);
}

bool Window::Create(WideView class_name, WideView text, uint32_t style, const Rect& rect, Window* parent, int id) {
  WindowParams p;
  p.class_name = WideText(class_name);
  p.text = WideText(text);
  p.style = style;
  p.rect = rect;
  p.parent = parent;
  p.id = id;
  return Create(p);
}

bool Window::Create(const WindowParams& params) {
  if (hwnd_) return false;
  if (params.parent && !params.parent->hwnd_) return false;
  if (params.owner && !params.owner->hwnd_) return false;
  CurrentQueue();  // the thread's queue exists from its first window on
  {
    Lock lock(WindowTree::mutex());
    hwnd_ = WindowTree::NewHandle();
    thread_ = GetCurrentThreadId();
    class_name_ = params.class_name;
    text_ = params.text;
    style_ = params.style;
    rect_ = params.rect;
    id_ = params.id;
    message_only_ = params.message_only;
    parent_ = message_only_ ? nullptr : params.parent;
    owner_ = parent_ || message_only_ ? nullptr : params.owner;
    top_most_ = params.top_most;
    no_activate_ = params.no_activate;
    visible_ = false;
    enabled_ = !(style_ & WS_DISABLED);
    update_ = Rect{};
    children_.clear();
    owned_.clear();
    WindowTree::Add(this);
    if (parent_) {
      parent_->children_.push_back(this);
    } else if (!message_only_) {
      if (owner_) owner_->owned_.push_back(this);
      backing_.Resize(rect_.Width(), rect_.Height());
      WindowTree::PlaceTopLevel(this);
    }
  }
  HWND self = hwnd_;
  if (Send(WM_CREATE, 0, LPARAM(&params)) == -1) {
    if (IsWindow(self)) Destroy();
    return false;
  }
  if (!IsWindow(self)) return false;
  if (IsTopLevel() && GetWindowSystemHooks().top_level_shown)
    GetWindowSystemHooks().top_level_shown(self, class_name_, text_);
  if ((style_ & WS_VISIBLE) && !message_only_) Show(SW_SHOW);
  return IsWindow(self);
}

void Window::Destroy() {
  if (!hwnd_ || destroying_) return;
  destroying_ = true;
  HWND self = hwnd_;
  const bool top_level = IsTopLevel();
  for (Window* o : std::vector<Window*>(owned_)) o->Destroy();

  // Leave the screen, activation, capture and focus first.
  Window* next_active = nullptr;
  HWND lost_capture = 0, lost_focus = 0;
  {
    Lock lock(WindowTree::mutex());
    if (WindowTree::active == self) next_active = NextActiveCandidate(this);
    if (IsInSubtree(WindowTree::capture, this)) lost_capture = WindowTree::capture;
    if (IsInSubtree(WindowTree::focus, this)) lost_focus = WindowTree::focus;
  }
  if (next_active || GetActiveWindow() == self) SetActiveWindow(next_active ? next_active->hwnd_ : 0);
  if (lost_capture && GetCapture() == lost_capture) ReleaseCapture();
  if (lost_focus && GetFocus() == lost_focus) SetFocus(0);

  // WM_DESTROY goes to the window first, then to its children, top down.
  std::vector<HWND> order;
  std::function<void(Window*)> collect = [&](Window* w) {
    order.push_back(w->hwnd_);
    for (Window* c : w->children_) collect(c);
  };
  collect(this);
  for (HWND h : order)
    if (IsWindow(h)) SendMessage(h, WM_DESTROY, 0, 0);

  // Remove the handles bottom up, with their timers.
  std::vector<Window*> gone;
  std::function<void(Window*)> collect_live = [&](Window* w) {
    for (Window* c : w->children_) collect_live(c);
    gone.push_back(w);
  };
  if (!IsWindow(self)) return;  // a handler destroyed the object itself
  collect_live(this);
  for (Window* w : gone)
    if (auto q = FindQueue(w->thread_)) q->KillTimersOf(w->hwnd_);
  {
    Lock lock(WindowTree::mutex());
    if (parent_) {
      std::erase(parent_->children_, this);
      if (visible_) WindowTree::InvalidateLocked(parent_, &rect_);
    }
    if (owner_) std::erase(owner_->owned_, this);
    for (Window* w : gone) {
      WindowTree::Remove(w);
      w->hwnd_ = 0;
      w->parent_ = nullptr;
      w->owner_ = nullptr;
      w->children_.clear();
      w->owned_.clear();
      w->update_ = Rect{};
      w->destroying_ = false;
    }
  }
  if (top_level) {
    ForgetShellWindow(self);
    if (GetWindowSystemHooks().top_level_gone) GetWindowSystemHooks().top_level_gone(self);
    MarkScreenDirty();
    NotifyShellObserver();
  }
  // Last, bottom up; an object may delete itself here.
  for (Window* w : gone) w->OnFinalDestroy();
}

LRESULT Window::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProc(message, wParam, lParam);
}

LRESULT Window::DefWindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Validate();
      return 0;
    case WM_CLOSE:
      Destroy();
      return 0;
    case WM_SETTEXT: {
      const char16_t* s = reinterpret_cast<const char16_t*>(lParam);
      {
        Lock lock(WindowTree::mutex());  // FindWindow reads titles from any thread
        text_ = s ? WideText(s) : WideText();
      }
      if (IsTopLevel()) {
        if (GetWindowSystemHooks().top_level_shown) GetWindowSystemHooks().top_level_shown(hwnd_, class_name_, text_);
        NotifyShellObserver();
      }
      return 1;
    }
    case WM_GETTEXT: {
      char16_t* buf = reinterpret_cast<char16_t*>(lParam);
      size_t cap = size_t(wParam);
      if (!buf || cap == 0) return 0;
      size_t n = std::min(cap - 1, text_.size());
      std::copy_n(text_.data(), n, buf);
      buf[n] = 0;
      return LRESULT(n);
    }
    case WM_GETTEXTLENGTH:
      return LRESULT(text_.size());
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) {
        HWND focus = GetFocus();
        bool inside;
        {
          Lock lock(WindowTree::mutex());
          inside = IsInSubtree(focus, this);
        }
        if (!inside) SetFocus(hwnd_);
      }
      return 0;
    default:
      return 0;
  }
}

bool Window::PreTranslateMessage(Message*) { return false; }

LRESULT Window::Send(uint32_t message, WPARAM wParam, LPARAM lParam) {
  return SendMessage(hwnd_, message, wParam, lParam);
}

bool Window::Post(uint32_t message, WPARAM wParam, LPARAM lParam) {
  return PostMessage(hwnd_, message, wParam, lParam);
}

Window* Window::TopLevel() {
  Window* w = this;
  while (w->parent_) w = w->parent_;
  return w;
}

Window* Window::GetDlgItem(int id) const {
  for (Window* c : children_)
    if (c->id_ == id) return c;
  return nullptr;
}

void Window::SetText(WideView text) {
  WideText copy(text);
  if (hwnd_) {
    Send(WM_SETTEXT, 0, LPARAM(copy.c_str()));
  } else {
    Lock lock(WindowTree::mutex());
    text_ = copy;
  }
}

Rect Window::ScreenRect() const {
  Point p = ClientToScreen(Point{0, 0});
  return Rect::FromSize(p.x, p.y, rect_.Width(), rect_.Height());
}

Point Window::ClientToScreen(Point p) const {
  for (const Window* w = this; w; w = w->parent_) {
    p.x += w->rect_.left;
    p.y += w->rect_.top;
  }
  return p;
}

Point Window::ScreenToClient(Point p) const {
  Point origin = ClientToScreen(Point{0, 0});
  return Point{p.x - origin.x, p.y - origin.y};
}

void Window::Move(const Rect& rect, bool repaint) {
  if (!hwnd_) {
    rect_ = rect;
    return;
  }
  Rect old = rect_;
  if (old == rect) return;
  bool resized = old.Width() != rect.Width() || old.Height() != rect.Height();
  {
    Lock lock(WindowTree::mutex());
    rect_ = rect;
    if (IsTopLevel() && resized) backing_.Resize(rect.Width(), rect.Height());
    if (visible_) {
      if (parent_) {
        WindowTree::InvalidateLocked(parent_, &old);
      }
      if (repaint || resized) WindowTree::InvalidateLocked(this, nullptr);
    }
  }
  if (!parent_) MarkScreenDirty();
  HWND self = hwnd_;
  if (old.left != rect.left || old.top != rect.top) Send(WM_MOVE, 0, MAKELPARAM(uint32_t(rect.left), uint32_t(rect.top)));
  if (resized && IsWindow(self))
    Send(WM_SIZE, SIZE_RESTORED, MAKELPARAM(uint32_t(rect.Width()), uint32_t(rect.Height())));
}

bool Window::IsVisible() const {
  Lock lock(WindowTree::mutex());
  return hwnd_ && WindowTree::IsVisibleLocked(this);
}

void Window::Show(int show_command) {
  if (!hwnd_ || message_only_) return;
  bool visible = show_command != SW_HIDE;
  if (visible == visible_) return;
  HWND self = hwnd_;
  Send(WM_SHOWWINDOW, visible ? 1 : 0, 0);
  if (!IsWindow(self)) return;
  Window* next_active = nullptr;
  bool activate_self = false;
  {
    Lock lock(WindowTree::mutex());
    visible_ = visible;
    if (visible) {
      WindowTree::InvalidateLocked(this, nullptr);
      activate_self = IsTopLevel() && !no_activate_ && enabled_ && show_command != SW_SHOWNA;
    } else {
      if (parent_) WindowTree::InvalidateLocked(parent_, &rect_);
      if (WindowTree::active == hwnd_) next_active = NextActiveCandidate(this);
    }
  }
  if (!parent_) MarkScreenDirty();
  if (activate_self) {
    SetActiveWindow(self);
  } else if (next_active) {
    SetActiveWindow(next_active->hwnd_);
  } else if (!visible && GetActiveWindow() == self) {
    SetActiveWindow(0);
  }
  if (!visible) {
    HWND focus = GetFocus();
    bool inside;
    {
      Lock lock(WindowTree::mutex());
      inside = IsInSubtree(focus, this);
    }
    if (inside && GetActiveWindow() != self) SetFocus(0);
  }
}

void Window::Enable(bool enabled) {
  if (enabled_ == enabled) return;
  {
    Lock lock(WindowTree::mutex());
    enabled_ = enabled;
    if (enabled)
      style_ &= ~WS_DISABLED;
    else
      style_ |= WS_DISABLED;
  }
  if (hwnd_) Send(WM_ENABLE, enabled ? 1 : 0, 0);
}

void Window::BringToTop() {
  if (!hwnd_) return;
  {
    Lock lock(WindowTree::mutex());
    if (parent_) {
      std::erase(parent_->children_, this);
      parent_->children_.push_back(this);
      if (visible_) WindowTree::InvalidateLocked(this, nullptr);
    } else if (!message_only_) {
      WindowTree::PlaceTopLevel(this);
    }
  }
  if (!parent_) MarkScreenDirty();
}

void Window::SetTopMost(bool top_most) {
  if (parent_) return;
  {
    Lock lock(WindowTree::mutex());
    top_most_ = top_most;
    if (hwnd_ && !message_only_) WindowTree::PlaceTopLevel(this);
  }
  MarkScreenDirty();
}

void Window::Invalidate(const Rect* client_rect) {
  Lock lock(WindowTree::mutex());
  WindowTree::InvalidateLocked(this, client_rect);
}

void Window::Validate() {
  Lock lock(WindowTree::mutex());
  update_ = Rect{};
}

bool Window::HasUpdate() const {
  Lock lock(WindowTree::mutex());
  return !update_.IsEmpty();
}

void Window::Update() {
  if (!hwnd_) return;
  bool needs;
  {
    Lock lock(WindowTree::mutex());
    needs = !update_.IsEmpty() && WindowTree::IsVisibleLocked(this);
  }
  if (needs) {
    Message msg{hwnd_, WM_PAINT, 0, 0, GetTickCount(), {}};
    DispatchMessage(&msg);
  }
}

uintptr_t Window::SetTimer(uintptr_t id, uint32_t elapse_ms) { return brantel::SetTimer(hwnd_, id, elapse_ms); }
bool Window::KillTimer(uintptr_t id) { return brantel::KillTimer(hwnd_, id); }

// ---------------------------------------------------------------------------

MessageOnlyWindow::MessageOnlyWindow(Handler handler, WideView class_name) : handler_(std::move(handler)) {
  WindowParams p;
  p.class_name = WideText(class_name);
  p.style = 0;
  p.message_only = true;
  Create(p);
}

MessageOnlyWindow::~MessageOnlyWindow() { Destroy(); }

LRESULT MessageOnlyWindow::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  if (handler_) return handler_(message, wParam, lParam);
  return DefWindowProc(message, wParam, lParam);
}

}  // namespace brantel
