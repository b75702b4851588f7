// StockUpdater's window on the headless screen: the panel in the download
// phase, the install phase and after a failure (screenshots), cancel with
// its question, silent mode, the "/q" question, and closing twice.

#include "updater/stock_updater_dlg.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <map>
#include <thread>

#include "platform/folders.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/screen.h"
#include "protocol/app_messages.h"
#include "tests/support/temp_folder.h"
#include "tests/support/file_server.h"
#include "tests/support/ui_test_support.h"
#include "updater/platform_update_services.h"
#include "updater/updater_dialog_services.h"

namespace brantel {
namespace {

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

// The platform's services, with a hook the test uses to act at given moments
// of the update (the update runs inside the window's own handler).
class WatchedServices : public PlatformUpdateServices {
 public:
  WatchedServices() : PlatformUpdateServices(0) {}
  void SetWindow(HWND hwnd) { window_ = hwnd; }
  bool LetMessagesThrough() override {
    const bool cancel = LetPendingMessagesThrough();
    if (on_pump) on_pump();
    return cancel;
  }
  void ReportProgress(intptr_t code, intptr_t value) override {
    SendMessage(window_, WM_UPDATE_PROGRESS, WPARAM(code), value);
    if (on_report) on_report(code, value);
  }
  void StartProgram(const std::string& path, WideView command_line) override {
    started.emplace_back(path, WideText(command_line));
  }
  std::function<void()> on_pump;
  std::function<void(intptr_t, intptr_t)> on_report;
  std::vector<std::pair<std::string, WideText>> started;

 private:
  HWND window_ = 0;
};

std::string ScreenshotFolder() {
  const char* dir = std::getenv("BRANTEL_SCREENSHOT_DIR");
  return dir && *dir ? dir : "";
}

class UpdaterWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("BRANTEL_HOME", (dir_ / "data").c_str(), 1);
    viewer_ = dir_ / "viewer/";
    WriteFile(viewer_ + "BrantelStock", "viewer v1");
    SetQuestionBoxForTesting([this](HWND, WideView text, WideView caption) {
      questions_.emplace_back(WideText(text), WideText(caption));
      return answer_;
    });
  }
  void TearDown() override {
    SetQuestionBoxForTesting(nullptr);
    unsetenv("BRANTEL_HOME");
  }

  // A release of `files` files of `size` bytes; `options` goes to update_option.
  std::string Publish(int files, size_t size, const std::string& options, const std::string& alert = "") {
    std::string body;
    for (int i = 0; i < files; ++i) {
      const std::string name = "part" + std::to_string(i) + ".bin";
      WriteFile(dir_ / ("www/" + name), std::string(size, char('a' + i)));
      body += "<update_file name=\"" + name + "\"><file_Info down_url=\"" + server_.url("/" + name) +
              "\" local_path=\"\\TARGET-DIRECTORY\\" + name + "\" file_size=\"" + std::to_string(size) +
              "\" file_version=\"1\"/></update_file>";
    }
    WriteFile(dir_ / "www/m.xml", "<u><head update_date=\"9\" update_option=\"" + options + "\" alert=\"" + alert +
                                      "\"/><body>" + body + "</body></u>");
    return server_.url("/m.xml");
  }

  // Runs the window until it is gone (or 20 s pass).
  void Run(CStockUpdaterDlg& dialog) {
    ASSERT_TRUE(dialog.CreateModeless());
    services_.SetWindow(dialog.hwnd());
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (dialog.IsAlive() && std::chrono::steady_clock::now() < end) {
      if (!PumpPendingMessages()) break;
      if (after_pump) after_pump();
      WaitMessage(10);
    }
    EXPECT_FALSE(dialog.IsAlive()) << "the window did not close";
    if (dialog.IsAlive()) dialog.Destroy();
  }

  std::unique_ptr<CStockUpdaterDlg> MakeDialog(const std::string& manifest) {
    UpdaterCommandLine cl;
    cl.viewer_dir = viewer_;
    cl.manifest_address = Widen(manifest);
    auto dialog = std::make_unique<CStockUpdaterDlg>(cl, &services_);
    dialog_ = dialog.get();
    return dialog;
  }

  void Shot(const std::string& name) {
    PumpPendingMessages();
    Surface screen;
    CopyScreen(screen);
    shots_[name] = screen;
    if (!ScreenshotFolder().empty()) SaveScreenshot(ScreenshotFolder() + "/" + name + ".png");
  }

  TempFolder dir_;
  std::string viewer_;
  testing::FileServer server_{dir_ / "www"};
  WatchedServices services_;
  CStockUpdaterDlg* dialog_ = nullptr;
  std::function<void()> after_pump;
  std::vector<std::pair<WideText, WideText>> questions_;
  bool answer_ = true;
  std::map<std::string, Surface> shots_;
};

// The colour at a point of the panel in a screenshot.
COLORREF PanelPixel(const Surface& screen, Point origin, int x, int y) {
  return PixelToColorRef(screen.at(origin.x + x, origin.y + y));
}

TEST_F(UpdaterWindowTest, DownloadInstallAndFailureAsTheUserSeesThem) {
  const std::string manifest = Publish(4, 400000, "");
  server_.SetBlockDelay(1);
  server_.FailPath("/part3.bin");  // fails four times: the install stops there
  auto dialog = MakeDialog(manifest);
  bool shot_download = false, shot_install = false;
  services_.on_pump = [&] {
    if (!shot_download && dialog_->work() && dialog_->work()->received_bytes() > 500000) {
      shot_download = true;
      EXPECT_TRUE(dialog_->IsVisible());
      EXPECT_TRUE(dialog_->overall_bar().IsVisible());
      EXPECT_GT(dialog_->overall_bar().look().position, 20);
      EXPECT_FALSE(dialog_->panel_state().install_phase);
      EXPECT_TRUE(dialog_->cancel_button().state().enabled());
      Shot("updater_download");
    }
  };
  services_.on_report = [&](intptr_t code, intptr_t value) {
    if (code == kProgressInstalling && value > 0 && !shot_install) {
      shot_install = true;
      EXPECT_FALSE(dialog_->overall_bar().IsVisible());  // hidden while installing
      EXPECT_EQ(dialog_->file_bar().look().position, value);
      EXPECT_EQ(dialog_->panel_state().file_text, u"파일 복사 : 1/4");
      EXPECT_EQ(dialog_->panel_state().file_name, u"part0");
      EXPECT_FALSE(dialog_->cancel_button().state().enabled());
      Shot("updater_install");
    }
  };
  bool shot_failure = false;
  after_pump = [&] {
    if (dialog_->panel_state().failed && !shot_failure) {
      shot_failure = true;
      EXPECT_TRUE(dialog_->close_button().IsVisibleFlag());
      EXPECT_FALSE(dialog_->cancel_button().IsVisibleFlag());
      EXPECT_FALSE(dialog_->file_bar().IsVisibleFlag());
      EXPECT_EQ(dialog_->panel_state().file_text, u"업데이트에 실패했습니다.");
      Shot("updater_failed");
      // The user closes it.
      CCeButton& close = dialog_->close_button();
      close.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
      close.Send(WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    }
  };
  Run(*dialog);
  ASSERT_TRUE(shot_download && shot_install && shot_failure);
  EXPECT_EQ(ReadFile(viewer_ + "part0.bin"), std::string(400000, 'a'));
  EXPECT_FALSE(FileExists(viewer_ + "part3.bin"));

  // The pictures differ as the phases do: the overall bar's frame is drawn in
  // the download phase only, and the failed panel has neither bar.
  const Point o = dialog_->panel_origin();
  const Surface& download = shots_["updater_download"];
  const Surface& install = shots_["updater_install"];
  const Surface& failed = shots_["updater_failed"];
  EXPECT_NE(PanelPixel(download, o, 60, 225), PanelPixel(install, o, 60, 225));
  EXPECT_NE(PanelPixel(install, o, 60, 278), PanelPixel(failed, o, 60, 278));
  // Outside the panel the screen picture shows through the magenta.
  EXPECT_NE(PanelPixel(download, o, 0, 0), 0xFF00FFu);
}

TEST_F(UpdaterWindowTest, CancelAskedAndAnsweredNoGoesOnAndTellsTheViewerToExit) {
  testing::RecordingWindow viewer;  // a stand-in for the viewer's main window
  ASSERT_TRUE(viewer.Create(u"Brantel_Stock_Class", u"", 0, Rect::FromSize(0, 0, 10, 10)));
  const std::string manifest = Publish(2, 300000, "");
  server_.SetBlockDelay(1);
  auto dialog = MakeDialog(manifest);
  answer_ = false;
  bool pressed = false;
  services_.on_pump = [&] {
    if (!pressed && dialog_->work() && dialog_->work()->received_bytes() > 100000) {
      pressed = true;
      CCeButton& cancel = dialog_->cancel_button();
      cancel.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
      cancel.Send(WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    }
  };
  Run(*dialog);
  ASSERT_EQ(questions_.size(), 1u);
  EXPECT_EQ(questions_[0].first, u"프로그램 업그레이드를 취소하시겠습니까?");
  EXPECT_EQ(questions_[0].second, u"업그레이드 취소");
  PumpPendingMessages();
  EXPECT_EQ(viewer.Count(WM_APP_EXIT), 1);
  EXPECT_EQ(ReadFile(viewer_ + "part1.bin"), std::string(300000, 'b'));  // the update went on
  viewer.Destroy();
}

TEST_F(UpdaterWindowTest, CancelAnsweredYesStopsTheDownloadAndCloses) {
  const std::string manifest = Publish(2, 300000, "");
  server_.SetBlockDelay(1);
  auto dialog = MakeDialog(manifest);
  services_.on_pump = [&] {
    if (dialog_->work() && dialog_->work()->received_bytes() > 100000 && questions_.empty()) {
      CCeButton& cancel = dialog_->cancel_button();
      cancel.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
      cancel.Send(WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    }
  };
  Run(*dialog);
  EXPECT_EQ(questions_.size(), 1u);
  EXPECT_FALSE(FileExists(viewer_ + "part0.bin"));
  EXPECT_FALSE(FileExists(viewer_ + "update_temp/update_tmp.xml.svr"));
}

TEST_F(UpdaterWindowTest, SilentUpdateIsNeverShownAndAFailureClosesIt) {
  const std::string manifest = Publish(2, 1000, "/S");
  server_.FailPath("/part1.bin");
  auto dialog = MakeDialog(manifest);
  bool ever_shown = false;
  services_.on_pump = [&] { ever_shown |= dialog_->IsVisible() && dialog_->rect().Width() > 5; };
  Run(*dialog);
  EXPECT_FALSE(ever_shown);
  EXPECT_TRUE(questions_.empty());
  EXPECT_EQ(ReadFile(viewer_ + "part0.bin"), std::string(1000, 'a'));
}

TEST_F(UpdaterWindowTest, DecliningTheQuestionEndsWithoutUpdating) {
  const std::string manifest = Publish(1, 1000, "/q", "[title]새 버전[/title][message]지금 업데이트할까요?[/message]");
  answer_ = false;
  auto dialog = MakeDialog(manifest);
  Run(*dialog);
  ASSERT_EQ(questions_.size(), 1u);
  EXPECT_EQ(questions_[0].first, u"지금 업데이트할까요?");
  EXPECT_EQ(questions_[0].second, u"새 버전");
  EXPECT_FALSE(FileExists(viewer_ + "part0.bin"));
}

TEST_F(UpdaterWindowTest, CloseDuringTheCheckWaitsForItAndInstallsNothing) {
  const std::string manifest = Publish(1, 1000, "");
  auto dialog = MakeDialog(manifest);
  bool posted = false;
  services_.on_pump = [&] {
    if (!posted && dialog_->IsAlive() && !dialog_->update_in_progress()) {
      posted = true;  // the viewer asks the updater to close while it checks
      PostMessage(dialog_->hwnd(), WM_UPDATER_CLOSE, 0, 0);
    }
  };
  ASSERT_FALSE(dialog->CreateModeless() && dialog->IsAlive());
  EXPECT_TRUE(posted);
  EXPECT_FALSE(FileExists(viewer_ + "part0.bin"));
}

TEST_F(UpdaterWindowTest, AManifestThatCannotBeTakenWholeIsShownAsAFailure) {
  // More entries than one manifest may hold: not "nothing due", and nothing
  // of it is installed.
  std::string body;
  for (size_t i = 0; i <= manifest_limits::kEntries; ++i)
    body += "<update_file name=\"f" + std::to_string(i) + "\"><file_Info down_url=\"" + server_.url("/f") +
            "\" local_path=\"\\TARGET-DIRECTORY\\f" + std::to_string(i) + "\"/></update_file>";
  WriteFile(dir_ / "www/m.xml", "<u><head update_date=\"9\"/><body>" + body + "</body></u>");
  auto dialog = MakeDialog(server_.url("/m.xml"));
  bool seen = false;
  after_pump = [&] {
    if (!dialog_->panel_state().failed || seen) return;
    seen = true;
    EXPECT_TRUE(dialog_->IsVisible());
    EXPECT_TRUE(dialog_->close_button().IsVisibleFlag());
    EXPECT_EQ(dialog_->panel_state().file_text, u"업데이트에 실패했습니다.");
    EXPECT_EQ(dialog_->panel_state().file_name, u"q_stock_update.xml");
    dialog_->Post(WM_UPDATER_CLOSE);
  };
  Run(*dialog);
  EXPECT_TRUE(seen);
  EXPECT_TRUE(dialog_->update_failed());  // the exit status says so
  EXPECT_EQ(server_.Requests("/f"), 0);
  EXPECT_FALSE(FileExists(DataFolder() + "q_stock_update.xml"));
}

TEST_F(UpdaterWindowTest, NothingDueShowsNothingAndASecondCloseChangesNothing) {
  const std::string manifest = Publish(1, 1000, "");
  {
    auto first = MakeDialog(manifest);
    Run(*first);
  }
  EXPECT_EQ(ReadFile(viewer_ + "part0.bin"), std::string(1000, 'a'));
  auto second = MakeDialog(manifest);
  bool shown = false;
  after_pump = [&] {
    shown |= dialog_->rect().Width() > 5;
    // Closing twice while closing is harmless.
    if (dialog_->IsAlive()) {
      dialog_->Post(WM_UPDATER_CLOSE);
      dialog_->Post(WM_UPDATER_CLOSE);
    }
  };
  Run(*second);
  EXPECT_FALSE(shown);
}

// A window that counts what reaches it; its timer handler takes longer than
// the timer's period, so the timer is due again whenever the handler ends.
class SlowTimerWindow : public Window {
 public:
  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_TIMER) {
      ++timer_calls;
      std::this_thread::sleep_for(std::chrono::milliseconds(3));
      if (timer_calls > 100) KillTimer(wParam);  // bounds a pump that would never return
      return 0;
    }
    if (message == WM_USER + 1) ++posts;
    return DefWindowProc(message, wParam, lParam);
  }
  int timer_calls = 0;
  int posts = 0;
};

TEST(LettingMessagesThrough, StopsAtACancelOrAQuitAndReturnsWhileASlowTimerFires) {
  SlowTimerWindow window;
  ASSERT_TRUE(window.Create(u"SlowTimerWindow", u"", 0, Rect::FromSize(0, 0, 10, 10)));
  window.SetTimer(1, 1);
  std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_FALSE(LetPendingMessagesThrough());
  EXPECT_LE(window.timer_calls, 2);
  window.KillTimer(1);

  // The cancel is taken out without being dispatched; what follows it waits
  // for the next call.
  window.Post(WM_USER + 1);
  window.Post(WM_CANCEL_NETWORK);
  window.Post(WM_USER + 1);
  EXPECT_TRUE(LetPendingMessagesThrough());
  EXPECT_EQ(window.posts, 1);
  EXPECT_FALSE(LetPendingMessagesThrough());
  EXPECT_EQ(window.posts, 2);

  // A quit counts as a cancel and stays for the thread's own loop.
  PostQuitMessage(3);
  EXPECT_TRUE(LetPendingMessagesThrough());
  Message msg;
  ASSERT_TRUE(PeekMessage(&msg, 0, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, uint32_t(WM_QUIT));
  EXPECT_EQ(msg.wParam, WPARAM(3));
  window.Destroy();
}

}  // namespace
}  // namespace brantel
