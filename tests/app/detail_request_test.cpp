// The stock detail against the reference server: what a request asks for
// and what its answer fills, failures, the MyPage star, and closing while a
// request runs.

#include <unistd.h>

#include <atomic>
#include <set>
#include <thread>

#include "app/dialogs/msg_box_dlg.h"
#include "cache/mypage_store.h"
#include "cache/quote_store.h"
#include "platform/ui/screen.h"
#include "platform/ui/script_player.h"
#include "tests/app/detail_test_support.h"
#include "tests/app/message_box_watcher.h"

namespace brantel {
namespace {

using testing::DetailTest;
using testing::FilesIn;
using testing::MessageBoxWatcher;
using testing::RunFor;
using testing::RunUntil;
using testing::SamsungRow;

constexpr double kStarX = 450, kStarY = 52 + 37;  // screen coordinates in portrait

// Opens the period menu in landscape and chooses the item at `item_y`.
void ChoosePeriod(double item_y) {
  InputScript script;
  script.Tap(744, 188).Wait(150).Tap(550, item_y).Wait(50);
  ASSERT_TRUE(PlayScript(script));
}

TEST_F(DetailTest, RequestCarriesThePeriodAndTheAnswerFillsTheDetail) {
  CMStockDetailDlg& d = OpenAndLoad(SamsungRow());
  EXPECT_EQ(DetailRequestsLogged(), 1);
  EXPECT_EQ(d.view().record.period, u"0");
  EXPECT_EQ(d.view().record.codename, u"삼성전자");
  EXPECT_FALSE(d.view().record.high52.empty());
  EXPECT_EQ(d.view().update_text, u"12/07 10:56");
  // The daily rows in answer order (newest first) and both pictures.
  ASSERT_EQ(d.view().daily.size(), 20u);
  for (size_t i = 1; i < d.view().daily.size(); ++i)
    EXPECT_GT(d.view().daily[i - 1].date, d.view().daily[i].date) << i;
  EXPECT_EQ(d.panel().content_height(), 436 + 61 * 20);
  const std::string first_small = d.chart_files().small_chart(), first_large = d.chart_files().large_chart();
  EXPECT_EQ(access(first_small.c_str(), F_OK), 0);
  EXPECT_EQ(access(first_large.c_str(), F_OK), 0);
  EXPECT_EQ(d.large_chart().width(), 800);

  // "6개월" asks for period 3 and replaces the pictures.
  d.Post(WM_COMMAND, kCmdLandscape, 0);
  RunUntil([&] { return d.view().landscape; });
  ChoosePeriod(260);
  ASSERT_TRUE(RunUntil([&] { return d.view().record.period == u"3" && !d.request_running(); }));
  EXPECT_EQ(d.view().period, 3);
  EXPECT_EQ(d.period_menu(), nullptr);
  EXPECT_EQ(d.view().daily.size(), 20u);  // cleared before the request, not appended twice
  for (const std::string& old : {first_small, first_large}) {
    if (old != d.chart_files().small_chart() && old != d.chart_files().large_chart()) {
      EXPECT_NE(access(old.c_str(), F_OK), 0) << old;
    }
  }

  // "1일(추후 제공)" asks for period 0, as the refresh command does.
  ChoosePeriod(128);
  ASSERT_TRUE(RunUntil([&] { return d.view().record.period == u"0" && !d.request_running(); }));
  d.Post(WM_COMMAND, kCmdRefresh, 0);
  ASSERT_TRUE(RunUntil([&] { return DetailRequestsLogged() == 4 && !d.request_running(); }));
  EXPECT_EQ(d.view().record.period, u"0");

  // Closing deletes the pictures and hands the result to the owner, once
  // however often the user closes.
  const std::string small = d.chart_files().small_chart();
  d.Post(WM_COMMAND, kCmdClose, 0);
  d.Post(WM_CLOSE, 0, 0);
  ASSERT_TRUE(RunUntil([&] { return !owner_.detail; }));
  EXPECT_NE(access(small.c_str(), F_OK), 0);
  EXPECT_EQ(FilesIn(TempFolderPath()), 0);
  RunFor(50);
  EXPECT_EQ(owner_.closed_messages, 1);
  EXPECT_EQ(owner_.result.record.code, u"005930");
  EXPECT_FALSE(owner_.result.changed);
}

TEST_F(DetailTest, FailedRequestKeepsTheOpeningRowAndBadRecordsAskNothing) {
  StartServer({"--result-code", "0"});
  MessageBoxWatcher boxes;
  CMStockDetailDlg& d = Open(SamsungRow());
  ASSERT_TRUE(RunUntil([&] { return boxes.Count(108) == 1 && !d.request_running(); }));
  RunFor(50);
  EXPECT_EQ(d.view().record.codename, u"삼성전자");
  EXPECT_EQ(d.view().record.current_price, u"70,000");
  EXPECT_EQ(d.view().record.daebi, u"-500");
  EXPECT_TRUE(d.view().daily.empty());
  EXPECT_TRUE(d.chart_files().small_chart().empty());
  EXPECT_FALSE(d.loading_animation_running());
  owner_.detail.reset();

  StockRecord no_code = SamsungRow();
  no_code.code.clear();
  StockRecord negative = SamsungRow();
  negative.gubun = -1;
  for (const StockRecord& row : {no_code, negative}) {
    CMStockDetailDlg& bad = Open(row);
    RunFor(300);
    EXPECT_EQ(DetailRequestsLogged(), 1);
    EXPECT_EQ(bad.view().record.codename, u"삼성전자");
    owner_.detail.reset();
  }
}

TEST_F(DetailTest, AFailedRefreshKeepsTheScreenAndSays108) {
  CMStockDetailDlg& d = OpenAndLoad(SamsungRow());
  const StockDetailRecord shown = d.view().record;
  const size_t daily = d.view().daily.size();
  const std::string small = d.chart_files().small_chart();
  const int large_width = d.large_chart().width();
  ASSERT_GT(daily, 0u);

  // The server gone, then one that answers noise: the same screen each time.
  server_->Stop();
  for (int round = 0; round < 2; ++round) {
    MessageBoxWatcher boxes;
    d.Post(WM_COMMAND, kCmdRefresh, 0);
    ASSERT_TRUE(RunUntil([&] { return boxes.Count(108) == 1 && !d.request_running(); })) << round;
    EXPECT_EQ(d.view().daily.size(), daily);
    EXPECT_EQ(d.view().record.high52, shown.high52);
    EXPECT_EQ(d.chart_files().small_chart(), small);
    EXPECT_EQ(access(small.c_str(), F_OK), 0);
    EXPECT_EQ(d.large_chart().width(), large_width);
    StartServer({"--garbage"});
  }
}

TEST_F(DetailTest, ValuesOnlyAnAnswerBringsShowEmptyUntilItCame) {
  StartServer({"--delay", "1500"});
  // A list row's record from the cache: the values it has no data for read "0".
  StockDetailRecord cached = DetailRecordOfRow(SamsungRow());
  for (WideText* v : {&cached.high, &cached.low, &cached.trade_amount, &cached.high52, &cached.high52_date,
                      &cached.low52, &cached.low52_date})
    *v = WideText(u"0");
  owner_.detail = OpenStockDetail(owner_, cached, false, u"12/04 15:30");
  ASSERT_TRUE(owner_.detail);
  CMStockDetailDlg& d = *owner_.detail;
  // The screen while the request waits (the request's own loop runs the timer).
  Surface before, after;
  bool running_then = false;
  MessageOnlyWindow snap([&](uint32_t message, WPARAM, LPARAM) -> LRESULT {
    if (message != WM_TIMER || !before.empty()) return 0;
    running_then = d.request_running();
    CopyScreen(before);
    return 0;
  });
  snap.SetTimer(1, 700);
  ASSERT_TRUE(RunUntil([&] { return !before.empty() && !d.request_running(); }));
  snap.KillTimer(1);
  ASSERT_TRUE(running_then);
  RunFor(50);
  CopyScreen(after);
  // The value column of 고가, 저가, 거래량 and the 52-week values (screen
  // coordinates: the panel starts 75 below the 52-pixel system bar).
  const auto inked = [](const Surface& s, int top, int bottom) {
    int n = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = 353; x < 473; ++x) n += (s.row(y)[x] & 0xFFFFFF) == 0xFFFFFF;
    return n;
  };
  const int panel = 52 + 75;
  for (int top : {52, 84, 116, 232, 264, 296, 328}) {
    EXPECT_EQ(inked(before, panel + top, panel + top + 22), 0) << top;
    EXPECT_GT(inked(after, panel + top, panel + top + 22), 0) << top;
  }
}

TEST_F(DetailTest, StarAddsRemovesAndStaysOffWhenMyPageIsFull) {
  ClearMyPage();
  CMStockDetailDlg& d = OpenAndLoad(SamsungRow());
  InputScript add;
  add.Tap(kStarX, kStarY).Idle();
  ASSERT_TRUE(PlayScript(add));
  EXPECT_TRUE(d.view().in_mypage);
  EXPECT_TRUE(d.changed());
  EXPECT_EQ(CountMyPage(), 1);
  InputScript remove;
  remove.Tap(kStarX, kStarY).Idle();
  ASSERT_TRUE(PlayScript(remove));
  EXPECT_FALSE(d.view().in_mypage);
  EXPECT_EQ(CountMyPage(), 0);
  // A press outside the star and a release on it do nothing.
  InputScript slip;
  slip.Press(300, kStarY).Move(kStarX, kStarY, 16).Release().Idle();
  ASSERT_TRUE(PlayScript(slip));
  EXPECT_FALSE(d.view().in_mypage);

  d.Post(WM_COMMAND, kCmdClose, 0);
  ASSERT_TRUE(RunUntil([&] { return !owner_.detail; }));
  EXPECT_TRUE(owner_.result.changed);
  EXPECT_FALSE(owner_.result.in_mypage);
  // The quote on show went into the cache.
  std::vector<StockDetailRecord> stored;
  WideText stamp;
  ASSERT_EQ(LoadQuote("StockData", "005930", 1, stored, stamp), 1);
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(stored[0].codename, u"삼성전자");

  // MyPage holding 200: the star stays off and nothing changed.
  std::vector<StockRecord> others;
  for (int i = 0; i < 200; ++i) {
    StockRecord r = SamsungRow();
    r.code = WideText(u"9").append(Widen(std::to_string(10000 + i)));
    others.push_back(r);
  }
  ASSERT_EQ(StoreMyPageList(others, u"t", false), 1);
  CMStockDetailDlg& full = OpenAndLoad(SamsungRow());
  std::vector<WideText> message;
  InputScript star;
  star.Tap(kStarX, kStarY).Wait(100).Idle().Call([&] {
    // The release shows the numbered message modally; read it and answer it.
    const HWND box = GetActiveWindow();
    const std::vector<HWND> z = TopLevelWindows();  // bottom to top: the box over the top-most detail
    EXPECT_GT(std::find(z.begin(), z.end(), box) - std::find(z.begin(), z.end(), full.hwnd()), 0);
    if (auto* dlg = dynamic_cast<CMsgBoxDlg*>(WindowFromHandle(box))) message = dlg->lines();
    PostMessage(box, WM_COMMAND, IDOK, 0);
  });
  star.Idle();
  ASSERT_TRUE(PlayScript(star));
  // The box holds the text of string 112 in its lines.
  WideText shown, expected;
  for (const WideText& line : message)
    for (char16_t c : line)
      if (c != u' ') shown += c;
  for (char16_t c : ProcessResources()->String(112))
    if (c != u' ') expected += c;
  EXPECT_EQ(shown, expected) << message.size();
  EXPECT_FALSE(full.view().in_mypage);
  EXPECT_FALSE(full.changed());
  EXPECT_EQ(CountMyPage(), 200);
  ClearMyPage();
}

// The window thread waits in the exchange for the delayed answer; the
// animation thread keeps putting new frames on the screen meanwhile.
TEST_F(DetailTest, LoadingAnimationMovesWhileTheWindowThreadWaits) {
  StartServer({"--delay", "1500"});
  CMStockDetailDlg& d = Open(SamsungRow());
  std::atomic<bool> watching{true};
  std::set<std::vector<uint32_t>> frames_seen;
  std::thread watcher([&] {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(1300);
    while (watching && std::chrono::steady_clock::now() < end) {
      const Surface screen = backend_->PresentedCopy();
      std::vector<uint32_t> area;
      for (int y = 713; y < 743 && y < screen.height(); ++y)
        for (int x = 440; x < 470; ++x) area.push_back(screen.at(x, y));
      frames_seen.insert(area);
      std::this_thread::sleep_for(std::chrono::milliseconds(40));
    }
  });
  // The request starts 100 ms after opening and blocks this thread until the answer.
  ASSERT_TRUE(RunUntil([&] { return !d.view().daily.empty(); }));
  watching = false;
  watcher.join();
  EXPECT_GE(frames_seen.size(), 4u);
  EXPECT_FALSE(d.loading_animation_running());
}

// The owner destroys the detail on WM_DETAIL_CLOSED while the detail's own
// request is still on the stack (the request pumps messages between chunks).
TEST_F(DetailTest, ClosingDuringARequestEndsItAndLeavesNoPictures) {
  StartServer({"--drip-bytes", "256", "--drip-ms", "20"});
  for (bool by_close_command : {true, false}) {
    CMStockDetailDlg& d = Open(SamsungRow());
    const auto start = std::chrono::steady_clock::now();
    InputScript script;
    script.Wait(400).Call([&] {
      EXPECT_TRUE(d.request_running());
      if (by_close_command)
        d.Post(WM_COMMAND, kCmdClose, 0);
      else
        CloseStockDetail(owner_.detail);  // gone at once, its request still waiting
    });
    ASSERT_TRUE(PlayScript(script));
    ASSERT_TRUE(RunUntil([&] { return !owner_.detail; }));
    RunFor(100);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(FilesIn(TempFolderPath()), 0);
  }
  EXPECT_EQ(owner_.closed_messages, 1);
}

}  // namespace
}  // namespace brantel
