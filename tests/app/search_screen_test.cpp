// The search screen in a headless window system against the reference
// server and its master list, driven by scripted taps, text and input-method
// composition: the hint, results as the user types (Korean while composing
// too), stars, the detail, clear and back. Screenshots of the hint, a Korean
// prefix and a code prefix go to $BRANTEL_SCREENSHOT_DIR (else beside the
// build).

#include <gtest/gtest.h>

#include "app/dialogs/msg_box_dlg.h"
#include "app/search/search_dlg.h"
#include "app/search/search_list_row.h"
#include "cache/cache_tables.h"
#include "cache/mypage_store.h"
#include "cache/quote_store.h"
#include "platform/folders.h"
#include "platform/resources/resource_library.h"
#include "platform/ui/display.h"
#include "platform/ui/headless_backend.h"
#include "platform/ui/input_router.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/script_player.h"
#include "platform/ui/shell.h"
#include "protocol/app_messages.h"
#include "protocol/device_identity.h"
#include "protocol/request_settings.h"
#include "protocol/row_key.h"
#include "tests/app/detail_test_support.h"
#include "tests/support/reference_master.h"
#include "tests/support/quote_server_process.h"
#include "tests/support/temp_folder.h"

namespace brantel {
namespace {

// Screen coordinates: the system bar (52) and the main dialog's tab bar (88)
// stand above the screen.
constexpr int kScreenTop = 52 + 88;
constexpr double kListTop = kScreenTop + 86;
constexpr double kButtonX = 480 - 67 + 31, kButtonY = kScreenTop + 12 + 31;
double RowY(int row) { return kListTop + row * 71 + 35; }
constexpr double kStarX = 455;

std::string ShotPath(const std::string& name) {
  const char* env = std::getenv("BRANTEL_SCREENSHOT_DIR");
  const std::string dir = env && *env ? env : testing::BinDir() + "/../search-screens";
  std::filesystem::create_directories(dir);
  return dir + "/" + name;
}

// The main dialog: holds the screen and counts the requests to end the viewer.
class MainStandIn : public Window {
 public:
  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_DESTROY && !closing) {
      ++exit_requests;
      return 0;
    }
    return DefWindowProc(message, wParam, lParam);
  }
  int exit_requests = 0;
  bool closing = false;
};

using testing::RunUntil;

class SearchScreenTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    home_ = new testing::ScreenHome("brantel-search");
    if (GetMasterParser().GetEntryCount() == 0) GetMasterParser().ParseText(testing::ReferenceMasterText());
  }
  static void TearDownTestSuite() {
    delete home_;
    home_ = nullptr;
  }
  void SetUp() override {
    ASSERT_TRUE(ProcessResources()) << "stock_resource.so is not built";
    testing::StartScreenServer(server_, {"--fixed-clock", "2026-12-07 10:56"});
    ASSERT_TRUE(StartDisplayWith(std::make_unique<HeadlessBackend>(), true));
    ASSERT_TRUE(main_.Create(u"TestMain", u"main", WS_VISIBLE, Rect{0, 52, 480, 800}));
  }
  void TearDown() override {
    screen_.reset();
    main_.closing = true;
    main_.Destroy();
    StopDisplay();
    PumpPendingMessages();
  }
  CSearchDlg& OpenScreen(CParseMaster& master = GetMasterParser()) {
    screen_ = std::make_unique<CSearchDlg>(&main_, master);
    EXPECT_TRUE(screen_->Create(Rect{0, 88, 480, 748}));
    screen_->OnShownState(kScreenShown);
    screen_->Show(SW_SHOW);
    return *screen_;
  }
  static void Play(InputScript& script) {
    script.Idle();
    ASSERT_TRUE(PlayScript(script));
    EXPECT_EQ(ScriptScreenshotFailures(), 0);
  }
  std::vector<WideText> RowCodes() const {
    std::vector<WideText> out;
    CMobileListCtrl& body = screen_->list().body();
    for (int i = 0; i < body.RowCount(); ++i) {
      WideText key;
      RowKey parsed;
      if (body.GetRowText(i, &key) == 0 && ParseRowKey(key, parsed)) out.push_back(parsed.code);
    }
    return out;
  }
  static std::vector<WideText> CodesOf(WideView text) {
    std::vector<WideText> out;
    for (const SearchRow& r : FindSearchRows(GetMasterParser(), text)) out.push_back(r.code);
    return out;
  }
  RowKey KeyOf(int row) const {
    WideText key;
    RowKey parsed;
    screen_->list().body().GetRowText(row, &key);
    ParseRowKey(key, parsed);
    return parsed;
  }
  WideText Hint() const { return ProcessResources()->String(103); }

  static inline testing::ScreenHome* home_ = nullptr;
  std::unique_ptr<testing::QuoteServerProcess> server_;
  MainStandIn main_;
  std::unique_ptr<CSearchDlg> screen_;
};

TEST_F(SearchScreenTest, HintCodePrefixCaseAndClear) {
  CSearchDlg& s = OpenScreen();
  EXPECT_TRUE(s.hint_showing());
  EXPECT_EQ(s.edit().text(), Hint());
  EXPECT_TRUE(IsInputPanelUp());
  InputScript hint;
  hint.Screenshot(ShotPath("search-hint.png")).Tap(kButtonX, kButtonY);
  Play(hint);
  // The button does nothing while the hint shows.
  EXPECT_TRUE(s.hint_showing());
  EXPECT_EQ(s.list().body().RowCount(), 0);

  // The first key takes the hint away; lower case finds what upper case does.
  InputScript lower;
  lower.Text(u"sk");
  Play(lower);
  EXPECT_FALSE(s.hint_showing());
  EXPECT_EQ(s.edit().text(), u"sk");
  ASSERT_FALSE(RowCodes().empty());
  EXPECT_EQ(RowCodes(), CodesOf(u"SK"));

  // Backspace narrows back; the emptied edit shows the hint and no rows.
  InputScript back;
  back.Text(u"\b");
  Play(back);
  EXPECT_EQ(s.edit().text(), u"s");
  EXPECT_EQ(RowCodes(), CodesOf(u"S"));
  back.Text(u"\b");
  Play(back);
  EXPECT_TRUE(s.hint_showing());
  EXPECT_EQ(s.edit().text(), Hint());
  EXPECT_EQ(s.list().body().RowCount(), 0);

  // A code prefix with more than 30 matches: the first 30 in master order.
  InputScript code;
  code.Text(u"00").Screenshot(ShotPath("search-code.png"));
  Play(code);
  EXPECT_EQ(RowCodes().size(), 30u);
  EXPECT_EQ(RowCodes(), CodesOf(u"00"));
  EXPECT_EQ(s.edit().text(), u"00");

  // The button searches and lowers the input panel; clear brings the hint back.
  InputScript button;
  button.Tap(kButtonX, kButtonY);
  Play(button);
  EXPECT_FALSE(IsInputPanelUp());
  EXPECT_EQ(RowCodes().size(), 30u);
  s.Post(WM_COMMAND, kCmdSearchClear, 0);
  ASSERT_TRUE(RunUntil([&] { return s.hint_showing(); }));
  EXPECT_EQ(s.edit().text(), Hint());
  EXPECT_EQ(s.list().body().RowCount(), 0);

  s.OnShownState(kScreenShown);
  EXPECT_TRUE(IsInputPanelUp());
  s.OnShownState(kScreenHidden);
  EXPECT_FALSE(IsInputPanelUp());
  // Back ends the viewer.
  s.Post(WM_SCREEN_BACK, 0, 0);
  ASSERT_TRUE(RunUntil([&] { return main_.exit_requests == 1; }));
}

TEST_F(SearchScreenTest, KoreanPrefixFindsItsStocksWhileComposingAndAfter) {
  CSearchDlg& s = OpenScreen();
  // ㅅ 사 삼 composed over the hint: the hint goes and 삼 searches at once.
  InputScript first;
  first.Call([] {
    RouteCompositionStart();
    for (char16_t c : {u'ㅅ', u'사', u'삼'}) RouteCompositionUpdate(c);
  });
  Play(first);
  EXPECT_FALSE(s.hint_showing());
  EXPECT_TRUE(s.edit().text().empty());
  ASSERT_FALSE(CodesOf(u"삼").empty());
  EXPECT_EQ(RowCodes(), CodesOf(u"삼"));

  // The syllable is finished, and the next one composed: 삼성 while composing.
  InputScript second;
  second.Call([] {
    RouteCompositionResult(u"삼");
    RouteCompositionEnd();
    RouteCompositionStart();
    for (char16_t c : {u'ㅅ', u'서', u'성'}) RouteCompositionUpdate(c);
  });
  second.Screenshot(ShotPath("search-korean.png"));
  Play(second);
  EXPECT_EQ(s.edit().text(), u"삼");
  EXPECT_EQ(RowCodes().size(), 10u);
  EXPECT_EQ(RowCodes(), CodesOf(u"삼성"));

  InputScript finish;
  finish.Call([] {
    RouteCompositionResult(u"성");
    RouteCompositionEnd();
  });
  finish.Compose({u'ㅈ', u'저', u'전'}, u"전");
  Play(finish);
  EXPECT_EQ(s.edit().text(), u"삼성전");
  EXPECT_EQ(RowCodes(), CodesOf(u"삼성전"));
  EXPECT_EQ(RowCodes().size(), 2u);

  // Backspace narrows back to 삼성; emptied, the hint returns and the list empties.
  InputScript back;
  back.Text(u"\b");
  Play(back);
  EXPECT_EQ(RowCodes(), CodesOf(u"삼성"));
  back.Text(u"\b\b");
  Play(back);
  EXPECT_TRUE(s.hint_showing());
  EXPECT_EQ(s.list().body().RowCount(), 0);
}

TEST_F(SearchScreenTest, StarsAddRemoveAndStopAtTwoHundredRowTapOpensDetail) {
  ClearMyPage();
  CSearchDlg& s = OpenScreen();
  InputScript type;
  type.Text(u"005930");
  Play(type);
  ASSERT_EQ(RowCodes(), std::vector<WideText>{u"005930"});
  EXPECT_EQ(KeyOf(0).mypage_flag, u"0");

  // Added: on the list, and the MyPage list request left its quote in the cache.
  InputScript star;
  star.Tap(kStarX, RowY(0) - 5);
  Play(star);
  EXPECT_EQ(CountMyPage(), 1);
  EXPECT_EQ(KeyOf(0).mypage_flag, u"1");
  EXPECT_EQ(s.list().body().rows().row(0)->cells[kSearchStarCell].image_id, kSearchStarOn);
  EXPECT_NE(server_->Log().find("MyPageList"), std::string::npos);
  std::vector<StockDetailRecord> stored;
  WideText stamp;
  ASSERT_EQ(LoadQuote("StockData", "005930", 1, stored, stamp), 1);
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_FALSE(stored[0].current_price.empty());

  // A new search shows the star from MyPage; a second tap takes it off.
  InputScript again;
  again.Text(u"\b0");
  Play(again);
  EXPECT_EQ(KeyOf(0).mypage_flag, u"1");
  Play(star);
  EXPECT_EQ(CountMyPage(), 0);
  EXPECT_EQ(KeyOf(0).mypage_flag, u"0");
  EXPECT_EQ(s.list().body().rows().row(0)->cells[kSearchStarCell].image_id, kSearchStarOff);

  // MyPage holding 200: message 112, nothing changes.
  std::vector<StockRecord> others;
  for (int i = 0; i < 200; ++i) {
    StockRecord r;
    r.gubun = 1;
    r.item = u"0";
    r.codename = u"다른 종목";
    r.code = u"9" + Widen(std::to_string(10000 + i));
    others.push_back(r);
  }
  ASSERT_EQ(StoreMyPageList(others, u"t", false), 1);
  std::vector<WideText> message;
  InputScript full;
  full.Tap(kStarX, RowY(0) - 5).Wait(100).Idle().Call([&] {
    const HWND box = GetActiveWindow();
    if (auto* dlg = dynamic_cast<CMsgBoxDlg*>(WindowFromHandle(box))) message = dlg->lines();
    PostMessage(box, WM_COMMAND, IDOK, 0);
  });
  Play(full);
  ASSERT_FALSE(message.empty());  // the box shows the text of string 112
  EXPECT_EQ(ProcessResources()->String(112).find(message.front()), 0u);
  EXPECT_EQ(CountMyPage(), 200);
  EXPECT_EQ(KeyOf(0).mypage_flag, u"0");
  ClearMyPage();

  // A tap elsewhere on the row opens the detail on the cached quote; back
  // closes it before it ends the viewer.
  InputScript tap;
  tap.Tap(240, RowY(0));
  Play(tap);
  ASSERT_NE(s.detail(), nullptr);
  EXPECT_EQ(s.detail()->record().code, u"005930");
  EXPECT_EQ(s.detail()->record().codename, u"삼성전자");
  // Its star adds the stock; closed, it turns the row's star on.
  ASSERT_TRUE(RunUntil([&] { return !s.detail()->request_running(); }));
  InputScript detail_star;
  detail_star.Tap(450, 52 + 37);
  Play(detail_star);
  EXPECT_EQ(CountMyPage(), 1);
  s.Post(WM_SCREEN_BACK, 0, 0);
  ASSERT_TRUE(RunUntil([&] { return s.detail() == nullptr; }));
  EXPECT_EQ(main_.exit_requests, 0);
  EXPECT_EQ(KeyOf(0).mypage_flag, u"1");
  EXPECT_EQ(s.list().body().rows().row(0)->cells[kSearchStarCell].image_id, kSearchStarOn);
  ClearMyPage();
}

TEST_F(SearchScreenTest, WithoutAMasterEverySearchFindsNothing) {
  CParseMaster empty;
  CSearchDlg& s = OpenScreen(empty);
  InputScript script;
  script.Text(u"0").Compose({u'ㅅ', u'사', u'삼'}, u"삼").Tap(kButtonX, kButtonY);
  Play(script);
  EXPECT_EQ(s.edit().text(), u"0삼");
  EXPECT_EQ(s.list().body().RowCount(), 0);
}

}  // namespace
}  // namespace brantel
