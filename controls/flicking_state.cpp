#include "controls/flicking_state.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace brantel {
namespace {

// Count divisor, count limit, pause while coasting, pause while resting.
struct RunTable {
  int divisor, limit, coast_sleep, rest_sleep, settle_sleep;
};
constexpr RunTable kVerticalRun{5, 250, 7, 4, 4};
constexpr RunTable kHorizontalRun{10, 125, 6, 3, 3};

constexpr int kTapSlop = 16;
constexpr uint32_t kFlickMs = 300;

// The extra step of settle and rest phases: faster after a quick gesture.
int SettleBoost(uint32_t gesture_ms) {
  if (gesture_ms >= kFlickMs) return 2;
  return std::max((450 - int(gesture_ms)) / 100, 2);
}

}  // namespace

bool IsVerticalMove(Point from, Point to) {
  const double pi = 4.0 * std::atan(1.0);
  const int angle = int(std::atan2(double(to.y - from.y), double(to.x - from.x)) * 180.0 / pi);
  return std::abs(angle) >= 45 && std::abs(angle) <= 135;
}

int FlickBaseStep(int extent, int view) {
  int r = view > 0 ? extent / view : 0;
  r = std::max(r, 3);
  if (r < 6) r *= 2;
  if (r >= 20) r /= 2;
  return std::min(r, 30);
}

bool FlickingState::Press(Point p, uint32_t now) {
  direction_ = FlickDirection::kNone;
  down_ = p;
  if (busy) return false;
  dragging = true;
  last_ = p;
  reference_tick_ = now;
  return true;
}

int FlickingState::Move(std::span<const Point> points, uint32_t now) {
  if (!dragging) return 0;
  int changes = 0;
  bool out_of_range = false;
  for (const Point& p : points) {
    const int sx = p.x - last_.x;
    const int sy = p.y - last_.y;
    const bool vertical = IsVerticalMove(down_, p);
    bool changed = false;
    if (horizontal_enabled && !vertical && sx != 0) {
      const int pos = horizontal_.position -= sx;
      out_of_range |= !horizontal_.InRange(pos);
      changed = true;
    }
    if (vertical && sy != 0) {
      const int pos = vertical_.position -= sy;
      out_of_range |= !vertical_.InRange(pos);
      changed = true;
    }
    changes += changed;
    last_ = p;
  }
  // While a pull holds the list past an end the gesture's clock restarts:
  // the lift is judged by the last part of the pull, and a run that starts
  // out of range settles first.
  if (out_of_range) reference_tick_ = now;
  return changes;
}

FlickRelease FlickingState::Release(Point p, uint32_t now, FlickAxisId* run_axis) {
  direction_ = IsVerticalMove(down_, p) ? FlickDirection::kVertical : FlickDirection::kHorizontal;
  const bool was_dragging = dragging.exchange(false);
  const int dx = p.x - down_.x;
  const int dy = p.y - down_.y;
  if (std::abs(dx) < kTapSlop && std::abs(dy) < kTapSlop) return FlickRelease::kTap;
  if (!was_dragging) return FlickRelease::kNone;
  horizontal_.drag = dx;
  vertical_.drag = dy;
  gesture_time_ = now - reference_tick_;
  const bool horizontal = horizontal_enabled && direction_ == FlickDirection::kHorizontal;
  *run_axis = horizontal ? FlickAxisId::kHorizontal : FlickAxisId::kVertical;
  if (gesture_time_ <= kFlickMs) {
    if (direction_ == FlickDirection::kVertical && std::abs(dy) >= kTapSlop) return FlickRelease::kInertial;
    if (horizontal && std::abs(dx) >= kTapSlop) return FlickRelease::kInertial;
  }
  // A drag that ended sideways on a list without horizontal scrolling may
  // still have pulled the list past an end: it settles vertically.
  return FlickRelease::kSettle;
}

FlickRun::FlickRun(FlickingState& state, FlickAxisId axis, Kind kind)
    : state_(state),
      position_(state.axis(axis).position),
      vertical_(axis == FlickAxisId::kVertical),
      kind_(kind),
      drag_(state.axis(axis).drag),
      extent_(state.axis(axis).extent),
      view_(state.axis(axis).view),
      snap_(state.axis(axis).snap),
      time_(state.gesture_time()),
      speed_(state.speed),
      base_(FlickBaseStep(extent_, view_)) {}

void FlickRun::StartSettle() {
  state_.busy = false;
  if (extent_ == 0 || view_ == 0) {
    phase_ = Phase::kDone;
    return;
  }
  step_ = base_ + SettleBoost(time_);
  const int pos = position_;
  target_ = std::clamp(pos, 0, std::max(extent_ - view_, 0));
  phase_ = target_ == pos ? Phase::kDone : Phase::kSettle;
}

void FlickRun::StartRest() {
  step_ = base_ + SettleBoost(time_);
  const int pos = position_;
  const int max = extent_ - view_;
  phase_ = Phase::kDone;
  if (pos >= 0 && pos <= max) {
    if (snap_ < 1) return;
    const int rem = pos % snap_;
    if (rem == 0) return;
    target_ = rem <= snap_ / 2 ? pos - rem : pos + snap_ - rem;
    // Rounding up past the end would leave a gap under the last row.
    target_ = std::clamp(target_, 0, max);
  } else {
    target_ = std::clamp(pos, 0, max);
    if (vertical_) step_ = std::max(std::abs(pos - target_) / 5, 1);
  }
  if (target_ != pos) phase_ = Phase::kRest;
}

bool FlickRun::MoveToward(int sleep, int floor, int* sleep_ms) {
  const int pos = position_;
  if (pos == target_) {
    phase_ = Phase::kDone;
    return false;
  }
  position_ = pos < target_ ? std::min(pos + step_, target_) : std::max(pos - step_, target_);
  if (step_ > floor) --step_;
  *sleep_ms = sleep;
  return true;
}

bool FlickRun::Tick(int* sleep_ms) {
  const RunTable& table = vertical_ ? kVerticalRun : kHorizontalRun;
  if (phase_ == Phase::kStart) {
    if (kind_ == Kind::kSettle) {
      StartSettle();
    } else if (view_ < 1 || extent_ - view_ < 0) {
      phase_ = Phase::kDone;
    } else {
      state_.stop_request = false;
      state_.busy = false;
      if (!(position_ >= 0 && position_ <= extent_ - view_)) {
        StartSettle();
      } else {
        count_ = std::clamp(std::abs(drag_) * base_ / table.divisor, 0, table.limit);
        if (speed_ == FlickSpeed::kSlow) count_ /= 2;
        if (speed_ == FlickSpeed::kFast) count_ *= 2;
        const int boost = time_ < kFlickMs ? (600 - int(time_)) / 50 : 0;
        if (boost >= 1) {
          step_ = boost + base_ * (int(speed_) + 1);
          phase_ = Phase::kCoast;
        } else {
          StartRest();
        }
      }
    }
  }
  switch (phase_) {
    case Phase::kSettle:
      if (MoveToward(table.settle_sleep, 2, sleep_ms)) return true;
      break;
    case Phase::kCoast: {
      if (count_ > 0 && !state_.dragging) {
        --count_;
        // Coasting stops a third of a view past either end.
        bool leave;
        if (drag_ < 0) {
          const int pos = position_ += step_;
          leave = std::abs(pos) >= extent_ - 2 * view_ / 3;
        } else {
          const int pos = position_ -= step_;
          leave = pos + view_ < 2 * view_ / 3;
        }
        if (leave) count_ = 0;
        if (step_ >= 6) --step_;
        *sleep_ms = table.coast_sleep;
        return true;
      }
      if (state_.stop_request.exchange(false)) {
        phase_ = Phase::kDone;
        break;
      }
      StartRest();
      return Tick(sleep_ms);
    }
    case Phase::kRest:
      if (MoveToward(table.rest_sleep, 5, sleep_ms)) return true;
      break;
    case Phase::kStart:
    case Phase::kDone:
      break;
  }
  phase_ = Phase::kDone;
  if (kind_ == Kind::kInertial) state_.stop_request = false;
  return false;
}

}  // namespace brantel
