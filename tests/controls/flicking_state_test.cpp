// The kinetic scroller's physics, stepped without sleeping: taps, the
// direction test, flicks that coast and slow gestures that only settle, the
// coasting limits with the spring back, snapping, short content, the base
// step and the thumb.

#include "controls/flicking_state.h"

#include <gtest/gtest.h>

#include <vector>

#include "controls/mobile_list_layout.h"
#include "platform/ui/clock.h"

namespace brantel {
namespace {

struct Gesture {
  FlickingState state;
  ManualClockScope clock;

  Gesture(int position, int extent = 6000, int view = 600, int snap = 0) {
    state.vertical().position = position;
    state.vertical().extent = extent;
    state.vertical().view = view;
    state.vertical().snap = snap;
  }
  // Finger from `from` to `to` in `ms`, lifted there.
  FlickRelease Drag(Point from, Point to, uint32_t ms) {
    EXPECT_TRUE(state.Press(from, GetTickCount()));
    AdvanceClock(ms);
    const Point points[] = {Point{(from.x + to.x) / 2, (from.y + to.y) / 2}, to};
    state.Move(points, GetTickCount());
    FlickAxisId axis;
    return state.Release(to, GetTickCount(), &axis);
  }
  // Steps a run to its end; the positions after each tick.
  std::vector<int> Run(FlickRun::Kind kind, std::vector<int>* sleeps = nullptr) {
    FlickRun run(state, FlickAxisId::kVertical, kind);
    std::vector<int> positions;
    int sleep = 0;
    while (run.Tick(&sleep)) {
      positions.push_back(state.vertical().position);
      if (sleeps) sleeps->push_back(sleep);
      if (positions.size() > 5000) break;
    }
    return positions;
  }
  int position() const { return state.vertical().position; }
};

TEST(FlickingState, TapsAndTheDirectionOfSteps) {
  EXPECT_TRUE(IsVerticalMove({0, 0}, {10, 10}));   // exactly 45 degrees
  EXPECT_TRUE(IsVerticalMove({0, 0}, {-10, -10}));
  EXPECT_TRUE(IsVerticalMove({0, 0}, {0, -5}));
  EXPECT_FALSE(IsVerticalMove({0, 0}, {10, 9}));
  EXPECT_FALSE(IsVerticalMove({0, 0}, {0, 0}));

  Gesture tap(300);
  ASSERT_TRUE(tap.state.Press({100, 300}, GetTickCount()));
  FlickAxisId axis;
  EXPECT_EQ(tap.state.Release({115, 285}, GetTickCount(), &axis), FlickRelease::kTap);
  EXPECT_EQ(tap.position(), 300);

  // A 45-degree step scrolls; a flatter one (from the down point) does not.
  Gesture drag(300);
  ASSERT_TRUE(drag.state.Press({100, 300}, GetTickCount()));
  const Point steep[] = {{110, 290}};
  EXPECT_EQ(drag.state.Move(steep, GetTickCount()), 1);
  EXPECT_EQ(drag.position(), 310);
  const Point flat[] = {{140, 280}};
  EXPECT_EQ(drag.state.Move(flat, GetTickCount()), 0);
  EXPECT_EQ(drag.position(), 310);
  // Finger down on a busy control does not drag.
  Gesture busy(0);
  busy.state.busy = true;
  EXPECT_FALSE(busy.state.Press({0, 0}, 0));
  EXPECT_EQ(busy.state.Move(steep, 0), 0);
}

TEST(FlickingState, QuickFlickCoastsSlowGestureOnlySettles) {
  Gesture flick(1200);
  ASSERT_EQ(flick.Drag({240, 600}, {240, 400}, 100), FlickRelease::kInertial);
  EXPECT_EQ(flick.position(), 1400);
  std::vector<int> sleeps;
  const auto coast = flick.Run(FlickRun::Kind::kInertial, &sleeps);
  // Base 10, count min(200 x 10 / 5, 250) = 250, step 10 + 2 x 10 = 30
  // falling to 5: 30 + 29 + ... + 6 then 5 for the rest.
  ASSERT_EQ(coast.size(), 250u);
  EXPECT_EQ(coast.front(), 1430);
  EXPECT_EQ(flick.position(), 1400 + 450 + 225 * 5);
  EXPECT_EQ(sleeps.front(), 7);

  // The finger coming down again ends the coasting.
  Gesture caught(1200);
  ASSERT_EQ(caught.Drag({240, 600}, {240, 400}, 100), FlickRelease::kInertial);
  FlickRun run(caught.state, FlickAxisId::kVertical, FlickRun::Kind::kInertial);
  int sleep = 0;
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(run.Tick(&sleep));
  caught.state.dragging = true;
  EXPECT_FALSE(run.Tick(&sleep));
  EXPECT_EQ(caught.position(), 1400 + 30 + 29 + 28);

  // A stop request ends the run after its coasting, without the rest phase.
  Gesture stopped(1200, 6000, 600, 60);
  ASSERT_EQ(stopped.Drag({240, 600}, {240, 400}, 100), FlickRelease::kInertial);
  FlickRun stopping(stopped.state, FlickAxisId::kVertical, FlickRun::Kind::kInertial);
  ASSERT_TRUE(stopping.Tick(&sleep));
  stopped.state.stop_request = true;
  int ticks = 1;
  while (stopping.Tick(&sleep)) ++ticks;
  EXPECT_EQ(ticks, 250);
  EXPECT_EQ(stopped.position(), 1400 + 450 + 225 * 5);  // 2975: not snapped to 2940
  EXPECT_FALSE(stopped.state.stop_request);

  Gesture slow(1200);
  EXPECT_EQ(slow.Drag({240, 600}, {240, 400}, 400), FlickRelease::kSettle);
  EXPECT_TRUE(slow.Run(FlickRun::Kind::kSettle).empty());  // in range: nothing moves
  EXPECT_EQ(slow.position(), 1400);
}

TEST(FlickingState, CoastingStopsPastAnEndAndSpringsBack) {
  // Up past the end: coasting leaves once the position reaches
  // extent - 2/3 view = 5600, then the run returns it to 5400.
  Gesture up(5000);
  ASSERT_EQ(up.Drag({240, 600}, {240, 400}, 100), FlickRelease::kInertial);
  auto positions = up.Run(FlickRun::Kind::kInertial);
  const int peak = *std::max_element(positions.begin(), positions.end());
  EXPECT_GE(peak, 5600);
  EXPECT_LT(peak, 5600 + 30);
  EXPECT_EQ(up.position(), 5400);

  // Down past the start: leaves once position + view < 2/3 view, back to 0.
  Gesture down(300);
  ASSERT_EQ(down.Drag({240, 200}, {240, 400}, 100), FlickRelease::kInertial);
  positions = down.Run(FlickRun::Kind::kInertial);
  const int low = *std::min_element(positions.begin(), positions.end());
  EXPECT_LT(low, -200);
  EXPECT_GT(low, -200 - 30);
  EXPECT_EQ(down.position(), 0);

  // A slow pull past the start: its clock restarted, the run settles it
  // back to 0 step by step.
  Gesture pulled(0);
  ASSERT_EQ(pulled.Drag({240, 200}, {240, 300}, 500), FlickRelease::kInertial);
  EXPECT_EQ(pulled.position(), -100);
  positions = pulled.Run(FlickRun::Kind::kInertial);
  EXPECT_GT(positions.size(), 3u);
  EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
  EXPECT_EQ(pulled.position(), 0);
}

TEST(FlickingState, RestsOnTheSnapUnit) {
  // A slow gesture has no coasting, so the run goes straight to rest.
  auto rest_from = [](int position, int extent = 6000) {
    Gesture g(position, extent, 600, 60);
    g.Drag({240, 400}, {240, 420}, 400);
    g.state.vertical().position = position;
    g.Run(FlickRun::Kind::kInertial);
    return g.position();
  };
  EXPECT_EQ(rest_from(130), 120);
  EXPECT_EQ(rest_from(150), 120);  // half a unit rounds down
  EXPECT_EQ(rest_from(151), 180);
  EXPECT_EQ(rest_from(180), 180);
  // Rounding up never passes the end (max 5450 here).
  EXPECT_EQ(rest_from(5445, 6050), 5450);
}

TEST(FlickingState, ShortContentReturnsToTheTop) {
  for (int start : {-80, 80}) {
    Gesture g(start, 600, 600);
    g.Drag({240, 300}, {240, 320}, 400);
    g.state.vertical().position = start;
    g.Run(FlickRun::Kind::kSettle);
    EXPECT_EQ(g.position(), 0) << start;
  }
  Gesture quick(0, 600, 600);
  ASSERT_EQ(quick.Drag({240, 300}, {240, 500}, 50), FlickRelease::kInertial);
  quick.Run(FlickRun::Kind::kInertial);
  EXPECT_EQ(quick.position(), 0);
}

TEST(FlickingState, BaseStepAndThumb) {
  EXPECT_EQ(FlickBaseStep(6000, 600), 10);
  EXPECT_EQ(FlickBaseStep(600, 600), 6);     // at least 3, doubled below 6
  EXPECT_EQ(FlickBaseStep(13200, 600), 11);  // 22 halved
  EXPECT_EQ(FlickBaseStep(60000, 600), 30);  // at most 30
  EXPECT_EQ(FlickBaseStep(600, 0), 6);

  EXPECT_EQ(ComputeThumb(600, 600, 0, 60).length, 0);  // no thumb for short content
  ThumbGeometry t = ComputeThumb(600, 6000, 0, 60);
  EXPECT_EQ(t.length, 60);
  EXPECT_EQ(t.top, 0);
  t = ComputeThumb(600, 6000, 5400, 60);
  EXPECT_EQ(t.top, 540);
  EXPECT_EQ(t.bottom, 600);
  EXPECT_EQ(ComputeThumb(600, 600000, 0, 60).length, 30);
  EXPECT_EQ(ComputeThumb(600, 610, 0, 60).length, 570);
  t = ComputeThumb(600, 6000, -300, 60);  // pulled down: kept on the view
  EXPECT_EQ(t.top, 0);
  EXPECT_GE(t.bottom, 5);
}

}  // namespace
}  // namespace brantel
