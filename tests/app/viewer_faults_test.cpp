// The viewer when things go wrong around it: killed (-9) while it saves to
// its cache, a server that goes silent or dies in the middle of a session,
// and a damaged cache or master file at start.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

#include "protocol/registry_key.h"
#include "tests/support/cache_check.h"
#include "tests/support/viewer_process.h"

namespace brantel {
namespace {

using testing::QuoteServerProcess;
using testing::ViewerProcess;
using testing::ViewerRun;
using Clock = std::chrono::steady_clock;

constexpr const char* kTapMarketTab = "tap 240 96\n";
constexpr const char* kTapMyPageTab = "tap 85 96\n";
// The market screen's own tabs (indices, currencies, rates, commodities,
// ranking), in screen points.
std::string TapMarketList(int index) { return "tap " + std::to_string(47 + 95 * index) + " 676\n"; }

void SkipHelp() {
  RegistryKey key;
  ASSERT_TRUE(key.Create(HKEY_LOCAL_MACHINE, u"SOFTWARE\\BRANTEL\\BrantelStock"));
  ASSERT_TRUE(key.SetDword(u"display_info", 1));
}

std::string CachePath(const ViewerProcess& viewer) { return viewer.data_folder() + "/qelstockdb"; }

int CountFilesContaining(const std::string& folder, const std::string& part) {
  int n = 0;
  for (const auto& e : std::filesystem::directory_iterator(folder))
    if (e.path().filename().string().find(part) != std::string::npos) ++n;
  return n;
}

// Frames the viewer presented between two monotonic moments (microseconds).
int FramesBetween(const std::string& log, int64_t from_us, int64_t to_us) {
  int n = 0;
  size_t pos = 0;
  while ((pos = log.find("frame ", pos)) != std::string::npos) {
    const int64_t at = std::atoll(log.c_str() + pos + 6);
    if (at >= from_us && at <= to_us) ++n;
    pos += 6;
  }
  return n;
}
int64_t MonotonicUs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return int64_t(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

// A modal box disables the main window: the first line of its dump says so.
bool MainWindowDisabled(const std::string& dump) {
  return dump.substr(0, dump.find('\n')).find(" disabled") != std::string::npos;
}

// Waits until the dump file holds `count` dumps; false after `timeout_ms`.
bool WaitForDumps(const ViewerProcess& viewer, size_t count, int timeout_ms) {
  const auto end = Clock::now() + std::chrono::milliseconds(timeout_ms);
  while (Clock::now() < end) {
    if (viewer.Dumps().size() >= count) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

TEST(ViewerFaults, KilledDuringBackgroundSavesKeepsASoundCache) {
  QuoteServerProcess server({"--ranking-rows", "0"});
  ASSERT_TRUE(server.started());
  ViewerProcess viewer;
  viewer.PointAt(server.port());
  SkipHelp();

  // An earlier run fills the cache: every market list and MyPage.
  std::string fill = std::string("wait 1500\n") + kTapMarketTab + "wait 1500\n";
  for (int i = 0; i < 5; ++i) fill += TapMarketList(i) + "wait 1500\n";
  viewer.SetScript(fill + kTapMyPageTab + "wait 1500\nquit\n");
  ASSERT_EQ(viewer.Run(60000).exit_code, 0) << viewer.Log();
  ASSERT_EQ(testing::CacheIntegrity(CachePath(viewer)), "ok");
  const int quotes = testing::CacheRowCount(CachePath(viewer), "StockData");
  const int ranked = testing::CacheRowCount(CachePath(viewer), "StockRank");
  ASSERT_GT(quotes, 3000) << "the earlier run did not store the lists";

  // Each run saves the lists again (a save runs once per list and run) and
  // is killed: every other time at a random moment, else inside a save.
  std::string busy = "wait 200\n" + std::string(kTapMarketTab);
  for (int round = 0; round < 3; ++round)
    for (int i = 0; i < 5; ++i) busy += TapMarketList(i) + "wait 80\n";
  viewer.SetScript(busy + kTapMyPageTab + "wait 30000\nquit\n");
  std::mt19937 rng(9);
  int cut_transactions = 0;  // kills that left a journal behind: inside a save
  for (int kill = 0; kill < 30; ++kill) {
    ASSERT_TRUE(viewer.Start());
    if (kill % 2 == 0) {
      // At a random moment of the run.
      std::this_thread::sleep_for(std::chrono::milliseconds(std::uniform_int_distribution<int>(250, 1600)(rng)));
    } else {
      // Inside a save: as soon as its journal shows, plus a few milliseconds.
      const auto give_up = Clock::now() + std::chrono::seconds(5);
      while (!std::filesystem::exists(CachePath(viewer) + "-journal") && Clock::now() < give_up)
        std::this_thread::sleep_for(std::chrono::microseconds(200));
      std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution<int>(0, 8000)(rng)));
    }
    ASSERT_TRUE(viewer.running()) << "the viewer ended before it was killed: " << viewer.Log();
    viewer.Kill();
    if (std::filesystem::exists(CachePath(viewer) + "-journal") || std::filesystem::exists(CachePath(viewer) + "-wal"))
      ++cut_transactions;
    ASSERT_EQ(testing::CacheIntegrity(CachePath(viewer)), "ok") << "after kill " << kill;
    ASSERT_GE(testing::CacheRowCount(CachePath(viewer), "StockData"), quotes) << "after kill " << kill;
    ASSERT_GE(testing::CacheRowCount(CachePath(viewer), "StockRank"), ranked > 0 ? 1 : 0) << "after kill " << kill;
  }
  EXPECT_EQ(CountFilesContaining(viewer.data_folder(), "damaged"), 0);
  std::printf("kill -9: %d of 30 kills cut a transaction short\n", cut_transactions);
}

TEST(ViewerFaults, SilentServerKeepsTheScreenAliveAndDyingServerKeepsTheRows) {
  ViewerProcess viewer;
  SkipHelp();
  const std::string frames = viewer.File("frames.txt");
  viewer.SetEnv("BRANTEL_FRAME_LOG", frames);
  {
    // The master and the index list come from a sound server first.
    QuoteServerProcess server;
    ASSERT_TRUE(server.started());
    viewer.PointAt(server.port());
    viewer.SetScript(std::string("wait 1500\n") + kTapMarketTab + "wait 2000\nquit\n");
    ASSERT_EQ(viewer.Run(30000).exit_code, 0) << viewer.Log();
  }

  // A server that holds every answer for a minute: while the list's refresh
  // waits on it the update bar keeps spinning (frames keep coming), keys are
  // handled at once, and the program's end is not held by the exchange.
  {
    QuoteServerProcess silent({"--delay", "60000"});
    ASSERT_TRUE(silent.started());
    viewer.PointAt(silent.port());
    // The master request is held too: its first attempt gives up after the
    // receive wait and the stored master is used.
    viewer.SetScript(std::string("wait 9000\n") + kTapMarketTab + "wait 500\n" + viewer.DumpStep() + "wait 3000\n" +
                     viewer.DumpStep() + "key back\n" + viewer.DumpStep() + "quit\nwait 30000\n");
    std::filesystem::remove(frames);
    ASSERT_TRUE(viewer.Start());
    ASSERT_TRUE(WaitForDumps(viewer, 1, 40000)) << viewer.Log();
    const int64_t first = MonotonicUs();
    ASSERT_TRUE(WaitForDumps(viewer, 2, 10000));
    const int64_t second = MonotonicUs();
    const auto back_at = Clock::now();
    // The back key asks to exit: the refresh is cancelled and the viewer ends
    // (whether the dump after the key still comes depends on that race).
    const ViewerRun run = viewer.Wait(10000);
    const auto ended_after = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - back_at).count();
    EXPECT_FALSE(run.timed_out);
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_LT(ended_after, 1000) << "the viewer ended only " << ended_after << " ms after the back key";
    // The bar's frames are 100 ms apart or so: 3 s of waiting shows many.
    EXPECT_GT(FramesBetween(testing::ReadFile(frames), first, second), 10);
    const auto dumps = viewer.Dumps();
    ASSERT_GE(dumps.size(), 2u);
    EXPECT_FALSE(MainWindowDisabled(dumps[1])) << "a box came up while the list waited";
  }

  // The server dies in the middle of a session: message 108, the rows stay.
  {
    auto server = std::make_unique<QuoteServerProcess>();
    ASSERT_TRUE(server->started());
    viewer.PointAt(server->port());
    const size_t before = viewer.Dumps().size();
    viewer.SetScript(std::string("wait 1500\n") + kTapMarketTab + "wait 1500\n" + viewer.DumpStep() + "wait 1500\n" +
                     TapMarketList(1) + "wait 1500\n" + TapMarketList(0) + "wait 2000\n" + viewer.DumpStep() +
                     "quit\n");
    ASSERT_TRUE(viewer.Start());
    ASSERT_TRUE(WaitForDumps(viewer, before + 1, 20000));
    server.reset();  // gone while the viewer shows the index list
    const ViewerRun run = viewer.Wait(30000);
    EXPECT_EQ(run.exit_code, 0) << viewer.Log();
    const auto dumps = viewer.Dumps();
    ASSERT_EQ(dumps.size(), before + 2);
    const std::string& after = dumps.back();
    EXPECT_TRUE(MainWindowDisabled(after)) << "no message box over the screen:\n" << after;
    EXPECT_GE(testing::CacheRowCount(CachePath(viewer), "StockData"), 1);
  }
}

// The back key or the window's close button while a list waits on a silent
// server ends the viewer within a second: the screen cancels the refresh
// first and shows no message 108 over the exit.
TEST(ViewerFaults, ClosingWhileAListWaitsOnASilentServerEndsTheViewer) {
  ViewerProcess viewer;
  SkipHelp();
  {
    QuoteServerProcess server;
    ASSERT_TRUE(server.started());
    viewer.PointAt(server.port());
    viewer.SetScript("wait 1500\nquit\n");
    ASSERT_EQ(viewer.Run(30000).exit_code, 0) << viewer.Log();
  }
  QuoteServerProcess silent({"--delay", "60000"});
  ASSERT_TRUE(silent.started());
  viewer.PointAt(silent.port());
  for (const char* step : {"close\n", "key back\n"}) {
    const size_t before = viewer.Dumps().size();
    viewer.SetScript(std::string("wait 9000\n") + kTapMarketTab + "wait 1500\n" + viewer.DumpStep() + step +
                     "wait 30000\nquit\n");
    ASSERT_TRUE(viewer.Start());
    ASSERT_TRUE(WaitForDumps(viewer, before + 1, 40000)) << viewer.Log();
    const auto asked_at = Clock::now();
    const ViewerRun run = viewer.Wait(10000);
    const auto ended_after = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - asked_at).count();
    EXPECT_FALSE(run.timed_out) << step;
    EXPECT_LT(ended_after, 1000) << step << " ended the viewer only after " << ended_after << " ms";
  }
}

// A server trickling a byte every few seconds holds the master request of
// the start-up; the back key on the loading dialog ends the viewer at once.
TEST(ViewerFaults, BackKeyOnTheLoadingDialogEndsTheViewerWaitingOnATricklingServer) {
  ViewerProcess viewer;
  QuoteServerProcess trickling({"--drip-bytes", "1", "--drip-ms", "3000"});
  ASSERT_TRUE(trickling.started());
  viewer.PointAt(trickling.port());
  viewer.SetScript("wait 2500\n" + viewer.DumpStep() + "key back\nwait 30000\nquit\n");
  ASSERT_TRUE(viewer.Start());
  ASSERT_TRUE(WaitForDumps(viewer, 1, 20000)) << viewer.Log();
  EXPECT_NE(viewer.Dumps()[0].find("hidden \"MyPage Dialog\""), std::string::npos) << viewer.Dumps()[0];
  const auto asked_at = Clock::now();
  const ViewerRun run = viewer.Wait(10000);
  const auto ended_after = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - asked_at).count();
  EXPECT_FALSE(run.timed_out);
  EXPECT_LT(ended_after, 1500) << "the back key ended the viewer only after " << ended_after << " ms";
}

TEST(ViewerFaults, DamagedCacheOrMasterAtStart) {
  QuoteServerProcess server;
  ASSERT_TRUE(server.started());
  ViewerProcess viewer;
  viewer.PointAt(server.port());
  SkipHelp();
  viewer.SetScript(std::string("wait 1500\n") + kTapMarketTab + "wait 1500\nquit\n");
  ASSERT_EQ(viewer.Run(30000).exit_code, 0) << viewer.Log();

  // A damaged cache: kept aside, a new one in its place.
  {
    std::fstream f(CachePath(viewer), std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(0);
    f << std::string(4096, '\x5a');
  }
  viewer.SetScript(std::string("wait 1500\n") + kTapMarketTab + "wait 1500\n" + viewer.DumpStep() + "quit\n");
  ASSERT_EQ(viewer.Run(30000).exit_code, 0) << viewer.Log();
  EXPECT_EQ(CountFilesContaining(viewer.data_folder(), "qelstockdb.damaged-"), 1);
  EXPECT_EQ(testing::CacheIntegrity(CachePath(viewer)), "ok");
  EXPECT_GT(testing::CacheRowCount(CachePath(viewer), "StockData"), 0);

  // A damaged master file and no server: the viewer starts on what it can
  // read or ends with message 109; either way by itself and cleanly.
  testing::WriteFile(viewer.data_folder() + "/masterinfo", std::string("\xff\xfe|||\n\0\0\0|x|\n", 13) +
                                                                std::string(200000, '|'));
  server.Stop();
  viewer.SetScript(std::string("wait 3000\n") + viewer.DumpStep() + "tap 240 400\nwait 1000\ntap 180 450\n"
                   "tap 300 450\nwait 1000\nquit\n");
  const ViewerRun run = viewer.Run(60000);
  EXPECT_FALSE(run.timed_out);
  EXPECT_EQ(run.exit_code, 0) << viewer.Log();
}

}  // namespace
}  // namespace brantel
