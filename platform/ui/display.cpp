#include "platform/ui/display.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <mutex>
#include <vector>

#include "platform/debug.h"
#include "platform/ui/headless_backend.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/screen.h"
#include "platform/ui/script_player.h"
#include "platform/ui/sdl_backend.h"
#include "platform/ui/shell.h"
#include "platform/ui/thread_queue.h"
#include "platform/ui/window_dump.h"
#include "platform/ui/window_tree.h"

namespace brantel {
namespace {

// BRANTEL_FRAME_LOG=FILE: every frame the UI thread presents appends the
// monotonic clock in microseconds and the window tree it shows, so a
// measurement in another process can tell when something first appeared.
void LogPresentedFrame() {
  static const char* path = std::getenv("BRANTEL_FRAME_LOG");
  if (!path || !*path) return;
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  std::ofstream out(path, std::ios::app);
  out << "frame " << (int64_t(now.tv_sec) * 1000000 + now.tv_nsec / 1000) << "\n" << DumpWindowTree() << "--\n";
}

// Attaches the backend to the UI thread's queue.
class Display : public QueueClient {
 public:
  explicit Display(std::unique_ptr<DisplayBackend> backend) : backend_(std::move(backend)) {}

  void PumpInput() override {
    backend_->PumpInput();
    for (InputSource* s : std::vector<InputSource*>(sources_)) s->Poll();
  }
  void OnIdle() override {
    std::lock_guard<std::mutex> lock(present_mu_);
    if (ComposeIfDirty(screen_)) {
      backend_->Present(screen_);
      LogPresentedFrame();
    }
  }
  // Any thread (an animation thread while the UI thread is blocked).
  void PresentArea(const Rect& area) {
    std::lock_guard<std::mutex> lock(present_mu_);
    ComposeScreenArea(screen_, area);
    backend_->PresentFromAnyThread(screen_, area);
  }
  void Wait(uint32_t timeout_ms) override {
    for (InputSource* s : sources_) timeout_ms = std::min(timeout_ms, s->NextDueMs());
    backend_->Wait(timeout_ms);
  }
  void Wake() override { backend_->Wake(); }

  DisplayBackend* backend() { return backend_.get(); }
  std::vector<InputSource*> sources_;

 private:
  std::unique_ptr<DisplayBackend> backend_;
  std::mutex present_mu_;  // the screen copy and the backend's output
  Surface screen_;
};

std::mutex g_mu;
// Held while a thread presents, so the display is not stopped under it.
std::mutex g_present_mu;
Display* g_display = nullptr;
ThreadId g_display_thread = 0;

}  // namespace

DisplayKind ChooseDisplayKind(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--headless") == 0) return DisplayKind::kHeadless;
    if (std::strcmp(argv[i], "--sdl") == 0) return DisplayKind::kSdl;
  }
  if (const char* env = std::getenv("BRANTEL_DISPLAY")) {
    if (std::strcmp(env, "headless") == 0) return DisplayKind::kHeadless;
    if (std::strcmp(env, "sdl") == 0) return DisplayKind::kSdl;
  }
  const char* x = std::getenv("DISPLAY");
  const char* wl = std::getenv("WAYLAND_DISPLAY");
  return (x && *x) || (wl && *wl) ? DisplayKind::kSdl : DisplayKind::kHeadless;
}

DisplayOptions ParseDisplayOptions(int argc, char** argv) {
  DisplayOptions o;
  o.kind = ChooseDisplayKind(argc, argv);
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "--fullscreen") == 0) o.fullscreen = true;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--scale") == 0) o.scale_percent = std::clamp(std::atoi(argv[i + 1]), 25, 400);
    if (std::strcmp(argv[i], "--script") == 0) o.script_path = argv[i + 1];
  }
  return o;
}

std::string DisplayHelpText() {
  return "Display:\n"
         "  --headless          no window: in-memory screen (default without a display)\n"
         "  --sdl               a window on the desktop\n"
         "  --scale PERCENT     window size relative to the 480 x 800 screen (default: the size\n"
         "                      last chosen by resizing, or 100, smaller when the display is)\n"
         "  --fullscreen        fill the display, the screen kept in proportion (black bars)\n"
         "  --script FILE       play scripted input (see docs/windows-and-display.md)\n"
         "  BRANTEL_DISPLAY=headless|sdl chooses the same way\n"
         "Keys in the window:\n"
         "  mouse / touch       the finger (one finger at a time)\n"
         "  Escape              back key\n"
         "  F4 or End           end key\n"
         "  F3 or Home          talk key\n"
         "  F1 / F2             left / right soft key of the menu bar\n"
         "  Up / Down, Enter    move in an open pop-up menu, choose\n"
         "  F9                  turn the phone (motion sensor Rotation 0 -> 90 -> 270 -> 0)\n"
         "  F12                 screenshot to brantel-screenshot.png\n";
}

bool StartDisplayWith(std::unique_ptr<DisplayBackend> backend, bool system_bar) {
  StopDisplay();
  Size size = GetScreenSize();
  if (!backend || !backend->Create(size.cx, size.cy)) return false;
  {
    std::lock_guard<std::mutex> lock(g_mu);
    g_display = new Display(std::move(backend));
    g_display_thread = GetCurrentThreadId();
  }
  CurrentQueue()->SetClient(g_display);
  if (system_bar) StartSystemBar();
  MarkScreenDirty();
  return true;
}

bool StartDisplay(const DisplayOptions& options) {
  bool started = false;
  if (options.kind == DisplayKind::kSdl) {
    started = StartDisplayWith(MakeSdlBackend(options.scale_percent, options.fullscreen), options.system_bar);
    // A window was asked for (or a display was there): say why none came.
    if (!started) std::fputs("display: no window could be opened, running headless\n", stderr);
  }
  if (!started && !StartDisplayWith(std::make_unique<HeadlessBackend>(), options.system_bar)) return false;
  if (!options.script_path.empty()) {
    std::string error;
    if (!StartScriptFile(options.script_path, &error)) {
      std::fprintf(stderr, "script %s\n", error.c_str());
      StopDisplay();
      return false;
    }
  }
  return true;
}

void StopDisplay() {
  Display* d;
  {
    std::lock_guard<std::mutex> lock(g_mu);
    d = g_display;
    if (!d) return;
  }
  StopSystemBar();
  StopScript();
  CurrentQueue()->SetClient(nullptr);
  {
    std::lock_guard<std::mutex> presenting(g_present_mu);
    std::lock_guard<std::mutex> lock(g_mu);
    g_display = nullptr;
    g_display_thread = 0;
  }
  delete d;
}

bool IsDisplayRunning() {
  std::lock_guard<std::mutex> lock(g_mu);
  return g_display != nullptr;
}

DisplayBackend* CurrentDisplayBackend() {
  std::lock_guard<std::mutex> lock(g_mu);
  return g_display ? g_display->backend() : nullptr;
}

void SetDisplayIcon(const Surface& icon) {
  if (icon.width() <= 0 || icon.height() <= 0) return;
  if (DisplayBackend* backend = CurrentDisplayBackend()) backend->SetIcon(icon);
}

void PresentScreenArea(const Rect& area) {
  std::lock_guard<std::mutex> presenting(g_present_mu);
  Display* d;
  {
    std::lock_guard<std::mutex> lock(g_mu);
    d = g_display;
  }
  if (d) d->PresentArea(area);
}

void WakeDisplayThread() {
  ThreadId t;
  {
    std::lock_guard<std::mutex> lock(g_mu);
    t = g_display_thread;
  }
  if (t)
    if (auto q = FindQueue(t)) q->Wake();
}

void AddInputSource(InputSource* source) {
  std::lock_guard<std::mutex> lock(g_mu);
  if (g_display) g_display->sources_.push_back(source);
}

void RemoveInputSource(InputSource* source) {
  std::lock_guard<std::mutex> lock(g_mu);
  if (g_display) std::erase(g_display->sources_, source);
}

}  // namespace brantel
