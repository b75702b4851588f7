#pragma once
// Shared by the stock detail tests: a headless screen, the reference server,
// a data folder with the cache tables, the resource library, and an owner
// window that takes the detail's result the way the list screens do.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <thread>

#include "app/detail/detail_opener.h"
#include "cache/cache_tables.h"
#include "platform/folders.h"
#include "platform/resources/resource_library.h"
#include "platform/ui/display.h"
#include "platform/ui/headless_backend.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/shell.h"
#include "protocol/app_messages.h"
#include "protocol/device_identity.h"
#include "protocol/request_settings.h"
#include "tests/support/message_pump.h"
#include "tests/app/screen_home.h"
#include "tests/app/screen_quote_server.h"
#include "tests/support/quote_server_process.h"
#include "tests/support/temp_folder.h"

namespace brantel::testing {

// The list screen that opens the detail and destroys it on WM_DETAIL_CLOSED.
class DetailOwner : public Window {
 public:
  bool CreateScreen() {
    return Create(u"TestScreen", u"screen", WS_VISIBLE, Rect{0, 52, 480, 800});
  }
  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_DETAIL_CLOSED) {
      ++closed_messages;
      result = CloseStockDetail(detail);
      return 0;
    }
    if (message == WM_COMMAND) {
      last_command = uint32_t(wParam);
      if (wParam == kCmdExit) ++exit_commands;
    }
    return DefWindowProc(message, wParam, lParam);
  }
  std::unique_ptr<CMStockDetailDlg> detail;
  DetailResult result;
  int closed_messages = 0;
  uint32_t last_command = 0;
  int exit_commands = 0;
};

// Runs the loop until `done` (or `timeout_ms` real milliseconds).
inline bool RunUntil(const std::function<bool()>& done, int timeout_ms = 10000) {
  return PumpUntil(done, timeout_ms);
}

inline StockRecord SamsungRow() {
  // Built whole: assigning literals field by field trips GCC's -Wrestrict at -O3.
  return StockRecord{1, u"005930", u"0", u"삼성전자", u"70,000", u"-500", u"-0.71", u"26/12/04", u""};
}

// Files left in the program's TEMP/ folder.
inline int FilesIn(const std::string& folder) {
  std::error_code ec;
  int n = 0;
  for (auto it = std::filesystem::directory_iterator(folder, ec); !ec && it != std::filesystem::end(it); ++it) ++n;
  return n;
}

class DetailTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    home_ = new ScreenHome("brantel-detail");
  }
  static void TearDownTestSuite() {
    delete home_;
    home_ = nullptr;
  }
  void SetUp() override {
    ASSERT_TRUE(ProcessResources()) << "stock_resource.so is not built";
    StartServer({});
    auto backend = std::make_unique<HeadlessBackend>();
    backend_ = backend.get();
    ASSERT_TRUE(StartDisplayWith(std::move(backend), true));
    ASSERT_TRUE(owner_.CreateScreen());
  }
  void TearDown() override {
    owner_.detail.reset();
    owner_.Destroy();
    SetDisplayOrientation(0);
    StopDisplay();
    PumpPendingMessages();
  }
  void StartServer(std::vector<std::string> options) {
    options.insert(options.end(), {"--fixed-clock", "2026-12-07 10:56"});
    StartScreenServer(server_, options);
  }
  CMStockDetailDlg& Open(const StockRecord& row, bool in_mypage = false) {
    owner_.detail = OpenStockDetail(owner_, DetailRecordOfRow(row), in_mypage, u"12/04 15:30");
    EXPECT_TRUE(owner_.detail);
    return *owner_.detail;
  }
  // Opens on `row` and waits until its first request has ended.
  CMStockDetailDlg& OpenAndLoad(const StockRecord& row, bool in_mypage = false) {
    CMStockDetailDlg& d = Open(row, in_mypage);
    EXPECT_TRUE(RunUntil([&] { return !d.view().daily.empty(); }));
    EXPECT_TRUE(RunUntil([&] { return !d.request_running(); }));
    return d;
  }
  int DetailRequestsLogged() const {
    const std::string log = server_->Log();
    int n = 0;
    for (size_t at = log.find("MarketDetail"); at != std::string::npos; at = log.find("MarketDetail", at + 1)) ++n;
    return n;
  }
  static std::string TempFolderPath() { return home_->path() + "/TEMP"; }

  static inline ScreenHome* home_ = nullptr;
  std::unique_ptr<QuoteServerProcess> server_;
  HeadlessBackend* backend_ = nullptr;
  DetailOwner owner_;
};

}  // namespace brantel::testing
