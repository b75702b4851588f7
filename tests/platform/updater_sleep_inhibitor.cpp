// The updater holds logind's sleep inhibitor (python3-dbusmock's template
// on a private system bus) while it downloads, and lets it go when its
// window goes, here after a failed silent update.
#include <systemd/sd-bus.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include <gtest/gtest.h>

#include "platform/ui/message_queue.h"
#include "protocol/app_messages.h"
#include "private_system_bus.h"
#include "tests/support/temp_folder.h"
#include "tests/support/file_server.h"
#include "updater/platform_update_services.h"
#include "updater/stock_updater_dlg.h"
#include "updater/updater_dialog_services.h"

namespace brantel {
namespace {

using testing::TempFolder;
using testing::WriteFile;

size_t InhibitorCount() {
  size_t count = 0;
  SystemBus bus;
  bus.Call({"org.freedesktop.login1", "/org/freedesktop/login1", "org.freedesktop.login1.Manager", "ListInhibitors"},
           nullptr,
           [&](sd_bus_message* m) {
             int r = sd_bus_message_enter_container(m, 'a', "(ssssuu)");
             while (r >= 0 && (r = sd_bus_message_skip(m, "(ssssuu)")) > 0) ++count;
             return r;
           },
           std::chrono::seconds(5));
  return count;
}

// Counts in the window's pumps whether the inhibitor was held while the update ran.
class PumpWatch : public PlatformUpdateServices {
 public:
  PumpWatch() : PlatformUpdateServices(0) {}
  bool LetMessagesThrough() override {
    held_during_work |= SystemPowerHeldForTesting() && InhibitorCount() == 1;
    return LetPendingMessagesThrough();
  }
  void StartProgram(const std::string&, WideView) override {}
  void ReportProgress(intptr_t code, intptr_t value) override {
    SendMessage(window, WM_UPDATE_PROGRESS, WPARAM(code), value);
  }
  HWND window = 0;
  bool held_during_work = false;
};

TEST(UpdaterSleepInhibitor, HeldWhileTheUpdateWorksAndReleasedWhenItFails) {
  testing::PrivateSystemBus bus;
  ASSERT_TRUE(bus.StartService("logind", "org.freedesktop.login1"));
  TempFolder dir;
  setenv("BRANTEL_HOME", (dir / "data").c_str(), 1);
  const std::string viewer = dir / "viewer/";
  WriteFile(viewer + "BrantelStock", "viewer v1");
  testing::FileServer server{dir / "www"};
  std::string body;
  for (const char* name : {"a.bin", "b.bin"}) {
    WriteFile(dir / (std::string("www/") + name), std::string(200000, 'x'));
    const std::string n = name;
    body += "<update_file name=\"" + n + "\"><file_Info down_url=\"" + server.url("/" + n) +
            "\" local_path=\"\\TARGET-DIRECTORY\\" + n + "\" file_size=\"200000\" file_version=\"1\"/></update_file>";
  }
  WriteFile(dir / "www/m.xml",
            "<u><head update_date=\"9\" update_option=\"/S\" alert=\"\"/><body>" + body + "</body></u>");
  server.FailPath("/b.bin");

  PumpWatch services;
  UpdaterCommandLine command_line;
  command_line.viewer_dir = viewer;
  command_line.manifest_address = Widen(server.url("/m.xml"));
  CStockUpdaterDlg dialog(command_line, &services);
  ASSERT_TRUE(dialog.CreateModeless());
  services.window = dialog.hwnd();
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (dialog.IsAlive() && std::chrono::steady_clock::now() < end) {
    if (!PumpPendingMessages()) break;
    WaitMessage(10);
  }
  ASSERT_FALSE(dialog.IsAlive());
  EXPECT_TRUE(services.held_during_work);
  EXPECT_FALSE(SystemPowerHeldForTesting());
  bool released = false;
  for (int i = 0; i < 200 && !(released = InhibitorCount() == 0); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_TRUE(released);
  unsetenv("BRANTEL_HOME");
}

}  // namespace
}  // namespace brantel
