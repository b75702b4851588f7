#pragma once
// Seeded random input for the whole viewer, in the script format of
// platform/ui/script_player.h: taps (a good share on the tab bar, so every
// screen gets its turn), drags, flicks, wheel notches, the device keys
// (back, F1, F2, Up, Down, Enter, F9 as the turn; the soft keys and back
// also pressed twice quickly), Latin and Korean text and
// compositions. Each part ends on the next screen by its tab. The script comes in parts; each part ends with a dump step,
// so a watcher sees the viewer's UI thread get through it, and knows how
// long the part plays (`play_ms`) to tell a slow viewer from a hung one.
//
//   RandomInputScript gen(seed);
//   RandomScriptPart part = gen.NextPart("dump /tmp/w.txt\n");

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>

namespace brantel::testing {

struct RandomScriptPart {
  std::string text;
  int play_ms = 0;  // the waits and move delays of the part
};

class RandomInputScript {
 public:
  explicit RandomInputScript(uint64_t seed) : rng_(seed) {}

  // About `actions` random actions, then `dump_step`.
  RandomScriptPart NextPart(const std::string& dump_step, int actions = 8) {
    RandomScriptPart part;
    for (int i = 0; i < actions; ++i) AddAction(part);
    // Each part ends on the next screen in turn (unless a dialog is up), so
    // its dump shows every screen in its turn.
    static constexpr int kTabCentre[3] = {85, 240, 395};
    part.text += "tap " + Point(kTabCentre[parts_ % 3], 96) + "\n";
    ++parts_;
    Wait(part, Uniform(300, 900));
    part.text += dump_step;
    return part;
  }

 private:
  int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }
  std::string Point(int x, int y) { return std::to_string(x) + " " + std::to_string(y); }
  // A point below the system bar (whatever the orientation, the random
  // points stay inside 480 x 800).
  std::string AnyPoint() { return Point(Uniform(0, 479), Uniform(52, 799)); }
  void Wait(RandomScriptPart& part, int ms) {
    part.text += "wait " + std::to_string(ms) + "\n";
    part.play_ms += ms;
  }

  void AddAction(RandomScriptPart& part) {
    const int roll = Uniform(0, 999);
    if (roll < 170) {  // a tab: MyPage, market, search
      static constexpr int kTabLeft[3] = {20, 175, 330};
      const int tab = Uniform(0, 2);
      part.text += "tap " + Point(kTabLeft[tab] + Uniform(0, 130), Uniform(52, 140)) + "\n";
    } else if (roll < 250) {
      // Where the buttons of a message box in the middle of the screen are
      // (a box gives way to nothing but its buttons).
      static constexpr int kButtonX[3] = {130, 240, 350};
      part.text += "tap " + Point(kButtonX[Uniform(0, 2)], Uniform(470, 550)) + "\n";
    } else if (roll < 420) {
      part.text += "tap " + AnyPoint() + "\n";
    } else if (roll < 500) {  // a slow drag
      Drag(part, Uniform(6, 14), Uniform(30, 60));
    } else if (roll < 580) {  // a flick
      Drag(part, Uniform(3, 5), 16);
    } else if (roll < 620) {
      part.text += "wheel 0 " + std::to_string(Uniform(-3, 3)) + "\n";
    } else if (roll < 700) {
      static const char* const kKeys[] = {"f1", "f2", "up", "down", "enter", "up", "down", "enter"};
      part.text += std::string("key ") + kKeys[Uniform(0, 7)] + "\n";
    } else if (roll < 780) {  // a quick double press of a soft key (a double tap), back kept rare
      static const char* const kKeys[] = {"f1", "f1", "f2", "f2", "f1", "f2", "f1", "back"};
      const std::string key = kKeys[Uniform(0, 7)];
      part.text += "key " + key + "\n";
      Wait(part, Uniform(20, 90));
      part.text += "key " + key + "\n";
    } else if (roll < 800) {  // F9: the motion sensor turns the phone
      static constexpr int kTurns[] = {0, 90, 270};
      part.text += "rotate " + std::to_string(kTurns[Uniform(0, 2)]) + "\n";
    } else if (roll < 820) {  // the back key ends the viewer from a list: kept rare
      part.text += "key back\n";
    } else if (roll < 900) {
      static const char* const kTexts[] = {"삼성", "a", "KB", "005930", "현대차", "sk", "LG전자", "x"};
      part.text += std::string("text ") + kTexts[Uniform(0, 7)] + "\n";
      if (Uniform(0, 2) == 0) part.text += "key backspace\n";
    } else {
      static const char* const kCompositions[] = {"compose ㅎ 하 한 = 한", "compose ㅅ 사 삼 = 삼",
                                                  "compose ㄱ 기 = 기", "compose a b = ab"};
      part.text += std::string(kCompositions[Uniform(0, 3)]) + "\n";
    }
    Wait(part, Uniform(0, 4) == 0 ? Uniform(400, 1200) : Uniform(30, 250));
  }

  void Drag(RandomScriptPart& part, int steps, int step_ms) {
    const int x = Uniform(20, 460), y = Uniform(160, 780);
    const int dx = Uniform(-200, 200), dy = Uniform(-500, 500);
    part.text += "press " + Point(x, y) + "\n";
    for (int i = 1; i <= steps; ++i) {
      const int to_x = std::clamp(x + dx * i / steps, 0, 479), to_y = std::clamp(y + dy * i / steps, 52, 799);
      part.text += "move " + Point(to_x, to_y) + " " + std::to_string(step_ms) + "\n";
      part.play_ms += step_ms;
    }
    part.text += "release\n";
  }

  std::mt19937_64 rng_;
  int parts_ = 0;
};

}  // namespace brantel::testing
