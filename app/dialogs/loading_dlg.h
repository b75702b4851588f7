#pragma once
// CLoadingDlg: the dialog shown while the viewer starts. Over the dimmed
// screen it shows the loading panel with a turning picture and "로딩중"
// followed by zero to three dots; with a development server also "개발서버"
// and the program's version. The animation runs on its own thread and draws
// straight to the screen (DrawAndPresent), so it keeps moving while start-up
// blocks the window thread (downloading and reading the master list, waiting
// for a connection). The back key on it ends the viewer, as the close button
// does.

#include <atomic>

#include "platform/gfx/device_context.h"
#include "platform/gfx/font.h"
#include "platform/gfx/surface.h"
#include "platform/resources/resource_library.h"
#include "platform/thread/worker_thread.h"
#include "platform/ui/dialog.h"

namespace brantel {

inline constexpr int kLoadingFrames = 8;
inline constexpr uint32_t kLoadingStepMs = 100;
// The part of the client area the animation redraws: the panel.
inline constexpr Rect kLoadingPanelRect{40, 153, 440, 543};

// "로딩중" followed by (frame mod 4) dots.
WideText LoadingCaption(int frame);

// What one animation frame draws, in client coordinates: the dimmed screen
// under the panel, the panel, the frame's picture and the caption, and the
// development-server texts when asked for.
struct LoadingFrameArt {
  const Surface* dimmed = nullptr;
  Point client_screen_origin;
  ResourceLibraryRef library;
  bool development_server = false;
  WideText version;
};
void DrawLoadingFrame(DeviceContext& dc, const LoadingFrameArt& art, int frame);

class CLoadingDlg : public Dialog {
 public:
  // `development_server` shows "개발서버" and the version on the panel.
  explicit CLoadingDlg(bool development_server);
  ~CLoadingDlg() override;

  // Creates the dialog modeless and top-most over the work area, dims the
  // screen behind it, forces portrait and starts the animation.
  bool Open(Window* owner);
  // Stops the animation (waiting for its thread), then destroys the window.
  void Close();

  int frame() const { return frame_.load(); }
  bool animating() const { return thread_.Running(); }

  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override;

 protected:
  bool OnInitDialog() override;
  void OnCancel() override {}  // only the owner closes it
  void OnOK() override {}

 private:
  void Animate(WorkerThread& thread);

  LoadingFrameArt art_;
  Surface dimmed_;
  std::atomic<int> frame_{0};
  WorkerThread thread_;  // stopped before the members above go
};

}  // namespace brantel
