#pragma once
// Scripted input: a small text format, and the same steps as an in-process
// API for tests.
//
// Text format, one step per line ('#' starts a comment):
//   tap X Y                  press and release at (X, Y)
//   press X Y                finger down
//   move X Y [MS]            finger to (X, Y); MS: milliseconds after the last step
//                            (moves without MS right after a move coalesce into
//                            one WM_MOUSEMOVE, as a fast finger's do)
//   release [X Y]            finger up (where it is, or at X Y)
//   hold MS                  keep the finger where it is for MS
//   wheel DX DY              turn the wheel DX notches right and DY away from the
//                            user, where the finger last was (fractions allowed)
//   key NAME|CODE            press and release a key (back, end, talk, enter,
//                            backspace, left, right, up, down, f1, f2, or a number)
//   text TEXT                type text (UTF-8), one WM_CHAR per character
//   compose A B ... = TEXT   input-method composition showing A, B ... then TEXT
//   wait MS                  let MS milliseconds pass
//   idle                     wait until nothing is queued and nothing to paint
//   screenshot PATH          write the screen as PNG
//   rotate 0|90|270          the motion sensor turns the phone (writes its Rotation)
//   orient 0|1|4             sets the display orientation directly
//   quit                     post WM_QUIT to the UI thread
//   close                    the desktop asks to close the window (its close button)
//   dump PATH                append the window tree (DumpWindowTree) and "--" to PATH
// Fractional coordinates are allowed (quarter pixels reach GetMouseMovePoints).

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/text.h"

namespace brantel {

struct ScriptStep {
  enum Kind { kPress, kMove, kRelease, kWheel, kKey, kText, kCompose, kWait, kIdle, kScreenshot, kRotate, kOrient, kQuit, kClose, kDump, kCall };
  Kind kind = kWait;
  double x = 0, y = 0;
  bool has_point = false; // release at a given point
  uint32_t ms = 0;        // delay before the step (move, wait, hold)
  uint32_t code = 0;      // key code, rotation angle
  WideText text;          // text, composition result
  std::vector<char16_t> composing;
  std::string path;       // screenshot
  std::function<void()> call;
};

// Parses the text format. False with `error` ("line N: ...") on a bad line;
// nothing of a bad script is played.
bool ParseScript(const std::string& text, std::vector<ScriptStep>& steps, std::string& error);

// Builds a script in code.
class InputScript {
 public:
  InputScript& Tap(double x, double y);
  InputScript& Press(double x, double y);
  InputScript& Move(double x, double y, uint32_t after_ms = 0);
  InputScript& Release();
  InputScript& Hold(uint32_t ms);
  // Wheel notches (see the text format); fractions turn part of a notch.
  InputScript& Wheel(double notches_x, double notches_y);
  InputScript& Key(uint32_t vk);
  InputScript& Text(WideView text);
  InputScript& Compose(std::vector<char16_t> composing, WideView result);
  InputScript& Wait(uint32_t ms);
  InputScript& Idle();
  InputScript& Screenshot(const std::string& path);
  InputScript& Rotate(int degrees);
  InputScript& Orient(int orientation);
  InputScript& Quit();
  InputScript& Close();
  InputScript& Dump(const std::string& path);
  InputScript& Call(std::function<void()> fn);  // runs on the UI thread at that point
  std::vector<ScriptStep>& steps() { return steps_; }

 private:
  std::vector<ScriptStep> steps_;
};

// Plays a script on the calling (UI) thread's message loop: steps are taken
// as the loop looks for input, with their delays on the window-system clock.
// Needs a started display. Returns false when one is already playing.
bool StartScript(std::vector<ScriptStep> steps);
// False with `error` ("FILE: line N: ...") when it cannot be read or parsed.
bool StartScriptFile(const std::string& path, std::string* error = nullptr);
void StopScript();
bool IsScriptDone();
// Runs the message loop until the script has played (or WM_QUIT, which is
// posted again); false on quit or timeout (real milliseconds).
bool PlayScript(InputScript& script, uint32_t timeout_ms = 30000);
// Screenshots that failed to be written while playing.
int ScriptScreenshotFailures();

}  // namespace brantel
