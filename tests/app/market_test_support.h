#pragma once
// Shared by the market screen suites: the headless display, the resource
// library, the reference server, a stand-in main dialog holding the market
// screen below its 88-pixel tab bar, a watcher that answers message boxes
// and notes their text, and screenshots into $BRANTEL_SCREENSHOT_DIR.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <thread>

#include "app/dialogs/msg_box_dlg.h"
#include "app/market/market_info_dlg.h"
#include "cache/cache_tables.h"
#include "platform/folders.h"
#include "platform/resources/resource_library.h"
#include "platform/ui/display.h"
#include "platform/ui/headless_backend.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/screen.h"
#include "protocol/device_identity.h"
#include "protocol/request_settings.h"
#include "protocol/standard_currency.h"
#include "tests/support/ui_test_support.h"
#include "tests/support/message_pump.h"
#include "tests/app/screen_home.h"
#include "tests/app/screen_quote_server.h"
#include "tests/support/quote_server_process.h"
#include "tests/support/temp_folder.h"
#include "tests/app/message_box_watcher.h"

namespace brantel::testing {

inline bool RunUntil(const std::function<bool()>& done, int timeout_ms = 15000) {
  return PumpUntil(done, timeout_ms);
}

class MarketTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ProcessResources()) << "stock_resource.so is not built";
    EnsureCacheTables();
    WideText code = kDefaultStandardCurrency, item = kDefaultStandardCurrency;
    StandardCurrency(code, item, false);
    StartServer({});
    ASSERT_TRUE(StartDisplayWith(std::make_unique<HeadlessBackend>(), true));
    ASSERT_TRUE(main_.Create(u"TestMain", u"main", WS_VISIBLE, Rect{0, 52, 480, 800}));
    SetMainWindow(main_.hwnd());
  }
  void TearDown() override {
    if (screen_) {
      if (screen_->IsAlive()) screen_->Destroy();
      screen_.reset();
    }
    SetMainWindow(0);
    main_.Destroy();
    StopDisplay();
    PumpPendingMessages();
  }
  void StartServer(std::vector<std::string> options) {
    options.insert(options.end(), {"--fixed-clock", "2026-12-07 10:56"});
    StartScreenServer(server_, options);
  }
  // The market screen as the main dialog shows it.
  CMarketInfoDlg& Open() {
    screen_ = std::make_unique<CMarketInfoDlg>(&main_);
    EXPECT_TRUE(screen_->Create(Rect{0, 88, 480, 748}));
    screen_->OnShownState(kScreenShown);
    screen_->Show(SW_SHOW);
    return *screen_;
  }
  // Waits until `list` has its rows from the network and nothing runs.
  bool WaitLoaded(CBaseMarketInfoWnd& list) {
    return RunUntil([&] { return list.LoadedFromNetwork() > 0 && !list.IsBusy() && !screen_->update_bar().Running(); });
  }
  int ListRequestsLogged() const {
    const std::string log = server_->Log();
    int n = 0;
    for (size_t at = log.find("MarketList.do"); at != std::string::npos; at = log.find("MarketList.do", at + 1)) ++n;
    return n;
  }
  // The key's code of each row (empty for section rows).
  static std::vector<WideText> RowCodes(CBaseMarketInfoWnd& list);
  static WideText Cell(CBaseMarketInfoWnd& list, int row, int cell) {
    WideText text;
    list.list().body().GetCellText(row, cell, &text);
    return text;
  }
  static uint32_t CellImage(CBaseMarketInfoWnd& list, int row, int cell) {
    const MobileListRow* r = list.list().body().rows().row(row);
    const MobileListCell* c = r ? r->FindCell(cell) : nullptr;
    return c ? c->image_id : 0;
  }
  static void Shot(const std::string& name) {
    if (const char* dir = std::getenv("BRANTEL_SCREENSHOT_DIR")) {
      RunUntil([] { return false; }, 150);
      EXPECT_TRUE(SaveScreenshot(std::string(dir) + "/" + name + ".png"));
    }
  }

  ScreenHome home_{"brantel-market"};
  std::unique_ptr<QuoteServerProcess> server_;
  RecordingWindow main_;
  std::unique_ptr<CMarketInfoDlg> screen_;
};

inline std::vector<WideText> MarketTest::RowCodes(CBaseMarketInfoWnd& list) {
  std::vector<WideText> codes;
  CMobileListCtrl& body = list.list().body();
  for (int i = 0; i < body.RowCount(); ++i) {
    WideText key;
    body.GetRowText(i, &key);
    codes.push_back(key.substr(0, key.find(u'^')));
  }
  return codes;
}

}  // namespace brantel::testing
