#pragma once
// Shared by the MyPage suites: a headless display with the resource
// library, the reference server, a fresh data folder per test with a watch
// list, a stand-in main dialog that holds the screen and counts the exit
// posts, and row geometry for taps.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "app/mypage/mypage_dlg.h"
#include "app/mypage/mypage_edit_dlg.h"
#include "cache/cache_tables.h"
#include "cache/mypage_store.h"
#include "cache/quote_store.h"
#include "platform/folders.h"
#include "platform/resources/resource_library.h"
#include "platform/ui/display.h"
#include "platform/ui/headless_backend.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/screen.h"
#include "platform/ui/script_player.h"
#include "protocol/device_identity.h"
#include "protocol/request_settings.h"
#include "tests/support/message_pump.h"
#include "tests/app/screen_home.h"
#include "tests/app/screen_quote_server.h"
#include "tests/support/quote_server_process.h"
#include "tests/support/temp_folder.h"

namespace brantel::testing {

// The main dialog's part: holds the screen below an 88-pixel tab bar and
// counts the destroy posts (the viewer's exit).
class MainStandIn : public Window {
 public:
  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_DESTROY) {
      ++exit_posts;
      return 0;
    }
    return DefWindowProc(message, wParam, lParam);
  }
  int exit_posts = 0;
};

inline bool RunUntil(const std::function<bool()>& done, int timeout_ms = 10000) {
  return PumpUntil(done, timeout_ms);
}

inline StockRecord Entry(int category, const char16_t* code, const char16_t* group, const char16_t* name,
                         const char16_t* price = u"100", const char16_t* daebi = u"1") {
  StockRecord r;
  r.gubun = category;
  r.code = code;
  r.item = group;
  r.codename = name;
  r.current_price = price;
  r.daebi = daebi;
  r.rate = u"0.5";
  r.date = u"12/04";
  return r;
}

// Row keys and section flags of a list, in order.
inline std::vector<WideText> RowKeys(CMobileListCtrl& body, std::vector<bool>* sections = nullptr) {
  std::vector<WideText> keys;
  for (int i = 0; i < body.RowCount(); ++i) {
    WideText key;
    bool section = false;
    body.GetRowText(i, &key, &section);
    keys.push_back(key);
    if (sections) sections->push_back(section);
  }
  return keys;
}

inline WideText CellText(CMobileListCtrl& body, int row, int cell) {
  WideText text;
  body.GetCellText(row, cell, &text);
  return text;
}

inline int WatchListSize() {
  std::vector<StockRecord> rows;
  WideText stamp;
  LoadMyPage(rows, stamp);
  return int(rows.size());
}

class MyPageTest : public ::testing::Test {
 protected:
  static constexpr int kScreenTop = 52 + 88;  // system bar and tab bar

  void SetUp() override {
    ASSERT_TRUE(home_.library()) << "stock_resource.so is not built";
    StartServer({});
    ASSERT_TRUE(StartDisplayWith(std::make_unique<HeadlessBackend>(), true));
    ASSERT_TRUE(main_.Create(u"TestMain", u"main", WS_VISIBLE, GetWorkArea()));
  }
  void TearDown() override {
    if (screen_) {
      if (screen_->IsAlive()) screen_->Destroy();
      screen_.reset();
    }
    main_.Destroy();
    StopDisplay();
    PumpPendingMessages();
  }
  void StartServer(std::vector<std::string> options) { StartScreenServer(server_, options); }
  static void Watch(std::initializer_list<StockRecord> entries) {
    for (const StockRecord& r : entries) ASSERT_EQ(AddMyPageItem(r, u"", true, true), 1);
  }
  // Creates the screen and shows it as the main dialog does.
  CMyPageDlg& Show() {
    if (!screen_) {
      screen_ = std::make_unique<CMyPageDlg>(&main_);
      const Rect client = main_.ClientRect();
      EXPECT_TRUE(screen_->Create(Rect{0, 88, client.Width(), client.Height()}));
    }
    screen_->OnShownState(kScreenShown);
    screen_->Show(SW_SHOW);
    return *screen_;
  }
  // Shows the screen and waits for its reload and its refresh to end.
  CMyPageDlg& ShowAndRefresh() {
    const int before = MyPageRequests();
    CMyPageDlg& s = Show();
    EXPECT_TRUE(RunUntil([&] { return MyPageRequests() > before && !s.busy(); }));
    RunFor(50);
    return s;
  }
  int MyPageRequests() const {
    const std::string log = server_->Log();
    int n = 0;
    for (size_t at = log.find("MyPageList"); at != std::string::npos; at = log.find("MyPageList", at + 1)) ++n;
    return n;
  }
  // The screen y of the middle of `row` (heights of the rows above, with
  // their separators), relative to the list's top `top`.
  static double RowMiddle(CMobileListCtrl& body, int row, int top) {
    int y = top;
    for (int i = 0; i < row; ++i) y += body.rows().row(i)->height + 1;
    return y + body.rows().row(row)->height / 2.0;
  }
  static void Play(InputScript& script) { ASSERT_TRUE(PlayScript(script.Idle(), 20000)); }
  // Writes the screen as NAME.png when BRANTEL_SCREENSHOT_DIR is set.
  static void Shot(const std::string& name) {
    if (const char* dir = std::getenv("BRANTEL_SCREENSHOT_DIR")) {
      RunFor(100);
      EXPECT_TRUE(SaveScreenshot(std::string(dir) + "/" + name + ".png"));
    }
  }

  ScreenHome home_{"brantel-mypage"};
  std::unique_ptr<QuoteServerProcess> server_;
  MainStandIn main_;
  std::unique_ptr<CMyPageDlg> screen_;
};

}  // namespace brantel::testing
