#pragma once
// Shared by the dialog suites: the headless display with the resource
// library, a screen behind the dialogs (bands and text, so the dimming
// shows), and screenshots into $BRANTEL_SCREENSHOT_DIR when it is set.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/resources/resource_library.h"
#include "platform/ui/display.h"
#include "platform/ui/headless_backend.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/paint.h"
#include "platform/ui/screen.h"
#include "platform/ui/script_player.h"
#include "tests/support/temp_folder.h"
#include "tests/support/ui_test_support.h"

namespace brantel::testing {

// A stand-in screen under the dialogs; records what it is sent.
class Backdrop : public RecordingWindow {
 public:
  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_PAINT) {
      log.push_back({message, wParam, lParam});
      PaintScope paint(*this);
      DeviceContext& dc = paint.dc();
      for (int y = 0; y < ClientRect().bottom; y += 80)
        dc.FillSolid(Rect{0, y, 480, y + 80}, (y / 80) % 2 ? RGB(0x20, 0x40, 0x70) : RGB(0xD0, 0xD0, 0xC0));
      dc.SetBkMode(TRANSPARENT);
      dc.SetTextColor(RGB(0xC0, 0x20, 0x20));
      dc.SelectFont(Font(kGothicFace, 40));
      dc.DrawText(u"마이페이지 화면", Rect{0, 0, 480, 200}, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
      return 0;
    }
    return RecordingWindow::WindowProc(message, wParam, lParam);
  }
};

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    library_ = ResourceLibrary::Load(BRANTEL_BIN_DIR "/stock_resource.so");
    ASSERT_TRUE(library_);
    SetProcessResourcesForTesting(library_);
    auto backend = std::make_unique<HeadlessBackend>();
    backend_ = backend.get();
    ASSERT_TRUE(StartDisplayWith(std::move(backend), true));
    ASSERT_TRUE(screen_.Create(u"Backdrop", u"마이페이지", WS_VISIBLE, GetWorkArea()));
    Settle();
  }
  void TearDown() override {
    screen_.Destroy();
    StopDisplay();
    PumpPendingMessages();
    SetProcessResourcesForTesting(nullptr);
  }
  // Handles what is queued and lets the display present.
  static void Settle() {
    for (int i = 0; i < 4; ++i) {
      PumpPendingMessages();
      WaitMessage(5);
    }
    PumpPendingMessages();
  }
  static void Play(InputScript& script) { ASSERT_TRUE(PlayScript(script.Idle(), 20000)); }
  // Writes the screen as NAME.png when BRANTEL_SCREENSHOT_DIR is set.
  static void Shot(const std::string& name) {
    if (const char* dir = std::getenv("BRANTEL_SCREENSHOT_DIR")) {
      Settle();
      EXPECT_TRUE(SaveScreenshot(std::string(dir) + "/" + name + ".png"));
    }
  }

  TempDataFolder home_{"brantel-dialogs"};
  ResourceLibraryRef library_;
  HeadlessBackend* backend_ = nullptr;
  Backdrop screen_;
};

}  // namespace brantel::testing
