// The market screen against the reference server with scripted taps: the
// ranking first with its cached rows, then the server's; tab switches; the
// header's change column; the exchange list's unit and currency menu; the
// ranking menu; stars; the detail; failures; exit during a refresh.
#include <gtest/gtest.h>

#include <algorithm>

#include "cache/cache_results.h"
#include "cache/mypage_store.h"
#include "cache/quote_store.h"
#include "cache/rank_store.h"
#include "platform/ui/script_player.h"
#include "platform/ui/soft_key_popup.h"
#include "protocol/app_messages.h"
#include "protocol/categories.h"
#include "protocol/last_update.h"
#include "tests/app/market_test_support.h"

namespace brantel {
namespace {

using testing::MessageBoxWatcher;
using testing::RunUntil;

// Screen coordinates: the main dialog's client starts at y 52, the market
// screen 88 below it; the list's body 42 below the screen's top.
constexpr int kScreenTop = 52 + 88;
constexpr int kBodyTop = kScreenTop + 42;
constexpr int kTabY = kScreenTop + 660 - 124;  // the middle of the sub-screen tab strip
constexpr int kTabX[] = {47, 142, 237, 332, 427};  // ranking, indices, exchange, rates, commodities

StockRecord CachedStock(WideView code) {
  StockRecord r;
  r.gubun = kCategoryStock;
  r.code = code;
  r.item = u"0";
  r.codename = u"캐시 종목";
  r.current_price = u"1,000";
  r.daebi = u"10";
  r.rate = u"1.00";
  r.date = u"26/12/04";
  return r;
}

void CacheRanking(int kind, WideView code) {
  const std::vector<StockRecord> rows = {CachedStock(code)};
  ASSERT_EQ(StoreQuoteList(kQuoteTable, rows, u"26/12/04 15:30:00"), CACHE_OK);
  ASSERT_EQ(ReplaceStockRank(rows, kind, u"26/12/04 15:30:00"), CACHE_OK);
}

void Tap(int x, int y) {
  InputScript script;
  script.Tap(x, y).Idle();
  ASSERT_TRUE(PlayScript(script, 20000));
}

// The screen point of a cell's middle in a row of the list shown.
Point CellPoint(CBaseMarketInfoWnd& list, int row, const Rect& cell) {
  const MobileListRow* r = list.list().body().rows().row(row);
  EXPECT_TRUE(r);
  const int top = r ? r->top : 0;
  return Point{(cell.left + cell.right) / 2, kBodyTop + top + (cell.top + cell.bottom) / 2};
}

constexpr Rect kPriceCell{161, 9, 277, 63};
constexpr Rect kStarCell{435, 10, 475, 50};

class MarketScreen : public testing::MarketTest {};

TEST_F(MarketScreen, RankingShowsCachedRowsThenTheServersAndTabsRestartTheirRefresh) {
  CacheRanking(kRankingTradeVolume, u"CACHED1");
  StartServer({"--delay", "400"});  // the cached rows stay while the request waits
  CMarketInfoDlg& screen = Open();
  CMarketStockItemWnd& ranking = screen.ranking();
  EXPECT_EQ(screen.current_code(), kMarketRankingScreen);
  EXPECT_EQ(screen.menu_bar().menu_number(), 237u);
  EXPECT_EQ(screen.GetDlgItem(10008), &ranking);
  EXPECT_EQ(ranking.text(), u"Market StockItem Window");

  // What the ranking shows while its requests wait.
  bool cached_seen = false, cached_again = false;
  MessageOnlyWindow watch([&](uint32_t message, WPARAM, LPARAM) -> LRESULT {
    if (message == WM_TIMER && ranking.IsBusy()) {
      const auto codes = RowCodes(ranking);
      cached_seen |= std::count(codes.begin(), codes.end(), u"CACHED1") > 0;
      cached_again |= std::count(codes.begin(), codes.end(), u"CACHED2") > 0;
    }
    return 0;
  });
  watch.SetTimer(1, 20);
  ASSERT_TRUE(RunUntil([&] { return ranking.LoadedFromNetwork() > 0 && !ranking.IsBusy(); }));
  EXPECT_TRUE(cached_seen);
  ASSERT_TRUE(WaitLoaded(ranking));
  std::vector<WideText> codes = RowCodes(ranking);
  EXPECT_EQ(codes.size(), 101u);  // the caption row and the server's 100
  EXPECT_EQ(std::count(codes.begin(), codes.end(), u"CACHED1"), 0);
  EXPECT_EQ(Cell(ranking, 0, 0), u"거래량상위 종목");
  Shot("market-ranking");

  // Indices: sections at each group change, their refresh starts on the tap.
  const int requests = ListRequestsLogged();
  Tap(kTabX[1], kTabY);
  EXPECT_EQ(screen.current_code(), kMarketIndexScreen);
  EXPECT_FALSE(ranking.IsVisibleFlag());
  EXPECT_EQ(screen.menu_bar().menu_number(), 40010u);
  CBaseMarketInfoWnd& indices = *screen.list_of_code(kMarketIndexScreen);
  ASSERT_TRUE(WaitLoaded(indices));
  std::vector<WideText> sections;
  for (int i = 0; i < indices.list().body().RowCount(); ++i) {
    bool section = false;
    WideText key;
    indices.list().body().GetRowText(i, &key, &section);
    if (section) sections.push_back(Cell(indices, i, 0));
  }
  EXPECT_EQ(sections, (std::vector<WideText>{u"국내지수", u"Asia", u"Americas", u"Europe/Middle East/Africa"}));
  EXPECT_EQ(indices.list().head().IsAlive(), true);
  Shot("market-indices");

  // Back to the ranking: refreshed again, and the cache is no longer read.
  CacheRanking(kRankingTradeVolume, u"CACHED2");
  Tap(kTabX[0], kTabY);
  ASSERT_TRUE(RunUntil([&] {
    return ListRequestsLogged() >= requests + 2 && !ranking.IsBusy() && !screen.update_bar().Running();
  }));
  EXPECT_FALSE(cached_again);
  EXPECT_EQ(RowCodes(ranking).size(), 101u);
}

TEST_F(MarketScreen, HeaderTapCyclesTheChangeCellsAndStarsReachMyPage) {
  CMarketInfoDlg& screen = Open();
  CMarketStockItemWnd& ranking = screen.ranking();
  ASSERT_TRUE(WaitLoaded(ranking));
  const WideText change = Cell(ranking, 1, 2);
  const WideText marker = Cell(ranking, 1, 3);
  ASSERT_FALSE(change.empty());

  // Column 2 of the header ("등락" -> "등락률" -> "시간" -> "등락").
  Tap(360, kScreenTop + 21);
  EXPECT_NE(Cell(ranking, 1, 2), change);
  EXPECT_EQ(Cell(ranking, 1, 3), marker);
  Tap(360, kScreenTop + 21);
  EXPECT_EQ(Cell(ranking, 1, 2), u"26/12/07");
  EXPECT_EQ(Cell(ranking, 1, 3), marker.empty() ? u"" : u" ");
  Tap(360, kScreenTop + 21);
  EXPECT_EQ(Cell(ranking, 1, 2), change);

  // A star on and off.
  const Point star = CellPoint(ranking, 1, kStarCell);
  EXPECT_EQ(CellImage(ranking, 1, 4), 1056u);
  Tap(star.x, star.y);
  EXPECT_EQ(CellImage(ranking, 1, 4), 1057u);
  EXPECT_EQ(CountMyPage(), 1);
  std::vector<StockRecord> mypage;
  WideText stamp;
  LoadMyPage(mypage, stamp);
  ASSERT_EQ(mypage.size(), 1u);
  EXPECT_EQ(mypage[0].gubun, kCategoryStock);
  Tap(star.x, star.y);
  EXPECT_EQ(CellImage(ranking, 1, 4), 1056u);
  EXPECT_EQ(CountMyPage(), 0);

  // A full watch list: message 112, the star stays off.
  std::vector<StockRecord> full;
  for (int i = 0; i < 200; ++i) full.push_back(CachedStock(Widen(std::string("F").append(std::to_string(i)))));
  ASSERT_EQ(StoreMyPageList(full, u"s", true), CACHE_OK);
  MessageBoxWatcher boxes;
  Tap(star.x, star.y);
  ASSERT_TRUE(RunUntil([&] { return boxes.Count(112) == 1; }, 5000));
  EXPECT_EQ(CellImage(ranking, 1, 4), 1056u);
  EXPECT_EQ(CountMyPage(), 200);
}

TEST_F(MarketScreen, ExchangeListShowsTheStandardCurrencyAndItsMenuChangesIt) {
  CMarketInfoDlg& screen = Open();
  ASSERT_TRUE(WaitLoaded(screen.ranking()));
  Tap(kTabX[2], kTabY);
  CMarketExchangeWnd& exchange = screen.exchange();
  ASSERT_TRUE(WaitLoaded(exchange));
  EXPECT_EQ(screen.menu_bar().menu_number(), 40011u);
  EXPECT_EQ(Cell(exchange, 1, 2), u"KRW");
  EXPECT_EQ(CellImage(exchange, 1, 3), 1056u);
  Shot("market-exchange");

  uint32_t usd = 0;
  for (const auto& [command, text] : screen.menu_bar().currencies().entries())
    if (text.rfind(u"FX@USD^", 0) == 0) usd = command;
  ASSERT_NE(usd, 0u);
  const int requests = ListRequestsLogged();
  screen.Send(WM_COMMAND, usd, 0);
  ASSERT_TRUE(RunUntil([&] { return ListRequestsLogged() > requests && !exchange.IsBusy(); }));
  ASSERT_TRUE(RunUntil([&] { return !screen.update_bar().Running(); }));
  EXPECT_EQ(Cell(exchange, 1, 2), u"USD");
  WideText code, item;
  StandardCurrency(code, item, true);
  EXPECT_EQ(code, u"FX@USD");
  EXPECT_NE(server_->Log().find("FX@USD"), std::string::npos);

  // The other two lists, for the screenshots and their menus.
  Tap(kTabX[3], kTabY);
  ASSERT_TRUE(WaitLoaded(*screen.list_of_code(kMarketInterestScreen)));
  EXPECT_EQ(screen.menu_bar().menu_number(), 40012u);
  Shot("market-rates");
  Tap(kTabX[4], kTabY);
  ASSERT_TRUE(WaitLoaded(*screen.list_of_code(kMarketCommodityScreen)));
  EXPECT_EQ(screen.menu_bar().menu_number(), 40013u);
  Shot("market-commodities");

  // The version dialog: back closes it, then back goes to the list, which asks to exit.
  screen.Send(WM_COMMAND, 40004, 0);
  ASSERT_TRUE(screen.version_dialog() && screen.version_dialog()->IsVisible());
  screen.Send(WM_SCREEN_BACK, 0, 0);
  EXPECT_EQ(screen.version_dialog(), nullptr);
  screen.Send(WM_SCREEN_BACK, 0, 0);
  ASSERT_TRUE(RunUntil([&] { return main_.Count(WM_DESTROY) > 0; }, 5000));
}

TEST_F(MarketScreen, RankingSubKindsMoveTheTickAndAreStoredOncePerRun) {
  CMarketInfoDlg& screen = Open();
  CMarketStockItemWnd& ranking = screen.ranking();
  ASSERT_TRUE(WaitLoaded(ranking));

  screen.Send(WM_COMMAND, 40031, 0);
  EXPECT_EQ(screen.menu_bar().ranking_choice(), 40031u);
  ASSERT_TRUE(RunUntil([&] { return ranking.LoadedFromNetwork() > 0 && !ranking.IsBusy(); }));
  ASSERT_TRUE(WaitLoaded(ranking));
  EXPECT_EQ(Cell(ranking, 0, 0), u"거래대금상위 종목");
  EXPECT_NE(server_->Log().find("item=\"1\""), std::string::npos);
  std::vector<StockRecord> stored;
  ASSERT_EQ(LoadStockRank(kCategoryStock, 1, stored), CACHE_OK);
  EXPECT_EQ(stored.size(), 100u);
  EXPECT_FALSE(LastUpdateStamp(u"", kCategoryRanking, 1, true).empty());

  // Stored once: a second load of the same sub-kind leaves the cache alone.
  ASSERT_EQ(ClearStockRank(1), CACHE_OK);
  const int requests = ListRequestsLogged();
  screen.Send(WM_COMMAND, 40005, 0);
  ASSERT_TRUE(RunUntil([&] { return ListRequestsLogged() > requests && !ranking.IsBusy(); }));
  RunUntil([&] { return false; }, 300);
  stored.clear();
  LoadStockRank(kCategoryStock, 1, stored);
  EXPECT_TRUE(stored.empty());

  screen.Send(WM_COMMAND, 40032, 0);
  EXPECT_EQ(screen.menu_bar().ranking_choice(), 40032u);
  ASSERT_TRUE(RunUntil([&] { return Cell(ranking, 0, 0) == u"시가총액상위 종목" && !ranking.IsBusy(); }));
}

TEST_F(MarketScreen, RankingChosenDuringARequestKeepsEachAnswerWithItsSubKind) {
  StartServer({"--delay", "1500"});
  CMarketInfoDlg& screen = Open();
  CMarketStockItemWnd& ranking = screen.ranking();
  // Trading value chosen while the trading-volume request waits for its answer.
  bool chosen = false;
  MessageOnlyWindow menu([&](uint32_t message, WPARAM, LPARAM) -> LRESULT {
    if (message == WM_TIMER && !chosen && ranking.IsBusy()) {
      chosen = true;
      screen.Send(WM_COMMAND, 40031, 0);
    }
    return 0;
  });
  menu.SetTimer(1, 50);
  ASSERT_TRUE(RunUntil([&] { return chosen && ranking.LoadedFromNetwork() > 0 && !ranking.IsBusy(); }, 15000));
  ASSERT_TRUE(WaitLoaded(ranking));
  EXPECT_EQ(Cell(ranking, 0, 0), u"거래대금상위 종목");
  std::vector<StockRecord> volume, value;
  LoadStockRank(kCategoryStock, 0, volume);
  LoadStockRank(kCategoryStock, 1, value);
  ASSERT_EQ(volume.size(), 100u);
  ASSERT_EQ(value.size(), 100u);
  EXPECT_NE(volume.front().code + volume.back().code, value.front().code + value.back().code);
  EXPECT_EQ(RowCodes(ranking)[1], value.front().code);  // the list shows the ranking chosen
}

TEST_F(MarketScreen, DetailTapOpensTheDetailAndItsQuoteIsWrittenOnClose) {
  CMarketInfoDlg& screen = Open();
  CMarketStockItemWnd& ranking = screen.ranking();
  ASSERT_TRUE(WaitLoaded(ranking));
  const WideText code = RowCodes(ranking)[1];
  const Point price = CellPoint(ranking, 1, kPriceCell);
  Tap(price.x, price.y);
  ASSERT_TRUE(ranking.detail());
  ASSERT_TRUE(RunUntil([&] { return !ranking.detail()->view().daily.empty() && !ranking.detail()->request_running(); }));
  PostMessage(ranking.detail()->hwnd(), WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(RunUntil([&] { return ranking.detail() == nullptr; }));
  std::vector<StockDetailRecord> quote;
  WideText stamp;
  ASSERT_EQ(LoadQuote(kQuoteTable, Narrow(code).c_str(), kCategoryStock, quote, stamp), CACHE_OK);
  ASSERT_EQ(quote.size(), 1u);
  EXPECT_FALSE(quote[0].high52.empty());  // the detail's full quote, not the list row
}

TEST_F(MarketScreen, TheCurrencyMenuScrollsToEveryItem) {
  CMarketInfoDlg& screen = Open();
  ASSERT_TRUE(WaitLoaded(screen.ranking()));
  Tap(kTabX[2], kTabY);
  ASSERT_TRUE(WaitLoaded(screen.exchange()));
  const size_t currencies = screen.menu_bar().currencies().entries().size();
  ASSERT_GT(currencies, 12u);  // more than the screen holds

  InputScript open;
  open.Key(VK_F1).Idle();
  ASSERT_TRUE(PlayScript(open));
  SoftKeyBar& bar = *screen.menu_bar().bar();
  ASSERT_TRUE(bar.IsPopupOpen());
  SoftKeyPopup& popup = *bar.popup();
  ASSERT_EQ(bar.menu().SubMenu(size_t(bar.open_key()))->ItemCount(), currencies);
  EXPECT_EQ(popup.scroll(), 0);
  const Rect view = popup.ScreenRect();
  EXPECT_GE(view.top, 52);

  // Up takes the last item, scrolled into view.
  InputScript up;
  up.Key(VK_UP).Idle();
  ASSERT_TRUE(PlayScript(up));
  EXPECT_EQ(popup.highlight(), int(currencies) - 1);
  EXPECT_GT(popup.scroll(), 0);
  Shot("market-currency-menu-end");
  const int at_end = popup.scroll();
  // Down wraps to the first, back at the top.
  InputScript down;
  down.Key(VK_DOWN).Idle();
  ASSERT_TRUE(PlayScript(down));
  EXPECT_EQ(popup.highlight(), 0);
  EXPECT_EQ(popup.scroll(), 0);

  // The wheel and a drag scroll; a drag chooses nothing.
  const double x = (view.left + view.right) / 2.0;
  SendMessage(popup.hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, uint16_t(-3 * WHEEL_DELTA)),
              MAKELPARAM(int(x), view.top + 100));
  EXPECT_EQ(popup.scroll(), std::min(at_end, 3 * kSoftPopupItemHeight));
  InputScript drag;
  drag.Press(x, view.bottom - 40).Move(x, view.bottom - 240, 16).Move(x, view.top + 20, 16).Release().Idle();
  ASSERT_TRUE(PlayScript(drag));
  ASSERT_TRUE(bar.IsPopupOpen());
  EXPECT_EQ(popup.scroll(), at_end);

  // The last item, now in view, is chosen by the finger.
  InputScript tap;
  tap.Tap(x, view.bottom - kSoftPopupPadding - kSoftPopupItemHeight / 2.0).Idle();
  ASSERT_TRUE(PlayScript(tap));
  ASSERT_TRUE(RunUntil([&] { return !screen.exchange().IsBusy() && !screen.update_bar().Running(); }));
  WideText code, item;
  StandardCurrency(code, item, true);
  uint32_t last = 0;
  for (const auto& [command, text] : screen.menu_bar().currencies().entries()) last = std::max(last, command);
  EXPECT_EQ(code, screen.menu_bar().currencies().CodeFor(last));
}

TEST_F(MarketScreen, ShowingTheScreenRefreshesAndARunningRefreshIgnoresASecond) {
  CMarketInfoDlg& screen = Open();
  CMarketStockItemWnd& ranking = screen.ranking();
  ASSERT_TRUE(WaitLoaded(ranking));
  StartServer({"--delay", "800"});
  const int before = ListRequestsLogged();
  // The main tab brings the screen to the front: one refresh of its list.
  screen.OnShownState(kScreenShown);
  // While that request waits for its answer, refresh commands are ignored.
  int asked_while_busy = 0;
  MessageOnlyWindow again([&](uint32_t message, WPARAM, LPARAM) -> LRESULT {
    if (message == WM_TIMER && ranking.IsBusy() && asked_while_busy < 3) {
      ++asked_while_busy;
      screen.Send(WM_COMMAND, 40005, 0);
    }
    return 0;
  });
  again.SetTimer(1, 100);
  ASSERT_TRUE(RunUntil([&] { return asked_while_busy == 3 && !ranking.IsBusy() && !screen.update_bar().Running(); }));
  again.KillTimer(1);
  RunUntil([] { return false; }, 400);  // a second request, were one armed, would have started
  EXPECT_EQ(ListRequestsLogged(), before + 1);
}

TEST_F(MarketScreen, ServerGoneShowsMessage108AndKeepsTheRows) {
  CMarketInfoDlg& screen = Open();
  CMarketStockItemWnd& ranking = screen.ranking();
  ASSERT_TRUE(WaitLoaded(ranking));
  const std::vector<WideText> before = RowCodes(ranking);
  server_->Stop();
  MessageBoxWatcher boxes;
  screen.Send(WM_COMMAND, 40005, 0);
  ASSERT_TRUE(RunUntil([&] { return boxes.Count(108) == 1; }));
  EXPECT_EQ(RowCodes(ranking), before);
}

TEST_F(MarketScreen, ExitDuringARefreshCancelsItAndEndsAfterIt) {
  StartServer({"--delay", "3000"});
  CMarketInfoDlg& screen = Open();
  // The back key while the first request waits for its answer: the exit is
  // refused while the update bar runs, the refresh is cancelled, and the exit
  // goes on as soon as it has ended, with no failure message over it.
  MessageBoxWatcher boxes;
  std::chrono::steady_clock::time_point pressed;
  bool running_when_pressed = false;
  bool pressed_once = false;
  MessageOnlyWindow back_key([&](uint32_t message, WPARAM, LPARAM) -> LRESULT {
    if (message != WM_TIMER || pressed_once) return 0;
    pressed_once = true;
    pressed = std::chrono::steady_clock::now();
    running_when_pressed = screen.update_bar().Running() && screen.ranking().IsBusy();
    screen.Post(WM_SCREEN_BACK, 1, 0);
    return 0;
  });
  back_key.SetTimer(1, 600);
  ASSERT_TRUE(RunUntil([&] { return main_.Count(WM_DESTROY) > 0; }, 10000));
  back_key.KillTimer(1);
  const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - pressed);
  EXPECT_TRUE(running_when_pressed);
  EXPECT_LT(waited.count(), 1000);  // not after the server's answer 3000 ms in
  EXPECT_EQ(boxes.Count(108), 0);
  EXPECT_FALSE(screen.ranking().IsBusy());
}

}  // namespace
}  // namespace brantel
