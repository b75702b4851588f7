#include "platform/ui/script_player.h"

#include <chrono>
#include <cmath>
#include <fstream>
#include <sstream>

#include "platform/folders.h"
#include "platform/ui/clock.h"
#include "platform/ui/display.h"
#include "platform/ui/input_router.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/motion_sensor.h"
#include "platform/ui/screen.h"
#include "platform/ui/shell.h"
#include "platform/ui/thread_queue.h"
#include "platform/ui/window_dump.h"

namespace brantel {
namespace {

// Tests read the window tree of another process this way.
void AppendWindowDump(const std::string& path) {
  std::ofstream out(path, std::ios::app);
  out << DumpWindowTree() << "--\n";
}

constexpr double kMaxCoordinate = 10000;
constexpr uint32_t kMaxDelayMs = 600000;
constexpr size_t kMaxScriptBytes = size_t(1) << 20;

bool ParseNumber(const std::string& token, double& out) {
  if (token.empty()) return false;
  char* end = nullptr;
  double v = std::strtod(token.c_str(), &end);
  if (!end || *end || !std::isfinite(v)) return false;
  out = v;
  return true;
}

bool ParseCoordinate(const std::string& token, double& out) {
  return ParseNumber(token, out) && std::fabs(out) <= kMaxCoordinate;
}

bool ParseDelay(const std::string& token, uint32_t& out) {
  double v;
  if (!ParseNumber(token, v) || v < 0 || v > kMaxDelayMs) return false;
  out = uint32_t(v);
  return true;
}

bool ParseKey(const std::string& token, uint32_t& vk) {
  static const std::pair<const char*, uint32_t> kNames[] = {
      {"back", VK_TBACK},   {"escape", VK_ESCAPE}, {"end", VK_TEND},   {"talk", VK_TTALK},
      {"enter", VK_RETURN}, {"backspace", VK_BACK}, {"tab", VK_TAB},   {"space", VK_SPACE},
      {"left", VK_LEFT},    {"right", VK_RIGHT},   {"up", VK_UP},      {"down", VK_DOWN},
      {"delete", VK_DELETE}, {"home", VK_HOME},   {"f1", VK_F1},      {"f2", VK_F2}};
  for (auto& [name, code] : kNames)
    if (EqualsNoCaseNarrow(token, name)) {
      vk = code;
      return true;
    }
  char* end = nullptr;
  unsigned long v = std::strtoul(token.c_str(), &end, 0);
  if (token.empty() || !end || *end || v == 0 || v > 0xFF) return false;
  vk = uint32_t(v);
  return true;
}

// Plays steps as the UI thread's loop looks for input.
class ScriptPlayer : public InputSource {
 public:
  explicit ScriptPlayer(std::vector<ScriptStep> steps) : steps_(std::move(steps)), last_(GetTickCount64()) {}

  bool done() const { return next_ >= steps_.size(); }
  int screenshot_failures() const { return screenshot_failures_; }

  void Poll() override {
    if (done()) return;
    ScriptStep& step = steps_[next_];
    uint64_t now = GetTickCount64();
    if (now < last_ + step.ms) return;
    if ((step.kind == ScriptStep::kIdle || step.kind == ScriptStep::kScreenshot) && !Idle()) return;
    ++next_;
    last_ = now;
    Run(step);
    // Moves that follow without a delay happen before the window looks, so
    // they coalesce into one WM_MOUSEMOVE as a fast finger's do.
    while (step.kind == ScriptStep::kMove && !done() && steps_[next_].kind == ScriptStep::kMove &&
           steps_[next_].ms == 0)
      Run(steps_[next_++]);
    if (done()) PostMessage(0, WM_NULL, 0, 0);  // wake the loop that waits for the end
  }

  uint32_t NextDueMs() override {
    if (done()) return 0xFFFFFFFF;
    const ScriptStep& step = steps_[next_];
    if (step.kind == ScriptStep::kIdle || step.kind == ScriptStep::kScreenshot) return 2;
    uint64_t now = GetTickCount64(), due = last_ + step.ms;
    if (IsManualClock()) return due <= now ? 0 : 0xFFFFFFFF;
    return due <= now ? 0 : uint32_t(due - now);
  }

 private:
  static bool Idle() {
    auto q = CurrentQueue();
    return !q->HasPendingWork() && NextWindowToPaint(q->id(), 0) == 0;
  }

  void Run(const ScriptStep& s) {
    switch (s.kind) {
      case ScriptStep::kPress:
        x_ = s.x;
        y_ = s.y;
        RoutePointer(PointerAction::kDown, x_, y_);
        break;
      case ScriptStep::kMove:
        x_ = s.x;
        y_ = s.y;
        RoutePointer(PointerAction::kMove, x_, y_);
        break;
      case ScriptStep::kRelease:
        if (s.has_point) {
          x_ = s.x;
          y_ = s.y;
        }
        RoutePointer(PointerAction::kUp, x_, y_);
        break;
      case ScriptStep::kWheel:
        RouteWheel(x_, y_, int(std::lround(s.x * WHEEL_DELTA)), int(std::lround(s.y * WHEEL_DELTA)));
        break;
      case ScriptStep::kKey:
        RouteKey(s.code, true);
        RouteKey(s.code, false);
        break;
      case ScriptStep::kText:
        for (char16_t c : s.text) RouteChar(c);
        break;
      case ScriptStep::kCompose:
        RouteCompositionStart();
        for (char16_t c : s.composing) RouteCompositionUpdate(c);
        RouteCompositionResult(s.text);
        RouteCompositionEnd();
        break;
      case ScriptStep::kWait:
      case ScriptStep::kIdle:
        break;
      case ScriptStep::kScreenshot:
        if (!SaveScreenshot(s.path)) ++screenshot_failures_;
        break;
      case ScriptStep::kRotate:
        WriteMotionSensorRotation(int(s.code));
        break;
      case ScriptStep::kOrient:
        SetDisplayOrientation(int(s.code));
        break;
      case ScriptStep::kQuit:
        PostQuitMessage(0);
        break;
      case ScriptStep::kClose:
        RouteCloseRequest();
        break;
      case ScriptStep::kDump:
        AppendWindowDump(s.path);
        break;
      case ScriptStep::kCall:
        if (s.call) s.call();
        break;
    }
  }

  std::vector<ScriptStep> steps_;
  size_t next_ = 0;
  uint64_t last_;
  double x_ = 0, y_ = 0;
  int screenshot_failures_ = 0;
};

ScriptPlayer* g_player = nullptr;
int g_last_failures = 0;

ScriptStep Step(ScriptStep::Kind kind) {
  ScriptStep s;
  s.kind = kind;
  return s;
}

}  // namespace

bool ParseScript(const std::string& text, std::vector<ScriptStep>& steps, std::string& error) {
  steps.clear();
  std::istringstream in(text);
  std::string line;
  int number = 0;
  auto fail = [&](const std::string& what) {
    error = "line " + std::to_string(number) + ": " + what;
    steps.clear();
    return false;
  };
  while (std::getline(in, line)) {
    ++number;
    std::string_view body = TrimNarrow(line);
    if (body.empty() || body[0] == '#') continue;
    std::istringstream words{std::string(body)};
    std::vector<std::string> t;
    for (std::string w; words >> w;) t.push_back(w);
    const std::string& verb = t[0];
    size_t n = t.size();
    ScriptStep s;
    if (verb == "tap" && n == 3) {
      s = Step(ScriptStep::kPress);
      if (!ParseCoordinate(t[1], s.x) || !ParseCoordinate(t[2], s.y)) return fail("bad point");
      steps.push_back(s);
      s = Step(ScriptStep::kRelease);
    } else if (verb == "press" && n == 3) {
      s = Step(ScriptStep::kPress);
      if (!ParseCoordinate(t[1], s.x) || !ParseCoordinate(t[2], s.y)) return fail("bad point");
    } else if (verb == "move" && (n == 3 || n == 4)) {
      s = Step(ScriptStep::kMove);
      if (!ParseCoordinate(t[1], s.x) || !ParseCoordinate(t[2], s.y)) return fail("bad point");
      if (n == 4 && !ParseDelay(t[3], s.ms)) return fail("bad delay");
    } else if (verb == "release" && (n == 1 || n == 3)) {
      s = Step(ScriptStep::kRelease);
      if (n == 3) {
        if (!ParseCoordinate(t[1], s.x) || !ParseCoordinate(t[2], s.y)) return fail("bad point");
        s.has_point = true;
      }
    } else if ((verb == "hold" || verb == "wait") && n == 2) {
      s = Step(ScriptStep::kWait);
      if (!ParseDelay(t[1], s.ms)) return fail("bad delay");
    } else if (verb == "wheel" && n == 3) {
      s = Step(ScriptStep::kWheel);
      if (!ParseCoordinate(t[1], s.x) || !ParseCoordinate(t[2], s.y)) return fail("bad wheel turn");
    } else if (verb == "key" && n == 2) {
      s = Step(ScriptStep::kKey);
      if (!ParseKey(t[1], s.code)) return fail("unknown key '" + t[1] + "'");
    } else if (verb == "text" && n >= 2) {
      s = Step(ScriptStep::kText);
      s.text = Widen(TrimNarrow(body.substr(4)));
    } else if (verb == "compose") {
      s = Step(ScriptStep::kCompose);
      size_t eq = 0;
      for (size_t i = 1; i < n; ++i)
        if (t[i] == "=") eq = i;
      if (eq == 0 || eq + 1 >= n) return fail("compose needs '= TEXT'");
      for (size_t i = 1; i < eq; ++i) {
        WideText c = Widen(t[i]);
        if (c.size() != 1) return fail("compose shows one character at a time");
        s.composing.push_back(c[0]);
      }
      std::string result;
      for (size_t i = eq + 1; i < n; ++i) result += (i > eq + 1 ? " " : "") + t[i];
      s.text = Widen(result);
    } else if (verb == "idle" && n == 1) {
      s = Step(ScriptStep::kIdle);
    } else if (verb == "screenshot" && n == 2) {
      s = Step(ScriptStep::kScreenshot);
      s.path = t[1];
    } else if (verb == "rotate" && n == 2) {
      s = Step(ScriptStep::kRotate);
      if (t[1] != "0" && t[1] != "90" && t[1] != "270") return fail("rotate takes 0, 90 or 270");
      s.code = uint32_t(std::stoi(t[1]));
    } else if (verb == "orient" && n == 2) {
      s = Step(ScriptStep::kOrient);
      if (t[1] != "0" && t[1] != "1" && t[1] != "4") return fail("orient takes 0, 1 or 4");
      s.code = uint32_t(std::stoi(t[1]));
    } else if (verb == "quit" && n == 1) {
      s = Step(ScriptStep::kQuit);
    } else if (verb == "dump" && n == 2) {
      s = Step(ScriptStep::kDump);
      s.path = t[1];
    } else if (verb == "close" && n == 1) {
      s = Step(ScriptStep::kClose);
    } else {
      return fail("cannot read '" + std::string(body) + "'");
    }
    steps.push_back(std::move(s));
  }
  return true;
}

InputScript& InputScript::Tap(double x, double y) { return Press(x, y).Release(); }
InputScript& InputScript::Press(double x, double y) {
  ScriptStep s = Step(ScriptStep::kPress);
  s.x = x;
  s.y = y;
  steps_.push_back(s);
  return *this;
}
InputScript& InputScript::Move(double x, double y, uint32_t after_ms) {
  ScriptStep s = Step(ScriptStep::kMove);
  s.x = x;
  s.y = y;
  s.ms = after_ms;
  steps_.push_back(s);
  return *this;
}
InputScript& InputScript::Release() {
  steps_.push_back(Step(ScriptStep::kRelease));
  return *this;
}
InputScript& InputScript::Hold(uint32_t ms) { return Wait(ms); }
InputScript& InputScript::Wheel(double notches_x, double notches_y) {
  ScriptStep s = Step(ScriptStep::kWheel);
  s.x = notches_x;
  s.y = notches_y;
  steps_.push_back(s);
  return *this;
}
InputScript& InputScript::Key(uint32_t vk) {
  ScriptStep s = Step(ScriptStep::kKey);
  s.code = vk;
  steps_.push_back(s);
  return *this;
}
InputScript& InputScript::Text(WideView text) {
  ScriptStep s = Step(ScriptStep::kText);
  s.text = WideText(text);
  steps_.push_back(s);
  return *this;
}
InputScript& InputScript::Compose(std::vector<char16_t> composing, WideView result) {
  ScriptStep s = Step(ScriptStep::kCompose);
  s.composing = std::move(composing);
  s.text = WideText(result);
  steps_.push_back(s);
  return *this;
}
InputScript& InputScript::Wait(uint32_t ms) {
  ScriptStep s = Step(ScriptStep::kWait);
  s.ms = ms;
  steps_.push_back(s);
  return *this;
}
InputScript& InputScript::Idle() {
  steps_.push_back(Step(ScriptStep::kIdle));
  return *this;
}
InputScript& InputScript::Screenshot(const std::string& path) {
  ScriptStep s = Step(ScriptStep::kScreenshot);
  s.path = path;
  steps_.push_back(s);
  return *this;
}
InputScript& InputScript::Rotate(int degrees) {
  ScriptStep s = Step(ScriptStep::kRotate);
  s.code = uint32_t(degrees);
  steps_.push_back(s);
  return *this;
}
InputScript& InputScript::Orient(int orientation) {
  ScriptStep s = Step(ScriptStep::kOrient);
  s.code = uint32_t(orientation);
  steps_.push_back(s);
  return *this;
}
InputScript& InputScript::Quit() {
  steps_.push_back(Step(ScriptStep::kQuit));
  return *this;
}
InputScript& InputScript::Dump(const std::string& path) {
  ScriptStep s = Step(ScriptStep::kDump);
  s.path = path;
  steps_.push_back(std::move(s));
  return *this;
}
InputScript& InputScript::Close() {
  steps_.push_back(Step(ScriptStep::kClose));
  return *this;
}
InputScript& InputScript::Call(std::function<void()> fn) {
  ScriptStep s = Step(ScriptStep::kCall);
  s.call = std::move(fn);
  steps_.push_back(s);
  return *this;
}

bool StartScript(std::vector<ScriptStep> steps) {
  if (!IsDisplayRunning()) return false;
  if (g_player && !g_player->done()) return false;
  StopScript();
  g_player = new ScriptPlayer(std::move(steps));
  AddInputSource(g_player);
  WakeDisplayThread();
  return true;
}

bool StartScriptFile(const std::string& path, std::string* error) {
  std::string text, why;
  if (!ReadWholeFile(path, text, kMaxScriptBytes)) {
    if (error) *error = path + ": cannot be read (or larger than 1 MB)";
    return false;
  }
  std::vector<ScriptStep> steps;
  if (!ParseScript(text, steps, why)) {
    if (error) *error = path + ": " + why;
    return false;
  }
  if (!StartScript(std::move(steps))) {
    if (error) *error = path + ": no display to play it on";
    return false;
  }
  return true;
}

void StopScript() {
  if (!g_player) return;
  RemoveInputSource(g_player);
  g_last_failures = g_player->screenshot_failures();
  delete g_player;
  g_player = nullptr;
}

bool IsScriptDone() { return !g_player || g_player->done(); }

int ScriptScreenshotFailures() { return g_player ? g_player->screenshot_failures() : g_last_failures; }

bool PlayScript(InputScript& script, uint32_t timeout_ms) {
  if (!StartScript(script.steps())) return false;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  uintptr_t guard = SetTimer(0, 0, std::min<uint32_t>(timeout_ms, 100));
  bool ok = true;
  Message msg;
  while (!IsScriptDone()) {
    if (!GetMessage(&msg, 0, 0, 0)) {
      PostQuitMessage(int(msg.wParam));
      ok = false;
      break;
    }
    if (msg.hwnd == 0 && msg.message == WM_TIMER && msg.wParam == guard) {
      if (std::chrono::steady_clock::now() > deadline) {
        ok = false;
        break;
      }
      continue;
    }
    if (PreDispatchMessage(&msg)) continue;
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
  KillTimer(0, guard);
  PumpPendingMessages();
  int failures = g_player ? g_player->screenshot_failures() : 0;
  StopScript();
  g_last_failures = failures;
  return ok && failures == 0;
}

}  // namespace brantel
