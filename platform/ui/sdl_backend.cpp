// The SDL2 display backend.

#include "platform/ui/sdl_backend.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>

#include "platform/debug.h"
#include "platform/device/accelerometer_rotation.h"
#include "platform/text.h"
#include "platform/ui/input_router.h"
#include "platform/ui/letterbox.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/motion_sensor.h"
#include "platform/ui/screen.h"
#include "platform/ui/window.h"
#include "platform/ui/window_fit.h"

namespace brantel {
namespace {

uint32_t VirtualKey(SDL_Keycode key) {
  switch (key) {
    case SDLK_ESCAPE: return VK_TBACK;   // the back key
    case SDLK_F4:
    case SDLK_END: return VK_TEND;       // the end key
    case SDLK_F3:
    case SDLK_HOME: return VK_TTALK;     // the talk key
    case SDLK_F1: return VK_F1;          // the left soft key
    case SDLK_F2: return VK_F2;          // the right soft key
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return VK_RETURN;
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_TAB: return VK_TAB;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_DELETE: return VK_DELETE;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_UP: return VK_UP;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_PAGEUP: return VK_PRIOR;
    case SDLK_PAGEDOWN: return VK_NEXT;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return VK_SHIFT;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return VK_CONTROL;
    default: break;
  }
  if (key >= SDLK_a && key <= SDLK_z) return uint32_t('A' + (key - SDLK_a));
  if (key >= SDLK_0 && key <= SDLK_9) return uint32_t('0' + (key - SDLK_0));
  return 0;
}

class SdlBackend : public DisplayBackend {
 public:
  // Scale 0: fit the display (see StartScale).
  SdlBackend(int scale_percent, bool fullscreen)
      : scale_(scale_percent / 100.0), fit_(scale_percent == 0), fullscreen_(fullscreen) {}

  ~SdlBackend() override {
    RememberChosenScale();
    if (texture_) SDL_DestroyTexture(texture_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (window_) SDL_DestroyWindow(window_);
    if (started_) SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
  }

  bool Create(int width, int height) override {
    // The syllable being composed comes as SDL_TEXTEDITING and is drawn in
    // the edit itself, as on the phone (the hint's "1" would leave it to the
    // input method's own window and the edit would never see it).
    SDL_SetHint(SDL_HINT_IME_INTERNAL_EDITING, "0");
    SDL_SetHint(SDL_HINT_MOUSE_TOUCH_EVENTS, "0");
    SDL_SetHint(SDL_HINT_TOUCH_MOUSE_EVENTS, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
      DebugOutput(std::string("SDL: ") + SDL_GetError() + "\n");
      return false;
    }
    started_ = true;
    // On X the software renderer's picture goes to the window as it is (X
    // shared memory): putting it through an OpenGL texture would load a GL
    // driver, its threads and some 90 MB, for no speed a 480 x 800 picture
    // needs. A Wayland window has no such path: there the texture is the way.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || std::strcmp(driver, "wayland") != 0) SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    wake_event_ = SDL_RegisterEvents(1);
    // Full screen takes the display at its own size; the screen keeps its
    // proportions inside it (black bars), as in a resized window.
    const uint32_t flags =
        SDL_WINDOW_ALLOW_HIGHDPI | (fullscreen_ ? SDL_WINDOW_FULLSCREEN_DESKTOP : SDL_WINDOW_RESIZABLE);
    if (fit_) scale_ = StartScale(width, height);
    window_ = SDL_CreateWindow("BrantelStock", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, int(width * scale_),
                               int(height * scale_), flags);
    if (!window_) return false;
    // The software renderer: an animation thread may present while the UI
    // thread is blocked, and a GL context is bound to one thread.
    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer_) return false;
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
    // Like the phone, no text input until the input panel goes up.
    SDL_StopTextInput();
    // A phone held turned at the start gives a landscape window; a machine
    // whose compositor does not turn windows may still have an accelerometer.
    int ww = 0, wh = 0;
    SDL_GetWindowSize(window_, &ww, &wh);
    if (ww > wh) FollowWindowShape(ww, wh);
    accelerometer_.Start();
    return MakeTexture(width, height);
  }

  void Present(const Surface& screen) override {
    std::lock_guard<std::mutex> lock(render_mu_);
    if (screen.width() != width_ || screen.height() != height_) MakeTexture(screen.width(), screen.height());
    SDL_UpdateTexture(texture_, nullptr, screen.data(), screen.width() * 4);
    DrawLocked();
  }

  void PresentFromAnyThread(const Surface& screen, const Rect& area) override {
    std::lock_guard<std::mutex> lock(render_mu_);
    if (screen.width() != width_ || screen.height() != height_) return;  // turning: the UI thread presents
    Rect part = area.Intersect(Rect{0, 0, width_, height_});
    if (part.IsEmpty()) return;
    SDL_Rect r{part.left, part.top, part.Width(), part.Height()};
    SDL_UpdateTexture(texture_, &r, screen.row(part.top) + part.left, screen.width() * 4);
    DrawLocked();
  }

  void PumpInput() override {
    SDL_Event ev;
    while (SDL_PollEvent(&ev)) Handle(ev);
  }

  void Wait(uint32_t timeout_ms) override {
    if (timeout_ms == 0xFFFFFFFF)
      SDL_WaitEvent(nullptr);
    else
      SDL_WaitEventTimeout(nullptr, int(std::min<uint32_t>(timeout_ms, 0x7FFFFFFF)));
  }

  void Wake() override {
    SDL_Event ev{};
    ev.type = wake_event_;
    SDL_PushEvent(&ev);
  }

  void SetOrientation(int width, int height) override {
    std::lock_guard<std::mutex> lock(render_mu_);
    MakeTexture(width, height);
    if (!fullscreen_) SDL_SetWindowSize(window_, int(width * scale_), int(height * scale_));
  }

  bool SetClipboardText(const std::string& utf8) override { return SDL_SetClipboardText(utf8.c_str()) == 0; }

  std::optional<std::string> GetClipboardText() override {
    char* text = SDL_GetClipboardText();  // "" when empty or on failure
    if (!text) return std::nullopt;
    std::string copy(text);
    SDL_free(text);
    return copy;
  }

  void SetTextInput(bool on) override {
    if (!on) {
      SDL_StopTextInput();
      return;
    }
    // An on-screen keyboard or a candidate list keeps clear of the edit.
    Rect edit;
    if (HWND focus = GetFocus(); focus && GetWindowRect(focus, &edit)) {
      const Rect out = LetterboxFromScreen(Destination(), width_, height_, edit);
      double px = 1, py = 1;
      PixelsPerPoint(px, py);
      SDL_Rect r{int(out.left / px), int(out.top / py), int(out.Width() / px), int(out.Height() / py)};
      SDL_SetTextInputRect(&r);
    }
    SDL_StartTextInput();
  }

  void SetIcon(const Surface& icon) override {
    // SDL copies the pixels, so the surface only wraps the picture's.
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(icon.data()), icon.width(),
                                                        icon.height(), 32, icon.width() * 4,
                                                        SDL_PIXELFORMAT_ARGB8888);
    if (!s) return;
    SDL_SetWindowIcon(window_, s);
    SDL_FreeSurface(s);
  }

  const char* name() const override { return "sdl"; }

 private:
  bool MakeTexture(int width, int height) {
    if (texture_) SDL_DestroyTexture(texture_);
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, width, height);
    width_ = width;
    height_ = height;
    return texture_ != nullptr;
  }

  // Where the screen lies in the renderer's output (kept in proportion).
  Rect Destination() const {
    int ow = 0, oh = 0;
    SDL_GetRendererOutputSize(renderer_, &ow, &oh);
    return LetterboxRect(ow, oh, width_, height_);
  }

  // Output pixels per window point (more than 1 on a high-density display).
  void PixelsPerPoint(double& px, double& py) const {
    int ww = 1, wh = 1, ow = 1, oh = 1;
    SDL_GetWindowSize(window_, &ww, &wh);
    SDL_GetRendererOutputSize(renderer_, &ow, &oh);
    px = double(std::max(ow, 1)) / std::max(ww, 1);
    py = double(std::max(oh, 1)) / std::max(wh, 1);
  }

  void Draw() {
    std::lock_guard<std::mutex> lock(render_mu_);
    DrawLocked();
  }

  void DrawLocked() {
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    const Rect box = Destination();
    const SDL_Rect dest{box.left, box.top, box.Width(), box.Height()};
    SDL_RenderCopy(renderer_, texture_, nullptr, &dest);
    SDL_RenderPresent(renderer_);
  }

  // Window coordinates (points) to screen pixels, keeping fractions.
  void ToScreen(double wx, double wy, double& x, double& y) const {
    double px = 1, py = 1;
    PixelsPerPoint(px, py);
    LetterboxToScreen(Destination(), width_, height_, wx * px, wy * py, &x, &y);
  }

  void Pointer(PointerAction action, double wx, double wy) {
    double x, y;
    ToScreen(wx, wy, x, y);
    RoutePointer(action, x, y);
  }

  void Handle(const SDL_Event& ev) {
    switch (ev.type) {
      case SDL_QUIT:
        RouteCloseRequest();
        break;
      case SDL_WINDOWEVENT:
        // The window's shape is the motion sensor: a compositor that turns
        // the screen gives the window the other shape.
        if (ev.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) FollowWindowShape(ev.window.data1, ev.window.data2);
        if (ev.window.event == SDL_WINDOWEVENT_EXPOSED || ev.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) Draw();
        break;
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP:
        if (ev.button.button == SDL_BUTTON_LEFT && ev.button.which != SDL_TOUCH_MOUSEID)
          Pointer(ev.type == SDL_MOUSEBUTTONDOWN ? PointerAction::kDown : PointerAction::kUp, ev.button.x,
                  ev.button.y);
        break;
      case SDL_MOUSEMOTION:
        if ((ev.motion.state & SDL_BUTTON_LMASK) && ev.motion.which != SDL_TOUCH_MOUSEID)
          Pointer(PointerAction::kMove, ev.motion.x, ev.motion.y);
        break;
      case SDL_FINGERDOWN:
      case SDL_FINGERMOTION:
      case SDL_FINGERUP: {
        if (finger_ != -1 && ev.tfinger.fingerId != finger_) break;  // one finger acts
        if (finger_ == -1 && ev.type != SDL_FINGERDOWN) break;        // the rest of a finger that did not act
        // The finger's place is a fraction of the window: to points, then as the mouse.
        int ww = 1, wh = 1;
        SDL_GetWindowSize(window_, &ww, &wh);
        PointerAction a = ev.type == SDL_FINGERDOWN   ? PointerAction::kDown
                          : ev.type == SDL_FINGERUP ? PointerAction::kUp
                                                    : PointerAction::kMove;
        finger_ = a == PointerAction::kUp ? -1 : ev.tfinger.fingerId;
        Pointer(a, ev.tfinger.x * ww, ev.tfinger.y * wh);
        break;
      }
      case SDL_MOUSEWHEEL: {
        if (ev.wheel.which == SDL_TOUCH_MOUSEID) break;
        const int flip = ev.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -1 : 1;
        int mx = 0, my = 0;
        SDL_GetMouseState(&mx, &my);
        double x, y;
        ToScreen(mx, my, x, y);
        RouteWheel(x, y, flip * ev.wheel.x * WHEEL_DELTA, flip * ev.wheel.y * WHEEL_DELTA);
        break;
      }
      case SDL_KEYDOWN:
      case SDL_KEYUP:
        HandleKey(ev.key, ev.type == SDL_KEYDOWN);
        break;
      case SDL_TEXTEDITING: {
        WideText text = Widen(ev.edit.text);
        if (text.empty()) {
          if (IsComposing()) {
            RouteCompositionUpdate(0);
            RouteCompositionEnd();
          }
        } else {
          RouteCompositionUpdate(text.back());
        }
        break;
      }
      case SDL_TEXTINPUT: {
        WideText text = Widen(ev.text.text);
        if (IsComposing()) {
          RouteCompositionResult(text);
          RouteCompositionEnd();
        } else {
          for (char16_t c : text) RouteChar(c);
        }
        break;
      }
      default:
        break;
    }
  }

  void HandleKey(const SDL_KeyboardEvent& key, bool down) {
    if (down && key.keysym.sym == SDLK_F9 && !key.repeat) {
      // The motion sensor: the phone turns to the next angle.
      WriteMotionSensorRotation(NextMotionSensorRotation(ReadMotionSensorRotation()));
      return;
    }
    if (down && key.keysym.sym == SDLK_F12 && !key.repeat) {
      SaveScreenshot("brantel-screenshot.png");
      return;
    }
    if (uint32_t vk = VirtualKey(key.keysym.sym)) RouteKey(vk, down);
  }

  // Without --scale: the scale the user chose last time, or 100 %, made
  // smaller when the display's usable area (less a title bar) cannot hold it.
  double StartScale(int width, int height) {
    constexpr int kTitleBarAllowance = 40;
    const double wanted = RememberedWindowScale().value_or(1.0);
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0) return wanted;
    return FitWindowScale(Size{width, height}, Size{usable.w, usable.h}, wanted, kTitleBarAllowance);
  }

  // A size the user chose by resizing the window is the next start's size.
  void RememberChosenScale() {
    if (!fit_ || fullscreen_ || !window_ || width_ <= 0 || height_ <= 0) return;
    int w = 0, h = 0;
    SDL_GetWindowSize(window_, &w, &h);
    const double chosen = std::min(double(w) / width_, double(h) / height_);
    if (std::abs(chosen - scale_) > 0.01) RememberWindowScale(chosen);
  }

  double scale_;
  bool fit_;
  bool fullscreen_;
  bool started_ = false;
  uint32_t wake_event_ = 0;
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  int width_ = 0, height_ = 0;
  SDL_FingerID finger_ = -1;
  AccelerometerRotation accelerometer_;  // writes the motion sensor from its own thread
  std::mutex render_mu_;  // texture and renderer, shared with animation threads
};

}  // namespace

std::unique_ptr<DisplayBackend> MakeSdlBackend(int scale_percent, bool fullscreen) {
  return std::make_unique<SdlBackend>(scale_percent == 0 ? 0 : std::clamp(scale_percent, 25, 400), fullscreen);
}

}  // namespace brantel
