#pragma once
// What the update bar shows, apart from its window: the animation's frame
// steps, the update text, where things are drawn, and the painting itself
// (the gallery and tests draw it straight into surfaces).

#include <cstdint>

#include "platform/gfx/device_context.h"
#include "platform/gfx/geometry.h"
#include "platform/gfx/surface.h"
#include "platform/resources/resource_library.h"
#include "platform/text.h"

namespace brantel {

inline constexpr int kUpdateBarIdleFrame = -1;
// The animation's pictures are 1035 to 1042, one per frame: eight. The
// picture after them, 1043, is the detail's landscape header band, not a
// ninth frame, so the animation ends at 1042.
inline constexpr int kUpdateBarFrameCount = 8;
inline constexpr uint32_t kUpdateBarFirstFramePicture = 1035;
inline constexpr uint32_t kUpdateBarBackgroundPicture = 1019;
inline constexpr uint32_t kUpdateBarLogoPicture = 1098;
inline constexpr int kUpdateBarFrameMs = 100;
// How long stopping the animation waits for its thread.
inline constexpr uint32_t kUpdateBarStopWaitMs = 1000;

inline constexpr Rect kUpdateBarLogoRect{3, 0, 223, 40};
inline constexpr Rect kUpdateBarTextRect{230, 5, 430, 35};
inline constexpr COLORREF kUpdateBarTextColor = 0x999999;

// The frame after `frame`: 0 from idle or after the last frame.
int NextUpdateBarFrame(int frame);
// "Updated : " and 11 characters of `last_update` from its fourth on (the
// stamp without its century), or fewer when the text is shorter.
WideText UpdateBarText(WideView last_update);
// The 30 x 30 square of the animation at x 440, centred vertically.
Rect UpdateBarAnimationRect(int bar_height);

// Background 1019 over the client, logo 1098, the update text, and the
// animation: frame's picture, or (idle, frame -1) a black square.
void DrawUpdateBar(DeviceContext& dc, const Rect& client, const ResourceLibraryRef& library, WideView last_update,
                   int frame);

}  // namespace brantel
