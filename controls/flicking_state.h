#pragma once
// The physics of the kinetic scroller, apart from any window: drag steps,
// the decision at finger lift, and the settle and inertial runs as objects
// that are stepped one tick at a time. The window drives them (a timer on
// the UI thread, or the one-shot timer's thread sleeping between ticks);
// tests step them on the manual clock without sleeping.
//
// Shared between the UI thread and a run's thread: the positions, the
// dragging flag, the busy flag and the stop request (atomics). Everything
// else belongs to the UI thread; a run takes its own copy of the sizes.

#include <atomic>
#include <cstdint>
#include <span>

#include "platform/gfx/geometry.h"

namespace brantel {

enum class FlickAxisId { kVertical, kHorizontal };
enum class FlickSpeed : int { kSlow = 0, kNormal = 1, kFast = 2 };
enum class FlickDirection : int { kNone = 0, kHorizontal = 1, kVertical = 2 };

// True when the movement from `from` to `to` is vertical: 45 <= |angle| <= 135.
bool IsVerticalMove(Point from, Point to);
// The run's base step from the content extent and the view.
int FlickBaseStep(int extent, int view);

struct FlickAxis {
  std::atomic<int> position{0};
  int drag = 0;     // up - down of the last gesture
  int extent = 0;   // content size
  int view = 0;     // visible size
  int snap = 0;     // rest positions are multiples of it; < 1 disables snapping
  int max() const { return extent - view; }
  bool InRange(int p) const { return p >= 0 && p <= max(); }
};

// What the finger lift asks for.
enum class FlickRelease { kNone, kTap, kInertial, kSettle };

class FlickingState {
 public:
  FlickAxis& axis(FlickAxisId id) { return id == FlickAxisId::kVertical ? vertical_ : horizontal_; }
  const FlickAxis& axis(FlickAxisId id) const { return id == FlickAxisId::kVertical ? vertical_ : horizontal_; }
  FlickAxis& vertical() { return vertical_; }
  const FlickAxis& vertical() const { return vertical_; }
  FlickAxis& horizontal() { return horizontal_; }

  bool horizontal_enabled = false;
  FlickSpeed speed = FlickSpeed::kNormal;
  std::atomic<bool> dragging{false};
  std::atomic<bool> busy{false};
  std::atomic<bool> stop_request{false};

  FlickDirection direction() const { return direction_; }
  uint32_t gesture_time() const { return gesture_time_; }
  Point down_point() const { return down_; }

  // Finger down. False when busy (the finger does not drag).
  bool Press(Point p, uint32_t now);
  // The coalesced points of one move, in order, in client pixels. Returns
  // how many of them changed a position (each is one notification).
  int Move(std::span<const Point> points, uint32_t now);
  // Finger up: decides between tap, inertial run and settle run. `run_axis`
  // gets the axis of the run.
  FlickRelease Release(Point p, uint32_t now, FlickAxisId* run_axis);

 private:
  FlickAxis vertical_, horizontal_;
  FlickDirection direction_ = FlickDirection::kNone;
  Point down_{}, last_{};
  uint32_t reference_tick_ = 0;
  uint32_t gesture_time_ = 0;
};

// One settle or inertial run on one axis. Tick() makes one step of the
// position and returns true with the pause that follows it; false when the
// run is over (the caller then does the stop-motion step).
class FlickRun {
 public:
  enum class Kind { kSettle, kInertial };
  FlickRun(FlickingState& state, FlickAxisId axis, Kind kind);

  bool Tick(int* sleep_ms);
  bool done() const { return phase_ == Phase::kDone; }

 private:
  enum class Phase { kStart, kSettle, kCoast, kRest, kDone };
  void StartSettle();
  void StartRest();
  bool MoveToward(int sleep, int floor, int* sleep_ms);

  FlickingState& state_;
  std::atomic<int>& position_;
  const bool vertical_;
  const Kind kind_;
  const int drag_, extent_, view_, snap_;
  const uint32_t time_;
  const FlickSpeed speed_;
  const int base_;
  Phase phase_ = Phase::kStart;
  int step_ = 0;
  int count_ = 0;
  int target_ = 0;
};

}  // namespace brantel
