// The MyPage screen against the reference server: rows by category, the
// empty watch list, the detail on a tap, the once-per-run store, a failed
// refresh and exit during a refresh.

#include "tests/app/mypage_test_support.h"

#include "app/detail/stock_detail_dlg.h"
#include "app/dialogs/msg_box_layout.h"
#include "protocol/last_update.h"
#include "protocol/row_key.h"

namespace brantel::testing {
namespace {

TEST_F(MyPageTest, EmptyWatchListShowsNoRowsAndAsksNothing) {
  CMyPageDlg& s = Show();
  RunFor(600);
  EXPECT_EQ(s.list().body().RowCount(), 0);
  EXPECT_EQ(MyPageRequests(), 0);

  // Emptied elsewhere (the editor): the rows shown before go and nothing is asked.
  Watch({Entry(1, u"005930", u"0", u"삼성전자")});
  ShowAndRefresh();
  ASSERT_EQ(s.list().body().RowCount(), 2);
  const int requests = MyPageRequests();
  ASSERT_EQ(ReplaceMyPageList({}, u"", true), 1);
  Show();
  RunFor(600);
  EXPECT_EQ(s.list().body().RowCount(), 0);
  EXPECT_EQ(MyPageRequests(), requests);
}

TEST_F(MyPageTest, CategoriesShowSectionsEntriesAndOpenTheDetailOnStocksOnly) {
  Watch({Entry(1, u"005930", u"0", u"삼성전자", u"1", u"-500"), Entry(1, u"000660", u"0", u"SK하이닉스"),
         Entry(2, u"KOSPI", u"0", u"코스피"), Entry(3, u"FX@USD", u"0", u"미국 달러"),
         Entry(4, u"KRCD91", u"0", u"CD 91일"), Entry(5, u"CLWTI", u"0", u"WTI 원유")});
  CMyPageDlg& s = ShowAndRefresh();
  CMobileListCtrl& body = s.list().body();
  std::vector<bool> sections;
  const std::vector<WideText> keys = RowKeys(body, &sections);
  ASSERT_EQ(keys.size(), 11u);
  EXPECT_EQ(sections, (std::vector<bool>{true, false, false, true, false, true, false, true, false, true, false}));
  EXPECT_EQ(CellText(body, 0, 0), u"종목명");
  EXPECT_EQ(CellText(body, 0, 1), u"현재가");
  EXPECT_EQ(CellText(body, 0, 2), u"등락");  // first of 등락^등락률^시간
  EXPECT_EQ(body.rows().row(0)->cells.size(), 4u);  // band and three captions
  EXPECT_EQ(CellText(body, 1, 0), u"삼성전자");
  EXPECT_EQ(CellText(body, 5, 0), u"통화명");
  EXPECT_EQ(CellText(body, 5, 1), u"환율");
  EXPECT_EQ(CellText(body, 5, 2), u"환산통화");
  EXPECT_EQ(CellText(body, 6, 0), u"미국 달러");
  EXPECT_EQ(CellText(body, 6, 2), u"KRW");
  RowKey key;
  ASSERT_TRUE(ParseRowKey(keys[1], key));
  EXPECT_EQ(key.code, u"005930");
  EXPECT_EQ(key.mypage_flag, u"1");
  // The refreshed rows carry the server's price, not the one stored at adding.
  EXPECT_NE(CellText(body, 1, 1), u"1");
  EXPECT_FALSE(CellText(body, 1, 1).empty());
  Shot("mypage-categories");

  // A cached full quote: the detail opens on it.
  StockDetailRecord full;
  full.gubun = 1;
  full.code = u"005930";
  full.item = u"0";
  full.codename = u"삼성전자";
  full.current_price = u"71,500";
  full.high52 = u"88,800";
  ASSERT_EQ(StoreQuote("StockData", full, u"2026-12-04 15:30:00", true), 1);

  InputScript exchange_tap;
  Play(exchange_tap.Tap(200, RowMiddle(body, 6, kScreenTop)).Wait(200));
  EXPECT_EQ(s.detail(), nullptr);
  InputScript stock_tap;
  WideText opened_high52;  // before the detail's own request brings the server's
  bool opened_in_mypage = false;
  Play(stock_tap.Tap(200, RowMiddle(body, 1, kScreenTop)).Call([&] {
    if (!s.detail()) return;
    opened_high52 = s.detail()->record().high52;
    opened_in_mypage = s.detail()->in_mypage();
  }));
  ASSERT_NE(s.detail(), nullptr);
  EXPECT_EQ(s.detail()->record().code, u"005930");
  EXPECT_EQ(opened_high52, u"88,800");
  EXPECT_TRUE(opened_in_mypage);
  s.Post(WM_COMMAND, kCmdClose);
  EXPECT_TRUE(RunUntil([&] { return s.detail() == nullptr; }));
}

TEST_F(MyPageTest, OnlyTheFirstAnswerOfARunIsStoredAndShownFirstNextTime) {
  StartServer({"--fixed-clock", "2026-12-07 10:00"});
  Watch({Entry(1, u"005930", u"0", u"삼성전자")});
  CMyPageDlg& s = ShowAndRefresh();
  CMobileListCtrl& body = s.list().body();
  ASSERT_TRUE(RunUntil([&] { return s.store().StoredCount() == 1 && !s.store().Running(); }));
  const WideText first = CellText(body, 1, 1);

  StartServer({"--fixed-clock", "2026-12-07 14:00"});
  const int before = MyPageRequests();
  s.Post(WM_COMMAND, kCmdRefresh);
  ASSERT_TRUE(RunUntil([&] { return MyPageRequests() > before && !s.busy(); }));
  const WideText second = CellText(body, 1, 1);
  ASSERT_NE(first, second);
  RunFor(300);
  EXPECT_EQ(s.store().StoredCount(), 1);

  std::vector<StockRecord> cached;
  WideText stamp;
  LoadMyPage(cached, stamp);
  ASSERT_EQ(cached.size(), 1u);
  EXPECT_EQ(cached[0].current_price, first);

  // Shown again: the cached (first) answer, then the server's.
  Show();
  EXPECT_TRUE(RunUntil([&] { return CellText(body, 1, 1) == first; }));
  EXPECT_TRUE(RunUntil([&] { return CellText(body, 1, 1) == second && !s.busy(); }));
}

TEST_F(MyPageTest, AFailedRefreshKeepsTheRowsAndExitWaitsForARefresh) {
  Watch({Entry(1, u"005930", u"0", u"삼성전자")});
  CMyPageDlg& s = ShowAndRefresh();
  const WideText price = CellText(s.list().body(), 1, 1);

  // No server: message 108, closed here with its button; the rows stay.
  server_.reset();
  const MsgBoxLayout box = LayOutMsgBox(int(WrapMessageText(home_.library()->String(108)).size()), 0, Rect{0, 0, 480, 748});
  const Rect ok = box.buttons[0];
  const HWND active_before = GetActiveWindow();
  bool box_up = false;
  InputScript close_box;
  close_box.Wait(1500)
      .Call([&] { box_up = GetActiveWindow() != active_before; })
      .Tap((ok.left + ok.right) / 2.0, (ok.top + ok.bottom) / 2.0 + 52);
  ASSERT_TRUE(StartScript(close_box.steps()));
  s.Post(WM_COMMAND, kCmdRefresh);
  EXPECT_TRUE(RunUntil([&] { return IsScriptDone() && !s.busy(); }, 15000));
  EXPECT_TRUE(box_up);
  EXPECT_EQ(GetActiveWindow(), active_before);
  EXPECT_EQ(s.list().body().RowCount(), 2);
  EXPECT_EQ(CellText(s.list().body(), 1, 1), price);

  // A slow server: the exit cancels the refresh and is posted once it has
  // ended (message 108 over it would hold the exit past the wait below).
  StartServer({"--delay", "3000"});
  // The request waits inside the screen's handler; the script still plays.
  bool busy_when_asked = false;
  auto asked = std::chrono::steady_clock::now();
  InputScript exit_while_busy;
  exit_while_busy.Wait(600).Call([&] {
    busy_when_asked = s.busy();
    asked = std::chrono::steady_clock::now();
    s.Post(WM_COMMAND, kCmdExit);
  });
  ASSERT_TRUE(StartScript(exit_while_busy.steps()));
  s.Post(WM_COMMAND, kCmdRefresh);
  ASSERT_TRUE(RunUntil([&] { return main_.exit_posts > 0; }, 10000));
  EXPECT_TRUE(busy_when_asked);
  const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - asked);
  EXPECT_LT(waited.count(), 1000);  // not after the server's answer 3000 ms in
  EXPECT_FALSE(s.busy());
  EXPECT_EQ(main_.exit_posts, 1);
}

}  // namespace
}  // namespace brantel::testing
