#include "app/detail/detail_spinner.h"

#include "controls/image_drawing.h"
#include "platform/ui/present.h"

namespace brantel {

Surface BuildSpinnerStrip(const ResourceLibraryRef& library) {
  Surface strip(kSpinnerSize * kSpinnerFrames, kSpinnerSize);
  DeviceContext dc(strip);
  for (int i = 0; i < kSpinnerFrames; ++i) {
    const int x = i * kSpinnerSize;
    // The band is plain along its width; its rows 5 to 35 lie under the frame.
    DrawResourcePicture(dc, x, -5, kSpinnerSize, 40, library, 1019);
    DrawResourcePicture(dc, x, 0, kSpinnerSize, kSpinnerSize, library, 1035 + uint32_t(i));
  }
  return strip;
}

void DetailSpinner::Start(HWND hwnd, const ResourceLibraryRef& library) {
  hwnd_ = hwnd;
  strip_ = BuildSpinnerStrip(library);
  thread_.Start([this](WorkerThread& self) { Loop(self); });
  thread_.Suspend();
}

void DetailSpinner::Loop(WorkerThread& self) {
  while (!self.StopRequested()) {
    self.WaitWhileSuspended();
    if (self.StopRequested()) break;
    if (!running_) {  // started but not yet suspended by the owner
      self.SleepFor(10);
      continue;
    }
    const int frame = (frame_ + 1) % kSpinnerFrames;
    frame_ = frame;
    const Rect at = Rect::FromSize(x_, y_, kSpinnerSize, kSpinnerSize);
    DrawAndPresent(hwnd_, at, [&](DeviceContext& dc) {
      dc.BitBlt(at.left, at.top, kSpinnerSize, kSpinnerSize, strip_, frame * kSpinnerSize, 0);
    });
    if (!self.SleepFor(100)) break;
  }
}

}  // namespace brantel
